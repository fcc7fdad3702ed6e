#!/usr/bin/env bash
# make-man.sh BIN_DIR OUT_DIR: writes the manual pages korvale.1.gz and korvale-cli.1.gz into
# OUT_DIR from the programs' own --help and --version texts, so that the pages never drift
# from the programs. korvale-cli's page adds each command's own --help as a section.
set -euo pipefail
bin=$(cd "$1" && pwd) out=$2
mkdir -p "$out"
export PATH="$bin:$PATH" QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Text shown as it is: roff's own characters escaped.
verbatim() { sed -e 's/\\/\\e/g' -e 's/^\([.'\'']\)/\\\&\1/'; }

{
  echo "[RENDER OPTIONS]"
  echo "korvale --render OUT --help:"
  echo ".PP"
  echo ".nf"
  korvale --render out.png --help 2>/dev/null | verbatim
  echo ".fi"
} >"$tmp/korvale.h2m"

{
  echo "[COMMANDS]"
  for cmd in $(korvale-cli --help | awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
    echo ".SS $cmd"
    echo ".nf"
    korvale-cli "$cmd" --help | verbatim
    echo ".fi"
  done
} >"$tmp/korvale-cli.h2m"

# The version string alone, so that the pages are named after the programs' file names.
version=$(korvale-cli --version | awk '{ print $NF }')
help2man --no-info --no-discard-stderr --version-string="$version" --section=1 --name="lap telemetry viewer for racing simulation replays" \
  --include="$tmp/korvale.h2m" --output="$tmp/korvale.1" korvale
help2man --no-info --version-string="$version" --section=1 --name="command-line tool of the Korvale lap telemetry viewer" \
  --include="$tmp/korvale-cli.h2m" --output="$tmp/korvale-cli.1" korvale-cli
for page in korvale korvale-cli; do
  # -n: no name or time stamp inside, so that the same build gives the same bytes.
  gzip -9n -c "$tmp/$page.1" >"$out/$page.1.gz"
done

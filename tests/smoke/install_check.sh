#!/usr/bin/env bash
# install_check.sh BUILD_DIR WORK_DIR SAMPLE_DOC: installs into a fresh prefix, checks the
# installed layout, and starts the installed program, which must find its track data and
# help file in ../share/korvale.
set -euo pipefail
build=$1 work=$2 sample=$3
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for f in bin/korvale bin/korvale-cli share/korvale/tracks.dat share/korvale/Korvale.hlp \
         share/applications/korvale.desktop share/mime/packages/korvale.xml; do
  [ -s "$prefix/$f" ] || { echo "install_check: $f missing" >&2; exit 1; }
done
[ ! -e "$prefix/bin/tracks.dat" ] || { echo "install_check: data installed beside the program" >&2; exit 1; }
grep -q '^MimeType=application/x-korvale-telemetry;$' "$prefix/share/applications/korvale.desktop"
grep -q '<glob pattern="\*.kvl"/>' "$prefix/share/mime/packages/korvale.xml"
KORVALE_SETTINGS="$work/korvale.ini" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/korvale" --screenshot "$work/shot.png" "$sample" 2>"$work/run.log"
[ -s "$work/shot.png" ] || { echo "install_check: no screenshot" >&2; exit 1; }
# The installed command-line tool finds the track database under ../share/korvale by itself.
"$prefix/bin/korvale-cli" tracks list >"$work/tracks.txt" 2>"$work/cli.log" ||
  { echo "install_check: installed korvale-cli tracks list failed: $(cat "$work/cli.log")" >&2; exit 1; }
grep -q "Kestrel Ridge Circuit" "$work/tracks.txt" ||
  { echo "install_check: installed korvale-cli listed no sample track" >&2; exit 1; }
echo "install_check: layout and installed start OK"

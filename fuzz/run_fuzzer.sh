#!/usr/bin/env bash
# run_fuzzer.sh TARGET SEED_CORPUS WORK_DIR SECONDS
# Runs a fuzz target for a bounded time on a scratch copy of its seed corpus, so the
# committed corpus only changes when someone chooses to add to it.
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4
rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$seeds" ]; then cp -r "$seeds"/. "$work/corpus/"; fi
export KORVALE_SETTINGS="$work/fuzz.ini"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=262144 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"

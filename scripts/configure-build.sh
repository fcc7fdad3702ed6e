#!/usr/bin/env bash
# configure-build.sh BUILD_DIR [CMAKE ARGS...] [-- TARGET...]: configures (once) and builds
# everything, or only the targets named after "--".
set -euo pipefail
dir=$1; shift
args=() targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; targets=("$@"); break; fi
  args+=("$1"); shift
done
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "${args[@]}" >/dev/null
if [ "${#targets[@]}" -gt 0 ]; then
  cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
else
  cmake --build "$dir" -j"$(nproc)"
fi

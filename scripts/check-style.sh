#!/usr/bin/env bash
# check-style.sh BUILD_DIR: the formatting of every tracked C++ file, then clang-tidy over the
# Qt-free core, using BUILD_DIR's compile_commands.json. Fails on any difference or finding.
# The tools are the set-up's pinned Debian 12 versions (14): other versions format and warn
# differently.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
cd "$root"
jobs=$(nproc)
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-style: $build/compile_commands.json is missing; configure that build first" >&2
  exit 1
fi

for tool in clang-format clang-tidy; do
  if ! "$tool" --version | grep -q 'version 14\.'; then
    echo "check-style: $tool 14 is needed (scripts/setup.sh installs it); found: $("$tool" --version | head -n1)" >&2
    exit 1
  fi
done

echo "check-style: clang-format"
if ! git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror; then
  echo "check-style: run clang-format -i on the files above" >&2
  exit 1
fi

# The core's folders, as CMakeLists.txt lists its modules (their own .cpp files, not ui/).
core=(platform track document channels analysis replay export sim commands)
echo "check-style: clang-tidy over the core ($jobs jobs)"
for d in "${core[@]}"; do find "src/$d" -maxdepth 1 -name '*.cpp'; done | sort |
  xargs -r -P"$jobs" -n2 clang-tidy -p "$build" --quiet 2> >(grep -v 'warnings\? generated\.$' >&2) || {
    echo "check-style: clang-tidy findings above (config: .clang-tidy)" >&2
    exit 1
  }
echo "check-style: clean"

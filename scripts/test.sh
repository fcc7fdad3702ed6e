#!/usr/bin/env bash
# Builds Korvale with AddressSanitizer and UndefinedBehaviorSanitizer, checks the style
# (clang-format, clang-tidy over the core) and runs every test, then builds the fuzz targets
# with clang and runs each for a short bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

bash scripts/configure-build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DKORVALE_SANITIZE=ON
# Formatting and clang-tidy over the core, from the build's compile_commands.json.
bash scripts/check-style.sh build-test
ctest --test-dir build-test --output-on-failure -j"$(nproc)" --timeout 600

CXX=clang++ bash scripts/configure-build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVALE_FUZZ=ON -DKORVALE_BUILD_UI=OFF -DKORVALE_BUILD_TESTS=OFF -DKORVALE_BUILD_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure --timeout 300

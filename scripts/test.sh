#!/usr/bin/env bash
# Builds Korvale with AddressSanitizer and UndefinedBehaviorSanitizer, checks the style
# (clang-format, clang-tidy over the core) and runs every test, builds the Release
# configuration and runs its benchmarks briefly, then builds the fuzz targets with clang and
# runs each for a short bounded time.
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

# The Release configuration of the README must build warning-free as well (the optimizer
# has warnings of its own); its benchmarks run for a moment each, as a smoke run.
bash scripts/configure-build.sh build-rel -DCMAKE_BUILD_TYPE=Release
for bench in build-rel/bin/bench_*; do
  [ -x "$bench" ] || continue
  QT_QPA_PLATFORM=offscreen "$bench" --benchmark_min_time=0.01
done
# The Debian package is made from the Release build: built, inspected, unpacked and run.
ctest --test-dir build-rel -R '^package_deb$' --output-on-failure --timeout 600

CXX=clang++ bash scripts/configure-build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVALE_FUZZ=ON -DKORVALE_BUILD_UI=OFF -DKORVALE_BUILD_TESTS=OFF -DKORVALE_BUILD_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure --timeout 300

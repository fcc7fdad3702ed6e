#!/usr/bin/env bash
# Builds Korvale with AddressSanitizer and UndefinedBehaviorSanitizer, checks the style
# (clang-format, clang-tidy over the core) and runs every test; builds the Release
# configuration, runs every test there too (the bit-exact pictures guard the optimized build
# that ships) and its benchmarks briefly; then builds only the fuzz targets with clang and
# runs each for a short bounded time, two at a time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# No benchmarks here: they run from the Release tree, and instrumented they measure nothing.
bash scripts/configure-build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DKORVALE_SANITIZE=ON \
  -DKORVALE_BUILD_BENCH=OFF
# Formatting and clang-tidy over the core, from the build's compile_commands.json.
bash scripts/check-style.sh build-test
ctest --test-dir build-test --output-on-failure -j"$(nproc)" --timeout 600

# The Release configuration of the README must build warning-free as well (the optimizer
# has warnings of its own) and pass the same tests, the Debian package's among them; its
# benchmarks run for a moment each, as a smoke run.
bash scripts/configure-build.sh build-rel -DCMAKE_BUILD_TYPE=Release -DKORVALE_BUILD_BENCH=ON
ctest --test-dir build-rel --output-on-failure -j"$(nproc)" --timeout 600
for bench in build-rel/bin/bench_*; do
  [ -x "$bench" ] || continue
  QT_QPA_PLATFORM=offscreen "$bench" --benchmark_min_time=0.01
done

# The fuzz targets only: the readers they exercise and what those stand on, nothing else.
# Each target is one process, so two run side by side.
CXX=clang++ bash scripts/configure-build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVALE_FUZZ=ON -DKORVALE_BUILD_UI=OFF -DKORVALE_BUILD_TESTS=OFF -DKORVALE_BUILD_BENCH=OFF \
  -- korvale_fuzz
ctest --test-dir build-fuzz --output-on-failure -j2 --timeout 300

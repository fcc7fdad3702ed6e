#!/usr/bin/env bash
# mutants.sh [NAME...]: puts deliberate faults into the number paths one at a time (the
# channels, lap cutting, averaging, sectors and the time delta, the text export), rebuilds
# what changed in a tree of its own (build-mutants: Release, no Qt program, no benchmarks),
# runs the core tests and says of each fault whether a test caught it. The source is put
# back after each fault, also when the script is interrupted. Run it by hand before merging a
# change to those paths; every fault on the list must be caught. With names, only those run.
#
# Each fault is one exact text in one file and what it becomes. A text that is not found
# exactly once is reported as "stale": the code moved on, and the fault needs rewriting.
set -euo pipefail
shopt -u patsub_replacement 2>/dev/null || true
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build="build-mutants"

names=() files=() texts=() replacements=() firsts=()
# fault NAME FILE TEXT REPLACEMENT "TESTS": TESTS are the test programs most likely to catch
# it, tried first.
fault() {
  names+=("$1") files+=("$2") texts+=("$3") replacements+=("$4") firsts+=("$5")
}
fault lateral-force-x3.28 src/channels/Channels.cpp \
  'return MphPerFrameToG(DifferenceStencil(v, t, [&](double u) { return LateralSpeed(v, u); }));' \
  'return 3.28 * MphPerFrameToG(DifferenceStencil(v, t, [&](double u) { return LateralSpeed(v, u); }));' \
  "test_channels test_export test_cli"
fault gravity-32-not-32.2 src/channels/Channels.cpp \
  'return d * 5280.0 * FrameRate / 3600.0 / 32.2;' \
  'return d * 5280.0 * FrameRate / 3600.0 / 32.0;' \
  "test_channels test_export"
fault central-difference-halved-twice src/channels/Channels.cpp \
  'if (f < v.lap.endFrame - 1) return (g(t + Frame) - g(t - Frame)) * 0.5;' \
  'if (f < v.lap.endFrame - 1) return (g(t + Frame) - g(t - Frame)) * 0.25;' \
  "test_channels"
fault slip-angle-sign src/channels/Channels.cpp \
  'double s = a - b - 6 * Pi;' \
  'double s = b - a - 6 * Pi;' \
  "test_channels test_export"
fault time-at-position-one-frame-late src/channels/Channels.cpp \
  'frame = static_cast<double>(i) + (p - pos[i]) / (double(pos[j]) - double(pos[i]));' \
  'frame = static_cast<double>(j) + (p - pos[i]) / (double(pos[j]) - double(pos[i]));' \
  "test_channels test_analysis"
fault crossing-placed-mid-frame src/replay/Scan.cpp \
  'double m = whole == 0 ? 0.0 : double(before) / double(whole);' \
  'double m = whole == 0 ? 0.0 : 0.5;' \
  "test_replay test_sim test_cli"
fault rolling-back-over-the-line-forgotten src/replay/Scan.cpp \
  '                    --state.lineCounter[size_t(i)];' \
  '                    (void)state.lineCounter[size_t(i)];' \
  "test_replay test_sim test_cli"
fault average-at-the-first-laps-time src/replay/Averaging.cpp \
  'return MeanOver(laps, [&](const TReplay& lap) { return op(lap, TimeAtPosition(lap, feet)); });' \
  'return MeanOver(laps, [&](const TReplay& lap) { return op(lap, TimeAtPosition(*laps.front(), feet)); });' \
  "test_replay test_commands test_cli"
fault sector-time-from-the-lap-start src/analysis/Sectors.cpp \
  'return TimeAtPosition(lap, sector.to) - TimeAtPosition(lap, sector.from);' \
  'return TimeAtPosition(lap, sector.to);' \
  "test_analysis test_cli"
fault sector-best-is-the-slowest src/analysis/Sectors.cpp \
  'if (time && (!table.bestTimes[s] || *time < *table.bestTimes[s])) {' \
  'if (time && (!table.bestTimes[s] || *time > *table.bestTimes[s])) {' \
  "test_analysis test_cli"
fault time-delta-reversed src/analysis/LapAnalysis.cpp \
  'return TimeAtPosition(lap, feet) - TimeAtPosition(reference, feet);' \
  'return TimeAtPosition(reference, feet) - TimeAtPosition(lap, feet);' \
  "test_analysis test_cli"
fault export-lateral-column-shows-in-line src/export/TextExport.cpp \
  'ChannelValue(*lap, x, xChannel, static_cast<TelemetryChannel>(c), track));' \
  'ChannelValue(*lap, x, xChannel, static_cast<TelemetryChannel>(c == 5 ? 4 : c), track));' \
  "test_export test_cli"
fault export-x-column-one-step-ahead src/export/TextExport.cpp \
  'row.Number(x);' \
  'row.Number(x + r);' \
  "test_export test_cli"
core_tests=(test_platform test_track test_document test_channels test_analysis test_replay
  test_export test_sim test_commands test_cli)

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALE_BUILD_UI=OFF \
  -DKORVALE_BUILD_BENCH=OFF >/dev/null

backup="" target=""
restore() {
  if [ -n "$backup" ]; then
    # A fresh copy, not a moved one: its new time makes the next build recompile it.
    cat "$backup" >"$target"
    rm -f "$backup"
    backup=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

build_all() { cmake --build "$build" -j"$(nproc)" >"$build/mutant-build.log" 2>&1; }

# Runs the given test programs first, then the rest of the core's; 0 when all pass.
run_tests() {
  local t seen=" "
  for t in "$@" "${core_tests[@]}"; do
    case "$seen" in *" $t "*) continue ;; esac
    seen+="$t "
    [ -x "$build/bin/$t" ] || continue
    if ! (cd "$build" && timeout 600 "bin/$t" --gtest_brief=1 >"mutant-$t.log" 2>&1); then
      caught_by=$t
      return 1
    fi
  done
  return 0
}

echo "mutants: building $build and running the core tests unchanged"
build_all || { echo "mutants: the unchanged tree does not build (see $build/mutant-build.log)"; exit 1; }
caught_by=""
run_tests || { echo "mutants: $caught_by fails without any fault (see $build/mutant-$caught_by.log)"; exit 1; }

caught=0 survived=0 stale=0
for i in "${!names[@]}"; do
  name=${names[$i]} file=${files[$i]} text=${texts[$i]} replacement=${replacements[$i]}
  first=${firsts[$i]}
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  content=$(cat "$file"; printf x)
  content=${content%x}
  rest=${content//"$text"/}
  count=$(((${#content} - ${#rest}) / ${#text}))
  if [ "$count" -ne 1 ]; then
    echo "STALE     $name: the text is in $file $count times, not once"
    stale=$((stale + 1))
    continue
  fi
  target=$file
  backup=$(mktemp)
  cat "$file" >"$backup"
  printf '%s' "${content/"$text"/"$replacement"}" >"$file"
  caught_by=""
  # shellcheck disable=SC2086
  if ! build_all; then
    echo "CAUGHT    $name: it does not build"
    caught=$((caught + 1))
  elif ! run_tests $first; then
    echo "CAUGHT    $name: by $caught_by"
    caught=$((caught + 1))
  else
    echo "SURVIVED  $name ($file)"
    survived=$((survived + 1))
  fi
  restore
done
# The tree as it was, so that the next run starts from the true code.
build_all
echo "mutants: $caught caught, $survived survived, $stale stale"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ]

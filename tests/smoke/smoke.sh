#!/usr/bin/env bash
# smoke.sh KORVALE DATA_DIR WORK_DIR SMOKE_CHECK, run inside an X server (xvfb-run):
# starts korvale on the sample document, answers the first-run message, imports one lap of
# the road-course replay through the real Open Replay and Import Lap dialogs, has the
# program write a screenshot and checks it for the four laps' colours; then switches to the
# track map (F6) and checks the map's screenshot for the same colours.
set -euo pipefail
exe=$1 data=$2 work=$3 check=$4

rm -rf "$work"
mkdir -p "$work"
cp "$data/sample.kvl" "$data/sample-kestrel.rpl" "$work/"
export KORVALE_SETTINGS="$work/korvale.ini"
export KORVALE_TEST_SCREENSHOT="$work/shot.png"

"$exe" "$work/sample.kvl" >"$work/korvale.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# The first visible window whose title matches, once it is there; focused for the keys.
window() {
  local id=""
  # Polled rather than --sync: a window that closes during a search makes xdotool give up
  # with an X error, which a busy machine turns into a failure now and then.
  for _ in $(seq 400); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.15
  done
  if [ -z "$id" ]; then
    echo "smoke: no window \"$1\"" >&2
    cat "$work/korvale.log" >&2
    exit 1
  fi
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id" 2>/dev/null || true
  sleep 0.5
  echo "$id"
}

window "^Track Data Update$" >/dev/null
xdotool key Return
# A first start raises the welcome help above the frame once the frame shows; the keys go
# to the frame only after that.
window "^Korvale Help$" >/dev/null
window "^Korvale - sample.kvl" >/dev/null
xdotool key ctrl+i
window "^Open Replay$" >/dev/null
xdotool key ctrl+a
xdotool type --delay 20 "$work/sample-kestrel.rpl"
sleep 0.5
xdotool key Return
window "^Import Lap$" >/dev/null
xdotool key Return
sleep 1
# A screenshot of the frame, written by the program on Ctrl+Shift+F12, then kept as $1.
shot() {
  rm -f "$work/shot.png"
  window "^Korvale - sample.kvl" >/dev/null
  xdotool key ctrl+shift+F12
  for _ in $(seq 50); do
    [ -s "$work/shot.png" ] && break
    sleep 0.2
  done
  [ -s "$work/shot.png" ] || { echo "smoke: no screenshot" >&2; cat "$work/korvale.log" >&2; exit 1; }
  cp "$work/shot.png" "$work/$1"
}

shot graph.png
"$check" "$work/graph.png" 4
window "^Korvale - sample.kvl" >/dev/null
xdotool key F6
sleep 1
shot map.png
"$check" "$work/map.png" 4
# shot.png is left as the graph, where the README says it is.
cp "$work/graph.png" "$work/shot.png"

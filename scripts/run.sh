#!/usr/bin/env bash
# Builds Korvale and starts it on the bundled sample data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/configure-build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVALE_BUILD_TESTS=OFF
bin=build/bin
if [ -x "$bin/korvale" ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/korvale" "$bin/sample.kvl"
  fi
  echo "No display found: writing screenshots of the main window to build/screenshots/ instead"
  echo "(main.png the graph, map.png the track map, map-pip.png its picture-in-picture window)."
  mkdir -p build/screenshots
  QT_QPA_PLATFORM=offscreen "$bin/korvale" --screenshot build/screenshots/main.png "$bin/sample.kvl"
  QT_QPA_PLATFORM=offscreen "$bin/korvale" --screenshot build/screenshots/map.png --view map \
    --show pip "$bin/sample.kvl"
  exit 0
fi
exec "$bin/korvale-cli" tracks list --tracks "$bin/tracks.dat"

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
  echo "No display found: writing a screenshot of the main window to build/screenshots/main.png instead."
  mkdir -p build/screenshots
  QT_QPA_PLATFORM=offscreen "$bin/korvale" --screenshot build/screenshots/main.png "$bin/sample.kvl"
  exit 0
fi
exec "$bin/korvale-cli" tracks list --tracks "$bin/tracks.dat"

#!/usr/bin/env bash
# Builds the Debian package korvale_VERSION_ARCH.deb from a clean Release build in
# build-pkg/ and prints its path. Install it with: apt install ./build-pkg/korvale_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
rm -rf build-pkg
bash scripts/configure-build.sh build-pkg -DCMAKE_BUILD_TYPE=Release -DKORVALE_BUILD_TESTS=OFF \
  -DKORVALE_BUILD_BENCH=OFF
(cd build-pkg && cpack -G DEB >cpack.log) || { cat build-pkg/cpack.log >&2; exit 1; }
ls "$root"/build-pkg/korvale_*.deb

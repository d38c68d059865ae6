#!/usr/bin/env bash
# Installs the packages, builds the program and makes its Debian package,
# build/package/velmora_<version>_<arch>.deb (install it with apt install ./FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target velmora velmora-engine
(cd build && cpack -G DEB >/dev/null)
ls build/package/velmora_*.deb

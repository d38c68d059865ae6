#!/usr/bin/env bash
# Installs the packages and builds the program and its tests into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR="${VELMORA_WERROR:-OFF}" >/dev/null
cmake --build build

#!/usr/bin/env bash
# Installs the packages, builds the program and starts it. The program keeps its
# data (coal.dat, config.ini, bakup/) in its own folder, build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/bin/velmora

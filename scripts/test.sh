#!/usr/bin/env bash
# Installs the packages, builds everything and runs every test: the whole suite,
# the installed program from its Debian package, then the engine tests again in
# a build with address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
bash scripts/check-package.sh

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON >/dev/null
sanitized=$(cd build-sanitize && ctest -N -R 'engine|model|blend' | sed -n 's/^ *Test *#[0-9]*: //p')
if [ -n "$sanitized" ]; then
  cmake --build build-sanitize --target $sanitized
  (cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
     UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -R 'engine|model|blend')
fi

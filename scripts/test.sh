#!/usr/bin/env bash
# Installs the packages, builds everything and runs every test: the whole suite
# (its database tests also on a PostgreSQL server of their own, started here
# and stopped again whether they pass or not), then the engine tests again in a
# build with address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# A test that needs the server fails rather than skips when it cannot reach it.
VELMORA_TEST_REQUIRE_SERVER=1 bash scripts/pg-server.sh \
  bash -c 'cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2'

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON >/dev/null
sanitized=$(cd build-sanitize && ctest -N -R 'engine|model|blend' | sed -n 's/^ *Test *#[0-9]*: //p')
if [ -n "$sanitized" ]; then
  cmake --build build-sanitize --target $sanitized
  (cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
     UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -R 'engine|model|blend')
fi

#!/usr/bin/env bash
# Installs the packages, builds everything and runs every test: the whole suite
# (its database tests also on a PostgreSQL server of their own, started here
# and stopped again whether they pass or not), the installed program from its
# Debian package, then the engine, import and export tests again in a build
# with address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
VELMORA_WERROR=ON bash scripts/build.sh
# A test that needs the server fails rather than skips when it cannot reach it.
VELMORA_TEST_REQUIRE_SERVER=1 bash scripts/pg-server.sh \
  bash -c 'cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2'
bash scripts/check-package.sh

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON >/dev/null
# The runs on the server (*_pg) are the same programs; they stay out of this pass.
pattern='engine|model|blend|import|export|table_read|coal_listing|full_disk'
sanitized=$(cd build-sanitize && ctest -N -R "$pattern" -E '_pg$' | sed -n 's/^ *Test *#[0-9]*: //p')
if [ -n "$sanitized" ]; then
  cmake --build build-sanitize --target $sanitized
  (cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
     LSAN_OPTIONS=suppressions="$PWD/../scripts/lsan.supp" \
     UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -R "$pattern" -E '_pg$')
fi

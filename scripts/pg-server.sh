#!/usr/bin/env bash
# Runs a command beside a PostgreSQL server of its own, for the tests and the
# benchmarks: a new cluster in a temporary folder, listening only on a Unix
# socket in that folder (no TCP), stopped and removed however the command ends.
# The command finds it through VELMORA_TEST_PGHOST (the socket folder),
# VELMORA_TEST_PGUSER (a superuser) and VELMORA_TEST_PGRESTART (a script that
# restarts it). Fails when the server does not start.
#   bash scripts/pg-server.sh build/tests/tst_server
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  echo "pg-server.sh: the PostgreSQL server programs are missing (Debian package postgresql)" >&2
  exit 1
fi

dir=$(mktemp -d /tmp/velmora-pg.XXXXXX)
# The server refuses to run as root: CI runs as root, so it runs as postgres.
as_server=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres "$dir"
  as_server=(runuser -u postgres --)
fi
stop() {
  "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT

if ! "${as_server[@]}" "$bindir/initdb" -D "$dir/data" -U velmora --auth=trust -E UTF8 --locale=C.UTF-8 \
     >"$dir/initdb.log" 2>&1; then
  cat "$dir/initdb.log" >&2
  echo "pg-server.sh: initdb failed" >&2
  exit 1
fi
# A throwaway cluster: nothing needs to survive a crash of the machine, so
# the tests skip the syncs. VELMORA_PG_DURABLE=1 keeps them, as a real server
# does (for the benchmarks).
options="-k $dir -c listen_addresses="
if [ -z "${VELMORA_PG_DURABLE:-}" ]; then
  options="$options -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
fi
if ! "${as_server[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -o "$options" start >/dev/null; then
  cat "$dir/server.log" >&2 || true
  echo "pg-server.sh: the server did not start" >&2
  exit 1
fi

cat >"$dir/restart.sh" <<EOF
#!/bin/sh
exec ${as_server[*]} "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -m fast -o "$options" restart >/dev/null
EOF
chmod 755 "$dir/restart.sh"

export VELMORA_TEST_PGHOST="$dir" VELMORA_TEST_PGUSER=velmora VELMORA_TEST_PGRESTART="$dir/restart.sh"
"$@"

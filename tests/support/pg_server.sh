#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A throwaway PostgreSQL server for the tests: pg_server.sh start DIR | stop DIR, and for a test of
# a server that goes down: crash DIR (stopped at once, as by a power cut; its data kept) | resume DIR.
# It listens only on a Unix socket in DIR (no TCP port), trusts local connections, and runs as
# an unprivileged user: as the caller, or as "postgres" when the caller is root (CI runs as root,
# and PostgreSQL refuses to run as root). Its superuser role is "postgres" either way.
set -euo pipefail
action=${1:?start, stop, crash or resume}
dir=${2:?a folder for the server}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bin/pg_ctl" ] || { echo "pg_server: PostgreSQL's server programs are not installed" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

run_server() {
  as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -k $dir -c fsync=off -c full_page_writes=off" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
}

case $action in
start)
  # A server left by a run that was killed is stopped first.
  [ -f "$dir/data/postmaster.pid" ] && as_server "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  as_server "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  run_server
  ;;
crash) as_server "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null ;;
resume) run_server ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null; fi
  rm -rf "$dir"
  ;;
*)
  echo "pg_server: start, stop, crash or resume, not $action" >&2
  exit 2
  ;;
esac

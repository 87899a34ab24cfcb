#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A throwaway PostgreSQL server for the tests: pg_server.sh start DIR | stop DIR, and for a test of
# a server that goes down: crash DIR (stopped at once, as by a power cut; its data kept) | resume DIR.
# It listens only on a Unix socket in DIR (no TCP port), trusts local connections, and runs as
# an unprivileged user: as the caller, or as "postgres" when the caller is root (CI runs as root,
# and PostgreSQL refuses to run as root). Its superuser role is "postgres" either way.
#
# start-tls DIR starts one that also listens on 127.0.0.1, on a free port written to DIR/port (its
# socket in DIR then carries that port too), with TLS only: a certificate for "localhost" signed by
# a throwaway CA made here (DIR/ca.crt, for the clients' sslrootcert), and trust for hostssl
# connections from 127.0.0.1, none for plain ones.
set -euo pipefail
action=${1:?start, start-tls, stop, crash or resume}
dir=${2:?a folder for the server}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bin/pg_ctl" ] || { echo "pg_server: PostgreSQL's server programs are not installed" >&2; exit 1; }

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

# The settings live in the server's own postgresql.conf (later lines win), so that resume
# starts the same server.
run_server() {
  as_server "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null
}

make_server() {
  # A server left by a run that was killed is stopped first.
  [ -f "$dir/data/postmaster.pid" ] && as_server "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  as_server "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  printf "listen_addresses = ''\nunix_socket_directories = '%s'\nfsync = off\nfull_page_writes = off\n" "$dir" |
    as_server tee -a "$dir/data/postgresql.conf" >/dev/null
}

# A port from 20000 on that nothing listens on now (as /proc/net/tcp* write it, in hexadecimal).
free_port() {
  local listening port
  listening=$(awk 'NR > 1 && $4 == "0A" {split($2, local_address, ":"); print local_address[2]}' \
    /proc/net/tcp /proc/net/tcp6 2>/dev/null || true)
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 40000))
    grep -qix "$(printf '%04X' "$port")" <<<"$listening" || { echo "$port"; return; }
  done
  echo "pg_server: no free port" >&2
  exit 1
}

# The throwaway CA and the server's certificate for "localhost" (its name only, no address, so that
# verify-full tells the names apart), made by the server's user: the key must be its own, mode 0600.
make_certificates() {
  (
    cd "$dir" &&
      as_server openssl req -x509 -new -nodes -newkey rsa:2048 -days 2 -subj "/CN=Quorin test CA" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
        -keyout ca.key -out ca.crt &&
      as_server openssl req -new -nodes -newkey rsa:2048 -subj "/CN=localhost" -keyout server.key -out server.csr &&
      printf 'subjectAltName = DNS:localhost\nextendedKeyUsage = serverAuth\n' | as_server tee server.ext >/dev/null &&
      as_server openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
        -extfile server.ext -out server.crt &&
      as_server chmod 600 ca.key server.key
  ) >"$dir/openssl.log" 2>&1 || { cat "$dir/openssl.log" >&2; exit 1; }
}

case $action in
start)
  make_server
  run_server || { cat "$dir/server.log" >&2; exit 1; }
  ;;
start-tls)
  command -v openssl >/dev/null || { echo "pg_server: the openssl command is not installed" >&2; exit 1; }
  make_server
  make_certificates
  printf 'local all all trust\nhostssl all all 127.0.0.1/32 trust\n' | as_server tee "$dir/data/pg_hba.conf" >/dev/null
  printf "ssl = on\nssl_cert_file = '%s'\nssl_key_file = '%s'\nlisten_addresses = '127.0.0.1'\n" \
    "$dir/server.crt" "$dir/server.key" | as_server tee -a "$dir/data/postgresql.conf" >/dev/null
  # Another program may take the port between the look and the start: then another one.
  for attempt in 1 2 3 4 5; do
    port=$(free_port)
    echo "port = $port" | as_server tee -a "$dir/data/postgresql.conf" >/dev/null
    if run_server; then
      echo "$port" >"$dir/port"
      exit 0
    fi
    [ "$attempt" -eq 5 ] && { cat "$dir/server.log" >&2; exit 1; }
  done
  ;;
crash) as_server "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null ;;
resume) run_server || { cat "$dir/server.log" >&2; exit 1; } ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then as_server "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null; fi
  rm -rf "$dir"
  ;;
*)
  echo "pg_server: start, start-tls, stop, crash or resume, not $action" >&2
  exit 2
  ;;
esac

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A shared library reached over TLS with sslmode=verify-full, on a server of its own that takes
# only TLS on 127.0.0.1: the server's CA lets quorin-cli in; another CA, or a name the
# certificate does not carry, is refused with a message.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
pg=$src/tests/support/pg_server.sh
server=$(mktemp -d /tmp/quorin-pgtls-XXXXXX)
trap 'bash "$pg" stop "$server" >/dev/null 2>&1; rm -rf "$work"' EXIT
bash "$pg" start-tls "$server" || { fail "no TLS server"; finish "library over TLS"; }
port=$(cat "$server/port")
over() { echo "postgresql://postgres@$1:$port/postgres?sslmode=verify-full&sslrootcert=$2"; }

# A throwaway CA of our own that signed nothing the server holds.
openssl req -x509 -new -nodes -newkey rsa:2048 -days 2 -subj "/CN=Quorin test CA" \
  -keyout "$work/other-ca.key" -out "$work/other-ca.crt" >/dev/null 2>&1 || fail "no second CA"

"$cli" library --library "$(over localhost "$server/ca.crt")" init >/dev/null || fail "init over TLS"
run=("$cli" cases --library "$(over localhost "$server/ca.crt")")
expect add-over-tls "1" add --name 张三 --date "2024-03-05 08:07" --text 加密
listed=$("${run[@]}" list) || fail "list over TLS: exit $?"
[[ $listed == $'1\t张三 '* ]] || fail "list over TLS: $listed"
[[ "$(psql -X -tA "$(over localhost "$server/ca.crt")" -c "select ssl from pg_stat_ssl where pid = pg_backend_pid()")" == t ]] ||
  fail "the connection is not encrypted"

# The refusals: the server's certificate from another CA, the server by an address its certificate
# does not name, and the server without TLS (which it does not take).
run=("$cli" cases --library "$(over localhost "$work/other-ca.crt")")
refused_with wrong-ca 1 "无法连接共享案例库" list
grep -q "certificate verify failed" "$work/refused_err" || fail "wrong CA: $(cat "$work/refused_err")"
run=("$cli" cases --library "$(over 127.0.0.1 "$server/ca.crt")")
refused_with wrong-name 1 "does not match host name" list
run=("$cli" cases --library "postgresql://postgres@localhost:$port/postgres?sslmode=disable")
refused_with no-tls 1 "no encryption" list

finish "library over TLS"

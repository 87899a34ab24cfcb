# SPDX-License-Identifier: GPL-3.0-or-later
# The harness of the quorin-cli test scripts, sourced by each of them (this file is
# no test itself). The script's arguments: $1 = quorin-cli, $2 = the source folder.
set -u
cli="$1"
src="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# The command that expect, refused and refused_with run, before their arguments.
run=("$cli")

# fail MESSAGE...: one failed check.
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect NAME EXPECTED ARGS...: exit 0, stdout exactly EXPECTED, nothing on stderr.
expect() {
  local name="$1" expected="$2"
  shift 2
  local actual rc
  actual="$("${run[@]}" "$@" 2>"$work/expect_err")"
  rc=$?
  if [[ $rc -ne 0 || "$actual" != "$expected" || -s "$work/expect_err" ]]; then
    fail "$name (exit $rc): $(cat "$work/expect_err")"
    diff <(echo "$expected") <(echo "$actual") | head -20 >&2
  fi
}

# refused NAME MESSAGE ARGS...: exit 1, nothing on stdout, stderr exactly MESSAGE.
refused() {
  local name="$1" message="$2"
  shift 2
  local out err rc
  out="$("${run[@]}" "$@" 2>"$work/refused_err")"
  rc=$?
  err="$(cat "$work/refused_err")"
  if [[ $rc -ne 1 || -n "$out" || "$err" != "$message" ]]; then
    fail "$name: exit $rc, stdout '$out', stderr '$err'"
  fi
}

# refused_with NAME CODE TEXT ARGS...: exit CODE, nothing on stdout, TEXT within stderr.
refused_with() {
  local name="$1" code="$2" text="$3"
  shift 3
  "${run[@]}" "$@" >"$work/refused_out" 2>"$work/refused_err"
  local got=$?
  [ "$got" -eq "$code" ] || fail "$name: exit $got, expected $code"
  grep -qF -- "$text" "$work/refused_err" || fail "$name: message '$text' not in: $(cat "$work/refused_err")"
  [ -s "$work/refused_out" ] && fail "$name: printed something"
}

# finish NAME: the script's summary and exit status.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$1: $failures check(s) failed" >&2
    exit 1
  fi
  echo "$1: all checks passed"
  exit 0
}

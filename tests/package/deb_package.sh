#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package end to end: built by CPack from this build tree, unpacked into a
# temporary root and run from there with a temporary home. The programs keep their data in
# the user's data folder and write nothing into the unpacked tree; the desktop entry and the
# AppStream metadata pass their validators.
# Usage: deb_package.sh BUILD_DIR VERSION   (exit 77: skipped)
set -euo pipefail
build=$1
version=$2

if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is missing, so the Debian package cannot be built or unpacked here."
  exit 77
fi

work=$(mktemp -d)
gui_pid=""
cleanup() {
  [ -n "$gui_pid" ] && kill "$gui_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The package, from the binaries this tree already built.
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/quorin_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in fonts-noto-cjk qt6-translations-l10n libqt6widgets6 libsqlite3-0; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"
for f in bin/quorin bin/quorin-cli \
    share/quorin/dat/set.ini share/quorin/dat/init.ini share/quorin/dat/dili.ini share/quorin/dat/Quorin.html \
    share/quorin/skins/淡雅.skn share/applications/quorin.desktop share/icons/hicolor/scalable/apps/quorin.svg \
    share/icons/hicolor/48x48/apps/quorin.png share/metainfo/org.quorin.quorin.metainfo.xml \
    share/man/man1/quorin.1.gz share/man/man1/quorin-cli.1.gz share/doc/quorin/copyright \
    share/bash-completion/completions/quorin-cli share/lintian/overrides/quorin; do
  [ -f "$usr/$f" ] || fail "the package lacks usr/$f"
done
cli_page=$(zcat "$usr/share/man/man1/quorin-cli.1.gz")
grep -q '^lunar$' <<<"$cli_page" || fail "the quorin-cli manual page does not list its commands"
# help2man ran in a UTF-8 locale, and took every usage line into the synopsis.
[[ $cli_page == *"(日课)"* && $cli_page != *"??"* ]] || fail "the quorin-cli manual page lost its Chinese words"
sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' <<<"$cli_page" | grep -q 'help COMMAND' ||
  fail "the quorin-cli manual page's synopsis lacks 'quorin-cli help COMMAND'"
sed -n '/^\.SH DESCRIPTION/,/^\.SS/p' <<<"$cli_page" | grep -q 'COMMAND' &&
  fail "a usage line of quorin-cli stands under DESCRIPTION in its manual page"

# Every path, size, time and mode of the unpacked tree, to compare after the runs.
snapshot() { (cd "$root" && find . -printf '%p %y %s %T@ %m\n' | sort); }
snapshot >"$work/before"

export HOME="$work/home"
export XDG_DATA_HOME="$work/xdg"
mkdir -p "$HOME"
data="$XDG_DATA_HOME/quorin"

# quorin-cli: a chart (2024-03-15 was a Friday, the sixth day of the second lunar month), then
# a case stored and listed in the user's data folder.
chart=$("$usr/bin/quorin-cli" chart "2024-03-15 10:30" --mountain 子 --gua 1) || fail "quorin-cli chart"
[[ $chart == *星期五* && $chart == *"二月 初六日"* ]] || fail "the chart lacks its weekday and lunar date"
id=$("$usr/bin/quorin-cli" cases add --name 张三 --date "2024-03-15 10:30" --class 开业 --text 试) || fail "cases add"
[ "$id" = 1 ] || fail "cases add printed '$id'"
list=$("$usr/bin/quorin-cli" cases list) || fail "cases list"
[[ $list == "1	张三"* ]] || fail "cases list printed '$list'"
[ -f "$data/dat/Orlune.db" ] || fail "no case database in $data/dat"
ls "$data"/Orlune_f/*.rtf >/dev/null 2>&1 || fail "no remark file in $data/Orlune_f"
for f in set.ini init.ini dili.ini; do
  cmp -s "$data/dat/$f" "$usr/share/quorin/dat/$f" || fail "dat/$f was not seeded from the package"
done

# quorin, offscreen, with the default data folder under $HOME: it creates its database at
# start-up. It runs until it is stopped, so it is stopped once the database is there.
unset XDG_DATA_HOME
gui_data="$HOME/.local/share/quorin"
QT_QPA_PLATFORM=offscreen "$usr/bin/quorin" >"$work/gui.log" 2>&1 &
gui_pid=$!
for _ in $(seq 1 600); do
  [ -f "$gui_data/dat/Orlune.db" ] && break
  kill -0 "$gui_pid" 2>/dev/null || { cat "$work/gui.log"; fail "quorin ended at start-up"; }
  sleep 0.1
done
[ -f "$gui_data/dat/Orlune.db" ] || { cat "$work/gui.log"; fail "quorin created no $gui_data/dat/Orlune.db"; }
sleep 1  # let the start-up finish its writes
kill -0 "$gui_pid" 2>/dev/null || { cat "$work/gui.log"; fail "quorin ended after start-up"; }
kill "$gui_pid"
wait "$gui_pid" 2>/dev/null || true
gui_pid=""
[ -f "$gui_data/dat/set.ini" ] || fail "quorin did not seed $gui_data/dat"

snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "the unpacked tree changed"

# The validators, where they are installed (scripts/setup.sh installs them).
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/quorin.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate is missing: the desktop entry is not validated."
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/org.quorin.quorin.metainfo.xml" || fail "appstreamcli validate"
else
  echo "appstreamcli is missing: the AppStream metadata is not validated."
fi
if command -v lintian >/dev/null; then
  # Every tag down to the pedantic ones is shown; errors and warnings fail, and so do the tags
  # of a binary built without Debian's hardening flags or with the compilers' notes left in.
  status=0
  report=$(lintian --pedantic --display-info --fail-on error,warning "$deb" 2>&1) || status=$?
  grep -v "running with root privileges" <<<"$report" || true
  [ "$status" = 0 ] || fail "lintian reports errors or warnings"
  if grep -E "hardening-|binary-has-unneeded-section" <<<"$report"; then
    fail "lintian finds the programs built without hardening or with unneeded sections"
  fi
else
  echo "lintian is missing: the package is not checked against Debian's rules."
fi
echo "The package works from $(basename "$deb") ($(stat -c %s "$deb") bytes)."

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli library on the test server: init once, grant roles (a read-only one refused every
# change), push a local library and pull it back identical (cases, categories, remark bytes), and
# texts holding SQL stored as they are; the case commands on it, the whole-library ones (export,
# compact, backup, restore) giving what they give on the same local library.
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
: "${QUORIN_TEST_PG_DIR:?a folder of the test server}"
database=cli_library_$$
admin="host=$QUORIN_TEST_PG_DIR user=postgres dbname=postgres"
psql -q -X "$admin" -c "create database $database" -c "create database ${database}_restored" \
  -c "create role ${database}_clerk login" -c "create role ${database}_reader login" >/dev/null || fail "no test database"
cleanup() {
  psql -q -X "$admin" -c "drop database if exists $database with (force)" \
    -c "drop database if exists ${database}_restored with (force)" -c "drop role if exists ${database}_clerk" \
    -c "drop role if exists ${database}_reader" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
as() { echo "postgresql:///${2:-$database}?host=$QUORIN_TEST_PG_DIR&user=$1"; }

run=("$cli" library --library "$(as postgres)")
expect init "共享案例库已经建立，管理者：postgres" init
refused init-again "这个数据库已经是共享案例库了" init
expect grant-clerk "${database}_clerk 可以使用共享案例库" grant "${database}_clerk"
expect grant-reader "${database}_reader 可以查看共享案例库（只读）" grant "${database}_reader" --read-only
refused_with grant-nobody 1 "无法授权给 nobody_here" grant nobody_here
refused_with no-library 2 "--library" pull --db "$work/x.db" --library ""

# A local library with texts that hold SQL, in two categories, one case deleted.
local=("$cli" cases --program-dir "$work/local")
hostile="'); drop table quorin.cases; --"
"${local[@]}" add --name 张三 --date "2024-03-05 08:07" --class 开业 --text "第一行
$hostile" --person 配偶,女,1982 >/dev/null
"${local[@]}" add --name 李四 --date "-120-01-02 23:30" --lunar --female --class "求财" --text '$1 %I \x00' >/dev/null
"${local[@]}" add --name 王五 --date "2023-02-01 00:00" --text 删 >/dev/null
"${local[@]}" add --name 赵六 --date "2010-05-06 07:08" --class 开业 >/dev/null
printf 'y\n' | "$cli" cases --program-dir "$work/local" list >/dev/null

run=("$cli" library --library "$(as "${database}_reader")")
refused push-read-only "只读用户不能修改共享案例库！" push --program-dir "$work/local"
run=("$cli" library --library "$(as "${database}_clerk")")
expect push "共推送 4 个案例到共享案例库！" push --program-dir "$work/local"
refused push-again "共享案例库中已经有案例，只能推送到空的共享案例库" push --program-dir "$work/local"

# Pulled by the read-only role into a new library: the same cases, categories and remark files.
run=("$cli" library --library "$(as "${database}_reader")")
expect pull "共拉取 4 个案例到：$work/copy/dat/Orlune.db" pull --program-dir "$work/copy"
refused pull-over "本机已有这个数据库文件，拉取只写入新的案例库：$work/copy/dat/Orlune.db" pull --program-dir "$work/copy"
for style in 0 1; do
  [[ "$("${local[@]}" list --style $style)" == "$("$cli" cases --program-dir "$work/copy" list --style $style)" ]] ||
    fail "pulled list (style $style) differs"
done
for id in 1 2 3 4; do
  diff <("${local[@]}" show $id --remark) <("$cli" cases --program-dir "$work/copy" show $id --remark) >/dev/null ||
    fail "pulled case $id differs: $(diff <("${local[@]}" show $id) <("$cli" cases --program-dir "$work/copy" show $id) | head -3)"
done
diff <(cd "$work/local/Orlune_f" && md5sum -- *) <(cd "$work/copy/Orlune_f" && md5sum -- *) >/dev/null ||
  fail "pulled remark files differ"
[[ "$(psql -X -tA "$admin dbname=$database" -c "select count(*) from quorin.cases where remark_text like '%drop table%'")" == 1 ]] ||
  fail "the text holding SQL was not stored as it is"

# The case commands on the shared library: a new case numbered on from the pushed ones, shown with
# its version; the read-only role reads it and may not add.
run=("$cli" cases --library "$(as "${database}_clerk")")
expect shared-add "5" add --name 孙七 --date "2025-05-01 10:05" --class 开业 --text "远程保存" --person 长子,男,2010
"$cli" cases --library "$(as "${database}_reader")" show 5 --remark >"$work/shown" || fail "shared show: exit $?"
grep -qx 'version: 1' "$work/shown" || fail "shared show: no version"
grep -qx 'persons: 长子,男,2010' "$work/shown" || fail "shared show: no persons"
[[ "$(tail -1 "$work/shown")" == 远程保存 ]] || fail "shared show: remark $(tail -1 "$work/shown")"
QUORIN_LIBRARY="$(as "${database}_reader")" "$cli" cases list --style 0 | grep -q $'^  5\t孙七' || fail "shared list lacks the new case"
run=("$cli" cases --library "$(as "${database}_reader")")
refused shared-add-read-only "只读用户不能修改共享案例库！" add --name 周八 --date "2025-05-01 10:05"
refused shared-import-read-only "只读用户不能修改共享案例库！" import "$work/local/dat/Orlune.db"
run=("$cli" cases --library "$(as "${database}_clerk")")
expect shared-import "共导入 4 个案例！" import "$work/local/dat/Orlune.db"
[[ $("${run[@]}" list | wc -l) == 9 ]] || fail "shared import: $("${run[@]}" list | wc -l) cases listed"

# Two users save the same case at once over the version they read: one is saved, the other is told
# and overwrites nothing.
run=("$cli" cases --library "$(as "${database}_clerk")")
for who in 甲 乙; do
  "${run[@]}" update 5 --version 1 --text "$who的评语" >"$work/update-$who.out" 2>"$work/update-$who.err" &
done
wait
saved=$(cat "$work"/update-*.out)
told=$(cat "$work"/update-*.err)
[[ $saved == "已保存：5，版本：2" ]] || fail "two saves: saved '$saved'"
[[ $told == "这个案例已经被其他人修改过，没有覆盖。现在的版本是2，请用 cases show 看过后再修改。" ]] || fail "two saves: told '$told'"
winner=$(grep -l 已保存 "$work"/update-*.out | sed 's/.*update-\(.*\)\.out/\1/')
[[ "$("${run[@]}" show 5 --remark | tail -1)" == "$winner的评语" ]] || fail "two saves: the remark is not $winner's"
refused_with update-stale 1 "这个案例已经被其他人修改过，没有覆盖。" update 5 --version 1 --name 孙八
expect update-current "已保存：5，版本：3" update 5 --version 2 --name 孙八
refused_with update-no-version 2 "--version" update 5 --name 孙九

# The searches find on the shared library what they find on a pull of it.
"$cli" library --library "$(as "${database}_clerk")" pull --program-dir "$work/after" >/dev/null || fail "second pull"
for query in "search 张三" "search 开业 2010年" "search 远程" "find --name 李" "find --class 开业 --class-exact" \
             "find --sex 女" "find --from 2000 --to 2030 --comment 第一" "find --name 无此人"; do
  # shellcheck disable=SC2086 # each query is words
  [[ "$("${run[@]}" $query 2>&1)" == "$("$cli" cases --program-dir "$work/after" $query 2>&1)" ]] ||
    fail "shared $query: $(diff <("${run[@]}" $query 2>&1) <("$cli" cases --program-dir "$work/after" $query 2>&1) | head -3)"
done
# A library made before the searches' indexes (the first format) is searched alike, and its
# administrator's init brings it up to date.
first=$("${run[@]}" search 张三 2>&1)
psql -q -X "$(as postgres)" -c "drop index quorin.cases_text, quorin.cases_pairs, quorin.cases_year" \
  -c "drop function quorin.bigrams(text)" -c "update quorin.library set value = '1' where key = 'format'" >/dev/null ||
  fail "no library of the first format"
[[ "$("${run[@]}" search 张三 2>&1)" == "$first" ]] || fail "the first format searched otherwise"
[[ "$("$cli" library --library "$(as postgres)" init)" == "共享案例库已经更新到新的格式（查找用的索引）" ]] || fail "init did not upgrade"
[[ "$("${run[@]}" search 张三 2>&1)" == "$first" ]] || fail "the upgraded library searched otherwise"
[[ "$("$cli" library --library "$(as postgres)" init 2>&1)" == "这个数据库已经是共享案例库了" ]] || fail "init upgraded twice"

# The whole-library commands. An export of the shared library is the export of the same library
# kept locally (the pull above): the same message, cases, numbering and categories.
reader=("$cli" cases --library "$(as "${database}_reader")")
exported() { "$cli" cases --db "$1" --program-dir "$work/exports" "${@:2}"; }
for classes in "" "--class 开业 --class 求财"; do
  rm -f "$work"/export-*.db
  # shellcheck disable=SC2086 # the options are words
  shared_said=$("${reader[@]}" export "$work/export-shared.db" $classes 2>&1) || fail "shared export $classes: $shared_said"
  [ -e "$work/export-shared.db.lock" ] && fail "shared export $classes left a lock file"
  # shellcheck disable=SC2086
  local_said=$("$cli" cases --program-dir "$work/after" export "$work/export-local.db" $classes 2>&1)
  [[ ${shared_said/export-shared/export-local} == "$local_said" ]] || fail "shared export $classes said: $shared_said"
  [[ "$(exported "$work/export-shared.db" list --style 0)" == "$(exported "$work/export-local.db" list --style 0)" ]] ||
    fail "shared export $classes lists other cases"
  for id in $(seq "$(exported "$work/export-local.db" list | wc -l)"); do
    diff <(exported "$work/export-shared.db" show "$id") <(exported "$work/export-local.db" show "$id") >/dev/null ||
      fail "shared export $classes: case $id differs"
  done
done
refused shared-export-over "导出文件已经存在：$work/export-shared.db" export "$work/export-shared.db"

# A backup of the shared library laid out as a local one, which the local restore takes: the same
# cases and the same remark bytes as the shared library's.
"${reader[@]}" backup "$work/backups" >"$work/backup.out" || fail "shared backup: exit $?"
backup=$(ls -d "$work"/backups/Quorin_备份_*)
[[ "$(cat "$work/backup.out")" == "成功备份，已保存到${backup}目录下" ]] || fail "shared backup said: $(cat "$work/backup.out")"
[[ "$(cd "$backup" && find . | LC_ALL=C sort | grep -v '\.rtf$' | xargs)" == ". ./Orlune.db ./Orlune_f ./Orlune_f/save.txt" ]] ||
  fail "shared backup holds: $(cd "$backup" && find . | grep -v '\.rtf$' | xargs)"
"$cli" cases --program-dir "$work/restored" restore "$backup" >/dev/null || fail "local restore of the shared backup"
restored=("$cli" cases --program-dir "$work/restored")
[[ "$("${restored[@]}" list --style 0)" == "$("$cli" cases --program-dir "$work/after" list --style 0)" ]] ||
  fail "the restored shared backup lists other cases"
for id in $(seq 9); do
  diff <("${restored[@]}" show "$id") <("${reader[@]}" show "$id" | grep -v '^version: ') >/dev/null ||
    fail "the restored shared backup: case $id differs"
done
remark_sums() { psql -X -tA "$admin dbname=$1" -c "select remark_file || '.rtf ' || md5(remark) from quorin.cases" | LC_ALL=C sort; }
[[ "$(cd "$work/restored/Orlune_f" && md5sum -- *.rtf | awk '{print $2 " " $1}' | LC_ALL=C sort)" == "$(remark_sums "$database")" ]] ||
  fail "the restored shared backup has other remark bytes"

# A local backup restored into a shared library without cases: the local cases under their ids,
# their remark bytes; refused where cases are, and to the read-only role.
"${local[@]}" backup "$work/local-backups" >/dev/null || fail "local backup"
local_backup=$(ls -d "$work"/local-backups/Quorin_备份_*)
"$cli" library --library "$(as postgres "${database}_restored")" init >/dev/null || fail "init of a second library"
psql -q -X "$admin dbname=${database}_restored" -c "select quorin.grant_access('${database}_clerk', false)" \
  -c "select quorin.grant_access('${database}_reader', true)" >/dev/null || fail "grant on the second library"
run=("$cli" cases --library "$(as "${database}_reader" "${database}_restored")")
refused_with restore-read-only 1 "只读用户不能修改共享案例库！" restore "$local_backup"
run=("$cli" cases --library "$(as "${database}_clerk")")
refused_with restore-over-cases 1 "共享案例库中已经有案例，只能还原到空的共享案例库" restore "$local_backup"
run=("$cli" cases --library "$(as "${database}_clerk" "${database}_restored")")
expect shared-restore "成功还原 4 个案例到共享案例库！" restore "$local_backup"
[[ "$("${run[@]}" list --style 0)" == "$("${local[@]}" list --style 0)" ]] || fail "shared restore lists other cases"
for id in 1 2 3 4; do
  diff <("${run[@]}" show $id --remark | grep -v '^version: ') <("${local[@]}" show $id --remark) >/dev/null ||
    fail "shared restore: case $id differs"
done
[[ "$(cd "$work/local/Orlune_f" && md5sum -- *.rtf | awk '{print $2 " " $1}' | LC_ALL=C sort)" == \
   "$(remark_sums "${database}_restored")" ]] || fail "shared restore: other remark bytes"
expect restored-add "5" add --name 孙七 --date "2025-05-01 10:05" --text 接着编号

# Compaction keeps the ids and the cases, and gives a case without remark bytes its remark from its
# text: a writer's rebuild stays though the tables' tidying is the administrator's; a reader may do neither.
before=$("${reader[@]}" list --style 0)
remark_before=$("${reader[@]}" show 2 --remark | sed -n '/^remark:$/,$p')
psql -q -X "$admin dbname=$database" -c "update quorin.cases set remark = null where id = 2" >/dev/null
run=("$cli" cases --library "$(as "${database}_reader")")
refused_with compact-read-only 1 "只读用户不能修改共享案例库！" compact
run=("$cli" cases --library "$(as "${database}_clerk")")
refused compact-not-owner "只有共享案例库的管理者才能整理共享案例库（已经为 1 个案例补写了评语）" compact
[[ "$("${reader[@]}" show 2 --remark | sed -n '/^remark:$/,$p')" == "$remark_before" ]] ||
  fail "compaction: the rebuilt remark of case 2 is $("${reader[@]}" show 2 --remark | tail -1)"
"${reader[@]}" show 2 | grep -qx 'version: 2' || fail "compaction: the rebuilt case kept its version"
run=("$cli" cases --library "$(as postgres)")
expect compact " 9 个案例已经整理出来！" compact
[[ "$("${reader[@]}" list --style 0)" == "$before" ]] || fail "compaction changed the list"
[[ $(psql -X -tA "$admin dbname=$database" -c "select count(*) from quorin.cases where length(remark) > 0") == 9 ]] ||
  fail "compaction left cases without a remark"

# A server that goes down during an import: after it is back, the import is all there or not at all.
big=("$cli" cases --program-dir "$work/big")
"${big[@]}" add --name 张三 --date "2024-03-05 08:07" --text 评语 >/dev/null
for _ in $(seq 12); do  # 4096 cases, doubled by importing the library into itself
  rm -f "$work/half.db"
  "${big[@]}" export "$work/half.db" >/dev/null && "${big[@]}" import "$work/half.db" >/dev/null || fail "no big library"
done
server=$(mktemp -d /tmp/quorin-pgk-XXXXXX)
pg=$src/tests/support/pg_server.sh
trap 'bash "$pg" stop "$server" >/dev/null 2>&1; cleanup' EXIT
bash "$pg" start "$server" || fail "no second server"
doomed="postgresql:///postgres?host=$server&user=postgres"
"$cli" library --library "$doomed" init >/dev/null || fail "init on the second server"
"$cli" cases --library "$doomed" import "$work/big/dat/Orlune.db" >"$work/push.out" 2>"$work/push.err" &
importer=$!
sleep 0.3
bash "$pg" crash "$server"
wait $importer
imported=$?
bash "$pg" resume "$server"
stored=$(psql -X -tA "host=$server user=postgres dbname=postgres" -c "select count(*) from quorin.cases")
if [ $imported -eq 0 ]; then
  [ "$stored" = 4096 ] || fail "an import that reported success left $stored cases"
else
  [ "$stored" = 0 ] || fail "an import cut short left $stored cases"
  grep -q . "$work/push.err" || fail "an import cut short said nothing"
  [ -s "$work/push.out" ] && fail "an import cut short reported: $(cat "$work/push.out")"
  run=("$cli" cases --library "$doomed")
  expect import-after-crash "共导入 4096 个案例！" import "$work/big/dat/Orlune.db"
fi

finish "library CLI"

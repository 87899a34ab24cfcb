#!/usr/bin/env bash
# End-to-end checks of quorin-cli cases: add, list, show, search, find, export, import, compact
# and the refusals for broken or missing databases.
set -u
cli="$1"
failures=0
dir="$(mktemp -d)"
err_file="$dir/stderr"
trap 'rm -rf "$dir"' EXIT
cases=("$cli" cases --program-dir "$dir/prog")

# expect NAME EXPECTED_OUTPUT ARGS...: stdout must match and the exit code be 0.
expect() {
  local name="$1" expected="$2"
  shift 2
  local actual rc
  actual="$("${cases[@]}" "$@" 2>"$err_file")"
  rc=$?
  if [[ $rc -ne 0 || "$actual" != "$expected" ]]; then
    echo "FAIL $name (exit $rc): $(cat "$err_file")"
    diff <(echo "$expected") <(echo "$actual") | head -20
    failures=$((failures + 1))
  fi
}

# refused NAME MESSAGE ARGS...: exit 1, nothing on stdout, the message on stderr.
refused() {
  local name="$1" message="$2"
  shift 2
  local out err rc
  out="$("${cases[@]}" "$@" 2>"$err_file")"
  rc=$?
  err="$(cat "$err_file")"
  if [[ $rc -ne 1 || -n "$out" || "$err" != "$message" ]]; then
    echo "FAIL $name: exit $rc, stdout '$out', stderr '$err'"
    failures=$((failures + 1))
  fi
}

refused missing-db "没有这个数据库文件：$dir/prog/dat/Orlune.db" list

expect add-1 "1" add --name 张三 --date "2010-05-06 07:08" --class 开业 --text "第一行
第二行'引号"
expect add-2 "2" add --name 赵六 --date "2010-05-06 07:08" --class 求财
expect add-3 "3" add --name 李四 --date "-120-01-02 23:30" --lunar --female
expect add-4 "4" add --name "Bad/Name" --date "2024-03-01 00:00" --lunar --leap --class 新类
expect add-5 "5" add --name 张三 --date "2010-05-06 07:08" --class 开业

expect list-default "5	张三     公2010-05-06 07:08 
4	BadName  农闰2024-03-01 00:00 
3	李四     农-120-01-02 23:30 
2	赵六     公2010-05-06 07:08 
1	张三     公2010-05-06 07:08 " list

# Time descending: the lunar date that does not exist is left out; 赵 comes before 张 at the same moment.
expect list-time-categories "开业
  5	张三     公2010-05-06 07:08 
  1	张三     公2010-05-06 07:08 
求财
  2	赵六     公2010-05-06 07:08 
临时保存
  3	李四     农-120-01-02 23:30 " list --style 0 --order 1
# Surname z-a: 张 (Z, 24th of the surnames) before 赵 (Z, 1st), then 李; equal keys keep the newest-first list order.
expect list-surname "5	张三     公2010-05-06 07:08 
1	张三     公2010-05-06 07:08 
2	赵六     公2010-05-06 07:08 
3	李四     农-120-01-02 23:30 " list --order 4

expect show-remark "id: 1
name: 张三
male: 1
className: 开业
isLunar: 0
isLeapMonth: 0
year: 2010
month: 5
day: 6
hour: 7
minute: 8
province: 0
city: 0
addrName: 
longitude: 120.000000
latitude: 30.000000
masterYear: 1978
mountain: 0
mountainGua: 0
dragonMountain: -1
dragonGua: 0
waterMountain: -1
waterGua: 0
showFacing: 0
extra: -1 -1 -1 -1 -1
remarkFile: 张三_201005060708
remarkText: 第一行\n第二行引号
remark:
第一行
第二行'引号" show 1 --remark
"${cases[@]}" show 5 | grep -q '^remarkFile: 张三_201005060708_0$' || { echo "FAIL remark name collision"; failures=$((failures + 1)); }
"${cases[@]}" show 3 | grep -q '^year: -120$' || { echo "FAIL year BC"; failures=$((failures + 1)); }
refused show-missing "没有这个案例：99" show 99

expect search-two-fields "1	张三     2010-05-06 开业
5	张三     2010-05-06 开业" search 张 2010年
expect search-double-hour "3	李四     -120-01-02 临时保存
4	BadName  2024-03-01 新类" search 子时
expect search-none "没有符合的案例！" search 张 张
expect find-year-bc "3	李四     -120-01-02 临时保存" find --from -120 --to -120
expect find-class "1	张三     2010-05-06 开业
5	张三     2010-05-06 开业" find --class 开 --sex 男
expect find-none "没有找到符合条件的案例。" find --name 王
refused find-half-range "年份必须在-850到2100年之间，并且没有公元0年
注意：公元前用负数，比如公元前120年，就输入-120" find --from 2000
refused find-reversed "结束年必须大于或等于起始年" find --from 2010 --to 2000

expect export-some "3 个案例文件已经保存到：$dir/some.db" export "$dir/some.db" --class 求财 --class 开业
refused export-exists "导出文件已经存在：$dir/some.db" export "$dir/some.db"
refused export-nothing "没有可以导出的案例，或者无法创建导出数据库，导出失败，请重启软件再次试试！" \
  export "$dir/none.db" --class 结婚
expect export-categories "1	张三     2010-05-06 开业
2	赵六     2010-05-06 求财
3	张三     2010-05-06 开业" --db "$dir/some.db" search 2010年

expect import "共导入 3 个案例！" import "$dir/some.db"
expect import-ids "2	赵六     2010-05-06 求财
7	赵六     2010-05-06 求财" find --from 2010 --to 2010 --name 赵六 --name-exact
printf 'not a database, just text for the test ................................' > "$dir/text.db"
refused import-other-format "无法打开导入的数据库文件！" import "$dir/text.db"
refused import-missing "不存在这个数据库文件，无法导入！" import "$dir/nothing.db"

refused compact-too-few "案例数据过少，无需整理！" compact
"${cases[@]}" --db "$dir/prog/dat/Orlune.db" show 8 >/dev/null || { echo "FAIL show before compact"; failures=$((failures + 1)); }
expect compact " 8 个案例已经整理出来！" compact --force
expect compact-kept "5	张三     2010-05-06 开业
8	张三     2010-05-06 开业" find --name 张 --class 开业 --class-exact --sex 男 --comment 输入自己
[[ -e "$dir/prog/dat/Orlune_back.db" ]] && { echo "FAIL compaction file left behind"; failures=$((failures + 1)); }

cp "$dir/text.db" "$dir/corrupt.db"
refused corrupt "file is not a database" --db "$dir/corrupt.db" list
cmp -s "$dir/text.db" "$dir/corrupt.db" || { echo "FAIL corrupt file was changed"; failures=$((failures + 1)); }

if [[ $failures -ne 0 ]]; then
  echo "$failures cases checks failed"
  exit 1
fi
echo "all cases checks passed"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a fixed set of a few hundred quorin-cli invocations (calendar, charts with pictures and date
# sheets, searches, the case library) with two builds of the tool and compares every output byte for
# byte: what a change must leave as it was. The inputs are drawn from a seeded generator, so every run
# asks the same questions.
#
#   tools/compare_cli_outputs.sh OLD_QUORIN_CLI NEW_QUORIN_CLI
#
# Prints "identical: N invocations" and exits 0, or lists the invocations whose outputs differ and
# exits 1. Each binary runs in a copy of its own program folder (dat/ beside it), in a private
# temporary data folder, so the user's data is never touched.
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: $0 OLD_QUORIN_CLI NEW_QUORIN_CLI" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${KEEP:-}" ] && trap - EXIT && echo "work folder: $work" >&2

mountains=(壬 子 癸 丑 艮 寅 甲 卯 乙 辰 巽 巳 丙 午 丁 未 坤 申 庚 酉 辛 戌 乾 亥)

# The invocations, one per line, the arguments separated by tabs. CASE lines run in the case
# library of the run, in order; the others are independent.
invocations() {
  RANDOM=20261210
  local i y m d h mi
  for i in $(seq 45); do
    y=$((RANDOM % 6000 - 3000)); [ "$y" -eq 0 ] && y=1
    m=$((RANDOM % 12 + 1)); d=$((RANDOM % 28 + 1))
    printf 'lunar\t%d-%02d-%02d\n' "$y" "$m" "$d"
  done
  printf 'lunar\t1582-10-04\nlunar\t1582-10-15\nlunar\t-1-12-31\nlunar\t1-01-01\nlunar\t2023-03-22\n'
  for i in $(seq 20); do
    printf 'solar\t%d\t%d\t%d\t%d\n' $((RANDOM % 4000 - 1000)) $((RANDOM % 12 + 1)) $((RANDOM % 30 + 1)) $((RANDOM % 2))
  done
  for y in -4000 -104 -1 1 1582 1900 1984 2023 2100; do printf 'lunar-year\t%d\n' "$y"; done
  for y in -500 1 1582 2024 2100 9999; do printf 'terms\t%d\n' "$y"; done
  for y in -841 -104 220 618 1368 1644 1912 2024 1000 1 -1; do printf 'era\t%d\n' "$y"; done
  for i in $(seq 60); do
    y=$((RANDOM % 4100 - 2000)); [ "$y" -eq 0 ] && y=1
    printf 'pillars\t%d-%02d-%02d %02d:%02d\t--mode\t%d\t--lon\t%d\n' "$y" $((RANDOM % 12 + 1)) $((RANDOM % 28 + 1)) \
      $((RANDOM % 24)) $((RANDOM % 60)) $((i % 3)) $((RANDOM % 360 - 180))
  done
  for i in $(seq 10); do
    printf 'pillars\t%d-%02d-%02d 12:00\t--lunar\n' $((RANDOM % 400 + 1800)) $((RANDOM % 12 + 1)) $((RANDOM % 29 + 1))
  done
  for i in $(seq 120); do
    y=$((RANDOM % 6100 - 4000)); [ "$y" -eq 0 ] && y=1
    h=$((RANDOM % 24)); mi=$((RANDOM % 60))
    local line extra
    printf -v line 'chart\t%d-%02d-%02d %02d:%02d\t--mountain\t%s\t--gua\t%d\t--birth\t%d' "$y" $((RANDOM % 12 + 1)) \
      $((RANDOM % 28 + 1)) "$h" "$mi" "${mountains[RANDOM % 24]}" $((RANDOM % 4)) $((RANDOM % 200 + 1900))
    [ $((RANDOM % 2)) -eq 0 ] && line+=$'\t--female'
    [ $((RANDOM % 3)) -eq 0 ] && { printf -v extra '\t--dragon\t%s:%d' "${mountains[RANDOM % 24]}" $((RANDOM % 4)); line+=$extra; }
    [ $((RANDOM % 3)) -eq 0 ] && { printf -v extra '\t--water\t%s:%d' "${mountains[RANDOM % 24]}" $((RANDOM % 4)); line+=$extra; }
    [ $((RANDOM % 3)) -eq 0 ] && line+=$'\t--facing'
    [ $((RANDOM % 4)) -eq 0 ] && { printf -v extra '\t--flip\t%d' $((RANDOM % 6 + 1)); line+=$extra; }
    [ $((RANDOM % 4)) -eq 0 ] && line+=$'\t--spans'
    [ $((RANDOM % 5)) -eq 0 ] && line+=$'\t--lunar'
    printf '%s\n' "$line"
  done
  for i in $(seq 8); do
    printf 'chart\t2024-%02d-%02d 10:30\t--mountain\t%s\t--png\t@OUT@.png\t--areas\t--click\t%d,%d\n' \
      $((RANDOM % 12 + 1)) $((RANDOM % 28 + 1)) "${mountains[RANDOM % 24]}" $((RANDOM % 600)) $((RANDOM % 400))
  done
  for i in $(seq 4); do
    printf 'chart\t1995-%02d-%02d 08:00\t--mountain\t%s\t--name\t张三\t--pdf\t@OUT@.pdf\n' \
      $((RANDOM % 12 + 1)) $((RANDOM % 28 + 1)) "${mountains[RANDOM % 24]}"
  done
  for y in -500 -1 1 1582 1949 2024 2100 3000; do
    printf 'search\t--year\t%d\t--mountain\t%s\t--qi\t同数,合十\t--avoid\t冲山,冲主命\n' "$y" "${mountains[RANDOM % 24]}"
  done
  printf 'search\t--year\t2025\t--pattern\t一卦纯清\n'
  printf 'search\t--year\t2026\t--pattern\t四大格局\t--include\t主命,坐山\n'
  printf 'search\t--from\t2024-12-20\t--to\t2025-01-10\t--yun\t合十\t--csv\t@OUT@.csv\n'
  # The case library: the same operations in the same order give the same files.
  printf 'CASE\tadd\t--name\t张三\t--date\t2024-03-05 08:07\t--class\t开业\t--text\t第一条\n'
  printf 'CASE\tadd\t--name\t李四\t--date\t2023-02-01 12:00\t--lunar\t--leap\t--female\t--master-year\t1980\n'
  printf 'CASE\tadd\t--name\t张三\t--date\t2024-03-05 08:07\t--mountain\t5\t--gua\t2\n'
  printf 'CASE\tadd\t--name\t王五\t--date\t-120-06-01 23:59\t--class\t阴宅\n'
  for i in $(seq 20); do
    printf 'CASE\tadd\t--name\t客%d\t--date\t%d-%02d-%02d %02d:%02d\t--class\t求财\n' "$i" $((RANDOM % 300 + 1800)) \
      $((RANDOM % 12 + 1)) $((RANDOM % 28 + 1)) $((RANDOM % 24)) $((RANDOM % 60))
  done
  printf 'CASE\tlist\nCASE\tlist\t--style\t0\t--order\t3\nCASE\tlist\t--order\t1\n'
  printf 'CASE\tshow\t1\t--remark\nCASE\tshow\t2\nCASE\tshow\t3\nCASE\tshow\t99\n'
  printf 'CASE\tsearch\t张三\nCASE\tfind\t--class\t求财\t--from\t1800\t--to\t1950\n'
  printf 'CASE\texport\t@DIR@/export.db\t--class\t求财\n'
  printf 'CASE\timport\t@DIR@/export.db\n'
  printf 'CASE\tcompact\nCASE\tcompact\t--force\nCASE\tlist\n'
  printf 'CASE\tversion-files\n'
}

# Runs every invocation with one binary; outputs go to $2/NNN.{out,err,rc} and extra files.
run_all() {
  local cli=$1 out=$2 n=0 line
  local folder="$out.program"
  mkdir -p "$out" "$folder"
  cp "$cli" "$folder/quorin-cli"
  cp -r "$(dirname "$cli")/dat" "$folder/dat"
  rm -f "$folder/dat/Orlune.db"
  rm -rf "$folder/Orlune_f"
  while IFS= read -r line; do
    n=$((n + 1))
    local id
    id=$(printf '%03d' "$n")
    local -a args
    line=${line//@OUT@/$out/$id}
    IFS=$'\t' read -r -a args <<<"${line//@DIR@/$out}"
    if [ "${args[0]}" = CASE ]; then
      if [ "${args[1]}" = version-files ]; then
        # The stored files themselves: the database and every remark file.
        (cd "$folder" && md5sum dat/Orlune.db Orlune_f/*.rtf) >"$out/$id.out"
        continue
      fi
      args=(cases "${args[@]:1}")
    fi
    set +e
    (cd "$folder" && HOME="$folder" XDG_DATA_HOME="$folder/xdg" LC_ALL=C.UTF-8 TZ=Asia/Shanghai \
      ./quorin-cli "${args[@]}" >"$out/$id.out" 2>"$out/$id.err")
    echo $? >"$out/$id.rc"
    set -e
    # Pictures by content; a PDF by its text and page count (its metadata holds the time of writing).
    if [ -f "$out/$id.pdf" ]; then
      pdftotext -layout "$out/$id.pdf" "$out/$id.pdf.txt"
      pdfinfo "$out/$id.pdf" | grep -E '^Pages:' >>"$out/$id.pdf.txt"
      rm "$out/$id.pdf"
    fi
    # Paths name the run's own folders.
    sed -i -e "s|$folder|PROGRAM|g" -e "s|$out|OUT|g" "$out/$id.out" "$out/$id.err"
    printf '%s\n' "${line//$out/OUT}" >"$out/$id.cmd"
  done < <(invocations)
  echo "$n"
}

count=$(run_all "$1" "$work/old")
run_all "$2" "$work/new" >/dev/null
if diff -r "$work/old" "$work/new" >"$work/diff" 2>&1; then
  echo "identical: $count invocations"
  exit 0
fi
echo "outputs differ:"
head -n 60 "$work/diff"
exit 1

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# --zone and --fold: clock times of other zones read with the time zone database, against
# published clock changes and Beijing times worked out by hand (Beijing = clock − offset + 8 h).
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

# New York, 2024-03-10: 02:00 EST became 03:00 EDT, so 02:30 never existed.
refused ny-skipped "纽约当地没有2024年3月10日2时30分这个钟点：时钟在这时从UTC-5拨到UTC-4，拨快了，这段时间被跳过。" \
  chart "2024-03-10 02:30" --zone America/New_York
# 2024-11-03: 02:00 EDT became 01:00 EST, so 01:30 came twice; which one must be said.
refused_with ny-repeated 1 "请用 --fold 1 指第一次（UTC-4），--fold 2 指第二次（UTC-5）" \
  chart "2024-11-03 01:30" --zone America/New_York
"$cli" chart "2024-11-03 01:30" --zone America/New_York --fold 1 >"$work/first"
"$cli" chart "2024-11-03 01:30" --zone America/New_York --fold 2 >"$work/second"
grep -qxF '当地时间：2024年11月3日1时30分(纽约时间，UTC-4，夏令时)' "$work/first" || fail "first 01:30 (EDT)"
grep -qF "公历：2024年11月3日13时30分(北京时间)" "$work/first" || fail "first 01:30 is 13:30 in Beijing"
grep -qF "公历：2024年11月3日14时30分(北京时间)" "$work/second" || fail "second 01:30 is 14:30 in Beijing"

# Sydney's southern summer: 12:00 AEDT (UTC+11) on 15 January is 09:00 in Beijing.
"$cli" chart "2024-01-15 12:00" --zone Australia/Sydney >"$work/sydney"
grep -qF "当地时间：2024年1月15日12时0分(悉尼时间，UTC+11，夏令时)" "$work/sydney" || fail "Sydney's clock line"
grep -qF "公历：2024年1月15日9时0分(北京时间)" "$work/sydney" || fail "Sydney in Beijing time"

# Kuala Lumpur keeps Beijing's offset: its chart is the Beijing chart of the same clock time, with
# the clock line added.
"$cli" chart "2024-06-01 09:15" --zone Asia/Kuala_Lumpur --mountain 子 >"$work/kl"
"$cli" chart "2024-06-01 09:15" --mountain 子 >"$work/beijing"
diff <(grep -v '^当地时间：' "$work/kl") "$work/beijing" >/dev/null || fail "Kuala Lumpur's chart is not Beijing's"
grep -qF "当地时间：2024年6月1日9时15分(吉隆坡时间，UTC+8)" "$work/kl" || fail "Kuala Lumpur's clock line"
# A mainland clock in the summer of 1988 ran an hour ahead: 12:00 then is 11:00 Beijing time.
[ "$("$cli" pillars "1988-07-01 12:00" --zone Asia/Shanghai)" = "$("$cli" pillars "1988-07-01 11:00")" ] ||
  fail "the 1988 summer clock"
# London's 01:30 on 2024-03-31 was skipped.
refused_with london-skipped 1 "伦敦当地没有2024年3月31日1时30分这个钟点" pillars "2024-03-31 01:30" --zone Europe/London

# A Beijing time in a mainland summer gains one line; the hour before the clocks moved does not.
note="注意：1988年4月17日至9月11日中国实行夏令时，当时的钟表时间比北京时间快一小时。这里的时间是北京时间；输入的若是当时钟表上的时间，请在时区中选“中国（按当时钟表时间，含1986–1991年夏令时）”（命令行用 --zone Asia/Shanghai），或减去一小时再排盘。"
"$cli" chart "1988-07-01 12:00" >"$work/summer"
[ "$(sed -n 4p "$work/summer")" = "$note" ] || fail "the 1988 summer note: $(sed -n 4p "$work/summer")"
"$cli" chart "1988-04-17 01:30" | grep -q "^注意：" && fail "a note before the clocks moved"
"$cli" chart "1990-08-01 12:00" | grep -qF "注意：1990年4月15日至9月16日中国实行夏令时" || fail "the 1990 summer note"
"$cli" chart "1988-07-01 12:00" --zone Asia/Shanghai | grep -q "^注意：" && fail "a note for a clock time read in the zone"

# A search in New York across the March change: 02:05 of 10 March is not tested (35 of 36
# moments), and the CSV gives each row's Beijing time (EST +13 h before, EDT +12 h after).
"$cli" search --from 2024-03-09 --to 2024-03-11 --zone America/New_York --csv "$work/ny.csv" >"$work/ny" ||
  fail "zoned search: exit $?"
[ "$(tail -n 1 "$work/ny")" = "共找到35条日课" ] || fail "zoned search count: $(tail -n 1 "$work/ny")"
grep -q "^[0-9]*,2024-03-10,02:05," "$work/ny.csv" && fail "the skipped 02:05 was tested"
grep -q "^[0-9]*,2024-03-10,00:05,.*,America/New_York,2024-03-10 13:05"$'\r$' "$work/ny.csv" || fail "00:05 EST in Beijing time"
grep -q "^[0-9]*,2024-03-10,04:05,.*,America/New_York,2024-03-10 16:05"$'\r$' "$work/ny.csv" || fail "04:05 EDT in Beijing time"
# Sydney's 02:05 of 7 April came twice; it is tested once, at the first (AEDT, +11).
"$cli" search --from 2024-04-07 --to 2024-04-07 --zone Australia/Sydney --csv "$work/sydney.csv" >/dev/null
[ "$(grep -c ",2024-04-07,02:05," "$work/sydney.csv")" -eq 1 ] || fail "the repeated 02:05 is not tested once"
grep -q ",2024-04-07,02:05,.*,2024-04-06 23:05"$'\r$' "$work/sydney.csv" || fail "the first 02:05 in Beijing time"

refused_with unknown-zone 2 "没有这个时区：Mars/Base" chart "2024-01-01 00:00" --zone Mars/Base
refused_with fold-alone 2 "--fold 需要和 --zone 一起使用" chart "2024-01-01 00:00" --fold 1
refused_with fold-needless 2 "不需要 --fold" pillars "2024-06-01 09:00" --zone Asia/Tokyo --fold 2
refused_with zone-lunar 2 "请用公历日期" chart "2024-01-01 00:00" --zone Asia/Tokyo --lunar

# --place names a world place: its coordinates, its name and its zone. Kuala Lumpur's clocks ran at
# UTC+7:30 until the end of 1981: its 23:00 of 31 December 1981 was 23:30 in Beijing.
[ "$("$cli" pillars "1981-12-31 23:00" --place 吉隆坡)" = "$("$cli" pillars "1981-12-31 23:30")" ] ||
  fail "Kuala Lumpur before 1982"
"$cli" chart "2024-06-01 09:15" --place "Kuala Lumpur" >"$work/kl-place"
grep -qxF "地点：马来西亚吉隆坡" "$work/kl-place" || fail "the place's name: $(sed -n 2p "$work/kl-place")"
"$cli" chart "2024-06-01 09:15" --place 吉隆坡 --lon 120 | grep -q "^当地时间" && fail "--lon keeps --place a name"
# Past the years the zone files record, and before a zone's history, the chart says so.
"$cli" chart "2050-07-01 12:00" --place 纽约 | grep -qF "(纽约时间，UTC-5，时区数据只记到2037年，按其最后的时差)" ||
  fail "New York past 2037"
"$cli" chart "1800-07-01 12:00" --zone America/New_York | grep -qF "(纽约时间，UTC-4:56:02，当地平时)" ||
  fail "New York's local mean time"
# A case saved in Sydney keeps its zone and the clock time as entered.
"$cli" cases --program-dir "$work/lib" add --name 悉尼 --date "2024-01-15 12:00" --place 悉尼 >/dev/null ||
  fail "cases add --place"
"$cli" cases --program-dir "$work/lib" show 1 >"$work/case"
grep -qxF "zone: Australia/Sydney" "$work/case" && grep -qxF "hour: 12" "$work/case" || fail "the case's zone"
refused_with case-repeated 1 "请用 --fold 1" cases --program-dir "$work/lib" add --name x --date "2024-11-03 01:30" \
  --zone America/New_York

finish "zoned moments CLI"

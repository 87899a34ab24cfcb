#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorin-cli zones: the zones of the system's table with ICU's Chinese names in the chosen script
# and the principal city's coordinates (London: 51°30′30″N 0°07′31″W).
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

tab=$'\t'
expect london "GB${tab}英国${tab}Europe/London${tab}伦敦${tab}-0.1253${tab}51.5083" zones GB
expect london-hk "GB${tab}英國${tab}Europe/London${tab}倫敦${tab}-0.1253${tab}51.5083" zones GB --script zh-Hant-HK
"$cli" zones >"$work/all" || fail "zones: exit $?"
# Every zone of the table stands under each of its countries, each line with six fields.
rows=$(grep -v '^#' /usr/share/zoneinfo/zone1970.tab | awk -F'\t' '{n += split($1, c, ",")} END {print n}')
[ "$(wc -l <"$work/all")" -eq "$rows" ] || fail "$(wc -l <"$work/all") lines for $rows country-zone pairs"
awk -F'\t' 'NF != 6 {bad = 1} END {exit bad}' "$work/all" || fail "a line without six fields"
grep -qP "^US\t美国\tAmerica/New_York\t纽约\t" "$work/all" || fail "New York is not listed"
refused unknown-country "时区表里没有这个国家或地区代码：XX" zones XX
refused_with two-countries 2 "多余的参数：GB" zones US GB

finish "zones CLI"

// SPDX-License-Identifier: GPL-3.0-or-later
// The results of a search as a CSV file for spreadsheet programs: UTF-8 with a
// byte-order mark (so that programs set up for Chinese read it as UTF-8), one row per
// result, fields quoted where they must be.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/search_request.h"
#include "chart/search_sink.h"

namespace quorin::chart {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One field: quoted, with quotes doubled, when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// The whole file: the header row (序号, 公历日期, 时间, 农历, 年柱 … 时柱, then 卦气 and
// 卦运 of each examined position, named as 龙卦气 龙卦运 …; a zoned search's 时区 and 北京时间; with
// near misses 差, the condition a row misses) and one row per result.
// Years as users write them (1 BC is -1); rows end with CR LF.
std::string SearchResultsCsv(const SearchRequest& request, const std::vector<SearchResult>& results);

// Writes the file; false with the message to show, which names the file.
bool WriteSearchResultsCsv(const std::string& path, const SearchRequest& request,
                           const std::vector<SearchResult>& results, std::string& message);

}  // namespace quorin::chart

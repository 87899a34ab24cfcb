// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search_csv.h"

#include <cstdio>

#include "base/files.h"
#include "base/script_text.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/search_match.h"

namespace quorin::chart {
namespace {

// The examined positions of a request, in the order of the search's list.
ExaminedList ExaminedPositions(const SearchRequest& request) {
  std::array<ChartSlot, kSlotCount> slots{};
  const std::array<std::uint8_t, kSlotCount> kinds{kKindYear,   kKindMonth,  kKindDay,    kKindHour,   kKindMountain,
                                                   kKindMaster, kKindDragon, kKindWater,  kKindFacing, kKindYuanChen};
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i].kind = kinds[i];
  return BuildExaminedList(request, slots);
}

void AppendRow(std::string& out, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += CsvField(fields[i]);
  }
  out += "\r\n";
}

std::string DateText(const calendar::CivilDateTime& moment) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d", calendar::HistoricalYear(moment.year), moment.month,
                moment.day);
  return buffer;
}

std::string TimeText(const calendar::CivilDateTime& moment) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", moment.hour, moment.minute);
  return buffer;
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string SearchResultsCsv(const SearchRequest& request, const std::vector<SearchResult>& results) {
  std::string out(kUtf8ByteOrderMark);
  std::vector<std::string> header{"序号", "公历日期", "时间", "农历", "年柱", "月柱", "日柱", "时柱"};
  const ExaminedList positions = ExaminedPositions(request);
  for (int i = 0; i < positions.count; ++i) {
    const std::string name(PositionName(positions.slots[static_cast<std::size_t>(i)].kind));
    header.push_back(name + "卦气");
    header.push_back(name + "卦运");
  }
  // A zoned search's rows are the zone's clock times; the zone and the Beijing time follow.
  const bool zoned = !request.zone.empty();
  if (zoned) header.insert(header.end(), {"时区", "北京时间"});
  // With near misses, the condition each misses (empty for a full match).
  if (request.nearMisses) header.emplace_back("差");
  AppendRow(out, header);
  for (const SearchResult& r : results) {
    std::vector<std::string> row{std::to_string(r.number), DateText(r.moment), TimeText(r.moment),
                                 LunarDateTimeText(r.lunar, r.leapMonth),
                                 calendar::PillarName(r.pillars.year), calendar::PillarName(r.pillars.month),
                                 calendar::PillarName(r.pillars.day), calendar::PillarName(r.pillars.hour)};
    for (int i = 0; i < r.positionCount; ++i) {
      const ChartSlot& slot = r.positions[static_cast<std::size_t>(i)];
      row.push_back(std::to_string(slot.guaQi));
      row.push_back(std::to_string(slot.guaYun));
    }
    if (zoned) row.insert(row.end(), {request.zone, DateText(r.beijing) + " " + TimeText(r.beijing)});
    if (request.nearMisses) row.push_back(r.missed);
    AppendRow(out, row);
  }
  return out;
}

bool WriteSearchResultsCsv(const std::string& path, const SearchRequest& request,
                           const std::vector<SearchResult>& results, std::string& message) {
  // The file is written in the shown script, like every text the user reads.
  if (base::AtomicWriteFile(path, base::ShownText(SearchResultsCsv(request, results)))) return true;
  message = "无法写入文件：" + path;
  return false;
}

}  // namespace quorin::chart

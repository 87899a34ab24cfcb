// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli search: the search for auspicious moments (查找吉课) over a year or a range of days.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>

#include "base/script_text.h"
#include "calendar/calendar_types.h"
#include "calendar/zone_time.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/search_conditions.h"
#include "chart/search_csv.h"
#include "chart_options.h"
#include "condition_options.h"
#include "command.h"

namespace quorin::cli {
namespace {

// "M:COL" of --dragon and --water; the column must hold a hexagram.
void CheckColumn(int mountain, int column, const std::string& option, const std::string& text) {
  if (chart::GuaForMountain(mountain, column) < 0) throw UsageError(option + " 该山没有这一列的卦：" + text);
}

// The options: those of the request and the days, and the lists and flags of the conditions table.
OptionSpec SearchOptions() {
  OptionSpec spec{
      .values = {"year", "from", "to", "mountain", "gua", "birth", "dragon", "water", "settings", "lon", "csv", "zone",
                 "place", "person"},
      .flags = {"facing", "near"},
      .repeatable = {"person"},
  };
  AddConditionOptions(spec);
  return spec;
}

// The days of --year or of --from and --to, or the program's refusal of them.
struct DaysOrRefusal {
  chart::SearchDays days;
  std::string refusal;
};
DaysOrRefusal ReadDays(const Arguments& a) {
  const bool range = a.Has("from") || a.Has("to");
  if (range && a.Has("year")) throw UsageError("--year 不能和 --from、--to 一起使用");
  if (range && !(a.Has("from") && a.Has("to"))) throw UsageError("--from 和 --to 需要一起使用");
  if (!range && !a.Has("year")) throw UsageError("需要 --year 查找年份，或 --from 和 --to 查找日期范围");
  DaysOrRefusal out;
  if (!range) {
    const auto year = AstronomicalYear(ParseInteger(*a.Value("year"), "--year"));
    if (!year) return {{}, YearRangeMessage("查找")};
    out.days = chart::WholeYear(*year);
    return out;
  }
  // Both days are read before either year is looked at, as a usage error goes first.
  const calendar::TypedMoment from = DateArgument(*a.Value("from"), "--from ");
  const calendar::TypedMoment to = DateArgument(*a.Value("to"), "--to ");
  const auto first = calendar::AstronomicalMoment(from);
  const auto last = calendar::AstronomicalMoment(to);
  if (!first || !last) return {{}, YearRangeMessage("查找")};
  out.days = {*first, *last};
  out.refusal = chart::SearchDaysProblem(out.days);
  return out;
}

// The person and the positions of the chart request, each of which must hold a hexagram.
void TakePositions(const Arguments& a, const TRecordData& r, chart::SearchRequest& q) {
  q.masterYear = r.masterYear;
  q.otherPersons = r.otherPersons;
  q.mountain = r.mountain;
  q.mountainGua = r.mountainGua;
  CheckColumn(r.mountain, r.mountainGua, "--gua", std::to_string(r.mountainGua));
  if (a.Has("dragon")) {
    CheckColumn(r.dragonMountain, r.dragonGua, "--dragon", *a.Value("dragon"));
    q.dragonMountain = r.dragonMountain;
    q.dragonGua = r.dragonGua;
  }
  if (a.Has("water")) {
    CheckColumn(r.waterMountain, r.waterGua, "--water", *a.Value("water"));
    q.waterMountain = r.waterMountain;
    q.waterGua = r.waterGua;
  }
  q.showFacing = r.showFacing;
}

// --zone: the days and the hours tested are that zone's clock times.
void ReadZone(const Arguments& a, chart::SearchRequest& q) {
  q.zone = ZoneOption(a);
  if (q.zone.empty()) return;
  if (!calendar::IsKnownZone(q.zone)) throw UsageError("没有这个时区：" + q.zone + "（时区名见 quorin-cli zones）");
}

// Prints the result lines and the count, and writes the CSV file of --csv.
[[nodiscard]] int Report(const Arguments& a, const chart::SearchRequest& q, const chart::RecordingSearchSink& sink,
                         int found) {
  for (const std::string& line : sink.Lines()) std::cout << line << "\n";
  const auto nearMisses = std::count_if(sink.Results().begin(), sink.Results().end(),
                                        [](const chart::SearchResult& r) { return !r.missed.empty(); });
  std::cout << chart::SearchSummary(found, static_cast<int>(nearMisses), q.nearMisses) << "\n";
  std::string message;
  if (a.Has("csv") && !chart::WriteSearchResultsCsv(*a.Value("csv"), q, sink.Results(), message)) {
    return Refuse(message);
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  const Arguments a(args, SearchOptions());
  if (!a.Positionals().empty()) throw UsageError("多余的参数：" + a.Positionals().front());
  const DaysOrRefusal read = ReadDays(a);
  if (!read.refusal.empty()) return Refuse(read.refusal);
  const chart::SearchDays& days = read.days;
  const int year = days.first.year;
  chart::SearchRequest q = chart::ClearedSearchRequest(year);
  // The page starts with a person kDefaultMasterAge years older than the first year searched.
  const int defaultBirth = std::max(q.masterYear, calendar::kFirstCalendarYear);
  const RequestOrRefusal request = ChartRequestFromOptions(a, days.first, {.defaultBirthYear = defaultBirth});
  if (!request.refusal.empty()) return Refuse(request.refusal);
  TakePositions(a, request.request, q);
  ReadConditions(a, q);
  q.nearMisses = a.Has("near");
  ReadZone(a, q);

  chart::MQuorinDay engine;
  UseSettingsOption(a, engine);
  // The search keeps the place of the last chart: chart the first day there.
  // A zoned search reads its own clock times: the first day's chart is only for the place.
  TRecordData place = request.request;
  place.zone.clear();
  if ((a.Has("lon") || NamedPlace(a)) && !engine.Compute(place)) return Refuse(engine.ErrorText());
  chart::RecordingSearchSink sink;
  const int found = engine.SearchRange(q, days, sink);
  return Report(a, q, sink, found);
}

std::string SearchUsage() {
  return "Usage: quorin-cli search --year YEAR [options]\n"
         "       quorin-cli search --from YYYY-MM-DD --to YYYY-MM-DD [options]\n"
         "  Tests 00:05, 02:05 … 22:05 of every day of the year or of the days FROM to TO (both\n"
         "  included, at most 100 years; Beijing time) and prints each moment that meets every\n"
         "  condition as the result list shows it, then the count.\n"
         "  Years as users write them (1 BC is -1); the lines hold astronomical years (1 BC is 0).\n"
         "  --year YEAR            the year to search\n"
         "  --from DAY, --to DAY   the first and last day to search instead of a year\n"
         "  --birth YEAR           person's birth year (default 29 years before the first year searched)\n"
         "  --mountain M           mountain (坐山): a name such as 子 or 子山, or 0..23 from 壬 (default 壬)\n"
         "  --gua COL              column of the mountain's hexagram, 0..3 (default 0)\n"
         "  --dragon M:COL         dragon (龙) mountain and column, e.g. 子:1\n"
         "  --water M:COL          water (水) mountain and column\n"
         "  --facing               the chart has the facing (向)\n" +
         ConditionOptionsUsage() +
         "  --settings FILE        read the chart settings (set.ini keys idate, ijiazi, bRiGua) from FILE\n"
         "  --lon DEG              longitude for true solar or local time (default 120)\n"
         "  --person NAME,男|女,YEAR  another person the moment concerns (配偶,女,1982), repeatable, up to 7:\n"
         "                         主命纳入 and 冲主命 must hold for each as for 主命\n"
         "  --near                 after the full matches, the moments that miss exactly one ticked condition\n"
         "                         (each 卦气/卦运 item, each digit group, 生入克入, 亲缘交通 and each avoidance\n"
         "                         count as one), in date order, each line ending in 差：<the condition>; the\n"
         "                         CSV gains a column 差\n"
         "  --csv FILE             also write the results with pillars, 卦气 and 卦运 as CSV (UTF-8)\n"
         "  --zone ZONE            the days and hours tested are the clock times of this zone (an IANA name,\n"
         "                         see quorin-cli zones), summer time included: a skipped hour is not tested,\n"
         "                         a repeated one once, at its first occurrence; the CSV adds the zone and the\n"
         "                         Beijing time of each row\n"
         "  --place NAME           a world or own place: its longitude and its zone, as for chart\n";
}

const RegisterCommand kSearch{{
    "search",
    "search a year or a range of days for auspicious moments (查找吉课)",
    SearchUsage(),
    Run,
}};

}  // namespace
}  // namespace quorin::cli

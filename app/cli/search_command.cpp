// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli search: the search for auspicious moments (查找吉课) over a year or a range of days.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>

#include "calendar/calendar_types.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/search_conditions.h"
#include "chart/search_csv.h"
#include "chart_options.h"
#include "command.h"

namespace quorin::cli {
namespace {

// A year option as users write it, astronomical; nullopt outside -4713..9999 and for 0.
std::optional<int> YearOption(const Arguments& a, const std::string& option) {
  return AstronomicalYear(ParseInteger(*a.Value(option), "--" + option));
}

// "M:COL" of --dragon and --water; the column must hold a hexagram.
std::pair<std::int16_t, std::int16_t> MountainColumn(const std::string& text, const std::string& option) {
  const auto [mountain, column] = MountainAndColumn(text, option);
  if (chart::GuaForMountain(mountain, column) < 0) {
    throw UsageError(option + " 该山没有这一列的卦：" + text);
  }
  return {static_cast<std::int16_t>(mountain), static_cast<std::int16_t>(column)};
}

// Ticks the conditions of a group named in a comma-separated list; each name may be written
// as its check box reads (卦气同数, 主命纳入).
void TickListed(const chart::SearchConditionGroup& group, const std::string& list, chart::SearchRequest& q) {
  std::stringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    if (!group.prefix.empty() && item.starts_with(group.prefix)) item.erase(0, group.prefix.size());
    if (!group.suffix.empty() && item.ends_with(group.suffix)) item.resize(item.size() - group.suffix.size());
    bool known = false;
    for (const chart::SearchCondition& condition : chart::SearchConditions()) {
      if (condition.group == group.group && item == condition.name) {
        chart::Set(q, condition, true);
        known = true;
      }
    }
    if (!known) {
      throw UsageError("--" + std::string(group.listOption) + " 的条件应为 " + chart::ListedNames(group.group, "、") +
                       " 之一：" + item);
    }
  }
}

// "YYYY-MM-DD" of --from and --to, a leading '-' for a year BC; the year stays
// historical here so that a refused one gets the program's year message.
calendar::CivilDateTime DayOption(const Arguments& a, const std::string& option) {
  const std::string text = *a.Value(option);
  int year = 0, month = 0, day = 0, consumed = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%n", &year, &month, &day, &consumed) != 3 ||
      consumed != static_cast<int>(text.size()) || year < -99999 || year > 99999) {
    throw UsageError("--" + option + " 日期应为 YYYY-MM-DD：" + text);
  }
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day), 0, 0};
}

chart::DigitGroup Digits(const Arguments& a, const std::string& option, const std::string& adjacent) {
  if (!a.Has(option)) {
    if (a.Has(adjacent)) throw UsageError("--" + adjacent + " 需要和 --" + option + " 一起使用");
    return {};
  }
  const std::string text = *a.Value(option);
  const chart::DigitGroup group = chart::DigitGroupFromText(text, a.Has(adjacent));
  int typed = 0;
  for (const char c : text) typed += c >= '1' && c <= '9' ? 1 : 0;
  if (group.count == 0 || typed > chart::DigitGroup::kMaxDigits) {
    throw UsageError("--" + option + " 应为 1 到 6 个 1..9 的数字，例如 1,3：" + text);
  }
  return group;
}

int Run(const std::vector<std::string>& args) {
  std::set<std::string> valueOptions{"year",  "from",      "to",         "mountain", "gua",      "birth", "dragon",
                                     "water", "qi-digits", "yun-digits", "pattern",  "settings", "lon",   "csv"};
  std::set<std::string> flagOptions{"facing", "qi-adjacent", "yun-adjacent"};
  for (const chart::SearchConditionGroup& group : chart::SearchConditionGroups()) {
    if (!group.listOption.empty()) valueOptions.emplace(group.listOption);
  }
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty()) flagOptions.emplace(condition.flagOption);
  }
  const Arguments a(args, valueOptions, flagOptions);
  if (!a.Positionals().empty()) throw UsageError("多余的参数：" + a.Positionals().front());
  const bool range = a.Has("from") || a.Has("to");
  if (range && a.Has("year")) throw UsageError("--year 不能和 --from、--to 一起使用");
  if (range && !(a.Has("from") && a.Has("to"))) throw UsageError("--from 和 --to 需要一起使用");
  if (!range && !a.Has("year")) throw UsageError("需要 --year 查找年份，或 --from 和 --to 查找日期范围");
  chart::SearchDays days;
  if (range) {
    days.first = DayOption(a, "from");
    days.last = DayOption(a, "to");
    for (calendar::CivilDateTime* day : {&days.first, &days.last}) {
      const auto year = AstronomicalYear(day->year);
      if (!year) {
        std::cerr << YearRangeMessage("查找") << "\n";
        return kExitRefused;
      }
      day->year = static_cast<std::int16_t>(*year);
    }
    if (const std::string problem = chart::SearchDaysProblem(days); !problem.empty()) {
      std::cerr << problem << "\n";
      return kExitRefused;
    }
  } else {
    const auto year = YearOption(a, "year");
    if (!year) {
      std::cerr << YearRangeMessage("查找") << "\n";
      return kExitRefused;
    }
    days = chart::WholeYear(*year);
  }
  const int year = days.first.year;
  // The page starts with a person kDefaultMasterAge years older than the first year searched.
  const auto birth = a.Has("birth")
                         ? YearOption(a, "birth")
                         : std::optional<int>(std::max(year - chart::kDefaultMasterAge, calendar::kFirstCalendarYear));
  if (!birth || *birth < calendar::kFirstCalendarYear) {
    std::cerr << YearRangeMessage("主命") << "\n";
    return kExitRefused;
  }

  chart::SearchRequest q = chart::ClearedSearchRequest(year);
  q.masterYear = *birth;
  q.mountain = a.Has("mountain") ? MountainFromText(*a.Value("mountain"), "--mountain") : 0;
  q.mountainGua = a.Integer("gua").value_or(0);
  if (chart::GuaForMountain(q.mountain, q.mountainGua) < 0) {
    throw UsageError("--gua 该山没有这一列的卦：" + std::to_string(q.mountainGua));
  }
  if (a.Has("dragon")) std::tie(q.dragonMountain, q.dragonGua) = MountainColumn(*a.Value("dragon"), "--dragon");
  if (a.Has("water")) std::tie(q.waterMountain, q.waterGua) = MountainColumn(*a.Value("water"), "--water");
  q.showFacing = a.Has("facing");

  // A ready pattern replaces the conditions first; the options below add to it.
  if (a.Has("pattern")) {
    const int item = chart::ReadyPatternItem(*a.Value("pattern"));
    if (!chart::ApplyReadyPattern(q, item)) {
      throw UsageError("--pattern 应为 " + chart::ReadyPatternNames("、") + " 之一：" + *a.Value("pattern"));
    }
  }
  for (const chart::SearchConditionGroup& group : chart::SearchConditionGroups()) {
    if (!group.listOption.empty() && a.Has(std::string(group.listOption))) {
      TickListed(group, *a.Value(std::string(group.listOption)), q);
    }
  }
  q.qiDigits = Digits(a, "qi-digits", "qi-adjacent");
  q.yunDigits = Digits(a, "yun-digits", "yun-adjacent");
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty() && a.Has(std::string(condition.flagOption))) chart::Set(q, condition, true);
  }
  q.UpdateConditionCounts();

  chart::MQuorinDay engine;
  UseSettingsOption(a, engine);
  if (a.Has("lon")) {
    // The search keeps the place of the last chart: chart the first day there.
    TRecordData place;
    place.ResetRecord();
    place.year = days.first.year;
    place.month = days.first.month;
    place.day = days.first.day;
    place.longitude = static_cast<float>(*a.Number("lon"));
    place.latitude = 30;
    place.addrName = "未知地";
    place.dragonMountain = place.waterMountain = -1;
    if (!engine.Compute(place)) {
      std::cerr << engine.ErrorText() << "\n";
      return kExitRefused;
    }
  }
  chart::RecordingSearchSink sink;
  const int found = engine.SearchRange(q, days, sink);
  for (const std::string& line : sink.Lines()) std::cout << line << "\n";
  if (found > 0) {
    std::cout << "共找到" << found << "条日课\n";
  } else {
    std::cout << "没有找到符合条件的日课，请改变查找条件。\n";
  }
  if (a.Has("csv")) {
    std::string message;
    if (!chart::WriteSearchResultsCsv(*a.Value("csv"), q, sink.Results(), message)) {
      std::cerr << message << "\n";
      return kExitRefused;
    }
  }
  return 0;
}

// "  --qi LIST              卦气 conditions: …": the option in a column of its own.
std::string OptionLine(std::string option, std::string_view text) {
  constexpr std::size_t kOptionColumn = 23;
  option.resize(std::max(option.size() + 1, kOptionColumn), ' ');
  return "  " + option + std::string(text) + "\n";
}

// A list option with the names of its conditions, from the table the search page reads too.
std::string ConditionListLine(chart::ConditionGroup group, std::string_view what) {
  return OptionLine("--" + std::string(chart::GroupOf(group).listOption) + " LIST",
                    std::string(what) + ": " + chart::ListedNames(group, ","));
}

std::string SearchUsage() {
  using chart::ConditionGroup;
  std::string conditionFlags;
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty())
      conditionFlags += OptionLine("--" + std::string(condition.flagOption), condition.name);
  }
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
         ConditionListLine(ConditionGroup::kQi, "卦气 conditions") +
         ConditionListLine(ConditionGroup::kYun, "卦运 conditions") +
         "  --qi-digits DIGITS     卦气 digit group, up to six digits 1..9, e.g. 1,3\n"
         "  --qi-adjacent          the 卦气 digits must stand side by side (数字相连)\n"
         "  --yun-digits DIGITS, --yun-adjacent   the same for 卦运\n" +
         ConditionListLine(ConditionGroup::kInclude, "positions examined besides the pillars") +
         ConditionListLine(ConditionGroup::kAvoid, "avoid in the four pillars") + conditionFlags +
         OptionLine("--pattern NAME", "a ready pattern: " + chart::ReadyPatternNames(" ")) +
         "                         (replaces the conditions; the options above add to it)\n"
         "  --settings FILE        read the chart settings (set.ini keys idate, ijiazi, bRiGua) from FILE\n"
         "  --lon DEG              longitude for true solar or local time (default 120)\n"
         "  --csv FILE             also write the results with pillars, 卦气 and 卦运 as CSV (UTF-8)\n";
}

const RegisterCommand kSearch{{
    "search",
    "search a year or a range of days for auspicious moments (查找吉课)",
    SearchUsage(),
    Run,
}};

}  // namespace
}  // namespace quorin::cli

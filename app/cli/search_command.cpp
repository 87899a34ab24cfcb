// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli search: the search for auspicious moments (查找吉课) over a year or a range of days.
#include <cstdio>
#include <iostream>
#include <sstream>

#include "calendar/calendar_types.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
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

// Ticks the named items of a comma-separated list; each name may carry the list's
// prefix or suffix as the check list writes it (卦气同数, 主命纳入).
template <std::size_t N>
void Tick(const std::string& list, const std::array<const char*, N>& names, const std::string& prefix,
          const std::string& suffix, const std::array<bool*, N>& flags, const std::string& option) {
  std::stringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    if (!prefix.empty() && item.starts_with(prefix)) item.erase(0, prefix.size());
    if (!suffix.empty() && item.ends_with(suffix)) item.resize(item.size() - suffix.size());
    bool known = false;
    for (std::size_t i = 0; i < N; ++i) {
      if (item == names[i]) {
        *flags[i] = true;
        known = true;
      }
    }
    if (!known) {
      std::string all;
      for (const char* name : names) all += std::string(all.empty() ? "" : "、") + name;
      throw UsageError(option + " 的条件应为 " + all + " 之一：" + item);
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
  const Arguments a(args,
                    {"year", "from", "to", "mountain", "gua", "birth", "dragon", "water", "qi", "yun", "qi-digits",
                     "yun-digits", "include", "avoid", "pattern", "settings", "lon", "csv"},
                    {"facing", "qi-adjacent", "yun-adjacent", "shengru", "family"});
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
  // The page starts with a person 29 years older than the first year searched.
  const auto birth = a.Has("birth") ? YearOption(a, "birth") : std::optional<int>(std::max(year - 29, calendar::kFirstCalendarYear));
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
      throw UsageError("--pattern 应为 一卦纯清、四大格局、合生成格、卦不出位、挨星合十、一家骨肉 之一：" + *a.Value("pattern"));
    }
  }
  const std::array<const char*, 5> qiNames{"同数", "合五", "合十", "合十五", "合生成"};
  const std::array<const char*, 6> yunNames{"同数", "合五", "合十", "合十五", "合生成", "相通"};
  if (a.Has("qi")) Tick(*a.Value("qi"), qiNames, "卦气", "", {&q.qi[0], &q.qi[1], &q.qi[2], &q.qi[3], &q.qi[4]}, "--qi");
  if (a.Has("yun")) {
    Tick(*a.Value("yun"), yunNames, "卦运", "", {&q.yun[0], &q.yun[1], &q.yun[2], &q.yun[3], &q.yun[4], &q.yun[5]},
         "--yun");
  }
  if (a.Has("include")) {
    Tick(*a.Value("include"), std::array<const char*, 5>{"主命", "坐山", "龙", "水", "朝向"}, "", "纳入",
         {&q.includeMaster, &q.includeMountain, &q.includeDragon, &q.includeWater, &q.includeFacing}, "--include");
  }
  if (a.Has("avoid")) {
    Tick(*a.Value("avoid"), std::array<const char*, 5>{"冲山", "坐山三煞", "冲主命", "坐山伏吟", "坐山反吟"}, "", "",
         {&q.avoid[0], &q.avoid[1], &q.avoid[2], &q.avoid[3], &q.avoid[4]}, "--avoid");
  }
  q.qiDigits = Digits(a, "qi-digits", "qi-adjacent");
  q.yunDigits = Digits(a, "yun-digits", "yun-adjacent");
  q.shengRuKeRu = q.shengRuKeRu || a.Has("shengru");
  q.familyLink = q.familyLink || a.Has("family");
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

const RegisterCommand kSearch{{
    "search",
    "search a year or a range of days for auspicious moments (查找吉课)",
    "Usage: quorin-cli search --year YEAR [options]\n"
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
    "  --facing               the chart has the facing (向)\n"
    "  --qi LIST              卦气 conditions: 同数,合五,合十,合十五,合生成\n"
    "  --yun LIST             卦运 conditions: 同数,合五,合十,合十五,合生成,相通\n"
    "  --qi-digits DIGITS     卦气 digit group, up to six digits 1..9, e.g. 1,3\n"
    "  --qi-adjacent          the 卦气 digits must stand side by side (数字相连)\n"
    "  --yun-digits DIGITS, --yun-adjacent   the same for 卦运\n"
    "  --include LIST         positions examined besides the pillars: 主命,坐山,龙,水,朝向\n"
    "  --avoid LIST           avoid in the four pillars: 冲山,坐山三煞,冲主命,坐山伏吟,坐山反吟\n"
    "  --shengru              生入克入\n"
    "  --family               亲缘交通\n"
    "  --pattern NAME         a ready pattern: 一卦纯清 四大格局 合生成格 卦不出位 挨星合十 一家骨肉\n"
    "                         (replaces the conditions; the options above add to it)\n"
    "  --settings FILE        read the chart settings (set.ini keys idate, ijiazi, bRiGua) from FILE\n"
    "  --lon DEG              longitude for true solar or local time (default 120)\n"
    "  --csv FILE             also write the results with pillars, 卦气 and 卦运 as CSV (UTF-8)\n",
    Run,
}};

}  // namespace
}  // namespace quorin::cli

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

// "M:COL" of --dragon and --water; the column must hold a hexagram.
void CheckColumn(int mountain, int column, const std::string& option, const std::string& text) {
  if (chart::GuaForMountain(mountain, column) < 0) throw UsageError(option + " 该山没有这一列的卦：" + text);
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

const OptionSpec kSearchOptions{
    .values = {"year", "from", "to", "mountain", "gua", "birth", "dragon", "water", "qi", "yun", "qi-digits",
               "yun-digits", "include", "avoid", "pattern", "settings", "lon", "csv"},
    .flags = {"facing", "qi-adjacent", "yun-adjacent", "shengru", "family"},
};

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

// The conditions ticked by the options, after a ready pattern that replaces those before it.
void ReadConditions(const Arguments& a, chart::SearchRequest& q) {
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
}

// The person and the positions of the chart request, each of which must hold a hexagram.
void TakePositions(const Arguments& a, const TRecordData& r, chart::SearchRequest& q) {
  q.masterYear = r.masterYear;
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

// Prints the result lines and the count, and writes the CSV file of --csv.
[[nodiscard]] int Report(const Arguments& a, const chart::SearchRequest& q, const chart::RecordingSearchSink& sink,
                         int found) {
  for (const std::string& line : sink.Lines()) std::cout << line << "\n";
  if (found > 0) {
    std::cout << "共找到" << found << "条日课\n";
  } else {
    std::cout << "没有找到符合条件的日课，请改变查找条件。\n";
  }
  std::string message;
  if (a.Has("csv") && !chart::WriteSearchResultsCsv(*a.Value("csv"), q, sink.Results(), message)) {
    return Refuse(message);
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  const Arguments a(args, kSearchOptions);
  if (!a.Positionals().empty()) throw UsageError("多余的参数：" + a.Positionals().front());
  const DaysOrRefusal read = ReadDays(a);
  if (!read.refusal.empty()) return Refuse(read.refusal);
  const chart::SearchDays& days = read.days;
  const int year = days.first.year;
  chart::SearchRequest q = chart::ClearedSearchRequest(year);
  // The page starts with a person 29 years older than the first year searched.
  const int defaultBirth = std::max(q.masterYear, calendar::kFirstCalendarYear);
  const RequestOrRefusal request = ChartRequestFromOptions(a, days.first, {.defaultBirthYear = defaultBirth});
  if (!request.refusal.empty()) return Refuse(request.refusal);
  TakePositions(a, request.request, q);
  ReadConditions(a, q);

  chart::MQuorinDay engine;
  UseSettingsOption(a, engine);
  // The search keeps the place of the last chart: chart the first day there.
  if (a.Has("lon") && !engine.Compute(request.request)) return Refuse(engine.ErrorText());
  chart::RecordingSearchSink sink;
  const int found = engine.SearchRange(q, days, sink);
  return Report(a, q, sink, found);
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

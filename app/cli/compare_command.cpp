// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli compare: two to four candidate moments of one chart request side by side (对比所选日课),
// and with --pdf the comparison on one page.
#include <algorithm>
#include <iostream>

#ifdef QUORIN_CLI_PNG
#include <QDate>

#include "sheet/comparison_sheet.h"
#endif

#include "base/utf8.h"
#include "calendar/zone_time.h"
#include "cases/case_text.h"
#include "chart/candidate_comparison.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart_options.h"
#include "command.h"
#include "condition_options.h"
#include "picture_application.h"

namespace quorin::cli {
namespace {

// The marks before a row: its values differ, or they are all the same.
constexpr const char* kDiffersMark = "≠ ";
constexpr const char* kSameMark = "  ";
constexpr const char* kColumnSeparator = " | ";

OptionSpec CompareOptions() {
  OptionSpec spec{
      .values = {"mountain", "gua", "name", "birth", "dragon", "water", "lon", "lat", "place", "settings", "zone",
                 "fold", "person", "pdf"},
      .flags = {"female", "facing"},
      .repeatable = {"person"},
  };
  AddConditionOptions(spec);
  return spec;
}

// The moments typed, in astronomical numbering; nullopt when a year is one the calendar lacks.
std::optional<std::vector<calendar::CivilDateTime>> ReadMoments(const Arguments& a) {
  const std::vector<std::string>& typed = a.Positionals();
  if (typed.size() < static_cast<std::size_t>(chart::kMinComparedCandidates) ||
      typed.size() > static_cast<std::size_t>(chart::kMaxComparedCandidates)) {
    throw UsageError("需要2到4个时间：\"YYYY-MM-DD HH:MM\" \"YYYY-MM-DD HH:MM\" …");
  }
  std::vector<calendar::TypedMoment> read;
  for (const std::string& text : typed) read.push_back(MomentArgument(text, ""));
  std::vector<calendar::CivilDateTime> moments;
  for (const calendar::TypedMoment& moment : read) {
    const auto astronomical = calendar::AstronomicalMoment(moment);
    if (!astronomical) return std::nullopt;
    moments.push_back(*astronomical);
  }
  return moments;
}

// --zone and --fold as the moments read them: every moment is a clock time of the zone.
void CheckZoneOptions(const Arguments& a) {
  const std::string zone = ZoneOption(a);
  if (zone.empty()) {
    if (a.Has("fold")) throw UsageError("--fold 需要和 --zone 一起使用");
    return;
  }
  if (!calendar::IsKnownZone(zone)) throw UsageError("没有这个时区：" + zone + "（时区名见 quorin-cli zones）");
  if (a.Has("fold")) {
    const int fold = ParseInteger(*a.Value("fold"), "--fold");
    if (fold != 1 && fold != 2) throw UsageError("--fold 应为 1（第一次）或 2（第二次）");
  }
}

// The terminal columns a text takes: two for a wide character (Chinese, full-width forms), one for
// any other, ○ of 二○二五 included.
int Columns(const std::string& text) {
  int columns = 0;
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = base::NextCodePoint(text, at);
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
    columns += wide ? 2 : 1;
  }
  return columns;
}

// `text` followed by blanks to `width` terminal columns.
std::string Padded(const std::string& text, int width) {
  return text + std::string(static_cast<std::size_t>(std::max(0, width - Columns(text))), ' ');
}

// One line per row: the mark, the label, then each candidate's value in a column of its own.
void PrintComparison(const chart::CandidateComparison& comparison) {
  std::vector<int> widths(comparison.captions.size() + 1, 0);
  const auto measure = [&](const std::string& label, const std::vector<std::string>& values) {
    widths[0] = std::max(widths[0], Columns(label));
    for (std::size_t c = 0; c < values.size(); ++c) widths[c + 1] = std::max(widths[c + 1], Columns(values[c]));
  };
  measure("", comparison.captions);
  for (const chart::ComparisonRow& row : comparison.rows) measure(row.label, row.values);
  const auto print = [&](const char* mark, const std::string& label, const std::vector<std::string>& values) {
    std::string line = mark + Padded(label, widths[0]);
    for (std::size_t c = 0; c < values.size(); ++c) {
      line += kColumnSeparator;
      line += c + 1 < values.size() ? Padded(values[c], widths[c + 1]) : values[c];
    }
    std::cout << line << "\n";
  };
  print(kSameMark, "", comparison.captions);
  for (const chart::ComparisonRow& row : comparison.rows) print(row.differs ? kDiffersMark : kSameMark, row.label, row.values);
}

// The page of --pdf; a file that cannot be written is refused.
[[nodiscard]] int WritePdf([[maybe_unused]] const Arguments& a,
                           [[maybe_unused]] const chart::CandidateComparison& comparison,
                           [[maybe_unused]] const TRecordData& request) {
  if (!a.Has("pdf")) return 0;
#ifdef QUORIN_CLI_PNG
  const auto app = MakePictureApplication();
  const std::string path = *a.Value("pdf");
  std::string error;
  if (!sheet::WriteComparisonPdf(path, comparison, request, QDate::currentDate(), &error)) {
    return Refuse("无法写入对比文件：" + path + "（" + error + "）");
  }
  return 0;
#else
  throw UsageError("此版本的 quorin-cli 编译时没有图片功能（需要 Qt 界面库），不能使用 --pdf");
#endif
}

int Run(const std::vector<std::string>& args) {
  const Arguments a(args, CompareOptions());
  const std::optional<std::vector<calendar::CivilDateTime>> moments = ReadMoments(a);
  chart::SearchRequest conditions = chart::ClearedSearchRequest(0);
  ReadConditions(a, conditions);
  CheckZoneOptions(a);
  if (!moments) return Refuse(YearRangeMessage(""));
  RequestOrRefusal read = ChartRequestFromOptions(a, moments->front());
  if (!read.refusal.empty()) return Refuse(read.refusal);
  TRecordData& r = read.request;
  const cases::CleanedName name = cases::CleanTypedChartName(a.Value("name").value_or(r.name));
  r.name = name.name;
  if (name.changed) std::cerr << cases::kCleanedNameNotice << "\n";

  chart::MQuorinDay engine;
  UseSettingsOption(a, engine);
  const chart::CandidateComparison comparison = chart::CompareCandidates(engine, r, conditions, *moments);
  if (!comparison.refusal.empty()) return Refuse(comparison.refusal);
  PrintComparison(comparison);
  return WritePdf(a, comparison, r);
}

std::string CompareUsage() {
  return "Usage: quorin-cli compare \"YYYY-MM-DD HH:MM\" \"YYYY-MM-DD HH:MM\" [2 to 4 moments] [options]\n"
         "  Charts the request at each moment (Beijing time, Gregorian; years as users write them, 1 BC is -1)\n"
         "  and prints the candidates side by side (对比所选日课): a line of the moments, then one line per\n"
         "  row, its label and each candidate's value in a column of its own, the columns separated by \" | \".\n"
         "  A row whose values differ starts with \"≠\". The rows: 公历, 农历, 四柱; 卦气/卦运 of every position\n"
         "  of the chart and of every other person (\"６损 九\"); each ticked condition, \"合\" met or \"差\"\n"
         "  missed, as the search judges it (once for each person where it reads the person: 冲主命(配偶));\n"
         "  for each person the 卦气交通 and 卦运交通 with the four pillars and whether the day clashes them;\n"
         "  the five lines of 常用神煞.\n"
         "  --zone ZONE            the moments are clock times of this zone (an IANA name, see quorin-cli zones)\n"
         "  --fold 1|2             a clock time that occurred twice: the first or the second (default: the\n"
         "                         first, as the search tests it)\n"
         "  --mountain M           mountain (坐山): a name such as 子 or 子山, or 0..23 from 壬 (default 壬)\n"
         "  --gua COL              column of the mountain's hexagram, 0..3 (default 0)\n"
         "  --name TEXT            person's name (default 某人)\n"
         "  --female               the person is a woman (default a man)\n"
         "  --birth YEAR           person's birth year (default 1978)\n"
         "  --person NAME,男|女,YEAR  another person the moments concern (配偶,女,1982), repeatable, up to 7\n"
         "  --dragon M:COL         dragon (龙) mountain and column, e.g. 子:1\n"
         "  --water M:COL          water (水) mountain and column\n"
         "  --facing               the chart has the facing (向)\n"
         "  --lon DEG, --lat DEG   place coordinates in degrees (default 120, 30)\n"
         "  --place TEXT           place text (default 未知地), or a world or own place as for chart\n"
         "  --settings FILE        read the chart settings (set.ini keys) from FILE\n"
         "  The search conditions to judge the candidates by (none: no condition rows):\n" +
         ConditionOptionsUsage() +
         "  --pdf FILE             also write the comparison on one A4 page as a PDF file (日课对比)\n";
}

const RegisterCommand kCompare{{
    "compare",
    "compare 2 to 4 candidate moments side by side (对比所选日课)",
    CompareUsage(),
    Run,
}};

}  // namespace
}  // namespace quorin::cli

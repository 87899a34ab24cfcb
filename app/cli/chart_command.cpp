// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli chart: one day chart, printed as the engine writes it, and with
// --png its picture and with --pdf its date sheet after the clicks given.
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>

#ifdef QUORIN_CLI_PNG
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>

#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "sheet/date_sheet.h"
#endif

#include "base/gbk.h"
#include "base/places.h"
#include "cases/case_text.h"
#include "chart/quorin_day.h"
#include "chart/record_data.h"
#include "chart/rich_text_sink.h"
#include "chart_options.h"
#include "command.h"

namespace quorin::cli {
namespace {

constexpr const char* kNameNotice = "姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！";

// The name as the chart window cleans it, except that a name whose every character is
// removed prints as "甲" here rather than empty.
std::string CleanName(const std::string& raw, bool& changed) {
  const auto first = raw.find_first_not_of(" \t");
  const std::string trimmed = first == std::string::npos ? "" : raw.substr(first, raw.find_last_not_of(" \t") - first + 1);
  cases::CleanedName cleaned = cases::CleanChartName(trimmed);
  changed = cleaned.changed;
  return cleaned.name.empty() ? "甲" : cleaned.name;
}

// "YYYY-MM-DD HH:MM" (the time may be left out for 00:00; the year may be negative).
struct MomentText {
  std::string year, month, day, hour = "0", minute = "0";
};
std::optional<MomentText> ParseMoment(const std::string& text) {
  auto number = [](const std::string& s, std::size_t width) {
    return !s.empty() && s.size() <= width && s.find_first_not_of("0123456789") == std::string::npos;
  };
  MomentText m;
  const auto blank = text.find_first_of(" T");
  const std::string date = text.substr(0, blank);
  const bool negative = date.starts_with("-");
  const auto first = date.find('-', negative ? 1 : 0);
  const auto second = first == std::string::npos ? first : date.find('-', first + 1);
  if (second == std::string::npos) return std::nullopt;
  m.year = date.substr(0, first);
  m.month = date.substr(first + 1, second - first - 1);
  m.day = date.substr(second + 1);
  if (!number(m.year.substr(negative ? 1 : 0), 5) || !number(m.month, 2) || !number(m.day, 2)) return std::nullopt;
  if (blank != std::string::npos) {
    const auto start = text.find_first_not_of(" T", blank);
    const auto colon = text.find(':', blank);
    if (start == std::string::npos || colon == std::string::npos) return std::nullopt;
    m.hour = text.substr(start, colon - start);
    m.minute = text.substr(colon + 1);
    if (!number(m.hour, 2) || !number(m.minute, 2)) return std::nullopt;
  }
  return m;
}

std::string Hex(draw::Color c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%06X", static_cast<unsigned>(c));
  return buffer;
}

// "X,Y" of --click.
std::pair<int, int> ClickPoint(const std::string& text) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) throw UsageError("--click 应写作 X,Y，例如 120,300：" + text);
  return {ParseInteger(text.substr(0, comma), "--click"), ParseInteger(text.substr(comma + 1), "--click")};
}

// Where a click does something in the picture drawn last.
void PrintAreas(const chart::ChartImageState& state) {
  const chart::ChartTableArea& t = state.table;
  std::cout << "table " << t.left << ' ' << t.top << ' ' << t.right << ' ' << t.bottom << ' ' << t.columnWidth << ' '
            << t.shownCount << "\n";
  const auto bands = t.Bands();
  for (std::size_t i = 0; i < bands.size(); ++i) {
    std::cout << "band " << i << ' ' << bands[i].top << ' ' << bands[i].bottom << "\n";
  }
  if (state.lineBarActive) {
    const chart::LineBarArea& b = state.lineBar;
    std::cout << "linebar " << b.left << ' ' << b.top << ' ' << b.right << ' ' << b.bottom << ' ' << b.CellWidth() << "\n";
  }
}

#ifdef QUORIN_CLI_PNG
// Qt draws only inside an application object; a shell has no display, so the
// offscreen platform serves unless the caller chose one.
std::unique_ptr<QGuiApplication> MakePictureApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notes about the missing desktop session (runtime folder, offscreen
  // platform) say nothing about the chart; errors still reach stderr.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
  });
  static int argc = 1;
  static char name[] = "quorin-cli";
  static char* argv[] = {name, nullptr};
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  qtdraw::InstallFontSubstitutions();
  return app;
}
#endif

int Run(const std::vector<std::string>& args) {
  const Arguments a(args,
                    {"mountain", "gua", "name", "birth", "dragon", "water", "lon", "lat", "place", "settings", "flip",
                     "png", "click", "font-size", "pdf", "remark"},
                    {"lunar", "leap", "female", "facing", "spans", "areas"}, {"click"});
  if (a.Positionals().size() != 1) throw UsageError("需要一个时间：\"YYYY-MM-DD HH:MM\"");
  const auto m = ParseMoment(a.Positionals()[0]);
  if (!m) throw UsageError("时间应写作 \"YYYY-MM-DD HH:MM\"：" + a.Positionals()[0]);

  const auto year = AstronomicalYear(ParseInteger(m->year, "年"));
  if (!year) {
    std::cerr << YearRangeMessage("") << "\n";
    return kExitRefused;
  }
  const auto birth = AstronomicalYear(ParseInteger(a.Value("birth").value_or("1978"), "--birth"));
  if (!birth) {
    std::cerr << YearRangeMessage("主命") << "\n";
    return kExitRefused;
  }

  TRecordData r;
  r.ResetRecord();
  r.isLunar = a.Has("lunar");
  r.isLeapMonth = a.Has("leap");
  r.year = static_cast<std::int16_t>(*year);
  r.month = static_cast<std::int16_t>(ParseInteger(m->month, "月"));
  r.day = static_cast<std::int16_t>(ParseInteger(m->day, "日"));
  r.hour = static_cast<std::int16_t>(ParseInteger(m->hour, "时"));
  r.minute = static_cast<std::int16_t>(ParseInteger(m->minute, "分"));
  r.province = base::kUnknownProvince;  // unless a place is given
  r.longitude = static_cast<float>(a.Number("lon").value_or(base::kDefaultLongitude));
  r.latitude = static_cast<float>(a.Number("lat").value_or(base::kDefaultLatitude));
  r.addrName = base::TruncateToGbkBytes(a.Value("place").value_or(std::string(base::kUnknownPlace)),
                                        TRecordData::kAddrNameBytes);
  bool nameChanged = false;
  r.name = CleanName(a.Value("name").value_or("某人"), nameChanged);
  if (nameChanged) std::cerr << kNameNotice << "\n";
  r.male = !a.Has("female");
  r.masterYear = *birth;
  r.mountain = a.Has("mountain") ? MountainFromText(*a.Value("mountain"), "--mountain") : 0;
  r.mountainGua = a.Integer("gua").value_or(0);
  r.dragonMountain = r.waterMountain = -1;
  r.dragonGua = r.waterGua = -1;
  if (a.Has("dragon")) {
    const auto [mountain, column] = MountainAndColumn(*a.Value("dragon"), "--dragon");
    r.dragonMountain = static_cast<std::int16_t>(mountain);
    r.dragonGua = static_cast<std::int16_t>(column);
  }
  if (a.Has("water")) {
    const auto [mountain, column] = MountainAndColumn(*a.Value("water"), "--water");
    r.waterMountain = static_cast<std::int16_t>(mountain);
    r.waterGua = static_cast<std::int16_t>(column);
  }
  r.showFacing = a.Has("facing");

  std::vector<int> flips;
  if (a.Has("flip")) {
    std::stringstream list(*a.Value("flip"));
    for (std::string item; std::getline(list, item, ',');) {
      const int line = ParseInteger(item, "--flip");
      if (line < 1 || line > 6) throw UsageError("--flip 的爻位应在 1..6 之间：" + item);
      flips.push_back(line);
    }
  }

  std::vector<std::pair<int, int>> clicks;
  for (const std::string& c : a.Values("click")) clicks.push_back(ClickPoint(c));
  // The date sheet draws the picture as it stands after the clicks, like --png.
  const bool picture = a.Has("png") || a.Has("pdf");
  if (!picture && (!clicks.empty() || a.Has("font-size"))) {
    throw UsageError("--click 和 --font-size 需要 --png 或 --pdf（它们作用于所写的图片）");
  }
  if (!a.Has("png") && a.Has("areas")) throw UsageError("--areas 需要 --png（它说明所写图片中的位置）");
  if (!a.Has("pdf") && a.Has("remark")) throw UsageError("--remark 需要 --pdf（评语印在日课单上）");
  const double fontSize = a.Number("font-size").value_or(chart::kDefaultImageFontSize);
  if (!(fontSize >= chart::kMinImageFontSize && fontSize <= chart::kMaxImageFontSize)) {
    throw UsageError("--font-size 应在 10 到 35 之间：" + *a.Value("font-size"));
  }

  draw::Canvas* canvas = nullptr;
#ifdef QUORIN_CLI_PNG
  std::unique_ptr<QGuiApplication> app;
  std::unique_ptr<qtdraw::ImageCanvas> qtCanvas;
  if (picture) {
    app = MakePictureApplication();
    qtCanvas = std::make_unique<qtdraw::ImageCanvas>();
    canvas = qtCanvas.get();
  }
#else
  if (picture) throw UsageError("此版本的 quorin-cli 编译时没有图片功能（需要 Qt 界面库），不能使用 --png 或 --pdf");
#endif

  chart::MQuorinDay engine;
  chart::RecordingRichTextSink text;
  engine.Attach(&text, canvas);
  engine.SetImageFont(fontSize);
  UseSettingsOption(a, engine);
  if (!engine.Compute(r)) {
    std::cerr << engine.ErrorText() << "\n";
    return kExitRefused;
  }
  if (!flips.empty()) {
    // Each listed line flips once more, as repeated clicks on the line bar do.
    for (int line : flips) engine.SetChangedLine(line - 1, engine.ChangedLines()[static_cast<std::size_t>(line - 1)] == 0);
    if (!engine.RecomputeWithChangedLines()) {
      std::cerr << engine.ErrorText() << "\n";
      return kExitRefused;
    }
  }
  // As left-button releases on the picture, in order.
  for (const auto& [x, y] : clicks) engine.Click(x, y);
  std::cout << text.Text();
  if (a.Has("spans")) {
    for (const auto& s : text.Spans()) {
      std::cout << s.start << ' ' << s.length << ' ' << Hex(s.color) << ' ' << (s.bold ? 1 : 0) << "\n";
    }
  }
  if (a.Has("areas")) PrintAreas(engine.ImageState());
#ifdef QUORIN_CLI_PNG
  if (a.Has("png")) {
    const std::string path = *a.Value("png");
    if (!qtCanvas->Image().save(QString::fromStdString(path), "PNG")) {
      std::cerr << "无法写入图片文件：" << path << "\n";
      return kExitRefused;
    }
  }
  if (a.Has("pdf")) {
    QTextDocument remark;
    if (a.Has("remark") && !sheet::ReadRemarkFile(*a.Value("remark"), remark)) {
      std::cerr << "无法读取评语文件：" << *a.Value("remark") << "\n";
      return kExitRefused;
    }
    const std::string path = *a.Value("pdf");
    std::string error;
    if (!sheet::WriteDateSheetPdf(path, engine, {&remark, QDate::currentDate()}, &error)) {
      std::cerr << "无法写入日课单文件：" << path << "（" << error << "）\n";
      return kExitRefused;
    }
  }
#endif
  return 0;
}

const RegisterCommand kChart{{
    "chart",
    "compute one day chart (日课) and print its text",
    "Usage: quorin-cli chart \"YYYY-MM-DD HH:MM\" [options]\n"
    "  The moment is Beijing time, Gregorian unless --lunar; years as users write them (1 BC is -1).\n"
    "  --lunar, --leap        the date is a lunar date (in the leap month)\n"
    "  --mountain M           mountain (坐山): a name such as 子 or 子山, or 0..23 from 壬 (default 壬)\n"
    "  --gua COL              column of the mountain's hexagram, 0..3 (default 0)\n"
    "  --name TEXT            person's name (default 某人)\n"
    "  --female               the person is a woman (default a man)\n"
    "  --birth YEAR           person's birth year (default 1978)\n"
    "  --dragon M:COL         dragon (龙) mountain and column, e.g. 子:1\n"
    "  --water M:COL          water (水) mountain and column\n"
    "  --facing               show the facing (向)\n"
    "  --lon DEG, --lat DEG   place coordinates in degrees (default 120, 30)\n"
    "  --place TEXT           place text (default 未知地)\n"
    "  --settings FILE        read the chart settings (set.ini keys) from FILE\n"
    "  --flip 1,3             flip these lines (1 = bottom) of the mountain hexagram\n"
    "  --spans                after the text, one line per coloured range: start length colour bold\n"
    "                         (characters of the printed text; colour as 0xBBGGRR)\n"
    "  --png FILE             write the chart picture as a PNG file\n"
    "  --pdf FILE             write the date sheet (日课单) as an A4 PDF file\n"
    "  --remark FILE          the remark printed on the date sheet: .rtf, or plain text (needs --pdf)\n"
    "  --font-size PT         chart font of the picture, 10..35 points (default 12; needs --png or --pdf)\n"
    "  --click X,Y            a left-button release at pixel X,Y of the picture, before it is written;\n"
    "                         repeatable, applied in order (needs --png or --pdf)\n"
    "  --areas                after the text, where clicks act in the final picture (needs --png):\n"
    "                         table LEFT TOP RIGHT BOTTOM COLUMN-WIDTH COLUMNS, band N TOP BOTTOM (x4),\n"
    "                         linebar LEFT TOP RIGHT BOTTOM CELL-WIDTH while the mountain's line bar is shown\n",
    Run,
}};

}  // namespace
}  // namespace quorin::cli

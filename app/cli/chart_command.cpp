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

#include "qtdraw/image_canvas.h"
#include "sheet/date_sheet.h"
#include "picture_application.h"
#endif

#include "base/files.h"
#include "base/gbk.h"
#include "base/places.h"
#include "cases/case_text.h"
#include "chart/quorin_day.h"
#include "chart/record_data.h"
#include "chart/rich_text_sink.h"
#include "draw/svg_canvas.h"
#include "iching/zhou_yi_page.h"
#include "chart_options.h"
#include "command.h"

namespace quorin::cli {
namespace {

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


const OptionSpec kChartOptions{
    .values = {"mountain", "gua", "name", "birth", "dragon", "water", "lon", "lat", "place", "settings", "flip", "png", "svg",
               "click", "font-size", "pdf", "remark", "zone", "fold", "person"},
    .flags = {"lunar", "leap", "female", "facing", "spans", "areas"},
    .repeatable = {"click", "person"},
};

// The lines of --flip, 1 (bottom) to 6.
std::vector<int> FlipLines(const Arguments& a) {
  std::vector<int> flips;
  if (!a.Has("flip")) return flips;
  std::stringstream list(*a.Value("flip"));
  for (std::string item; std::getline(list, item, ',');) {
    const int line = ParseInteger(item, "--flip");
    if (line < 1 || line > iching::kLinesPerHexagram) throw UsageError("--flip 的爻位应在 1..6 之间：" + item);
    flips.push_back(line);
  }
  return flips;
}

// What the picture options ask for, checked against each other.
struct PictureOptions {
  bool wanted = false;  // --png or --pdf: the date sheet draws the picture as it stands after the clicks
  std::vector<std::pair<int, int>> clicks;
  double fontSize = chart::kDefaultImageFontSize;
};
PictureOptions ReadPictureOptions(const Arguments& a) {
  PictureOptions p;
  for (const std::string& c : a.Values("click")) p.clicks.push_back(ClickPoint(c));
  p.wanted = a.Has("png") || a.Has("pdf");
  if (!p.wanted && !a.Has("svg") && (!p.clicks.empty() || a.Has("font-size"))) {
    throw UsageError("--click 和 --font-size 需要 --png、--pdf 或 --svg（它们作用于所写的图片）");
  }
  if (!a.Has("png") && a.Has("areas")) throw UsageError("--areas 需要 --png（它说明所写图片中的位置）");
  if (!a.Has("pdf") && a.Has("remark")) throw UsageError("--remark 需要 --pdf（评语印在日课单上）");
  p.fontSize = a.Number("font-size").value_or(chart::kDefaultImageFontSize);
  if (!(p.fontSize >= chart::kMinImageFontSize && p.fontSize <= chart::kMaxImageFontSize)) {
    throw UsageError("--font-size 应在 10 到 35 之间：" + *a.Value("font-size"));
  }
  return p;
}

// The canvas the chart picture is drawn on when one is wanted, with the Qt application it needs.
class PictureCanvas {
 public:
  explicit PictureCanvas(bool wanted) {
    if (!wanted) return;
#ifdef QUORIN_CLI_PNG
    app_ = MakePictureApplication();
    canvas_ = std::make_unique<qtdraw::ImageCanvas>();
#else
    throw UsageError("此版本的 quorin-cli 编译时没有图片功能（需要 Qt 界面库），不能使用 --png 或 --pdf");
#endif
  }
#ifdef QUORIN_CLI_PNG
  draw::Canvas* Get() { return canvas_.get(); }
  const QImage& Image() const { return canvas_->Image(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
  std::unique_ptr<qtdraw::ImageCanvas> canvas_;
#else
  draw::Canvas* Get() { return nullptr; }
#endif
};

// Each listed line flips once more, as repeated clicks on the line bar do; false when the
// engine refuses the flipped chart.
[[nodiscard]] bool ApplyFlips(chart::MQuorinDay& engine, const std::vector<int>& flips) {
  if (flips.empty()) return true;
  for (int line : flips) {
    engine.SetChangedLine(line - 1, engine.ChangedLines()[static_cast<std::size_t>(line - 1)] == 0);
  }
  return engine.RecomputeWithChangedLines();
}

void PrintChart(const Arguments& a, const chart::RecordingRichTextSink& text, const chart::MQuorinDay& engine) {
  std::cout << text.Text();
  if (a.Has("spans")) {
    for (const auto& s : text.Spans()) {
      std::cout << s.start << ' ' << s.length << ' ' << Hex(s.color) << ' ' << (s.bold ? 1 : 0) << "\n";
    }
  }
  if (a.Has("areas")) PrintAreas(engine.ImageState());
}

// Writes the files of --png and --pdf; what cannot be read or written is refused.
[[nodiscard]] int WritePictures([[maybe_unused]] const Arguments& a, [[maybe_unused]] const PictureCanvas& canvas,
                                [[maybe_unused]] const chart::MQuorinDay& engine) {
#ifdef QUORIN_CLI_PNG
  if (a.Has("png")) {
    const std::string path = *a.Value("png");
    if (!canvas.Image().save(QString::fromStdString(path), "PNG")) return Refuse("无法写入图片文件：" + path);
  }
  if (a.Has("pdf")) {
    QTextDocument remark;
    if (a.Has("remark") && !sheet::ReadRemarkFile(*a.Value("remark"), remark)) {
      return Refuse("无法读取评语文件：" + *a.Value("remark"));
    }
    const std::string path = *a.Value("pdf");
    std::string error;
    if (!sheet::WriteDateSheetPdf(path, engine, {&remark, QDate::currentDate()}, &error)) {
      return Refuse("无法写入日课单文件：" + path + "（" + error + "）");
    }
  }
#endif
  return 0;
}

// The picture of --svg: the same chart drawn again on a vector canvas, whose layout (and so
// where the clicks land) is its own.
[[nodiscard]] int WriteSvg(const Arguments& a, const TRecordData& r, const std::vector<int>& flips,
                           const PictureOptions& picture) {
  draw::SvgCanvas svg;
  chart::MQuorinDay engine;
  engine.Attach(nullptr, &svg);
  engine.SetImageFont(picture.fontSize);
  UseSettingsOption(a, engine);
  if (!engine.Compute(r) || !ApplyFlips(engine, flips)) return Refuse(engine.ErrorText());
  for (const auto& [x, y] : picture.clicks) engine.Click(x, y);
  const std::string path = *a.Value("svg");
  std::string error;
  if (!base::AtomicWriteFile(path, svg.Document(), &error)) return Refuse("无法写入图片文件：" + path + "（" + error + "）");
  return 0;
}

int Run(const std::vector<std::string>& args) {
  const Arguments a(args, kChartOptions);
  if (a.Positionals().size() != 1) throw UsageError("需要一个时间：\"YYYY-MM-DD HH:MM\"");
  const auto typed = calendar::AstronomicalMoment(MomentArgument(a.Positionals()[0], ""));
  if (!typed) return Refuse(YearRangeMessage(""));
  const ZonedMoment moment = ReadZoneOptions(a, *typed);
  if (!moment.refusal.empty()) return Refuse(moment.refusal);
  RequestOrRefusal read = ChartRequestFromOptions(a, *typed);
  if (!read.refusal.empty()) return Refuse(read.refusal);
  TRecordData& r = read.request;
  const cases::CleanedName name = cases::CleanTypedChartName(a.Value("name").value_or(r.name));
  r.name = name.name;
  if (name.changed) std::cerr << cases::kCleanedNameNotice << "\n";
  const std::vector<int> flips = FlipLines(a);
  const PictureOptions picture = ReadPictureOptions(a);

  PictureCanvas canvas(picture.wanted);
  chart::MQuorinDay engine;
  chart::RecordingRichTextSink text;
  engine.Attach(&text, canvas.Get());
  engine.SetImageFont(picture.fontSize);
  UseSettingsOption(a, engine);
  if (!engine.Compute(r) || !ApplyFlips(engine, flips)) return Refuse(engine.ErrorText());
  // As left-button releases on the picture, in order.
  for (const auto& [x, y] : picture.clicks) engine.Click(x, y);
  PrintChart(a, text, engine);
  if (const int written = WritePictures(a, canvas, engine); written != 0) return written;
  return a.Has("svg") ? WriteSvg(a, r, flips, picture) : 0;
}

const RegisterCommand kChart{{
    "chart",
    "compute one day chart (日课) and print its text",
    "Usage: quorin-cli chart \"YYYY-MM-DD HH:MM\" [options]\n"
    "  The moment is Beijing time, Gregorian unless --lunar; years as users write them (1 BC is -1).\n"
    "  --zone ZONE            the moment is the clock time of this zone (an IANA name such as\n"
    "                         America/New_York, see quorin-cli zones), summer time included\n"
    "  --fold 1|2             a clock time that occurred twice (clocks moved back): the first or the\n"
    "                         second of the two\n"
    "  --lunar, --leap        the date is a lunar date (in the leap month)\n"
    "  --mountain M           mountain (坐山): a name such as 子 or 子山, or 0..23 from 壬 (default 壬)\n"
    "  --gua COL              column of the mountain's hexagram, 0..3 (default 0)\n"
    "  --name TEXT            person's name (default 某人)\n"
    "  --female               the person is a woman (default a man)\n"
    "  --birth YEAR           person's birth year (default 1978)\n"
    "  --person NAME,男|女,YEAR  another person the moment concerns (配偶,女,1982), repeatable, up to 7:\n"
    "                         a column beside 主 and their own relation sections\n"
    "  --dragon M:COL         dragon (龙) mountain and column, e.g. 子:1\n"
    "  --water M:COL          water (水) mountain and column\n"
    "  --facing               show the facing (向)\n"
    "  --lon DEG, --lat DEG   place coordinates in degrees (default 120, 30)\n"
    "  --place TEXT           place text (default 未知地); without --lon and --lat, a world place (纽约,\n"
    "                         New York, America/New_York) or an own place (dat/places.txt) by that name\n"
    "                         gives its coordinates and its zone too\n"
    "  --settings FILE        read the chart settings (set.ini keys) from FILE\n"
    "  --flip 1,3             flip these lines (1 = bottom) of the mountain hexagram\n"
    "  --spans                after the text, one line per coloured range: start length colour bold\n"
    "                         (characters of the printed text; colour as 0xBBGGRR)\n"
    "  --png FILE             write the chart picture as a PNG file\n"
    "  --svg FILE             write the chart picture as an SVG file (vector graphics, its own layout:\n"
    "                         text at fixed CJK widths; --click acts on that layout)\n"
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

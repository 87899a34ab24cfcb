// SPDX-License-Identifier: GPL-3.0-or-later
// The web edition's engine: the model compiled to WebAssembly, with the few calls the page makes
// (README, "The web edition"). Requests are plain JavaScript objects whose fields are named after
// quorin-cli's options, so a page and a command asking the same question get the same answer.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/places.h"
#include "base/script_text.h"
#include "base/text_parse.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/julian_day.h"
#include "calendar/month_page.h"
#include "calendar/moment_text.h"
#include "calendar/yi_date_ex.h"
#include "calendar/zone_time.h"
#include "cases/case_text.h"
#include "chart/candidate_comparison.h"
#include "chart/compass.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/record_data.h"
#include "chart/request_check.h"
#include "chart/rich_text_sink.h"
#include "chart/search.h"
#include "chart/search_conditions.h"
#include "chart/search_csv.h"
#include "chart/search_sink.h"
#include "chart/sheet_contents.h"
#include "draw/canvas_without_texts.h"
#include "draw/svg_canvas.h"
#include "iching/hexagrams.h"

namespace quorin::web {
namespace {

using emscripten::val;

// The module's own folder in its memory file system: dat/ as the desktop program keeps it.
constexpr const char* kProgramFolder = "/quorin/";

bool Has(const val& o, const char* key) {
  if (o.isUndefined() || o.isNull()) return false;
  const val v = o[key];
  return !v.isUndefined() && !v.isNull();
}
std::string Text(const val& o, const char* key, const std::string& fallback = "") {
  return Has(o, key) ? o[key].as<std::string>() : fallback;
}
int Integer(const val& o, const char* key, int fallback) { return Has(o, key) ? o[key].as<int>() : fallback; }
double Number(const val& o, const char* key, double fallback) { return Has(o, key) ? o[key].as<double>() : fallback; }
bool Flag(const val& o, const char* key) { return Has(o, key) && o[key].as<bool>(); }

val Refusal(const std::string& message) {
  val out = val::object();
  out.set("ok", false);
  out.set("error", base::ShownText(message));
  return out;
}

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// "YYYY-MM-DD HH:MM" with the year as users write it (1 BC is -1).
std::string MomentText(const calendar::CivilDateTime& t) {
  return std::to_string(calendar::HistoricalYear(t.year)) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " +
         TwoDigits(t.hour) + ":" + TwoDigits(t.minute);
}

// A mountain and column given as [mountain, column]; false when absent.
bool MountainAndColumn(const val& o, const char* key, std::int16_t& mountain, std::int16_t& column) {
  if (!Has(o, key)) return false;
  mountain = static_cast<std::int16_t>(o[key][0].as<int>());
  column = static_cast<std::int16_t>(o[key][1].as<int>());
  return true;
}

// {persons: [{name, female, birth}]}: the persons after 主命 whom the moment also concerns, their names
// cleaned as a case keeps them; the refusal, or empty.
std::string ReadPersons(const val& q, std::vector<OtherPerson>& into) {
  if (!Has(q, "persons")) return {};
  const val persons = q["persons"];
  const int count = persons["length"].as<int>();
  if (count + 1 > kMaxPersons) return "最多" + std::to_string(kMaxPersons) + "个人";
  for (int i = 0; i < count; ++i) {
    const int birth = Integer(persons[i], "birth", 0);
    if (!calendar::IsValidHistoricalYear(birth)) return chart::YearRangeMessage("其他人的出生");
    const std::string name = cases::CleanChartName(base::TrimTyped(Text(persons[i], "name"))).name;
    if (name.empty()) return "其他人的称谓不能为空";
    into.push_back({name, !Flag(persons[i], "female"), calendar::AstronomicalYear(birth)});
  }
  return {};
}

// The chart request a page's object describes, with the window's defaults for what it leaves out;
// a refusal in `problem` (the engine's own messages where it has one).
TRecordData ChartRequest(const val& q, std::string& problem, bool& nameChanged) {
  TRecordData r;
  r.ResetRecord();
  const std::optional<calendar::TypedMoment> typed = calendar::ParseMomentText(Text(q, "moment"));
  const std::optional<calendar::CivilDateTime> moment = typed ? calendar::AstronomicalMoment(*typed) : std::nullopt;
  if (!typed) {
    problem = "时间应为 YYYY-MM-DD HH:MM：" + Text(q, "moment");
    return r;
  }
  if (!moment) {
    problem = chart::YearRangeMessage("");
    return r;
  }
  const int birth = Integer(q, "birth", calendar::HistoricalYear(quorin::kDefaultBirthYear));
  if (!calendar::IsValidHistoricalYear(birth)) {
    problem = chart::YearRangeMessage("主命");
    return r;
  }
  r.masterYear = calendar::AstronomicalYear(birth);
  r.isLunar = Flag(q, "lunar");
  r.isLeapMonth = Flag(q, "leap");
  r.year = moment->year;
  r.month = moment->month;
  r.day = moment->day;
  r.hour = moment->hour;
  r.minute = moment->minute;
  const cases::CleanedName cleaned = cases::CleanTypedChartName(Text(q, "name", "某人"));
  nameChanged = cleaned.changed;
  r.name = cleaned.name;
  r.male = !Flag(q, "female");
  r.mountain = Integer(q, "mountain", 0);
  r.mountainGua = Integer(q, "gua", 0);
  r.dragonMountain = r.waterMountain = -1;
  MountainAndColumn(q, "dragon", r.dragonMountain, r.dragonGua);
  MountainAndColumn(q, "water", r.waterMountain, r.waterGua);
  r.showFacing = Flag(q, "facing");
  r.province = static_cast<std::int16_t>(Integer(q, "province", base::kUnknownProvince));
  r.city = static_cast<std::int16_t>(Integer(q, "city", 0));
  r.longitude = static_cast<float>(Number(q, "lon", base::kDefaultLongitude));
  r.latitude = static_cast<float>(Number(q, "lat", base::kDefaultLatitude));
  r.addrName = base::TruncateToGbkBytes(Text(q, "place", std::string(base::kUnknownPlace)), TRecordData::kAddrNameBytes);
  r.zone = Text(q, "zone");
  r.fold = static_cast<std::int8_t>(r.zone.empty() ? 0 : Integer(q, "fold", 0));
  problem = ReadPersons(q, r.otherPersons);
  return r;
}

val SpansOf(const chart::RecordingRichTextSink& text) {
  val spans = val::array();
  for (const auto& s : text.Spans()) {
    val span = val::object();
    span.set("start", s.start);
    span.set("length", s.length);
    char colour[8];
    // Stored as 0xBBGGRR; CSS reads #RRGGBB.
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", static_cast<unsigned>(s.color) & 0xFF,
                  (static_cast<unsigned>(s.color) >> 8) & 0xFF, (static_cast<unsigned>(s.color) >> 16) & 0xFF);
    span.set("color", std::string(colour));
    span.set("bold", s.bold);
    spans.call<void>("push", span);
  }
  return spans;
}

val AreasOf(const chart::ChartImageState& state) {
  val areas = val::object();
  const chart::ChartTableArea& t = state.table;
  val table = val::object();
  table.set("left", t.left);
  table.set("top", t.top);
  table.set("right", t.right);
  table.set("bottom", t.bottom);
  table.set("columnWidth", t.columnWidth);
  table.set("columns", t.shownCount);
  areas.set("table", table);
  return areas;
}

// One chart on screen: its engine keeps the selection that clicks change.
class ChartSession {
 public:
  ChartSession() { engine_.Attach(&text_, &picture_); }

  // The chart of a request: {ok, error} or {ok, text, spans, svg, width, height, notice}.
  val Compute(const val& q) {
    std::string problem;
    bool nameChanged = false;
    const TRecordData r = ChartRequest(q, problem, nameChanged);
    if (!problem.empty()) return Refusal(problem);
    engine_.SetImageFont(Number(q, "fontSize", chart::kDefaultImageFontSize));
    if (!engine_.Compute(r)) return Refusal(engine_.ErrorText());
    if (Has(q, "flips")) {
      const val flips = q["flips"];
      const int count = flips["length"].as<int>();
      for (int i = 0; i < count; ++i) {
        const int line = flips[i].as<int>();
        if (line < 1 || line > 6) return Refusal("爻位应在 1..6 之间：" + std::to_string(line));
        engine_.SetChangedLine(line - 1, engine_.ChangedLines()[static_cast<std::size_t>(line - 1)] == 0);
      }
      if (count > 0 && !engine_.RecomputeWithChangedLines()) return Refusal(engine_.ErrorText());
    }
    if (Has(q, "clicks")) {
      const val clicks = q["clicks"];
      const int count = clicks["length"].as<int>();
      for (int i = 0; i < count; ++i) engine_.Click(clicks[i][0].as<int>(), clicks[i][1].as<int>());
    }
    val out = Result();
    if (nameChanged) out.set("notice", base::ShownText(cases::kCleanedNameNotice));
    return out;
  }

  // A left-button release at (x, y) of the picture: the chart as it stands after it.
  val Click(int x, int y) {
    engine_.Click(x, y);
    return Result();
  }

  // The moment `days` from the chart's (1/12 for 时++, -1 for 日--), as the chart's inputs would
  // show it: {moment} in Gregorian, or {error} past the calendar's ends.
  val Step(double days) {
    const calendar::CivilDateTime d = engine_.SteppedMoment(days);
    if (d.year < calendar::kFirstCalendarYear || d.year > calendar::kLastCalendarYear) {
      return Refusal(chart::YearRangeMessage(""));
    }
    val out = val::object();
    out.set("ok", true);
    out.set("moment", MomentText(d));
    return out;
  }

  // What the date sheet prints of the chart as it stands: the title, the picture's header lines,
  // the picture without them and without 常用神煞 (the sheet sets those as lines of its own), cut
  // to the table and the six-line chart, and 日课分析 with 常用神煞 in their colours.
  val Sheet() {
    draw::SvgCanvas svg;
    draw::CanvasWithoutTexts filter(svg, chart::SheetOwnLines(engine_));
    chart::MQuorinDay picture = chart::AttachedCopy(engine_, nullptr, &filter);
    picture.DrawChartImage();
    picture.DrawSelection(engine_.Selection().column, engine_.Selection().band);
    const chart::SheetPictureRows rows = chart::SheetPictureRowsOf(picture.ImageState(), svg.Height());

    chart::RecordingRichTextSink analysis;
    chart::MQuorinDay writer = chart::AttachedCopy(engine_, &analysis, nullptr);
    writer.WriteAnalysis();
    writer.WriteShensha();

    val out = val::object();
    out.set("title", engine_.Request().name + base::ShownText(" 日课单"));
    val header = val::array();
    for (const std::string& line : chart::SheetHeaderLines(engine_)) {
      header.call<void>("push", base::ShownText(line));
    }
    out.set("headerLines", header);
    out.set("svg", svg.Document());
    out.set("top", rows.top);
    out.set("bottom", rows.bottom);
    out.set("width", svg.Width());
    out.set("text", base::ShownText(analysis.Text()));
    out.set("spans", SpansOf(analysis));
    out.set("indent", writer.Settings().leftpos);
    return out;
  }

 private:
  val Result() {
    val out = val::object();
    out.set("ok", true);
    out.set("text", base::ShownText(text_.Text()));
    out.set("spans", SpansOf(text_));
    out.set("svg", picture_.Document());
    out.set("width", picture_.Width());
    out.set("height", picture_.Height());
    out.set("areas", AreasOf(engine_.ImageState()));
    return out;
  }

  chart::MQuorinDay engine_;
  chart::RecordingRichTextSink text_;
  draw::SvgCanvas picture_;
};

// What a search finds, handed to the page as it comes (the page keeps it when the search is
// stopped): callbacks.line(text), callbacks.progress(percent), callbacks.row(csvRow), after
// callbacks.start(csvHeader).
class PageSearchSink final : public chart::SearchSink {
 public:
  PageSearchSink(const chart::SearchRequest& request, val callbacks)
      : request_(request), callbacks_(std::move(callbacks)), csvHeaderBytes_(chart::SearchResultsCsv(request, {}).size()) {}
  void SetRange(int minimum, int maximum) override {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  void SetPosition(int position) override {
    position_ = position;
    const int percent = maximum_ > minimum_ ? (position - minimum_) * 100 / (maximum_ - minimum_) : 100;
    if (percent != shownPercent_) Tell("progress", val(percent));
    shownPercent_ = percent;
  }
  int Position() const override { return position_; }
  void Clear() override { lines_.clear(); }
  void AppendLine(std::string_view utf8) override {
    lines_.push_back(base::ShownText(utf8));
    Tell("line", val(lines_.back()));
  }
  void AppendResult(const chart::SearchResult& result) override {
    SearchSink::AppendResult(result);
    results_.push_back(result);
    if (Has(callbacks_, "row")) {
      Tell("row", val(base::ShownText(chart::SearchResultsCsv(request_, {result}).substr(csvHeaderBytes_))));
    }
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<chart::SearchResult>& Results() const { return results_; }

 private:
  void Tell(const char* what, const val& argument) {
    if (Has(callbacks_, what)) callbacks_.call<void>(what, argument);
  }

  const chart::SearchRequest& request_;
  val callbacks_;
  std::size_t csvHeaderBytes_;
  std::vector<std::string> lines_;
  std::vector<chart::SearchResult> results_;
  int minimum_ = 0, maximum_ = 100, position_ = 0, shownPercent_ = -1;
};

// Ticks the conditions named as their check boxes read (卦气同数, 主命纳入), in either script.
bool TickNamed(const val& names, chart::SearchRequest& q, std::string& problem) {
  const int count = names["length"].as<int>();
  for (int i = 0; i < count; ++i) {
    const std::string name = base::SimplifiedForComparison(names[i].as<std::string>());
    bool known = false;
    for (const chart::SearchCondition& condition : chart::SearchConditions()) {
      if (chart::ConditionCaption(condition) == name) {
        chart::Set(q, condition, true);
        known = true;
      }
    }
    if (!known) {
      problem = "没有这个查找条件：" + name;
      return false;
    }
  }
  return true;
}

std::optional<calendar::CivilDateTime> DayOf(const std::string& text) {
  const auto typed = calendar::ParseDateText(text);
  return typed ? calendar::AstronomicalMoment(*typed) : std::nullopt;
}

// The ticked conditions of a search request: a ready pattern, then the captions of `conditions` and
// the digit groups; the refusal, or empty.
std::string ReadConditions(const val& s, chart::SearchRequest& q) {
  if (Has(s, "pattern")) {
    const int item = chart::ReadyPatternItem(base::SimplifiedForComparison(Text(s, "pattern")));
    if (!chart::ApplyReadyPattern(q, item)) return "没有这个现成格局：" + Text(s, "pattern");
  }
  std::string problem;
  if (Has(s, "conditions") && !TickNamed(s["conditions"], q, problem)) return problem;
  if (Has(s, "qiDigits")) q.qiDigits = chart::DigitGroupFromText(Text(s, "qiDigits"), Flag(s, "qiAdjacent"));
  if (Has(s, "yunDigits")) q.yunDigits = chart::DigitGroupFromText(Text(s, "yunDigits"), Flag(s, "yunAdjacent"));
  q.UpdateConditionCounts();
  return {};
}

// 对比所选日课 of quorin-cli compare: the chart request (its own moment aside) at each of 2..4 moments
// ("YYYY-MM-DD HH:MM", Gregorian, the request's zone's clock times when it has one), judged by the
// conditions of a search request. {captions, rows: [{label, values, differs}]}, or a refusal.
val Compare(const val& chartRequest, const val& conditions, const val& moments) {
  std::vector<calendar::CivilDateTime> read;
  for (int i = 0, n = moments["length"].as<int>(); i < n; ++i) {
    const std::string text = moments[i].as<std::string>();
    const std::optional<calendar::TypedMoment> typed = calendar::ParseMomentText(text);
    const std::optional<calendar::CivilDateTime> moment = typed ? calendar::AstronomicalMoment(*typed) : std::nullopt;
    if (!moment) return Refusal("时间应为 YYYY-MM-DD HH:MM：" + text);
    read.push_back(*moment);
  }
  std::string problem;
  bool nameChanged = false;
  TRecordData r = ChartRequest(chartRequest, problem, nameChanged);
  if (!problem.empty()) return Refusal(problem);
  r.isLunar = r.isLeapMonth = false;
  chart::SearchRequest q = chart::ClearedSearchRequest(r.year);
  if (const std::string refused = ReadConditions(conditions, q); !refused.empty()) return Refusal(refused);
  const chart::CandidateComparison comparison = chart::CompareCandidates(chart::MQuorinDay(), r, q, read);
  if (!comparison.refusal.empty()) return Refusal(comparison.refusal);
  val out = val::object();
  out.set("ok", true);
  val captions = val::array();
  for (const std::string& caption : comparison.captions) captions.call<void>("push", caption);
  out.set("captions", captions);
  val rows = val::array();
  for (const chart::ComparisonRow& row : comparison.rows) {
    val shown = val::object();
    shown.set("label", base::ShownText(row.label));
    val values = val::array();
    for (const std::string& value : row.values) values.call<void>("push", base::ShownText(value));
    shown.set("values", values);
    shown.set("differs", row.differs);
    rows.call<void>("push", shown);
  }
  out.set("rows", rows);
  return out;
}

// The search of quorin-cli search: {year} or {from, to}, the person and positions, the conditions
// by their captions ({conditions: ["卦气同数", …]}), digit groups, a ready pattern, a zone, near
// misses ({near: true}), other persons ({persons: [{name: "配偶", female: true, birth: 1982}]}). What
// is found reaches the callbacks as it is found; the result holds the lines, the count's line and
// the CSV text without its byte order mark (csvHeader alone starts the CSV of rows passed one by one).
val Search(const val& s, val callbacks) {
  chart::SearchDays days;
  if (Has(s, "year")) {
    const int year = Integer(s, "year", 0);
    if (!calendar::IsValidHistoricalYear(year)) return Refusal(chart::YearRangeMessage("查找"));
    days = chart::WholeYear(calendar::AstronomicalYear(year));
  } else {
    const auto first = DayOf(Text(s, "from")), last = DayOf(Text(s, "to"));
    if (!first || !last) return Refusal(chart::YearRangeMessage("查找"));
    days = {*first, *last};
    if (const std::string problem = chart::SearchDaysProblem(days); !problem.empty()) return Refusal(problem);
  }
  chart::SearchRequest q = chart::ClearedSearchRequest(days.first.year);
  const int defaultBirth = std::max(q.masterYear, calendar::kFirstCalendarYear);
  if (Has(s, "birth")) {
    if (!calendar::IsValidHistoricalYear(Integer(s, "birth", 0))) return Refusal(chart::YearRangeMessage("主命"));
    q.masterYear = calendar::AstronomicalYear(Integer(s, "birth", 0));
  } else {
    q.masterYear = defaultBirth;
  }
  q.mountain = Integer(s, "mountain", 0);
  q.mountainGua = Integer(s, "gua", 0);
  if (chart::GuaForMountain(q.mountain, q.mountainGua) < 0) return Refusal("该山没有这一列的卦");
  std::int16_t m = -1, c = 0;
  if (MountainAndColumn(s, "dragon", m, c)) {
    if (chart::GuaForMountain(m, c) < 0) return Refusal("龙：该山没有这一列的卦");
    q.dragonMountain = m;
    q.dragonGua = c;
  }
  if (MountainAndColumn(s, "water", m, c)) {
    if (chart::GuaForMountain(m, c) < 0) return Refusal("水：该山没有这一列的卦");
    q.waterMountain = m;
    q.waterGua = c;
  }
  q.showFacing = Flag(s, "facing");
  if (const std::string refused = ReadConditions(s, q); !refused.empty()) return Refusal(refused);
  q.nearMisses = Flag(s, "near");
  if (const std::string refused = ReadPersons(s, q.otherPersons); !refused.empty()) return Refusal(refused);
  q.zone = Text(s, "zone");
  if (!q.zone.empty() && !calendar::IsKnownZone(q.zone)) return Refusal("没有这个时区：" + q.zone);

  chart::MQuorinDay engine;
  // The search keeps the place of the last chart: its longitude, for true solar or local time.
  if (Has(s, "lon")) {
    TRecordData place;
    place.ResetRecord();
    place.year = days.first.year;
    place.month = days.first.month;
    place.day = days.first.day;
    place.masterYear = q.masterYear;
    place.mountain = q.mountain;
    place.mountainGua = q.mountainGua;
    place.dragonMountain = place.waterMountain = -1;
    place.longitude = static_cast<float>(Number(s, "lon", base::kDefaultLongitude));
    place.latitude = base::kDefaultLatitude;
    if (!engine.Compute(place)) return Refusal(engine.ErrorText());
  }
  // The file's byte order mark stays with the file: a JavaScript string would lose it anyway.
  const std::string csvHeader = base::ShownText(chart::SearchResultsCsv(q, {}).substr(chart::kUtf8ByteOrderMark.size()));
  if (Has(callbacks, "start")) callbacks.call<void>("start", val(csvHeader));
  PageSearchSink sink(q, std::move(callbacks));
  const int found = engine.SearchRange(q, days, sink);
  val out = val::object();
  out.set("ok", true);
  val lines = val::array();
  for (const std::string& line : sink.Lines()) lines.call<void>("push", line);
  out.set("lines", lines);
  out.set("found", found);
  const auto nearMisses = std::count_if(sink.Results().begin(), sink.Results().end(),
                                        [](const chart::SearchResult& r) { return !r.missed.empty(); });
  out.set("summary", base::ShownText(chart::SearchSummary(found, static_cast<int>(nearMisses), q.nearMisses)));
  out.set("csv", base::ShownText(chart::SearchResultsCsv(q, sink.Results()).substr(chart::kUtf8ByteOrderMark.size())));
  out.set("csvHeader", csvHeader);
  return out;
}

// The month page of the perpetual calendar for a historical year, a month and a selected day and hour.
val Month(int year, int month, int day, int hour) {
  if (!calendar::IsValidHistoricalYear(year)) return Refusal("年份在-4713 到 9999年之间，并且没有公元0年");
  static calendar::MYiDateEx date;
  calendar::CivilDateTime selected{static_cast<std::int16_t>(calendar::AstronomicalYear(year)),
                                   static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
                                   static_cast<std::int16_t>(hour), 0};
  selected.day = static_cast<std::int16_t>(calendar::OpeningDay(date, selected));
  const int length = calendar::MonthLength(date, selected);
  if (length == 0) return Refusal(calendar::kNoSuchDate);
  const std::vector<calendar::SolarTermRecord> terms =
      calendar::TermsOfMonth(date.SolarTermsOfYear(selected.year), selected.month);
  const int firstColumn = calendar::FirstColumn(date, selected.year, selected.month);
  val cells = val::array();
  for (const calendar::MonthDayCell& cell : calendar::MonthCells(date, selected.year, selected.month, length, firstColumn, terms)) {
    val c = val::object();
    c.set("day", cell.day);
    c.set("column", cell.column);
    c.set("row", cell.row);
    c.set("number", base::ShownText(cell.number));
    c.set("lunar", base::ShownText(cell.lunar));
    c.set("term", base::ShownText(cell.term));
    cells.call<void>("push", c);
  }
  const calendar::PillarTexts texts = calendar::PillarTextsOf(date, selected);
  val out = val::object();
  out.set("ok", true);
  out.set("day", selected.day);
  out.set("cells", cells);
  out.set("terms", base::ShownText(calendar::TermLinesText(terms)));
  out.set("monthLabel", base::ShownText(texts.monthLabel));
  out.set("title", base::ShownText(texts.title));
  out.set("pillars", base::ShownText(texts.pillars));
  val weekdays = val::array();
  for (const auto& name : calendar::kWeekdayNames) weekdays.call<void>("push", base::ShownText("星期" + std::string(name)));
  out.set("weekdays", weekdays);
  return out;
}

// The 24 mountains with the names of their hexagram columns, for the page's lists.
val Mountains() {
  val list = val::array();
  for (int m = 0; m < chart::kMountainCount; ++m) {
    val mountain = val::object();
    mountain.set("name", base::ShownText(std::string(chart::MountainName(m))));
    val guas = val::array();
    for (int column = 0; column < chart::kMountainColumns; ++column) {
      const int gua = chart::GuaForMountain(m, column);
      if (gua >= 0) guas.call<void>("push", base::ShownText(std::string(chart::GuaName(gua))));
    }
    mountain.set("guas", guas);
    list.call<void>("push", mountain);
  }
  return list;
}

// The mountain and gua column a compass degree (18, 18-12, 18:12) points at; null for bad text.
val CompassDegrees(const std::string& text) {
  const std::optional<float> degrees = chart::ParseCompassDegrees(text);
  if (!degrees || *degrees < 0 || *degrees > 360) return val::null();
  const chart::MountainAndGua found = chart::MountainAndGuaOfDegrees(*degrees);
  val out = val::object();
  out.set("mountain", found.mountain);
  out.set("gua", found.guaPosition);
  return out;
}

// The provinces of dat/dili.ini with their cities and coordinates; the last, 未知地, has none.
val Provinces() {
  const base::IniFile dili(std::string(kProgramFolder) + "dat/dili.ini");
  val list = val::array();
  for (const std::string_view province : base::ProvinceNames()) {
    val p = val::object();
    p.set("name", base::ShownText(std::string(province)));
    p.set("key", std::string(province));
    val cities = val::array();
    for (const base::City& city : base::ReadCities(dili, province)) {
      val c = val::object();
      c.set("name", base::ShownText(city.name));
      c.set("key", city.name);
      c.set("lon", city.coordinates.longitude);
      c.set("lat", city.coordinates.latitude);
      cities.call<void>("push", c);
    }
    p.set("cities", cities);
    list.call<void>("push", p);
  }
  return list;
}

// The search's conditions in the page's order: the caption a search names it by, its text in the
// shown script and its group's title.
val Conditions() {
  val list = val::array();
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    val c = val::object();
    c.set("caption", chart::ConditionCaption(condition));
    c.set("shown", base::ShownText(std::string(condition.name)));
    c.set("group", std::string(chart::GroupOf(condition.group).title));
    list.call<void>("push", c);
  }
  return list;
}

val Patterns() {
  val list = val::array();
  for (int item = 1; item < chart::kReadyPatternCount; ++item) list.call<void>("push", std::string(chart::kReadyPatterns[item]));
  return list;
}

// The chart settings (set.ini's keys) the next charts and searches read.
void UseSettings(const val& s) {
  std::ofstream ini(std::string(kProgramFolder) + "dat/set.ini", std::ios::trunc);
  ini << "[set]\n";
  for (const char* key : {"idate", "ijiazi", "leftpos", "iShanShow", "bRiGua"}) ini << key << "=" << Integer(s, key, 0) << "\n";
}

// "zh-Hans", "zh-Hant-TW" or "zh-Hant-HK": the script of every text after this; false for a
// script whose tables the page has not put in place.
std::string UseScript(const std::string& name) {
  const std::optional<base::Script> script = base::ScriptFromName(name);
  if (!script) return "没有这种文字：" + name;
  base::SetShownScript(*script);
  const base::ScriptConverter* converter = base::ShownScriptConverter();
  return converter ? converter->problem() : std::string();
}

bool Started() {
  base::SetProgramFolder(kProgramFolder);
  return true;
}
const bool kStarted = Started();

}  // namespace

EMSCRIPTEN_BINDINGS(quorin) {
  using namespace emscripten;
  class_<ChartSession>("ChartSession")
      .constructor<>()
      .function("compute", &ChartSession::Compute)
      .function("click", &ChartSession::Click)
      .function("step", &ChartSession::Step)
      .function("sheet", &ChartSession::Sheet);
  function("search", &Search);
  function("compare", &Compare);
  function("month", &Month);
  function("mountains", &Mountains);
  function("compassDegrees", &CompassDegrees);
  function("provinces", &Provinces);
  function("conditions", &Conditions);
  function("patterns", &Patterns);
  function("useSettings", &UseSettings);
  function("useScript", &UseScript);
}

}  // namespace quorin::web

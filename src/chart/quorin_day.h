// SPDX-License-Identifier: GPL-3.0-or-later
// The day-chart engine (日课排盘): turns a chart request into the four pillars and
// the chart positions, and writes the chart text (header, table, 日课分析, the
// relation paragraphs and 常用神煞) into a rich-text view, and draws the chart
// picture with its clickable table, relation lines and six-line chart.
#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/yi_date_ex.h"
#include "calendar/zone_time.h"
#include "chart/chart_image_geometry.h"
#include "chart/chart_settings.h"
#include "chart/chart_slot.h"
#include "chart/record_data.h"
#include "chart/rich_text_sink.h"
#include "chart/search.h"
#include "chart/shensha.h"
#include "chart/zoned_clock.h"
#include "draw/canvas.h"
#include "iching/liu_yao_gua.h"

namespace quorin::chart {

// Slot indices of `Slots()`.
enum SlotIndex : int {
  kSlotYear = 0,
  kSlotMonth = 1,
  kSlotDay = 2,
  kSlotHour = 3,
  kSlotMountain = 4,
  kSlotMaster = 5,
  kSlotDragon = 6,
  kSlotWater = 7,
  kSlotFacing = 8,
  kSlotYuanChen = 9,
};
inline constexpr int kSlotCount = 10;
// Display positions 龙 水 主 山 向 年 月 日 时.
inline constexpr int kPositionCount = 9;
inline constexpr int kPositionMountain = 3;
// The slot shown at each display position.
inline constexpr std::array<int, kPositionCount> kSlotOfPosition{6, 7, 5, 4, 8, 0, 1, 2, 3};

// An invalid mountain, dragon or water column in a request (the inputs offer none).
inline constexpr const char* kNoSuchPosition = "山家、龙、水的卦位不存在";

// "二○二四年 二月 初六日 巳时": the lunar date and hour as the chart header shows them.
std::string LunarDateTimeText(const calendar::CivilDateTime& lunar, bool leapMonth);

struct ChartSelection {
  int column = -1;  // among the shown positions
  int band = -1;    // 0..3
  bool operator==(const ChartSelection&) const = default;
};

// What the last drawing of the chart picture left for click handling.
struct ChartImageState {
  ChartTableArea table;          // not set until a chart is drawn
  bool sixLineShown = false;
  int sixLinePosition = -1;      // display position of its column (3 = 山)
  int sixLineGua = -1;
  bool lineBarActive = false;    // the six-line chart of 山 is shown
  LineBarArea lineBar;
};

class MomentTest;
struct ExaminedList;

// The slot of a person born in `masterYear` (astronomical): the hexagram of the year's 甲子,
// by the settings' mapping of the four pillars (`ijiazi`).
ChartSlot MasterSlotOf(int masterYear, bool alternateJiaziGua);

// The column label of each person after 主命: the first character of the name that labels no column
// yet (长女 after 长子: 女), else the person's number as a full-width digit (２ for the first after 主命).
std::vector<std::string> PersonColumnLabels(const std::vector<OtherPerson>& persons);

class MQuorinDay {
 public:
  MQuorinDay();

  // Remembers the outputs (either may be null), resets the line flips and the
  // click areas, and sizes the picture for the chart font.
  void Attach(RichTextSink* text, draw::Canvas* image);
  // Settings file to read instead of dat/set.ini of the program folder; empty
  // restores the default.
  void SetSettingsPath(std::string path) { settingsPath_ = std::move(path); }

  // 排盘: converts the moment, builds the chart and writes its text. On false
  // `ErrorText()` says why and the previous chart text is left as it was. A request with a zone
  // is the zone's clock time (Gregorian only): a skipped one, or a repeated one without its
  // fold, is refused.
  bool Compute(const TRecordData& request);
  // Re-runs the chart after the user flipped lines of the mountain hexagram.
  bool RecomputeWithChangedLines();

  // The steps, also driven one by one by the search.
  void LoadSettings();
  // A request's zoned clock time read into localClock_ and beijingOfClock_ (both none without a
  // zone); false, with errorText_, and the previous chart's kept, when it cannot be read.
  bool ReadClockOfZone(const TRecordData& request);
  bool ConvertDate();
  void ClearChart();  // positions, pillars and slots to zero
  void ComputePillars();
  // False, with nothing filled, when the request names a mountain, dragon or water
  // column that holds no hexagram.
  bool BuildSlots();
  void WriteHeader();
  void WriteAnalysis();  // 日课分析 and the relation paragraphs
  void ComputeAvoidInfo();
  void WriteShensha();

  // The chart picture. The font is "宋体" at `ImageFontSize()` points (10..35,
  // whole points used); the picture is 55 "国" wide and 0.7 of that high.
  void SetImageFont(double size);
  // Changes the font size by `delta`; false, with nothing changed, when the new size
  // leaves 10..35. Otherwise the picture is resized and cleared.
  bool StepImageFont(double delta);
  double ImageFontSize() const { return fontSize_; }
  // The background of the picture: the chart text view's background colour.
  void SetImageBackground(draw::Color color) { background_ = color; }
  draw::Color ImageBackground() const { return background_; }
  void ClearImage();
  // The chart without a selection: header lines, table, 常用神煞.
  void DrawChartImage();
  // Over a freshly drawn chart: the six-line chart of the column's hexagram (with
  // the line bar for 山) and the relation lines of the band; nothing for band -1.
  void DrawSelection(int column, int band);
  // A left-button release at (x, y): a line-bar cell flips lines and recomputes the
  // chart; a table cell selects (or, clicked again, deselects) its column and band.
  // True when the picture was redrawn.
  bool Click(int x, int y);
  const ChartImageState& ImageState() const { return imageState_; }
  // The four header lines of the picture.
  std::array<std::string, 4> ImageHeaderLines();

  // The entered moment in Beijing time and its Julian day (for day and hour steps).
  struct Moment {
    calendar::CivilDateTime beijingDate;
    calendar::JulianDay beijingJD = 0;
  };
  Moment GetMoment() const { return {beijingDate_, beijingJD_}; }
  // A Julian day as a date rounded to the minute.
  calendar::CivilDateTime DateFromJD(calendar::JulianDay jd) { return date_.FromJulianDay(jd); }
  // The moment `days` from the chart's (1/12 for 时++, -1 for 日--) as the chart's inputs show it:
  // Beijing time, or a zoned chart's clock time.
  calendar::CivilDateTime SteppedMoment(double days);

  // Line flips of the mountain hexagram (index 0 = bottom line).
  const std::array<std::uint8_t, 6>& ChangedLines() const { return changedLines_; }
  void SetChangedLine(int line, bool flipped) { changedLines_.at(static_cast<std::size_t>(line)) = flipped ? 1 : 0; }
  void ClearChangedLines() { changedLines_ = {}; }
  int BaseGua() const { return baseGua_; }

  // The state other parts of the program read.
  const std::string& ErrorText() const { return errorText_; }
  const TRecordData& Request() const { return request_; }
  const ChartSettings& Settings() const { return settings_; }
  const calendar::FourPillars& Pillars() const { return pillars_; }
  const std::array<ChartSlot, kSlotCount>& Slots() const { return slots_; }
  const ChartSlot& Slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
  // The slot shown at a display position (0 龙 … 8 时).
  const ChartSlot& SlotOfPosition(int position) const {
    return Slot(kSlotOfPosition.at(static_cast<std::size_t>(position)));
  }
  std::array<ChartSlot, 4> PillarSlots() const { return {slots_[0], slots_[1], slots_[2], slots_[3]}; }
  const std::array<bool, kPositionCount>& Shown() const { return shown_; }
  int ShownCount() const { return shownCount_; }
  // Display position of the k-th shown column (k from 0), -1 past the last.
  int ShownPosition(int k) const;
  int MasterJiazi() const { return masterJiazi_; }
  int MountainJiazi() const { return mountainJiazi_; }
  int YuanChenJiazi() const { return yuanChenJiazi_; }
  const calendar::CivilDateTime& BeijingDate() const { return beijingDate_; }
  calendar::JulianDay BeijingJD() const { return beijingJD_; }
  const calendar::CivilDateTime& CorrectedDate() const { return correctedDate_; }
  const calendar::CivilDateTime& LunarDate() const { return lunarDate_; }
  const AvoidInfo& Avoid() const { return avoid_; }
  const ChartSelection& Selection() const { return selection_; }
  calendar::MYiDateEx& Date() { return date_; }
  iching::MLiuYaoGua& LiuYao() { return liuYao_; }
  RichTextSink* TextView() const { return text_; }
  draw::Canvas* Image() const { return image_; }

  // The texts the engine writes, for the text view and the chart image.
  std::string HeaderText();
  std::array<std::string, 15> TableLines() const;
  std::array<std::string, 5> ShenshaLines() const;
  // Cell texts of one shown position, in table rows 0, 2, 3, 5, 7, 8, 10, 12, 14.
  std::array<std::string, 9> ColumnCells(int position) const;
  // The persons after 主命 (the request's otherPersons): their slots, the labels of their columns,
  // which stand after 主 in the table, and their cell texts as ColumnCells gives them.
  const std::vector<ChartSlot>& PersonSlots() const { return personSlots_; }
  const std::vector<std::string>& PersonLabels() const { return personLabels_; }
  std::array<std::string, 9> PersonColumnCells(int person) const;

 private:
  // The day hexagram of 甲子 甲午 庚寅 庚申 by season (bRiGua); -1 for other days.
  int SeasonalDayGua();
  // Appends one paragraph and formats its first `headingBytes` GBK bytes.
  void AppendHeaded(const std::string& text, int headingBytes, draw::Color color);
  void WriteChartAfterPillars();
  bool PositionsExist() const;
  // The request's moment converted and its mountain, dragon and water checked; on
  // failure `errorText_` says why.
  bool ConvertDateAndCheckPositions();
  // Pieces the text header and the picture share: "甲辰年 二月 初六日 巳时" and
  // "乙卯(６　损卦　九　金　乾)(乾抽1)".
  std::string LunarDateText() const;
  std::string YuanChenText() const;
  // The picture's parts.
  void SetChartFont(int size, bool bold);
  void DrawTable(int top);
  // The persons after 主命 as a second, smaller table right of the first, above the six-line chart.
  void DrawPersonTable(const ChartTableArea& table);
  void DrawShensha();
  void DrawLinks(int column, int band);
  void DrawLineBar();
  // One link from the selected column (solid, `selectedColor`) and the other column
  // (dotted) from row height `rowY` to where they meet at height `y`, and its text
  // there in `otherColor`: up to the first "-", the rest `secondLine` text heights lower.
  void DrawLink(const std::string& text, int from, int to, int rowY, int y, draw::Color selectedColor,
                draw::Color otherColor, double secondLine);
  PictureSize Picture() const { return image_ ? PictureSize{image_->Width(), image_->Height()} : PictureSize{}; }

  RichTextSink* text_ = nullptr;
  draw::Canvas* image_ = nullptr;
  std::string settingsPath_;
  std::string errorText_;

  TRecordData request_;
  // A zoned request's clock time and the Beijing time it was (Compute reads them); none for the
  // places of China, whose times are Beijing time.
  std::optional<LocalClock> localClock_;
  std::optional<calendar::CivilDateTime> beijingOfClock_;
  ChartSettings settings_;
  calendar::MYiDateEx date_;
  iching::MLiuYaoGua liuYao_;

  calendar::CivilDateTime beijingDate_;
  calendar::JulianDay beijingJD_ = 0;
  calendar::CivilDateTime correctedDate_;
  calendar::CivilDateTime lunarDate_;
  calendar::PreparedMoment prepared_;

  calendar::FourPillars pillars_;
  std::array<ChartSlot, kSlotCount> slots_{};
  std::vector<ChartSlot> personSlots_;
  std::vector<std::string> personLabels_;
  std::array<bool, kPositionCount> shown_{};
  int shownCount_ = 0;
  int masterJiazi_ = 0;
  int mountainJiazi_ = 0;
  int yuanChenJiazi_ = 0;
  AvoidInfo avoid_{-1, -1, -1, -1, -1, -1, -1};

  int baseGua_ = 0;
  int baseMountain_ = 0;  // the mountain the request chose, preferred when lines are flipped
  std::array<std::uint8_t, 6> changedLines_{};
  ChartSelection selection_;

  double fontSize_ = kDefaultImageFontSize;
  draw::Color background_ = draw::kWhite;
  ChartImageState imageState_;

  // The search (查找吉课) over a year or a range of days, in search.cpp.
 public:
  // Walks the request's year in two-hour steps, reports progress and one line per
  // moment that passes (then, when the request asks, one per moment that misses just one
  // ticked condition), and returns how many passed. Writes no text and draws
  // nothing; the request copy, pillars and slots stay at the last moment examined.
  int Search(const SearchRequest& request, SearchSink& sink);
  // The same over any days (the year search is the range of its own year): 00:05,
  // 02:05 … 22:05 of each day, a progress step per day, stopped early when the sink
  // asks. Days that cannot be searched find nothing, with the reason in `ErrorText()`.
  int SearchRange(const SearchRequest& request, const SearchDays& days, SearchSink& sink);
  const SearchRequest& LastSearchRequest() const { return searchRequest_; }
  // Threads the search walks on: 0 (the default) for every core of the machine. Results, their
  // order and the progress are the same on any number.
  void SetSearchThreads(int threads) { searchThreads_ = threads; }

 private:
  // Days a search thread takes at a time.
  static constexpr int kDaysPerShare = 32;
  int SearchThreadCount() const;
  // Tests the day's twelve moments, adding those that pass (unnumbered) to `found`; false when the
  // walk must stop at a moment the calendar cannot convert or chart.
  // A near miss goes to `near` when the request asks for them.
  bool TestDay(const SearchRequest& request, const MomentTest& test, const std::optional<calendar::TimeZone>& zone,
               const calendar::CivilDateTime& day, std::vector<SearchResult>& found, std::vector<SearchResult>& near);
  static void AppendNearMisses(std::vector<SearchResult>& near, int matches, SearchSink& sink);
  // Whether the moment fails exactly one ticked condition, counting those that read the person
  // once for each person; that one in `missed`.
  bool MissesOne(const SearchRequest& request, const MomentTest& test, const ExaminedList& examined,
                 const std::array<ChartSlot, 4>& pillars, bool personsMatter, std::string& missed) const;
  int SearchDaysOnThreads(const SearchRequest& request, const MomentTest& test,
                          const std::optional<calendar::TimeZone>& zone, calendar::CivilDateTime day, int lastDay,
                          int threads, SearchSink& sink);

  SearchRequest searchRequest_;
  int searchThreads_ = 0;
};

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/quorin_day.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/utf8.h"
#include "chart/day_analysis.h"
#include "chart/domain_tables.h"
#include "chart/position_relations.h"
#include "chart/text_units.h"

namespace quorin::chart {
namespace {

bool ColumnHoldsGua(MountainIndex mountain, int column) { return GuaForMountain(mountain, column) >= 0; }

}  // namespace

MQuorinDay::MQuorinDay() = default;

void MQuorinDay::Attach(RichTextSink* text, draw::Canvas* image) {
  text_ = text;
  image_ = image;
  changedLines_ = {};
  selection_ = {};
  imageState_ = {};
  if (image_) StepImageFont(0);
}

void MQuorinDay::LoadSettings() {
  settings_ = LoadChartSettings(settingsPath_.empty() ? DefaultSettingsPath() : settingsPath_);
}

bool MQuorinDay::Compute(const TRecordData& request) {
  LoadSettings();
  if (!ReadClockOfZone(request)) return false;
  request_ = request;
  if (!ConvertDateAndCheckPositions()) return false;
  ClearChart();
  changedLines_ = {};
  ComputePillars();
  BuildSlots();
  baseGua_ = slots_[kSlotMountain].gua;
  baseMountain_ = request_.mountain;
  WriteChartAfterPillars();
  selection_ = {};
  DrawChartImage();
  return true;
}

bool MQuorinDay::RecomputeWithChangedLines() {
  LoadSettings();
  const int gua = liuYao_.ChangedGua(baseGua_, changedLines_);
  // A hexagram on a boundary lies in two mountains: stay on the mountain the
  // request chose while it holds the hexagram, so flipping a line and flipping
  // it back returns to the chosen chart.
  int mountain = -1;
  int column = -1;
  for (int c = 0; c < kMountainColumns && mountain < 0; ++c) {
    if (GuaForMountain(baseMountain_, c) == gua) {
      mountain = baseMountain_;
      column = c;
    }
  }
  for (int m = 0; m < kMountainCount && mountain < 0; ++m) {
    for (int c = 0; c < kMountainColumns && mountain < 0; ++c) {
      if (GuaForMountain(m, c) == gua) {
        mountain = m;
        column = c;
      }
    }
  }
  request_.mountain = mountain;
  request_.mountainGua = column;
  if (!ConvertDateAndCheckPositions()) return false;
  ClearChart();
  ComputePillars();
  BuildSlots();
  WriteChartAfterPillars();
  DrawChartImage();
  DrawSelection(selection_.column, selection_.band);
  return true;
}

bool MQuorinDay::ReadClockOfZone(const TRecordData& r) {
  errorText_.clear();
  if (r.zone.empty()) {
    localClock_.reset();
    beijingOfClock_.reset();
    return true;
  }
  if (r.isLunar) {
    errorText_ = "有时区的地点，请用公历输入当地的钟表时间。";
    return false;
  }
  const calendar::CivilDateTime clock{r.year, r.month, r.day, r.hour, r.minute};
  // A day the calendar lacks is refused as an entered Beijing time would be, not rolled over.
  if (r.hour < 0 || r.hour > 23 || r.minute < 0 || r.minute > 59 || !date_.IsValidDate(clock)) {
    errorText_ = calendar::kNoSuchDate;
    return false;
  }
  const ZonedClockReading reading = ReadZonedClock(clock, r.zone, r.fold);
  if (!reading.clock) {
    errorText_ = reading.problem;
    if (reading.kind == calendar::ClockTimeKind::kRepeated)
      errorText_ += "请选择第一次（" + OffsetChoiceText(reading.offsets[0]) + "）或第二次（" +
                    OffsetChoiceText(reading.offsets[1]) + "）。";
    return false;
  }
  localClock_ = reading.clock;
  beijingOfClock_ = reading.beijing;
  return true;
}

bool MQuorinDay::ConvertDate() {
  errorText_.clear();
  const TRecordData& r = request_;
  // The input lists offer nothing else; a stored case or a script might.
  if (r.month < 1 || r.month > 12 || r.day < 1 || r.day > (r.isLunar ? 30 : 31) || r.hour < 0 || r.hour > 23 ||
      r.minute < 0 || r.minute > 59) {
    errorText_ = r.isLunar ? calendar::kNoSuchLunarDate : calendar::kNoSuchDate;
    return false;
  }
  calendar::MomentInput in;
  in.entered = beijingOfClock_.value_or(calendar::CivilDateTime{r.year, r.month, r.day, r.hour, r.minute});
  in.isLunar = r.isLunar;
  in.isLeapMonth = r.isLeapMonth;
  in.mode = calendar::TimeCorrectionModeFromSetting(settings_.idate);
  in.longitude = r.longitude;
  calendar::PreparedMoment out;
  const calendar::Outcome outcome = date_.PrepareMoment(in, out);
  if (!outcome.ok) {
    errorText_ = outcome.message;
    return false;
  }
  prepared_ = out;
  beijingDate_ = out.beijingDate;
  beijingJD_ = out.beijingJD;
  correctedDate_ = out.correctedDate;
  lunarDate_ = out.lunarDate;
  request_.isLeapMonth = out.isLeapMonth;
  return true;
}

bool MQuorinDay::ConvertDateAndCheckPositions() {
  if (!ConvertDate()) return false;
  if (!PositionsExist()) {
    errorText_ = kNoSuchPosition;
    return false;
  }
  return true;
}

ChartSlot MasterSlotOf(int masterYear, bool alternateJiaziGua) {
  return FillSlot(GuaForJiazi(calendar::YearJiazi(masterYear).Number(), alternateJiaziGua), kKindMaster);
}

std::vector<std::string> PersonColumnLabels(const std::vector<OtherPerson>& persons) {
  std::vector<std::string> used;
  for (int position = 0; position < kPositionCount; ++position) used.emplace_back(PositionLabel(position));
  std::vector<std::string> labels;
  for (std::size_t p = 0; p < persons.size(); ++p) {
    // The first character of the name that labels no column yet. Only a Chinese character fills a
    // column as the others' labels do (a Latin letter is half as wide).
    std::string label;
    const std::string& name = persons[p].name;
    for (std::size_t at = 0; at < name.size() && label.empty();) {
      const std::size_t start = at;
      const char32_t c = base::NextCodePoint(name, at);
      const std::string character = name.substr(start, at - start);
      const bool chinese = (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
      if (chinese && std::find(used.begin(), used.end(), character) == used.end()) label = character;
    }
    if (label.empty()) label = FullWidthDigit(static_cast<int>(p) + 2);
    used.push_back(label);
    labels.push_back(std::move(label));
  }
  return labels;
}

calendar::CivilDateTime MQuorinDay::SteppedMoment(double days) {
  const TRecordData& r = request_;
  const calendar::JulianDay from = r.zone.empty() ? beijingJD_ : date_.ToJulianDay({r.year, r.month, r.day, r.hour, r.minute});
  // Five seconds more keep a step from landing a hair before the minute it aims at.
  return date_.FromJulianDay(from + days + 5.0 / 86400.0);
}

void MQuorinDay::ClearChart() {
  shown_ = {};
  shownCount_ = 0;
  pillars_ = {};
  masterJiazi_ = 0;
  mountainJiazi_ = 0;
  yuanChenJiazi_ = 0;
  slots_ = {};
  personSlots_.clear();  // keeps its room: the search clears the chart for every moment
}

void MQuorinDay::ComputePillars() { pillars_ = date_.ComputeFourPillars(prepared_); }

bool MQuorinDay::PositionsExist() const {
  const TRecordData& r = request_;
  return ColumnHoldsGua(r.mountain, r.mountainGua) &&
         (r.dragonMountain == -1 || ColumnHoldsGua(r.dragonMountain, r.dragonGua)) &&
         (r.waterMountain == -1 || ColumnHoldsGua(r.waterMountain, r.waterGua));
}

bool MQuorinDay::BuildSlots() {
  if (!PositionsExist()) return false;
  const TRecordData& r = request_;
  const GuaIndex mountainGua = GuaForMountain(r.mountain, r.mountainGua);
  slots_[kSlotMountain] = FillSlot(mountainGua, kKindMountain);
  if (r.showFacing) slots_[kSlotFacing] = FillSlot(OppositeGua(mountainGua), kKindFacing);
  const bool dragon = r.dragonMountain != -1;
  const bool water = r.waterMountain != -1;
  if (dragon) slots_[kSlotDragon] = FillSlot(GuaForMountain(r.dragonMountain, r.dragonGua), kKindDragon);
  if (water) slots_[kSlotWater] = FillSlot(GuaForMountain(r.waterMountain, r.waterGua), kKindWater);

  mountainJiazi_ = slots_[kSlotMountain].jiazi;
  yuanChenJiazi_ = slots_[kSlotMountain].yuanChen;
  masterJiazi_ = calendar::YearJiazi(r.masterYear).Number();

  const bool alternate = settings_.ijiazi == 1;
  const std::array<int, 4> pillars{pillars_.year, pillars_.month, pillars_.day, pillars_.hour};
  for (int i = 0; i < 4; ++i) {
    GuaIndex gua = GuaForJiazi(pillars[static_cast<std::size_t>(i)], alternate);
    if (i == kSlotDay && settings_.bRiGua) {
      const int seasonal = SeasonalDayGua();
      if (seasonal >= 0) gua = seasonal;
    }
    slots_[static_cast<std::size_t>(i)] = FillSlot(gua, static_cast<std::uint8_t>(kKindYear + i));
  }
  slots_[kSlotMaster] = MasterSlotOf(r.masterYear, alternate);
  for (const OtherPerson& person : r.otherPersons) personSlots_.push_back(MasterSlotOf(person.masterYear, alternate));
  if (!r.otherPersons.empty() || !personLabels_.empty()) personLabels_ = PersonColumnLabels(r.otherPersons);
  slots_[kSlotYuanChen] = FillSlot(GuaForJiazi(yuanChenJiazi_, alternate), kKindYuanChen);

  shown_ = {dragon, water, true, true, r.showFacing, true, true, true, true};
  shownCount_ = 0;
  for (bool s : shown_) shownCount_ += s ? 1 : 0;
  return true;
}

int MQuorinDay::SeasonalDayGua() {
  const int day = pillars_.day;
  const bool ziWu = day == 1 || day == 31;       // 甲子, 甲午: 夏至 to 冬至
  const bool yinShen = day == 27 || day == 57;   // 庚寅, 庚申: 惊蛰 to 白露
  if (!ziWu && !yinShen) return -1;
  int year = beijingDate_.year;
  if (calendar::YearJiazi(year).Number() != pillars_.year) --year;
  const calendar::CivilDateTime from = ziWu ? date_.SolarTermMoment(year, 6, false) : date_.SolarTermMoment(year, 3, true);
  const calendar::CivilDateTime to = ziWu ? date_.SolarTermMoment(year, 12, false) : date_.SolarTermMoment(year, 9, true);
  const bool inside = beijingJD_ >= date_.ToJulianDay(from) && beijingJD_ < date_.ToJulianDay(to);
  switch (day) {
    case 1: return inside ? 56 : 57;   // 坤 / 复
    case 31: return inside ? 1 : 0;    // 姤 / 乾
    case 27: return inside ? 44 : 16;  // 革 / 离
    default: return inside ? 40 : 20;  // 坎 / 蒙
  }
}

int MQuorinDay::ShownPosition(int k) const {
  for (int position = 0; position < kPositionCount; ++position) {
    if (shown_[static_cast<std::size_t>(position)] && k-- == 0) return position;
  }
  return -1;
}

void MQuorinDay::AppendHeaded(const std::string& text, int headingBytes, draw::Color color) {
  const int start = text_->Length();
  text_->AppendParagraph(WithPlainLineBreaks(text));
  const UnitRange heading = GbkRangeToUnits(text, 0, headingBytes);
  text_->FormatRange(start + heading.start, heading.length, color, true);
}

void MQuorinDay::WriteAnalysis() {
  if (!text_) return;
  const std::array<ChartSlot, 4> pillars = PillarSlots();
  AppendHeaded(DayAnalysisText(pillars), kDayAnalysisHeadingBytes, draw::kBlue);
  AppendHeaded(MasterAgainstMountainText(slots_[kSlotMaster], slots_[kSlotMountain]),
               base::GbkByteLength("主命和山家关系："), draw::kBlue);
  const std::vector<OtherPerson>& persons = request_.otherPersons;
  for (std::size_t p = 0; p < personSlots_.size(); ++p) {
    AppendHeaded(PersonAgainstMountainText(personSlots_[p], slots_[kSlotMountain], persons[p].name, personLabels_[p]),
                 base::GbkByteLength(persons[p].name + "和山家关系："), draw::kBlue);
  }
  auto write = [&](std::string heading, const ChartSlot& slot, std::string_view label) {
    const HeadedParagraph p = PositionParagraph(std::move(heading), slot, label, pillars);
    AppendHeaded(p.text, base::GbkByteLength(p.heading), draw::kBlue);
  };
  if (shown_[0]) write(std::string(MountainName(request_.dragonMountain)) + "龙和日课的关系：", slots_[kSlotDragon], "龙");
  if (shown_[1]) write(std::string(MountainName(request_.waterMountain)) + "水和日课的关系：", slots_[kSlotWater], "水");
  write("主命和日课关系：", slots_[kSlotMaster], "主");
  for (std::size_t p = 0; p < personSlots_.size(); ++p)
    write(persons[p].name + "和日课关系：", personSlots_[p], personLabels_[p]);
  write("山家和日课关系：", slots_[kSlotMountain], "山");
  if (shown_[4]) write("朝向和日课关系：", slots_[kSlotFacing], "向");
}

void MQuorinDay::ComputeAvoidInfo() {
  avoid_ = chart::ComputeAvoidInfo(request_.mountain, slots_[kSlotMaster], slots_[kSlotMountain]);
}

std::array<std::string, 5> MQuorinDay::ShenshaLines() const {
  return chart::ShenshaLines(avoid_, pillars_.year, pillars_.month);
}

void MQuorinDay::WriteShensha() {
  if (!text_) return;
  AppendHeaded(ShenshaText(ShenshaLines()), kShenshaHeadingBytes, draw::kGreen);
}

void MQuorinDay::WriteChartAfterPillars() {
  WriteHeader();
  WriteAnalysis();
  ComputeAvoidInfo();
  WriteShensha();
  if (text_) text_->MoveCaretToStart();
}

}  // namespace quorin::chart

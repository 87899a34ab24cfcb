// SPDX-License-Identifier: GPL-3.0-or-later
// The chart header and the chart table of the day chart text.
#include <cmath>

#include "base/gbk.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/zone_time.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/header_parts.h"
#include "chart/text_units.h"

namespace quorin::chart {
namespace {

std::string DegreesMinutes(float value) {
  const auto [degrees, minutes] = WholeDegreesAndMinutes(value);
  return std::to_string(degrees) + "度" + std::to_string(minutes) + "分";
}

}  // namespace

std::string ChartDateText(const calendar::CivilDateTime& d) {
  return std::to_string(calendar::HistoricalYear(d.year)) + "年" + std::to_string(d.month) + "月" + std::to_string(d.day) + "日" +
         std::to_string(d.hour) + "时" + std::to_string(d.minute) + "分";
}

std::string OtherPersonsLine(const std::vector<OtherPerson>& persons, std::string_view colon, std::string_view open,
                             std::string_view close, std::string_view separator) {
  if (persons.empty()) return {};
  std::string line = "其他人" + std::string(colon);
  for (std::size_t p = 0; p < persons.size(); ++p) {
    const OtherPerson& person = persons[p];
    if (p > 0) line += separator;
    line.append(person.name).append(open).append(std::to_string(calendar::HistoricalYear(person.masterYear)));
    line.append(person.male ? "年-男命" : "年-女命").append(close);
  }
  return line;
}

std::pair<int, int> WholeDegreesAndMinutes(float value) {
  const double degrees = std::floor(static_cast<double>(value));
  const double minutes = calendar::MYiDateEx::RoundTo((static_cast<double>(value) - degrees) * 60.0, 0);
  return {static_cast<int>(degrees), static_cast<int>(minutes)};
}

std::string MainlandSummerTimeNote(const calendar::CivilDateTime& beijing) {
  // The mainland's clocks of the summers 1986-1991, as the time zone database records them.
  constexpr int kFirstSummer = 1986, kLastSummer = 1991;
  if (beijing.year < kFirstSummer || beijing.year > kLastSummer) return {};
  const std::optional<calendar::ZoneSpan> span = calendar::SpanAtBeijingTime(kMainlandZone, beijing);
  if (!span || !span->offset.summerTime) return {};
  const auto day = [](const calendar::CivilDateTime& t) {
    return std::to_string(t.month) + "月" + std::to_string(t.day) + "日";
  };
  return "注意：" + std::to_string(calendar::HistoricalYear(span->startsBeijing.year)) + "年" + day(span->startsBeijing) +
         "至" + day(span->endsBeijing) + "中国实行夏令时，当时的钟表时间比北京时间快一小时。这里的时间是北京时间；" +
         "输入的若是当时钟表上的时间，请在时区中选“中国（按当时钟表时间，含1986–1991年夏令时）”（命令行用 --zone Asia/Shanghai），或减去一小时再排盘。\r\n";
}

std::string LocalClockNote(const LocalClock& local) {
  return local.zoneName + "时间，" + calendar::UtcOffsetText(local.offsetSeconds) + (local.summerTime ? "，夏令时" : "") +
         (local.beforeHistory ? "，当地平时" : "") + (local.beyondRecords ? "，时区数据只记到2037年，按其最后的时差" : "");
}

std::string MQuorinDay::HeaderText() {
  const TRecordData& r = request_;
  std::string h = "主命：" + r.name + "（" + std::to_string(calendar::HistoricalYear(r.masterYear)) + "年-";
  h += r.male ? "男命），" : "女命），";
  h += std::string(MountainName(r.mountain)) + "山(" + calendar::PillarName(mountainJiazi_) + ")\r\n";
  h += OtherPersonsLine(r.otherPersons, "：", "（", "）", "、");
  if (!r.otherPersons.empty()) h += "\r\n";
  h += "地点：";
  // A zoned place's clock time stands above the Beijing time it is.
  const std::string local = localClock_ ? "当地时间：" + ChartDateText(localClock_->clock) + "(" + LocalClockNote(*localClock_) + ")\r\n" : "";
  if (settings_.idate == 0) {
    h += r.addrName + "\r\n";
    h += local + "公历：" + ChartDateText(correctedDate_) + "(北京时间)，";
  } else {
    h += r.addrName + "，";
    h += "经度:" + DegreesMinutes(r.longitude) + ",";
    h += "纬度:" + DegreesMinutes(r.latitude) + "。\r\n";
    h += local + "公历：" + ChartDateText(beijingDate_) + "(北京时间)。\r\n";
    h += "公历：" + ChartDateText(correctedDate_) + (settings_.idate == 1 ? "(真太阳时)，" : "(地方时)，");
  }
  h += "星期" + std::string(WeekdayName(date_.WeekDay(correctedDate_))) + "\r\n";
  if (!localClock_) h += MainlandSummerTimeNote(beijingDate_);

  h += "农历：" + LunarDateText() + "\r\n";
  h += "元辰：" + YuanChenText() + "\r\n\r\n";
  return h;
}

std::string LunarDateTimeText(const calendar::CivilDateTime& lunar, bool leapMonth) {
  std::string t = calendar::MYiDateEx::ChineseNumeral(calendar::HistoricalYear(lunar.year)) + "年";
  t += " " + calendar::LunarMonthText(lunar.month, leapMonth) + " ";
  t += calendar::LunarDayText(lunar.day) + "日";
  return t + " " + std::string(calendar::HourBranch(lunar.hour).Name()) + "时";
}

std::string MQuorinDay::LunarDateText() const { return LunarDateTimeText(lunarDate_, request_.isLeapMonth); }

std::string MQuorinDay::YuanChenText() const {
  const ChartSlot& yc = slots_[kSlotYuanChen];
  std::string t = calendar::PillarName(yuanChenJiazi_);
  t += "(" + std::string(FullWidthDigit(yc.guaQi)) + "　" + std::string(GuaShortName(yc.gua)) + "卦　" +
       std::string(NumeralName(yc.guaYun)) + "　" + std::string(ElementName(RiverChartElement(yc.guaQi))) + "　";
  t += std::string(NinePalaceName(yc.palaceNum)) + ")";
  if (slots_[kSlotMountain].gua != baseGua_) {
    t += "(" + std::string(GuaShortName(baseGua_)) + "抽";
    for (int line = 0; line < 6; ++line) {
      if (changedLines_[static_cast<std::size_t>(line)]) t += std::to_string(line + 1) + "-";
    }
    if (t.back() == '-') t.pop_back();
    t += ")";
  }
  return t;
}

namespace {

// The cells of a slot under `label`, its pillar's stem over its branch.
std::array<std::string, 9> SlotCells(const ChartSlot& s, std::string_view label) {
  std::array<std::string, 9> cells;
  cells[0] = label;
  const calendar::Jiazi pillar(s.jiazi);
  cells[1] = pillar.StemPart().Name();
  cells[2] = pillar.BranchPart().Name();
  cells[3] = FullWidthDigit(s.guaQi);
  std::string name(GuaShortName(s.gua));
  if (name.size() == 3) name += "卦";  // one character: 乾 shows 乾 over 卦
  cells[4] = name.substr(0, 3);
  cells[5] = name.substr(3, 3);
  cells[6] = NumeralName(s.guaYun);
  cells[7] = ElementName(RiverChartElement(s.guaQi));
  cells[8] = NinePalaceName(s.palaceNum);
  return cells;
}

}  // namespace

std::array<std::string, 9> MQuorinDay::ColumnCells(int position) const {
  std::array<std::string, 9> cells = SlotCells(SlotOfPosition(position), PositionLabel(position));
  const TRecordData& r = request_;
  const bool compassPosition = position == 0 || position == 1 || position == 3 || position == 4;
  if (compassPosition && settings_.iShanShow == 0) {
    const int mountain = position == 0   ? r.dragonMountain
                         : position == 1 ? r.waterMountain
                         : position == 3 ? r.mountain
                                         : (r.mountain + kMountainCount / 2) % kMountainCount;  // 向, facing the 山
    cells[1] = MountainName(mountain);
    cells[2] = PositionLabel(position);
  }
  return cells;
}

std::array<std::string, 9> MQuorinDay::PersonColumnCells(int person) const {
  const auto p = static_cast<std::size_t>(person);
  return SlotCells(personSlots_.at(p), personLabels_.at(p));
}

std::array<std::string, 15> MQuorinDay::TableLines() const {
  static constexpr std::array<int, 9> kRows{0, 2, 3, 5, 7, 8, 10, 12, 14};
  std::array<std::string, 15> lines;
  lines.fill("　　");
  auto add = [&](const std::array<std::string, 9>& cells) {
    for (std::size_t i = 0; i < kRows.size(); ++i) lines[static_cast<std::size_t>(kRows[i])] += cells[i] + "　　";
  };
  for (int position = 0; position < kPositionCount; ++position) {
    if (!shown_[static_cast<std::size_t>(position)]) continue;
    add(ColumnCells(position));
    // The other persons stand beside 主命.
    if (position == 2)
      for (std::size_t p = 0; p < personSlots_.size(); ++p) add(PersonColumnCells(static_cast<int>(p)));
  }
  return lines;
}

void MQuorinDay::WriteHeader() {
  if (!text_) return;
  text_->Clear();
  text_->SetDefaultFont(draw::kBlack, false);
  text_->SetLeftAlignment(settings_.leftpos);
  text_->AppendParagraph(WithPlainLineBreaks(HeaderText()));
  // The non-pillar columns red, the four pillar columns blue.
  const int redBytes = 6 * (shownCount_ + static_cast<int>(personSlots_.size())) - 20;
  for (const auto& line : TableLines()) {
    const int start = text_->Length();
    text_->AppendParagraph(line);
    if (base::GbkByteLength(line) <= 9) continue;
    const UnitRange red = GbkRangeToUnits(line, 0, redBytes);
    const UnitRange blue = GbkRangeToUnits(line, redBytes, 24);
    text_->FormatRange(start + red.start, red.length, draw::kRed, false);
    text_->FormatRange(start + blue.start, blue.length, draw::kBlue, false);
  }
  text_->AppendParagraph(" ");
}

}  // namespace quorin::chart

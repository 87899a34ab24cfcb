#include "ui/frm_wnl_month.h"

#include <string>

#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"

namespace quorin::ui {

using calendar::CivilDateTime;
using calendar::MYiDateEx;
using calendar::SolarTermRecord;

namespace {

constexpr int kReformYear = 1582;
constexpr int kReformMonth = 10;
constexpr int kLastJulianDay = 4;  // 1582-10-04 is followed by 1582-10-15
constexpr int kReformSkip = 10;
constexpr int kMaxMonthTerms = 3;
constexpr int kMaxScannedTerms = 30;

CivilDateTime DayAtNoon(int year, int month, int day) {
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day), 12, 0};
}

bool IsReformMonth(int year, int month) { return year == kReformYear && month == kReformMonth; }

}  // namespace

int ShownDay(int year, int month, int j) {
  return IsReformMonth(year, month) && j > kLastJulianDay ? j + kReformSkip : j;
}

int MonthLength(MYiDateEx& date, const CivilDateTime& selected) {
  if (!date.IsValidDate(selected)) return 0;
  int length = 0;
  for (int day = 1; day <= 31; ++day) {
    if (date.IsValidDate(DayAtNoon(selected.year, selected.month, day))) ++length;
  }
  return length;
}

int FirstColumn(MYiDateEx& date, int year, int month) { return (date.WeekDay(DayAtNoon(year, month, 1)) + 6) % 7; }

std::vector<SolarTermRecord> TermsOfMonth(const std::vector<SolarTermRecord>& yearTerms, int month) {
  std::vector<SolarTermRecord> found;
  for (std::size_t i = 0; i < yearTerms.size() && i < kMaxScannedTerms; ++i) {
    const SolarTermRecord& term = yearTerms[i];
    if (term.year == calendar::kSolarTermListEnd) break;
    if (term.month == month && found.size() < kMaxMonthTerms) found.push_back(term);
  }
  return found;
}

std::string TermLinesText(const std::vector<SolarTermRecord>& monthTerms) {
  std::string text;
  for (const SolarTermRecord& term : monthTerms) {
    text += calendar::kSolarTermNames.at(static_cast<std::size_t>(term.termIndex));
    text += ":" + std::to_string(term.day) + "日" + std::to_string(term.hour) + "时" + std::to_string(term.minute) +
            "分\n\n";
  }
  return text;
}

std::vector<MonthDayCell> MonthCells(MYiDateEx& date, int year, int month, int length, int firstColumn,
                                     const std::vector<SolarTermRecord>& monthTerms) {
  std::vector<MonthDayCell> cells;
  cells.reserve(static_cast<std::size_t>(length));
  for (int j = 1; j <= length; ++j) {
    MonthDayCell cell;
    cell.day = ShownDay(year, month, j);
    const int position = firstColumn + j - 1;
    cell.column = position % 7;
    cell.row = 1 + position / 7;
    cell.number = j == 1 ? std::to_string(month) + "月" : std::to_string(cell.day);
    CivilDateTime lunar;
    const bool leap = date.SolarToLunar(DayAtNoon(year, month, cell.day), lunar);
    cell.lunar = calendar::LunarDateText(lunar.month, lunar.day, leap);
    for (const SolarTermRecord& term : monthTerms) {
      if (term.day == cell.day) cell.term = calendar::kSolarTermNames.at(static_cast<std::size_t>(term.termIndex));
    }
    cells.push_back(std::move(cell));
  }
  return cells;
}

std::optional<int> DayIndexOfCell(int cell, int firstColumn, int length, int year, int month) {
  if (cell < firstColumn || cell >= firstColumn + length) return std::nullopt;
  return ShownDay(year, month, cell - firstColumn + 1) - 1;
}

PillarTexts PillarTextsOf(MYiDateEx& date, const CivilDateTime& selected) {
  PillarTexts texts;
  texts.monthLabel = std::to_string(calendar::HistoricalYear(selected.year)) + "年" + std::to_string(selected.month) + "月";

  // Beijing time as selected: the calendar shows the civil moment, not a corrected one.
  calendar::PreparedMoment moment;
  moment.beijingDate = selected;
  moment.beijingJD = date.ToJulianDay(selected);
  moment.correctedDate = selected;
  const calendar::FourPillars pillars = date.ComputeFourPillars(moment);

  const CivilDateTime springBegins = date.SolarTermMoment(selected.year, 2, true);
  const int pillarYear = moment.beijingJD < date.ToJulianDay(springBegins) ? selected.year - 1 : selected.year;
  texts.title = calendar::EraText(pillarYear) + "  【" +
                std::string(calendar::kZodiacAnimals.at(static_cast<std::size_t>(pillars.year % 12))) + "年】";
  texts.pillars = calendar::PillarName(pillars.year) + "年\n" + calendar::PillarName(pillars.month) + "月\n" +
                  calendar::PillarName(pillars.day) + "日\n" + calendar::PillarName(pillars.hour) + "时";
  return texts;
}

}  // namespace quorin::ui

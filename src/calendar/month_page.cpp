// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/month_page.h"

#include <string>

#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/julian_day.h"
#include "calendar/sexagenary.h"

namespace quorin::calendar {

namespace {

constexpr int kMaxMonthTerms = 3;
constexpr int kMaxScannedTerms = 30;
constexpr int kLongestMonth = 31;  // the length scan tries every day a month can have
constexpr int kDaysPerWeek = 7;
constexpr int kFallbackDay = 15;       // every month has it, and it follows the 1582 gap
constexpr int kSpringBeginsMonth = 2;  // 立春, which starts the pillar year, is February's 节

CivilDateTime DayAtNoon(int year, int month, int day) {
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day), 12, 0};
}

}  // namespace

int ShownDay(int year, int month, int ordinal) {
  return IsReformMonth(year, month) && ordinal > kLastJulianDay ? ordinal + kReformDroppedDays : ordinal;
}

int MonthLength(MYiDateEx& date, const CivilDateTime& selected) {
  if (!date.IsValidDate(selected)) return 0;
  int length = 0;
  for (int day = 1; day <= kLongestMonth; ++day) {
    if (date.IsValidDate(DayAtNoon(selected.year, selected.month, day))) ++length;
  }
  return length;
}

int OpeningDay(MYiDateEx& date, const CivilDateTime& selected) {
  return date.IsValidDate(selected) ? selected.day : kFallbackDay;
}

std::optional<HistoricalMonth> NeighbourMonth(int year, int month, int step) {
  const int edgeMonth = step < 0 ? 1 : 12;  // the month where the year changes
  const int edgeYear = step < 0 ? kFirstHistoricalYear : kLastHistoricalYear;
  if (month != edgeMonth) return HistoricalMonth{year, month + step};
  if (year == edgeYear) return std::nullopt;
  int next = year + step;
  if (next == 0) next = step;  // there is no year 0
  return HistoricalMonth{next, step < 0 ? 12 : 1};
}

// WeekDay counts from Sunday; the page's columns start on Monday.
int FirstColumn(MYiDateEx& date, int year, int month) {
  return (date.WeekDay(DayAtNoon(year, month, 1)) + kDaysPerWeek - 1) % kDaysPerWeek;
}

std::vector<SolarTermRecord> TermsOfMonth(const std::vector<SolarTermRecord>& yearTerms, int month) {
  std::vector<SolarTermRecord> found;
  for (std::size_t i = 0; i < yearTerms.size() && i < kMaxScannedTerms; ++i) {
    const SolarTermRecord& term = yearTerms[i];
    if (term.year == kSolarTermListEnd) break;
    if (term.month == month && found.size() < kMaxMonthTerms) found.push_back(term);
  }
  return found;
}

std::string TermLinesText(const std::vector<SolarTermRecord>& monthTerms) {
  std::string text;
  for (const SolarTermRecord& term : monthTerms) {
    text += kSolarTermNames.at(static_cast<std::size_t>(term.termIndex));
    text += ":" + std::to_string(term.day) + "日" + std::to_string(term.hour) + "时" + std::to_string(term.minute) +
            "分\n\n";
  }
  return text;
}

std::vector<MonthDayCell> MonthCells(MYiDateEx& date, int year, int month, int length, int firstColumn,
                                     const std::vector<SolarTermRecord>& monthTerms) {
  std::vector<MonthDayCell> cells;
  cells.reserve(static_cast<std::size_t>(length));
  for (int ordinal = 1; ordinal <= length; ++ordinal) {
    MonthDayCell cell;
    cell.day = ShownDay(year, month, ordinal);
    const int position = firstColumn + ordinal - 1;
    cell.column = position % kDaysPerWeek;
    cell.row = 1 + position / kDaysPerWeek;
    cell.number = ordinal == 1 ? std::to_string(month) + "月" : std::to_string(cell.day);
    CivilDateTime lunar;
    const bool leap = date.SolarToLunar(DayAtNoon(year, month, cell.day), lunar);
    cell.lunar = LunarDateText(lunar.month, lunar.day, leap);
    for (const SolarTermRecord& term : monthTerms) {
      if (term.day == cell.day) cell.term = kSolarTermNames.at(static_cast<std::size_t>(term.termIndex));
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
  texts.monthLabel = std::to_string(HistoricalYear(selected.year)) + "年" + std::to_string(selected.month) + "月";

  // Beijing time as selected: the calendar shows the civil moment, not a corrected one.
  PreparedMoment moment;
  moment.beijingDate = selected;
  moment.beijingJD = date.ToJulianDay(selected);
  moment.correctedDate = selected;
  const FourPillars pillars = date.ComputeFourPillars(moment);

  const CivilDateTime springBegins = date.SolarTermMoment(selected.year, kSpringBeginsMonth, true);
  const int pillarYear = moment.beijingJD < date.ToJulianDay(springBegins) ? selected.year - 1 : selected.year;
  texts.title = EraText(pillarYear) + "  【" +
                std::string(kZodiacAnimals.at(static_cast<std::size_t>(Jiazi(pillars.year).BranchPart().Number()))) + "年】";
  texts.pillars = PillarName(pillars.year) + "年\n" + PillarName(pillars.month) + "月\n" + PillarName(pillars.day) +
                  "日\n" + PillarName(pillars.hour) + "时";
  return texts;
}

}  // namespace quorin::calendar

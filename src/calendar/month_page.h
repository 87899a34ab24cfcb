// SPDX-License-Identifier: GPL-3.0-or-later
// The month page of the perpetual calendar as data: which days sit in which cells, their
// lunar dates and solar terms, and the era and pillar texts of a selected moment. The
// window only draws what this computes, so the page can be checked without a screen.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "calendar/yi_date_ex.h"

namespace quorin::calendar {

// The civil day of the month's `ordinal`-th day (from 1). Months keep their days through
// the change of calendar, except October 1582, which jumps from the 4th (Julian) to the
// 15th (Gregorian).
int ShownDay(int year, int month, int ordinal);

// Days in the month of `selected` (21 for October 1582), or 0 when the selected day does not exist.
int MonthLength(MYiDateEx& date, const CivilDateTime& selected);
// The day a page opens on: the selected day, or the 15th when the month lacks it (the
// 5th to 14th of October 1582, or a day past the month's end).
int OpeningDay(MYiDateEx& date, const CivilDateTime& selected);
// A month of a historical year (no year 0).
struct HistoricalMonth {
  int year = 1;
  int month = 1;
};
// The month `step` (-1 or +1) away from `month` of historical `year`, over the year's end and
// the missing year 0; nothing past the first month of -4713 or the last of 9999.
[[nodiscard]] std::optional<HistoricalMonth> NeighbourMonth(int year, int month, int step);

// Column of the month's first day, Monday = 0 … Sunday = 6.
int FirstColumn(MYiDateEx& date, int year, int month);

// The terms of a year's list that fall in `month` (at most three; the list ends at its terminator).
std::vector<SolarTermRecord> TermsOfMonth(const std::vector<SolarTermRecord>& yearTerms, int month);
// "寒露:8日22时12分" lines of the terms, each followed by an empty line.
std::string TermLinesText(const std::vector<SolarTermRecord>& monthTerms);

// One day of the grid.
struct MonthDayCell {
  int day = 1;         // the civil day
  int column = 0;      // 0 = Monday … 6 = Sunday
  int row = 1;         // 1..6; row 0 holds the weekday names
  std::string number;  // "10月" on the first day, otherwise the day
  std::string lunar;   // lunar month and day, e.g. "闰二月十一"
  std::string term;    // name of the solar term of the day, empty when none
};

// The days of a month laid into the grid (`length` and `firstColumn` as computed above).
std::vector<MonthDayCell> MonthCells(MYiDateEx& date, int year, int month, int length, int firstColumn,
                                     const std::vector<SolarTermRecord>& monthTerms);

// The day list index (0 = "1日") of the grid cell k counted from the first week row, or
// nothing when the cell holds no day of the month.
[[nodiscard]] std::optional<int> DayIndexOfCell(int cell, int firstColumn, int length, int year, int month);

// Texts of the selected moment: "1582年10月", the era and zodiac title, and the four pillars.
struct PillarTexts {
  std::string monthLabel;
  std::string title;
  std::string pillars;
};
PillarTexts PillarTextsOf(MYiDateEx& date, const CivilDateTime& selected);

}  // namespace quorin::calendar

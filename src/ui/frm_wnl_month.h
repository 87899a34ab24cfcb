// The month page of the perpetual calendar as data: which days sit in which cells, their
// lunar dates and solar terms, and the era and pillar texts of a selected moment. The
// window only draws what this computes, so the page can be checked without a screen.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "calendar/yi_date_ex.h"

namespace quorin::ui {

// The civil day shown in the j-th cell of a month (j from 1). Months keep their days through
// the change of calendar, except October 1582, which jumps from the 4th (Julian) to the
// 15th (Gregorian).
int ShownDay(int year, int month, int j);

// Days in the month of `selected` (21 for October 1582), or 0 when the selected day does not exist.
int MonthLength(calendar::MYiDateEx& date, const calendar::CivilDateTime& selected);
// Column of the month's first day, Monday = 0 … Sunday = 6.
int FirstColumn(calendar::MYiDateEx& date, int year, int month);

// The terms of a year's list that fall in `month` (at most three; the list ends at its terminator).
std::vector<calendar::SolarTermRecord> TermsOfMonth(const std::vector<calendar::SolarTermRecord>& yearTerms,
                                                    int month);
// "寒露:8日22时12分" lines of the terms, each followed by an empty line.
std::string TermLinesText(const std::vector<calendar::SolarTermRecord>& monthTerms);

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
std::vector<MonthDayCell> MonthCells(calendar::MYiDateEx& date, int year, int month, int length, int firstColumn,
                                     const std::vector<calendar::SolarTermRecord>& monthTerms);

// The day list index (0 = "1日") of the grid cell k counted from the first week row, or
// nothing when the cell holds no day of the month.
std::optional<int> DayIndexOfCell(int cell, int firstColumn, int length, int year, int month);

// Texts of the selected moment: "1582年10月", the era and zodiac title, and the four pillars.
struct PillarTexts {
  std::string monthLabel;
  std::string title;
  std::string pillars;
};
PillarTexts PillarTextsOf(calendar::MYiDateEx& date, const calendar::CivilDateTime& selected);

}  // namespace quorin::ui

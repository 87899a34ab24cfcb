// SPDX-License-Identifier: GPL-3.0-or-later
// The Chinese lunisolar calendar as it was kept: mean-value fits for the old calendars, a fast
// formula with one-day corrections for 619–1959, the full astronomy before and after.
// Days are day numbers: days from the civil date 2000-01-01 (UTC+8).
#pragma once

#include <string>
#include <string_view>

#include "calendar/calendar_types.h"

namespace quorin::calendar {

// Which kind of instant TermDay looks for ("气" a solar term, "朔" a new moon).
enum class TermKind { SolarTerm, NewMoon };

// Civil day offsets (days from J2000, UTC+8) of the instant the cumulative solar longitude, or the
// Moon–Sun elongation, reaches W: fast closed formulas (…Low) and the series (…High).
double SolarTermLow(double W);
double NewMoonLow(double W);
double SolarTermHigh(double W);
double NewMoonHigh(double W);

// Expands a compressed correction text into its digits 0 (no change), 1 (one day later), 2 (one earlier).
std::string ExpandCorrections(std::string_view compressed);

// The two expanded correction texts: one digit per new moon from 619-01-07, one per solar term
// from 1645-09-14. Expanded once per process and shared read-only.
struct CalendarCorrections {
  std::string newMoons;    // 16598 digits
  std::string solarTerms;  // 7567 digits
};
const CalendarCorrections& ExpandedCorrections();

// A lunar date: astronomical year, month number, day of month 1..30, intercalary flag.
struct LunarDate {
  int year = 0;
  int month = 1;
  int day = 1;
  bool leap = false;

  friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// The calendar with its current lunar year. Years are remembered so that repeated use costs
// nothing, while every result is that of recomputing. Not reentrant: one per owner.
class LunarCalendar {
 public:
  LunarCalendar();

  // Day number of the solar term or new moon nearest to the approximate day.
  int TermDay(double approxDayNumber, TermKind kind) const;
  // Lays out the lunar year from the winter solstice on or before the day to the next one and
  // makes it the current year.
  const LunarYear& ComputeLunarYear(int dayNumber);
  // The lunar date of a day; its year becomes the current year.
  LunarDate LunarDateOfDay(int dayNumber);
  // The year laid out last.
  const LunarYear& CurrentYear() const { return remembered_[currentSlot_].year; }

 private:
  LunarYear Compute(double solsticeApprox) const;

  const CalendarCorrections* corrections_;
  // The years built last, by the solstice estimate they were built from (two, since a day sweep
  // alternates between a year and its predecessor around each solstice).
  struct RememberedYear {
    double approx = 0;
    bool valid = false;
    LunarYear year{};
  };
  RememberedYear remembered_[2];
  int currentSlot_ = 0;
  // The last solstice estimate tested against a day, with the day of its solstice.
  struct RememberedSolstice {
    double approx = 0;
    int day = 0;
    bool valid = false;
  };
  RememberedSolstice solstice_;
};

}  // namespace quorin::calendar

// SPDX-License-Identifier: GPL-3.0-or-later
// The date object: lunar dates both ways, solar terms, time corrections and the four pillars.
// Every owner (engine, window, search) keeps its own object: it remembers the lunar years and
// solar-term instants it has computed.
#pragma once

#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "calendar/lunar_calendar.h"
#include "calendar/sexagenary.h"

namespace quorin::calendar {

// A failure as a value: ok, or the message the caller shows.
struct Outcome {
  bool ok = true;
  std::string message;
};

// The solar-term frame of a moment's month.
struct TermBracket {
  int monthBranch = 0;          // branch number of the month (1 = 子, 2 = 丑, 3 = 寅 … 0 = 亥)
  CivilDateTime openingTerm;    // the 节 that opened the month (minute-rounded)
  CivilDateTime principalTerm;  // its 中气
  CivilDateTime nextTerm;       // the 节 that opens the next month
};

// A chart moment as entered: Gregorian, or lunar with its intercalary flag.
struct MomentInput {
  CivilDateTime entered;  // astronomical year; for a lunar date year, month number and day are lunar
  bool isLunar = false;
  bool isLeapMonth = false;
  TimeCorrectionMode mode = TimeCorrectionMode::BeijingTime;
  float longitude = 120.0f;  // degrees east, for modes other than Beijing time
};

// The moment made ready for the pillars.
struct PreparedMoment {
  CivilDateTime beijingDate;    // Gregorian moment in Beijing time (converted from lunar when entered so)
  JulianDay beijingJD = 0;      // its Julian day (seconds = 1)
  CivilDateTime correctedDate;  // true solar time, local mean time, or the Beijing time unchanged
  CivilDateTime lunarDate;      // lunar date shown for the moment (of the next day from 23:00 corrected)
  bool isLeapMonth = false;     // lunarDate lies in an intercalary month
  int equationOfTime = 0;       // seconds used by the correction (0 unless true solar time)
};

inline constexpr const char* kNoSuchLunarDate = "不存在这个农历日期，无法转换到公历！";
inline constexpr const char* kNoSuchDate = "不存在这个日期";
inline constexpr const char* kLunarYearOutOfRange = "时间越界，年份在-4713到9999之间";
inline constexpr const char* kConvertedYearOutOfRange = "公、农历正常转换年份在-4713到9999之间";

class MYiDateEx {
 public:
  // Prepares the correction texts.
  MYiDateEx();

  // Julian day of the civil instant at h:m:01.
  JulianDay ToJulianDay(const CivilDateTime& x) const;
  // The civil moment of a Julian day, rounded to the minute.
  CivilDateTime FromJulianDay(JulianDay jd) const;
  // True when the Gregorian (or, before 1582-10-15, Julian) date exists.
  bool IsValidDate(const CivilDateTime& x) const;
  // The same clock time one day later, rounded to the minute.
  void NextDay(CivilDateTime& x) const;
  // 0 = Sunday … 6 = Saturday.
  int WeekDay(const CivilDateTime& x) const;
  // The pillar of the civil day.
  Jiazi DayPillar(const CivilDateTime& x) const;
  // Lunar date of a Gregorian day (hour and minute copied); returns the intercalary flag.
  bool SolarToLunar(const CivilDateTime& solar, CivilDateTime& lunar);
  // Gregorian day of a lunar date (hour and minute copied), or the message when it does not exist.
  Outcome LunarToSolar(const CivilDateTime& lunar, bool leap, CivilDateTime& solar);
  // Instant of a Gregorian month's 节 (first) or 中气, minute-rounded: month 2 gives 立春/雨水.
  CivilDateTime SolarTermMoment(int year, int month, bool first);
  // Month branch of a moment and the terms that frame its month (compared against exact instants).
  TermBracket MonthTermBracket(const CivilDateTime& x);
  // The solar terms whose minute-rounded instant lies in a year, ending with the list terminator.
  std::vector<SolarTermRecord> SolarTermsOfYear(int year);
  // Equation of time in seconds at a civil instant.
  double EquationOfTimeSeconds(const CivilDateTime& x) const;
  // Shifts x to true solar time or local mean time at the longitude; returns the whole seconds of
  // equation of time used (0 for local mean time). Beijing time leaves x unchanged.
  int ApplyTimeCorrection(CivilDateTime& x, float longitude, TimeCorrectionMode mode) const;
  // Value rounded to n decimals, ties downward.
  static double RoundTo(double value, int decimals);
  // Pillar year (the year from 立春) of the present moment, historical numbering (no year 0).
  int CurrentPillarYear();
  // Pillar year of a given civil moment, historical numbering.
  int PillarYearOf(const CivilDateTime& moment);
  // Chinese numeral text (2024 → 二○二四).
  static std::string ChineseNumeral(int n);
  // Converts, checks and corrects an entered moment for the pillars; fails with the message to show.
  Outcome PrepareMoment(const MomentInput& in, PreparedMoment& out);
  // Year and month pillars from the Beijing time, day and hour pillars from the corrected time.
  FourPillars ComputeFourPillars(const PreparedMoment& moment);

 private:
  // Unrounded civil Julian day of the solar term at `offset` degrees in `year`'s turn.
  JulianDay TermInstant(int year, int offsetDegrees);
  LunarDate LunarDateOfCivilDay(const CivilDateTime& x);

  LunarCalendar lunar_;

  // Term instants already computed, by (year, offset); each entry equals a fresh computation.
  struct RememberedTerm {
    int year = 0;
    int offset = 0;
    bool valid = false;
    JulianDay instant = 0;
  };
  static constexpr int kRememberedTerms = 128;
  RememberedTerm terms_[kRememberedTerms];
};

}  // namespace quorin::calendar

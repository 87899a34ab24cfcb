// SPDX-License-Identifier: GPL-3.0-or-later
// Value types shared by the calendar, the chart engine, the case store and the windows.
#pragma once

#include <array>
#include <cstdint>

namespace quorin::calendar {

// A moment as a count of days on the Julian Day scale (JD 2451545.0 = 2000-01-01 12:00).
using JulianDay = double;
// The Julian day of J2000, 2000-01-01 12:00: the epoch the series are written for, and day 0 of the
// day numbers the lunar calendar counts in.
inline constexpr JulianDay kJ2000 = 2451545;

// A civil moment (UTC+8), astronomical year (0 = 1 BC). For a lunar date the same record
// carries the lunar year, month number (1..12), day (1..30), hour and minute.
struct CivilDateTime {
  std::int16_t year = 2000;
  std::int16_t month = 1;
  std::int16_t day = 1;
  std::int16_t hour = 0;
  std::int16_t minute = 0;

  friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

// The full conversion record: a date and time down to whole seconds.
struct DateTimeParts {
  std::int32_t year = 2000;
  std::int32_t month = 1;
  std::int32_t day = 1;
  std::int32_t hour = 12;
  std::int32_t minute = 0;
  std::int32_t second = 0;

  friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// The layout of one lunar year, from the winter solstice on or before a day to the next one.
// All days are day numbers: days from the civil date 2000-01-01.
struct LunarYear {
  int leap = 0;                       // index 1..13 of the intercalary month, 0 for none
  std::array<int, 14> months{};       // month number of each month (1 = 正月 … 12; 13 and 10 in old years)
  std::array<int, 25> terms{};        // solar terms from the winter solstice; even = 中气, odd = 节; [24] next solstice
  std::array<int, 2> earlierTerms{};  // the terms 15.2 and 30.4 days before terms[0]
  std::array<int, 15> newMoons{};     // month i runs from newMoons[i] to newMoons[i + 1] − 1
  std::array<int, 14> lengths{};      // newMoons[i + 1] − newMoons[i]

  friend bool operator==(const LunarYear&, const LunarYear&) = default;
};

// The four pillars of a moment, as pillar numbers (Jiazi::Number(): 1 = 甲子 … 0 = 癸亥).
struct FourPillars {
  std::int16_t year = 0;
  std::int16_t month = 0;
  std::int16_t day = 0;
  std::int16_t hour = 0;

  friend bool operator==(const FourPillars&, const FourPillars&) = default;
};

// One solar term of a year's list: civil instant rounded to the minute and the index into the
// 24 term names (0 = 小寒, 2 = 立春, 23 = 冬至). A list ends with a record of year kSolarTermListEnd.
struct SolarTermRecord {
  std::int16_t year = 0;
  std::int16_t month = 0;
  std::int16_t day = 0;
  std::int16_t hour = 0;
  std::int16_t minute = 0;
  std::int16_t termIndex = 0;

  friend bool operator==(const SolarTermRecord&, const SolarTermRecord&) = default;
};
inline constexpr std::int16_t kSolarTermListEnd = -5000;

// The time basis of the day and hour pillars (set.ini `idate`).
enum class TimeCorrectionMode : int {
  BeijingTime = 0,    // "北京时间": the entered time unchanged
  TrueSolarTime = 1,  // "真太阳时": local mean time plus the equation of time
  LocalMeanTime = 2,  // "地方时": shifted by the longitude only
};
// The mode of a stored setting; values never written by the settings dialog count as local mean time,
// as the chart header shows them.
constexpr TimeCorrectionMode TimeCorrectionModeFromSetting(int idate) {
  return idate == 0 ? TimeCorrectionMode::BeijingTime
                    : idate == 1 ? TimeCorrectionMode::TrueSolarTime : TimeCorrectionMode::LocalMeanTime;
}

// The span of years (astronomical) the calendar converts both ways.
inline constexpr int kFirstCalendarYear = -4712;
inline constexpr int kLastCalendarYear = 9999;

}  // namespace quorin::calendar

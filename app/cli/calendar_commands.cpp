// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar commands: lunar dates both ways, a lunar year's layout, solar terms, four pillars, eras.
// Years on the command line are historical (1 BC is -1, no year 0); inside they are astronomical.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "base/places.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/julian_day.h"
#include "calendar/yi_date_ex.h"
#include "chart_options.h"
#include "command.h"

namespace quorin::cli {
namespace {

using calendar::CivilDateTime;
using calendar::MYiDateEx;

constexpr const char* kYearRangeMessage = "年份在-4713 到 9999年之间，并且没有公元0年";

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

std::string DateText(const CivilDateTime& x) {
  return std::to_string(calendar::HistoricalYear(x.year)) + "-" + TwoDigits(x.month) + "-" + TwoDigits(x.day);
}

std::string MomentText(const CivilDateTime& x) {
  return DateText(x) + " " + TwoDigits(x.hour) + ":" + TwoDigits(x.minute);
}

std::string LunarLine(const CivilDateTime& lunar, bool leap) {
  return std::to_string(calendar::HistoricalYear(lunar.year)) + " " + std::to_string(lunar.month) + " " +
         std::to_string(lunar.day) + " " + (leap ? "1" : "0") + " " +
         calendar::LunarDateText(lunar.month, lunar.day, leap);
}

[[nodiscard]] int YearArgument(const std::vector<std::string>& positionals, std::size_t index) {
  return ParseInteger(positionals.at(index), "年份");
}

// The lunar year is laid out for the first of July of the Gregorian year, at noon.
constexpr int kLunarYearMonth = 7;
constexpr double kLunarYearDay = 1.5;

const RegisterCommand kLunar{{
    "lunar",
    "lunar date of a Gregorian day",
    "Usage: quorin-cli lunar YYYY-MM-DD\n"
    "Prints the lunar year, month number, day and leap flag (0/1), then the text, e.g.\n"
    "  2023 2 1 1 闰二月初一\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      if (a.Positionals().size() != 1) throw UsageError("lunar takes one date");
      const auto solar = calendar::AstronomicalMoment(DateArgument(a.Positionals()[0], ""));
      if (!solar) return Refuse(kYearRangeMessage);
      MYiDateEx date;
      if (!date.IsValidDate(*solar)) return Refuse(calendar::kNoSuchDate);
      CivilDateTime lunar;
      const bool leap = date.SolarToLunar(*solar, lunar);
      std::cout << LunarLine(lunar, leap) << "\n";
      return 0;
    },
}};

const RegisterCommand kSolar{{
    "solar",
    "Gregorian day of a lunar date",
    "Usage: quorin-cli solar Y M D [leap]\n"
    "Y M D is the lunar year, month number (1..12) and day (1..30); leap is 1 for an intercalary month.\n"
    "Prints YYYY-MM-DD.\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      const auto& p = a.Positionals();
      if (p.size() != 3 && p.size() != 4) throw UsageError("solar takes Y M D [leap]");
      const int year = YearArgument(p, 0);
      const int month = ParseInteger(p[1], "月");
      const int day = ParseInteger(p[2], "日");
      bool leap = false;
      if (p.size() == 4) {
        if (p[3] == "1" || p[3] == "leap") {
          leap = true;
        } else if (p[3] != "0") {
          throw UsageError("leap 应为 0 或 1：" + p[3]);
        }
      }
      if (!calendar::IsValidHistoricalYear(year)) return Refuse(calendar::kLunarYearOutOfRange);
      if (month < 1 || month > 12 || day < 1 || day > 30) return Refuse(calendar::kNoSuchLunarDate);
      MYiDateEx date;
      const CivilDateTime lunar{static_cast<std::int16_t>(calendar::AstronomicalYear(year)), static_cast<std::int16_t>(month),
                                static_cast<std::int16_t>(day), 12, 0};
      CivilDateTime solar;
      const calendar::Outcome o = date.LunarToSolar(lunar, leap, solar);
      if (!o.ok) return Refuse(o.message);
      if (solar.year < calendar::kFirstCalendarYear || solar.year > calendar::kLastCalendarYear) {
        return Refuse(calendar::kLunarYearOutOfRange);
      }
      std::cout << DateText(solar) << "\n";
      return 0;
    },
}};

const RegisterCommand kLunarYear{{
    "lunar-year",
    "layout of the lunar year around 1 July of a year",
    "Usage: quorin-cli lunar-year Y\n"
    "Prints the 14 months of the lunar year laid out for 1 July of Gregorian year Y, one per line:\n"
    "  YYYY-MM-DD M L N   (first day, month number, leap flag 0/1, length in days)\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      if (a.Positionals().size() != 1) throw UsageError("lunar-year takes one year");
      const int year = YearArgument(a.Positionals(), 0);
      if (!calendar::IsValidHistoricalYear(year)) return Refuse(kYearRangeMessage);
      calendar::LunarCalendar lunar;
      const int dayNumber =
          static_cast<int>(std::floor(calendar::JulianDayFromDate(calendar::AstronomicalYear(year), kLunarYearMonth,
                                                                  kLunarYearDay)) -
                           calendar::kJ2000);
      const calendar::LunarYear& y = lunar.ComputeLunarYear(dayNumber);
      for (std::size_t i = 0; i < y.months.size(); ++i) {
        const CivilDateTime first = calendar::DateFromJulianDayToMinute(y.newMoons[i] + calendar::kJ2000);
        const bool leap = y.leap != 0 && i == static_cast<std::size_t>(y.leap);
        std::cout << DateText(first) << " " << y.months[i] << " " << (leap ? 1 : 0) << " " << y.lengths[i] << "\n";
      }
      return 0;
    },
}};

const RegisterCommand kTerms{{
    "terms",
    "the solar terms of a year",
    "Usage: quorin-cli terms Y\n"
    "Prints each solar term of Gregorian year Y: index (0 = 小寒), name, date and time rounded to the minute.\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      if (a.Positionals().size() != 1) throw UsageError("terms takes one year");
      const int year = YearArgument(a.Positionals(), 0);
      if (!calendar::IsValidHistoricalYear(year)) return Refuse(kYearRangeMessage);
      MYiDateEx date;
      for (const calendar::SolarTermRecord& t : date.SolarTermsOfYear(calendar::AstronomicalYear(year))) {
        if (t.year == calendar::kSolarTermListEnd) break;
        const CivilDateTime moment{t.year, t.month, t.day, t.hour, t.minute};
        std::cout << t.termIndex << " " << calendar::kSolarTermNames[t.termIndex] << " " << MomentText(moment)
                  << "\n";
      }
      return 0;
    },
}};

const RegisterCommand kPillars{{
    "pillars",
    "four pillars of a moment",
    "Usage: quorin-cli pillars \"YYYY-MM-DD HH:MM\" [--lunar] [--leap] [--mode 0|1|2] [--lon DEG]\n"
    "                          [--zone ZONE] [--fold 1|2] [--place NAME]\n"
    "The time may be left out (00:00). --lunar reads the date as a lunar date (--leap: in the intercalary month).\n"
    "--mode: 0 Beijing time (default), 1 true solar time, 2 local mean time, at --lon degrees east (default 120).\n"
    "--zone: the moment is the clock time of that zone (an IANA name, see quorin-cli zones); --fold 1 or 2\n"
    "picks the first or second of a clock time that occurred twice. --place: a world or own place gives the\n"
    "longitude and the zone, as for chart.\n"
    "Prints the pillars' names and numbers, the corrected moment and the lunar date.\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {.values = {"mode", "lon", "zone", "fold", "place"}, .flags = {"lunar", "leap"}});
      if (a.Positionals().size() != 1) throw UsageError("pillars takes one moment");
      const calendar::TypedMoment typed = MomentArgument(a.Positionals()[0], "");
      const int mode = a.Integer("mode").value_or(0);
      if (mode < 0 || mode > static_cast<int>(calendar::TimeCorrectionMode::LocalMeanTime)) {
        throw UsageError("--mode 应为 0、1 或 2");
      }
      const double longitude = a.Number("lon").value_or(base::kDefaultLongitude);
      if (!(longitude >= -180 && longitude <= 180)) throw UsageError("--lon 应在 -180 到 180 之间");
      const auto typedMoment = calendar::AstronomicalMoment(typed);
      if (!typedMoment) return Refuse(kYearRangeMessage);
      const ZonedMoment zoned = ReadZoneOptions(a, *typedMoment);
      if (!zoned.refusal.empty()) return Refuse(zoned.refusal);
      const std::optional<calendar::CivilDateTime> entered = zoned.beijing;
      // Nothing to refuse: pillars take no birth year.
      const TRecordData r = ChartRequestFromOptions(a, *entered).request;

      MYiDateEx date;
      calendar::MomentInput in;
      in.entered = *entered;
      in.isLunar = r.isLunar;
      in.isLeapMonth = r.isLeapMonth;
      in.mode = calendar::TimeCorrectionModeFromSetting(mode);
      in.longitude = r.longitude;
      calendar::PreparedMoment prepared;
      const calendar::Outcome o = date.PrepareMoment(in, prepared);
      if (!o.ok) return Refuse(o.message);
      const calendar::FourPillars p = date.ComputeFourPillars(prepared);
      std::cout << calendar::PillarName(p.year) << " " << calendar::PillarName(p.month) << " "
                << calendar::PillarName(p.day) << " " << calendar::PillarName(p.hour) << " " << p.year << " "
                << p.month << " " << p.day << " " << p.hour << "\n";
      std::cout << MomentText(prepared.correctedDate) << "\n";
      std::cout << LunarLine(prepared.lunarDate, prepared.isLeapMonth) << "\n";
      return 0;
    },
}};

const RegisterCommand kEra{{
    "era",
    "historical era names of a pillar year",
    "Usage: quorin-cli era Y\n"
    "Prints the era records covering pillar year Y (the year that begins at 立春), joined by \"；\".\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      if (a.Positionals().size() != 1) throw UsageError("era takes one year");
      const int year = YearArgument(a.Positionals(), 0);
      if (!calendar::IsValidHistoricalYear(year)) return Refuse(kYearRangeMessage);
      std::cout << calendar::EraText(calendar::AstronomicalYear(year)) << "\n";
      return 0;
    },
}};

}  // namespace
}  // namespace quorin::cli

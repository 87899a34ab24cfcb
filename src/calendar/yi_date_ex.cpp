// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/yi_date_ex.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "calendar/astronomy.h"
#include "calendar/calendar_text.h"
#include "calendar/delta_t.h"
#include "calendar/julian_day.h"

namespace quorin::calendar {
namespace {

constexpr double kCivilShift = 1.0 / 3;    // UTC+8 against UT, in days
constexpr double kDaysPerCentury = 36525;  // the Julian century the series are written in
constexpr double kSecondsPerDay = 86400;
// The sun moves 15° from one solar term to the next, 30° from one month's 节 to the next.
constexpr int kDegreesPerTerm = 15;
constexpr int kDegreesPerMonth = 2 * kDegreesPerTerm;
// 小寒, the first term of a calendar year and the opening 节 of the 丑 month, stands at 285°:
// −75° from the year's turn at 0°.
constexpr int kXiaoHanDegrees = 285;
constexpr int kXiaoHanOffset = kXiaoHanDegrees - 360;
constexpr int kChouBranch = 2;
// Days whose Julian day number is 11 mod 60 are 甲子 days (1949-10-01, JD 2433191, is one): 11 + 50 ≡ 1.
constexpr int kDayJiaziOffset = 50;
// Julian day number 0 was a Monday: 0 + 1 ≡ 1 (mod 7).
constexpr int kWeekDayOffset = 1;

CivilDateTime AtNoon(const CivilDateTime& x) {
  CivilDateTime noon = x;
  noon.hour = 12;
  noon.minute = 0;
  return noon;
}

}  // namespace

MYiDateEx::MYiDateEx() = default;

JulianDay MYiDateEx::ToJulianDay(const CivilDateTime& x) const {
  // One second past the minute keeps a moment entered on a term's minute clear of rounding.
  return JulianDayFromParts(x.year, x.month, x.day, x.hour, x.minute, 1);
}

CivilDateTime MYiDateEx::FromJulianDay(JulianDay jd) const { return DateFromJulianDayToMinute(jd); }

bool MYiDateEx::IsValidDate(const CivilDateTime& x) const {
  if (x.month < 1 || x.month > 12 || x.day < 1) return false;
  const bool reformMonth = IsReformMonth(x.year, x.month);
  if (reformMonth && x.day > kLastJulianDay && x.day < kFirstGregorianDay) return false;
  // The reform month is as long as any October less the dropped days.
  const int day = reformMonth && x.day >= kFirstGregorianDay ? x.day - kReformDroppedDays : x.day;
  CivilDateTime first{x.year, x.month, 1, 12, 0};
  CivilDateTime next = first;
  if (x.month == 12) {
    next.year = static_cast<std::int16_t>(x.year + 1);
    next.month = 1;
  } else {
    next.month = static_cast<std::int16_t>(x.month + 1);
  }
  // Rounded, not floored: far from J2000 the difference of two Julian days can come out as 29.999….
  const double length = std::round(ToJulianDay(next) - ToJulianDay(first));
  return length >= day;
}

void MYiDateEx::NextDay(CivilDateTime& x) const { x = FromJulianDay(ToJulianDay(x) + 1); }

int MYiDateEx::WeekDay(const CivilDateTime& x) const {
  return PositiveModulo(static_cast<long long>(std::floor(ToJulianDay(AtNoon(x)))) + kWeekDayOffset, 7);
}

Jiazi MYiDateEx::DayPillar(const CivilDateTime& x) const {
  return Jiazi(static_cast<int>(std::floor(ToJulianDay(AtNoon(x)))) + kDayJiaziOffset);
}

LunarDate MYiDateEx::LunarDateOfCivilDay(const CivilDateTime& x) {
  return lunar_.LunarDateOfDay(static_cast<int>(std::floor(ToJulianDay(AtNoon(x))) - kJ2000));
}

bool MYiDateEx::SolarToLunar(const CivilDateTime& solar, CivilDateTime& lunar) {
  const LunarDate date = LunarDateOfCivilDay(solar);
  lunar.year = static_cast<std::int16_t>(date.year);
  lunar.month = static_cast<std::int16_t>(date.month);
  lunar.day = static_cast<std::int16_t>(date.day);
  lunar.hour = solar.hour;
  lunar.minute = solar.minute;
  return date.leap;
}

Outcome MYiDateEx::LunarToSolar(const CivilDateTime& lunar, bool leap, CivilDateTime& solar) {
  const Outcome missing{false, kNoSuchLunarDate};
  // No lunar calendar has such a month or day; the search below could not find it either.
  if (lunar.month < 1 || lunar.month > 13 || lunar.day < 1 || lunar.day > 30) return missing;

  // First guess: the lunar numbers read as a Gregorian date, then walk towards the target.
  CivilDateTime guess{lunar.year, lunar.month, lunar.day, 12, 0};
  if (guess.month == 2) guess.day = std::min<std::int16_t>(guess.day, 28);
  double jd = ToJulianDay(guess);
  const LunarDate start = lunar_.LunarDateOfDay(static_cast<int>(std::floor(jd) - kJ2000));
  auto rough = [](int year, int month, int day, bool isLeap) {
    return std::floor(month * 29.5) + year * 354.0 + day + (isLeap ? 30 : 0);
  };
  const double direction =
      rough(lunar.year, lunar.month, lunar.day, leap) < rough(start.year, start.month, start.day, start.leap) ? -1
                                                                                                                : 1;
  const LunarDate target{lunar.year, lunar.month, lunar.day, leap};
  // The first match in the guessed direction wins. In the 武周 years a 腊月 follows the new year's
  // 正月 and lies the other way from its guess, so the other direction is searched before giving up.
  const double first = jd;
  for (const double way : {direction, -direction}) {
    jd = way == direction ? first : first + way;
    for (int step = 0; step < 181; ++step, jd += way) {
      if (lunar_.LunarDateOfDay(static_cast<int>(std::floor(jd) - kJ2000)) == target) {
        solar = FromJulianDay(jd);
        solar.hour = lunar.hour;
        solar.minute = lunar.minute;
        return {};
      }
    }
  }
  return missing;
}

JulianDay MYiDateEx::TermInstant(int year, int offsetDegrees) {
  const unsigned hash = static_cast<unsigned>(year * 31 + offsetDegrees / 15) % kRememberedTerms;
  RememberedTerm& slot = terms_[hash];
  if (slot.valid && slot.year == year && slot.offset == offsetDegrees) return slot.instant;
  const double W = kTwoPi * ((year - 2000) + offsetDegrees / 360.0 + 1);
  const double t = SunLonTime(W) * kDaysPerCentury;
  const JulianDay instant = t + kJ2000 + kCivilShift - DeltaTDays(t);
  slot = {year, offsetDegrees, true, instant};
  return instant;
}

CivilDateTime MYiDateEx::SolarTermMoment(int year, int month, bool first) {
  const int offset = (2 * month + (first ? 0 : 1) - 2) * kDegreesPerTerm + kXiaoHanOffset;
  return FromJulianDay(TermInstant(year, offset));
}

TermBracket MYiDateEx::MonthTermBracket(const CivilDateTime& x) {
  const JulianDay jd = ToJulianDay(x);
  // Degrees of the opening 节 from the year's turn: 小寒 opens January, each later month 30° on.
  int offset = kDegreesPerMonth * (x.month - 1) + kXiaoHanOffset;
  JulianDay opening = 0;
  JulianDay next = 0;
  // A month lies within 30° of its first guess; the bound only guards against a broken input.
  for (int guard = 0; guard < 48; ++guard) {
    opening = TermInstant(x.year, offset);
    next = TermInstant(x.year, offset + kDegreesPerMonth);
    if (jd < opening) {
      offset -= kDegreesPerMonth;
    } else if (next <= jd) {
      offset += kDegreesPerMonth;
    } else {
      break;
    }
  }
  TermBracket bracket;
  bracket.openingTerm = FromJulianDay(opening);
  bracket.principalTerm = FromJulianDay(TermInstant(x.year, offset + kDegreesPerTerm));
  bracket.nextTerm = FromJulianDay(next);
  while (offset < 0) offset += 360;
  const int sinceXiaoHan = offset - kXiaoHanDegrees < 0 ? offset - kXiaoHanOffset : offset - kXiaoHanDegrees;
  bracket.monthBranch = (sinceXiaoHan / kDegreesPerMonth + kChouBranch) % kBranchCount;
  return bracket;
}

std::vector<SolarTermRecord> MYiDateEx::SolarTermsOfYear(int year) {
  std::vector<SolarTermRecord> list;
  // Back from 大寒 to the last term of the year before, then forward through the year.
  int offset = -60;  // degrees of the term from the year's turn
  for (int guard = 0; guard < 30; ++guard) {
    offset -= kDegreesPerTerm;
    const CivilDateTime t = FromJulianDay(TermInstant(year, offset));
    if (t.year != year || t.year < -4713) break;
  }
  for (int guard = 0; guard < 40; ++guard) {
    offset += kDegreesPerTerm;
    const CivilDateTime t = FromJulianDay(TermInstant(year, offset));
    if (t.year != year || t.year > 9999) {
      if (t.year < year) continue;  // still before the year (only after a cut-short backward walk)
      break;
    }
    const int longitude = PositiveModulo(offset, 360);
    const int sinceXiaoHan = longitude >= kXiaoHanDegrees ? longitude - kXiaoHanDegrees : longitude - kXiaoHanOffset;
    const int index = (sinceXiaoHan / kDegreesPerTerm) % 24;
    list.push_back({t.year, t.month, t.day, t.hour, t.minute, static_cast<std::int16_t>(index)});
  }
  list.push_back({kSolarTermListEnd, 0, 0, 0, 0, 0});
  return list;
}

double MYiDateEx::EquationOfTimeSeconds(const CivilDateTime& x) const {
  const double t = JulianDayFromDate(x.year, x.month, x.day + (x.hour + x.minute / 60.0) / 24) - kCivilShift - kJ2000;
  return EquationOfTime((t + DeltaTDays(t)) / kDaysPerCentury) * kSecondsPerDay;
}

int MYiDateEx::ApplyTimeCorrection(CivilDateTime& x, float longitude, TimeCorrectionMode mode) const {
  if (mode == TimeCorrectionMode::BeijingTime) return 0;
  const JulianDay jd = ToJulianDay(x);
  const int equationSeconds =
      mode == TimeCorrectionMode::TrueSolarTime ? static_cast<int>(std::trunc(EquationOfTimeSeconds(x))) : 0;
  // Four minutes of clock time per degree from the zone meridian 120°E.
  const int behindZoneSeconds = static_cast<int>(std::floor((120 - static_cast<double>(longitude)) * 4 * 60));
  x = FromJulianDay(jd + (equationSeconds - behindZoneSeconds) / kSecondsPerDay);
  return equationSeconds;
}

double MYiDateEx::RoundTo(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  const double up = std::ceil(scaled);
  const double down = std::floor(scaled);
  return (up - scaled >= scaled - down) ? down / scale : up / scale;
}

int MYiDateEx::PillarYearOf(const CivilDateTime& moment) {
  int year = moment.year;
  const CivilDateTime springBegins = SolarTermMoment(year, 2, true);
  if (ToJulianDay(moment) < ToJulianDay(springBegins)) year -= 1;
  if (year <= 0) year -= 1;
  return year;
}

int MYiDateEx::CurrentPillarYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  const CivilDateTime moment{static_cast<std::int16_t>(local.tm_year + 1900), static_cast<std::int16_t>(local.tm_mon + 1),
                             static_cast<std::int16_t>(local.tm_mday), static_cast<std::int16_t>(local.tm_hour),
                             static_cast<std::int16_t>(local.tm_min)};
  return PillarYearOf(moment);
}

std::string MYiDateEx::ChineseNumeral(int n) { return calendar::ChineseNumeral(n); }

Outcome MYiDateEx::PrepareMoment(const MomentInput& in, PreparedMoment& out) {
  CivilDateTime beijing;
  if (in.isLunar) {
    Outcome converted = LunarToSolar(in.entered, in.isLeapMonth, beijing);
    if (!converted.ok) return converted;
    if (beijing.year < kFirstCalendarYear || beijing.year > kLastCalendarYear) return {false, kLunarYearOutOfRange};
  } else {
    if (!IsValidDate(in.entered)) return {false, kNoSuchDate};
    beijing = in.entered;
  }
  PreparedMoment prepared;
  prepared.beijingDate = beijing;
  prepared.beijingJD = ToJulianDay(beijing);
  prepared.correctedDate = beijing;
  if (in.mode != TimeCorrectionMode::BeijingTime) {
    prepared.equationOfTime = ApplyTimeCorrection(prepared.correctedDate, in.longitude, in.mode);
  }
  // The 子 hour from 23:00 belongs to the next day.
  CivilDateTime day = prepared.correctedDate;
  if (day.hour == 23) NextDay(day);
  if (day.year < kFirstCalendarYear || day.year > kLastCalendarYear) return {false, kConvertedYearOutOfRange};
  prepared.isLeapMonth = SolarToLunar(day, prepared.lunarDate);
  out = prepared;
  return {};
}

FourPillars MYiDateEx::ComputeFourPillars(const PreparedMoment& moment) {
  const CivilDateTime& beijing = moment.beijingDate;
  const CivilDateTime& corrected = moment.correctedDate;

  // The year turns at 立春 (its minute-rounded instant), in Beijing time.
  const CivilDateTime springBegins = SolarTermMoment(beijing.year, 2, true);
  const bool springBegun = ToJulianDay(beijing) >= ToJulianDay(springBegins);
  const Jiazi year = YearJiazi(springBegun ? beijing.year : beijing.year - 1);

  // The month turns at each 节 (its exact instant).
  const Branch monthBranch(MonthTermBracket(beijing).monthBranch);
  const Jiazi month = Jiazi::Of(MonthStem(year.StemPart(), monthBranch), monthBranch).value();

  // The 子 hour from 23:00 belongs to the next day.
  Jiazi day = DayPillar(corrected);
  if (corrected.hour == 23) day = Jiazi(day.Number() + 1);

  const Branch hourBranch = HourBranch(corrected.hour);
  const Jiazi hour = Jiazi::Of(HourStem(day.StemPart(), hourBranch), hourBranch).value();

  FourPillars p;
  p.year = static_cast<std::int16_t>(year.Number());
  p.month = static_cast<std::int16_t>(month.Number());
  p.day = static_cast<std::int16_t>(day.Number());
  p.hour = static_cast<std::int16_t>(hour.Number());
  return p;
}

}  // namespace quorin::calendar

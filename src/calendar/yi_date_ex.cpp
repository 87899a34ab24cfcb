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

constexpr double kJ2000 = 2451545;

int PositiveModulo(long long value, int divisor) {
  const int r = static_cast<int>(value % divisor);
  return r < 0 ? r + divisor : r;
}

CivilDateTime AtNoon(const CivilDateTime& x) {
  CivilDateTime noon = x;
  noon.hour = 12;
  noon.minute = 0;
  return noon;
}

}  // namespace

MYiDateEx::MYiDateEx() = default;

JulianDay MYiDateEx::ToJulianDay(const CivilDateTime& x) {
  // One second past the minute keeps a moment entered on a term's minute clear of rounding.
  scratch_ = {x.year, x.month, x.day, x.hour, x.minute, 1};
  return JulianDayFromParts(x.year, x.month, x.day, x.hour, x.minute, 1);
}

CivilDateTime MYiDateEx::FromJulianDay(JulianDay jd) { return DateFromJulianDayToMinute(jd); }

bool MYiDateEx::IsValidDate(const CivilDateTime& x) {
  if (x.month < 1 || x.month > 12 || x.day < 1) return false;
  const bool reformMonth = IsReformMonth(x.year, x.month);
  if (reformMonth && x.day > kLastJulianDay && x.day < kFirstGregorianDay) return false;
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

void MYiDateEx::NextDay(CivilDateTime& x) { x = FromJulianDay(ToJulianDay(x) + 1); }

int MYiDateEx::WeekDay(const CivilDateTime& x) {
  return PositiveModulo(static_cast<long long>(std::floor(ToJulianDay(AtNoon(x)))) + 1, 7);
}

Jiazi MYiDateEx::DayPillar(const CivilDateTime& x) {
  return static_cast<Jiazi>(PositiveModulo(static_cast<long long>(std::floor(ToJulianDay(AtNoon(x)))) + 50, 60));
}

LunarDate MYiDateEx::LunarDateOfCivilDay(const CivilDateTime& x) {
  lastDayNumber_ = static_cast<int>(std::floor(ToJulianDay(AtNoon(x))) - kJ2000);
  return lunar_.LunarDateOfDay(lastDayNumber_);
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
      lastDayNumber_ = static_cast<int>(std::floor(jd) - kJ2000);
      if (lunar_.LunarDateOfDay(lastDayNumber_) == target) {
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
  const double t = SunLonTime(W) * 36525;
  const JulianDay instant = t + kJ2000 + 1.0 / 3 - DeltaTDays(t);
  slot = {year, offsetDegrees, true, instant};
  return instant;
}

CivilDateTime MYiDateEx::SolarTermMoment(int year, int month, bool first) {
  const int offset = (2 * month + (first ? 0 : 1) - 2) * 15 - 75;
  return FromJulianDay(TermInstant(year, offset));
}

TermBracket MYiDateEx::MonthTermBracket(const CivilDateTime& x) {
  const JulianDay jd = ToJulianDay(x);
  int n = 30 * x.month - 105;
  JulianDay opening = 0;
  JulianDay next = 0;
  // A month lies within 30° of its first guess; the bound only guards against a broken input.
  for (int guard = 0; guard < 48; ++guard) {
    opening = TermInstant(x.year, n);
    next = TermInstant(x.year, n + 30);
    if (jd < opening) {
      n -= 30;
    } else if (next <= jd) {
      n += 30;
    } else {
      break;
    }
  }
  TermBracket bracket;
  bracket.openingTerm = FromJulianDay(opening);
  bracket.principalTerm = FromJulianDay(TermInstant(x.year, n + 15));
  bracket.nextTerm = FromJulianDay(next);
  while (n < 0) n += 360;
  bracket.monthBranch = ((n - 285 < 0 ? n + 75 : n - 285) / 30 + 2) % 12;
  return bracket;
}

std::vector<SolarTermRecord> MYiDateEx::SolarTermsOfYear(int year) {
  std::vector<SolarTermRecord> list;
  // Back from 大寒 to the last term of the year before, then forward through the year.
  int b = -60;
  for (int guard = 0; guard < 30; ++guard) {
    b -= 15;
    const CivilDateTime t = FromJulianDay(TermInstant(year, b));
    if (t.year != year || t.year < -4713) break;
  }
  for (int guard = 0; guard < 40; ++guard) {
    b += 15;
    const CivilDateTime t = FromJulianDay(TermInstant(year, b));
    if (t.year != year || t.year > 9999) {
      if (t.year < year) continue;  // still before the year (only after a cut-short backward walk)
      break;
    }
    const int r = PositiveModulo(b, 360);
    const int index = ((r > 284 ? r - 285 : r + 75) / 15) % 24;
    list.push_back({t.year, t.month, t.day, t.hour, t.minute, static_cast<std::int16_t>(index)});
  }
  list.push_back({kSolarTermListEnd, 0, 0, 0, 0, 0});
  return list;
}

Jiazi MYiDateEx::JiaziFromStemBranch(int stem, int branch) {
  int c = stem - branch;
  if (c < 0) c += 12;
  return static_cast<Jiazi>(stem + 10 * (c / 2));
}

double MYiDateEx::EquationOfTimeSeconds(const CivilDateTime& x) {
  const double t = JulianDayFromDate(x.year, x.month, x.day + (x.hour + x.minute / 60.0) / 24) - 1.0 / 3 - kJ2000;
  return EquationOfTime((t + DeltaTDays(t)) / 36525) * 86400;
}

int MYiDateEx::ApplyTimeCorrection(CivilDateTime& x, float longitude, TimeCorrectionMode mode) {
  if (mode == TimeCorrectionMode::BeijingTime) return 0;
  const JulianDay jd = ToJulianDay(x);
  const int e = mode == TimeCorrectionMode::TrueSolarTime ? static_cast<int>(std::trunc(EquationOfTimeSeconds(x))) : 0;
  // Four minutes of clock time per degree from the zone meridian 120°E.
  const int l = static_cast<int>(std::floor((120 - static_cast<double>(longitude)) * 4 * 60));
  x = FromJulianDay(jd + (e - l) / 86400.0);
  return e;
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
  const CivilDateTime& b = moment.beijingDate;
  const CivilDateTime& c = moment.correctedDate;
  FourPillars p;

  // The year turns at 立春 (its minute-rounded instant), in Beijing time.
  const CivilDateTime springBegins = SolarTermMoment(b.year, 2, true);
  const JulianDay springJD = ToJulianDay(springBegins);
  const int turned = ToJulianDay(b) >= springJD ? 1 : 0;
  p.year = static_cast<Jiazi>(PositiveModulo(b.year + turned + 6896, 60));

  // The month turns at each 节 (its exact instant); 甲 and 己 years begin with 丙寅.
  const int branchOfMonth = MonthTermBracket(b).monthBranch;
  const int ys = p.year % 10 == 0 ? 10 : p.year % 10;
  const int sinceTiger = branchOfMonth > 2 ? branchOfMonth - 3 : branchOfMonth + 9;
  const int monthStem = ((((ys < 6) ? ys : ys - 5) * 2 + 1) % 10 + sinceTiger) % 10;
  p.month = JiaziFromStemBranch(monthStem, (sinceTiger + 3) % 12);

  p.day = DayPillar(c);
  if (c.hour == 23) p.day = static_cast<Jiazi>((p.day + 1) % 60);

  // Two-hour branches from 子 at 23:00; 甲 and 己 days begin with 甲子.
  int g = c.hour;
  if (g % 2 == 1) g = (g + 1) % 24;
  const int ds = p.day % 10 == 0 ? 5 : p.day % 10;
  p.hour = JiaziFromStemBranch((g / 2 + 2 * ds - 1) % 10, (g / 2 + 1) % 12);
  return p;
}

}  // namespace quorin::calendar

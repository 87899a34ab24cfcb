// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/lunar_calendar.h"

#include <array>
#include <cmath>

#include "calendar/astronomy.h"
#include "calendar/correction_texts.h"
#include "calendar/delta_t.h"
#include "calendar/sexagenary.h"

namespace quorin::calendar {
namespace {

constexpr double kCivilShift = 1.0 / 3;  // UTC+8 against UT, in days
// The mean synodic month, to the precision the month guesses were tuned with.
constexpr double kSynodicMonth = 29.5306;
// The same to two decimals: only steps a new moon found after the solstice back into the month before.
constexpr double kSynodicMonthStepBack = 29.53;
// The mean tropical year in days, and the 24 solar terms that divide it.
constexpr double kTropicalYear = 365.2422;
constexpr double kTermsPerYear = 24;
// Days after J2000 of the winter solstice of 2000, near enough to find the solstice of any year.
constexpr double kSolsticeOf2000 = 355;

// Mean new moons of the old calendars: (epoch JD, synodic month) pairs, then the end of the span.
constexpr std::array<double, 23> kNewMoonFits{
    1457698.231017, 29.53067166, 1546082.512234, 29.53085106, 1640640.735300, 29.53060000,
    1642472.151543, 29.53085439, 1683430.509300, 29.53086148, 1752148.041079, 29.53085097,
    1807665.420323, 29.53059851, 1883618.114100, 29.53060000, 1907360.704700, 29.53060000,
    1936596.224900, 29.53060000, 1939135.675300, 29.53060000, 1947168.0};

// Mean solar terms of the old calendars: (epoch JD, interval) pairs, then the end of the span.
constexpr std::array<double, 71> kSolarTermFits{
    1640650.479938, 15.218425,    1642476.703182, 15.21874996,  1683430.515601, 15.218750011,
    1752157.640664, 15.218749978, 1807675.003759, 15.218620279, 1883627.765182, 15.218612292,
    1907369.1281,   15.218449176, 1936603.140413, 15.218425,    1939145.52418,  15.218466998,
    1947180.7983,   15.218524844, 1964362.041824, 15.218533526, 1987372.340971, 15.218513908,
    1999653.819126, 15.218530782, 2007445.469786, 15.218535181, 2021324.917146, 15.218526248,
    2047257.232342, 15.218519654, 2070282.898213, 15.218425,    2073204.87285,  15.218515221,
    2080144.500926, 15.218530782, 2086703.688963, 15.218523776, 2110033.182763, 15.218425,
    2111190.300888, 15.218425,    2113731.271005, 15.218515671, 2120670.840263, 15.218425,
    2123973.309063, 15.218425,    2125068.997336, 15.218477932, 2136026.312633, 15.218472436,
    2156099.495538, 15.218425,    2159021.324663, 15.218425,    2162308.575254, 15.218461742,
    2178485.706538, 15.218425,    2178759.662849, 15.218445786, 2185334.0208,   15.218425,
    2187525.481425, 15.218425,    2188621.191481, 15.218437494, 2322147.76};

constexpr double kExactPi = 3.14159265358979323846;
constexpr double kFullAstronomyFrom = 2436935;  // 1960-01-01: the modern calendar follows the sky

// Month numbers by the month's count modulo 12 from the month holding the winter solstice (建子).
constexpr std::array<int, 12> kMonthNumbers{11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

double FractionalPart(double x) { return x - std::floor(x); }

int MonthNumber(int count) { return kMonthNumbers[PositiveModulo(count, 12)]; }

}  // namespace

double NewMoonLow(double W) {
  const double v = 7771.37714500204;
  double t = (W + 1.08472) / v;
  t -= (-0.0000331 * t * t + 0.10976 * std::cos(0.785 + 8328.6914 * t) + 0.02224 * std::cos(0.187 + 7214.0629 * t) -
        0.03342 * std::cos(4.669 + 628.3076 * t)) /
           v +
       (32 * (t + 1.8) * (t + 1.8) - 20) / 86400 / 36525;
  return t * 36525 + kCivilShift;
}

double SolarTermLow(double W) {
  const double v = 628.3319653318;
  double t = (W - 4.895062166) / v;
  t -= (53 * t * t + 334116 * std::cos(4.67 + 628.307585 * t) + 2061 * std::cos(2.678 + 628.3076 * t) * t) / v / 1e7;
  const double L = 48950621.66 + 6283319653.318 * t + 53 * t * t + 334166 * std::cos(4.669257 + 628.307585 * t) +
                   3489 * std::cos(4.6261 + 1256.61517 * t) + 2060.6 * std::cos(2.67823 + 628.307585 * t) * t - 994 -
                   834 * std::sin(2.1824 - 33.75705 * t);
  t -= (L / 1e7 - W) / 628.332 + (32 * (t + 1.8) * (t + 1.8) - 20) / 86400 / 36525;
  return t * 36525 + kCivilShift;
}

namespace {

// Civil day offset of the fast instant; the full series is needed only when that instant lies so
// near a civil midnight (within `windowSeconds`) that its error could change the day.
double CivilInstant(double W, double (*fast)(double), double (*precise)(double), double windowSeconds) {
  double t = fast(W) * 36525;
  t = t - DeltaTDays(t) + kCivilShift;
  const double s = FractionalPart(t + 0.5) * 86400;
  if (s < windowSeconds || s > 86400 - windowSeconds) t = precise(W) * 36525 - DeltaTDays(t) + kCivilShift;
  return t;
}

}  // namespace

double SolarTermHigh(double W) { return CivilInstant(W, SunLonTimeFast, SunLonTime, 1200); }

double NewMoonHigh(double W) { return CivilInstant(W, ElongationTimeFast, ElongationTime, 1800); }

std::string ExpandCorrections(std::string_view compressed) {
  std::string out;
  out.reserve(compressed.size() * 8);
  for (const char c : compressed) {
    if (c >= 'A' && c <= 'F') {
      out.append(static_cast<std::size_t>(60 - 10 * (c - 'A')), '0');  // A sixty zeros … F ten
    } else if (c >= 'G' && c <= 'J') {
      out.append(static_cast<std::size_t>(5 - (c - 'G')), '0');  // G five zeros … J two
    } else if (c >= 'l' && c <= 't') {
      out.append(static_cast<std::size_t>(9 - (c - 'l')), '0');  // l: nine zeros and 2 … t: one zero and 2
      out += '2';
    } else if (c >= 'a' && c <= 'g') {
      out.append(static_cast<std::size_t>(9 - (c - 'a')), '0');  // a: nine zeros and 1 … g: three zeros and 1
      out += '1';
    } else if (c == 'h') {
      out += "001001";
    } else if (c == 'i') {
      out += "001";
    } else if (c == 'j') {
      out += "0101";
    } else if (c == 'k') {
      out += "01";
    } else {
      out += c;
    }
  }
  return out;
}

const CalendarCorrections& ExpandedCorrections() {
  static const CalendarCorrections corrections{ExpandCorrections(kNewMoonCorrections),
                                               ExpandCorrections(kSolarTermCorrections)};
  return corrections;
}

LunarCalendar::LunarCalendar() : corrections_(&ExpandedCorrections()) {}

int LunarCalendar::TermDay(double approxDayNumber, TermKind kind) const {
  const bool term = kind == TermKind::SolarTerm;
  const double pc = term ? 7 : 14;
  const double* fits = term ? kSolarTermFits.data() : kNewMoonFits.data();
  const std::size_t fitSize = term ? kSolarTermFits.size() : kNewMoonFits.size();
  const double f1 = fits[0] - pc;
  const double f2 = fits[fitSize - 1] - pc;
  const double jd = approxDayNumber + kJ2000;

  const double k = term ? std::floor((jd + 7 - 2451259) / kTropicalYear * kTermsPerYear)
                        : std::floor((jd + 14 - 2451551) / kSynodicMonth);
  const double W = term ? k * kPi / 12 : kTwoPi * k;

  if (jd < f1 || jd >= kFullAstronomyFrom) {
    return static_cast<int>(std::floor((term ? SolarTermHigh(W) : NewMoonHigh(W)) + 0.5));
  }
  if (jd < f2) {
    // The mean-value calendars before the corrected span.
    std::size_t i = 0;
    while (i + 2 < fitSize - 1 && jd + pc >= fits[i + 2]) i += 2;
    double d = fits[i] + fits[i + 1] * std::floor((jd + pc - fits[i]) / fits[i + 1]);
    d = std::floor(d + 0.5);
    if (d == 1683460) d = 1683461;  // the recorded new moon of −103-01-24
    return static_cast<int>(d - kJ2000);
  }
  // Fast formula with the official calendar's one-day corrections. The new-moon digits were made
  // against the exact angle 2πk: with the stored π a new moon of 649, 823, 1007 or 1215 lands a few
  // seconds past midnight, its digit then moves it a day too far and a month gets 31 days.
  const double lowW = term ? W : 2 * kExactPi * k;
  const int d = static_cast<int>(std::floor((term ? SolarTermLow(lowW) : NewMoonLow(lowW)) + 0.5));
  const std::string& text = term ? corrections_->solarTerms : corrections_->newMoons;
  const double position =
      term ? std::floor((jd - f2) / kTropicalYear * kTermsPerYear) : std::floor((jd - f2) / kSynodicMonth);
  const char digit = position >= 0 && position < static_cast<double>(text.size())
                         ? text[static_cast<std::size_t>(position)]
                         : '0';
  if (digit == '1') return d + 1;
  if (digit == '2') return d - 1;
  return d;
}

const LunarYear& LunarCalendar::ComputeLunarYear(int dayNumber) {
  // The winter solstice on or before the day: estimate it, and step back a year when it falls later.
  // Half a year (183 days) on rounds to the nearest solstice.
  double approx =
      std::floor((dayNumber - kSolsticeOf2000 + 183) / kTropicalYear) * kTropicalYear + kSolsticeOf2000;
  if (!solstice_.valid || solstice_.approx != approx) {
    solstice_ = {approx, TermDay(approx, TermKind::SolarTerm), true};
  }
  if (solstice_.day > dayNumber) approx -= kTropicalYear;

  for (int slot = 0; slot < 2; ++slot) {
    if (remembered_[slot].valid && remembered_[slot].approx == approx) {
      currentSlot_ = slot;
      return remembered_[slot].year;
    }
  }
  const int slot = remembered_[currentSlot_].valid ? 1 - currentSlot_ : currentSlot_;
  remembered_[slot] = {approx, true, Compute(approx)};
  currentSlot_ = slot;
  return remembered_[slot].year;
}

LunarYear LunarCalendar::Compute(double W) const {
  LunarYear y;
  for (int i = 0; i < 25; ++i) y.terms[i] = TermDay(W + 15.2184 * i, TermKind::SolarTerm);
  y.earlierTerms[0] = TermDay(W - 15.2, TermKind::SolarTerm);
  y.earlierTerms[1] = TermDay(W - 30.4, TermKind::SolarTerm);

  double w = TermDay(y.terms[0], TermKind::NewMoon);
  if (w > y.terms[0]) w -= kSynodicMonthStepBack;
  for (int i = 0; i < 15; ++i) y.newMoons[i] = TermDay(w + kSynodicMonth * i, TermKind::NewMoon);

  y.leap = 0;
  for (int i = 0; i < 14; ++i) {
    y.lengths[i] = y.newMoons[i + 1] - y.newMoons[i];
    y.months[i] = i;
  }

  const int year = static_cast<int>(std::floor((y.terms[0] + 10 + 180) / kTropicalYear)) + 2000;
  if (year >= -721 && year <= -104) {
    // Before the Taichu reform: the months are counted from each calendar's own year start.
    std::array<int, 3> start{}, last{}, offset{};
    for (int k = 0; k < 3; ++k) {
      const int py = year - 1 + k;
      // The oldest rule also serves the one year before its span, so every month has a start.
      start[k] = TermDay(-993847 + std::floor(0.342 + (py + 721) * 12.368422) * kSynodicMonth, TermKind::NewMoon);
      last[k] = 13;
      offset[k] = 2;
      if (py >= -479) {
        start[k] = TermDay(-905462 + std::floor(0.5 + (py + 479) * 12.368422) * kSynodicMonth, TermKind::NewMoon);
        last[k] = 13;
        offset[k] = 2;
      }
      if (py >= -220) {
        start[k] = TermDay(-810904 + std::floor(0.866 + (py + 220) * 12.369) * kSynodicMonth, TermKind::NewMoon);
        last[k] = 10;
        offset[k] = 11;
      }
    }
    for (int i = 0; i < 14; ++i) {
      int k = 2;
      while (k > 0 && y.newMoons[i] < start[k]) --k;
      const int sinceStart = static_cast<int>(std::floor((y.newMoons[i] - start[k] + 15) / kSynodicMonth));
      y.months[i] = sinceStart < 12 ? MonthNumber(sinceStart + offset[k]) : last[k];
    }
    return y;
  }

  // A thirteen-month year intercalates the first month without a principal term.
  if (y.newMoons[13] <= y.terms[24]) {
    int i = 1;
    while (i < 13 && y.newMoons[i + 1] > y.terms[2 * i]) ++i;
    y.leap = i;
    for (int j = i; j < 14; ++j) {
      y.months[j] -= 1;
      if (y.months[j] < 1) y.months[j] = 12;
    }
  }

  for (int i = 0; i < 14; ++i) {
    const int counted = y.months[i];
    const int startJD = y.newMoons[i] + static_cast<int>(kJ2000);
    int number = MonthNumber(counted);
    if ((startJD >= 1724360 && startJD <= 1729794) || (startJD >= 1807724 && startJD <= 1808699)) {
      number = MonthNumber(counted + 1);  // 王莽 and 魏明帝 counted from the 丑 month
    } else if (startJD >= 1999349 && startJD <= 1999467) {
      number = MonthNumber(counted + 2);  // 肃宗 761–762 counted from the 子 month
    } else if (startJD >= 1973067 && startJD <= 1977052) {
      // 武周: the 子 month is 正月 and the 寅 month keeps the number 1 as 一月.
      number = (PositiveModulo(counted, 12) == 0 || counted == 2) ? 1 : MonthNumber(counted);
    }
    if (startJD == 1729794 || startJD == 1808699) number = 12;
    y.months[i] = number;
  }
  return y;
}

LunarDate LunarCalendar::LunarDateOfDay(int dayNumber) {
  const LunarYear& y = ComputeLunarYear(dayNumber);
  // A guess by 30-day months, put right by one month where the guess fell short.
  int month = static_cast<int>(std::floor((dayNumber - y.newMoons[0]) / 30.0));
  if (month < 0) month = 0;
  if (month > 13) month = 13;
  if (month < 13 && dayNumber >= y.newMoons[month + 1]) month += 1;

  LunarDate date;
  date.day = dayNumber - y.newMoons[month] + 1;
  date.month = y.months[month];
  date.leap = y.leap != 0 && month == y.leap;

  // The year counts from the last 正月 begun on or before the day, or one year back from the next one.
  double yearStart = y.newMoons[2];
  for (int j = 0; j < 14; ++j) {
    if (y.months[j] == 1 && (j != y.leap || j == 0)) {
      yearStart = y.newMoons[j];
      if (dayNumber < yearStart) {
        yearStart -= 365;
        break;
      }
    }
  }
  // 5810 days before J2000 lies near the 正月 of 1984; whole tropical years from it count the year.
  date.year = static_cast<int>(std::floor((yearStart + 5810) / kTropicalYear + 0.5)) + 1984;
  return date;
}

}  // namespace quorin::calendar

#include "ui/frm_fan_tui_search.h"

#include <cmath>

#include "chart/domain_tables.h"

namespace quorin::ui {

using calendar::CivilDateTime;
using calendar::FourPillars;
using calendar::Jiazi;
using calendar::MYiDateEx;

namespace {

constexpr int kCycle = 60;

int PositiveModulo(int value, int modulus) { return ((value % modulus) + modulus) % modulus; }

// A list position from a stem or branch number (0 = 癸 / 亥 goes to the end of the list).
int ItemOf(int number, int count) { return number == 0 ? count - 1 : number - 1; }

// The pair, or nothing when stem and branch differ in parity and so form no pillar.
std::optional<Jiazi> PillarOf(int stem, int branch) {
  if (stem % 2 != branch % 2) return std::nullopt;
  return MYiDateEx::JiaziFromStemBranch(stem, branch);
}

// 1..10 for the stem of a pillar (癸 read as 10), as the stem rules count it.
int StemCount(Jiazi pillar) { return pillar % 10 == 0 ? 10 : pillar % 10; }

CivilDateTime AtHalfPastNoon(const CivilDateTime& x) { return {x.year, x.month, x.day, 12, 30}; }

}  // namespace

PillarChoice ChoiceOfPillars(const FourPillars& p) {
  return {ItemOf(p.year % 10, 10), ItemOf(p.year % 12, 12), ItemOf(p.month % 12, 12),
          ItemOf(p.day % 10, 10),  ItemOf(p.day % 12, 12),  ItemOf(p.hour % 12, 12)};
}

BuiltPillars BuildPillars(const PillarChoice& c) {
  BuiltPillars built;
  const std::optional<Jiazi> year = PillarOf((c.yearStem + 1) % 10, (c.yearBranch + 1) % 12);
  if (!year) return {built.pillars, 0};
  built.pillars.year = *year;

  // The stem of the 寅 month plus the months since 寅.
  const int ys = StemCount(*year);
  const int tigerStem = (((ys < 6) ? ys : ys - 5) * 2 + 1) % 10;
  const std::optional<Jiazi> month = PillarOf(((c.monthBranch + 10) % 12 + tigerStem) % 10, (c.monthBranch + 1) % 12);
  if (!month) return {built.pillars, 1};
  built.pillars.month = *month;

  const std::optional<Jiazi> day = PillarOf((c.dayStem + 1) % 10, (c.dayBranch + 1) % 12);
  if (!day) return {built.pillars, 2};
  built.pillars.day = *day;

  // The stem of the 子 hour plus the hours since 子.
  const int ds = StemCount(*day);
  const int ratStem = (((ds < 6) ? ds : ds - 5) * 2 - 1) % 10;
  const std::optional<Jiazi> hour = PillarOf((ratStem + c.hourBranch) % 10, (c.hourBranch + 1) % 12);
  if (!hour) return {built.pillars, 3};
  built.pillars.hour = *hour;
  return built;
}

std::optional<CivilDateTime> FindPillarMoment(MYiDateEx& date, const FourPillars& wanted, int startYear) {
  const int wantedYear = PositiveModulo(wanted.year, kCycle);
  int first = startYear;
  while (chart::YearJiazi(first) != wantedYear) ++first;

  // Gregorian month of the 节 that opens the wanted month: 寅 → 2 … 亥 → 11, 子 → 12, 丑 → 1.
  const int monthBranch = wanted.month % 12;
  const int termMonth = monthBranch < 2 ? monthBranch + 11 : monthBranch - 1;
  const int hoursFromRat = PositiveModulo(wanted.hour % 12 - 1, 12);

  for (int year = first; year == first || year < calendar::kLastCalendarYear; year += kCycle) {
    // A moment after the calendar's last year could not be charted.
    if (year > calendar::kLastCalendarYear) break;
    const int termYear = monthBranch == 2 ? year + 1 : year;  // 丑 opens with the 小寒 of January next year
    const CivilDateTime opening = date.SolarTermMoment(termYear, termMonth, true);
    const CivilDateTime closing =
        termMonth == 12 ? date.SolarTermMoment(termYear + 1, 1, true) : date.SolarTermMoment(termYear, termMonth + 1, true);
    const double openingJD = date.ToJulianDay(opening);
    const double closingJD = date.ToJulianDay(closing);
    const double firstNoon = date.ToJulianDay(AtHalfPastNoon(opening));
    const double span = std::floor(date.ToJulianDay(AtHalfPastNoon(closing)) - firstNoon);
    const int k = PositiveModulo(wanted.day - date.DayPillar(opening), kCycle);
    if (k > span) continue;
    const double candidate = firstNoon - 12.5 / 24 + k + 2.0 * hoursFromRat / 24;
    if (candidate < openingJD || candidate >= closingJD) continue;
    CivilDateTime found = date.FromJulianDay(candidate);
    found.minute = 0;
    if (found.year > calendar::kLastCalendarYear) return std::nullopt;
    return found;
  }
  return std::nullopt;
}

}  // namespace quorin::ui

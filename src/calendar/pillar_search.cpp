// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/pillar_search.h"

#include <cmath>
#include <iterator>

#include "calendar/sexagenary.h"

namespace quorin::calendar {

namespace {

// A position in stem or branch order from a stem or branch number (0 = 癸 / 亥 goes to the end of the list).
int ItemOf(int number, int count) { return number == 0 ? count - 1 : number - 1; }

// The pillar number, as the four pillars store it.
std::int16_t NumberOf(Jiazi pillar) { return static_cast<std::int16_t>(pillar.Number()); }

// Days are counted from 12:30 to 12:30, half a day away from any midnight, so flooring a Julian
// day difference never lands on the wrong side of a rounding error.
constexpr int kCountingHour = 12;
constexpr int kCountingMinute = 30;
constexpr double kHoursPerDay = 24;
// From the counting time back to the day's midnight, in days.
constexpr double kCountingToMidnight = (kCountingHour + kCountingMinute / 60.0) / kHoursPerDay;
// A double hour starts at an even clock hour: 子 at 0:00, 丑 at 2:00 … 亥 at 22:00.
constexpr double kHoursPerBranch = 2.0;

CivilDateTime AtCountingTime(const CivilDateTime& x) {
  return {x.year, x.month, x.day, kCountingHour, kCountingMinute};
}

}  // namespace

PillarChoice ChoiceOfPillars(const FourPillars& p) {
  auto stem = [](int pillar) { return ItemOf(Jiazi(pillar).StemPart().Number(), kStemCount); };
  auto branch = [](int pillar) { return ItemOf(Jiazi(pillar).BranchPart().Number(), kBranchCount); };
  return {stem(p.year), branch(p.year), branch(p.month), stem(p.day), branch(p.day), branch(p.hour)};
}

BuiltPillars BuildPillars(const PillarChoice& c) {
  const std::optional<Jiazi> year = Jiazi::Of(Stem(c.yearStem + 1), Branch(c.yearBranch + 1));
  const Branch monthBranch(c.monthBranch + 1);
  const std::optional<Jiazi> month =
      year ? Jiazi::Of(MonthStem(year->StemPart(), monthBranch), monthBranch) : std::nullopt;
  const std::optional<Jiazi> day = Jiazi::Of(Stem(c.dayStem + 1), Branch(c.dayBranch + 1));
  const Branch hourBranch(c.hourBranch + 1);
  const std::optional<Jiazi> hour = day ? Jiazi::Of(HourStem(day->StemPart(), hourBranch), hourBranch) : std::nullopt;

  // In the order the pillars are named: 年 0, 月 1, 日 2, 时 3.
  const std::optional<Jiazi> parts[] = {year, month, day, hour};
  std::int16_t FourPillars::*const slots[] = {&FourPillars::year, &FourPillars::month, &FourPillars::day,
                                              &FourPillars::hour};
  BuiltPillars built;
  for (int i = 0; i < static_cast<int>(std::size(parts)); ++i) {
    if (!parts[i]) return {built.pillars, i};
    built.pillars.*slots[i] = NumberOf(*parts[i]);
  }
  return built;
}

std::optional<CivilDateTime> FindPillarMoment(MYiDateEx& date, const FourPillars& wanted, int startYear) {
  const Jiazi wantedYear(wanted.year);
  int first = startYear;
  while (YearJiazi(first) != wantedYear) ++first;

  // Gregorian month of the 节 that opens the wanted month: 寅 → 2 … 亥 → 11, 子 → 12, 丑 → 1.
  const int monthBranch = Jiazi(wanted.month).BranchPart().Number();
  const int termMonth = monthBranch < 2 ? monthBranch + 11 : monthBranch - 1;
  const int hoursFromRat = Jiazi(wanted.hour).BranchPart().SinceRat();

  // The year pillar comes back every sixty years.
  for (int year = first; year == first || year < kLastCalendarYear; year += kJiaziCount) {
    // A moment after the calendar's last year could not be charted.
    if (year > kLastCalendarYear) break;
    const int termYear = monthBranch == 2 ? year + 1 : year;  // 丑 opens with the 小寒 of January next year
    const CivilDateTime opening = date.SolarTermMoment(termYear, termMonth, true);
    const CivilDateTime closing = termMonth == 12 ? date.SolarTermMoment(termYear + 1, 1, true)
                                                  : date.SolarTermMoment(termYear, termMonth + 1, true);
    const double openingJD = date.ToJulianDay(opening);
    const double closingJD = date.ToJulianDay(closing);
    const double firstCount = date.ToJulianDay(AtCountingTime(opening));
    const double span = std::floor(date.ToJulianDay(AtCountingTime(closing)) - firstCount);
    const int daysToWanted = PositiveModulo(wanted.day - date.DayPillar(opening).Number(), kJiaziCount);
    if (daysToWanted > span) continue;
    const double candidate =
        firstCount - kCountingToMidnight + daysToWanted + kHoursPerBranch * hoursFromRat / kHoursPerDay;
    if (candidate < openingJD || candidate >= closingJD) continue;
    CivilDateTime found = date.FromJulianDay(candidate);
    found.minute = 0;
    if (found.year > kLastCalendarYear) return std::nullopt;
    return found;
  }
  return std::nullopt;
}

}  // namespace quorin::calendar

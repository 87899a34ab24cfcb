#include "ui/frm_fan_tui_search.h"

#include <cmath>

#include "calendar/sexagenary.h"

namespace quorin::ui {

using calendar::Branch;
using calendar::CivilDateTime;
using calendar::FourPillars;
using calendar::Jiazi;
using calendar::MYiDateEx;
using calendar::PositiveModulo;
using calendar::Stem;

namespace {

constexpr int kCycle = calendar::kJiaziCount;

// A list position from a stem or branch number (0 = 癸 / 亥 goes to the end of the list).
int ItemOf(int number, int count) { return number == 0 ? count - 1 : number - 1; }

// The pillar number, as the four pillars store it.
std::int16_t NumberOf(Jiazi pillar) { return static_cast<std::int16_t>(pillar.Number()); }

CivilDateTime AtHalfPastNoon(const CivilDateTime& x) { return {x.year, x.month, x.day, 12, 30}; }

}  // namespace

PillarChoice ChoiceOfPillars(const FourPillars& p) {
  auto stem = [](int pillar) { return ItemOf(Jiazi(pillar).StemPart().Number(), calendar::kStemCount); };
  auto branch = [](int pillar) { return ItemOf(Jiazi(pillar).BranchPart().Number(), calendar::kBranchCount); };
  return {stem(p.year), branch(p.year), branch(p.month), stem(p.day), branch(p.day), branch(p.hour)};
}

BuiltPillars BuildPillars(const PillarChoice& c) {
  BuiltPillars built;
  const std::optional<Jiazi> year = Jiazi::Of(Stem(c.yearStem + 1), Branch(c.yearBranch + 1));
  if (!year) return {built.pillars, 0};
  built.pillars.year = NumberOf(*year);

  const Branch monthBranch(c.monthBranch + 1);
  const std::optional<Jiazi> month = Jiazi::Of(calendar::MonthStem(year->StemPart(), monthBranch), monthBranch);
  if (!month) return {built.pillars, 1};
  built.pillars.month = NumberOf(*month);

  const std::optional<Jiazi> day = Jiazi::Of(Stem(c.dayStem + 1), Branch(c.dayBranch + 1));
  if (!day) return {built.pillars, 2};
  built.pillars.day = NumberOf(*day);

  const Branch hourBranch(c.hourBranch + 1);
  const std::optional<Jiazi> hour = Jiazi::Of(calendar::HourStem(day->StemPart(), hourBranch), hourBranch);
  if (!hour) return {built.pillars, 3};
  built.pillars.hour = NumberOf(*hour);
  return built;
}

std::optional<CivilDateTime> FindPillarMoment(MYiDateEx& date, const FourPillars& wanted, int startYear) {
  const Jiazi wantedYear(wanted.year);
  int first = startYear;
  while (calendar::YearJiazi(first) != wantedYear) ++first;

  // Gregorian month of the 节 that opens the wanted month: 寅 → 2 … 亥 → 11, 子 → 12, 丑 → 1.
  const int monthBranch = Jiazi(wanted.month).BranchPart().Number();
  const int termMonth = monthBranch < 2 ? monthBranch + 11 : monthBranch - 1;
  const int hoursFromRat = Jiazi(wanted.hour).BranchPart().SinceRat();

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
    const int k = PositiveModulo(wanted.day - date.DayPillar(opening).Number(), kCycle);
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

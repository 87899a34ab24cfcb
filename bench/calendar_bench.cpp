// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the calendar's busiest paths: a perpetual-calendar sweep, a year's terms, a year's pillars.
// Every iteration starts from a fresh date object, so remembered results never carry over.
#include <benchmark/benchmark.h>

#include "calendar/julian_day.h"
#include "calendar/yi_date_ex.h"
#include "calendar/zone_time.h"

namespace quorin::calendar {
namespace {

// Target: 73,414 days (1900-01-01 … 2100-12-31) under 50 ms.
void LunarDateOfEveryDay1900To2100(benchmark::State& state) {
  const double first = JulianDayFromDate(1900, 1, 1.5);
  const double last = JulianDayFromDate(2100, 12, 31.5);
  for (auto _ : state) {
    MYiDateEx date;
    int sum = 0;
    for (double jd = first; jd <= last; jd += 1) {
      CivilDateTime lunar;
      sum += date.SolarToLunar(DateFromJulianDayToMinute(jd), lunar) ? 1 : lunar.day;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(last - first + 1));
}
BENCHMARK(LunarDateOfEveryDay1900To2100)->Unit(benchmark::kMillisecond);

// Target: under 1 ms per year.
void SolarTermsOfOneYear(benchmark::State& state) {
  int year = 1900;
  for (auto _ : state) {
    MYiDateEx date;
    benchmark::DoNotOptimize(date.SolarTermsOfYear(year));
    year = year == 2100 ? 1900 : year + 1;
  }
}
BENCHMARK(SolarTermsOfOneYear)->Unit(benchmark::kMicrosecond);

// Target: the 4,392 two-hour steps of 2024 under 20 ms, with true solar time as the search uses it.
void PillarsOfEveryTwoHoursOfAYear(benchmark::State& state) {
  const auto mode = static_cast<TimeCorrectionMode>(state.range(0));
  const double first = JulianDayFromParts(2024, 1, 1, 0, 0, 0);
  for (auto _ : state) {
    MYiDateEx date;
    int sum = 0;
    for (int step = 0; step < 366 * 12; ++step) {
      MomentInput in;
      in.entered = DateFromJulianDayToMinute(first + step / 12.0);
      in.mode = mode;
      in.longitude = 113.5f;
      PreparedMoment prepared;
      if (date.PrepareMoment(in, prepared).ok) sum += date.ComputeFourPillars(prepared).hour;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 366 * 12);
}
BENCHMARK(PillarsOfEveryTwoHoursOfAYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One clock time of a zone with summer time read and turned into Beijing time: what a zoned
// search adds to each moment it tests (every two hours of a year in New York).
void ZonedClockTimeToBeijingTime(benchmark::State& state) {
  const std::optional<TimeZone> zone = TimeZone::Find("America/New_York");
  int step = 0;
  for (auto _ : state) {
    const int day = step / 12 % 365;
    const CivilDateTime clock{2024, static_cast<std::int16_t>(1 + day / 31), static_cast<std::int16_t>(1 + day % 28),
                              static_cast<std::int16_t>(step % 12 * 2), 5};
    ++step;
    benchmark::DoNotOptimize(BeijingTimeOfClock(clock, zone->Read(clock).offsets[0]));
  }
}
BENCHMARK(ZonedClockTimeToBeijingTime)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorin::calendar

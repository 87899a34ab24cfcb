// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/delta_t.h"

#include <array>

namespace quorin::calendar {
namespace {

struct DeltaTRow {
  double year, a0, a1, a2, a3;
};

// Cubic pieces of ΔT in seconds; each row holds until the next row's year.
constexpr std::array<DeltaTRow, 20> kRows{{
    {-4000, 108371.7, -13036.8, 392.0, 0.0},
    {-500, 17201.0, -627.82, 16.17, -0.3413},
    {-150, 12200.6, -346.41, 5.403, -0.1593},
    {150, 9113.8, -328.13, -1.647, 0.0377},
    {500, 5707.5, -391.41, 0.915, 0.3145},
    {900, 2203.4, -283.45, 13.034, -0.1778},
    {1300, 490.1, -57.35, 2.085, -0.0072},
    {1600, 120.0, -9.81, -1.532, 0.1403},
    {1700, 10.2, -0.91, 0.51, -0.037},
    {1800, 13.4, -0.72, 0.202, -0.0193},
    {1830, 7.8, -1.81, 0.416, -0.0247},
    {1860, 8.3, -0.13, -0.406, 0.0292},
    {1880, -5.4, 0.32, -0.183, 0.0173},
    {1900, -2.3, 2.06, 0.169, -0.0135},
    {1920, 21.2, 1.69, -0.304, 0.0167},
    {1940, 24.2, 1.22, -0.064, 0.0031},
    {1960, 33.2, 0.51, 0.231, -0.0109},
    {1980, 51.0, 1.29, -0.026, 0.0032},
    {2000, 63.87, 0.1, 0.0, 0.0},
    {2005, 64.7, 0.4, 0.0, 0.0},
}};
constexpr double kLastYear = 2015;
constexpr double kLastDeltaT = 69.0;
// The table's end blends into the parabola over one century.
constexpr double kBlendYears = 100;
constexpr double kBlendEnd = kLastYear + kBlendYears;

// Long-term parabola: 31 s per century squared about 1820.
double Extension(double year) {
  const double u = (year - 1820) / 100;
  return 31 * u * u - 20;
}

}  // namespace

double DeltaT(double year) {
  if (year >= kLastYear) {
    if (year > kBlendEnd) return Extension(year);
    return Extension(year) - (Extension(kLastYear) - kLastDeltaT) * (kBlendEnd - year) / kBlendYears;
  }
  std::size_t i = 0;
  while (i + 1 < kRows.size() && kRows[i + 1].year <= year) ++i;
  const double next = i + 1 < kRows.size() ? kRows[i + 1].year : kLastYear;
  const DeltaTRow& r = kRows[i];
  const double x = 10 * (year - r.year) / (next - r.year);
  return r.a0 + r.a1 * x + r.a2 * x * x + r.a3 * x * x * x;
}

double DeltaTDays(double dayOffset) { return DeltaT(dayOffset / 365.2425 + 2000) / 86400; }

}  // namespace quorin::calendar

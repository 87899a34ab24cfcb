// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/astronomy.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calendar/series_tables.h"

namespace quorin::calendar {
namespace {

constexpr double kRad = kArcsecondsPerRadian;

struct NutationRow {
  double phase, frequency, t2, deltaPsi;
};
// Δψ in 0.01″; the obliquity part of nutation is not needed anywhere.
constexpr std::array<NutationRow, 10> kNutation{{
    {2.1824, -33.75705, 0.000036, -1720},
    {3.5069, 1256.66393, 0.000011, -132},
    {1.3375, 16799.4182, -0.000051, -23},
    {4.3649, -67.5141, 0.000072, 21},
    {0.04, -628.302, 0, -14},
    {2.36, 8328.691, 0, 7},
    {3.46, 1884.966, 0, -5},
    {5.44, 16833.175, 0, -4},
    {3.69, 25128.11, 0, -3},
    {3.55, 628.362, 0, 2},
}};

// Terms taken from a group: the share of n that the group's size bears to the main group, plus one
// term for every group after the first, never more than the group holds. Counted in doubles.
int TruncatedLength(int n, int groupLength, int mainLength, int termWidth, bool firstGroup) {
  if (n < 0) return groupLength;
  int m = static_cast<int>(std::floor(static_cast<double>(termWidth) * n * groupLength / mainLength + 0.5));
  if (!firstGroup) m += termWidth;
  return std::min(m, groupLength);
}

}  // namespace

double Obliquity(double T) {
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T, T5 = T4 * T;
  return (84381.406 - 46.836769 * T - 0.0001831 * T2 + 0.0020034 * T3 - 5.76e-7 * T4 - 4.34e-8 * T5) / kRad;
}

double NutationLon(double T) {
  const double T2 = T * T;
  double sum = 0;
  for (std::size_t i = 0; i < kNutation.size(); ++i) {
    const NutationRow& r = kNutation[i];
    const double c = i == 0 ? -1.742 * T : 0.0;
    sum += (r.deltaPsi + c) * std::sin(r.phase + r.frequency * T + r.t2 * T2);
  }
  return sum * 0.01 / kRad;
}

double SunAberration(double T) {
  const double T2 = T * T;
  const double v = -0.043126 + 628.301955 * T - 0.000002732 * T2;
  const double e = 0.016708634 - 0.000042037 * T - 0.0000001267 * T2;
  return -20.49552 * (1 + e * std::cos(v)) / kRad;
}

double MoonAberration(double) { return -3.4e-6; }

double EarthLon(double T, int n) {
  const double tau = T / 10;
  const auto& offsets = kEarthLongitudeGroupOffsets;
  const int mainLength = offsets[1] - offsets[0];
  double total = 0;
  double power = 1;
  for (int i = 0; i < kEarthLongitudeGroups; ++i, power *= tau) {
    const int begin = offsets[i];
    const int length = offsets[i + 1] - begin;
    if (length == 0) continue;
    const int used = TruncatedLength(n, length, mainLength, 3, i == 0);
    double sum = 0;
    for (int j = begin; j < begin + used; j += 3) {
      sum += kEarthLongitudeSeries[j] * std::cos(kEarthLongitudeSeries[j + 1] + kEarthLongitudeSeries[j + 2] * tau);
    }
    total += sum * power;
  }
  total /= kEarthLongitudeSeries[0];
  const double tau2 = tau * tau;
  total += (-0.0728 - 2.7702 * tau - 1.1019 * tau2 - 0.0996 * tau2 * tau) / kRad;
  return total;
}

double MoonLon(double T, int n) {
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T, T5 = T4 * T;
  double total = (3.81034409 + 8399.684730072 * T - 0.00003319 * T2 + 3.11e-8 * T3 - 2.033e-10 * T4) * kRad;
  total += 5028.792262 * T + 1.1124406 * T2 + 0.00007699 * T3 - 0.000023479 * T4 - 1.78e-8 * T5;
  if (T > 10) {
    // Beyond AD 3000 the series drifts; this fit holds it to the long ephemerides.
    const double x = T - 10;
    total += -0.866 + 1.43 * x + 0.054 * x * x;
  }
  const double t2 = T2 * 1e-4, t3 = T3 * 1e-8, t4 = T4 * 1e-8;
  const auto& lengths = kMoonLongitudeGroupLengths;
  const double* group = kMoonLongitudeSeries;
  double power = 1;
  for (int i = 0; i < kMoonLongitudeGroups; ++i, power *= T) {
    const int length = lengths[i];
    const int used = TruncatedLength(n, length, lengths[0], 6, i == 0);
    double sum = 0;
    for (int j = 0; j < used; j += 6) {
      const double* term = group + j;
      sum += term[0] * std::cos(term[1] + term[2] * T + term[3] * t2 + term[4] * t3 + term[5] * t4);
    }
    total += sum * power;
    group += length;
  }
  return total / kRad;
}

double SunApparentLon(double T, int n) { return EarthLon(T, n) + NutationLon(T) + SunAberration(T) + kPi; }

double MoonSunElongation(double T, int nMoon, int nEarth) {
  // Nutation moves both bodies alike and cancels.
  return MoonLon(T, nMoon) + MoonAberration(T) - (EarthLon(T, nEarth) + SunAberration(T) + kPi);
}

double EarthSpeed(double T) {
  const double f = 628.307585 * T;
  return 628.332 + 21 * std::sin(1.527 + f) + 0.44 * std::sin(1.48 + 2 * f) + 0.129 * std::sin(5.82 + f) * T +
         0.00055 * std::sin(4.21 + f) * T * T;
}

double MoonSpeed(double T) {
  return 8399.71 - 914 * std::sin(0.7848 + 8328.691425 * T + 0.0001523 * T * T) -
         (179 * std::sin(2.543 + 15542.7543 * T) + 160 * std::sin(0.1874 + 7214.0629 * T) +
          62 * std::sin(3.14 + 16657.3828 * T) + 34 * std::sin(4.827 + 16866.9323 * T) +
          22 * std::sin(4.9 + 23871.4457 * T) + 12 * std::sin(2.59 + 14914.4523 * T) +
          7 * std::sin(0.23 + 6585.7609 * T) + 5 * std::sin(0.9 + 25195.624 * T) +
          5 * std::sin(2.32 - 7700.3895 * T) + 5 * std::sin(3.88 + 8956.9934 * T) +
          5 * std::sin(0.49 + 7771.3771 * T));
}

namespace {
constexpr double kSunMeanRate = 628.3319653318;
constexpr double kElongationMeanRate = 7771.37714500204;
}  // namespace

double SunLonTime(double W) {
  double T = (W - 1.75347 - kPi) / kSunMeanRate;
  double v = EarthSpeed(T);
  T += (W - SunApparentLon(T, 10)) / v;
  v = EarthSpeed(T);
  T += (W - SunApparentLon(T, -1)) / v;
  return T;
}

double SunLonTimeFast(double W) {
  const double v = kSunMeanRate;
  double T = (W - 1.75347 - kPi) / v;
  T -= (0.000005297 * T * T + 0.0334166 * std::cos(4.669257 + 628.307585 * T) +
        0.0002061 * std::cos(2.67823 + 628.307585 * T) * T) /
       v;
  T += (W - EarthLon(T, 8) - kPi + (20.5 + 17.2 * std::sin(2.1824 - 33.75705 * T)) / kRad) / v;
  return T;
}

double ElongationTime(double W) {
  const double v0 = kElongationMeanRate;
  double T = (W + 1.08472) / v0;
  T += (W - MoonSunElongation(T, 3, 3)) / v0;
  const double v = MoonSpeed(T) - EarthSpeed(T);
  T += (W - MoonSunElongation(T, 20, 10)) / v;
  T += (W - MoonSunElongation(T, -1, 60)) / v;
  return T;
}

double ElongationTimeFast(double W) {
  const double v0 = kElongationMeanRate;
  double T = (W + 1.08472) / v0;
  T -= (-0.00003309 * T * T + 0.10976 * std::cos(0.784758 + 8328.6914246 * T + 0.000152292 * T * T) +
        0.02224 * std::cos(0.1874 + 7214.0628654 * T - 0.00021848 * T * T) -
        0.03342 * std::cos(4.669257 + 628.307585 * T)) /
       v0;
  const double L = MoonLon(T, 20) - (4.8950632 + 628.3319653318 * T + 0.000005297 * T * T +
                                     0.0334166 * std::cos(4.669257 + 628.307585 * T) +
                                     0.0002061 * std::cos(2.67823 + 628.307585 * T) * T +
                                     0.000349 * std::cos(4.6261 + 1256.61517 * T) - 20.5 / kRad);
  const double v = 7771.38 - 914 * std::sin(0.7848 + 8328.691425 * T + 0.0001523 * T * T) -
                   179 * std::sin(2.543 + 15542.7543 * T) - 160 * std::sin(0.1874 + 7214.0629 * T);
  T += (W - L) / v;
  return T;
}

double EquationOfTime(double T) {
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T, T5 = T4 * T;
  const double L = (1753470142 + 628331965331.8 * T + 5296.74 * T2 + 0.432 * T3 - 0.1124 * T4 - 0.00009 * T5) * 1e-9 +
                   kPi - 20.5 / kRad;
  const double dL = -17.2 * std::sin(2.1824 - 33.75705 * T) / kRad;
  const double dE = 9.2 * std::cos(2.1824 - 33.75705 * T) / kRad;
  const double E = Obliquity(T) + dE;
  const double lambda = EarthLon(T, 50) + kPi + SunAberration(T) + dL;
  const double beta = -(2796 * std::cos(3.1987 + 8433.46616 * T) + 1016 * std::cos(5.4225 + 550.75532 * T) +
                        804 * std::cos(3.88 + 522.3694 * T)) *
                      1e-9;
  EquatorialCoordinates q = EclipticToEquatorial(lambda, beta, E);
  q.rightAscension -= dL * std::cos(E);
  return NormAnglePi(L - q.rightAscension) / kTwoPi;
}

EquatorialCoordinates EclipticToEquatorial(double longitude, double latitude, double obliquity) {
  EquatorialCoordinates q;
  q.rightAscension = NormAngle2Pi(std::atan2(
      std::sin(longitude) * std::cos(obliquity) - std::tan(latitude) * std::sin(obliquity), std::cos(longitude)));
  q.declination = std::asin(std::cos(obliquity) * std::sin(latitude) +
                            std::sin(obliquity) * std::cos(latitude) * std::sin(longitude));
  return q;
}

double NormAngle2Pi(double x) {
  double r = x - kTwoPi * std::trunc(x / kTwoPi);
  if (r < 0) r += kTwoPi;
  return r;
}

double NormAnglePi(double x) {
  double r = x - kTwoPi * std::trunc(x / kTwoPi);
  if (r <= -kPi) {
    r += kTwoPi;
  } else if (r > kPi) {
    r -= kTwoPi;
  }
  return r;
}

}  // namespace quorin::calendar

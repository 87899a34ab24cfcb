// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's and Moon's apparent longitudes from truncated series, and their inversions.
// T is Julian centuries of TT from J2000.0; angles are radians; a term count n < 0 means all terms.
#pragma once

namespace quorin::calendar {

// The stored π serves every angle, so results agree to the minute with the historical tables.
inline constexpr double kPi = 3.14159265;
inline constexpr double kTwoPi = 2 * kPi;
inline constexpr double kArcsecondsPerRadian = 648000 / kPi;

// Mean obliquity of the ecliptic.
double Obliquity(double T);
// Nutation in longitude (ten-term series).
double NutationLon(double T);
// Annual aberration in the Sun's longitude.
double SunAberration(double T);
// Aberration in the Moon's longitude (a constant).
double MoonAberration(double T);

// Earth's heliocentric longitude of date, not normalised; n terms of the main group, a share of the others.
double EarthLon(double T, int n);
// Moon's geocentric longitude of date, not normalised; truncated like EarthLon.
double MoonLon(double T, int n);
// Apparent geocentric longitude of the Sun, cumulative (not reduced to one turn).
double SunApparentLon(double T, int n);
// Apparent Moon longitude minus apparent Sun longitude, cumulative.
double MoonSunElongation(double T, int nMoon, int nEarth);

// Approximate rates of the Earth's and the Moon's longitudes, radians per century.
double EarthSpeed(double T);
double MoonSpeed(double T);

// T at which SunApparentLon reaches the cumulative longitude W (precise, full series at the end).
double SunLonTime(double W);
// The same to about ten minutes, without the full series.
double SunLonTimeFast(double W);
// T at which MoonSunElongation reaches the cumulative elongation W (precise).
double ElongationTime(double W);
// The same, low precision.
double ElongationTimeFast(double W);

// Apparent minus mean solar time, in days.
double EquationOfTime(double T);

struct EquatorialCoordinates {
  double rightAscension = 0;  // [0, 2π)
  double declination = 0;
};
EquatorialCoordinates EclipticToEquatorial(double longitude, double latitude, double obliquity);

// Angle reduced to [0, 2π) and to (−π, π], by truncated remainder as the historical tables did.
double NormAngle2Pi(double x);
double NormAnglePi(double x);

}  // namespace quorin::calendar

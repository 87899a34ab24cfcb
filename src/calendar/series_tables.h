// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled coefficient tables of the Earth and Moon longitude series (generated from data/astro).
#pragma once

#include <array>
#include <cstdint>

namespace quorin::calendar {

// Earth: heliocentric longitude of date, VSOP87 version D, six groups (τ⁰..τ⁵) of 186, 114, 60, 8, 4, 4
// terms (A, B, C) meaning A·cos(B + C·τ), A in 10⁻¹⁰ rad. The block starts with the scale 10¹⁰ and
// the group offsets (counted in doubles from the block start, first group at 20); the terms follow.
inline constexpr int kEarthLongitudeGroups = 6;
extern const double kEarthLongitudeSeries[];
// The same group offsets as integers; entry 6 is the end of the block.
extern const std::array<std::int32_t, kEarthLongitudeGroups + 1> kEarthLongitudeGroupOffsets;

// Moon: geocentric longitude, ELP/MPP02 (DE405 constants), four groups (T⁰..T³) of 442, 149, 34, 2
// terms (A, φ, ω₁, ω₂, ω₃, ω₄) meaning A·cos(φ + ω₁T + ω₂T²·10⁻⁴ + ω₃T³·10⁻⁸ + ω₄T⁴·10⁻⁸), A in arcseconds.
inline constexpr int kMoonLongitudeGroups = 4;
extern const double kMoonLongitudeSeries[];
// Length of each group in doubles, groups stored one after another.
extern const std::array<std::int32_t, kMoonLongitudeGroups> kMoonLongitudeGroupLengths;

}  // namespace quorin::calendar

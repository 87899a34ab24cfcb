// SPDX-License-Identifier: GPL-3.0-or-later
// Colours of the chart text and image, as Windows writes them: 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace quorin::draw {

using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kGreen = 0x008000;
inline constexpr Color kDarkRed = 0x000080;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kHighlight = 0xF3E3CA;  // a pale blue: the chosen cells of the line bar

inline constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

}  // namespace quorin::draw

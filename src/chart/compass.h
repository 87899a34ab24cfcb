// SPDX-License-Identifier: GPL-3.0-or-later
// Compass degrees as users type them, and the mountain and hexagram they point at.
#pragma once

#include <optional>
#include <string_view>

namespace quorin::chart {

// A compass degree typed as 18, 18-12 or 18:12 (18°12'); nothing when the degree part is no
// whole number (18.5 included). Bad minutes read as 0.
std::optional<float> ParseCompassDegrees(std::string_view text);

// The mountain (0 = 壬) and the position of its gua in the mountain's gua list for a
// compass degree in 0..360.
struct MountainAndGua {
  int mountain = 0;
  int guaPosition = 0;
};
MountainAndGua MountainAndGuaOfDegrees(float degrees);

}  // namespace quorin::chart

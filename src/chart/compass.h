// Compass degrees as users type them, and the mountain and hexagram they point at.
#pragma once

#include <string_view>

namespace quorin::chart {

// A compass degree typed as 18, 18-12 or 18:12 (18°12'). A degree part that is no
// whole number reads as -1 (so 18.5 falls outside 0..360); bad minutes read as 0.
float ParseCompassDegrees(std::string_view text);

// The mountain (0 = 壬) and the position of its gua in the mountain's gua list for a
// compass degree in 0..360.
struct MountainAndGua {
  int mountain = 0;
  int guaPosition = 0;
};
MountainAndGua MountainAndGuaOfDegrees(float degrees);

}  // namespace quorin::chart

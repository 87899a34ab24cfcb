// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/compass.h"

#include "base/text_parse.h"
#include "chart/domain_tables.h"

namespace quorin::chart {

std::optional<float> ParseCompassDegrees(std::string_view text) {
  // A '-' in front is a sign, not the separator of the minutes.
  std::size_t separator = text.find('-');
  if (separator == std::string_view::npos || separator < 1) separator = text.find(':');
  if (separator == std::string_view::npos || separator < 1) {
    const auto degrees = base::ParseTypedInt(text);
    if (!degrees) return std::nullopt;
    return static_cast<float>(*degrees);
  }
  const auto degrees = base::ParseTypedInt(text.substr(0, separator));
  if (!degrees) return std::nullopt;
  const int minutes = base::ParseTypedInt(text.substr(separator + 1)).value_or(0);
  return static_cast<float>(*degrees + minutes / 60.0);
}

MountainAndGua MountainAndGuaOfDegrees(float x) {
  // Divisions are multiplications by the factors 1/15 and 8/45 in extended precision:
  // on the arc boundaries this decides the side (0° and 360° fall into 坤 of 子).
  constexpr long double kFifteenth = 1.0L / 15.0L;
  constexpr long double kEighthOf45 = 8.0L / 45.0L;
  // 壬, the first mountain, begins at 337.5°; each mountain spans 15° and each trigram's palace of
  // three mountains 45°, which holds eight hexagrams of 5.625°.
  constexpr long double kFirstMountainStart = 337.5L;
  constexpr int kMountainsPerPalace = 3;
  constexpr int kPalaceDegrees = 45;
  constexpr int kHexagramsPerPalace = 8;
  long double fromFirst = static_cast<long double>(x) - kFirstMountainStart;
  if (fromFirst < 0) fromFirst += 360;
  const int mountain = static_cast<int>(fromFirst * kFifteenth) % kMountainCount;
  long double palaceStart = (mountain / kMountainsPerPalace) * kPalaceDegrees + kFirstMountainStart;
  if (palaceStart >= 360) palaceStart -= 360;
  long double intoPalace = static_cast<long double>(x) - palaceStart;
  if (intoPalace < 0) intoPalace += 360;
  const int hexagram = static_cast<int>(intoPalace * kEighthOf45) % kHexagramsPerPalace;
  const int mountainInPalace = static_cast<int>(intoPalace * kFifteenth) % kMountainsPerPalace;
  // The third and sixth hexagrams straddle two mountains: the mountain the degree lies in decides
  // whose list holds it.
  int gua = 0;
  switch (hexagram) {
    case 0: case 1: gua = hexagram; break;
    case 2: gua = mountainInPalace == 0 ? 2 : 0; break;
    case 3: case 4: gua = hexagram - 2; break;
    case 5: gua = mountainInPalace == 1 ? 3 : 0; break;
    default: gua = hexagram - 5; break;
  }
  return {mountain, gua};
}

}  // namespace quorin::chart

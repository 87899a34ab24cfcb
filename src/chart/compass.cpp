#include "chart/compass.h"

#include "base/text_parse.h"

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
  long double a = static_cast<long double>(x) - 337.5L;
  if (a < 0) a += 360;
  const int b = static_cast<int>(a * kFifteenth);
  const int mountain = b % 24;
  long double c = (mountain / 3) * 45 + 337.5L;
  if (c >= 360) c -= 360;
  long double d = static_cast<long double>(x) - c;
  if (d < 0) d += 360;
  const int k = static_cast<int>(d * kEighthOf45) % 8;
  const int r = static_cast<int>(d * kFifteenth) % 3;
  int gua = 0;
  switch (k) {
    case 0: case 1: gua = k; break;
    case 2: gua = r == 0 ? 2 : 0; break;
    case 3: case 4: gua = k - 2; break;
    case 5: gua = r == 1 ? 3 : 0; break;
    default: gua = k - 5; break;
  }
  return {mountain, gua};
}

}  // namespace quorin::chart

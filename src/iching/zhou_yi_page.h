// SPDX-License-Identifier: GPL-3.0-or-later
// The I Ching text page: the hexagram names of each palace, the six lines read from a name,
// and the judgement, commentaries and line texts laid out for reading.
#pragma once

#include <string>
#include <vector>

namespace quorin::iching {

// Line codes of HexagramLinesOfName, as the six-line chart writes them.
inline constexpr char kYangLine = '1';
inline constexpr char kYinLine = '2';
inline constexpr int kLinesPerHexagram = 6;

// The eight names of a palace (0 = 乾 … 7 = 坤), in the page's order; none past the eighth.
std::vector<std::string> PalaceHexagramNames(int palace);
// Six line codes, top line first, from the images in the name: its first two characters, or
// its last one twice for a pure hexagram (乾为天). Empty when a character is no image.
std::string HexagramLinesOfName(const std::string& name, bool pureHexagram);
// The text of hexagram `member` of `palace`: judgement with 彖 and great image, the six
// lines with their small images, and 用九 or 用六 for 乾为天 and 坤为地.
std::string HexagramMemoText(int palace, int member, const std::string& name, const std::string& lines);

}  // namespace quorin::iching

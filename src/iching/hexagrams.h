// SPDX-License-Identifier: GPL-3.0-or-later
// Names of the sixty-four hexagrams and the eight trigrams. Hexagrams are indexed
// in eight-palace order (palace × 8 + generation, 0 = 乾为天); trigrams in palace
// order 乾 兑 离 震 巽 坎 艮 坤.
#pragma once

#include <string_view>

namespace quorin::iching {

inline constexpr int kHexagramCount = 64;
inline constexpr int kTrigramCount = 8;

// Full name, e.g. 天风姤; the index must be 0..63.
std::string_view HexagramName(int gua);
// Name shown in charts, e.g. 姤, 大有.
std::string_view HexagramShortName(int gua);
// Trigram name (乾 兑 …) and image (天 泽 火 雷 风 水 山 地).
std::string_view TrigramName(int trigram);
std::string_view TrigramImage(int trigram);
// The trigram whose image is the given character, -1 when none is.
int TrigramOfImage(std::string_view image);

}  // namespace quorin::iching

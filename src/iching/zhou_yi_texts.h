// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the I Ching page, compiled into the program (generated table).
#pragma once

#include <string_view>

namespace quorin::iching {

// Text number `id` (UTF-8), empty when there is none:
//   700                      the sixty-four names in eight-palace order, each in an 8-byte GBK field;
//   100 + 56·p + 7·k         judgement of hexagram k of palace p: 卦辞 "t" 彖 "x" great image;
//   100 + 56·p + 7·k + n     line n from the bottom (1..6): 爻辞 "x" small image;
//   51, 52                   用九 of 乾为天 and 用六 of 坤为地: text "x" image.
std::string_view ZhouYiText(int id);

}  // namespace quorin::iching

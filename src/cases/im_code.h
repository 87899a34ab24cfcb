// SPDX-License-Identifier: GPL-3.0-or-later
// Pinyin of Chinese text, for the surname orderings of the case tree.
#pragma once

#include <bitset>
#include <string>
#include <string_view>

namespace quorin::cases {

class ImCode {
 public:
  // Flag bits of Convert.
  static constexpr int kWholeSyllable = 1;       // "Zhang" instead of "Z"
  static constexpr int kMarkUnknown = 2;         // "?" for a double-byte character without syllable
  static constexpr int kKeepAllSingleBytes = 4;  // keep punctuation and other single bytes

  ImCode();

  // Pinyin of a GBK text: each character gives its piece followed by one space (an
  // empty piece still gives the space). Negative flags give an empty result.
  std::string ConvertGbk(std::string_view gbk, int flags) const;
  // The same for UTF-8 text; characters GBK lacks count as the single byte '?'.
  std::string Convert(std::string_view utf8, int flags) const;

 private:
  std::string PieceOfDoubleByte(unsigned lead, unsigned trail, int flags) const;

  std::bitset<256> letters_;
  std::bitset<256> digits_;
};

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed tables of ImCode, generated from data/pinyin/gbk_pinyin.tsv by
// tools/gen_pinyin_tables.py into data/tables/cases/im_code_tables.cpp.
#pragma once

#include <cstdint>

namespace quorin::cases {

// Double-byte GBK codes with lead 0x81..0xFE and trail 0x40..0xFE.
inline constexpr int kGbkTrailCount = 191;
inline constexpr int kGbkDoubleByteCodes = 126 * kGbkTrailCount;

// Syllables in lower case; entry 0 and one separator entry are empty.
extern const int kSyllableCount;
extern const char* const kSyllables[];
// Syllable number of each code at (lead - 0x81) * 191 + (trail - 0x40); 0 for none.
extern const std::uint16_t kSyllableOfGbk[kGbkDoubleByteCodes];
// GBK row 0xA2, trail 0xA1..0xFE: the value of a numeral character as decimal text, or "".
extern const char* const kRowA2Digits[94];
// GBK row 0xA6: the romanisation of the 24 Greek letters in alphabet order.
extern const char* const kGreekLetters[24];

}  // namespace quorin::cases

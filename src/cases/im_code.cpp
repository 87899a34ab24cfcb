// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/im_code.h"

#include <cctype>

#include "base/gbk.h"
#include "cases/im_code_tables.h"

namespace quorin::cases {

ImCode::ImCode() {
  for (int c = 'A'; c <= 'Z'; ++c) letters_.set(c);
  for (int c = 'a'; c <= 'z'; ++c) letters_.set(c);
  for (int c = '0'; c <= '9'; ++c) digits_.set(c);
}

std::string ImCode::PieceOfDoubleByte(unsigned lead, unsigned trail, int flags) const {
  const std::string unknown = flags & kMarkUnknown ? "?" : "";
  if (lead == 0xA2) {
    if (trail < 0xA1) return unknown;
    return kRowA2Digits[trail - 0xA1];
  }
  if (lead == 0xA3) {
    // Full-width forms mirror ASCII at trail - 0x80; codes outside that range stand for nothing.
    const unsigned c = trail - 0x80;
    if (trail < 0xA1 || c > 0x7E) return "";
    if (!(flags & kKeepAllSingleBytes) && !letters_[c] && !digits_[c]) return "";
    return std::string(1, static_cast<char>(c));
  }
  if (lead == 0xA6) {
    int letter = -1;
    if (trail >= 0xA1 && trail <= 0xB8) letter = static_cast<int>(trail - 0xA1);
    if (trail >= 0xC1 && trail <= 0xD8) letter = static_cast<int>(trail - 0xC1);
    if (letter < 0) return "";
    std::string piece = kGreekLetters[letter];
    for (char& ch : piece) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return piece;
  }
  const unsigned syllable = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE
                                ? kSyllableOfGbk[(lead - 0x81) * kGbkTrailCount + (trail - 0x40)]
                                : 0;
  if (syllable == 0 || syllable >= static_cast<unsigned>(kSyllableCount) || kSyllables[syllable][0] == '\0') {
    return unknown;
  }
  std::string piece = kSyllables[syllable];
  piece[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(piece[0])));
  if (!(flags & kWholeSyllable)) piece.resize(1);
  return piece;
}

std::string ImCode::ConvertGbk(std::string_view gbk, int flags) const {
  std::string out;
  if (flags < 0) return out;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    const bool doubleByte = byte >= 0x81 && i + 1 < gbk.size() && static_cast<unsigned char>(gbk[i + 1]) >= 0x40;
    if (doubleByte) {
      out += PieceOfDoubleByte(byte, static_cast<unsigned char>(gbk[i + 1]), flags);
      i += 2;
    } else {
      if (letters_[byte] || digits_[byte]) {
        out += static_cast<char>(byte);
      } else if (flags & kKeepAllSingleBytes) {
        out += byte < 0x80 ? static_cast<char>(byte) : '?';  // a stray high byte is no text of its own
      }
      i += 1;
    }
    out += ' ';
  }
  return out;
}

std::string ImCode::Convert(std::string_view utf8, int flags) const {
  return ConvertGbk(base::Utf8ToGbkLossy(utf8), flags);
}

}  // namespace quorin::cases

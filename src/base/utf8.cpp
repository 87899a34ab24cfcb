// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/utf8.h"

namespace quorin::base {

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  int length = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + length > text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char c = byte(pos + i);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    ++pos;
    return 0xFFFD;
  }
  pos += length;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::u32string Utf8ToCodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) out += NextCodePoint(text, pos);
  return out;
}

std::string CodePointsToUtf8(std::u32string_view codePoints) {
  std::string out;
  out.reserve(codePoints.size() * 3);
  for (char32_t cp : codePoints) AppendUtf8(out, cp);
  return out;
}

int CharacterCount(std::string_view text) {
  int count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) NextCodePoint(text, pos);
  return count;
}

std::string Utf8Substring(std::string_view text, int first, int count) {
  std::size_t pos = 0;
  for (int i = 0; i < first && pos < text.size(); ++i) NextCodePoint(text, pos);
  const std::size_t start = pos;
  for (int i = 0; i < count && pos < text.size(); ++i) NextCodePoint(text, pos);
  return std::string(text.substr(start, pos - start));
}

int Utf16Length(std::string_view text) {
  int units = 0;
  for (std::size_t pos = 0; pos < text.size();) units += NextCodePoint(text, pos) >= 0x10000 ? 2 : 1;
  return units;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t before = pos;
    if (NextCodePoint(text, pos) == 0xFFFD) {
      // U+FFFD itself is valid when spelled out in three bytes.
      if (pos - before != 3) return false;
    }
  }
  return true;
}

}  // namespace quorin::base

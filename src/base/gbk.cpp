// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/gbk.h"

#include <iconv.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

#include "base/utf8.h"

namespace quorin::base {
namespace {

// Both directions of code page 936 as flat tables, built once from the system's
// iconv so that every later conversion is a lookup (the chart text is measured
// in GBK bytes many times per chart).
struct GbkTables {
  std::vector<char32_t> toUnicode = std::vector<char32_t>(0x10000, kReplacementCharacter);
  std::vector<std::uint16_t> fromUnicode = std::vector<std::uint16_t>(0x10000, 0);
};

char32_t DecodeWithIconv(iconv_t cd, const char* bytes, std::size_t length) {
  char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = length;
  std::size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
    return kReplacementCharacter;
  }
  const std::size_t written = sizeof out - outLeft;
  std::size_t pos = 0;
  const char32_t cp = NextCodePoint(std::string_view(out, written), pos);
  return pos == written ? cp : kReplacementCharacter;
}

const GbkTables& Tables() {
  static std::unique_ptr<GbkTables> tables;
  static std::once_flag once;
  std::call_once(once, [] {
    tables = std::make_unique<GbkTables>();
    iconv_t cd = iconv_open("UTF-8", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "GBK");
    for (int b = 0; b < 0x80; ++b) {
      tables->toUnicode[b] = static_cast<char32_t>(b);
      tables->fromUnicode[b] = static_cast<std::uint16_t>(b);
    }
    if (cd == reinterpret_cast<iconv_t>(-1)) return;  // ASCII only; every other character is '?'
    const char euro = static_cast<char>(0x80);
    const char32_t euroCp = DecodeWithIconv(cd, &euro, 1);
    if (euroCp != kReplacementCharacter && euroCp < 0x10000) {
      tables->toUnicode[0x80] = euroCp;
      tables->fromUnicode[euroCp] = 0x80;
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const char32_t cp = DecodeWithIconv(cd, bytes, 2);
        if (cp == kReplacementCharacter || cp >= 0x10000) continue;
        const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
        tables->toUnicode[code] = cp;
        if (tables->fromUnicode[cp] == 0) tables->fromUnicode[cp] = code;
      }
    }
    iconv_close(cd);
  });
  return *tables;
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

void AppendGbkCode(std::string& out, std::uint16_t code) {
  if (code >= 0x100) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

}  // namespace

std::uint16_t GbkCodeOf(char32_t cp) {
  if (cp < 0x80) return static_cast<std::uint16_t>(cp);
  if (cp >= 0x10000) return 0;
  return Tables().fromUnicode[cp];
}

char32_t CharacterOfGbkCode(std::uint16_t code) { return Tables().toUnicode[code]; }

std::string GbkToUtf8(std::string_view gbk) {
  const GbkTables& t = Tables();
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (std::size_t i = 0; i < gbk.size();) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (IsLeadByte(b) && i + 1 < gbk.size()) {
      const auto trail = static_cast<unsigned char>(gbk[i + 1]);
      const char32_t cp = t.toUnicode[static_cast<std::uint16_t>(b << 8 | trail)];
      if (cp != kReplacementCharacter) {
        AppendUtf8(out, cp);
        i += 2;
        continue;
      }
    }
    // 0x80 (the euro sign) is the only single byte above ASCII that has a character.
    AppendUtf8(out, b == 0x80 ? t.toUnicode[0x80] : kReplacementCharacter);
    ++i;
  }
  return out;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8, std::string* error) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const char32_t cp = NextCodePoint(utf8, pos);
    const bool malformed = cp == kReplacementCharacter && pos - start != 3;
    const std::uint16_t code = malformed ? 0 : GbkCodeOf(cp);
    if (code == 0 && cp != 0) {
      if (error) {
        *error = malformed ? "文本不是有效的UTF-8编码"
                           : "字符“" + std::string(utf8.substr(start, pos - start)) + "”无法以GBK编码保存";
      }
      return std::nullopt;
    }
    AppendGbkCode(out, code);
  }
  return out;
}

std::string Utf8ToGbkLossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, pos);
    const std::uint16_t code = GbkCodeOf(cp);
    if (code == 0 && cp != 0) {
      out += '?';
    } else {
      AppendGbkCode(out, code);
    }
  }
  return out;
}

int GbkByteLength(char32_t cp) { return GbkCodeOf(cp) >= 0x100 ? 2 : 1; }

int GbkByteLength(std::string_view utf8) {
  int bytes = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[pos]);
    if (b < 0x80) {  // fast path for ASCII
      ++bytes;
      ++pos;
      continue;
    }
    bytes += GbkByteLength(NextCodePoint(utf8, pos));
  }
  return bytes;
}

std::string TruncateToGbkBytes(std::string_view utf8, int maxBytes) {
  int bytes = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t next = pos;
    const int width = GbkByteLength(NextCodePoint(utf8, next));
    if (bytes + width > maxBytes) break;
    bytes += width;
    pos = next;
  }
  return std::string(utf8.substr(0, pos));
}

std::string PadToGbkBytes(std::string_view utf8, int width) {
  std::string out(utf8);
  const int length = GbkByteLength(utf8);
  if (length < width) out.append(static_cast<std::size_t>(width - length), ' ');
  return out;
}

int CharacterIndexAtGbkByte(std::string_view utf8, int byteOffset) {
  int bytes = 0;
  int index = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++index) {
    const int width = GbkByteLength(NextCodePoint(utf8, pos));
    if (bytes + width > byteOffset) return index;
    bytes += width;
  }
  return index;
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// GBK (code page 936) at the file boundary; UTF-8 everywhere inside.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::base {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes GBK bytes. A byte sequence that is not a GBK character becomes U+FFFD,
// one per offending byte, so nothing vanishes silently and decoding never fails.
std::string GbkToUtf8(std::string_view gbk);

// Encodes UTF-8 as GBK. Fails (nullopt) when a character has no GBK form or the
// input is not UTF-8; `error`, when given, then names the first offending character.
[[nodiscard]] std::optional<std::string> Utf8ToGbk(std::string_view utf8, std::string* error = nullptr);

// Encodes UTF-8 as GBK with '?' for every character GBK lacks, as Windows does.
std::string Utf8ToGbkLossy(std::string_view utf8);

// Bytes the text takes in GBK: 1 for ASCII and for characters written as '?',
// 2 for a double-byte character (the euro sign 0x80 is a single byte).
int GbkByteLength(std::string_view utf8);
int GbkByteLength(char32_t codePoint);

// The longest prefix of whole characters that fits in maxBytes GBK bytes.
std::string TruncateToGbkBytes(std::string_view utf8, int maxBytes);

// Pads with spaces on the right up to width GBK bytes (never truncates).
std::string PadToGbkBytes(std::string_view utf8, int width);

// Index (in characters) of the character that starts at or contains GBK byte
// offset `byteOffset` of the text; the character count when the offset is past the end.
int CharacterIndexAtGbkByte(std::string_view utf8, int byteOffset);

// The GBK code of one character (0 when GBK lacks it); a single byte is returned below 0x100.
std::uint16_t GbkCodeOf(char32_t codePoint);
// The character of a GBK code (single byte below 0x100); U+FFFD when there is none.
char32_t CharacterOfGbkCode(std::uint16_t code);

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// Small UTF-8 helpers; the program keeps its text in UTF-8 std::string.
#pragma once

#include <string>
#include <string_view>

namespace quorin::base {

// Decodes one code point at `pos` and advances it. Malformed input yields U+FFFD
// and advances by one byte, so every loop over hostile text terminates.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);
std::u32string Utf8ToCodePoints(std::string_view text);
std::string CodePointsToUtf8(std::u32string_view codePoints);

// Number of code points.
int CharacterCount(std::string_view text);
// Characters [first, first + count) of the text; clipped to the text.
std::string Utf8Substring(std::string_view text, int first, int count);
// Length of the text in UTF-16 code units (what Qt counts).
int Utf16Length(std::string_view text);

bool IsValidUtf8(std::string_view text);

}  // namespace quorin::base

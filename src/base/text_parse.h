// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers and blanks in text as the program's files, its database and its users write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorin::base {

// The text without ASCII blanks (space, \t \n \v \f \r) at either end. For file and table bytes:
// GBK text holds no other blanks, and a GBK trail byte is never taken for one.
std::string_view Trim(std::string_view text);

// UTF-8 text without Unicode blanks at either end, the ideographic space of a Chinese keyboard
// included (the same set Qt trims), for what users type.
std::string_view TrimTyped(std::string_view utf8);

// The whole text as a decimal integer: one optional sign, then ASCII digits to the end. No blanks;
// nothing when the text is anything else or out of range.
[[nodiscard]] std::optional<int> ParseInt(std::string_view text);
[[nodiscard]] std::optional<std::int64_t> ParseInt64(std::string_view text);

// ParseInt that also takes "$" or "0x" hexadecimal after the sign, as INI values and edits have
// always been read. Hexadecimal without '-' is a 32-bit pattern, so $80000000..$FFFFFFFF read as
// negative numbers ($FFFFFFFF is -1): files written with colours such as $FF00000F rely on it. With
// '-' the digits are a magnitude that must fit an int.
[[nodiscard]] std::optional<int> ParseIntOrHex(std::string_view text);

// A number typed into an edit: ParseIntOrHex of the text without its blanks (TrimTyped).
[[nodiscard]] std::optional<int> ParseTypedInt(std::string_view utf8);

// The whole text as a finite decimal number: one optional sign, digits with an optional fraction
// and exponent. No blanks, no "inf" or "nan".
[[nodiscard]] std::optional<double> ParseNumber(std::string_view text);

}  // namespace quorin::base

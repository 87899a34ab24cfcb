// SPDX-License-Identifier: GPL-3.0-or-later
// Ranges of chart text are reasoned in GBK bytes (the table colours its columns by
// byte count); the text view counts UTF-16 units. This maps the one to the other.
#pragma once

#include <string>
#include <string_view>

namespace quorin::chart {

struct UnitRange {
  int start = 0;
  int length = 0;
  bool operator==(const UnitRange&) const = default;
};

// The units of `text` covering GBK bytes [byteStart, byteStart + byteLength): every
// character that has a byte inside the range, whole. "\r\n" is one unit, as the
// view keeps one line break for it.
UnitRange GbkRangeToUnits(std::string_view text, int byteStart, int byteLength);

// The text with every "\r\n" (and lone "\r") as "\n", as the view receives it.
std::string WithPlainLineBreaks(std::string_view text);

}  // namespace quorin::chart

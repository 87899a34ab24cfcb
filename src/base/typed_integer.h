// Whole numbers as users type them into the program's edits.
#pragma once

#include <string_view>

namespace quorin::base {

// The text as a whole decimal integer (blanks around it allowed, an optional sign,
// or "$"/"0x" hexadecimal); `fallback` for anything else, an empty text included.
// Blanks are the Unicode separators, so the ideographic space of a Chinese keyboard
// counts as one; digits are ASCII only.
int IntegerOrDefault(std::string_view text, int fallback);

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// Text that arrives in the encoding of the user's locale (command-line arguments), made UTF-8,
// the only encoding the program keeps text in.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::base {

// The character encoding of the user's locale (LC_ALL, LC_CTYPE, LANG), as the C library names
// it ("UTF-8", "GB18030", "ANSI_X3.4-1968"); "UTF-8" when the locale is not installed.
std::string LocaleEncoding();

// The bytes converted from `encoding` to UTF-8; nothing when they are not text in it.
[[nodiscard]] std::optional<std::string> ToUtf8From(std::string_view bytes, const std::string& encoding);

// The arguments in UTF-8: converted from the locale's encoding unless that is UTF-8 or plain
// ASCII (the C locale, where UTF-8 arguments pass as they are). False, with a message naming the
// argument, when one is not valid text or holds a character no stored text may (NUL cannot reach
// here; control characters other than tab and line ends are refused).
[[nodiscard]] bool ArgumentsToUtf8(std::vector<std::string>& arguments, const std::string& encoding, std::string& message);

}  // namespace quorin::base

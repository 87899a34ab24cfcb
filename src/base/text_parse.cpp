// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/text_parse.h"

#include <charconv>
#include <cstdlib>
#include <climits>
#include <cmath>

#include "base/utf8.h"

namespace quorin::base {

namespace {

bool IsAsciiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Spaces, line and paragraph separators and the control blanks \t \n \v \f \r and U+0085.
bool IsBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One optional sign off the front; true when it was '-'.
bool TakeSign(std::string_view& text) {
  if (text.empty() || (text.front() != '-' && text.front() != '+')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

// The digits of the whole text in `base` (no sign, no blanks); nothing when they overflow 64 bits.
std::optional<std::uint64_t> Magnitude(std::string_view digits, int base) {
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// A signed value of the magnitude when it lies in [-negativeLimit, positiveLimit].
std::optional<std::int64_t> Signed(std::uint64_t magnitude, bool negative, std::uint64_t positiveLimit,
                                   std::uint64_t negativeLimit) {
  if (negative) {
    if (magnitude > negativeLimit) return std::nullopt;
    return magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
  }
  if (magnitude > positiveLimit) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

constexpr std::uint64_t kIntMax = INT_MAX;
constexpr std::uint64_t kIntMinMagnitude = kIntMax + 1;

}  // namespace

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsAsciiBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimTyped(std::string_view utf8) {
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t next = start;
    if (!IsBlank(NextCodePoint(utf8, next))) break;
    start = next;
  }
  utf8.remove_prefix(start);
  // Walk forward and remember where the last non-blank ends.
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (!IsBlank(NextCodePoint(utf8, pos))) end = pos;
  }
  return utf8.substr(0, end);
}

std::optional<int> ParseInt(std::string_view text) {
  const bool negative = TakeSign(text);
  const auto magnitude = Magnitude(text, 10);
  if (!magnitude) return std::nullopt;
  const auto value = Signed(*magnitude, negative, kIntMax, kIntMinMagnitude);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
  const bool negative = TakeSign(text);
  const auto magnitude = Magnitude(text, 10);
  if (!magnitude) return std::nullopt;
  constexpr std::uint64_t kMax = INT64_MAX;
  return Signed(*magnitude, negative, kMax, kMax + 1);
}

std::optional<int> ParseIntOrHex(std::string_view text) {
  const bool negative = TakeSign(text);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  }
  const auto magnitude = Magnitude(text, base);
  if (!magnitude) return std::nullopt;
  if (base == 16 && !negative) {
    if (*magnitude > 0xFFFFFFFFULL) return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(*magnitude));
  }
  const auto value = Signed(*magnitude, negative, kIntMax, kIntMinMagnitude);
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<int> ParseTypedInt(std::string_view utf8) { return ParseIntOrHex(TrimTyped(utf8)); }

std::optional<double> ParseNumber(std::string_view text) {
  const bool negative = TakeSign(text);
  // from_chars would take another sign, "inf" and "nan" here.
  if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) return std::nullopt;
  double value = 0;
#if defined(__EMSCRIPTEN__)
  // The web edition's libc++ has no floating-point from_chars; its C library has only the "C"
  // locale, so strtod reads the same decimal numbers. Hexadecimal ones from_chars would refuse.
  if (text.find_first_of("xX") != std::string_view::npos) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
#else
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
#endif
  return negative ? -value : value;
}

}  // namespace quorin::base

#include "base/typed_integer.h"

#include <charconv>
#include <climits>

#include "base/utf8.h"

namespace quorin::base {

namespace {

// Spaces, line and paragraph separators and the control blanks \t \n \v \f \r and U+0085.
bool IsBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::string_view WithoutBlanksAround(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t next = start;
    if (!IsBlank(NextCodePoint(text, next))) break;
    start = next;
  }
  text.remove_prefix(start);
  // Walk forward and remember where the last non-blank ends.
  std::size_t end = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (!IsBlank(NextCodePoint(text, pos))) end = pos;
  }
  return text.substr(0, end);
}

bool IsAsciiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The number itself: ASCII blanks around it, one sign, in base 16 an optional "0x"
// prefix, then digits to the end. Nothing when that is not the whole text.
bool SignedNumber(std::string_view t, int base, long long& value) {
  while (!t.empty() && IsAsciiBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsAsciiBlank(t.back())) t.remove_suffix(1);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  if (base == 16 && (t.starts_with("0x") || t.starts_with("0X"))) t.remove_prefix(2);
  unsigned long long magnitude = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), magnitude, base);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return false;
  // Anything this large is out of the int range whatever the signs.
  if (magnitude > 0xFFFFFFFFULL) magnitude = 0xFFFFFFFFULL;
  value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return true;
}

}  // namespace

int IntegerOrDefault(std::string_view text, int fallback) {
  std::string_view t = WithoutBlanksAround(text);
  if (t.empty()) return fallback;
  bool negative = false;
  if (t.front() == '-' || t.front() == '+') {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (t.starts_with("0x") || t.starts_with("0X")) {
    base = 16;
    t.remove_prefix(2);
  } else if (t.starts_with("$")) {
    base = 16;
    t.remove_prefix(1);
  }
  if (t.empty() || t.front() == '+' || t.front() == '-') return fallback;
  long long value = 0;
  if (!SignedNumber(t, base, value)) return fallback;
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return fallback;
  return static_cast<int>(value);
}

}  // namespace quorin::base

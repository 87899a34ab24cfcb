// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/locale_text.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <clocale>

#include "base/utf8.h"

namespace quorin::base {
namespace {

bool IsUtf8OrAscii(const std::string& encoding) {
  return encoding == "UTF-8" || encoding == "utf8" || encoding == "ANSI_X3.4-1968" || encoding == "ASCII" ||
         encoding == "US-ASCII";
}

bool HoldsStrayControlCharacter(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F) return true;
  }
  return false;
}

}  // namespace

std::string LocaleEncoding() {
  // Only the character classes are taken from the user's locale, and only for this look, so that
  // numbers keep the program's own format. (setlocale rather than newlocale: glibc's newlocale
  // keeps the search path it builds from LOCPATH for good.)
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string previous = current ? current : "C";
  if (!std::setlocale(LC_CTYPE, "")) return "UTF-8";
  std::string encoding = ::nl_langinfo(CODESET);
  std::setlocale(LC_CTYPE, previous.c_str());
  return encoding;
}

std::optional<std::string> ToUtf8From(std::string_view bytes, const std::string& encoding) {
  const iconv_t converter = ::iconv_open("UTF-8", encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::string input(bytes);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[4096];
  bool ok = true;
  while (inLeft > 0) {
    char* next = buffer;
    std::size_t outLeft = sizeof buffer;
    if (::iconv(converter, &in, &inLeft, &next, &outLeft) == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;  // an invalid or cut sequence
      break;
    }
    out.append(buffer, static_cast<std::size_t>(next - buffer));
  }
  ::iconv_close(converter);
  if (!ok) return std::nullopt;
  return out;
}

bool ArgumentsToUtf8(std::vector<std::string>& arguments, const std::string& encoding, std::string& message) {
  const bool convert = !IsUtf8OrAscii(encoding);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::optional<std::string> text = convert ? ToUtf8From(arguments[i], encoding) : std::optional(arguments[i]);
    if (!text || !IsValidUtf8(*text) || HoldsStrayControlCharacter(*text)) {
      message = "第" + std::to_string(i + 1) + "个参数不是有效的文字（" + encoding + "编码），请检查输入。";
      return false;
    }
    arguments[i] = std::move(*text);
  }
  return true;
}

}  // namespace quorin::base

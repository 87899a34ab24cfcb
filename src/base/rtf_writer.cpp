// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/rtf_writer.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "base/gbk.h"
#include "base/utf8.h"

namespace quorin::base {
namespace {

// Collects output and remembers whether the last thing written was a control
// word, which needs a space before plain text may follow.
class RtfOut {
 public:
  void Word(std::string_view word) {
    out_ += word;
    open_ = true;
  }
  void Word(std::string_view word, long value) {
    out_ += word;
    out_ += std::to_string(value);
    open_ = true;
  }
  void Raw(std::string_view text) {
    out_ += text;
    open_ = false;
  }
  // Text with RTF escapes: GBK bytes as \'hh, other characters as \uN with '?'.
  void Text(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
      const char32_t cp = NextCodePoint(utf8, pos);
      if (cp == '\t') {
        Word("\\tab");
      } else if (cp == 0x2028 || cp == '\n') {
        Word("\\line");
      } else if (IsStrayControlCharacter(cp)) {
        continue;  // the reader drops them too
      } else if (cp < 0x80) {
        if (open_) out_ += ' ';
        open_ = false;
        if (cp == '\\' || cp == '{' || cp == '}') out_ += '\\';
        out_ += static_cast<char>(cp);
      } else if (const std::uint16_t code = GbkCodeOf(cp); code != 0) {
        if (code >= 0x100) Hex(code >> 8);
        Hex(code & 0xFF);
      } else if (cp >= 0x10000) {
        const char32_t v = cp - 0x10000;
        Unicode(0xD800 + (v >> 10));
        Unicode(0xDC00 + (v & 0x3FF));
      } else {
        Unicode(cp);
      }
    }
  }
  std::string Take() { return std::move(out_); }

 private:
  void Hex(unsigned byte) {
    char buffer[5];
    std::snprintf(buffer, sizeof buffer, "\\'%02x", byte & 0xFF);
    out_ += buffer;
    open_ = false;
  }
  void Unicode(char32_t unit) {
    // \uN takes a signed 16-bit value; '?' is the fallback for old readers (\uc1).
    const long n = unit > 0x7FFF ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit);
    Word("\\u", n);
    out_ += '?';
    open_ = false;
  }

  std::string out_;
  bool open_ = false;
};

int HalfPoints(double pointSize) {
  const double half = std::round(pointSize * 2);
  return half < 1 ? 1 : half > 3276 ? 3276 : static_cast<int>(half);
}

// The values of a table (fonts, colours) in order of first use, each with its index;
// the map keeps a document of many fonts linear to write.
template <typename T>
class IndexedTable {
 public:
  int IndexOf(const T& value) {
    const auto [it, added] = indexes_.try_emplace(value, static_cast<int>(values_.size()));
    if (added) values_.push_back(value);
    return it->second;
  }
  const std::vector<T>& Values() const { return values_; }

 private:
  std::vector<T> values_;
  std::map<T, int> indexes_;
};

std::uint32_t ColorKey(const RichColor& c) { return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue; }

void WriteParagraphFormat(RtfOut& out, const RichParagraph& p) {
  out.Word("\\pard");
  switch (p.alignment) {
    case RichAlignment::kLeft: break;
    case RichAlignment::kCenter: out.Word("\\qc"); break;
    case RichAlignment::kRight: out.Word("\\qr"); break;
    case RichAlignment::kJustify: out.Word("\\qj"); break;
  }
  if (p.firstLineIndentTwips != 0) out.Word("\\fi", p.firstLineIndentTwips);
  if (p.leftIndentTwips != 0) out.Word("\\li", p.leftIndentTwips);
}

}  // namespace

std::string WriteRtf(const RichDocument& document) {
  IndexedTable<std::string> fonts;
  IndexedTable<std::uint32_t> colors;
  for (const RichParagraph& p : document.paragraphs) {
    for (const RichRun& run : p.runs) {
      fonts.IndexOf(run.format.fontName);
      if (run.format.color) colors.IndexOf(ColorKey(*run.format.color));
    }
  }
  if (fonts.Values().empty()) fonts.IndexOf(RichCharFormat{}.fontName);

  RtfOut out;
  out.Raw("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl");
  for (std::size_t i = 0; i < fonts.Values().size(); ++i) {
    out.Raw("{");
    out.Word("\\f", static_cast<long>(i));
    out.Word("\\fnil\\fcharset134");
    out.Raw(" ");
    std::string name = fonts.Values()[i];
    // The table ends each name with a semicolon and reads no tabs in a name.
    std::erase_if(name, [](char c) { return c == ';' || c == '\t'; });
    out.Text(name);
    out.Raw(";}");
  }
  out.Raw("}\r\n");
  if (!colors.Values().empty()) {
    out.Raw("{\\colortbl ;");
    for (const std::uint32_t c : colors.Values()) {
      out.Word("\\red", (c >> 16) & 0xFF);
      out.Word("\\green", (c >> 8) & 0xFF);
      out.Word("\\blue", c & 0xFF);
      out.Raw(";");
    }
    out.Raw("}\r\n");
  }
  out.Word("\\viewkind4\\uc1");

  // The character state as the reader will see it after the words written so far.
  RichCharFormat state;
  state.fontName.clear();
  state.pointSize = -1;
  const RichParagraph* previous = nullptr;
  for (const RichParagraph& p : document.paragraphs) {
    const bool sameFormat = previous && previous->alignment == p.alignment &&
                            previous->firstLineIndentTwips == p.firstLineIndentTwips &&
                            previous->leftIndentTwips == p.leftIndentTwips;
    if (!sameFormat) WriteParagraphFormat(out, p);
    if (!previous) out.Word("\\lang2052");
    previous = &p;
    for (const RichRun& run : p.runs) {
      const RichCharFormat& f = run.format;
      if (f.fontName != state.fontName) out.Word("\\f", fonts.IndexOf(f.fontName));
      if (f.pointSize != state.pointSize) out.Word("\\fs", HalfPoints(f.pointSize));
      if (f.color != state.color) out.Word("\\cf", f.color ? colors.IndexOf(ColorKey(*f.color)) + 1 : 0);
      if (f.bold != state.bold) out.Word(f.bold ? "\\b" : "\\b0");
      if (f.italic != state.italic) out.Word(f.italic ? "\\i" : "\\i0");
      if (f.underline != state.underline) out.Word(f.underline ? "\\ul" : "\\ulnone");
      if (f.strike != state.strike) out.Word(f.strike ? "\\strike" : "\\strike0");
      state = f;
      out.Text(run.text);
    }
    out.Word("\\par");
    out.Raw("\r\n");
  }
  out.Raw("}\r\n");
  return out.Take();
}

}  // namespace quorin::base

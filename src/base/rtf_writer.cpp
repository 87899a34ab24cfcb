#include "base/rtf_writer.h"

#include <cmath>
#include <cstdio>

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
      } else if (cp < 0x20 || cp == 0x7F) {
        continue;  // other control characters have no place in a text
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

template <typename T>
int IndexOf(std::vector<T>& list, const T& value) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == value) return static_cast<int>(i);
  }
  list.push_back(value);
  return static_cast<int>(list.size() - 1);
}

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
  std::vector<std::string> fonts;
  std::vector<RichColor> colors;
  for (const RichParagraph& p : document.paragraphs) {
    for (const RichRun& run : p.runs) {
      IndexOf(fonts, run.format.fontName);
      if (run.format.color) IndexOf(colors, *run.format.color);
    }
  }
  if (fonts.empty()) fonts.push_back(RichCharFormat{}.fontName);

  RtfOut out;
  out.Raw("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl");
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    out.Raw("{");
    out.Word("\\f", static_cast<long>(i));
    out.Word("\\fnil\\fcharset134");
    out.Raw(" ");
    std::string name = fonts[i];
    std::erase(name, ';');  // the table ends each name with a semicolon
    out.Text(name);
    out.Raw(";}");
  }
  out.Raw("}\r\n");
  if (!colors.empty()) {
    out.Raw("{\\colortbl ;");
    for (const RichColor& c : colors) {
      out.Word("\\red", c.red);
      out.Word("\\green", c.green);
      out.Word("\\blue", c.blue);
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
      if (f.fontName != state.fontName) out.Word("\\f", IndexOf(fonts, f.fontName));
      if (f.pointSize != state.pointSize) out.Word("\\fs", HalfPoints(f.pointSize));
      if (f.color != state.color) out.Word("\\cf", f.color ? IndexOf(colors, *f.color) + 1 : 0);
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

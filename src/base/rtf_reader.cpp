// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/utf8.h"

namespace quorin::base {
namespace {

constexpr int kMaxGroupDepth = 4096;  // deeper groups share the state of this depth
// Longer font names are cut here: real ones are a few dozen bytes, and every run
// carries its font's name, so an endless one would cost memory and time per run.
constexpr std::size_t kMaxFontNameBytes = 256;  // UTF-8 bytes of the name read, however it was written

// Cuts a font name to kMaxFontNameBytes at a character boundary.
void CapFontName(std::string& name) {
  if (name.size() <= kMaxFontNameBytes) return;
  std::size_t end = kMaxFontNameBytes;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
}
constexpr int kGbk = 936;
constexpr int kWestern = 1252;

char32_t Windows1252(unsigned char byte) {
  static constexpr std::array<char16_t, 32> kHigh = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

enum class Destination { kText, kSkip, kFontTable, kColorTable };

struct FontEntry {
  std::string nameBytes;  // in the font's code page until the table ends
  std::string name;
  int codePage = 0;  // 0: the document's
};

// What a group inherits from its parent and restores at its end.
struct GroupState {
  Destination destination = Destination::kText;
  int fontIndex = -1;  // -1: the default font (\deff)
  double pointSize = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int colorIndex = 0;
  RichAlignment alignment = RichAlignment::kLeft;
  int firstLineIndent = 0;
  int leftIndent = 0;
  int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  int definingFont = -1;  // font number being described inside \fonttbl
};

const std::set<std::string, std::less<>>& SkippedDestinations() {
  static const std::set<std::string, std::less<>> words = {
      "annotation", "atnauthor", "atnid", "author", "bkmkend", "bkmkstart", "buptim", "category",
      "comment", "company", "creatim", "datastore", "docvar", "doccomm", "fldinst", "filetbl",
      "footer", "footerf", "footerl", "footerr", "footnote", "generator", "header", "headerf",
      "headerl", "headerr", "info", "keywords", "latentstyles", "listoverridetable", "listtable",
      "manager", "nonshppict", "object", "operator", "pgdsctbl", "pict", "printim", "private",
      "revtbl", "revtim", "rsidtbl", "shpinst", "sp", "stylesheet", "subject", "tc", "template",
      "themedata", "title", "txe", "userprops", "xe", "xmlnstbl", "colorschememapping", "mmathPr"};
  return words;
}

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  RichDocument Run() {
    std::size_t pos = in_.find('{');
    while (pos < in_.size() && !finished_) {
      const char c = in_[pos];
      if (c == '{') {
        ++pos;
        OpenGroup();
      } else if (c == '}') {
        ++pos;
        CloseGroup();
      } else if (c == '\\') {
        pos = ControlWord(pos + 1);
      } else if (c == '\r' || c == '\n') {
        ++pos;  // line breaks of the file carry no meaning
      } else {
        ++pos;
        TextByte(static_cast<unsigned char>(c));
      }
    }
    FlushBytes();
    if (!(endedWithPar_ && paragraph_.runs.empty()) || doc_.paragraphs.empty()) {
      doc_.paragraphs.push_back(std::move(paragraph_));
    }
    doc_.Normalize();
    return std::move(doc_);
  }

 private:
  GroupState& S() { return stack_.back(); }

  void OpenGroup() {
    FlushBytes();
    skipFallback_ = 0;
    if (stack_.size() >= kMaxGroupDepth) {
      ++overflowDepth_;
    } else {
      stack_.push_back(stack_.empty() ? GroupState{} : stack_.back());
    }
  }

  void CloseGroup() {
    FlushBytes();
    skipFallback_ = 0;
    if (overflowDepth_ > 0) {
      --overflowDepth_;
      return;
    }
    if (stack_.empty()) return;
    if (S().destination == Destination::kFontTable) FlushFontName();
    // The table ends with the group that began it, whatever that group turned into.
    if (stack_.size() == fontTableDepth_) {
      FinishFontTable();
      fontTableDepth_ = 0;
    }
    stack_.pop_back();
    if (stack_.empty()) finished_ = true;  // the document's own group has ended
  }

  // Parses the control word or symbol after a backslash; returns the next position.
  std::size_t ControlWord(std::size_t pos) {
    if (pos >= in_.size()) return pos;
    const char first = in_[pos];
    if (!IsLetter(first)) return ControlSymbol(pos);
    std::size_t end = pos;
    while (end < in_.size() && IsLetter(in_[end])) ++end;
    const std::string_view word = in_.substr(pos, std::min<std::size_t>(end - pos, 32));
    bool hasParam = false;
    long param = 0;
    std::size_t numStart = end;
    if (end < in_.size() && in_[end] == '-' && end + 1 < in_.size() && IsDigit(in_[end + 1])) ++end;
    while (end < in_.size() && IsDigit(in_[end])) {
      if (param < 100000000) param = param * 10 + (in_[end] - '0');
      hasParam = true;
      ++end;
    }
    if (hasParam && in_[numStart] == '-') param = -param;
    if (end < in_.size() && in_[end] == ' ') ++end;  // the delimiting space belongs to the word
    if (word == "bin") return SkipBinary(end, hasParam ? param : 0);
    if (stack_.empty()) return end;
    if (word == "u") {
      Unicode(param);
      return end;
    }
    if (skipFallback_ > 0) {
      // A control word inside the fallback of \uN ends it; it still counts.
      skipFallback_ = 0;
    }
    Apply(word, hasParam, param);
    return end;
  }

  std::size_t ControlSymbol(std::size_t pos) {
    const char c = in_[pos];
    if (c == '\'') {
      if (pos + 2 < in_.size() && IsHex(in_[pos + 1]) && IsHex(in_[pos + 2])) {
        const int byte = HexValue(in_[pos + 1]) * 16 + HexValue(in_[pos + 2]);
        if (skipFallback_ > 0) {
          --skipFallback_;
        } else {
          RawByte(static_cast<unsigned char>(byte));
        }
        return pos + 3;
      }
      return pos + 1;  // a broken escape is dropped, the rest is read as usual
    }
    if (stack_.empty()) return pos + 1;
    switch (c) {
      case '\\': case '{': case '}':
        TextByte(static_cast<unsigned char>(c));
        break;
      case '~': AppendCodePoint(0x00A0); break;
      case '_': AppendCodePoint(0x2011); break;
      case '*':
        if (S().destination == Destination::kText) S().destination = Destination::kSkip;
        break;
      case '\r': case '\n': EndParagraph(); break;
      case '\t': AppendCodePoint('\t'); break;
      default: break;  // \- (optional hyphen), \| and the like show nothing
    }
    return pos + 1;
  }

  std::size_t SkipBinary(std::size_t pos, long count) {
    FlushBytes();
    if (count < 0) count = 0;
    const std::size_t left = in_.size() - pos;
    return pos + std::min(left, static_cast<std::size_t>(count));
  }

  void Apply(std::string_view word, bool hasParam, long param) {
    GroupState& s = S();
    const bool on = !hasParam || param != 0;
    if (s.destination == Destination::kSkip) return;
    if (SkippedDestinations().count(word)) {
      FlushBytes();
      s.destination = Destination::kSkip;
      return;
    }
    if (word == "fonttbl") {
      s.destination = Destination::kFontTable;
      if (fontTableDepth_ == 0) fontTableDepth_ = stack_.size();
      return;
    }
    if (word == "colortbl") {
      s.destination = Destination::kColorTable;
      colors_.clear();
      pendingColor_ = RichColor{};
      pendingColorSet_ = false;
      return;
    }
    if (s.destination == Destination::kColorTable) {
      const auto component = static_cast<std::uint8_t>(std::clamp<long>(param, 0, 255));
      if (word == "red") pendingColor_.red = component, pendingColorSet_ = true;
      if (word == "green") pendingColor_.green = component, pendingColorSet_ = true;
      if (word == "blue") pendingColor_.blue = component, pendingColorSet_ = true;
      return;
    }
    if (s.destination == Destination::kFontTable) {
      if (word == "f" && hasParam) {
        FlushFontName();
        s.definingFont = static_cast<int>(param);
        fonts_[s.definingFont] = FontEntry{};  // a later definition replaces an earlier one
        tableFonts_.push_back(s.definingFont);
      } else if (word == "fcharset" && s.definingFont >= 0) {
        fonts_[s.definingFont].codePage = param == 134 ? kGbk : param == 0 ? kWestern : 0;
      } else if (word == "cpg" && s.definingFont >= 0) {
        fonts_[s.definingFont].codePage = param == 936 ? kGbk : param == 1252 ? kWestern : 0;
      }
      return;
    }
    // Document-level words may come before the first text.
    if (word == "ansicpg") {
      documentCodePage_ = param == 1252 ? kWestern : kGbk;
      return;
    }
    if (word == "deff") {
      defaultFont_ = static_cast<int>(param);
      return;
    }
    if (word == "uc") {
      s.unicodeSkip = static_cast<int>(std::clamp<long>(param, 0, 10));
      return;
    }
    FlushBytes();
    if (word == "par" || word == "sect" || word == "page" || word == "row") {
      EndParagraph();
    } else if (word == "line") {
      AppendText(kLineSeparator);
    } else if (word == "tab" || word == "cell" || word == "nestcell") {
      AppendCodePoint('\t');
    } else if (word == "emdash") {
      AppendCodePoint(0x2014);
    } else if (word == "endash") {
      AppendCodePoint(0x2013);
    } else if (word == "emspace") {
      AppendCodePoint(0x2003);
    } else if (word == "enspace") {
      AppendCodePoint(0x2002);
    } else if (word == "bullet") {
      AppendCodePoint(0x2022);
    } else if (word == "lquote") {
      AppendCodePoint(0x2018);
    } else if (word == "rquote") {
      AppendCodePoint(0x2019);
    } else if (word == "ldblquote") {
      AppendCodePoint(0x201C);
    } else if (word == "rdblquote") {
      AppendCodePoint(0x201D);
    } else if (word == "plain") {
      const GroupState keep = s;
      s = GroupState{};
      s.destination = keep.destination;
      s.alignment = keep.alignment;
      s.firstLineIndent = keep.firstLineIndent;
      s.leftIndent = keep.leftIndent;
      s.unicodeSkip = keep.unicodeSkip;
    } else if (word == "pard") {
      s.alignment = RichAlignment::kLeft;
      s.firstLineIndent = 0;
      s.leftIndent = 0;
      ApplyParagraphFormat();
    } else if (word == "ql" || word == "qc" || word == "qr" || word == "qj" || word == "qd") {
      s.alignment = word == "qc" ? RichAlignment::kCenter
                    : word == "qr" ? RichAlignment::kRight
                    : word == "qj" || word == "qd" ? RichAlignment::kJustify
                                   : RichAlignment::kLeft;
      ApplyParagraphFormat();
    } else if (word == "fi") {
      s.firstLineIndent = static_cast<int>(param);
      ApplyParagraphFormat();
    } else if (word == "li") {
      s.leftIndent = static_cast<int>(param);
      ApplyParagraphFormat();
    } else if (word == "f" && hasParam) {
      s.fontIndex = static_cast<int>(param);
    } else if (word == "fs" && hasParam && param > 0) {
      s.pointSize = static_cast<double>(std::min<long>(param, 3276)) / 2;
    } else if (word == "cf") {
      s.colorIndex = static_cast<int>(param);
    } else if (word == "b") {
      s.bold = on;
    } else if (word == "i") {
      s.italic = on;
    } else if (word == "strike" || word == "striked") {
      s.strike = on;
    } else if (word == "ulnone") {
      s.underline = false;
    } else if (word.starts_with("ul") && word != "ulc") {
      s.underline = on;
    }
  }

  void ApplyParagraphFormat() {
    // Paragraph properties belong to the paragraph being written.
    paragraph_.alignment = S().alignment;
    paragraph_.firstLineIndentTwips = S().firstLineIndent;
    paragraph_.leftIndentTwips = S().leftIndent;
  }

  void Unicode(long param) {
    FlushBytes();
    if (S().destination == Destination::kSkip) {
      skipFallback_ = S().unicodeSkip;
      return;
    }
    char32_t unit = static_cast<char32_t>(param < 0 ? param + 0x10000 : param) & 0xFFFF;
    skipFallback_ = S().unicodeSkip;
    if (unit >= 0xD800 && unit < 0xDC00) {
      highSurrogate_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
      if (highSurrogate_ == 0) return;
      unit = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
    }
    highSurrogate_ = 0;
    if (IsStrayControlCharacter(unit)) return;
    if (S().destination == Destination::kFontTable) {
      if (S().definingFont < 0) return;
      FontEntry& font = fonts_[S().definingFont];
      font.name += Decode(font.nameBytes, FontCodePage(font));
      font.nameBytes.clear();
      AppendUtf8(font.name, unit);
      CapFontName(font.name);
      return;
    }
    if (S().destination == Destination::kText) AppendCodePoint(unit);
  }

  void TextByte(unsigned char byte) {
    if (stack_.empty()) return;
    if (skipFallback_ > 0) {
      --skipFallback_;
      return;
    }
    if (byte == '\t') {
      FlushBytes();
      AppendCodePoint('\t');
      return;
    }
    RawByte(byte);
  }

  // A byte of text in the current code page (plain or from \'hh). Control bytes are
  // single characters in every code page read here, so dropping them drops exactly
  // the stray control characters.
  void RawByte(unsigned char byte) {
    if (stack_.empty() || IsStrayControlCharacter(byte)) return;
    switch (S().destination) {
      case Destination::kSkip:
        return;
      case Destination::kColorTable:
        if (byte == ';') {
          colors_.push_back(pendingColorSet_ ? std::optional<RichColor>(pendingColor_) : std::nullopt);
          pendingColor_ = RichColor{};
          pendingColorSet_ = false;
        }
        return;
      case Destination::kFontTable:
        if (S().definingFont < 0) return;
        if (byte == ';') {
          FlushFontName();
        } else if (FontEntry& font = fonts_[S().definingFont]; font.name.size() + font.nameBytes.size() < kMaxFontNameBytes) {
          font.nameBytes += static_cast<char>(byte);
        }
        return;
      case Destination::kText:
        break;
    }
    const int codePage = CurrentCodePage();
    if (!pending_.empty() && pendingCodePage_ != codePage) FlushBytes();
    pendingCodePage_ = codePage;
    pending_ += static_cast<char>(byte);
  }

  void FlushFontName() {
    if (S().definingFont < 0) return;
    FontEntry& font = fonts_[S().definingFont];
    font.name += Decode(font.nameBytes, FontCodePage(font));
    font.nameBytes.clear();
    CapFontName(font.name);
    S().definingFont = -1;
  }

  // Only the fonts this table defined are finished, so a file of many font tables
  // is read in time linear in its length.
  void FinishFontTable() {
    FlushFontName();
    for (const int index : tableFonts_) {
      FontEntry& font = fonts_[index];
      if (!font.nameBytes.empty()) {
        font.name += Decode(font.nameBytes, FontCodePage(font));
        font.nameBytes.clear();
        CapFontName(font.name);
      }
      CleanFontName(font.name);
    }
    tableFonts_.clear();
  }

  // A name keeps only what a font table can write back: no control characters, tabs,
  // line separators or semicolons, and no trailing spaces.
  static void CleanFontName(std::string& name) {
    for (std::size_t at; (at = name.find(kLineSeparator)) != std::string::npos;) name.erase(at, kLineSeparator.size());
    std::erase_if(name, [](char c) { return c == ';' || c == '\t' || IsStrayControlCharacter(static_cast<unsigned char>(c)); });
    while (!name.empty() && name.back() == ' ') name.pop_back();
  }

  int FontCodePage(const FontEntry& font) const { return font.codePage ? font.codePage : documentCodePage_; }

  int CurrentCodePage() {
    const int index = S().fontIndex >= 0 ? S().fontIndex : defaultFont_;
    const auto it = fonts_.find(index);
    return it != fonts_.end() && it->second.codePage ? it->second.codePage : documentCodePage_;
  }

  static std::string Decode(std::string_view bytes, int codePage) {
    if (codePage != kWestern) return GbkToUtf8(bytes);
    std::string out;
    for (const char b : bytes) AppendUtf8(out, Windows1252(static_cast<unsigned char>(b)));
    return out;
  }

  void FlushBytes() {
    if (pending_.empty()) return;
    const std::string text = Decode(pending_, pendingCodePage_);
    pending_.clear();
    AppendText(text);
  }

  void AppendCodePoint(char32_t cp) {
    FlushBytes();  // text bytes before this character come first
    std::string utf8;
    AppendUtf8(utf8, cp);
    AppendText(utf8);
  }

  void AppendText(std::string_view utf8) {
    if (stack_.empty() || S().destination != Destination::kText || utf8.empty()) return;
    const RichCharFormat format = CurrentFormat();
    if (!paragraph_.runs.empty() && paragraph_.runs.back().format == format) {
      paragraph_.runs.back().text += utf8;
    } else {
      paragraph_.runs.push_back({std::string(utf8), format});
    }
    endedWithPar_ = false;
  }

  RichCharFormat CurrentFormat() {
    const GroupState& s = S();
    RichCharFormat f;
    const auto font = fonts_.find(s.fontIndex >= 0 ? s.fontIndex : defaultFont_);
    f.fontName = font != fonts_.end() ? font->second.name : std::string();
    f.pointSize = s.pointSize;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strike = s.strike;
    if (s.colorIndex > 0 && static_cast<std::size_t>(s.colorIndex) < colors_.size()) f.color = colors_[s.colorIndex];
    return f;
  }

  void EndParagraph() {
    if (S().destination != Destination::kText) return;
    FlushBytes();
    doc_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RichParagraph{};
    ApplyParagraphFormat();
    endedWithPar_ = true;
  }

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
  static int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

  std::string_view in_;
  std::vector<GroupState> stack_;
  int overflowDepth_ = 0;
  bool finished_ = false;
  int documentCodePage_ = kGbk;
  int defaultFont_ = 0;
  std::map<int, FontEntry> fonts_;
  std::vector<int> tableFonts_;       // defined by the font table being read
  std::size_t fontTableDepth_ = 0;  // depth of the group that began that table; 0: none
  std::vector<std::optional<RichColor>> colors_;
  RichColor pendingColor_;
  bool pendingColorSet_ = false;
  std::string pending_;  // text bytes not yet decoded
  int pendingCodePage_ = kGbk;
  int skipFallback_ = 0;
  char32_t highSurrogate_ = 0;
  RichDocument doc_;
  RichParagraph paragraph_;
  bool endedWithPar_ = false;
};

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
  std::size_t pos = 0;
  if (bytes.starts_with("\xEF\xBB\xBF")) pos = 3;
  while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t' || bytes[pos] == '\r' || bytes[pos] == '\n')) ++pos;
  return bytes.substr(pos).starts_with("{\\rtf");
}

bool IsCompleteRtf(std::string_view bytes) {
  if (!LooksLikeRtf(bytes)) return false;
  long depth = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    switch (bytes[i]) {
      case '{': ++depth; break;
      case '}':
        if (--depth == 0) return true;
        break;
      case '\\': {
        // \binN is followed by N raw bytes, which may hold braces; any other escaped character is one.
        if (bytes.compare(i + 1, 3, "bin") == 0) {
          std::size_t digits = i + 4;
          std::size_t count = 0;
          while (digits < bytes.size() && bytes[digits] >= '0' && bytes[digits] <= '9' && count < bytes.size()) {
            count = count * 10 + static_cast<std::size_t>(bytes[digits++] - '0');
          }
          if (digits < bytes.size() && bytes[digits] == ' ') ++digits;
          i = count >= bytes.size() - std::min(digits, bytes.size()) ? bytes.size() : digits + count - 1;
        } else {
          ++i;
        }
        break;
      }
      default: break;
    }
  }
  return false;
}

std::optional<RichDocument> ReadRtf(std::string_view bytes) {
  if (!LooksLikeRtf(bytes)) return std::nullopt;
  return Reader(bytes).Run();
}

}  // namespace quorin::base

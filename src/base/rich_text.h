// SPDX-License-Identifier: GPL-3.0-or-later
// A small rich-text model: what a remark or an analysis text holds, independent of
// any widget. The RTF reader fills it, the RTF writer writes it, and the windows
// map it to and from their text controls.
//
// Text is UTF-8. Inside a run, '\t' is a tab and U+2028 (LINE SEPARATOR) a line
// break within the paragraph (RTF \line; Qt uses the same character); paragraphs
// are separated by the paragraph list itself, never by '\n' inside a run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::base {

inline constexpr std::string_view kLineSeparator = "\u2028";

// Control characters other than the tab (C0 and DEL). A remark never holds them: an
// editor shows nothing for them and a rich-edit control never writes them, so the RTF
// reader drops them and the writer never writes them, and a remark read and saved
// again keeps its text.
constexpr bool IsStrayControlCharacter(char32_t c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

struct RichColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const RichColor&, const RichColor&) = default;
};

// Character attributes of a run. An empty font name and no colour mean the
// reader's or control's defaults.
struct RichCharFormat {
  std::string fontName = "宋体";
  double pointSize = 9;  // in points; RTF keeps half points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::optional<RichColor> color;  // none: the automatic (default) text colour
  friend bool operator==(const RichCharFormat&, const RichCharFormat&) = default;
};

struct RichRun {
  std::string text;
  RichCharFormat format;
  friend bool operator==(const RichRun&, const RichRun&) = default;
};

enum class RichAlignment { kLeft, kCenter, kRight, kJustify };

struct RichParagraph {
  std::vector<RichRun> runs;  // may be empty: an empty line
  RichAlignment alignment = RichAlignment::kLeft;
  int firstLineIndentTwips = 0;  // relative to the left indent; negative hangs
  int leftIndentTwips = 0;
  friend bool operator==(const RichParagraph&, const RichParagraph&) = default;
};

struct RichDocument {
  std::vector<RichParagraph> paragraphs;
  friend bool operator==(const RichDocument&, const RichDocument&) = default;

  // The text without formatting: paragraphs joined by lineBreak, line separators
  // inside paragraphs turned into lineBreak too, tabs kept.
  std::string PlainText(std::string_view lineBreak = "\n") const;

  // One paragraph per line of the text ("\r\n", "\r" and "\n" all end a line), each
  // a single run in the given format; an empty text gives one empty paragraph.
  static RichDocument FromPlainText(std::string_view text, const RichCharFormat& format = {});

  // Merges neighbouring runs of equal format and drops empty runs, so that two
  // documents that show the same compare equal.
  void Normalize();
};

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text view the chart engine writes its text into. The window adapts its
// text control to this; the recording sink below serves tests and quorin-cli.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/color.h"

namespace quorin::chart {

// Positions and lengths count UTF-16 code units of the view's text, and every line
// break counts as one unit (a paragraph separator), as a Qt text document counts.
// The engine converts the GBK byte ranges it reasons in to these units.
class RichTextSink {
 public:
  virtual ~RichTextSink() = default;

  // Removes all text and formatting.
  virtual void Clear() = 0;
  // Colour and weight of text appended from now on; the size stays the view's own.
  virtual void SetDefaultFont(draw::Color color, bool bold) = 0;
  // Left alignment and the first-line indent (in the view's units) of new paragraphs.
  virtual void SetLeftAlignment(int firstLineIndent) = 0;
  // Appends the text as a new paragraph; each "\n" inside starts a new line. The
  // paragraph ends with a line break, so the next one starts on its own line.
  virtual void AppendParagraph(std::string_view utf8) = 0;
  // Where the next appended paragraph will begin.
  virtual int Length() const = 0;
  // Sets colour and weight of [start, start + length).
  virtual void FormatRange(int start, int length, draw::Color color, bool bold) = 0;
  // Caret to the start, nothing selected (the view shows the top of the chart).
  virtual void MoveCaretToStart() = 0;
};

// Keeps what the engine wrote: the plain text and every formatted range, in order.
class RecordingRichTextSink final : public RichTextSink {
 public:
  struct Span {
    int start = 0;
    int length = 0;
    draw::Color color = draw::kBlack;
    bool bold = false;
    bool operator==(const Span&) const = default;
  };

  void Clear() override;
  void SetDefaultFont(draw::Color color, bool bold) override;
  void SetLeftAlignment(int firstLineIndent) override;
  void AppendParagraph(std::string_view utf8) override;
  int Length() const override { return length_; }
  void FormatRange(int start, int length, draw::Color color, bool bold) override;
  void MoveCaretToStart() override { caretAtStart_ = true; }

  // The text with a "\n" after every line.
  const std::string& Text() const { return text_; }
  const std::vector<Span>& Spans() const { return spans_; }
  draw::Color DefaultColor() const { return defaultColor_; }
  bool DefaultBold() const { return defaultBold_; }
  int FirstLineIndent() const { return firstLineIndent_; }
  bool CaretAtStart() const { return caretAtStart_; }

 private:
  std::string text_;
  int length_ = 0;
  std::vector<Span> spans_;
  draw::Color defaultColor_ = draw::kBlack;
  bool defaultBold_ = false;
  int firstLineIndent_ = 0;
  bool caretAtStart_ = false;
};

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/utf8.h"
#include "chart/rich_text_sink.h"
#include "chart/text_units.h"

namespace quorin::chart {

void RecordingRichTextSink::Clear() {
  text_.clear();
  length_ = 0;
  spans_.clear();
  caretAtStart_ = false;
}

void RecordingRichTextSink::SetDefaultFont(draw::Color color, bool bold) {
  defaultColor_ = color;
  defaultBold_ = bold;
}

void RecordingRichTextSink::SetLeftAlignment(int firstLineIndent) { firstLineIndent_ = firstLineIndent; }

void RecordingRichTextSink::AppendParagraph(std::string_view utf8) {
  // "\r\n" and a lone "\r" are one line break, like "\n".
  std::string lines = WithPlainLineBreaks(utf8);
  lines += '\n';
  length_ += base::Utf16Length(lines);
  text_ += lines;
  caretAtStart_ = false;
}

void RecordingRichTextSink::FormatRange(int start, int length, draw::Color color, bool bold) {
  spans_.push_back({start, length, color, bold});
}

}  // namespace quorin::chart

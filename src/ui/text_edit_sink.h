// SPDX-License-Identifier: GPL-3.0-or-later
// The chart engine's rich-text sink over a QTextEdit.
#pragma once

#include <QTextCharFormat>

#include "chart/rich_text_sink.h"

class QTextEdit;

namespace quorin::ui {

class TextEditSink final : public chart::RichTextSink {
 public:
  explicit TextEditSink(QTextEdit* edit);

  void Clear() override;
  void SetDefaultFont(draw::Color color, bool bold) override;
  void SetLeftAlignment(int firstLineIndent) override;
  void AppendParagraph(std::string_view utf8) override;
  int Length() const override;
  void FormatRange(int start, int length, draw::Color color, bool bold) override;
  void MoveCaretToStart() override;

 private:
  QTextEdit* edit_;
  QTextCharFormat charFormat_;
  double firstLineIndent_ = 0;  // pixels
  bool empty_ = true;
};

}  // namespace quorin::ui

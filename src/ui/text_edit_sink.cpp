// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_edit_sink.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "qtdraw/image_canvas.h"
#include "qtdraw/shown_text.h"

namespace quorin::ui {

namespace {

// The engine's text is no edit of the user's: it must not be undone piece by piece.
class NoUndo {
 public:
  explicit NoUndo(QTextEdit* edit) : document_(edit->document()) { document_->setUndoRedoEnabled(false); }
  ~NoUndo() { document_->setUndoRedoEnabled(true); }
  NoUndo(const NoUndo&) = delete;
  NoUndo& operator=(const NoUndo&) = delete;

 private:
  QTextDocument* document_;
};

}  // namespace

TextEditSink::TextEditSink(QTextEdit* edit) : edit_(edit) {}

void TextEditSink::Clear() {
  const NoUndo noUndo(edit_);
  edit_->clear();
  charFormat_ = QTextCharFormat();
  firstLineIndent_ = 0;
  empty_ = true;
}

void TextEditSink::SetDefaultFont(draw::Color color, bool bold) {
  charFormat_.setForeground(qtdraw::ToQColor(color));
  charFormat_.setFontWeight(bold ? QFont::Bold : QFont::Normal);
}

void TextEditSink::SetLeftAlignment(int firstLineIndent) {
  // The indent is given in points; the document lays out in pixels of 96 dpi.
  firstLineIndent_ = firstLineIndent * 96.0 / 72.0;
}

void TextEditSink::AppendParagraph(std::string_view utf8) {
  const NoUndo noUndo(edit_);
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::End);
  QTextBlockFormat block;
  block.setAlignment(Qt::AlignLeft);
  block.setTextIndent(firstLineIndent_);
  // In the shown script, every character in its place: the formatted ranges count them.
  const QStringList lines = qtdraw::ShownQString(utf8).split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    // The line break that ends the previous paragraph is written when the next one comes.
    if (!empty_ || i > 0) {
      cursor.insertBlock(block, charFormat_);
    } else {
      cursor.setBlockFormat(block);
      cursor.setBlockCharFormat(charFormat_);
    }
    cursor.insertText(lines[i], charFormat_);
    empty_ = false;
  }
}

int TextEditSink::Length() const { return empty_ ? 0 : edit_->document()->characterCount(); }

void TextEditSink::FormatRange(int start, int length, draw::Color color, bool bold) {
  if (length <= 0) return;
  const NoUndo noUndo(edit_);
  const int end = std::min(start + length, edit_->document()->characterCount() - 1);
  if (start < 0 || start >= end) return;
  QTextCursor cursor(edit_->document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  QTextCharFormat format;
  format.setForeground(qtdraw::ToQColor(color));
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  cursor.mergeCharFormat(format);
}

void TextEditSink::MoveCaretToStart() {
  QTextCursor cursor(edit_->document());
  cursor.movePosition(QTextCursor::Start);
  edit_->setTextCursor(cursor);
  edit_->ensureCursorVisible();
}

}  // namespace quorin::ui

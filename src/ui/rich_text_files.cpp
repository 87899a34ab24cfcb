// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rich_text_files.h"

#include <QTextCursor>
#include <QTextEdit>

#include "base/files.h"
#include "base/gbk.h"
#include "base/rtf_reader.h"
#include "base/rtf_writer.h"
#include "ui/program_files.h"
#include "ui/rich_text_convert.h"

namespace quorin::ui {

std::string EditorRtf(const QTextEdit& editor) {
  return base::WriteRtf(ToRichDocument(*editor.document(), editor.font().pointSizeF()));
}

bool LoadTextFile(QTextEdit& editor, const std::string& path, const QTextCharFormat& defaults) {
  const std::optional<std::string> bytes = base::ReadFileBytes(path);
  return bytes && LoadRemarkText(editor, *bytes, defaults);
}

bool LoadRemarkText(QTextEdit& editor, const std::string& bytes, const QTextCharFormat& defaults) {
  if (base::LooksLikeRtf(bytes)) {
    if (const std::optional<base::RichDocument> rich = base::ReadRtf(bytes)) {
      FillTextDocument(*editor.document(), *rich, defaults);
      return true;
    }
  }
  const base::RichDocument plain = base::RichDocument::FromPlainText(base::GbkToUtf8(bytes));
  QTextCursor cursor(editor.document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(ToQString(plain.PlainText("\n")), defaults);
  return true;
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis text and the remarks: selection font, import, saving as RTF or TXT, and
// printing.
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "base/files.h"
#include "base/gbk.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/rich_text_convert.h"
#include "ui/rich_text_files.h"
#include "ui/save_prompts.h"

namespace quorin::ui {

void TFrmMain::SetSelectionFont(QTextEdit* editor) {
  QTextCursor cursor = editor->textCursor();
  if (!cursor.hasSelection()) return;
  const std::optional<QFont> chosen = Prompts().ChooseFont(this, cursor.charFormat().font());
  if (!chosen) return;
  QTextCharFormat format;
  format.setFontFamilies({chosen->family()});
  if (chosen->pointSizeF() > 0) format.setFontPointSize(chosen->pointSizeF());
  format.setFontWeight(chosen->bold() ? QFont::Bold : QFont::Normal);
  format.setFontItalic(chosen->italic());
  format.setFontUnderline(chosen->underline());
  format.setFontStrikeOut(chosen->strikeOut());
  cursor.mergeCharFormat(format);
  editor->setTextCursor(cursor);
}

void TFrmMain::ImportChartText() {
  const FileRequest request{QString(), ParseFilterList(QStringLiteral("All.rtf|*.rtf|All.txt|*.txt")), 0};
  const std::optional<FileChoice> choice = Prompts().OpenFile(this, request);
  if (!choice) return;
  chartTextView_->clear();
  QTextCharFormat defaults;
  defaults.setFontPointSize(chartTextView_->font().pointSizeF());
  defaults.setForeground(Qt::black);
  defaults.setFontWeight(QFont::Normal);
  defaults.setFontItalic(false);
  defaults.setFontUnderline(false);
  defaults.setFontStrikeOut(false);
  chartTextView_->setCurrentCharFormat(defaults);

  if (!LoadTextFile(*chartTextView_, ToUtf8(choice->path), defaults)) {
    Prompts().Ask(this, Message{tr("重试一次"), tr("导入文件出错,请重试一次"), Buttons::Ok, Answer::Ok, Icon::None, {}, {}});
  }
}

void TFrmMain::SaveTextAs(QTextEdit* editor) {
  const FileRequest request{
      QString(), {{tr("Rtf格式"), QStringLiteral("*.rtf")}, {tr("Txt格式"), QStringLiteral("*.txt")}}, 0};
  const std::optional<FileChoice> choice = Prompts().SaveFile(this, request);
  if (!choice) return;
  // The extension of the chosen filter is appended whatever the name ends with.
  const bool rtf = choice->filter == 0;
  const std::string path = ToUtf8(choice->path) + (rtf ? ".rtf" : ".txt");
  if (!MayWrite(this, path)) return;
  std::string bytes;
  if (rtf) {
    bytes = EditorRtf(*editor);
  } else {
    bytes = base::Utf8ToGbkLossy(ToUtf8(PlainTextWithCrLf(*editor->document())));
  }
  std::string error;
  if (!base::AtomicWriteFile(path, bytes, &error)) {
    ReportWriteFailure(this, path, error);
    return;
  }
  Tell(this, SavedMessage());
}

void TFrmMain::PrintText(QTextEdit* editor) {
  if (!AskYesNo(this, tr("准备开始打印吗?"), tr("打印"), Icon::Information)) return;
  QPrinter printer;
  if (!Prompts().SetUpPrinter(this, printer)) return;
  // The whole text is printed whatever range the dialog chose.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setDocName(QString());
  editor->document()->print(&printer);
  if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
    Tell(this, tr("打印错误，请检查打印设备！"), tr("打印错误"), Icon::Error);
  }
}

}  // namespace quorin::ui

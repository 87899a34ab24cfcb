// The analysis text, the remarks and the chart image: selection font, import, saving
// as RTF, TXT, BMP or JPG, printing and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>

#include "base/files.h"
#include "base/gbk.h"
#include "qtdraw/image_canvas.h"
#include "qtdraw/jpeg_writer.h"
#include "ui/frm_main.h"
#include "ui/print_layout.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/rich_text_convert.h"
#include "ui/rich_text_files.h"

namespace quorin::ui {

namespace {

const QString kSaved = QStringLiteral("已保存！");

void ReportWriteFailure(QWidget* parent, const std::string& path, const std::string& error) {
  Tell(parent, QStringLiteral("无法保存文件%1：%2").arg(ToQString(path), ToQString(error)), QStringLiteral("错误"),
       Icon::Error);
}

// The dialog confirmed the name as typed; the file written carries an appended extension, so
// an existing file of that name is only replaced when the user says so.
bool MayWrite(QWidget* parent, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  return AskYesNo(parent, QStringLiteral("%1 已存在，要替换它吗？").arg(ToQString(path)), QStringLiteral("另存为"),
                  Icon::Warning, Answer::No);
}

}  // namespace

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

void TFrmMain::RlyimportClick() {
  const FileRequest request{QString(), ParseFilterList(QStringLiteral("All.rtf|*.rtf|All.txt|*.txt")), 0};
  const std::optional<FileChoice> choice = Prompts().OpenFile(this, request);
  if (!choice) return;
  RedtOut->clear();
  QTextCharFormat defaults;
  defaults.setFontPointSize(RedtOut->font().pointSizeF());
  defaults.setForeground(Qt::black);
  defaults.setFontWeight(QFont::Normal);
  defaults.setFontItalic(false);
  defaults.setFontUnderline(false);
  defaults.setFontStrikeOut(false);
  RedtOut->setCurrentCharFormat(defaults);

  if (!LoadTextFile(*RedtOut, ToUtf8(choice->path), defaults)) {
    Prompts().Ask(this, Message{QStringLiteral("重试一次"), QStringLiteral("导入文件出错,请重试一次"), Buttons::Ok,
                                Answer::Ok, Icon::None});
  }
}

void TFrmMain::SaveTextAs(QTextEdit* editor) {
  const FileRequest request{QString(), ParseFilterList(QStringLiteral("Rtf格式|*.rtf|Txt格式|*.txt")), 0};
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
  Tell(this, kSaved);
}

void TFrmMain::PrintText(QTextEdit* editor) {
  if (!AskYesNo(this, QStringLiteral("准备开始打印吗?"), QStringLiteral("打印"), Icon::Information)) return;
  QPrinter printer;
  if (!Prompts().SetUpPrinter(this, printer)) return;
  // The whole text is printed whatever range the dialog chose.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setDocName(QString());
  editor->document()->print(&printer);
  if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
    Tell(this, QStringLiteral("打印错误，请检查打印设备！"), QStringLiteral("打印错误"), Icon::Error);
  }
}

void TFrmMain::CopyChartImage() { QApplication::clipboard()->setImage(canvas_->Image()); }

void TFrmMain::SaveChartImageAs() {
  const FileRequest request{QStringLiteral("另存为Bmp图片"), ParseFilterList(QStringLiteral("bmp格式|*.bmp|jpg格式|*.jpg")),
                            1};
  const std::optional<FileChoice> choice = Prompts().SaveFile(this, request);
  if (!choice) return;
  const bool bmp = choice->filter == 0;
  const std::string path = ToUtf8(choice->path) + (bmp ? ".bmp" : ".jpg");
  if (!MayWrite(this, path)) return;
  std::string error = "encoding failed";
  const std::optional<std::string> bytes =
      bmp ? qtdraw::EncodeBmp(canvas_->Image()) : qtdraw::EncodeJpeg(canvas_->Image(), &error);
  if (!bytes || !base::AtomicWriteFile(path, *bytes, &error)) {
    ReportWriteFailure(this, path, error);
    return;
  }
  Tell(this, kSaved);
}

void TFrmMain::PrintChartImage() {
  if (!AskYesNo(this, QStringLiteral("准备开始打印吗?"), QStringLiteral("打印"), Icon::Information)) return;
  QPrinter printer;
  if (!Prompts().SetUpPrinter(this, printer)) return;
  printer.setPageOrientation(QPageLayout::Portrait);
  const QImage& image = canvas_->Image();
  QPainter painter;
  if (!painter.begin(&printer)) {
    Tell(this, QStringLiteral("请检查打印机能否正常工作！"), QStringLiteral("打印错误"), Icon::Error);
    return;
  }
  painter.drawImage(ChartPrintRect(image.size(), printer.width(), printer.height()), image);
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    Tell(this, QStringLiteral("请检查打印机能否正常工作！"), QStringLiteral("打印错误"), Icon::Error);
  }
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_txt_help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "base/files.h"
#include "base/script_text.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "ui/frm_txt_help_texts.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/ui_text.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {

QPlainTextEdit* AddPage(QTabWidget* pages, QWidget*& page, const QString& name, const QString& caption,
                        const QIcon& icon, const std::string& text) {
  page = new QWidget(pages);
  page->setObjectName(name);
  auto* memo = new QPlainTextEdit(page);
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setPlainText(qtdraw::ShownQString(text));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(memo);
  pages->addTab(page, icon, caption);
  return memo;
}

}  // namespace

TFrmTxtHelp::TFrmTxtHelp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmTxtHelp"));
  setWindowTitle(tr("软件帮助"));
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);
  setFont(qtdraw::SongFont(kProgramFontPoints));
  resize(702, 662);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  // The tab icons of ImageList1: a guide and a history.
  guideText_ = AddPage(pages_, guidePage_, QStringLiteral("TabSheet2"), tr("使用说明"),
                       style()->standardIcon(QStyle::SP_FileDialogInfoView), HelpGuideText());
  guideText_->setObjectName(QStringLiteral("Memo1"));
  releaseNotesText_ = AddPage(pages_, historyPage_, QStringLiteral("TabSheet4"), tr("升级改进历史"),
                              style()->standardIcon(QStyle::SP_FileDialogDetailedView), HelpReleaseNotesText());
  releaseNotesText_->setObjectName(QStringLiteral("Memo2"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pages_);

  ApplyProgramUiFont(this);
}

void TFrmTxtHelp::ShowModal(QWidget* owner) {
  TFrmTxtHelp window(owner);
  CentreOnScreen(&window);
  window.exec();
}

QString HelpDocumentPath() { return ToQString(HelpDocumentFile()); }

namespace {

QString HelpDocumentInShownScript() {
  const base::Script script = base::ShownScript();
  if (script == base::Script::kSimplified) return HelpDocumentPath();
  // The shipped document is simplified; a traditional copy is kept in the user's dat/ (its
  // markup is ASCII, so only the text changes) and written again when the document changes.
  const auto shipped = base::ReadFileBytes(HelpDocumentFile());
  if (!shipped) return HelpDocumentPath();
  std::string converted = base::ShownText(*shipped);
  const std::string simplifiedLanguage = "lang=\"zh-CN\"";
  if (const std::size_t at = converted.find(simplifiedLanguage); at != std::string::npos)
    converted.replace(at, simplifiedLanguage.size(), "lang=\"" + std::string(base::ScriptName(script)) + "\"");
  const std::string copy = base::ProgramFolder() + "dat/Quorin." + std::string(base::ScriptName(script)) + ".html";
  if (base::ReadFileBytes(copy) != converted && !base::AtomicWriteFile(copy, converted)) return HelpDocumentPath();
  return ToQString(copy);
}

}  // namespace

namespace {

// The desktop's opener. Qt hands files to it as well, but does not wait to hear whether a
// browser took the file; run here, its exit code says so.
constexpr const char* kDesktopOpener = "xdg-open";

void TellNoBrowser(QWidget* parent, const QString& path) {
  Tell(parent,
       UiText::tr("没有能打开帮助文件的浏览器。\r\n请自己打开浏览器，在地址栏里输入：\r\n%1")
           .arg(QUrl::fromLocalFile(path).toString()),
       UiText::tr("玄空择日"), Icon::Warning);
}

}  // namespace

void OpenHelpDocument(QWidget* parent) {
  const QString path = HelpDocumentInShownScript();
  if (!QFileInfo(path).isFile()) return;
  const QString opener = QStandardPaths::findExecutable(QString::fromLatin1(kDesktopOpener));
  if (opener.isEmpty()) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) TellNoBrowser(parent, path);
    return;
  }
  // The answer comes when the opener ends; the window may be gone by then.
  auto* process = new QProcess(QCoreApplication::instance());
  const QPointer<QWidget> owner(parent);
  QObject::connect(process, &QProcess::finished, process, [process, owner, path](int code, QProcess::ExitStatus status) {
    process->deleteLater();
    if (status != QProcess::NormalExit || code != 0) TellNoBrowser(owner, path);
  });
  QObject::connect(process, &QProcess::errorOccurred, process, [process, owner, path](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    process->deleteLater();
    TellNoBrowser(owner, path);
  });
  process->start(opener, {path});
}

}  // namespace quorin::ui

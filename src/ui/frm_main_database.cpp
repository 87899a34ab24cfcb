// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-database commands of the file menu: import, export, backup, restore,
// deleting all cases and compaction. Those that replace the database end the program
// once the user has read the result, so the next start opens the new file.
#include <QDir>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>

#include "base/files.h"
#include "cases/remark_files.h"
#include "cases/record_base.h"
#include "cases/shared_library.h"
#include "ui/clock.h"
#include "ui/case_tree_panel.h"
#include "ui/frm_export_class.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/prompter.h"

namespace quorin::ui {

namespace {

constexpr const char* kDataKept = QT_TRANSLATE_NOOP("quorin::ui::TFrmMain", "\r\n现有的案例数据没有改动。");

// "2024年3月5日8时7分9秒": the local time without leading zeros.
QString TimeStamp() {
  const QDateTime now = LocalNow();
  const QDate d = now.date();
  const QTime t = now.time();
  return QStringLiteral("%1年%2月%3日%4时%5分%6秒")
      .arg(d.year())
      .arg(d.month())
      .arg(d.day())
      .arg(t.hour())
      .arg(t.minute())
      .arg(t.second());
}

QString WithoutTrailingSlash(QString folder) {
  while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
  return folder;
}

// Keeps the remarks editor's content while it serves as the progress display of a
// command that leaves the program running.
class KeptEditorText {
 public:
  explicit KeptEditorText(QTextEdit& editor)
      : editor_(editor), html_(editor.toHtml()), modified_(editor.document()->isModified()) {}
  void Restore() {
    editor_.setHtml(html_);
    editor_.document()->setModified(modified_);
  }

 private:
  QTextEdit& editor_;
  QString html_;
  bool modified_;
};

}  // namespace

void TFrmMain::ShowProgressLine(const std::string& line) {
  remarkEditor_->setPlainText(ToQString(line));
  remarkEditor_->repaint();
}

void TFrmMain::EndProgram() {
  endingProgram_ = true;
  close();
}

void TFrmMain::BackUpCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  const std::optional<QString> chosen = ChooseFolder(this, tr("请选择备份位置："));
  if (!chosen) return;
  const QString folder = *chosen + QStringLiteral("Quorin_备份_") + TimeStamp();
  if (QDir(folder).exists()) {
    Tell(this, tr("当前时间的文件夹已经存在，请稍后再备份！"));
    return;
  }
  // The store makes the folder, under its final name only once the backup is whole.
  if (UsingSharedLibrary()) {
    if (sharedLibrary_->Backup(ToUtf8(folder))) Tell(this, tr("成功备份，已保存到%1目录下").arg(folder));
    else Tell(this, ToQString(sharedLibrary_->lastError()));
    return;
  }
  if (localStore_->Backup(ToUtf8(folder))) {
    Tell(this, tr("成功备份，已保存到%1目录下").arg(folder));
  } else {
    Tell(this, ToQString(localStore_->lastError()));
  }
}

void TFrmMain::RestoreCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  if (!AskYesNo(this, tr("执行此操作将覆盖现有的案例数据，要继续吗？"), tr("注意了"), Icon::Warning, Answer::No)) {
    return;
  }
  const std::optional<QString> folder = ChooseFolder(this, tr("请选择要还原的数据位置："));
  if (!folder) return;
  const std::string source = ToUtf8(*folder);
  if (!base::FileExists(source + std::string(cases::kDatabaseWord) + ".db")) {
    Tell(this, tr("没有要还原的的db数据文件！"));
    return;
  }
  if (!base::DirectoryExists(source + std::string(cases::kDatabaseWord) + "_f")) {
    Tell(this, tr("没有要还原的评语文件夹！"));
    return;
  }
  if (UsingSharedLibrary()) {
    // Into a shared library without cases only, in one transaction; the window goes on.
    if (!sharedLibrary_->Restore(source)) {
      Tell(this, ToQString(sharedLibrary_->lastError()) + tr(kDataKept));
      return;
    }
    // The cases are in either way; remarks that could not be made from their text make it no success.
    if (!sharedLibrary_->lastError().empty()) Tell(this, ToQString(sharedLibrary_->lastError()), tr("错误"), Icon::Error);
    else Tell(this, tr("成功还原！"));
    caseTree_->Refresh();
    return;
  }
  // The store checks the backup and swaps it in whole; a failure leaves the data as it was.
  if (!localStore_->Restore(source)) {
    Tell(this, ToQString(localStore_->lastError()) + tr(kDataKept));
    return;
  }
  // The cases are back either way; remarks that could not be written from the stored text make it no success.
  if (localStore_->RemarkWriteFailures() > 0) {
    Tell(this,
         tr("案例数据已经还原，但评语文件没有全部写入：%1\r\n请重新打开软件！").arg(ToQString(localStore_->lastError())),
         tr("错误"), Icon::Error);
  } else {
    Tell(this, tr("成功还原，请重新打开软件！"));
  }
  EndProgram();
}

void TFrmMain::DeleteAllCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  if (UsingSharedLibrary()) {
    // One user's slip must not empty a whole practice's library.
    Tell(this, tr("共享案例库不能在这里删除所有案例。"));
    return;
  }
  if (!AskYesNo(this, tr("确定要删除所有案例吗？"), tr("删除所有案例"), Icon::Warning, Answer::No)) {
    return;
  }
  QString code;
  for (int i = 0; i < 4; ++i) code += QString::number(QRandomGenerator::global()->bounded(10));
  const std::optional<QString> typed =
      Prompts().Input(this, tr("删除码：%1 ").arg(code), tr("请输入删除码：      "), QString());
  if (!typed) return;
  if (*typed != code) {
    Tell(this, tr("删除码错误，无法删除！"));
    return;
  }
  if (!localStore_->DeleteAll()) {
    Tell(this, ToQString(localStore_->lastError()));
    // Once the database file is gone the window no longer matches it.
    if (!base::FileExists(localStore_->path())) EndProgram();
    return;
  }
  Tell(this, tr("成功删除所有记录，请重新打开软件！"));
  EndProgram();
}

void TFrmMain::CompactCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  if (UsingSharedLibrary()) {
    // The shared library keeps its ids (other users hold them); the window goes on.
    if (!AskYesNo(this, tr("整理共享案例库：为缺少评语的案例重建评语，并整理服务器上的数据表。确定要整理吗？"),
                  tr("整理数据"), Icon::Warning, Answer::No)) {
      return;
    }
    const std::optional<int> count = sharedLibrary_->Compact();
    if (count) Tell(this, tr(" %1 个案例已经整理出来！").arg(*count));
    else Tell(this, ToQString(sharedLibrary_->lastError()) + tr(kDataKept));
    return;
  }
  if (localStore_->GetPrimaryId() < cases::kFewestCasesToCompact) {
    Tell(this, tr("案例数据过少，无需整理！"));
    return;
  }
  if (!AskYesNo(this, tr("只有数据库案例较多，并且经过频繁删除、改名等操作，才需要整理数据。确定要整理吗？"),
                tr("整理数据"), Icon::Warning, Answer::No)) {
    return;
  }
  // The editor becomes the progress display and the program ends: a changed remark is offered first.
  if (!OfferToSaveOpenRemark()) return;
  const std::optional<int> kept = localStore_->Compact([this](const std::string& line) { ShowProgressLine(line); });
  if (kept) {
    Tell(this, tr(" %1 个案例已经整理出来！").arg(*kept));
  } else {
    // A compaction that fails keeps the old file.
    Tell(this, ToQString(localStore_->lastError()) + tr(kDataKept));
  }
  EndProgram();
}

void TFrmMain::ImportCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  const FileRequest request{QString(), ParseFilterList(QStringLiteral("all.db|*.db")), 0};
  const std::optional<FileChoice> choice = Prompts().OpenFile(this, request);
  if (!choice) return;
  const std::string path = ToUtf8(choice->path);
  if (!base::FileExists(path)) {
    Tell(this, tr("不存在这个数据库文件，无法导入！"));
    return;
  }
  if (UsingSharedLibrary()) {
    // All or nothing in one transaction; the window goes on and shows the new cases.
    cases::MRecordBase source;
    const std::optional<int> added =
        source.OpenReadOnly(path) ? sharedLibrary_->Import(source) : std::optional<int>();
    if (!added) {
      Tell(this, ToQString(source.lastError().empty() ? sharedLibrary_->lastError() : source.lastError()));
      return;
    }
    Tell(this, tr("共导入 %1 个案例！").arg(*added));
    caseTree_->Refresh();
    return;
  }
  // The editor becomes the progress display and the program ends: a changed remark is offered first.
  if (!OfferToSaveOpenRemark()) return;
  KeptEditorText editorText(*remarkEditor_);
  const std::optional<int> added = localStore_->ImportFrom(path, [this](const std::string& line) { ShowProgressLine(line); });
  if (!added) {
    editorText.Restore();
    Tell(this, ToQString(localStore_->lastError()));
    return;
  }
  // Cases in without their remarks are no success: the message says which file failed.
  if (localStore_->RemarkWriteFailures() > 0) {
    Tell(this, ToQString(localStore_->lastError()) + tr("\r\n请重启软件！"), tr("错误"), Icon::Error);
  } else {
    Tell(this, tr("共导入 %1 个案例！").arg(*added) + tr("请重启软件！"));
  }
  EndProgram();
}

void TFrmMain::ExportCases() {
  if (caseTree_->RefuseWhileLoading() || !localStore_) return;
  std::vector<std::string> names;
  if (!caseStore_->GetClassNames(names)) {
    Tell(this, ToQString(caseStore_->lastError()));
    return;
  }
  TFrmExportClass picker(ToQStrings(names), this);
  if (picker.exec() != QDialog::Accepted) return;
  std::vector<std::string> chosen;
  for (const QString& name : picker.CheckedCategories()) chosen.push_back(ToUtf8(name));
  const bool exportAll = picker.AllChecked();

  const std::optional<QString> folder = ChooseFolder(this, tr("请选择存放位置："));
  if (!folder) return;
  const QString file = *folder + QStringLiteral("Quorin_") + TimeStamp() + QStringLiteral(".db");
  const std::string path = ToUtf8(file);
  if (base::FileExists(path)) {
    Tell(this, tr("当前时间的数据库文件已经存在，请稍后再导出！"));
    return;
  }
  // The remark of the open case stays in the editor: the program goes on after an export.
  KeptEditorText editorText(*remarkEditor_);
  const int written =
      UsingSharedLibrary()
          ? sharedLibrary_->ExportTo(path, chosen, exportAll).value_or(0)
          : localStore_->ExportTo(path, chosen, exportAll, [this](const std::string& line) { ShowProgressLine(line); })
                .value_or(0);
  editorText.Restore();
  if (written == 0) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);  // an empty export file would only mislead
    Tell(this, tr("没有可以导出的案例，或者无法创建导出数据库，导出失败，请重启软件再次试试！"));
    return;
  }
  if (AskYesNo(this, tr(" %1 个案例文件已经保存到：%2，要打开所在文件夹吗？").arg(written).arg(file), tr("打开文件夹"),
               Icon::Information)) {
    Prompts().ShowFolder(WithoutTrailingSlash(*folder));
  }
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The case commands of the main window: saving ("存新" / "存旧"), opening, deleting
// and starting a new case, with the remark of the case in the remarks editor.
#include <QTabWidget>
#include <QTextEdit>
#include <filesystem>

#include "base/files.h"
#include "cases/case_text.h"
#include "cases/case_store.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "chart/candidate_comparison.h"
#include "chart/quorin_day.h"
#include "ui/case_tree_panel.h"
#include "ui/chart_inputs_panel.h"
#include "ui/comparison_window.h"
#include "ui/frm_fen_lei.h"
#include "ui/frm_main.h"
#include "ui/search_page.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/rich_text_convert.h"
#include "ui/rich_text_files.h"

namespace quorin::ui {

namespace {

constexpr const char* kHint = QT_TRANSLATE_NOOP("quorin::ui::TFrmMain", "提示");

}  // namespace

std::string TFrmMain::CurrentRemarkPath() const {
  if (caseStore_ != localStore_ || !localStore_ || cases::IsPlaceholderRemarkName(record_.remarkFile)) return {};
  return cases::RemarkFilePath(localStore_->RemarkFolder(), record_.remarkFile).value_or(std::string());
}

std::string TFrmMain::RemarkTextOfEditor() const {
  return cases::RemoveApostrophes(ToUtf8(PlainTextWithCrLf(*remarkEditor_->document())));
}

void TFrmMain::SaveCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  if (!chartShown_) {
    Tell(this, tr("请先排一个正确的盘后再保存"), tr(kHint), Icon::Information);
    return;
  }
  if (!caseStore_ || RefuseReadOnly()) return;
  if (caseOpen_) {
    SaveOpenCase(*caseStore_);
  } else {
    SaveNewCase(*caseStore_);
  }
}

bool TFrmMain::RefuseReadOnly() {
  if (!readOnlyLibrary_) return false;
  Tell(this, ToQString(cases::kReadOnlyLibrary));
  return true;
}

bool TFrmMain::KeepForRetry(cases::CaseStore& store) {
  if (!store.IsShared() || !sharedLibrary_ || !sharedLibrary_->ConnectionLost()) return false;
  // The server may be back already (restarted while the window was idle): then the save goes now.
  if (!retryingNow_ && sharedLibrary_->Reconnect()) {
    retryingNow_ = true;  // once: a second failure waits for the server
    if (caseOpen_) SaveOpenCase(store, true);
    else SaveNewCase(store, true);
    retryingNow_ = false;
    return true;
  }
  saveWaitsForServer_ = true;
  ShowLibraryInTitle();
  Tell(this, tr("与共享案例库的连接中断了，案例没有保存。\r\n排盘和评语都还在窗口中，连接恢复后会自动再保存。"),
       tr(kHint), Icon::Warning);
  return true;
}

void TFrmMain::SaveOpenCase(cases::CaseStore& store, bool retrying) {
  if (!retrying &&
      !AskYesNo(this, tr("要修改“%1”这条记录吗？").arg(ToQString(savedRecord_.name)), tr(kHint), Icon::Information)) {
    return;
  }
  record_.remarkText = RemarkTextOfEditor();
  // The row and its remark change together, or neither does; the editor stays marked until then.
  int version = currentCaseVersion_;
  switch (store.UpdateCase(currentCaseId_, record_, EditorRtf(*remarkEditor_), version)) {
    case cases::CaseSave::kSaved: break;
    case cases::CaseSave::kChangedByAnother: ResolveSaveConflict(store); return;
    case cases::CaseSave::kMissing:
      // Another user deleted it: what the window holds becomes a new case.
      if (AskYesNo(this, tr("这个案例已经被其他人删除了。要把窗口中的内容另存为新案例吗？"), tr(kHint), Icon::Warning)) {
        caseOpen_ = false;
        SaveNewCase(store, true);
      }
      return;
    case cases::CaseSave::kFailed:
      if (!KeepForRetry(store)) Tell(this, ToQString(store.lastError()));
      return;
  }
  saveWaitsForServer_ = false;
  currentCaseVersion_ = version;
  remarkEditor_->document()->setModified(false);
  savedRecord_.name = record_.name;
  if (caseTree_->ShowSavedCase(currentCaseId_, record_) && !retrying) Tell(this, tr("已保存编辑后的案例。"));
}

void TFrmMain::ResolveSaveConflict(cases::CaseStore& store) {
  const std::optional<cases::StoredCase> theirs = store.ReadStored(currentCaseId_);
  if (!theirs) {
    Tell(this, ToQString(store.lastError().empty() ? std::string(cases::kChangedByAnother) : store.lastError()));
    return;
  }
  Message conflict;
  conflict.caption = tr("保存冲突");
  conflict.text = tr("“%1”在您打开之后已经被其他人修改过（现在是第%2版）。\r\n要怎样处理您的修改？")
                      .arg(ToQString(theirs->record.name))
                      .arg(theirs->version);
  const int choice =
      Prompts().Choose(this, conflict, {tr("保留我的修改"), tr("采用对方的修改"), tr("另存为新案例"), tr("取消")});
  switch (choice) {
    case 0: {  // mine over theirs, now that the user has seen that there is theirs
      currentCaseVersion_ = theirs->version;
      SaveOpenCase(store, true);
      return;
    }
    case 1:  // theirs: the window shows the case as it is now; my changes go
      ShowStoredCase(*theirs);
      return;
    case 2:  // mine as a new case beside theirs
      caseOpen_ = false;
      SaveNewCase(store, true);
      return;
    default: return;  // nothing saved; the window keeps what it holds
  }
}

void TFrmMain::SaveNewCase(cases::CaseStore& store, bool retrying) {
  if (!retrying) {
    std::vector<std::string> categories;
    if (!store.GetClassNames(categories)) {
      if (!KeepForRetry(store)) Tell(this, ToQString(store.lastError()));
      return;
    }
    TFrmFenLei picker(ToQStrings(categories), this);
    if (picker.exec() != QDialog::Accepted) return;
    record_.className = ToUtf8(picker.Result());
  }
  record_.remarkText = RemarkTextOfEditor();
  // The store names, writes and stores the remark with the case; a failure keeps nothing of either.
  const std::optional<int> inserted = store.InsertCase(record_, EditorRtf(*remarkEditor_));
  if (!inserted) {
    if (!KeepForRetry(store)) Tell(this, ToQString(store.lastError()));
    return;
  }
  saveWaitsForServer_ = false;
  const int id = *inserted;
  caseTree_->AddCaseNode(record_, id);

  currentCaseId_ = id;
  currentCaseVersion_ = 1;
  caseOpen_ = true;
  remarkEditor_->document()->setModified(false);
  Inputs->SetSaveButtonOpen(true);
  savedRecord_ = record_;
}

void TFrmMain::OpenSelectedCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  const int id = caseTree_->SelectedCaseId();
  if (!caseStore_ || id < 0) return;
  std::optional<cases::StoredCase> stored = caseStore_->ReadStored(id);
  if (!stored && caseStore_->lastError().empty()) return;  // gone meanwhile
  if (stored && caseOpen_ && remarkEditor_->document()->isModified()) {
    if (!OfferToSaveOpenRemark(tr("当前记录文本已改变，要保存吗？"))) return;
    // Saving may have rewritten the very case being opened.
    stored = caseStore_->ReadStored(id);
    if (!stored && caseStore_->lastError().empty()) return;
  }
  // A remark too large to read, or a library that cannot be read, says so; nothing is opened.
  if (!stored) {
    Tell(this, ToQString(caseStore_->lastError()));
    return;
  }
  ShowStoredCase(*stored);
}

void TFrmMain::ShowStoredCase(const cases::StoredCase& stored) {
  record_ = stored.record;
  savedRecord_ = stored.record;
  Inputs->ShowRecord(stored.record);
  SetChartShown(false);
  caseOpen_ = true;
  currentCaseId_ = stored.record.id;
  currentCaseVersion_ = stored.version;
  ShowRemark(stored);
  if (!ComputeChart()) return;
  remarkEditor_->document()->setModified(false);
  Inputs->SetSaveButtonOpen(true);
}

void TFrmMain::CompareSelectedCases() {
  if (caseTree_->RefuseWhileLoading() || !caseStore_) return;
  std::vector<TRecordData> chosen;
  for (const int id : caseTree_->SelectedCaseIds()) {
    if (std::optional<cases::StoredCase> read = caseStore_->ReadStored(id)) chosen.push_back(std::move(read->record));
  }
  if (chosen.empty()) return;
  ShowComparisonWindow(this, chart::CompareCases(*engine_, chosen, searchPage_->Request()), chosen.front());
}

void TFrmMain::ShowRemark(const cases::StoredCase& stored) {
  remarkEditor_->clear();
  QTextCharFormat defaults;
  defaults.setForeground(Qt::black);
  const bool loaded = !stored.remarkRtf.empty() && LoadRemarkText(*remarkEditor_, stored.remarkRtf, defaults);
  if (!loaded) remarkEditor_->setPlainText(ToQString(stored.record.remarkText));
}

void TFrmMain::DeleteSelectedCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  const int id = caseTree_->SelectedCaseId();
  if (!caseStore_ || id < 0) {
    Tell(this, tr("请先选择一个案例！"));
    return;
  }
  if (RefuseReadOnly()) return;
  const QString name = caseTree_->SelectedNodeText().section(QLatin1Char(' '), 0, 0);
  if (!AskYesNo(this, tr("确定要删除“%1”这个卦例吗？").arg(name), tr("注意"), Icon::Warning, Answer::No)) {
    return;
  }
  const bool isOpen = caseOpen_ && id == currentCaseId_;
  if (isOpen && !AskYesNo(this, tr("确定要删除当前正在查看的卦例吗？"), tr(kHint), Icon::Warning)) return;
  // The version the user saw: the open case's, else the one just read.
  int version = currentCaseVersion_;
  if (!isOpen) {
    const std::optional<cases::StoredCase> stored = caseStore_->ReadStored(id);
    version = stored ? stored->version : 0;
  }
  // The case leaves the store first: a removal that fails keeps its remark and its node.
  switch (caseStore_->RemoveCase(id, version)) {
    case cases::CaseSave::kSaved:
    case cases::CaseSave::kMissing: break;  // gone already: its node goes too
    case cases::CaseSave::kChangedByAnother:
      Tell(this, tr("这个案例已经被其他人修改过，没有删除。请刷新显示后再看。"));
      return;
    case cases::CaseSave::kFailed: Tell(this, ToQString(caseStore_->lastError())); return;
  }
  if (isOpen) {
    chartTextView_->clear();
    SetChartShown(false);
    caseOpen_ = false;
    Inputs->SetSaveButtonOpen(false);
  }
  caseTree_->RemoveSelectedCaseNode();
}

void TFrmMain::StartNewCase() {
  // Its question may save the open case, which must wait for the loading.
  if (caseTree_->RefuseWhileLoading()) return;
  if (!AskYesNo(this, tr("确定要开始建立一个新案例吗?这将清除现有评语！"), tr("新建"), Icon::Information)) {
    return;
  }
  if (!OfferToSaveOpenRemark()) return;
  SetChartShown(false);
  chartTextView_->clear();
  engine_->ClearImage();
  ShowChartImage();
  caseOpen_ = false;
  chartTextView_->document()->setModified(false);
  remarkEditor_->setPlainText(tr("输入自己的评语："));
  remarkEditor_->document()->setModified(false);
  Inputs->SetSaveButtonOpen(false);
  record_.extra.fill(-1);
  record_.dragonMountain = -1;
  record_.waterMountain = -1;
  record_.showFacing = false;
}

bool TFrmMain::OfferToSaveOpenRemark(const QString& question) {
  if (!caseOpen_ || !remarkEditor_->document()->isModified() || !AskYesNo(this, question, tr(kHint), Icon::Warning)) {
    return true;
  }
  SaveCase();
  // A refused or failed save has shown why; the editor stays marked.
  return !remarkEditor_->document()->isModified();
}

void TFrmMain::KeepOpenCaseCategory(cases::CaseStore& store) {
  if (!caseOpen_) return;
  if (const std::optional<cases::StoredCase> stored = store.ReadStored(currentCaseId_)) {
    // A renamed or merged category reaches the open case, or its next save would undo it.
    record_.className = stored->record.className;
    savedRecord_.className = stored->record.className;
    TakeOwnCategoryChange(*stored);
  } else if (store.lastError().empty()) {
    // No such row: it went with its category, and the next save stores it as a new case.
    caseOpen_ = false;
    Inputs->SetSaveButtonOpen(false);
  }
}

void TFrmMain::ForgetOpenCase() {
  // Its id may name another case now: a save would overwrite that one.
  if (!caseOpen_) return;
  caseOpen_ = false;
  Inputs->SetSaveButtonOpen(false);
}

void TFrmMain::KeepMovedCaseCategory(int id, const std::string& category) {
  // Or its next save would move it back.
  if (!caseOpen_ || id != currentCaseId_) return;
  record_.className = category;
  savedRecord_.className = category;
  if (caseStore_) {
    if (const std::optional<cases::StoredCase> stored = caseStore_->ReadStored(id)) TakeOwnCategoryChange(*stored);
  }
}

void TFrmMain::TakeOwnCategoryChange(const cases::StoredCase& stored) {
  // A move or rename raised the shared library's version once: the next save is still the user's
  // own. Any other change stays another user's, which the next save asks about.
  if (stored.version == currentCaseVersion_ + 1) currentCaseVersion_ = stored.version;
}

}  // namespace quorin::ui

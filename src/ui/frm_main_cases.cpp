// SPDX-License-Identifier: GPL-3.0-or-later
// The case commands of the main window: saving ("存新" / "存旧"), opening, deleting
// and starting a new case, with the remark of the case in the remarks editor.
#include <QTabWidget>
#include <QTextEdit>
#include <filesystem>

#include "base/files.h"
#include "cases/case_text.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
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

// The remark file a stored case owns: none for a name that would leave the remark
// folder, nor for the placeholder of a record never saved ("n" or blank), which no
// case owns alone.
std::optional<std::string> OwnRemarkPath(const cases::MRecordBase& store, const TRecordData& record) {
  if (cases::IsPlaceholderRemarkName(record.remarkFile)) return std::nullopt;
  return cases::RemarkFilePath(store.RemarkFolder(), record.remarkFile);
}

}  // namespace

std::string TFrmMain::RemarkTextOfEditor() const {
  return cases::RemoveApostrophes(ToUtf8(PlainTextWithCrLf(*remarkEditor_->document())));
}

void TFrmMain::SaveCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  if (!chartShown_) {
    Tell(this, tr("请先排一个正确的盘后再保存"), tr(kHint), Icon::Information);
    return;
  }
  if (!caseStore_) return;
  if (caseOpen_) {
    SaveOpenCase(*caseStore_);
  } else {
    SaveNewCase(*caseStore_);
  }
}

void TFrmMain::SaveOpenCase(cases::MRecordBase& store) {
  if (!AskYesNo(this, tr("要修改“%1”这条记录吗？").arg(ToQString(savedRecord_.name)), tr(kHint), Icon::Information)) {
    return;
  }
  record_.remarkText = RemarkTextOfEditor();
  // The row and its remark file change together, or neither does; the editor stays marked until then.
  if (!store.UpdateWithRemark(currentCaseId_, record_, currentRemarkPath_, EditorRtf(*remarkEditor_))) {
    Tell(this, ToQString(store.lastError()));
    return;
  }
  remarkEditor_->document()->setModified(false);
  savedRecord_.name = record_.name;
  if (caseTree_->ShowSavedCase(currentCaseId_, record_)) Tell(this, tr("已保存编辑后的案例。"));
}

void TFrmMain::SaveNewCase(cases::MRecordBase& store) {
  std::vector<std::string> categories;
  if (!store.GetClassNames(categories)) {
    Tell(this, ToQString(store.lastError()));
    return;
  }
  TFrmFenLei picker(ToQStrings(categories), this);
  if (picker.exec() != QDialog::Accepted) return;
  record_.className = ToUtf8(picker.Result());
  record_.remarkText = RemarkTextOfEditor();
  // The store names, writes and stores the remark with the case; a failure keeps nothing of either.
  const std::optional<int> inserted = store.InsertWithRemark(record_, EditorRtf(*remarkEditor_));
  if (!inserted) {
    Tell(this, ToQString(store.lastError()));
    return;
  }
  currentRemarkPath_ = cases::RemarkFilePath(store.RemarkFolder(), record_.remarkFile).value_or(std::string());
  const int id = *inserted;
  caseTree_->AddCaseNode(record_, id);

  currentCaseId_ = id;
  caseOpen_ = true;
  remarkEditor_->document()->setModified(false);
  Inputs->SetSaveButtonOpen(true);
  savedRecord_ = record_;
}

void TFrmMain::OpenSelectedCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  const int id = caseTree_->SelectedCaseId();
  TRecordData read;
  if (!caseStore_ || id < 0 || !caseStore_->Read(id, read)) return;
  if (caseOpen_ && remarkEditor_->document()->isModified()) {
    if (!OfferToSaveOpenRemark(tr("当前记录文本已改变，要保存吗？"))) return;
    // Saving may have rewritten the very case being opened.
    if (!caseStore_->Read(id, read)) return;
  }

  // A remark too large to read is not opened: its next save would replace it by what the editor holds.
  if (const auto path = OwnRemarkPath(*caseStore_, read);
      path && base::FileSize(*path).value_or(0) > cases::kMaxRemarkBytes) {
    Tell(this, ToQString(cases::RemarkTooLargeMessage(read.name, *path)));
    return;
  }
  record_ = read;
  savedRecord_ = read;
  Inputs->ShowRecord(read);
  SetChartShown(false);
  caseOpen_ = true;
  currentCaseId_ = id;
  ShowRemark(*caseStore_, read);
  if (!ComputeChart()) return;
  remarkEditor_->document()->setModified(false);
  Inputs->SetSaveButtonOpen(true);
}

void TFrmMain::CompareSelectedCases() {
  if (caseTree_->RefuseWhileLoading() || !caseStore_) return;
  std::vector<TRecordData> chosen;
  for (const int id : caseTree_->SelectedCaseIds()) {
    TRecordData read;
    if (caseStore_->Read(id, read)) chosen.push_back(std::move(read));
  }
  if (chosen.empty()) return;
  ShowComparisonWindow(this, chart::CompareCases(*engine_, chosen, searchPage_->Request()), chosen.front());
}

void TFrmMain::ShowRemark(cases::MRecordBase& store, const TRecordData& record) {
  std::optional<std::string> path = OwnRemarkPath(store, record);
  if (!path) {
    // The case gets a free name of its own, stored with its next save.
    // Without one (a library that cannot be asked) a save says why it cannot write the remark.
    const std::optional<cases::RemarkName> fresh = store.UniqueRemarkName(record);
    path = fresh ? fresh->fullPath : std::string();
    if (fresh) {
      record_.remarkFile = fresh->baseName;
      savedRecord_.remarkFile = fresh->baseName;
    }
  }
  currentRemarkPath_ = *path;
  remarkEditor_->clear();
  QTextCharFormat defaults;
  defaults.setForeground(Qt::black);
  const bool loaded = base::FileExists(*path) && LoadTextFile(*remarkEditor_, *path, defaults);
  if (!loaded) remarkEditor_->setPlainText(ToQString(record.remarkText));
}

void TFrmMain::DeleteSelectedCase() {
  if (caseTree_->RefuseWhileLoading()) return;
  const int id = caseTree_->SelectedCaseId();
  if (!caseStore_ || id < 0) {
    Tell(this, tr("请先选择一个案例！"));
    return;
  }
  const QString name = caseTree_->SelectedNodeText().section(QLatin1Char(' '), 0, 0);
  if (!AskYesNo(this, tr("确定要删除“%1”这个卦例吗？").arg(name), tr("注意"), Icon::Warning, Answer::No)) {
    return;
  }
  const bool isOpen = caseOpen_ && id == currentCaseId_;
  std::string remarkPath;
  if (isOpen) {
    if (!AskYesNo(this, tr("确定要删除当前正在查看的卦例吗？"), tr(kHint), Icon::Warning)) return;
    remarkPath = currentRemarkPath_;
  } else if (TRecordData record; caseStore_->Read(id, record)) {
    remarkPath = OwnRemarkPath(*caseStore_, record).value_or(std::string());
  }
  // The case leaves the store first: a removal that fails keeps its remark and its node.
  if (!caseStore_->RemoveWithRemark(id, remarkPath)) {
    Tell(this, ToQString(caseStore_->lastError()));
    return;
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

void TFrmMain::KeepOpenCaseCategory(cases::MRecordBase& store) {
  if (!caseOpen_) return;
  TRecordData stored;
  if (store.Read(currentCaseId_, stored)) {
    // A renamed or merged category reaches the open case, or its next save would undo it.
    record_.className = stored.className;
    savedRecord_.className = stored.className;
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
}

}  // namespace quorin::ui

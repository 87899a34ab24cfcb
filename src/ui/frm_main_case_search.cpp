// SPDX-License-Identifier: GPL-3.0-or-later
// The case searches of the tree's popup: "模糊查找", "条件查找" and the category
// editor, and the result flow that shows the found cases in the tree.
#include <QDialog>
#include <QCheckBox>
#include <unordered_set>

#include "cases/case_search.h"
#include "cases/case_store.h"
#include "ui/case_tree_panel.h"
#include "ui/frm_edit_class.h"
#include "ui/frm_main.h"
#include "ui/frm_same_name.h"
#include "ui/frm_search.h"
#include "ui/program_files.h"
#include "ui/prompter.h"

namespace quorin::ui {

void TFrmMain::FuzzySearch() {
  if (caseTree_->RefuseWhileLoading() || !caseStore_) return;
  const std::optional<QString> answer = Prompts().Input(
      this, tr("模糊查找"),
      tr("请输入要查找的关键字（姓名、地址、类别、年-月-日-时、评语）：") + QString(12, QLatin1Char(' ')), QString());
  if (!answer) return;
  const std::vector<std::string> keywords = cases::SplitKeywords(ToUtf8(*answer));
  if (keywords.empty()) return;
  const std::optional<std::vector<int>> found = caseStore_->FuzzySearch(keywords);
  if (!found) {
    Tell(this, ToQString(caseStore_->lastError()));
    return;
  }
  if (found->empty()) {
    Tell(this, tr("没有符合的案例！"));
    return;
  }
  ShowSearchResults(*found);
}

void TFrmMain::ConditionalSearch() {
  if (caseTree_->RefuseWhileLoading() || !caseStore_) return;
  TFrmSearch dialog(*caseStore_, *searchCriteria_, this);
  if (dialog.exec() == QDialog::Accepted && !dialog.Results().empty()) ShowSearchResults(dialog.Results());
}

void TFrmMain::ShowSearchResults(const std::vector<int>& ids) {
  if (!caseStore_ || caseTree_->Loading()) return;
  std::vector<int> listed;
  QStringList lines;
  if (caseStore_->BeginReading()) {
    for (int id : ids) {
      TRecordData record;
      if (!caseStore_->ReadCase(id, record)) continue;
      listed.push_back(id);
      lines << ToQString(cases::SearchResultLine(record));
    }
    caseStore_->EndReading();
  }
  TFrmSameName dialog(lines, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const int line = dialog.SelectedLine();
  if (line < 0 || line >= static_cast<int>(listed.size())) return;
  const int picked = listed[static_cast<std::size_t>(line)];

  std::vector<int> shown;
  if (!dialog.ClearTreeFirst()) shown = caseTree_->CaseIds();
  std::unordered_set<int> present(shown.begin(), shown.end());
  const std::vector<int> added = dialog.ShowAllInTree() ? listed : std::vector<int>{picked};
  for (int id : added) {
    if (present.insert(id).second) shown.push_back(id);
  }
  caseTree_->ShowCases(std::move(shown), [this, picked] {
    if (caseTree_->SelectCase(picked)) OpenSelectedCase();
  });
}

void TFrmMain::EditCategories() {
  if (caseTree_->RefuseWhileLoading() || !caseStore_ || RefuseReadOnly()) return;
  TFrmEditClass editor(*caseStore_, this);
  editor.exec();
  if (!editor.Changed()) return;
  KeepOpenCaseCategory(*caseStore_);
  caseTree_->Refresh();
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_edit_class.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "base/gbk.h"
#include "cases/case_text.h"
#include "cases/case_store.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {

namespace {

constexpr int kNameRole = Qt::UserRole;
// A line shows the name in a column of this many GBK bytes (six Chinese characters), then the
// number of its cases, so the numbers of the usual names line up.
constexpr int kNameColumnBytes = 12;
// Shared by several commands of the dialog, translated where they are shown.
constexpr const char* kNewCategory = QT_TRANSLATE_NOOP("quorin::ui::TFrmEditClass", "新类别");
constexpr const char* kNewNamePrompt = QT_TRANSLATE_NOOP("quorin::ui::TFrmEditClass", "请输入新的类别名称：        ");
constexpr const char* kExists =
    QT_TRANSLATE_NOOP("quorin::ui::TFrmEditClass", "：这个类别已经存在，请另外起一个名称！");

QString Q(const std::string& utf8) { return ToQString(utf8); }

void Merge(std::vector<int>& into, const std::vector<int>& ids) {
  into.insert(into.end(), ids.begin(), ids.end());
  std::sort(into.begin(), into.end());
}

std::vector<int> Without(const std::vector<int>& ids, const std::vector<int>& removed) {
  std::vector<int> kept;
  for (int id : ids) {
    if (std::find(removed.begin(), removed.end(), id) == removed.end()) kept.push_back(id);
  }
  return kept;
}

}  // namespace

TFrmEditClass::TFrmEditClass(cases::CaseStore& store, QWidget* parent) : QDialog(parent), store_(store) {
  setObjectName(QStringLiteral("FrmEditClass"));
  setWindowTitle(tr("编辑类别（全部案例）"));
  auto* row = new QHBoxLayout(this);
  categoryList_ = new QListWidget(this);
  categoryList_->setObjectName(QStringLiteral("LstClass"));
  row->addWidget(categoryList_, 1);

  buttonColumn_ = new QWidget(this);
  buttonColumn_->setObjectName(QStringLiteral("Panel1"));
  auto* column = new QVBoxLayout(buttonColumn_);
  column->setContentsMargins(0, 0, 0, 0);
  const auto button = [&](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, buttonColumn_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    column->addWidget(b);
    return b;
  };
  upButton_ = button("Button1", tr("▲"));
  upButton_->setToolTip(tr("上移"));
  downButton_ = button("Button2", tr("▼"));
  downButton_->setToolTip(tr("下移"));
  addButton_ = button("Button3", tr("增加"));
  deleteButton_ = button("BtoDelete", tr("删除"));
  renameButton_ = button("BtoRename", tr("改名"));
  moveButton_ = button("BtoMove", tr("移动"));
  column->addStretch(1);
  backButton_ = button("Button6", tr("返回"));
  row->addWidget(buttonColumn_);
  resize(360, 360);

  connect(upButton_, &QPushButton::clicked, this, &TFrmEditClass::MoveUp);
  connect(downButton_, &QPushButton::clicked, this, &TFrmEditClass::MoveDown);
  connect(addButton_, &QPushButton::clicked, this, &TFrmEditClass::AddCategory);
  connect(deleteButton_, &QPushButton::clicked, this, &TFrmEditClass::DeleteCategory);
  connect(renameButton_, &QPushButton::clicked, this, &TFrmEditClass::RenameCategory);
  connect(moveButton_, &QPushButton::clicked, this, &TFrmEditClass::MoveCategoryCases);
  connect(backButton_, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmEditClass::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    LoadCategories();
  }
  QDialog::showEvent(event);
}

void TFrmEditClass::LoadCategories() {
  ApplyProgramUiFont(this);
  changed_ = false;
  entries_.clear();
  categoryList_->clear();

  std::vector<std::string> listed;
  bool read = store_.GetClassNames(listed) && store_.BeginReading();
  if (read) {
    // The shared library's other users add cases beyond the counter this window last read.
    const int last = store_.IsShared() ? INT_MAX : store_.GetPrimaryId();
    read = store_.ReadCaseRange(1, last, [&](TRecordData& record) {
      entries_[record.className].push_back(record.id);
      return true;
    });
    store_.EndReading();
  }
  for (const std::string& name : listed) entries_[name];

  for (const std::string& name : listed) {
    if (RowOf(name) < 0) AddLine(name);
  }
  // Categories that cases use but the list lacks follow, in name order.
  std::vector<std::string> unlisted;
  for (const auto& [name, ids] : entries_) {
    if (RowOf(name) < 0) unlisted.push_back(name);
  }
  std::sort(unlisted.begin(), unlisted.end(), [](const std::string& a, const std::string& b) {
    return base::Utf8ToGbkLossy(a) < base::Utf8ToGbkLossy(b);
  });
  for (const std::string& name : unlisted) {
    AddLine(name);
    changed_ = true;
  }

  std::size_t total = 0;
  for (const auto& [name, ids] : entries_) total += ids.size();
  setWindowTitle(tr("编辑类别（全部案例，共%1个）").arg(total));
  if (!read) {
    // A list read only in part must not replace the stored one: only 返回 stays.
    ShowStoreError();
    SetButtonsEnabled(false);
    backButton_->setEnabled(true);
    changed_ = false;
  }
}

std::vector<std::string> TFrmEditClass::Names() const {
  std::vector<std::string> names;
  for (int row = 0; row < categoryList_->count(); ++row) names.push_back(NameOfRow(row));
  return names;
}

void TFrmEditClass::AddLine(const std::string& name) {
  auto* item = new QListWidgetItem(categoryList_);
  item->setSizeHint(QSize(0, qRound(1.5 * categoryList_->fontMetrics().height())));
  ShowLine(categoryList_->row(item), name);
}

void TFrmEditClass::ShowLine(int row, const std::string& name) {
  QListWidgetItem* item = categoryList_->item(row);
  const auto it = entries_.find(name);
  const std::size_t count = it == entries_.end() ? 0 : it->second.size();
  item->setText(Q(base::PadToGbkBytes(name, kNameColumnBytes)) + tr("  %1 案例").arg(count));
  item->setData(kNameRole, Q(name));
}

int TFrmEditClass::RowOf(const std::string& name) const {
  for (int row = 0; row < categoryList_->count(); ++row) {
    if (NameOfRow(row) == name) return row;
  }
  return -1;
}

int TFrmEditClass::SelectedRow() const {
  // The list makes its first line current on focus without selecting it: only a line the
  // user chose counts.
  const int row = categoryList_->currentRow();
  return row >= 0 && categoryList_->item(row)->isSelected() ? row : -1;
}

std::string TFrmEditClass::NameOfRow(int row) const {
  return ToUtf8(categoryList_->item(row)->data(kNameRole).toString());
}

void TFrmEditClass::ShowStoreError() { Tell(this, Q(store_.lastError()), tr("错误"), Icon::Error); }

void TFrmEditClass::SetButtonsEnabled(bool enabled) {
  for (QPushButton* b : {upButton_, downButton_, addButton_, deleteButton_, renameButton_, moveButton_, backButton_})
    b->setEnabled(enabled);
}

std::optional<std::string> TFrmEditClass::AskName(const QString& caption, const QString& prompt,
                                                  const QString& initial) {
  const std::optional<QString> typed = Prompts().Input(this, caption, prompt, initial);
  if (!typed) return std::nullopt;
  bool changed = false;
  std::string name = cases::CleanCaseName(ToUtf8(*typed), &changed);
  if (changed) {
    Tell(this, tr("类别名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。，已经处理为合适的文本！"));
  }
  return name;
}

void TFrmEditClass::SwapWithNeighbour(int step) {
  const int row = SelectedRow();
  if (row < 0) {
    Tell(this, tr("请先点击选择一个类别！"));
    return;
  }
  const int other = row + step;
  if (other < 0 || other >= categoryList_->count()) {
    Tell(this, tr("移动超出列表范围！"));
    return;
  }
  QListWidgetItem* item = categoryList_->takeItem(row);
  categoryList_->insertItem(other, item);
  categoryList_->setCurrentRow(other);
  changed_ = true;
}

void TFrmEditClass::MoveUp() { SwapWithNeighbour(-1); }
void TFrmEditClass::MoveDown() { SwapWithNeighbour(+1); }

void TFrmEditClass::AddCategory() {
  const std::optional<std::string> name = AskName(tr(kNewCategory), tr(kNewNamePrompt), QString());
  if (!name) return;
  if (entries_.count(*name)) {
    Tell(this, Q(*name) + tr(kExists));
    return;
  }
  entries_[*name];
  AddLine(*name);
  changed_ = true;
  Tell(this, tr("新增完成！"));
}

void TFrmEditClass::DeleteCategory() {
  const int row = SelectedRow();
  if (row < 0) {
    Tell(this, tr("没有选择的类别可以删除！"));
    return;
  }
  const std::string name = NameOfRow(row);
  if (!AskYesNo(this, tr("确定要删除“%1”这个类别吗？").arg(Q(name)), tr("注意"), Icon::Warning, Answer::No)) {
    return;
  }
  SetButtonsEnabled(false);
  const std::vector<int> ids = entries_[name];
  const std::vector<int> failed = store_.RemoveCases(ids);
  SetButtonsEnabled(true);
  if (failed.empty()) {
    entries_.erase(name);
    delete categoryList_->takeItem(row);
    changed_ = true;
    Tell(this, tr("删除完成！"));
    setWindowTitle(tr("编辑类别（全部案例）"));
  } else {
    entries_[name] = failed;
    if (failed.size() != ids.size()) changed_ = true;
    ShowLine(row, name);
    Tell(this, Q(name) + tr("：这个类别的案例没有删除完！"));
  }
}

std::vector<int> TFrmEditClass::Recategorise(const std::vector<int>& ids, const std::string& target) {
  const auto moved = store_.MoveCasesToCategory(ids, target);
  if (!moved) return ids;  // nothing was changed
  return Without(ids, *moved);  // cases gone meanwhile stay where the list had them
}

void TFrmEditClass::RenameCategory() {
  const int row = SelectedRow();
  if (row < 0) {
    Tell(this, tr("没有选择的类别可以修改！"));
    return;
  }
  const std::string oldName = NameOfRow(row);
  if (!AskYesNo(this, tr("确定要修改“%1”这个类别吗？").arg(Q(oldName)), tr("注意"), Icon::Warning, Answer::No)) {
    return;
  }
  const std::optional<std::string> newName = AskName(tr(kNewCategory), tr(kNewNamePrompt), Q(oldName));
  if (!newName) return;
  if (*newName == oldName) {
    Tell(this, tr("类别名称没有改变，请输入新的名称！"));
    return;
  }
  if (entries_.count(*newName)) {
    Tell(this, Q(*newName) + tr(kExists));
    return;
  }
  renameButton_->setEnabled(false);
  std::vector<int> ids = entries_[oldName];
  std::vector<int> failed;
  if (store_.IsShared()) {
    // The shared library renames the category whole, other users' new cases in it too.
    const std::optional<std::vector<int>> renamed = store_.RenameCategory(oldName, *newName);
    if (!renamed) {
      renameButton_->setEnabled(true);
      ShowStoreError();  // nothing was renamed
      return;
    }
    ids = *renamed;
  } else {
    failed = Recategorise(ids, *newName);
  }
  renameButton_->setEnabled(true);
  if (failed.empty()) {
    entries_.erase(oldName);
    entries_[*newName] = ids;
    ShowLine(row, *newName);
    changed_ = true;
    Tell(this, tr("改名完成！"));
    return;
  }
  // The cases that were renamed show under the new name; the others stay.
  if (failed.size() != ids.size()) {
    entries_[*newName] = Without(ids, failed);
    entries_[oldName] = failed;
    AddLine(*newName);
    ShowLine(row, oldName);
    changed_ = true;
  }
  Tell(this, Q(oldName) + tr("：这个类别的案例没有修改完！"));
}

void TFrmEditClass::MoveCategoryCases() {
  const int row = SelectedRow();
  if (row < 0) {
    Tell(this, tr("没有选择的类别可以移动！"));
    return;
  }
  const std::string source = NameOfRow(row);
  if (entries_[source].empty()) {
    Tell(this, tr("这个类别没有案例可以移动！"));
    return;
  }
  if (!AskYesNo(this, tr("确定要移动“%1”这个类别吗？").arg(Q(source)), tr("注意"), Icon::Warning, Answer::No)) {
    return;
  }
  const std::optional<std::string> target =
      AskName(tr("目的类别"), tr("请输入要移动到目的类别名称：        "), QString());
  if (!target) return;
  if (*target == source) {
    Tell(this, tr("同组类别不能移动，请输入已经存在的其他类别名称！"));
    return;
  }
  const int targetRow = RowOf(*target);
  if (targetRow < 0) {
    Tell(this, tr("请输入已经存在的类别名称，如果不存在可以先新建一个。"));
    return;
  }
  const std::vector<int> ids = entries_[source];
  const std::vector<int> failed = Recategorise(ids, *target);
  Merge(entries_[*target], Without(ids, failed));
  entries_[source] = failed;
  ShowLine(row, source);
  ShowLine(targetRow, *target);
  if (failed.size() != ids.size()) changed_ = true;
  if (failed.empty()) {
    Tell(this, tr("移动完成！"));
  } else {
    Tell(this, Q(source) + tr("：这个类别的案例没有移动完！"));
  }
}

void TFrmEditClass::done(int result) {
  // The order and the names of the list become the store's category list.
  if (changed_ && !store_.SetClassNames(Names())) ShowStoreError();
  QDialog::done(result);
}

}  // namespace quorin::ui

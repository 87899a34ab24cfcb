// SPDX-License-Identifier: GPL-3.0-or-later
// The category editor "编辑类别": lists the categories with their numbers of cases
// and reorders, adds, deletes, renames and merges them. Deleting, renaming and
// merging change the stored cases at once; the order and the new names become the
// store's category list when the dialog closes.
#pragma once

#include <QDialog>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quorin::cases {
class CaseStore;
}

namespace quorin::ui {

class TFrmEditClass : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmEditClass(cases::CaseStore& store, QWidget* parent = nullptr);

  // True once anything changed; the caller then rebuilds its case tree.
  bool Changed() const { return changed_; }
  // The category names in list order.
  std::vector<std::string> Names() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void LoadCategories();
  void MoveUp();
  void MoveDown();
  void AddCategory();
  void DeleteCategory();
  void RenameCategory();
  // Moves the cases of the chosen category into another one.
  void MoveCategoryCases();
  void SwapWithNeighbour(int step);
  void AddLine(const std::string& name);
  void ShowLine(int row, const std::string& name);
  int RowOf(const std::string& name) const;
  std::string NameOfRow(int row) const;
  // The row the user selected, or -1.
  int SelectedRow() const;
  // Shows the store's message for a failed write.
  void ShowStoreError();
  // Asks for a name and cleans it; nothing when the user cancels.
  std::optional<std::string> AskName(const QString& caption, const QString& prompt, const QString& initial);
  // Gives every case of `ids` the category `target` in one transaction; the ids that failed
  // (all of them when the store failed, else those that no longer have a row).
  std::vector<int> Recategorise(const std::vector<int>& ids, const std::string& target);
  void SetButtonsEnabled(bool enabled);

  QListWidget* categoryList_;
  QWidget* buttonColumn_;
  QPushButton* upButton_;    // ▲
  QPushButton* downButton_;  // ▼
  QPushButton* addButton_;   // 增加
  QPushButton* deleteButton_;
  QPushButton* renameButton_;
  QPushButton* moveButton_;
  QPushButton* backButton_;  // 返回
  cases::CaseStore& store_;
  std::map<std::string, std::vector<int>> entries_;  // category → ids of its cases, by id
  bool changed_ = false;
  bool shown_ = false;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// Lists found cases and lets the user pick one to open ("同名案例").
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace quorin::ui {

class TFrmSameName : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmSameName(const QStringList& lines, QWidget* parent = nullptr);

  // The selected line after OK (-1 when none).
  int SelectedLine() const;
  // 全部显示到列表: every case found goes into the tree, not only the chosen one.
  bool ShowAllInTree() const;
  // 清空现有列表: the tree shows only what this dialog adds.
  bool ClearTreeFirst() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // 查看案例: only with a line chosen.
  void AcceptSelected();

  QListWidget* caseList_;
  QPushButton* openButton_;  // 查看案例
  QPushButton* backButton_;  // 返回
  QCheckBox* showAllBox_;    // 全部显示到列表
  QCheckBox* clearListBox_;  // 清空现有列表
  bool shown_ = false;
};

}  // namespace quorin::ui

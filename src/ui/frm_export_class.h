// SPDX-License-Identifier: GPL-3.0-or-later
// "选择导出类别：": picks the categories an export writes.
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace quorin::ui {

class TFrmExportClass : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmExportClass(const QStringList& categories, QWidget* parent = nullptr);

  QStringList CheckedCategories() const;
  bool AllChecked() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CheckAll(bool checked);
  // Every category takes the tick of "全部".
  void FollowAllBox();
  // "确定导出": only with a category chosen.
  void AcceptIfAnyChosen();

  QListWidget* categoryList_;
  QCheckBox* allBox_;
  QPushButton* exportButton_;  // 确定导出
  QPushButton* backButton_;    // 返回

  bool shown_ = false;
};

}  // namespace quorin::ui

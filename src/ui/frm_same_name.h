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

  QListWidget* LstRecord;
  QPushButton* BtnSee;   // 查看案例
  QPushButton* BitBtn2;  // 返回
  QCheckBox* ChkShow;    // 全部显示到列表
  QCheckBox* ChkClear;   // 清空现有列表

  // The selected line after OK (-1 when none).
  int SelectedLine() const;

 public slots:
  void BtnSeeClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool shown_ = false;
};

}  // namespace quorin::ui

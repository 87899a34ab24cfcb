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

  QListWidget* LstClass;
  QCheckBox* ChkAll;
  QPushButton* BitBtn1;  // 确定导出
  QPushButton* BitBtn2;  // 返回

  QStringList CheckedCategories() const;
  bool AllChecked() const;

 public slots:
  void ChkAllClick();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CheckAll(bool checked);

  bool shown_ = false;
};

}  // namespace quorin::ui

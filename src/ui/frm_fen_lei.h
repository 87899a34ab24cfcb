// SPDX-License-Identifier: GPL-3.0-or-later
// "分类保存": picks the category a new case is saved into.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorin::ui {

class TFrmFenLei : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFenLei(const QStringList& categories, QWidget* parent = nullptr);

  QLabel* Label1;
  QComboBox* CboFenLei;
  QPushButton* Btnok;
  QPushButton* Btnno;

  // The category as typed, after OK.
  const QString& Result() const { return result_; }

 public slots:
  void BtnokClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString result_;
  bool shown_ = false;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// "分类保存": picks the category a new case is saved into.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace quorin::ui {

class TFrmFenLei : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFenLei(const QStringList& categories, QWidget* parent = nullptr);

  // The category as typed, after OK.
  const QString& Result() const { return result_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // OK: only a category that exists.
  void AcceptKnownCategory();

  QComboBox* categoryBox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QString result_;
  bool shown_ = false;
};

}  // namespace quorin::ui

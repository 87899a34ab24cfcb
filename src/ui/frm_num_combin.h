// SPDX-License-Identifier: GPL-3.0-or-later
// The digit dialog (卦气组合 / 卦运组合): edits one digit group of the search
// request, up to six digits 1..9 and the 数字相连 flag, in place.
#pragma once

#include <QDialog>
#include <array>

#include "chart/search_request.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quorin::ui {

class TFrmNumCombin : public QDialog {
  Q_OBJECT

 public:
  // `group` must outlive the dialog; only 确定 changes it.
  TFrmNumCombin(const QString& caption, chart::DigitGroup& group, QWidget* parent = nullptr);

  // The most characters the digit text may have before one more digit is refused:
  // six digits with their blanks are eleven.
  static constexpr int kLongestTextBeforeDigit = 10;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The digits 1 … 9, one button each.
  static constexpr int kDigitCount = 9;

  void LayOutDigitButtons();
  // Lays out the digit buttons and shows the group (runs when the dialog is shown).
  void ShowGroup();
  void AppendDigit(int digit);
  // 确定: the typed digits become the group.
  void AcceptDigits();

  QGroupBox* digitBox_;
  std::array<QPushButton*, kDigitCount> digitButtons_;  // Button1 … Button9
  QLineEdit* digitsEdit_;
  QToolButton* clearButton_;  // "X"
  QCheckBox* adjacentBox_;
  QPushButton* okButton_;      // 确定
  QPushButton* cancelButton_;  // 取消

  chart::DigitGroup& group_;
};

}  // namespace quorin::ui

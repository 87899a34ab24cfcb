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

  QGroupBox* BoxBto;
  std::array<QPushButton*, 9> DigitButtons;  // Button1 … Button9
  QLineEdit* EdtNum;
  QToolButton* SpeedButton1;  // "X"
  QCheckBox* ChkOrder;
  QPushButton* BitBtn1;  // 确定
  QPushButton* BitBtn2;  // 取消

  // The most characters the digit text may have before one more digit is refused:
  // six digits with their blanks are eleven.
  static constexpr int kLongestTextBeforeDigit = 10;

 public slots:
  // Lays out the digit buttons and shows the group (runs when the dialog is shown).
  void FormShow();
  void DigitClick(int digit);
  void SpeedButton1Click();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LayOutDigitButtons();

  chart::DigitGroup& group_;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The chart settings dialog: edits dat/set.ini.
#pragma once

#include <QDialog>
#include <memory>

#include "base/ini_file.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorin::ui {

class RadioGroup;

class TFrmSet : public QDialog {
  Q_OBJECT

 public:
  // Reads set.ini of the program folder and shows its values. `screenWidth` (0 = the
  // screen's) picks the recommended UI font change.
  explicit TFrmSet(QWidget* parent = nullptr, int screenWidth = 0);

  QComboBox* CboDate;
  RadioGroup* RdoJiaZi;
  QLineEdit* LedtLeftPos;
  RadioGroup* RdoShanShow;
  QCheckBox* ChkRiGua;
  QCheckBox* ChkMenuSize;
  QComboBox* CboUiSize;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;

 public slots:
  void BitBtn1Click();  // "确定": check, write, close

 private:
  void FillUiSizes(int screenWidth);
  bool WriteSettings(int leftPos);

  std::unique_ptr<base::IniFile> ini_;
};

}  // namespace quorin::ui

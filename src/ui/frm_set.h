// SPDX-License-Identifier: GPL-3.0-or-later
// The chart settings dialog: edits dat/set.ini.
#pragma once

#include <QDialog>
#include <memory>

#include "base/ini_file.h"
#include "base/script_text.h"

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

  // The script chosen in the list (文字), written to set.ini when the dialog was accepted.
  base::Script ChosenScript() const;

 private:
  void FillUiSizes(int screenWidth);
  bool WriteSettings(int leftPos);
  // The script, unless it is the default and the file never named one (the file stays as it was).
  bool WriteScript();
  // "确定": check, write, close.
  void WriteAndClose();

  QComboBox* timeBasisBox_;           // 使用时间
  RadioGroup* jiaziGuaGroup_;         // 四干支配卦
  QLineEdit* indentEdit_;             // 文本左边距离
  RadioGroup* mountainDisplayGroup_;  // 坐山卦显示
  QCheckBox* dayGuaBox_;              // 节气分配4日卦
  QCheckBox* menuFontBox_;            // 同时更改菜单字体
  QComboBox* fontChangeBox_;          // 界面字体
  QComboBox* scriptBox_;              // 文字
  QPushButton* okButton_;
  QPushButton* cancelButton_;

  std::unique_ptr<base::IniFile> ini_;
};

}  // namespace quorin::ui

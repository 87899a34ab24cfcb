// SPDX-License-Identifier: GPL-3.0-or-later
// The place coordinates editor: changes the values of dat/dili.ini.
#pragma once

#include <QDialog>
#include <memory>

#include "base/ini_file.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorin::ui {

class TFrmDiLi : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmDiLi(QWidget* parent = nullptr);

  QComboBox* CboSheng;
  QComboBox* CboShi;
  QLineEdit* LedtJingDu;
  QLineEdit* LedtJingFen;
  QLineEdit* LedtWeiDu;
  QLineEdit* LedtWeiFen;
  QPushButton* BtoEdit;

 public slots:
  void CboShengChange();
  void CboShiChange();
  void BtoEditClick();  // "修改"

 private:
  std::unique_ptr<base::IniFile> ini_;
};

}  // namespace quorin::ui

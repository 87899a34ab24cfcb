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

 private:
  void ShowCitiesOfProvince();
  void ShowCoordinatesOfCity();
  void WriteCoordinates();  // "修改"

  QComboBox* provinceBox_;
  QComboBox* cityBox_;
  QLineEdit* longitudeDegreesEdit_;
  QLineEdit* longitudeMinutesEdit_;
  QLineEdit* latitudeDegreesEdit_;
  QLineEdit* latitudeMinutesEdit_;
  QPushButton* changeButton_;
  std::unique_ptr<base::IniFile> ini_;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The dragon, water and facing dialog (选择龙、水、向卦): edits the dragon and water
// positions (a mountain and one of its hexagrams each) and the facing flag of a
// chart record in place.
#pragma once

#include <QDialog>

#include "chart/record_data.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace quorin::ui {

class TFrmMoreInput : public QDialog {
  Q_OBJECT

 public:
  // `record` must outlive the dialog; only an accepted dialog changes it.
  explicit TFrmMoreInput(TRecordData& record, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Position {
    QCheckBox* check;
    QPushButton* degrees;
    QComboBox* mountain;
    QComboBox* gua;
  };
  Position Dragon() const { return {dragonBox_, dragonDegreesButton_, dragonMountainBox_, dragonGuaBox_}; }
  Position Water() const { return {waterBox_, waterDegreesButton_, waterMountainBox_, waterGuaBox_}; }
  static void FillGuaList(const Position& p);
  static void EnablePosition(const Position& p);
  void ShowPosition(const Position& p, int mountain, int gua);
  void AskDegrees(const Position& p);
  // Shows the record's fields (runs when the dialog is shown).
  void ShowRecord();
  // 选定: checked first, written after.
  void AcceptChoice();

  QCheckBox* dragonBox_;
  QPushButton* dragonDegreesButton_;
  QComboBox* dragonMountainBox_;
  QComboBox* dragonGuaBox_;
  QCheckBox* waterBox_;
  QPushButton* waterDegreesButton_;
  QComboBox* waterMountainBox_;
  QComboBox* waterGuaBox_;
  QCheckBox* facingBox_;
  QPushButton* okButton_;      // 选定
  QPushButton* cancelButton_;  // 取消
  TRecordData& record_;
};

}  // namespace quorin::ui

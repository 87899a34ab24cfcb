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

  QCheckBox* ChkLong;
  QPushButton* BtoLong;
  QComboBox* CboLongShan;
  QComboBox* CboLongGua;
  QCheckBox* ChkShui;
  QPushButton* BtoShui;
  QComboBox* CboShuiShan;
  QComboBox* CboShuiGua;
  QCheckBox* ChkXiang;
  QPushButton* BitBtn1;  // 选定
  QPushButton* BitBtn2;  // 取消

 public slots:
  // Shows the record's fields (runs when the dialog is shown).
  void FormShow();
  void CboLongShanChange();
  void CboShuiShanChange();
  void ChkLongClick();
  void ChkShuiClick();
  void BtoLongClick();
  void BtoShuiClick();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Position {
    QCheckBox* check;
    QPushButton* degrees;
    QComboBox* mountain;
    QComboBox* gua;
  };
  Position Dragon() const { return {ChkLong, BtoLong, CboLongShan, CboLongGua}; }
  Position Water() const { return {ChkShui, BtoShui, CboShuiShan, CboShuiGua}; }
  static void FillGuaList(const Position& p);
  static void EnablePosition(const Position& p);
  void ShowPosition(const Position& p, int mountain, int gua);
  void AskDegrees(const Position& p);

  TRecordData& record_;
};

}  // namespace quorin::ui

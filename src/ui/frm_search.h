// SPDX-License-Identifier: GPL-3.0-or-later
// "查找案例": the conditional case search. Shows the last conditions again, collects
// the new ones into the window's criteria and searches every stored case.
#pragma once

#include <QDialog>
#include <vector>

#include "cases/case_search.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quorin::cases {
class MRecordBase;
}

namespace quorin::ui {

class RadioGroup;

class TFrmSearch : public QDialog {
  Q_OBJECT

 public:
  // `criteria` is the window's record of the last conditions; the dialog shows it and
  // collects into it. Both must outlive the dialog.
  TFrmSearch(cases::MRecordBase& store, cases::CaseSearchCriteria& criteria, QWidget* parent = nullptr);

  QLineEdit* EdtName;
  QCheckBox* ChkName;
  QComboBox* CboClass;
  QCheckBox* ChkClass;
  QLineEdit* LedtY1;
  QLineEdit* LedtY2;
  RadioGroup* RdoSex;
  QComboBox* CboProv;
  QLineEdit* EdtComment;
  QLineEdit* EdtEvent;
  QPushButton* BtoAll;     // 清空
  QPushButton* BtnSearch;  // 查找
  QPushButton* BtoCancel;  // 关闭
  QProgressBar* Animate1;  // busy while searching

  // The ids found by the last search that closed the dialog, in increasing order.
  const std::vector<int>& Results() const { return results_; }

 public slots:
  void BtoAllClick();
  void BtnSearchClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  // Fills the criteria from the inputs; false (after the message) when the years are wrong.
  bool CollectInputs();
  void SetSearching(bool searching);

  cases::MRecordBase& store_;
  cases::CaseSearchCriteria& criteria_;
  std::vector<int> results_;
  bool shown_ = false;
};

}  // namespace quorin::ui

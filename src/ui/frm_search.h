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
class CaseStore;
}

namespace quorin::ui {

class RadioGroup;

// Its controls keep the original names as objectNames (EdtName, ChkName, CboClass, ChkClass,
// LedtY1, LedtY2, RdoSex, CboProv, EdtComment, EdtEvent, BtoAll, BtnSearch, BtoCancel, Animate1).
class TFrmSearch : public QDialog {
  Q_OBJECT

 public:
  // `criteria` is the window's record of the last conditions; the dialog shows it and
  // collects into it. Both must outlive the dialog.
  TFrmSearch(cases::CaseStore& store, cases::CaseSearchCriteria& criteria, QWidget* parent = nullptr);

  // The ids found by the last search that closed the dialog, in increasing order.
  const std::vector<int>& Results() const { return results_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  // 清空: empties every condition after asking.
  void ClearConditions();
  // 查找: collects the conditions and searches; closes the dialog when something is found.
  void SearchCases();

 private:
  void ShowLastConditions();
  // Fills the criteria from the inputs; false (after the message) when the years are wrong.
  bool CollectConditions();
  void SetSearching(bool searching);

  cases::CaseStore& store_;
  cases::CaseSearchCriteria& criteria_;
  std::vector<int> results_;
  bool shown_ = false;

  QLineEdit* nameEdit_;
  QCheckBox* nameWholeCheck_;  // 全字匹配: the name equals the text
  QComboBox* categoryCombo_;
  QCheckBox* categoryWholeCheck_;
  QLineEdit* fromYearEdit_;
  QLineEdit* toYearEdit_;
  RadioGroup* sexGroup_;
  QComboBox* provinceCombo_;
  QLineEdit* remarkEdit_;
  QLineEdit* eventEdit_;
  QPushButton* clearButton_;
  QPushButton* searchButton_;
  QPushButton* closeButton_;
  QProgressBar* busyBar_;  // shown while searching
};

}  // namespace quorin::ui

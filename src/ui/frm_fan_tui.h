// SPDX-License-Identifier: GPL-3.0-or-later
// "四柱排盘": the reverse pillar search dialog. The user picks the year pillar, the month
// branch, the day pillar and the hour branch; each "反推" appends the first moment from the
// start year on that carries them; "大卦盘" hands the last one to the main window's chart.
#pragma once

#include <QDialog>
#include <optional>

#include "calendar/calendar_types.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quorin::ui {

class UpDown;

// What the main window charts after "大卦盘".
struct FanTuiResult {
  calendar::CivilDateTime moment;  // Gregorian, astronomical year, minute 0
  bool male = true;
  calendar::FourPillars pillars;   // the pillars searched, to remember for the next use
};

class TFrmFanTui : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmFanTui(QWidget* parent = nullptr);

  // The menu command: the dialog prepared with the remembered pillars and the main window's
  // sex, shown modally; the found moment when the user accepts it with "大卦盘".
  static std::optional<FanTuiResult> Run(QWidget* owner, const calendar::FourPillars& remembered, bool male);

  // Selects `pillars` in the lists (all 0 before the first search: 癸 and 亥).
  void Prepare(const calendar::FourPillars& pillars, bool male);
  // The moment and pillars of the last successful search, and the sex chosen.
  FanTuiResult Result() const;

 private:
  void FillLists();
  void FindMoment();        // 反推
  void ChartFoundMoment();  // 大卦盘
  void ShowStartYearOfArrows();

  QFrame* pillarPanel_;
  QComboBox* yearStemBox_;
  QComboBox* yearBranchBox_;
  QComboBox* monthBranchBox_;
  QComboBox* dayStemBox_;
  QComboBox* dayBranchBox_;
  QComboBox* hourBranchBox_;
  QRadioButton* maleButton_;
  QRadioButton* femaleButton_;
  QPlainTextEdit* foundText_;
  QLabel* startYearLabel_;
  QLineEdit* startYearEdit_;
  UpDown* startYearArrows_;
  QPushButton* findButton_;
  QPushButton* chartButton_;

  calendar::CivilDateTime found_;
  calendar::FourPillars foundPillars_;
  bool male_ = true;
};

}  // namespace quorin::ui

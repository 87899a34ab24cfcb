// SPDX-License-Identifier: GPL-3.0-or-later
// The perpetual calendar (万年历): a month page with lunar dates and solar terms, and the
// era, zodiac animal and four pillars of a selected moment. Modeless and on top; one
// window at a time, which ends when it is closed.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <optional>
#include <vector>

#include "calendar/calendar_types.h"
#include "calendar/yi_date_ex.h"
#include "ui/chart_inputs.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace quorin::ui {

class UpDown;

// A picture that reports where the mouse went down on it.
class ClickableImage : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void MouseDown(Qt::MouseButton button, QPoint position);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

class TFrmWnl : public QWidget {
  Q_OBJECT

 public:
  explicit TFrmWnl(QWidget* parent = nullptr);
  ~TFrmWnl() override;

  // The menu command: creates the window when there is none, opens it at `historical`
  // (year in historical numbering, no year 0) and shows it without blocking `owner`.
  static TFrmWnl* ShowInstance(QWidget* owner, const calendar::CivilDateTime& historical);
  // The window now open, or nullptr once it has been closed.
  static TFrmWnl* Instance();

  // Shows the month of `historical` (year in historical numbering) with its day, hour and minute.
  void Open(const calendar::CivilDateTime& historical);

  // The moment the controls select (astronomical year); the page is drawn from it.
  calendar::CivilDateTime SelectedMoment() const;
  // The month page as last drawn.
  const QImage& Picture() const { return picture_; }
  // Column of the first day and number of days of the month drawn last.
  int FirstColumnShown() const { return firstColumn_; }
  int MonthLengthShown() const { return monthLength_; }

 private:
  void ShowYearOfArrows();
  void ShowNow();
  void RedrawTypedYear();  // Enter in the year box
  void SelectClickedDay(Qt::MouseButton button, QPoint position);
  void FillLists();
  void SetYear(int historical);
  // One month back (-1) or on (+1) from the first day; nothing past the calendar's ends.
  void StepMonth(int step);
  void EnsureTermsOf(int year);
  void Redraw();
  void DrawPage(const calendar::CivilDateTime& selected, int length);
  void ShowPillars(const calendar::CivilDateTime& selected);
  int BaseFontSize() const;

  // Calendar work of every calendar window goes through one date object for the program's life.
  static calendar::MYiDateEx& Date();

  QPlainTextEdit* titleText_;
  QLabel* monthLabel_;
  QToolButton* previousMonthButton_;  // 上一月
  QToolButton* nextMonthButton_;      // 下一月
  QToolButton* nowButton_;
  QLineEdit* yearEdit_;
  UpDown* yearArrows_;
  MomentLists momentLists_;  // month, day, hour, minute
  ClickableImage* monthPage_;
  QPlainTextEdit* termsText_;
  QPlainTextEdit* pillarsText_;
  std::vector<calendar::SolarTermRecord> yearTerms_;
  std::optional<int> termsYear_;  // astronomical year of yearTerms_, once loaded
  QImage picture_;
  int drawnYear_ = 0;
  int drawnMonth_ = 0;
  int firstColumn_ = 0;
  int monthLength_ = 0;
};

}  // namespace quorin::ui

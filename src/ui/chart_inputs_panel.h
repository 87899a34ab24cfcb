// SPDX-License-Identifier: GPL-3.0-or-later
// The chart inputs at the right of the main window: person, mountain and gua, the moment,
// the place, and the 存新/排盘 strip below them. It reads itself into a chart record and
// shows a record or a moment; what the buttons start belongs to the window.
#pragma once

#include <QWidget>
#include <vector>

#include "base/places.h"
#include "calendar/calendar_types.h"
#include "chart/record_data.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quorin::ui {

class UpDown;

class ChartInputsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ChartInputsPanel(QWidget* parent = nullptr);

  QWidget* Panel2;         // the inputs, scrolling when the window is too low for them
  QWidget* Panel2Buttons;  // 存新 and 排盘, below the scrolling inputs
  QPushButton* BtoNew;
  QLineEdit* EdtName;
  QLineEdit* LedtZhuYear;
  QRadioButton* Rdona;
  QRadioButton* Rdonv;
  QComboBox* CboShan;
  QToolButton* SpeedButton7;
  QComboBox* CboGua;
  QPushButton* Button1;
  QToolButton* SpeedButton1;
  QLineEdit* EdtYear;
  UpDown* UpDyear;
  QComboBox* cbom;
  QComboBox* cbod;
  QComboBox* cbos;
  QComboBox* cbomin;
  QRadioButton* Rdogl;
  QRadioButton* Rdonl;
  QCheckBox* Chkrun;
  QComboBox* cbodiZ;
  QToolButton* SpeedButton2;
  QComboBox* cbodiC;
  QPushButton* SbtoSave;
  QPushButton* BtnPai;

  // The month, day, hour, minute, mountain and province lists; the window fills them on
  // its first show.
  void FillFixedLists();

  // Reads the inputs into `record` (person, mountain and gua, moment, place). A year the
  // calendar refuses is told and nothing is read; a name that needed cleaning is told and
  // shown cleaned.
  bool ReadInto(TRecordData& record);
  // Shows a stored record: moment, calendar, place, person, mountain and gua.
  void ShowRecord(const TRecordData& record);
  // The place kept from the last run; an index out of the lists selects none.
  void RestorePlace(int province, int city);

  void SelectMountainAndGua(int mountain, int guaPosition);
  void SetYearInputs(int astronomicalYear);
  // A Gregorian moment, not in a leap month.
  void SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute);
  // The moment inputs as they stand (year box and arrows, lists, calendar, leap month), to be
  // put back when a step of the moment is refused.
  struct MomentInputs {
    QString yearText;
    int yearPosition = 0;
    int month = 0, day = 0, hour = 0, minute = 0;  // list rows
    bool lunar = false;
    bool leapMonth = false;
  };
  MomentInputs CurrentMomentInputs() const;
  void RestoreMomentInputs(const MomentInputs& inputs);
  // The clock's moment, its year at most `yearCap`.
  void SetDateInputsToNow(int yearCap);
  // The moment shown: the year as the arrows hold it (astronomical), month to minute from the lists.
  calendar::CivilDateTime ShownMoment() const;
  void SetMasterYearText(const QString& year);
  bool Male() const;
  void SetMale(bool male);
  int Province() const;
  int City() const;
  // The coordinates of the cities listed for the chosen province.
  const std::vector<base::Coordinates>& CityCoordinates() const { return cityCoordinates_; }
  // "存旧" in blue while a stored case is open, else "存新".
  void SetSaveButtonOpen(bool open);

 signals:
  void ChartRequested();              // 排盘
  void SaveRequested();               // 存新 / 存旧
  void NewRequested();                // 新建
  void DragonWaterFacingRequested();  // 龙-水-向

 public slots:
  void CboShanChange();
  void cbodiZClick();
  void SpeedButton1Click();  // the moment now
  void SpeedButton2Click();  // a city by name
  void SpeedButton7Click();  // mountain and gua from compass degrees
  void UpDyearClick();

 protected:
  // Keeps skins that style plain widgets working on this one.
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildInputs();

  std::vector<base::Coordinates> cityCoordinates_;
};

}  // namespace quorin::ui

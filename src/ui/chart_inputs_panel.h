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
#include "ui/chart_inputs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quorin::ui {

class PersonsEditor;

class UpDown;

class ChartInputsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ChartInputsPanel(QWidget* parent = nullptr);

  // The month, day, hour, minute, mountain and province lists; the window fills them on
  // its first show.
  void FillFixedLists();

  // Reads the inputs into `record` (person, mountain and gua, moment, place). A year the
  // calendar refuses is told and nothing is read; a name that needed cleaning is told and
  // shown cleaned.
  bool ReadInto(TRecordData& record);
  // Shows a stored record: moment, calendar, place, person, mountain and gua.
  void ShowRecord(const TRecordData& record);
  // The place kept from the last run; an index out of the lists selects none. An own or world
  // place is found by its name and zone.
  void RestorePlace(int province, int city, const std::string& name, const std::string& zone);

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
  // The clock's year is capped where the original program capped it: at start at 2200, by
  // 现在时间 at 3000, both well before the calendar's last year (kLastCalendarYear).
  static constexpr int kStartYearCap = 2200;
  static constexpr int kNowYearCap = 3000;
  // The clock's moment, its year at most `yearCap`.
  void SetDateInputsToNow(int yearCap);
  // The moment shown: the year as the arrows hold it (astronomical), month to minute from the lists.
  calendar::CivilDateTime ShownMoment() const;
  void SetMasterYearText(const QString& year);
  void SetOtherPersons(const std::vector<OtherPerson>& persons);
  bool Male() const;
  void SetMale(bool male);
  // The chosen place as a case keeps it: an own or world place is the place not given (未知地)
  // with its name (PlaceName, empty for the places of China) and zone (Zone, empty for Beijing time).
  int Province() const;
  int City() const;
  std::string PlaceName() const;
  std::string Zone() const;
  // The coordinates of the cities listed for the chosen province.
  const std::vector<base::Coordinates>& CityCoordinates() const { return cityCoordinates_; }
  // "存旧" in blue while a stored case is open, else "存新".
  void SetSaveButtonOpen(bool open);

 signals:
  void ChartRequested();              // 排盘
  void SaveRequested();               // 存新 / 存旧
  void NewRequested();                // 新建
  void DragonWaterFacingRequested();  // 龙-水-向

 protected:
  // Keeps skins that style plain widgets working on this one.
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildInputs();
  void RefillGuaList();
  // The cities of the chosen province and their coordinates, from dat/dili.ini; an own place or a
  // country's cities with their zones.
  void ShowCitiesOfProvince();
  void ShowZoneOfCity();
  // The place part of a record: province, city, coordinates, name, zone.
  void ReadPlaceInto(TRecordData& record) const;
  void ShowPlace(int province, int city, const std::string& name, const std::string& zone);
  void SelectListedPlace(int provinceItem, int city);
  int PlaceKindAt(int provinceItem) const;
  // "纽约时间".
  static QString ZoneItemText(const std::string& zone);
  void SetMomentToNow();
  void FindCityByName();
  // Mountain and gua from compass degrees.
  void ChooseMountainByDegrees();
  // The year box follows the arrows.
  void ShowYearOfArrows();

  QWidget* inputsColumn_;  // the inputs, scrolling when the window is too low for them
  QWidget* buttonStrip_;   // 存新 and 排盘, below the scrolling inputs
  QPushButton* newButton_;
  QLineEdit* nameEdit_;
  PersonsEditor* personsEditor_ = nullptr;
  QLineEdit* masterYearEdit_;
  QRadioButton* maleButton_;
  QRadioButton* femaleButton_;
  QComboBox* mountainBox_;
  QToolButton* degreesButton_;
  QComboBox* guaBox_;
  QPushButton* dragonWaterFacingButton_;
  QToolButton* nowButton_;
  QLineEdit* yearEdit_;
  UpDown* yearArrows_;
  MomentLists momentLists_;  // month, day, hour, minute
  QRadioButton* gregorianButton_;
  QRadioButton* lunarButton_;
  QCheckBox* leapMonthBox_;
  QComboBox* provinceBox_;
  QToolButton* findCityButton_;
  QComboBox* cityBox_;
  QPushButton* saveButton_;
  QPushButton* chartButton_;
  QComboBox* zoneBox_;
  std::vector<base::Coordinates> cityCoordinates_;
  std::vector<std::string> cityZones_;  // of the cities listed; empty: Beijing time
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own places (name, longitude, latitude, time zone): added, changed and removed here,
// kept in dat/places.txt of the user's data folder, offered under 自定地点 in the place lists.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "base/zoned_places.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorin::ui {

// The file of the user's own places.
std::string OwnPlacesPath();
// The zones a place can be given, as the zone list shows them: "美国 纽约（America/New_York）".
struct ZoneChoice {
  QString text;
  std::string zone;  // empty: Beijing time
};
std::vector<ZoneChoice> ZoneChoices();

class OwnPlacesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit OwnPlacesDialog(QWidget* parent = nullptr);

 private:
  void ShowPlaces();
  void ShowChosenPlace();
  // The place the form describes; nullopt after telling what is wrong with it.
  std::optional<base::ZonedPlace> FormPlace();
  void AddPlace();
  void ChangePlace();
  void RemovePlace();
  // Writes the places; told and false when the file cannot be written (the list is reread).
  bool Keep(std::vector<base::ZonedPlace> places);

  std::vector<base::ZonedPlace> places_;
  QListWidget* list_;
  QLineEdit* nameEdit_;
  QDoubleSpinBox* longitudeBox_;
  QDoubleSpinBox* latitudeBox_;
  QComboBox* zoneBox_;
  QPushButton* addButton_;
  QPushButton* changeButton_;
  QPushButton* removeButton_;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The persons after 主命 whom a moment also concerns (配偶, 长子): a compact list with 添加, 修改
// and 删除, under 主命 in the chart inputs and on the search page.
#pragma once

#include <QDialog>
#include <QWidget>
#include <vector>

#include "chart/record_data.h"

class QLineEdit;
class QListWidget;
class QRadioButton;
class QToolButton;

namespace quorin::ui {

// "配偶　女　1982": a person as the list shows it (the year as users write it).
QString PersonLineText(const OtherPerson& person);

// Asks for one person: name or role, 男/女, birth year. Refuses to close on an empty name or a year
// the calendar does not have, saying why.
class PersonDialog : public QDialog {
  Q_OBJECT

 public:
  PersonDialog(const OtherPerson& person, QWidget* parent);
  const OtherPerson& Person() const { return person_; }
  void accept() override;

 private:
  QLineEdit* nameEdit_ = nullptr;
  QLineEdit* yearEdit_ = nullptr;
  QRadioButton* maleButton_ = nullptr;
  QRadioButton* femaleButton_ = nullptr;
  OtherPerson person_;
};

class PersonsEditor : public QWidget {
  Q_OBJECT

 public:
  // `suffix` tells the controls of two editors apart ("" in the chart inputs, "S" on the search page).
  PersonsEditor(const QString& suffix, QWidget* parent);
  const std::vector<OtherPerson>& Persons() const { return persons_; }
  void SetPersons(const std::vector<OtherPerson>& persons);

 signals:
  void Changed();

 private:
  void Add();
  void EditSelected();
  void RemoveSelected();
  void Show();

  QListWidget* list_ = nullptr;
  QToolButton* addButton_ = nullptr;
  QToolButton* editButton_ = nullptr;
  QToolButton* removeButton_ = nullptr;
  std::vector<OtherPerson> persons_;
};

}  // namespace quorin::ui

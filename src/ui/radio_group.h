// SPDX-License-Identifier: GPL-3.0-or-later
// A titled group of radio buttons with an item index, -1 when none is selected.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace quorin::ui {

class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

  int ItemIndex() const;
  // An index outside the items clears the selection.
  void SetItemIndex(int index);
  int ItemCount() const;
  QRadioButton* Item(int index) const;

 private:
  QButtonGroup* group_;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorin::ui {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    layout->addWidget(button);
  }
}

int RadioGroup::ItemIndex() const { return group_->checkedId(); }
int RadioGroup::ItemCount() const { return static_cast<int>(group_->buttons().size()); }
QRadioButton* RadioGroup::Item(int index) const { return qobject_cast<QRadioButton*>(group_->button(index)); }

void RadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = group_->button(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; lift that for the moment.
  group_->setExclusive(false);
  for (QAbstractButton* b : group_->buttons()) b->setChecked(false);
  group_->setExclusive(true);
}

}  // namespace quorin::ui

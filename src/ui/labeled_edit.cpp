// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/labeled_edit.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorin::ui {

LabeledEdit MakeLabeledEdit(const QString& name, const QString& caption, QWidget* parent, int maxLength) {
  LabeledEdit result;
  result.box = new QWidget(parent);
  auto* layout = new QVBoxLayout(result.box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  result.label = new QLabel(caption, result.box);
  result.edit = new QLineEdit(result.box);
  result.edit->setObjectName(name);
  result.label->setBuddy(result.edit);
  if (maxLength > 0) result.edit->setMaxLength(maxLength);
  layout->addWidget(result.label);
  layout->addWidget(result.edit);
  return result;
}

QToolButton* MakeToolButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  return button;
}

}  // namespace quorin::ui

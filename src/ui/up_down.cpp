// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorin::ui {

UpDown::UpDown(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), position_(std::clamp(0, minimum, maximum)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const auto arrow = [&](Qt::ArrowType type, int delta) {
    auto* button = new QToolButton(this);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFixedSize(16, 11);
    connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
    layout->addWidget(button);
  };
  arrow(Qt::UpArrow, +1);
  arrow(Qt::DownArrow, -1);
}

void UpDown::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void UpDown::Step(int delta) {
  SetPosition(position_ + delta);
  emit Clicked();
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// Small named controls the windows build alike. An edit with its label above it, as one
// widget; the edit carries the control's name.
#pragma once

#include <QLineEdit>

class QLabel;
class QToolButton;

namespace quorin::ui {

struct LabeledEdit {
  QWidget* box = nullptr;  // the label and the edit, to place in a layout
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
};

LabeledEdit MakeLabeledEdit(const QString& name, const QString& caption, QWidget* parent, int maxLength = 0);

// A tool button carrying the control's name.
QToolButton* MakeToolButton(const QString& name, const QString& caption, QWidget* parent);

}  // namespace quorin::ui

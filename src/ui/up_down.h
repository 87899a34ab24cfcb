// SPDX-License-Identifier: GPL-3.0-or-later
// A pair of arrow buttons holding a position in a range, without wrapping.
#pragma once

#include <QWidget>

class QToolButton;

namespace quorin::ui {

class UpDown : public QWidget {
  Q_OBJECT

 public:
  UpDown(int minimum, int maximum, QWidget* parent = nullptr);

  int Position() const { return position_; }
  void SetPosition(int position);  // clamped to the range
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // One step as the arrows take it (+1 up, -1 down), then Clicked.
  void Step(int delta);

 signals:
  void Clicked();

 private:
  int minimum_;
  int maximum_;
  int position_ = 0;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>

namespace quorin::ui {

void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    window->move(screen->availableGeometry().center() - window->rect().center());
  }
}

void FixSizeAndCentre(QWidget* window) {
  window->adjustSize();
  window->setFixedSize(window->sizeHint());
  CentreOnScreen(window);
}

void BringToFront(QWidget* window) {
  if (window->isMinimized()) {
    window->showNormal();
  } else {
    window->show();
  }
  window->raise();
  window->activateWindow();
}

}  // namespace quorin::ui

#include "ui/bring_to_front.h"

#include <QWidget>

namespace quorin::ui {

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

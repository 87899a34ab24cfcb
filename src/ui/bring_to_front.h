// The windows that live on between uses (the calendar, the I Ching text) come back
// the same way when the menu asks for them again.
#pragma once

class QWidget;

namespace quorin::ui {

// Shows the window, restored from the task bar when minimized, raised and focused.
void BringToFront(QWidget* window);

}  // namespace quorin::ui

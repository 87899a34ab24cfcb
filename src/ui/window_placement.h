// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's windows appear: dialogs centred on their screen at the size
// their layout asks for, and the windows that live on between uses brought back.
#pragma once

class QWidget;

namespace quorin::ui {

// Moves the window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

// Fixes the window at the size its layout asks for and centres it on the screen.
void FixSizeAndCentre(QWidget* window);

// Shows the window, restored from the task bar when minimized, raised and focused
// (the calendar and the I Ching text, which live on between uses).
void BringToFront(QWidget* window);

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// What the program sets up before its first window, shared by the program and the window
// tests so that both show the same fonts and texts.
#pragma once

#include <QString>

#include "base/script_text.h"

namespace quorin::ui {

// The size of the program's 宋体: 14 pixels at 96 dpi, the size every window is designed for.
inline constexpr double kProgramFontPoints = 10.5;

// The application's name, the 宋体 substitutions and default font, and Qt's own texts in
// Chinese (the buttons of message boxes, the file and print dialogs). Call once, after the
// QApplication exists and before any window is made.
void PrepareProgramApplication();

// Loads Qt's Chinese texts from Qt's translation folder and installs them; false when the
// translation is not installed (Qt's texts then stay English).
bool InstallQtChineseTexts();

// Shows the program in a script from now on: the engine's texts (base::SetShownScript), the
// windows' texts (our translations, shipped in translations/) and Qt's own. Windows made
// afterwards are in that script; those already open keep their captions until the program
// starts again. False when a translation file is missing: those texts stay simplified.
bool UseScript(base::Script script);
// The compiled translation of the windows' texts for a traditional script.
QString WindowTranslationFile(base::Script script);

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// Paths of the program's data files.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace quorin::ui {

// The user's data files (base::ProgramFolder: the program folder, or the user's data folder
// of an installed program) and the shipped read-only ones (base::ShippedFolder).
std::string DataFolder();    // <data>/dat/
std::string InitIniPath();   // window layout and text preferences
std::string SetIniPath();    // chart settings and UI font size change
std::string DiliIniPath();   // place coordinates
std::string HelpDocumentFile();  // <shipped>/dat/Quorin.html
QStringList SkinFolders();       // the shipped skins/, then the user's own


QString ToQString(const std::string& utf8);
std::string ToUtf8(const QString& text);
QStringList ToQStrings(const std::vector<std::string>& utf8);

}  // namespace quorin::ui

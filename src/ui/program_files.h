// Paths of the program folder's data files.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace quorin::ui {

std::string DataFolder();    // <program>/dat/
std::string InitIniPath();   // window layout and text preferences
std::string SetIniPath();    // chart settings and UI font size change
std::string DiliIniPath();   // place coordinates
std::string SkinsFolder();   // <program>/skins/

QString ToQString(const std::string& utf8);
std::string ToUtf8(const QString& text);
QStringList ToQStrings(const std::vector<std::string>& utf8);

}  // namespace quorin::ui

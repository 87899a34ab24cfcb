// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_files.h"

#include "base/data_location.h"
#include "base/files.h"

namespace quorin::ui {

std::string DataFolder() { return base::ProgramFolder() + "dat/"; }
std::string InitIniPath() { return DataFolder() + "init.ini"; }
std::string SetIniPath() { return DataFolder() + "set.ini"; }
std::string DiliIniPath() { return DataFolder() + "dili.ini"; }
std::string HelpDocumentFile() { return base::ShippedFolder() + "dat/Quorin.html"; }

QStringList SkinFolders() {
  QStringList folders;
  for (const std::string& folder : base::SkinFolders()) folders << ToQString(folder);
  return folders;
}

QString ToQString(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string ToUtf8(const QString& text) { return text.toStdString(); }

QStringList ToQStrings(const std::vector<std::string>& utf8) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(utf8.size()));
  for (const std::string& text : utf8) list << ToQString(text);
  return list;
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/skin_files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace quorin::ui {

namespace {
const QString kSkinSuffix = QStringLiteral(".skn");
}

QStringList SkinCaptions(const QStringList& skinFolders) {
  QStringList captions;
  for (const QString& folder : skinFolders) {
    for (const QString& file : QDir(folder).entryList({QLatin1Char('*') + kSkinSuffix}, QDir::Files)) {
      captions << file.section(QLatin1Char('.'), 0, 0);
    }
  }
  std::sort(captions.begin(), captions.end());
  captions.removeDuplicates();
  return captions;
}

QString SkinFilePath(const QStringList& skinFolders, const QString& caption) {
  for (auto folder = skinFolders.crbegin(); folder != skinFolders.crend(); ++folder) {
    const QString path = QDir(*folder).filePath(caption + kSkinSuffix);
    if (QFileInfo(path).isFile()) return path;
  }
  return skinFolders.isEmpty() ? caption + kSkinSuffix : QDir(skinFolders.front()).filePath(caption + kSkinSuffix);
}

}  // namespace quorin::ui

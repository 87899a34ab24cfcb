#include "ui/skin_files.h"

#include <QDir>

namespace quorin::ui {

QStringList SkinCaptions(const QString& skinsFolder) {
  QStringList captions;
  const QDir folder(skinsFolder);
  for (const QString& file : folder.entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name)) {
    captions << file.section(QLatin1Char('.'), 0, 0);
  }
  return captions;
}

}  // namespace quorin::ui

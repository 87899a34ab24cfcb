// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdraw/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace quorin::qtdraw {

QString SongFontFamily() {
  static const QStringList candidates = {
      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Serif CJK"), QStringLiteral("Source Han Serif SC"),
      QStringLiteral("AR PL UMing CN"),    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
  };
  const QStringList families = QFontDatabase::families();
  for (const QString& name : candidates) {
    if (families.contains(name, Qt::CaseInsensitive)) return name;
  }
  return QFont().defaultFamily();
}

QFont SongFont(double pointSize, bool bold) {
  QFont font(kSongFont);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

void InstallFontSubstitutions() {
  const QString family = SongFontFamily();
  for (const QString& name : {kSongFont, QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("新宋体")}) {
    QFont::insertSubstitution(name, family);
  }
}

}  // namespace quorin::qtdraw

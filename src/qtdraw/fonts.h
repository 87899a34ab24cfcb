// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts named by the program's Windows heritage, mapped to installed ones.
#pragma once

#include <QFont>
#include <QString>

namespace quorin::qtdraw {

// The Song-style font the program's texts ask for ("宋体").
inline const QString kSongFont = QStringLiteral("宋体");

// Maps "宋体" (and its Latin name) to an installed Song-style CJK font, so
// every widget and chart text that names it renders Chinese. Call after QGuiApplication exists.
void InstallFontSubstitutions();

// "宋体" at `pointSize`, bold when asked.
QFont SongFont(double pointSize, bool bold = false);

// The installed family that stands in for "宋体".
QString SongFontFamily();

}  // namespace quorin::qtdraw

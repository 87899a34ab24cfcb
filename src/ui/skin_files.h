// SPDX-License-Identifier: GPL-3.0-or-later
// The window skins of the skins folders, as the skin menu lists them.
#pragma once

#include <QString>
#include <QStringList>

namespace quorin::ui {

// The item for no skin; translated where it is shown, and found by its object name.
inline constexpr const char* kSystemDefaultSkin = QT_TRANSLATE_NOOP("Quorin", "系统默认");

// One caption per *.skn file of the folders, the file name up to its first ".", in name
// order; a name found in several folders is listed once.
QStringList SkinCaptions(const QStringList& skinFolders);
// The file of the skin `caption`: in the last folder that holds it (the user's own copy wins
// over the shipped one), else where the first folder would hold it.
QString SkinFilePath(const QStringList& skinFolders, const QString& caption);

}  // namespace quorin::ui

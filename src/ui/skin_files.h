// The window skins of the skins folder, as the skin menu lists them.
#pragma once

#include <QString>
#include <QStringList>

namespace quorin::ui {

inline constexpr const char* kSystemDefaultSkin = "系统默认";

// One caption per skins/*.skn file, the file name up to its first ".", in name order.
QStringList SkinCaptions(const QString& skinsFolder);

}  // namespace quorin::ui

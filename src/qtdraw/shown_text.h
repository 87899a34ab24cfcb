// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's UTF-8 texts as Qt strings in the shown script: where they are painted or laid out.
#pragma once

#include <QString>
#include <string_view>

#include "base/script_text.h"

namespace quorin::qtdraw {

inline QString ShownQString(std::string_view utf8) {
  if (base::ShownScript() == base::Script::kSimplified)
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return QString::fromStdString(base::ShownText(utf8));
}

}  // namespace quorin::qtdraw

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_numbers.h"

#include "base/text_parse.h"
#include "ui/program_files.h"

namespace quorin::ui {

std::optional<int> TypedInteger(const QString& text) { return base::ParseTypedInt(ToUtf8(text)); }

int LeadingItemNumber(const QString& itemText) {
  const qsizetype bracket = itemText.indexOf(QLatin1Char('('));
  return TypedInteger(bracket >= 0 ? itemText.left(bracket) : itemText).value_or(0);
}

}  // namespace quorin::ui

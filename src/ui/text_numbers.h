// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers typed by the user, read the way the program has always read them.
#pragma once

#include <QString>

#include <optional>

namespace quorin::ui {

// base::ParseTypedInt of the typed text.
std::optional<int> TypedInteger(const QString& text);

// The number of a list item such as "+3(推荐)": the integer before any "(", 0 if none.
int LeadingItemNumber(const QString& itemText);

}  // namespace quorin::ui

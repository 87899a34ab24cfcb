// Numbers typed by the user, read the way the program has always read them.
#pragma once

#include <QString>

namespace quorin::ui {

// base::IntegerOrDefault of the typed text.
int IntegerOrDefault(const QString& text, int fallback);

// The number of a list item such as "+3(推荐)": the integer before any "(", 0 if none.
int LeadingItemNumber(const QString& itemText);

}  // namespace quorin::ui

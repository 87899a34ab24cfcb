// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the search page as a user does: the days typed, 查找 clicked, the end awaited.
#pragma once

class QListWidget;
class QTableWidget;

namespace quorin::ui {
class SearchPage;
}

namespace quorin::testing {

// Searches the days from one to another (years as users write them) with the page's
// conditions as they stand; false when the search did not end in time.
bool SearchDays(ui::SearchPage* page, int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay);
// One day: its twelve double hours, 00 to 22, are the list's lines when nothing is ticked.
inline bool SearchOneDay(ui::SearchPage* page, int year, int month, int day) {
  return SearchDays(page, year, month, day, year, month, day);
}
// The page's result list.
QListWidget* ResultList(ui::SearchPage* page);
// The table of the comparison window 对比所选日课 opened and left shown; null when none is.
QTableWidget* ShownComparisonTable();

}  // namespace quorin::testing

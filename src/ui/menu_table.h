// SPDX-License-Identifier: GPL-3.0-or-later
// Menus built from tables: one row per item, separator or submenu, so a new command is one
// line in its menu's table. The object names are the original component names, which skins
// and tests find the items by.
#pragma once

#include <QKeySequence>
#include <functional>
#include <vector>

class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;

namespace quorin::ui {

struct MenuRow {
  enum class Kind { kItem, kSeparator, kSubmenu };
  Kind kind = Kind::kItem;
  const char* name = "";
  const char* caption = "";       // UTF-8, marked with QT_TRANSLATE_NOOP("Menu", ...)
  std::function<void()> handler;  // none for an item that only shows a text
  QKeySequence shortcut;
  QActionGroup* group = nullptr;  // a checkable item of this group
  int value = 0;                  // what a checkable item stands for, kept as its data
  std::vector<MenuRow> rows;      // the rows of a submenu; none for one filled later
};

MenuRow Item(const char* name, const char* caption, std::function<void()> handler = {}, QKeySequence shortcut = {});
MenuRow CheckItem(QActionGroup* group, const char* name, const char* caption, int value);
MenuRow Separator();
MenuRow Submenu(const char* name, const char* caption, std::vector<MenuRow> rows = {});

// Adds the rows to `menu` in order. The handlers run in `context`'s thread and stop with it;
// a submenu carries its name on the menu and on the item that opens it.
void AddMenuRows(QMenu& menu, const std::vector<MenuRow>& rows, QObject& context);
// The same for the submenus of a menu bar.
void AddMenuRows(QMenuBar& bar, const std::vector<MenuRow>& rows, QObject& context);

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu_table.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace quorin::ui {

namespace {

// The one place a row's caption becomes a text on the screen.
QString Caption(const MenuRow& row) { return QCoreApplication::translate("Menu", row.caption); }

void NameSubmenu(QMenu& submenu, const MenuRow& row, QObject& context) {
  submenu.setObjectName(QString::fromLatin1(row.name));
  submenu.menuAction()->setObjectName(QString::fromLatin1(row.name));
  AddMenuRows(submenu, row.rows, context);
}

}  // namespace

MenuRow Item(const char* name, const char* caption, std::function<void()> handler, QKeySequence shortcut) {
  MenuRow row;
  row.name = name;
  row.caption = caption;
  row.handler = std::move(handler);
  row.shortcut = std::move(shortcut);
  return row;
}

MenuRow CheckItem(QActionGroup* group, const char* name, const char* caption, int value) {
  MenuRow row = Item(name, caption);
  row.group = group;
  row.value = value;
  return row;
}

MenuRow Separator() {
  MenuRow row;
  row.kind = MenuRow::Kind::kSeparator;
  return row;
}

MenuRow Submenu(const char* name, const char* caption, std::vector<MenuRow> rows) {
  MenuRow row = Item(name, caption);
  row.kind = MenuRow::Kind::kSubmenu;
  row.rows = std::move(rows);
  return row;
}

void AddMenuRows(QMenu& menu, const std::vector<MenuRow>& rows, QObject& context) {
  for (const MenuRow& row : rows) {
    switch (row.kind) {
      case MenuRow::Kind::kSeparator:
        menu.addSeparator();
        break;
      case MenuRow::Kind::kSubmenu:
        NameSubmenu(*menu.addMenu(Caption(row)), row, context);
        break;
      case MenuRow::Kind::kItem: {
        QAction* action = menu.addAction(Caption(row));
        action->setObjectName(QString::fromLatin1(row.name));
        if (!row.shortcut.isEmpty()) action->setShortcut(row.shortcut);
        if (row.group) {
          action->setCheckable(true);
          action->setData(row.value);
          row.group->addAction(action);
        }
        if (row.handler) QObject::connect(action, &QAction::triggered, &context, row.handler);
        break;
      }
    }
  }
}

void AddMenuRows(QMenuBar& bar, const std::vector<MenuRow>& rows, QObject& context) {
  for (const MenuRow& row : rows) NameSubmenu(*bar.addMenu(Caption(row)), row, context);
}

}  // namespace quorin::ui

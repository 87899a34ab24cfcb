// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/search_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "support/named_control.h"
#include "ui/comparison_window.h"
#include "ui/search_page.h"

namespace quorin::testing {

namespace {

// A search of a hundred years ends within this.
constexpr int kSearchTimeoutMs = 60000;

void TypeDay(ui::SearchPage* page, const char* prefix, int year, int month, int day) {
  Named<QLineEdit>(page, QStringLiteral("Ledt%1Year").arg(QLatin1String(prefix)))->setText(QString::number(year));
  Named<QComboBox>(page, QStringLiteral("Cbo%1Month").arg(QLatin1String(prefix)))->setCurrentIndex(month - 1);
  Named<QComboBox>(page, QStringLiteral("Cbo%1Day").arg(QLatin1String(prefix)))->setCurrentIndex(day - 1);
}

}  // namespace

bool SearchDays(ui::SearchPage* page, int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay) {
  Named<QRadioButton>(page, QStringLiteral("RbtRange"))->click();
  TypeDay(page, "From", fromYear, fromMonth, fromDay);
  TypeDay(page, "To", toYear, toMonth, toDay);
  QSignalSpy ended(page, &ui::SearchPage::SearchEnded);
  Named<QPushButton>(page, QStringLiteral("BtnSearch"))->click();
  return ended.count() > 0 || ended.wait(kSearchTimeoutMs);
}

QListWidget* ResultList(ui::SearchPage* page) { return Named<QListWidget>(page, QStringLiteral("ListSearch")); }

QTableWidget* ShownComparisonTable() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* shown = qobject_cast<ui::ComparisonWindow*>(window); shown && shown->isVisible()) {
      return Named<QTableWidget>(shown, QStringLiteral("GridCompare"));
    }
  }
  return nullptr;
}

}  // namespace quorin::testing

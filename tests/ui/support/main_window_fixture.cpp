// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/main_window_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "support/named_control.h"
#include "ui/search_page.h"
#include "ui/up_down.h"

namespace quorin::testing {

void DoubleClickLine(QAbstractItemView* view, const QModelIndex& index) {
  view->scrollTo(index);
  const QRect line = view->visualRect(index);
  QVERIFY(!line.isEmpty());
  const QPoint at(std::min(line.center().x(), view->viewport()->width() / 2), line.center().y());
  // A double-click follows a press on the same line.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void ChooseLine(QComboBox* box, int index) {
  QVERIFY(index >= 0 && index < box->count());
  // The key moves the choice by one line onto `index`.
  const bool fromAbove = index > 0;
  box->setCurrentIndex(fromAbove ? index - 1 : 1);
  box->setFocus();
  QTest::keyClick(box, fromAbove ? Qt::Key_Down : Qt::Key_Up);
  QCOMPARE(box->currentIndex(), index);
}

MainWindowFixture::MainWindowFixture(bool show, bool withPlaces) : folder(withPlaces) {
  window = std::make_unique<ui::TFrmMain>();
  if (show) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
}

MainWindowFixture::~MainWindowFixture() {
  if (window && window->isVisible()) {
    prompter.answers.enqueue(ui::Answer::Yes);
    window->close();
  }
}

void MainWindowFixture::Close() {
  prompter.answers.enqueue(ui::Answer::Yes);
  window->close();
}

void MainWindowFixture::SetMoment(int year, int month, int day, int hour, int minute) {
  ChartInput<QLineEdit>(window.get(), "EdtYear")->setText(QString::number(year));
  ChartInput<QComboBox>(window.get(), "cbom")->setCurrentIndex(month - 1);
  ChartInput<QComboBox>(window.get(), "cbod")->setCurrentIndex(day - 1);
  ChartInput<QComboBox>(window.get(), "cbos")->setCurrentIndex(hour);
  ChartInput<QComboBox>(window.get(), "cbomin")->setCurrentIndex(minute);
  ChartInput<QRadioButton>(window.get(), "Rdogl")->setChecked(true);
}

QString MainWindowFixture::AnalysisText() const { return ChartText()->toPlainText(); }

void MainWindowFixture::Trigger(const char* item) const {
  QAction* action = window->MenuAction(QString::fromLatin1(item));
  if (!action) qFatal("the main window has no menu item %s", item);
  action->trigger();
}

QTextEdit* MainWindowFixture::ChartText() const { return Find<QTextEdit>("RedtOut"); }
QTextEdit* MainWindowFixture::Remarks() const { return Find<QTextEdit>("RedtPingYu"); }
QTabWidget* MainWindowFixture::Pages() const { return Find<QTabWidget>("PageMain"); }
ui::SearchPage* MainWindowFixture::Search() const { return Find<ui::SearchPage>("PageSearch"); }

bool MainWindowFixture::Pai() {
  ChartInput<QPushButton>(window.get(), "BtnPai")->click();
  return window->ChartShown();
}

}  // namespace quorin::testing

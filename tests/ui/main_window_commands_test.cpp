// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the main window that hand over to other windows: the search page's
// results, the dragon-water-facing dialog, the reverse pillar search, the calendar.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/search_page.h"
#include "ui/frm_more_input.h"
#include "ui/frm_wnl.h"
#include "ui/up_down.h"

using quorin::testing::ChartInput;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;

class MainWindowCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void searchResultIsChartedWithTheSearchInputs() {
    MainWindowFixture f;
    ChartInput<QRadioButton>(f.window.get(), "Rdonl")->setChecked(true);
    ChartInput<QCheckBox>(f.window.get(), "Chkrun")->setChecked(true);
    quorin::ui::SearchPage* page = f.Search();
    f.Pages()->setCurrentIndex(2);
    Named<QLineEdit>(page, QStringLiteral("LedtYearS"))->setText(QStringLiteral("1985"));
    quorin::testing::ChooseLine(Named<QComboBox>(page, QStringLiteral("CboShanS")), 7);
    Named<QComboBox>(page, QStringLiteral("CboGuaS"))->setCurrentIndex(2);
    page->Request().dragonMountain = 4;
    page->Request().dragonGua = 1;
    page->Request().showFacing = true;
    QVERIFY(quorin::testing::SearchOneDay(page, 2012, 3, 5));
    QListWidget* list = quorin::testing::ResultList(page);
    quorin::testing::DoubleClickLine(list, list->model()->index(3, 0));  // 06时
    QVERIFY(f.window->ChartShown());
    QCOMPARE(f.Pages()->currentIndex(), 0);
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("2012"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbom")->currentIndex(), 2);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbod")->currentIndex(), 4);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->currentIndex(), 6);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbomin")->currentIndex(), 5);
    QVERIFY(ChartInput<QRadioButton>(f.window.get(), "Rdogl")->isChecked() &&
            !ChartInput<QCheckBox>(f.window.get(), "Chkrun")->isChecked());
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "LedtZhuYear")->text(), QStringLiteral("1985"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->currentIndex(), 7);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboGua")->currentIndex(), 2);
    const quorin::TRecordData& r = f.window->ChartRecord();
    QCOMPARE(int(r.dragonMountain), 4);
    QCOMPARE(int(r.dragonGua), 1);
    QVERIFY(r.showFacing);
    QCOMPARE(int(r.year), 2012);
  }

  void searchResultBeforeOurEraChartsTheYearFound() {
    MainWindowFixture f;
    quorin::ui::SearchPage* page = f.Search();
    QListWidget* list = quorin::testing::ResultList(page);
    f.Pages()->setCurrentIndex(2);
    QVERIFY(quorin::testing::SearchOneDay(page, -120, 6, 1));  // astronomical -119
    quorin::testing::DoubleClickLine(list, list->model()->index(4, 0));
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("-120"));
    QVERIFY(f.window->ChartShown());
    QCOMPARE(int(f.window->ChartRecord().year), -119);
    f.Pages()->setCurrentIndex(2);
    QVERIFY(quorin::testing::SearchOneDay(page, -1, 6, 1));  // astronomical 0
    quorin::testing::DoubleClickLine(list, list->model()->index(4, 0));
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("-1"));
    QVERIFY(f.window->ChartShown());
    QCOMPARE(int(f.window->ChartRecord().year), 0);
  }

  void dragonWaterFacingDialogRechartsWhenAccepted() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<quorin::ui::TFrmMoreInput*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QTest::mouseClick(Named<QCheckBox>(dialog, "ChkLong"), Qt::LeftButton);
      QVERIFY(Named<QCheckBox>(dialog, "ChkLong")->isChecked());
      quorin::testing::ChooseLine(Named<QComboBox>(dialog, "CboLongShan"), 5);
      QTest::mouseClick(Named<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    QTest::mouseClick(ChartInput<QPushButton>(f.window.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(int(f.window->ChartRecord().dragonMountain), 5);
    QVERIFY(f.window->ChartShown());
    QVERIFY(f.AnalysisText().contains(QStringLiteral("龙")));

    // Cancelled: the record keeps its dragon.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    ChartInput<QPushButton>(f.window.get(), "Button1")->click();
    QCOMPARE(int(f.window->ChartRecord().dragonMountain), 5);
  }

  void perpetualCalendarOpensOnceAtTheInputMoment() {
    MainWindowFixture f;
    f.SetMoment(1999, 12, 31, 23, 59);
    ChartInput<quorin::ui::UpDown>(f.window.get(), "UpDyear")->SetPosition(1999);
    f.window->MenuAction(QStringLiteral("Tmnuwnl"))->trigger();
    quorin::ui::TFrmWnl* calendar = quorin::ui::TFrmWnl::Instance();
    QVERIFY(calendar && calendar->isVisible());
    QCOMPARE(int(calendar->SelectedMoment().year), 1999);
    QCOMPARE(int(calendar->SelectedMoment().month), 12);
    f.window->MenuAction(QStringLiteral("Tmnuwnl"))->trigger();
    QCOMPARE(quorin::ui::TFrmWnl::Instance(), calendar);
    calendar->close();
  }

  void cancelledReversePillarSearchChangesNothing() {
    MainWindowFixture f;
    const QString year = ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    f.window->MenuAction(QStringLiteral("N5"))->trigger();
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), year);
    QVERIFY(!f.window->ChartShown());
  }
};

QTEST_MAIN(MainWindowCommandsTest)
#include "main_window_commands_test.moc"

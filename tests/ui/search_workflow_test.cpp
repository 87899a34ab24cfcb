// SPDX-License-Identifier: GPL-3.0-or-later
// The search page inside the main window: its start, a search beside a shown chart,
// charting a found moment, and the place a search takes from the last chart.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <QSignalSpy>

#include "chart/quorin_day.h"
#include "chart/search.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/clock.h"
#include "ui/search_page.h"

using quorin::testing::ChartInput;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;
using quorin::ui::SearchPage;

namespace {

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

QLineEdit* Edit(SearchPage* page, const char* name) { return Named<QLineEdit>(page, QString::fromLatin1(name)); }
QComboBox* Box(SearchPage* page, const char* name) { return Named<QComboBox>(page, QString::fromLatin1(name)); }

// 查找 on the year typed, and the wait for the search's end.
bool SearchYear(SearchPage* page) {
  QSignalSpy ended(page, &SearchPage::SearchEnded);
  Named<QPushButton>(page, QStringLiteral("BtnSearch"))->click();
  return ended.count() > 0 || ended.wait(60000);
}

void Tick(SearchPage* page, const char* list, int row) {
  Named<QListWidget>(page, QString::fromLatin1(list))->item(row)->setCheckState(Qt::Checked);
}

}  // namespace

class SearchWorkflowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }
  void cleanup() { quorin::ui::SetClock({}); }

  void startsOnTheYearCountedFromSpringBegins() {
    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 1, 10), QTime(8, 0)); });
    MainWindowFixture f;
    SearchPage* page = f.Search();
    QCOMPARE(f.Pages()->tabText(2), QStringLiteral("查找吉课"));
    QCOMPARE(Edit(page, "LedtStartYear")->text(), QStringLiteral("2025"));
    QCOMPARE(Edit(page, "LedtYearS")->text(), QStringLiteral("1996"));
    QCOMPARE(Box(page, "CboShanS")->currentText(), QStringLiteral("壬山"));
    QCOMPARE(f.prompter.unexpected, 0);
  }

  // The chart on screen keeps its moment: the hour step goes on from it.
  void searchLeavesTheShownChartAlone() {
    MainWindowFixture f;
    f.SetMoment(2024, 3, 5, 10, 0);
    QVERIFY(f.Pai());
    SearchPage* page = f.Search();
    f.Pages()->setCurrentIndex(2);
    Edit(page, "LedtStartYear")->setText(QStringLiteral("2023"));
    QVERIFY(SearchYear(page));
    QCOMPARE(quorin::testing::ResultList(page)->count(), 4380);
    QVERIFY(f.window->ChartShown());
    QCOMPARE(f.window->Engine().GetMoment().beijingDate.year, std::int16_t(2024));
    f.Find<QToolButton>("SpeedButton4")->click();  // 时++
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("2024"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbod")->currentIndex(), 4);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->currentIndex(), 12);
    QVERIFY(f.AnalysisText().contains(QStringLiteral("公历：2024年3月5日12时0分(北京时间)")));
  }

  // 一卦纯清 with the mountain: the charted moment shows one 卦气 for 山 and the pillars.
  void foundMomentIsChartedAsFound() {
    MainWindowFixture f;
    SearchPage* page = f.Search();
    Edit(page, "LedtStartYear")->setText(QStringLiteral("2023"));
    Edit(page, "LedtYearS")->setText(QStringLiteral("1970"));
    quorin::testing::ChooseLine(Box(page, "CboJiCond"), 1);
    Tick(page, "ChkAdd", 3);
    quorin::testing::ChooseLine(Box(page, "CboShanS"), 3);
    QVERIFY(SearchYear(page));
    QListWidget* list = quorin::testing::ResultList(page);
    QCOMPARE(list->count(), 8);
    QCOMPARE(f.prompter.LastText(), QStringLiteral("共找到8条日课，双击直接查看日课！"));
    for (int row : {0, 7}) {
      quorin::testing::DoubleClickLine(list, list->model()->index(row, 0));
      QVERIFY(f.window->ChartShown());
      QCOMPARE(f.Pages()->currentIndex(), 0);
      QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "LedtZhuYear")->text(), QStringLiteral("1970"));
      QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->currentIndex(), 3);
      const quorin::chart::MQuorinDay& engine = f.window->Engine();
      for (int pillar = 0; pillar < 4; ++pillar) {
        QCOMPARE(engine.Slot(pillar).guaQi, engine.Slot(quorin::chart::kSlotMountain).guaQi);
      }
      const auto moment = quorin::chart::ParseSearchResultLine(list->item(row)->text().toStdString());
      QVERIFY(moment);
      QCOMPARE(int(engine.Request().hour), moment->hour);
      QCOMPARE(int(engine.Request().minute), 5);
    }
  }

  // With true solar time the search takes the longitude of the last chart.
  void searchTakesThePlaceOfTheLastChart() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/set.ini"), "[set]\r\nidate=1\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    SearchPage* page = f.Search();
    Edit(page, "LedtStartYear")->setText(QStringLiteral("2024"));
    Tick(page, "ChkGuaQi", 1);
    QVERIFY(SearchYear(page));
    const QStringList atChinaStandardMeridian = Lines(quorin::testing::ResultList(page));

    quorin::testing::ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"),
                                ChartInput<QComboBox>(f.window.get(), "cbodiZ")->findText(QStringLiteral("新疆")));
    QVERIFY(f.Pai());
    f.Pages()->setCurrentIndex(2);
    QVERIFY(SearchYear(page));
    const QStringList atUrumqi = Lines(quorin::testing::ResultList(page));
    QVERIFY(!atUrumqi.isEmpty());
    QVERIFY(atUrumqi != atChinaStandardMeridian);
  }

  // Closing the window during a long search stops the search at once, without a message.
  void closingTheWindowStopsTheSearch() {
    MainWindowFixture f;
    SearchPage* page = f.Search();
    f.Pages()->setCurrentIndex(2);
    Named<QRadioButton>(page, QStringLiteral("RbtRange"))->click();
    Edit(page, "LedtFromYear")->setText(QStringLiteral("1950"));
    Edit(page, "LedtToYear")->setText(QStringLiteral("2049"));
    Named<QPushButton>(page, QStringLiteral("BtnSearch"))->click();
    QTRY_VERIFY(quorin::testing::ResultList(page)->count() > 0);
    QVERIFY(page->Searching());
    f.Close();
    QVERIFY(!f.window->isVisible());
    QVERIFY(!page->Searching());
    QTest::qWait(100);
    QCOMPARE(f.prompter.LastText(), QStringLiteral("确定要关闭软件吗？"));
  }
};

QTEST_MAIN(SearchWorkflowTest)
#include "search_workflow_test.moc"

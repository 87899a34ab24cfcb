// SPDX-License-Identifier: GPL-3.0-or-later
// Places abroad in the main window: found by name under their country, charted at their clock
// time (a repeated clock time asked, never guessed), kept with a case and reopened at the same
// instant; the user's own places.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "base/files.h"
#include "base/zoned_places.h"
#include "support/case_window_fixture.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/frm_main.h"
#include "ui/own_places_dialog.h"
#include "ui/search_page.h"
#include "ui/program_files.h"

using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::ChooseLine;
using quorin::testing::MainWindowFixture;
using quorin::ui::Answer;

class WorldPlacesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  // New York's 01:30 of 3 November 2024 came twice (EDT, then EST): the second is chosen, and the
  // case keeps it, so reopening asks nothing and charts the same instant.
  void aRepeatedClockTimeIsAskedAndTheCaseReopensAtTheSameInstant() {
    CaseWindowFixture f;
    f.prompter().inputs.enqueue(QStringLiteral("New York"));
    ChartInput<QToolButton>(&f.window(), "SpeedButton2")->click();
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbodiZ")->currentText(), QStringLiteral("美国"));
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbodiC")->currentText(), QStringLiteral("纽约"));
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cboZone")->currentText(), QStringLiteral("纽约时间"));

    f.prompter().answers.enqueue(Answer::No);  // 第二次
    QVERIFY(f.PaiFor(QStringLiteral("纽约客"), 2024, 11, 3, 1, 30));
    QCOMPARE(f.prompter().shown.last().yesText, QStringLiteral("第一次（UTC-4，夏令时）"));
    QCOMPARE(f.prompter().shown.last().noText, QStringLiteral("第二次（UTC-5）"));
    const QString text = f.main.ChartText()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("当地时间：2024年11月3日1时30分(纽约时间，UTC-5)")));
    QVERIFY(text.contains(QStringLiteral("公历：2024年11月3日14时30分(北京时间)")));
    f.SaveNew(QStringLiteral("开业"));
    QCOMPARE(quorin::testing::StoredCase(1).zone, std::string("America/New_York"));
    QCOMPARE(quorin::testing::StoredCase(1).fold, std::int8_t(2));

    // Elsewhere and later, then the case again: no question, the same chart.
    ChooseLine(ChartInput<QComboBox>(&f.window(), "cbodiZ"), 0);
    QVERIFY(f.PaiFor(QStringLiteral("别人"), 2020, 1, 2, 8, 5));
    const int asked = f.prompter().shown.size();
    QVERIFY(f.OpenCase(1));
    QCOMPARE(f.prompter().shown.size(), asked);
    QCOMPARE(f.main.ChartText()->toPlainText(), text);
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbodiC")->currentText(), QStringLiteral("纽约"));

    // The next start of the program comes back to the place abroad.
    f.Restart();
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbodiZ")->currentText(), QStringLiteral("美国"));
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbodiC")->currentText(), QStringLiteral("纽约"));
  }

  // Sydney's summer: a moment entered there is the chart of the same instant in Beijing time,
  // with the clock line added; a clock time skipped is refused with the change named.
  void aSydneyClockTimeIsTheSameInstantAsItsBeijingTime() {
    MainWindowFixture f;
    f.prompter.inputs.enqueue(QStringLiteral("悉尼"));
    ChartInput<QToolButton>(f.window.get(), "SpeedButton2")->click();
    f.SetMoment(2024, 1, 15, 12, 0);
    QVERIFY(f.Pai());
    const QString sydney = f.ChartText()->toPlainText();
    QVERIFY(sydney.contains(QStringLiteral("当地时间：2024年1月15日12时0分(悉尼时间，UTC+11，夏令时)")));
    QVERIFY(sydney.contains(QStringLiteral("公历：2024年1月15日9时0分(北京时间)")));
    // Stepping moves the clock time: 时++ is 14:00 there.
    f.Find<QAbstractButton>("SpeedButton4")->click();
    QVERIFY(f.ChartText()->toPlainText().contains(QStringLiteral("当地时间：2024年1月15日14时0分")));

    f.SetMoment(2024, 10, 6, 2, 30);
    QVERIFY(!f.Pai());
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("悉尼当地没有2024年10月6日2时30分这个钟点")));
  }

  // A search after a chart in Sydney tests Sydney's clock times; a result opens there, the 02:05
  // that came twice at its first occurrence (as tested), without asking.
  void aZonedSearchResultOpensInItsZone() {
    MainWindowFixture f;
    f.prompter.inputs.enqueue(QStringLiteral("悉尼"));
    ChartInput<QToolButton>(f.window.get(), "SpeedButton2")->click();
    f.SetMoment(2024, 4, 6, 12, 0);
    QVERIFY(f.Pai());
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);  // the inputs move elsewhere
    quorin::ui::SearchPage* page = f.Search();
    f.Pages()->setCurrentIndex(2);
    QVERIFY(quorin::testing::SearchOneDay(page, 2024, 4, 7));
    QListWidget* list = quorin::testing::ResultList(page);
    QCOMPARE(list->count(), 12);
    const int asked = f.prompter.shown.size();
    quorin::testing::DoubleClickLine(list, list->model()->index(1, 0));  // 02时
    QCOMPARE(f.prompter.shown.size(), asked);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentText(), QStringLiteral("悉尼"));
    QVERIFY(f.ChartText()->toPlainText().contains(QStringLiteral("当地时间：2024年4月7日2时5分(悉尼时间，UTC+11，夏令时)")));
  }

  // The mainland's clock times of a summer of 1988 are an hour ahead of Beijing time when chosen.
  void theMainlandsClockTimesAreAChoiceForChinesePlaces() {
    MainWindowFixture f;
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);
    auto* zone = ChartInput<QComboBox>(f.window.get(), "cboZone");
    QCOMPARE(zone->count(), 2);
    QCOMPARE(zone->itemText(1), QStringLiteral("中国（按当时钟表时间，含1986–1991年夏令时）"));
    zone->setCurrentIndex(1);
    f.SetMoment(1988, 7, 1, 12, 0);
    QVERIFY(f.Pai());
    QVERIFY(f.ChartText()->toPlainText().contains(QStringLiteral("公历：1988年7月1日11时0分(北京时间)")));
    QCOMPARE(f.window->ChartRecord().zone, std::string("Asia/Shanghai"));
  }

  // An own place is added in its dialog, kept in dat/places.txt (dili.ini untouched) and listed.
  void ownPlacesAreKeptInAFileOfTheirOwn() {
    MainWindowFixture f;
    const auto dili = quorin::base::ReadFileBytes(quorin::ui::DiliIniPath());
    {
      quorin::ui::OwnPlacesDialog dialog;
      quorin::testing::Named<QLineEdit>(&dialog, "EdtPlaceName")->setText(QStringLiteral("祖屋"));
      quorin::testing::Named<QDoubleSpinBox>(&dialog, "SpnLongitude")->setValue(-123.1);
      quorin::testing::Named<QDoubleSpinBox>(&dialog, "SpnLatitude")->setValue(49.25);
      auto* zones = quorin::testing::Named<QComboBox>(&dialog, "CboPlaceZone");
      zones->setCurrentIndex(zones->findData(QStringLiteral("America/Vancouver")));
      quorin::testing::Named<QPushButton>(&dialog, "BtnAddPlace")->click();
    }
    const std::vector<quorin::base::ZonedPlace> own = quorin::base::ReadOwnPlaces(quorin::ui::OwnPlacesPath());
    QCOMPARE(own.size(), std::size_t(1));
    QCOMPARE(own[0].zone, std::string("America/Vancouver"));
    QCOMPARE(quorin::base::ReadFileBytes(quorin::ui::DiliIniPath()), dili);
    auto* provinces = ChartInput<QComboBox>(f.window.get(), "cbodiZ");
    ChooseLine(provinces, provinces->findText(QStringLiteral("自定地点")));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentText(), QStringLiteral("祖屋"));
    f.SetMoment(2024, 7, 1, 12, 0);
    QVERIFY(f.Pai());
    QVERIFY(f.ChartText()->toPlainText().contains(QStringLiteral("地点：祖屋")));
    QVERIFY(f.ChartText()->toPlainText().contains(QStringLiteral("(温哥华时间，UTC-7，夏令时)")));
  }
};

QTEST_MAIN(WorldPlacesTest)
#include "world_places_test.moc"

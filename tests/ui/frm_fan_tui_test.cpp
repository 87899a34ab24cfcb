// SPDX-License-Identifier: GPL-3.0-or-later
// The reverse pillar search window: the moment it shows, its refusals and the hand-over to the chart.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_fan_tui.h"
#include "ui/up_down.h"

using quorin::calendar::CivilDateTime;
using quorin::calendar::FourPillars;
using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmFanTui;

namespace {

QComboBox* List(const TFrmFanTui& d, const char* name) { return Named<QComboBox>(&d, name); }
QLineEdit* StartYear(const TFrmFanTui& d) { return Named<QLineEdit>(&d, "Edtyear"); }
QPushButton* Button(const TFrmFanTui& d, const char* name) { return Named<QPushButton>(&d, name); }
QPlainTextEdit* Found(const TFrmFanTui& d) { return Named<QPlainTextEdit>(&d, "Memo1"); }
quorin::ui::UpDown* Arrows(const TFrmFanTui& d) { return Named<quorin::ui::UpDown>(&d, "Upyear"); }

// Selects the pillars by their names, e.g. "甲辰", "寅", "乙巳", "子".
void Choose(TFrmFanTui& d, const QString& year, const QString& monthBranch, const QString& day,
            const QString& hourBranch) {
  List(d, "cbotian0")->setCurrentText(year.left(1));
  List(d, "cbodi0")->setCurrentText(year.right(1));
  List(d, "cbodi1")->setCurrentText(monthBranch);
  List(d, "cbotian2")->setCurrentText(day.left(1));
  List(d, "cbodi2")->setCurrentText(day.right(1));
  List(d, "cbodi3")->setCurrentText(hourBranch);
}

}  // namespace

class ReversePillarSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  // The moment found is shown in historical years (astronomical 0 is 1 BC) and handed back.
  void showsTheMomentFound() {
    ScriptedPrompter prompter;
    TFrmFanTui d;
    d.Prepare({}, true);
    Choose(d, QStringLiteral("庚申"), QStringLiteral("亥"), QStringLiteral("丙午"), QStringLiteral("午"));
    StartYear(d)->setText(QStringLiteral("-10"));
    Button(d, "Btncha")->click();
    QCOMPARE(Found(d)->toPlainText(), QStringLiteral("符合四柱：\n-1年 12月 1日 12时 0分\n\n"));
    QVERIFY(Button(d, "Btnpai")->isEnabled());
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(d.Result().moment, (CivilDateTime{0, 12, 1, 12, 0}));
    QCOMPARE(d.Result().pillars, (FourPillars{57, 24, 43, 31}));  // 庚申 丁亥 丙午 甲午
  }

  void eachPressAppendsAndALaterStartFindsTheNextCycle() {
    ScriptedPrompter prompter;
    TFrmFanTui d;
    d.Prepare({}, true);
    Choose(d, QStringLiteral("甲辰"), QStringLiteral("寅"), QStringLiteral("乙巳"), QStringLiteral("子"));
    Button(d, "Btncha")->click();
    QCOMPARE(Arrows(d)->Position(), 1950);
    StartYear(d)->setText(QStringLiteral("1965"));
    Button(d, "Btncha")->click();
    const QString text = Found(d)->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("符合四柱：\n1964年 2月 26日 0时 0分\n\n符合四柱：\n2024年")));
    QCOMPARE(d.Result().moment.year, std::int16_t(2024));
    QCOMPARE(Found(d)->textCursor().position(), text.size());
  }

  void refusesBadStartYearsAndImpossiblePairs() {
    ScriptedPrompter prompter;
    TFrmFanTui d;
    d.show();
    d.Prepare({}, true);
    for (const QString& start : {QStringLiteral("0"), QStringLiteral("abc"), QStringLiteral("-4714"),
                                 QStringLiteral("10000")}) {
      StartYear(d)->setText(start);
      Button(d, "Btncha")->click();
      QCOMPARE(prompter.LastText(), QStringLiteral("起始年必须在-4713到9999年之间，并且没有公元0年\n"
                                                   "注意：公元前用负数，比如公元前120年，就输入-120"));
      QCOMPARE(prompter.shown.last().caption, QStringLiteral("年份错误"));
      QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Warning);
    }
    QCOMPARE(prompter.shown.size(), 4);

    StartYear(d)->setText(QStringLiteral("1950"));
    Choose(d, QStringLiteral("甲辰"), QStringLiteral("寅"), QStringLiteral("乙巳"), QStringLiteral("子"));
    Button(d, "Btncha")->click();
    QVERIFY(Button(d, "Btnpai")->isEnabled());
    List(d, "cbotian0")->setCurrentText(QStringLiteral("甲"));
    List(d, "cbodi0")->setCurrentText(QStringLiteral("丑"));
    Button(d, "Btncha")->click();
    QCOMPARE(prompter.LastText(), QStringLiteral("不存在这个年柱！"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("无效的四柱"));
    QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Error);
    QVERIFY(!Button(d, "Btnpai")->isEnabled());
    List(d, "cbodi0")->setCurrentText(QStringLiteral("子"));
    List(d, "cbotian2")->setCurrentText(QStringLiteral("乙"));
    List(d, "cbodi2")->setCurrentText(QStringLiteral("子"));
    Button(d, "Btncha")->click();
    QCOMPARE(prompter.LastText(), QStringLiteral("不存在这个日柱！"));
  }

  // A moment after 9999 could not be charted: the search reports none.
  void reportsWhenNothingIsFound() {
    ScriptedPrompter prompter;
    TFrmFanTui d;
    d.Prepare({}, true);
    Found(d)->setPlainText(QStringLiteral("earlier results"));
    Choose(d, QStringLiteral("甲子"), QStringLiteral("寅"), QStringLiteral("甲子"), QStringLiteral("子"));
    StartYear(d)->setText(QStringLiteral("9999"));
    Button(d, "Btncha")->click();
    QCOMPARE(Found(d)->toPlainText(), QStringLiteral("没有符合的四柱，改变起始年反推，或许可以找到。\n\n"));
    QVERIFY(!Button(d, "Btnpai")->isEnabled());
  }

  void preparedFromTheRememberedPillars() {
    TFrmFanTui d;
    d.Prepare({}, false);
    QCOMPARE(List(d, "cbotian0")->currentText(), QStringLiteral("癸"));
    QCOMPARE(List(d, "cbodi0")->currentText(), QStringLiteral("亥"));
    QCOMPARE(List(d, "cbodi1")->currentText(), QStringLiteral("亥"));
    QCOMPARE(List(d, "cbodi3")->currentText(), QStringLiteral("亥"));
    QVERIFY(Named<QRadioButton>(&d, "Rdonv1")->isChecked());
    QVERIFY(!Button(d, "Btnpai")->isEnabled());
    QCOMPARE(Arrows(d)->Position(), 1950);
    QCOMPARE(StartYear(d)->text(), QStringLiteral("1950"));

    d.Prepare({41, 3, 42, 13}, true);
    QCOMPARE(List(d, "cbotian0")->currentText() + List(d, "cbodi0")->currentText(), QStringLiteral("甲辰"));
    QCOMPARE(List(d, "cbodi1")->currentText(), QStringLiteral("寅"));
    QCOMPARE(List(d, "cbotian2")->currentText() + List(d, "cbodi2")->currentText(), QStringLiteral("乙巳"));
    QCOMPARE(List(d, "cbodi3")->currentText(), QStringLiteral("子"));
    QVERIFY(Named<QRadioButton>(&d, "Rdona1")->isChecked());

    Arrows(d)->SetPosition(1);
    Arrows(d)->Step(-1);
    QCOMPARE(StartYear(d)->text(), QStringLiteral("-1"));
  }

  // "大卦盘" accepts the dialog; the main window charts the moment it hands back.
  void acceptedMomentIsChartedByTheMainWindow() {
    quorin::testing::MainWindowFixture fixture;
    std::optional<quorin::ui::FanTuiResult> result;
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<TFrmFanTui*>(QApplication::activeModalWidget());
      QVERIFY(d);
      Choose(*d, QStringLiteral("庚辰"), QStringLiteral("寅"), QStringLiteral("壬辰"), QStringLiteral("戌"));
      Named<QRadioButton>(d, "Rdonv1")->setChecked(true);
      Button(*d, "Btncha")->click();
      Button(*d, "Btnpai")->click();
    });
    result = TFrmFanTui::Run(fixture.window.get(), {}, true);
    QVERIFY(result.has_value());
    QCOMPARE(result->moment, (CivilDateTime{2180, 2, 20, 20, 0}));
    QVERIFY(!result->male);
    QCOMPARE(result->pillars, (FourPillars{17, 15, 29, 47}));

    fixture.SetMoment(result->moment.year, result->moment.month, result->moment.day, result->moment.hour, 0);
    QVERIFY(fixture.Pai());
    QVERIFY(fixture.AnalysisText().contains(QStringLiteral("公历：2180年2月20日20时0分(北京时间)")));
    // The pillar columns read 庚辰 戊寅 壬辰 庚戌 top down.
    QVERIFY(fixture.AnalysisText().contains(QStringLiteral("庚　　戊　　壬　　庚")));
    QVERIFY(fixture.AnalysisText().contains(QStringLiteral("辰　　寅　　辰　　戌")));
    fixture.Close();
  }

  void cancelledDialogHandsNothingBack() {
    ScriptedPrompter prompter;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!TFrmFanTui::Run(nullptr, {}, true).has_value());
  }
};

QTEST_MAIN(ReversePillarSearchTest)
#include "frm_fan_tui_test.moc"

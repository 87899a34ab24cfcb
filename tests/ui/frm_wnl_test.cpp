// SPDX-License-Identifier: GPL-3.0-or-later
// The perpetual calendar window: month pages, flipping, clicking, pillars and its refusals.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/clock.h"
#include "ui/frm_wnl.h"
#include "ui/ui_font.h"
#include "ui/up_down.h"

using quorin::calendar::CivilDateTime;
using quorin::testing::ChooseLine;
using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmWnl;

namespace {

CivilDateTime Moment(int year, int month, int day, int hour = 12, int minute = 0) {
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
          static_cast<std::int16_t>(hour), static_cast<std::int16_t>(minute)};
}

QLineEdit* Year(const TFrmWnl& w) { return Named<QLineEdit>(&w, "EdtYear"); }
quorin::ui::UpDown* Arrows(const TFrmWnl& w) { return Named<quorin::ui::UpDown>(&w, "UpYear"); }
QComboBox* List(const TFrmWnl& w, const char* name) { return Named<QComboBox>(&w, name); }
QToolButton* Button(const TFrmWnl& w, const char* name) { return Named<QToolButton>(&w, name); }
QLabel* Page(const TFrmWnl& w) { return Named<QLabel>(&w, "Img"); }
QString MonthShown(const TFrmWnl& w) { return Named<QLabel>(&w, "LabShow")->text(); }
QString Text(const TFrmWnl& w, const char* memo) { return Named<QPlainTextEdit>(&w, memo)->toPlainText(); }

// Centre of the grid cell of a day (index j from 0) of the month now shown.
QPoint CellCentre(const TFrmWnl& w, int j) {
  const int position = w.FirstColumnShown() + j;
  const int cellWidth = Page(w)->width() / 7;
  const int cellHeight = Page(w)->height() / 7;
  return {(position % 7) * cellWidth + cellWidth / 2, (1 + position / 7) * cellHeight + cellHeight / 2};
}

}  // namespace

class PerpetualCalendarTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void opensOnTheMonthWithTermsEraAndPillars() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(2024, 2, 10, 12, 0));
    QCOMPARE(MonthShown(w), QStringLiteral("2024年2月"));
    QCOMPARE(Year(w)->text(), QStringLiteral("2024"));
    QCOMPARE(Arrows(w)->Position(), 2024);
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("10日"));
    QCOMPARE(Text(w, "MeoJie"), QStringLiteral("立春:4日16时27分\n\n雨水:19日12时13分\n\n"));
    QCOMPARE(Text(w, "MeoTitle"), QStringLiteral("[当代] 中国  公历纪元2024年  【龙年】"));
    QCOMPARE(Text(w, "MeoGanZhi"), QStringLiteral("甲辰年\n丙寅月\n甲辰日\n庚午时"));
    QCOMPARE(w.FirstColumnShown(), 3);  // 2024-02-01 was a Thursday
    QCOMPARE(w.MonthLengthShown(), 29);
    QVERIFY(prompter.shown.isEmpty());

    // The selected day carries a red frame; its neighbours do not.
    const QPoint centre = CellCentre(w, 9);
    const int cellWidth = Page(w)->width() / 7;
    QCOMPARE(w.Picture().pixelColor(centre.x() - cellWidth / 2 + 1, centre.y()), QColor(Qt::red));
    const QPoint other = CellCentre(w, 12);
    QVERIFY(w.Picture().pixelColor(other.x() - cellWidth / 2 + 1, other.y()) != QColor(Qt::red));
  }

  void flipsFromAd1BackToOneBcAndForward() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(1, 1, 5));
    QCOMPARE(MonthShown(w), QStringLiteral("1年1月"));
    Button(w, "BitBtn2")->click();
    QCOMPARE(Year(w)->text(), QStringLiteral("-1"));
    QCOMPARE(Arrows(w)->Position(), 0);
    QCOMPARE(List(w, "CboM")->currentIndex(), 11);
    QCOMPARE(List(w, "CboD")->currentIndex(), 0);
    QCOMPARE(MonthShown(w), QStringLiteral("-1年12月"));
    QCOMPARE(w.FirstColumnShown(), 2);  // 1 December 1 BC was a Wednesday
    Button(w, "BitBtn1")->click();
    QCOMPARE(Year(w)->text(), QStringLiteral("1"));
    QCOMPARE(Arrows(w)->Position(), 1);
    QCOMPARE(List(w, "CboM")->currentIndex(), 0);
    QCOMPARE(MonthShown(w), QStringLiteral("1年1月"));
    QVERIFY(prompter.shown.isEmpty());
  }

  void flipsStopAtTheEndsOfTheCalendar() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(-4713, 1, 20));
    QCOMPARE(Arrows(w)->Position(), -4712);
    Button(w, "BitBtn2")->click();
    QCOMPARE(Year(w)->text(), QStringLiteral("-4713"));
    QCOMPARE(List(w, "CboM")->currentIndex(), 0);
    QCOMPARE(List(w, "CboD")->currentIndex(), 19);
    w.Open(Moment(9999, 12, 31, 23, 0));
    QCOMPARE(MonthShown(w), QStringLiteral("9999年12月"));
    QVERIFY(!Text(w, "MeoGanZhi").isEmpty());
    Button(w, "BitBtn1")->click();
    QCOMPARE(Year(w)->text(), QStringLiteral("9999"));
    QCOMPARE(List(w, "CboM")->currentIndex(), 11);
    QVERIFY(prompter.shown.isEmpty());
  }

  void october1582JumpsFromTheFourthToTheFifteenth() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.show();
    w.Open(Moment(1582, 10, 10));  // a day the month does not have: day 15 is shown
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("15日"));
    QCOMPARE(w.MonthLengthShown(), 21);
    QCOMPARE(Text(w, "MeoJie"), QStringLiteral("霜降:24日2时57分\n\n"));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, CellCentre(w, 3));
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("4日"));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, CellCentre(w, 4));
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("15日"));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, CellCentre(w, 20));
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("31日"));
    // The right button, the header row, the cell after the last day and the strip right of
    // the seventh column select nothing.
    QTest::mouseClick(Page(w), Qt::RightButton, {}, CellCentre(w, 5));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, CellCentre(w, 21));
    QTest::mouseClick(Page(w), Qt::LeftButton, {}, QPoint(449, Page(w)->height() / 7 * 2 + 5));
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("31日"));
    Button(w, "BitBtn2")->click();
    QCOMPARE(w.MonthLengthShown(), 30);
    QCOMPARE(MonthShown(w), QStringLiteral("1582年9月"));
    QVERIFY(prompter.shown.isEmpty());
  }

  void refusesBadYearsAndDaysAndKeepsThePicture() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(2024, 2, 10));
    const QImage before = w.Picture();

    Year(w)->setText(QStringLiteral("0"));
    QTest::keyClick(Year(w), Qt::Key_Return);
    QCOMPARE(prompter.LastText(), QStringLiteral("年份在-4713 到 9999之间"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("错误"));
    QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Error);

    Year(w)->setText(QStringLiteral("abc"));
    ChooseLine(List(w, "CboM"), List(w, "CboM")->currentIndex());
    QCOMPARE(prompter.LastText(), QStringLiteral("年份在-4713 到 9999年之间，并且没有公元0年"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("年份不对"));

    Year(w)->setText(QStringLiteral("2024"));
    ChooseLine(List(w, "CboD"), 29);  // 30 February
    QCOMPARE(prompter.LastText(), QStringLiteral("不存在这个日期，请重新输入！"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("日期不对"));
    QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Information);
    QCOMPARE(w.Picture(), before);
    QCOMPARE(MonthShown(w), QStringLiteral("2024年2月"));
    QCOMPARE(prompter.shown.size(), 3);
  }

  // A year typed without Enter is still drawn with its own solar terms.
  void termsFollowTheYearDrawn() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(2024, 2, 10));
    Year(w)->setText(QStringLiteral("2025"));
    ChooseLine(List(w, "CboM"), List(w, "CboM")->currentIndex());
    QCOMPARE(Text(w, "MeoJie"), QStringLiteral("立春:3日22时10分\n\n雨水:18日18时6分\n\n"));
    QCOMPARE(Arrows(w)->Position(), 2025);
    Year(w)->setText(QStringLiteral("-120"));
    QTest::keyClick(Year(w), Qt::Key_Return);
    QCOMPARE(Arrows(w)->Position(), -119);
    QCOMPARE(MonthShown(w), QStringLiteral("-120年2月"));
    QVERIFY(prompter.shown.isEmpty());
  }

  void upDownAndPresentMoment() {
    ScriptedPrompter prompter;
    TFrmWnl w;
    w.Open(Moment(2, 3, 4));
    Arrows(w)->Step(-1);
    QCOMPARE(Year(w)->text(), QStringLiteral("1"));
    Arrows(w)->Step(-1);
    QCOMPARE(Year(w)->text(), QStringLiteral("-1"));
    QCOMPARE(MonthShown(w), QStringLiteral("-1年3月"));

    quorin::ui::SetClock([] { return QDateTime(QDate(2031, 7, 9), QTime(21, 45)); });
    Button(w, "BtoNow")->click();
    quorin::ui::SetClock({});
    QCOMPARE(Year(w)->text(), QStringLiteral("2031"));
    QCOMPARE(List(w, "CboM")->currentText(), QStringLiteral("7月"));
    QCOMPARE(List(w, "CboD")->currentText(), QStringLiteral("9日"));
    QCOMPARE(List(w, "CboH")->currentText(), QStringLiteral("21时"));
    QCOMPARE(List(w, "CboMinute")->currentText(), QStringLiteral("45分"));
    QCOMPARE(MonthShown(w), QStringLiteral("2031年7月"));
    QVERIFY(prompter.shown.isEmpty());
  }

  void oneWindowWhichEndsWhenClosed() {
    ScriptedPrompter prompter;
    QWidget owner;
    TFrmWnl* first = TFrmWnl::ShowInstance(&owner, Moment(-120, 5, 6, 7, 8));
    QVERIFY(first->isVisible());
    QCOMPARE(Year(*first)->text(), QStringLiteral("-120"));
    QCOMPARE(Arrows(*first)->Position(), -119);
    QCOMPARE(List(*first, "CboMinute")->currentText(), QStringLiteral("8分"));
    QCOMPARE(TFrmWnl::ShowInstance(&owner, Moment(2000, 1, 1)), first);
    QCOMPARE(MonthShown(*first), QStringLiteral("2000年1月"));
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(TFrmWnl::Instance() == nullptr);
    QVERIFY(TFrmWnl::ShowInstance(&owner, Moment(2000, 1, 1)) != nullptr);
    TFrmWnl::Instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void scaledByTheUiFontWhenCreated() {
    quorin::ui::MUiFont scaler(3, false);
    quorin::ui::SetProgramUiFont(&scaler);
    TFrmWnl w;
    quorin::ui::SetProgramUiFont(nullptr);
    QCOMPARE(w.font().pointSizeF(), 12.0);
    QVERIFY(Page(w)->width() > 450);
    QVERIFY(w.width() > 542);
  }
};

QTEST_MAIN(PerpetualCalendarTest)
#include "frm_wnl_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// 排盘 and the commands that fill the chart inputs.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QRadioButton>
#include <QTabWidget>
#include <QAction>
#include <QTimer>
#include <QTest>
#include <QToolButton>
#include <QListWidget>
#include <QTreeWidget>
#include <QLineEdit>

#include "base/ini_file.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "qtdraw/image_canvas.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/frm_fan_tui.h"
#include "ui/search_page.h"
#include "support/main_window_fixture.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "chart/quorin_day.h"
#include "ui/frm_set.h"
#include "ui/up_down.h"

using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;
using quorin::ui::Answer;

namespace {

// Types a year into the chart's year box as the user does.
void TypeYear(quorin::ui::TFrmMain& window, int year) {
  ChartInput<QLineEdit>(&window, "EdtYear")->clear();
  QTest::keyClicks(ChartInput<QLineEdit>(&window, "EdtYear"), QString::number(year));
}

// Picks the line of a pillar's character in one of the reverse search's lists.
void PickCharacter(QComboBox* box, const QString& character) {
  const int index = box->findText(character);
  QVERIFY2(index >= 0, qPrintable(character));
  box->setCurrentIndex(index);
}

}  // namespace

class ChartWorkflowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void paiShowsTheChartAndFillsTheRecord() {
    MainWindowFixture f;
    ChartInput<QLineEdit>(f.window.get(), "EdtName")->setText(QStringLiteral("王五"));
    ChartInput<QLineEdit>(f.window.get(), "LedtZhuYear")->setText(QStringLiteral("1978"));
    ChartInput<QRadioButton>(f.window.get(), "Rdonv")->setChecked(true);
    quorin::testing::ChooseLine(ChartInput<QComboBox>(f.window.get(), "CboShan"), 13);  // 午山
    ChartInput<QComboBox>(f.window.get(), "CboGua")->setCurrentIndex(1);
    f.SetMoment(2024, 3, 5, 7, 30);
    quorin::testing::ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);  // 福建省
    f.Pages()->setCurrentIndex(2);
    QVERIFY(f.Pai());
    QVERIFY(f.prompter.shown.isEmpty());  // 王五 passes silently
    const quorin::TRecordData& r = f.window->ChartRecord();
    QCOMPARE(r.name, std::string("王五"));
    QCOMPARE(r.masterYear, 1978);
    QCOMPARE(r.male, false);
    QCOMPARE(r.mountain, 13);
    QCOMPARE(r.mountainGua, 1);
    QCOMPARE(int(r.year), 2024);
    QCOMPARE(int(r.month), 3);
    QCOMPARE(int(r.day), 5);
    QCOMPARE(int(r.hour), 7);
    QCOMPARE(int(r.minute), 30);
    QCOMPARE(r.addrName, std::string("福建省福州市"));
    QCOMPARE(int(r.province), 0);
    QCOMPARE(int(r.city), 0);
    QVERIFY(std::abs(r.longitude - (119 + 17 / 60.0f)) < 1e-4);
    QVERIFY(std::abs(r.latitude - (26 + 5 / 60.0f)) < 1e-4);
    QCOMPARE(f.Pages()->currentIndex(), 0);  // the search page gives way to the chart
    QVERIFY(f.AnalysisText().contains(QStringLiteral("王五")));
  }

  void yearLimits_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("-4714") << "-4714" << false;
    QTest::newRow("10000") << "10000" << false;
    QTest::newRow("abc") << "abc" << false;
    QTest::newRow("-4713") << "-4713" << true;
    QTest::newRow("9999") << "9999" << true;
  }
  void yearLimits() {
    QFETCH(QString, year);
    QFETCH(bool, accepted);
    MainWindowFixture f;
    // The chart year box holds four characters; typing past it is what a paste can do.
    ChartInput<QLineEdit>(f.window.get(), "EdtYear")->setMaxLength(10);
    ChartInput<QLineEdit>(f.window.get(), "EdtYear")->setText(year);
    ChartInput<QPushButton>(f.window.get(), "BtnPai")->click();
    const QStringList texts = f.prompter.Texts();
    const QString message = QStringLiteral(
        "年份必须在-4713到9999年之间，并且没有公元0年\r\n注意：公元前用负数，比如公元前120年，就输入-120");
    QCOMPARE(texts.contains(message), !accepted);
    if (!accepted) {
      QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("年份错误"));
      QVERIFY(!f.window->ChartShown());
    }
    // The person's year is checked the same way, after the chart's year.
    f.prompter.Clear();
    ChartInput<QLineEdit>(f.window.get(), "EdtYear")->setText(QStringLiteral("2000"));
    ChartInput<QLineEdit>(f.window.get(), "LedtZhuYear")->setText(year);
    ChartInput<QPushButton>(f.window.get(), "BtnPai")->click();
    QCOMPARE(f.prompter.Texts().contains(QStringLiteral("主命") + message), !accepted);
  }

  // Every command that writes a year into the box keeps a year of five characters, and
  // the next chart is of that year.
  void everyPathKeepsAFiveCharacterYear_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("year");  // as the box shows it: no year 0
    for (const char* path : {"arrows", "SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton6", "search result",
                             "大卦盘", "saved case"}) {
      for (int year : {-1500, -4712}) QTest::addRow("%s %d", path, year) << QString::fromUtf8(path) << year;
    }
  }
  void everyPathKeepsAFiveCharacterYear() {
    QFETCH(QString, path);
    QFETCH(int, year);
    const int astronomical = quorin::calendar::AstronomicalYear(year);
    CaseWindowFixture f(false);
    if (path == QStringLiteral("saved case")) {
      QCOMPARE(f.StoreCases({quorin::testing::SampleCase("古人", astronomical, 6, 15, 9, 0)}).size(), std::size_t(1));
    }
    f.Show();
    quorin::ui::TFrmMain& w = f.window();
    ChartInput<QComboBox>(&w, "cbom")->setCurrentIndex(5);
    ChartInput<QComboBox>(&w, "cbod")->setCurrentIndex(14);
    ChartInput<QComboBox>(&w, "cbos")->setCurrentIndex(9);
    if (path == QStringLiteral("arrows")) {
      TypeYear(w, year + 1);
      QTest::mouseClick(ChartInput<quorin::ui::UpDown>(&w, "UpDyear")->findChildren<QToolButton*>().at(1),
                        Qt::LeftButton);  // the down arrow
      QVERIFY(f.main.Pai());
    } else if (path.startsWith(QStringLiteral("SpeedButton"))) {
      TypeYear(w, year);
      QVERIFY(f.main.Pai());
      QTest::mouseClick(w.findChild<QToolButton*>(path), Qt::LeftButton);  // an hour or a day from mid-June
    } else if (path == QStringLiteral("search result")) {
      f.main.Pages()->setCurrentIndex(2);
      QVERIFY(quorin::testing::SearchOneDay(f.main.Search(), year, 6, 15));
      QListWidget* list = quorin::testing::ResultList(f.main.Search());
      quorin::testing::DoubleClickLine(list, list->model()->index(4, 0));
    } else if (path == QStringLiteral("大卦盘")) {
      // The pillars of 15 June, 9 o'clock of that year, found again from its start.
      TypeYear(w, year);
      QVERIFY(f.main.Pai());
      const quorin::calendar::FourPillars pillars = w.Engine().Pillars();
      TypeYear(w, 2000);
      const auto name = [](int p) { return QString::fromStdString(quorin::calendar::PillarName(p)); };
      quorin::testing::WhenDialogShows<quorin::ui::TFrmFanTui>([&](quorin::ui::TFrmFanTui& d) {
        PickCharacter(Named<QComboBox>(&d, "cbotian0"), name(pillars.year).left(1));
        PickCharacter(Named<QComboBox>(&d, "cbodi0"), name(pillars.year).mid(1));
        PickCharacter(Named<QComboBox>(&d, "cbodi1"), name(pillars.month).mid(1));
        PickCharacter(Named<QComboBox>(&d, "cbotian2"), name(pillars.day).left(1));
        PickCharacter(Named<QComboBox>(&d, "cbodi2"), name(pillars.day).mid(1));
        PickCharacter(Named<QComboBox>(&d, "cbodi3"), name(pillars.hour).mid(1));
        Named<QLineEdit>(&d, "Edtyear")->setText(QString::number(year));
        QTest::mouseClick(Named<QPushButton>(&d, "Btncha"), Qt::LeftButton);
        QTest::mouseClick(Named<QPushButton>(&d, "Btnpai"), Qt::LeftButton);
      });
      w.MenuAction(QStringLiteral("N5"))->trigger();
    } else {
      QTreeWidgetItem* node = f.tree().FindCaseNode(1);
      QVERIFY(node);
      quorin::testing::DoubleClickLine(f.treeWidget(), f.treeWidget()->indexFromItem(node));
    }
    QCOMPARE(ChartInput<QLineEdit>(&w, "EdtYear")->text(), QString::number(year));
    QVERIFY(w.ChartShown());
    QCOMPARE(int(w.ChartRecord().year), astronomical);
    QCOMPARE(int(w.ChartRecord().month), 6);
    QCOMPARE(f.prompter().unexpected, 0);
  }

  void historicalYearsAreStoredAstronomically() {
    MainWindowFixture f;
    f.SetMoment(-120, 6, 1, 12, 0);
    ChartInput<QLineEdit>(f.window.get(), "LedtZhuYear")->setText(QStringLiteral("-1"));
    QVERIFY(f.Pai());
    QCOMPARE(int(f.window->ChartRecord().year), -119);
    QCOMPARE(f.window->ChartRecord().masterYear, 0);
    QCOMPARE(ChartInput<quorin::ui::UpDown>(f.window.get(), "UpDyear")->Position(), -119);
    const QList<QToolButton*> arrows =
        ChartInput<quorin::ui::UpDown>(f.window.get(), "UpDyear")->findChildren<QToolButton*>();  // up, down
    QTest::mouseClick(arrows.at(0), Qt::LeftButton);
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("-119"));
    TypeYear(*f.window, 1);
    QTest::mouseClick(arrows.at(1), Qt::LeftButton);
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("-1"));
  }

  void nameCleaning_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("told");
    QTest::newRow("forbidden characters") << "  张*三 " << "张三" << true;
    QTest::newRow("empty") << "   " << "甲" << true;
    QTest::newRow("clean") << "王五" << "王五" << false;
    QTest::newRow("every forbidden one") << "a\"*<>?\\/|:' b" << "ab" << true;
  }
  void nameCleaning() {
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(bool, told);
    MainWindowFixture f;
    ChartInput<QLineEdit>(f.window.get(), "EdtName")->setMaxLength(40);
    ChartInput<QLineEdit>(f.window.get(), "EdtName")->setText(typed);
    QVERIFY(f.Pai());
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtName")->text(), saved);
    QCOMPARE(f.window->ChartRecord().name, saved.toStdString());
    QCOMPARE(f.prompter.Texts().contains(
                 QStringLiteral("姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！")),
             told);
  }

  void longNamesAreCutToTenCharacters() {
    const quorin::ui::CleanedName cleaned = quorin::ui::CleanName(QStringLiteral("一二三四五六七八九十十一"));
    QCOMPARE(cleaned.name, QStringLiteral("一二三四五六七八九十"));
    QVERIFY(cleaned.changed);
  }

  void degreeInputs_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("mountain");
    QTest::addColumn<int>("gua");
    // The whole table of degrees is tested on the model (tests/chart/compass_test.cpp).
    QTest::newRow("18-12") << "18-12" << 2 << 2;
    QTest::newRow("18:12") << "18:12" << 2 << 2;
    QTest::newRow("360 falls into 坤") << "360" << 1 << 1;
  }
  void degreeInputs() {
    QFETCH(QString, typed);
    QFETCH(int, mountain);
    QFETCH(int, gua);
    MainWindowFixture f;
    f.prompter.inputs.enqueue(typed);
    ChartInput<QToolButton>(f.window.get(), "SpeedButton7")->click();
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->currentIndex(), mountain);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboGua")->currentIndex(), gua);
    QVERIFY(!f.window->ChartShown());  // no chart is computed
    QCOMPARE(f.prompter.inputPrompts.first(), QStringLiteral("周天度->坐山|输入周天度数：     "));
  }

  void degreeOutsideTheCircleAsksAgain() {
    MainWindowFixture f;
    f.prompter.inputs.enqueue(QStringLiteral("18.5"));
    f.prompter.inputs.enqueue(QStringLiteral("361"));
    f.prompter.inputs.enqueue(QStringLiteral("-5"));
    f.prompter.inputs.enqueue(std::nullopt);  // cancel
    ChartInput<QToolButton>(f.window.get(), "SpeedButton7")->click();
    QCOMPARE(f.prompter.inputPrompts.size(), 4);
    QCOMPARE(f.prompter.Texts().count(
                 QStringLiteral("周天度数输入在：0-360之间！，格式：18-12或者18:12（等于18度12分）")),
             3);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->currentIndex(), 0);
  }

  void steppingAcrossYearEndAndLeapDay_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("from");
    QTest::addColumn<QList<int>>("to");
    QTest::newRow("时++ at new year") << "SpeedButton4" << QList<int>{2023, 12, 31, 23, 0} << QList<int>{2024, 1, 1, 1, 0};
    QTest::newRow("日-- to 29 February") << "SpeedButton5" << QList<int>{2024, 3, 1, 10, 15}
                                        << QList<int>{2024, 2, 29, 10, 15};
    QTest::newRow("时-- at new year") << "SpeedButton3" << QList<int>{2024, 1, 1, 0, 30} << QList<int>{2023, 12, 31, 22, 30};
    QTest::newRow("日++ past February") << "SpeedButton6" << QList<int>{2023, 2, 28, 8, 0} << QList<int>{2023, 3, 1, 8, 0};
  }
  void steppingAcrossYearEndAndLeapDay() {
    QFETCH(QString, button);
    QFETCH(QList<int>, from);
    QFETCH(QList<int>, to);
    MainWindowFixture f;
    f.SetMoment(from[0], from[1], from[2], from[3], from[4]);
    ChartInput<QRadioButton>(f.window.get(), "Rdonl")->setChecked(true);
    ChartInput<QCheckBox>(f.window.get(), "Chkrun")->setChecked(true);
    ChartInput<QRadioButton>(f.window.get(), "Rdogl")->setChecked(true);
    QVERIFY(f.Pai());
    f.window->findChild<QToolButton*>(button)->click();
    QVERIFY(f.window->ChartShown());
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text().toInt(), to[0]);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbom")->currentIndex() + 1, to[1]);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbod")->currentIndex() + 1, to[2]);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->currentIndex(), to[3]);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbomin")->currentIndex(), to[4]);
    QVERIFY(ChartInput<QRadioButton>(f.window.get(), "Rdogl")->isChecked());
    QVERIFY(!ChartInput<QCheckBox>(f.window.get(), "Chkrun")->isChecked());
  }

  void steppingWithoutAChartAsksForOne() {
    MainWindowFixture f;
    f.Find<QToolButton>("SpeedButton6")->click();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("请先排一个正确的盘！"));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("先排盘"));
  }

  // A step past the first or last moment the calendar charts is refused with its message; the
  // inputs stay on the chart shown, and the next command (the step back) works on that chart.
  // From 23:00 the day is the next one, so on the last day of 9999 the engine refuses 23:xx.
  void refusedStepKeepsTheChartAndItsInputs_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QList<int>>("at");
    QTest::addColumn<QString>("caption");
    QTest::newRow("时-- at the first hour") << "SpeedButton3" << "SpeedButton4" << QList<int>{-4713, 1, 1, 0, 0}
                                          << "年份错误";
    QTest::newRow("日-- on the first day") << "SpeedButton5" << "SpeedButton6" << QList<int>{-4713, 1, 1, 12, 30}
                                         << "年份错误";
    QTest::newRow("时++ into 23:00 of the last day") << "SpeedButton4" << "SpeedButton3"
                                                    << QList<int>{9999, 12, 31, 21, 30} << "错误";
    QTest::newRow("时++ at the last hour") << "SpeedButton4" << "SpeedButton3" << QList<int>{9999, 12, 31, 22, 59}
                                         << "年份错误";
    QTest::newRow("日++ on the last day") << "SpeedButton6" << "SpeedButton5" << QList<int>{9999, 12, 31, 0, 0}
                                        << "年份错误";
  }
  void refusedStepKeepsTheChartAndItsInputs() {
    QFETCH(QString, button);
    QFETCH(QString, back);
    QFETCH(QList<int>, at);
    QFETCH(QString, caption);
    MainWindowFixture f;
    f.SetMoment(at[0], at[1], at[2], at[3], at[4]);
    QVERIFY(f.Pai());
    f.prompter.Clear();
    f.window->findChild<QToolButton*>(button)->click();
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].caption, caption);
    QVERIFY(f.window->ChartShown());
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QString::number(at[0]));
    QCOMPARE(ChartInput<quorin::ui::UpDown>(f.window.get(), "UpDyear")->Position(),
             quorin::calendar::AstronomicalYear(at[0]));
    const QList<int> shown{ChartInput<QComboBox>(f.window.get(), "cbom")->currentIndex() + 1,
                           ChartInput<QComboBox>(f.window.get(), "cbod")->currentIndex() + 1,
                           ChartInput<QComboBox>(f.window.get(), "cbos")->currentIndex(),
                           ChartInput<QComboBox>(f.window.get(), "cbomin")->currentIndex()};
    QCOMPARE(shown, at.mid(1));
    f.window->findChild<QToolButton*>(back)->click();
    QCOMPARE(f.prompter.shown.size(), 1);
    QVERIFY(f.window->ChartShown());
    QVERIFY(ChartInput<QComboBox>(f.window.get(), "cbod")->currentIndex() + 1 != at[2] ||
            ChartInput<QComboBox>(f.window.get(), "cbos")->currentIndex() != at[3]);
  }

  void engineFailureShowsItsText() {
    MainWindowFixture f;
    f.SetMoment(2023, 2, 30, 0, 0);  // no such day
    QVERIFY(!f.Pai());
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("错误"));
    QVERIFY(!f.prompter.LastText().isEmpty());
  }

  void currentTimeButtonSetsTheClockMoment() {
    MainWindowFixture f;
    quorin::ui::SetClock([] { return QDateTime(QDate(3100, 7, 8), QTime(21, 42)); });
    ChartInput<QRadioButton>(f.window.get(), "Rdonl")->setChecked(true);
    ChartInput<QToolButton>(f.window.get(), "SpeedButton1")->click();
    quorin::ui::SetClock({});
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("3000"));  // capped at 3000
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbom")->currentText(), QStringLiteral("7月"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbod")->currentText(), QStringLiteral("8日"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->currentText(), QStringLiteral("21时亥"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbomin")->currentText(), QStringLiteral("42分"));
    QVERIFY(ChartInput<QRadioButton>(f.window.get(), "Rdogl")->isChecked());
  }

  void chartImageIsCentredAndDragged() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nwidth=1400\r\nheight=900\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QLabel* image = f.Find<QLabel>("ImgPan");
    QVERIFY(!image->isVisible());  // no chart yet: no empty block either
    QVERIFY(f.Pai());
    QVERIFY(image->isVisible());
    QCOMPARE(image->size(), f.window->ChartImage().size());
    const QSize client = f.Find<QScrollArea>("BoxPanel")->viewport()->size();
    QVERIFY(client.width() > image->width());
    QCOMPARE(image->pos(), QPoint(std::max(3, (client.width() - image->width()) / 2),
                                  std::max(3, (client.height() - image->height()) / 2)));
    // Dragging moves the picture by the pointer's offset.
    const QPoint before = image->pos();
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), image->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(image, &move);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(40, 30));
    QCOMPARE(image->pos(), before + QPoint(30, 20));
    // A window too small for the picture puts it 3 pixels in; a resize centres again.
    f.window->resize(420, 400);
    QTest::qWait(20);
    QCOMPARE(image->pos(), QPoint(3, 3));
    // 新建 clears the chart, and the picture goes with it.
    f.prompter.answers.enqueue(Answer::Yes);
    QTest::mouseClick(ChartInput<QPushButton>(f.window.get(), "BtoNew"), Qt::LeftButton);
    QVERIFY(!f.window->ChartShown());
    QVERIFY(!image->isVisible());
  }

  void clicksOnThePictureReachTheEngine() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    const QImage plain = f.window->ChartImage().copy();
    const auto& table = f.window->Engine().ImageState().table;
    QVERIFY(table.IsSet());
    const QPoint cell(table.left + table.columnWidth / 2, table.top + table.textHeight + 2 * table.rowGap + 1);
    QTest::mousePress(f.Find<QLabel>("ImgPan"), Qt::LeftButton, {}, cell);
    QTest::mouseRelease(f.Find<QLabel>("ImgPan"), Qt::LeftButton, {}, cell);
    QCOMPARE(f.window->Engine().Selection().column, 0);
    QCOMPARE(f.window->Engine().Selection().band, 0);
    QVERIFY(f.window->ChartImage() != plain);
    QVERIFY(f.Find<QLabel>("ImgPan")->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
            f.window->ChartImage().convertToFormat(QImage::Format_RGB32));
  }

  void chartFontStepsRedrawTheChart() {
    MainWindowFixture f;
    const QSize start = f.window->ChartImage().size();
    f.window->MenuAction(QStringLiteral("N9"))->trigger();  // no chart: nothing happens
    QCOMPARE(f.window->ChartImage().size(), start);
    QVERIFY(f.Pai());
    f.window->MenuAction(QStringLiteral("N9"))->trigger();
    QVERIFY(f.window->ChartShown());
    QVERIFY(f.window->ChartImage().width() > start.width());
    QCOMPARE(f.window->Engine().ImageFontSize(), 13.0);
    f.window->MenuAction(QStringLiteral("N10"))->trigger();
    f.window->MenuAction(QStringLiteral("N10"))->trigger();
    QCOMPARE(f.window->Engine().ImageFontSize(), 11.0);
    f.Close();
    QCOMPARE(quorin::base::IniFile(f.folder.Dat(QStringLiteral("init.ini")).toStdString()).ReadFloat("Img", "size", 0), 11.0);
  }

  void settingsDialogFromTheMenuDecidesTheNextChart() {
    MainWindowFixture f;
    f.SetMoment(2024, 6, 1, 12, 0);
    QVERIFY(f.Pai());
    QVERIFY(!f.AnalysisText().contains(QStringLiteral("真太阳时")));
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<quorin::ui::TFrmSet*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      Named<QComboBox>(dialog, "CboDate")->setCurrentIndex(1);
      Named<QPushButton>(dialog, "BitBtn1")->click();
    });
    f.window->MenuAction(QStringLiteral("OmenuSet"))->trigger();
    QCOMPARE(quorin::base::IniFile(f.folder.Dat(QStringLiteral("set.ini")).toStdString()).ReadInteger("set", "idate", 0), 1);
    QVERIFY(f.Pai());
    QVERIFY(f.AnalysisText().contains(QStringLiteral("真太阳时")));
  }

  void timeBasisChangesTheHeader() {
    MainWindowFixture f;
    f.SetMoment(2024, 6, 1, 12, 0);
    quorin::testing::ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"),
                                30);  // 新疆: far west, hours from Beijing time
    QVERIFY(f.Pai());
    const QString beijing = f.AnalysisText();
    QVERIFY(!beijing.contains(QStringLiteral("真太阳时")));
    quorin::base::IniFile set(f.folder.Dat(QStringLiteral("set.ini")).toStdString());
    QVERIFY(set.WriteInteger("set", "idate", 1));
    QVERIFY(f.Pai());
    QVERIFY(f.AnalysisText().contains(QStringLiteral("真太阳时")));
    QVERIFY(set.WriteInteger("set", "idate", 2));
    QVERIFY(f.Pai());
    QVERIFY(f.AnalysisText().contains(QStringLiteral("地方时")));
  }
};

QTEST_MAIN(ChartWorkflowTest)
#include "chart_workflow_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The search page: start values, ready patterns, clearing, the digit and dragon
// dialogs, searching with its messages, and the double-click on a result.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "chart/quorin_day.h"
#include "chart/search.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "support/search_driver.h"
#include "ui/clock.h"
#include "ui/frm_more_input.h"
#include "ui/frm_num_combin.h"
#include "ui/search_page.h"

using quorin::chart::MQuorinDay;
using quorin::testing::ChooseLine;
using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::SearchPage;

namespace {

// The five check lists, in the page's order.
const QStringList kCheckLists{QStringLiteral("ChkGuaQi"), QStringLiteral("ChkGuaYun"), QStringLiteral("ChkAdd"),
                              QStringLiteral("ChkAvoid"), QStringLiteral("ChkCondTwo")};

QStringList Ticked(const QListWidget* list) {
  QStringList ticked;
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->checkState() == Qt::Checked) ticked << list->item(i)->text();
  }
  return ticked;
}

struct Page {
  Page() {
    engine.SetSettingsPath("/nonexistent/set.ini");
    page = std::make_unique<SearchPage>(engine);
    page->resize(900, 700);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
  }
  template <typename T>
  T* Control(const char* name) const {
    return Named<T>(page.get(), QString::fromLatin1(name));
  }
  QListWidget* List(const char* name) const { return Control<QListWidget>(name); }
  QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
  QComboBox* Box(const char* name) const { return Control<QComboBox>(name); }
  QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }
  QListWidget* Results() const { return List("ListSearch"); }
  QProgressBar* Progress() const { return Control<QProgressBar>("ProgSearch"); }
  void Tick(const char* list, int row) const { List(list)->item(row)->setCheckState(Qt::Checked); }
  QStringList AllTicked() const {
    QStringList all;
    for (const QString& name : kCheckLists) all << Ticked(Named<QListWidget>(page.get(), name));
    return all;
  }
  // 查找 over a hundred years, and the wait for its first lines.
  void StartCentury() const {
    Control<QRadioButton>("RbtRange")->click();
    Edit("LedtFromYear")->setText(QStringLiteral("1950"));
    Edit("LedtToYear")->setText(QStringLiteral("2049"));
    Button("BtnSearch")->click();
    QTRY_VERIFY(Results()->count() > 0);
  }
  // 查找, and the wait for the search's end; false when it did not end in time.
  bool Search() const {
    QSignalSpy ended(page.get(), &SearchPage::SearchEnded);
    QTest::mouseClick(Button("BtnSearch"), Qt::LeftButton);
    return ended.count() > 0 || ended.wait(60000);
  }

  MQuorinDay engine;
  std::unique_ptr<SearchPage> page;
};

}  // namespace

class SearchPageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }
  void cleanup() { quorin::ui::SetClock({}); }

  // Before 立春 the year searched is still the previous one.
  void startsOnTheCurrentPillarYear() {
    ScriptedPrompter prompter;
    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 1, 10), QTime(9, 30)); });
    Page p;
    QCOMPARE(p.Edit("LedtStartYear")->text(), QStringLiteral("2025"));
    QCOMPARE(p.Edit("LedtYearS")->text(), QStringLiteral("1996"));
    QCOMPARE(p.Box("CboJiCond")->currentText(), QStringLiteral("【现成吉格】"));
    QCOMPARE(p.Box("CboJiCond")->count(), 7);
    QCOMPARE(p.Box("CboShanS")->currentText(), QStringLiteral("壬山"));
    QCOMPARE(p.Box("CboGuaS")->currentIndex(), 0);
    QVERIFY(p.AllTicked().isEmpty());
    QCOMPARE(p.page->Request().dragonMountain, std::int16_t(-1));
    QVERIFY(prompter.shown.isEmpty());

    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 2, 4), QTime(12, 0)); });
    Page after;
    QCOMPARE(after.Edit("LedtStartYear")->text(), QStringLiteral("2026"));
  }

  void readyPatternReplacesTheTicks() {
    ScriptedPrompter prompter;
    Page p;
    for (const char* list : {"ChkGuaQi", "ChkGuaYun", "ChkAvoid"}) {
      p.Tick(list, 0);
      p.Tick(list, 3);
    }
    p.page->Request().qiDigits = {{1, 3, 0, 0, 0, 0}, 2, true};
    p.Edit("LedtStartYear")->setText(QStringLiteral("2030"));
    ChooseLine(p.Box("CboShanS"), 13);
    p.Box("CboGuaS")->setCurrentIndex(1);

    ChooseLine(p.Box("CboJiCond"), 2);
    QCOMPARE(p.AllTicked(), QStringList{QStringLiteral("卦气合十")});
    QCOMPARE(p.page->Request().qiDigits.count, std::uint8_t(0));
    QCOMPARE(p.page->Request().qiConditionCount, std::uint8_t(1));
    QCOMPARE(p.Edit("LedtStartYear")->text(), QStringLiteral("2030"));
    QCOMPARE(p.Box("CboShanS")->currentIndex(), 13);
    QCOMPARE(p.Box("CboGuaS")->currentIndex(), 1);
    QCOMPARE(prompter.LastText(), QStringLiteral("点击“查找”按钮就可以找到相应的吉课了！"));

    ChooseLine(p.Box("CboJiCond"), 6);
    QCOMPARE(p.AllTicked(), QStringList{QStringLiteral("卦运相通")});

    ChooseLine(p.Box("CboJiCond"), 0);
    QCOMPARE(prompter.LastText(), QStringLiteral("可以直接点击某个吉格，不用选择查找条件！"));
    QCOMPARE(p.AllTicked(), QStringList{QStringLiteral("卦运相通")});
  }

  void clearingAsksFirst() {
    ScriptedPrompter prompter;
    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 5, 1), QTime(9, 30)); });
    Page p;
    p.Tick("ChkAdd", 2);
    p.page->Request().dragonMountain = 4;
    p.Edit("LedtStartYear")->setText(QStringLiteral("1999"));
    prompter.answers.enqueue(quorin::ui::Answer::No);
    p.Control<QToolButton>("BtoClearSearch")->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("确定要清空输入的查找条件吗？"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("清空条件"));
    QCOMPARE(Ticked(p.List("ChkAdd")), QStringList{QStringLiteral("主命纳入")});
    prompter.answers.enqueue(quorin::ui::Answer::Yes);
    p.Control<QToolButton>("BtoClearSearch")->click();
    QVERIFY(p.AllTicked().isEmpty());
    QCOMPARE(p.page->Request().dragonMountain, std::int16_t(-1));
    QCOMPARE(p.Edit("LedtStartYear")->text(), QStringLiteral("2026"));
    QCOMPARE(prompter.unexpected, 0);
  }

  void searchFillsTheListAndReports() {
    ScriptedPrompter prompter;
    Page p;
    p.Edit("LedtStartYear")->setText(QStringLiteral("2023"));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(p.Search());
    qInfo() << "one year, every moment listed:" << timer.elapsed() << "ms";
    QCOMPARE(p.Results()->count(), 4380);
    QCOMPARE(p.Results()->item(0)->text(), QStringLiteral("1：2023年01月01日00时"));
    QCOMPARE(p.Progress()->maximum(), 366);
    QCOMPARE(p.Progress()->value(), 366);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("共找到4380条日课，双击直接查看日课！"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找日课"));
    QVERIFY(p.Button("BtnSearch")->isEnabled());

    // 一卦纯清 with the mountain: eight moments in 2023 for 丑山, none for 子山.
    ChooseLine(p.Box("CboJiCond"), 1);
    p.Tick("ChkAdd", 3);
    p.List("ChkAdd")->setCurrentRow(3);
    ChooseLine(p.Box("CboShanS"), 3);
    QVERIFY(p.Search());
    QCOMPARE(p.Results()->count(), 8);
    QCOMPARE(p.List("ChkAdd")->currentRow(), -1);
    QVERIFY(p.page->Request().includeMountain);
    ChooseLine(p.Box("CboShanS"), 1);
    QVERIFY(p.Search());
    QCOMPARE(p.Results()->count(), 0);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("没有找到符合条件的日课，请改变查找条件。"));
  }

  // 显示差一条的日课: 一卦纯清 for 子山 finds nothing in 2023; the near misses follow, each naming
  // its condition, and the message counts them. Unticked, the search is as before.
  void nearMissesFollowTheMatches() {
    ScriptedPrompter prompter;
    Page p;
    p.Edit("LedtStartYear")->setText(QStringLiteral("2023"));
    ChooseLine(p.Box("CboJiCond"), 1);
    p.Tick("ChkAdd", 3);
    ChooseLine(p.Box("CboShanS"), 1);
    p.Control<QCheckBox>("ChkNearMisses")->click();
    QVERIFY(p.Search());
    QVERIFY(p.Control<QCheckBox>("ChkNearMisses")->isChecked());
    QVERIFY(p.page->Request().nearMisses);
    const int near = p.Results()->count();
    QVERIFY(near > 0);
    for (int row = 0; row < near; ++row) {
      QVERIFY2(p.Results()->item(row)->text().contains(QStringLiteral("　差：卦")), qPrintable(p.Results()->item(row)->text()));
    }
    QVERIFY(p.Results()->item(0)->text().startsWith(QStringLiteral("1：2023年")));
    QCOMPARE(prompter.shown.last().text,
             QStringLiteral("共找到0条日课，另有%1条差一条的日课列在后面，双击直接查看日课！").arg(near));
    p.Control<QCheckBox>("ChkNearMisses")->click();
    QVERIFY(p.Search());
    QCOMPARE(p.Results()->count(), 0);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("没有找到符合条件的日课，请改变查找条件。"));
  }

  void yearErrorsStopTheSearch() {
    ScriptedPrompter prompter;
    Page p;
    const auto before = p.page->Request();
    p.Edit("LedtStartYear")->setText(QStringLiteral("0"));
    p.Button("BtnSearch")->click();
    QVERIFY(!p.page->Searching());
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找年份错误"));
    QVERIFY(prompter.shown.last().text.startsWith(QStringLiteral("查找年份必须在-4713到9999年之间")));
    QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Warning);
    QCOMPARE(p.Results()->count(), 0);
    p.Edit("LedtYearS")->setText(QStringLiteral("abc"));
    p.Button("BtnSearch")->click();
    QVERIFY(!p.page->Searching());
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("年份错误"));
    QVERIFY(prompter.shown.last().text.startsWith(QStringLiteral("主命年份必须在-4713到9999年之间")));
    QVERIFY(p.page->Request() == before);
  }

  // Years BC: the fields show them as users write them, the request holds them astronomically.
  void yearsBeforeOurEraKeepTheirNumbering() {
    ScriptedPrompter prompter;
    Page p;
    p.Edit("LedtStartYear")->setText(QStringLiteral("-120"));
    p.Edit("LedtYearS")->setText(QStringLiteral("-150"));
    ChooseLine(p.Box("CboJiCond"), 1);
    QVERIFY(p.Search());
    QCOMPARE(p.page->Request().year, -119);
    QCOMPARE(p.page->Request().masterYear, -149);
    QCOMPARE(p.Edit("LedtStartYear")->text(), QStringLiteral("-120"));
    QVERIFY(p.Results()->count() > 0);
    QVERIFY(p.Results()->item(0)->text().contains(QStringLiteral("：-119年")));
  }

  void digitDialogsEditTheGroups() {
    ScriptedPrompter prompter;
    Page p;
    QString caption;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<quorin::ui::TFrmNumCombin*>(QApplication::activeModalWidget());
      QVERIFY(d);
      caption = d->windowTitle();
      Named<QLineEdit>(d, QStringLiteral("EdtNum"))->setText(QStringLiteral("1 3"));
      Named<QPushButton>(d, QStringLiteral("BitBtn1"))->click();
    });
    p.Button("Button3")->click();
    QCOMPARE(caption, QStringLiteral("卦运组合"));
    QCOMPARE(p.page->Request().yunDigits.count, std::uint8_t(2));
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<quorin::ui::TFrmNumCombin*>(QApplication::activeModalWidget());
      QVERIFY(d);
      caption = d->windowTitle();
      Named<QPushButton>(d, QStringLiteral("BitBtn2"))->click();
    });
    p.Button("Button2")->click();
    QCOMPARE(caption, QStringLiteral("卦气组合"));
    QCOMPARE(p.page->Request().qiDigits.count, std::uint8_t(0));
    // The digit group counts as one more 卦运 condition.
    p.Tick("ChkGuaYun", 5);
    p.Edit("LedtStartYear")->setText(QStringLiteral("2024"));
    QVERIFY(p.Search());
    QCOMPARE(p.page->Request().yunConditionCount, std::uint8_t(2));
    QCOMPARE(p.page->Request().qiConditionCount, std::uint8_t(0));
  }

  void dragonDialogEditsOnlyWhenAccepted() {
    ScriptedPrompter prompter;
    Page p;
    const auto choose = [](bool accept) {
      auto* d = qobject_cast<quorin::ui::TFrmMoreInput*>(QApplication::activeModalWidget());
      QVERIFY(d);
      auto* dragon = Named<QCheckBox>(d, QStringLiteral("ChkLong"));
      QVERIFY(!dragon->isChecked());
      dragon->click();
      ChooseLine(Named<QComboBox>(d, QStringLiteral("CboLongShan")), 5);
      Named<QComboBox>(d, QStringLiteral("CboLongGua"))->setCurrentIndex(1);
      Named<QCheckBox>(d, QStringLiteral("ChkXiang"))->setChecked(true);
      Named<QPushButton>(d, accept ? QStringLiteral("BitBtn1") : QStringLiteral("BitBtn2"))->click();
    };
    QTimer::singleShot(0, [&] { choose(false); });
    p.Button("Button4")->click();
    QCOMPARE(p.page->Request().dragonMountain, std::int16_t(-1));
    QTimer::singleShot(0, [&] { choose(true); });
    p.Button("Button4")->click();
    QCOMPARE(p.page->Request().dragonMountain, std::int16_t(5));
    QCOMPARE(p.page->Request().dragonGua, std::int16_t(1));
    QCOMPARE(p.page->Request().waterMountain, std::int16_t(-1));
    QVERIFY(p.page->Request().showFacing);
  }

  // From 20 December 1 BC to 10 January AD 1, typed as users write years; the year
  // field is left alone.
  void rangeSearchCoversItsDays() {
    ScriptedPrompter prompter;
    Page p;
    QVERIFY(!p.Edit("LedtFromYear")->isEnabled());
    QTest::mouseClick(p.Control<QRadioButton>("RbtRange"), Qt::LeftButton);
    QVERIFY(p.Control<QRadioButton>("RbtRange")->isChecked());
    QVERIFY(p.Edit("LedtFromYear")->isEnabled());
    QVERIFY(!p.Edit("LedtStartYear")->isEnabled());
    p.Edit("LedtFromYear")->setText(QStringLiteral("-1"));
    p.Box("CboFromMonth")->setCurrentIndex(11);
    p.Box("CboFromDay")->setCurrentIndex(19);
    p.Edit("LedtToYear")->setText(QStringLiteral("1"));
    p.Box("CboToMonth")->setCurrentIndex(0);
    p.Box("CboToDay")->setCurrentIndex(9);
    QVERIFY(!p.Button("BtnExport")->isEnabled());
    QVERIFY(p.Search());
    QCOMPARE(p.Results()->count(), 22 * 12);
    QCOMPARE(p.Results()->item(0)->text(), QStringLiteral("1：0年12月20日00时"));
    QCOMPARE(p.Results()->item(22 * 12 - 1)->text(), QStringLiteral("264：1年01月10日22时"));
    QCOMPARE(p.Progress()->maximum(), 22);
    QCOMPARE(p.Progress()->value(), 22);
    QCOMPARE(prompter.LastText(), QStringLiteral("共找到264条日课，双击直接查看日课！"));
    QVERIFY(p.Button("BtnExport")->isEnabled());

    // The pillars and 卦气 digits of a line show as its tooltip.
    QListWidget* results = p.Results();
    const QRect rect = results->visualItemRect(results->item(0));
    QHelpEvent help(QEvent::ToolTip, rect.center(), results->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(results->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QStringLiteral("　卦气 年")));
    QToolTip::hideText();

    // A reversed range and a range over 100 years are refused with their reasons.
    p.Edit("LedtToYear")->setText(QStringLiteral("-2"));
    p.Button("BtnSearch")->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("结束日期不能早于起始日期"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找日期错误"));
    p.Edit("LedtToYear")->setText(QStringLiteral("101"));
    p.Button("BtnSearch")->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("查找范围不能超过100年"));
    QCOMPARE(results->count(), 264);
  }

  // 取消 during a hundred years stops the search; the lines found so far stay and are counted,
  // the message says the search was stopped, and the progress bar stays where it stopped.
  // The page answers while it searches.
  void cancelKeepsWhatWasFound() {
    ScriptedPrompter prompter;
    Page p;
    QSignalSpy ended(p.page.get(), &SearchPage::SearchEnded);
    p.StartCentury();
    QVERIFY(p.Button("BtnCancel")->isEnabled());
    QVERIFY(!p.Button("BtnSearch")->isEnabled());
    QVERIFY(!p.Button("BtnExport")->isEnabled());
    ChooseLine(p.Box("CboShanS"), 2);  // the page answers meanwhile
    QTest::mouseClick(p.Button("BtnCancel"), Qt::LeftButton);
    QVERIFY(ended.wait(10000));
    QCOMPARE(ended.at(0).at(1).toBool(), true);
    const int found = p.Results()->count();
    QCOMPARE(ended.at(0).at(0).toInt(), found);
    QVERIFY(found < 100 * 365 * 12);
    QCOMPARE(found % 12, 0);  // whole days
    QCOMPARE(prompter.LastText(), QStringLiteral("已取消，保留了已找到的%1条日课，双击直接查看日课！").arg(found));
    QCOMPARE(p.Progress()->value(), found / 12);  // the days searched
    QVERIFY(p.Progress()->value() < p.Progress()->maximum());
    QVERIFY(!p.Button("BtnCancel")->isEnabled());
    QVERIFY(p.Button("BtnSearch")->isEnabled());
  }

  // Closing the window during a long search stops it at once, without a message.
  void closingStopsTheSearch() {
    ScriptedPrompter prompter;
    Page p;
    QSignalSpy ended(p.page.get(), &SearchPage::SearchEnded);
    p.StartCentury();
    QVERIFY(p.page->Searching());
    p.page->close();
    QVERIFY(!p.page->Searching());
    QCOMPARE(ended.count(), 1);
    QTest::qWait(100);
    QVERIFY(prompter.shown.isEmpty());
    QVERIFY(p.Button("BtnSearch")->isEnabled());
  }

  // 导出结果...: ".csv" appended, replacing asks first, a failed write names the file.
  void exportWritesTheResults() {
    ScriptedPrompter prompter;
    Page p;
    QTemporaryDir dir;
    p.Edit("LedtStartYear")->setText(QStringLiteral("2023"));
    ChooseLine(p.Box("CboJiCond"), 1);
    QVERIFY(p.Search());
    QCOMPARE(p.Results()->count(), 8);
    const QString path = dir.filePath(QStringLiteral("吉课"));
    prompter.files.enqueue(quorin::ui::FileChoice{path, 0});
    p.Button("BtnExport")->click();
    QFile file(path + QStringLiteral(".csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), 9);
    QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("\r\n1,2023-")));

    prompter.files.enqueue(quorin::ui::FileChoice{path + QStringLiteral(".csv"), 0});
    prompter.answers.enqueue(quorin::ui::Answer::No);
    QFile::resize(path + QStringLiteral(".csv"), 3);
    p.Button("BtnExport")->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("%1.csv 已存在，要替换它吗？").arg(path));
    QCOMPARE(QFileInfo(path + QStringLiteral(".csv")).size(), 3);
    prompter.files.enqueue(quorin::ui::FileChoice{path, 0});
    prompter.answers.enqueue(quorin::ui::Answer::Yes);
    p.Button("BtnExport")->click();
    QCOMPARE(QFileInfo(path + QStringLiteral(".csv")).size(), bytes.size());

    prompter.files.enqueue(quorin::ui::FileChoice{QStringLiteral("/nonexistent/folder/x"), 0});
    p.Button("BtnExport")->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("无法写入文件：/nonexistent/folder/x.csv"));
    QCOMPARE(prompter.unexpected, 0);
  }

  // A double-clicked line hands over the moment of the result it holds, whatever its text.
  void doubleClickHandsTheMomentOver() {
    ScriptedPrompter prompter;
    Page p;
    QVERIFY(quorin::testing::SearchDays(p.page.get(), -1, 12, 31, 1, 1, 1));
    QListWidget* results = p.Results();
    QCOMPARE(results->count(), 24);
    results->item(23)->setText(QStringLiteral("3：2012年03月05日07时"));
    QSignalSpy spy(p.page.get(), &SearchPage::ChartRequested);
    quorin::testing::DoubleClickLine(results, results->model()->index(1, 0));
    quorin::testing::DoubleClickLine(results, results->model()->index(23, 0));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0), (QVariantList{0, 12, 31, 2}));
    QCOMPARE(spy.at(1), (QVariantList{1, 1, 1, 22}));
  }

  void selectedLinesAreComparedSideBySide() {
    ScriptedPrompter prompter;
    Page p;
    QVERIFY(quorin::testing::SearchOneDay(p.page.get(), 2025, 5, 1));
    QListWidget* results = p.Results();
    QPushButton* compare = p.Button("BtnCompare");
    QVERIFY(!compare->isEnabled());
    for (const int row : {4, 1}) results->item(row)->setSelected(true);
    QVERIFY(compare->isEnabled());
    for (const int row : {5, 6, 7}) results->item(row)->setSelected(true);
    QVERIFY(!compare->isEnabled());  // five are more than fit side by side
    for (const int row : {5, 6, 7}) results->item(row)->setSelected(false);
    compare->click();
    QTableWidget* table = quorin::testing::ShownComparisonTable();
    QVERIFY(table);
    // In the list's order, whatever the order of selecting.
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("2025-05-01 02:05"));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("2025-05-01 08:05"));
    table->window()->close();
  }
};

QTEST_MAIN(SearchPageTest)
#include "search_page_test.moc"

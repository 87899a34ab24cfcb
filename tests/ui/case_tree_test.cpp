// SPDX-License-Identifier: GPL-3.0-or-later
// The case tree: the newest cases at start, the background loading pass of
// "显示全部课例" and closing during it, display styles and orders, refreshing.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <numeric>

#include "base/ini_file.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "chart/candidate_comparison.h"
#include "ui/frm_edit_class.h"
#include "ui/program_objects.h"

using quorin::TRecordData;
using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::Named;
using quorin::testing::SampleCase;
using quorin::testing::WhenDialogShows;
using quorin::ui::Answer;

namespace {

std::vector<int> Descending(int from, int to) {
  std::vector<int> ids(static_cast<std::size_t>(from - to + 1));
  std::iota(ids.rbegin(), ids.rend(), to);
  return ids;
}

QStringList TopLevelTexts(const QTreeWidget& tree) {
  QStringList texts;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) texts << tree.topLevelItem(i)->text(0);
  return texts;
}

}  // namespace

class CaseTreeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  // The shipped layout shows a whole node, in both display styles: a name of four
  // characters, a leap lunar month and a five-character year included.
  void shippedTreeWidthShowsWholeNodes_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("by category") << 0;
    QTest::newRow("list") << 1;
  }
  void shippedTreeWidthShowsWholeNodes() {
    QFETCH(int, style);
    CaseWindowFixture f(false);
    const QString ini = f.folder().Dat(QStringLiteral("init.ini"));
    QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/init.ini"), ini));
    QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(quorin::base::IniFile(ini.toStdString()).WriteInteger("tree", "showStyle", style));
    TRecordData leap = SampleCase("欧阳某某", -4712, 12, 29, 23, 59);
    leap.isLunar = leap.isLeapMonth = true;
    f.StoreCases({SampleCase("某人", 2026, 12, 9, 13, 57), leap});
    f.Show();
    QTreeWidget* tree = f.treeWidget();
    tree->expandAll();
    // The widest line the tree would need, indentation and icon included.
    const int needed = static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(0);
    QVERIFY2(needed <= tree->viewport()->width(),
             qPrintable(QStringLiteral("%1 needed, %2 shown").arg(needed).arg(tree->viewport()->width())));
  }

  void startShowsTheNewestThousandAndTheApproximateCount() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    QCOMPARE(f.tree().CaseIds(), Descending(1500, 501));
    QCOMPARE(f.tree().CaseCount(), 1000);
    QCOMPARE(f.remarks()->toPlainText(),
             QStringLiteral("输入自己的评语:\n\n案例总数大致：1500个，可以在树表上按鼠标右键，点击“显示全部卦例“"));
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Quorin 2.3 "));
    QVERIFY(!f.tree().Loading());
  }

  void showingAllLoadsEveryCaseWhileTheWindowKeepsWorking() {
    CaseWindowFixture f(false);
    f.StoreManyCases(20000);  // enough that the loading lasts a good many turns of the event loop
    f.Show();
    int ticksWhileLoading = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticksWhileLoading += f.tree().Loading() ? 1 : 0; });
    ticker.start(0);
    f.window().MenuAction(QStringLiteral("pop_s_full"))->trigger();
    QVERIFY(f.tree().Loading());
    QCOMPARE(f.window().windowTitle(), QStringLiteral("数据处理....."));
    QVERIFY(f.WaitForTree());
    ticker.stop();
    QVERIFY(ticksWhileLoading > 1);
    QCOMPARE(f.tree().CaseIds(), Descending(20000, 1));
    QCOMPARE(f.tree().CaseCount(), 20000);
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Quorin 2.3 "));
    QVERIFY(f.prompter().shown.isEmpty());
  }

  void showingAllOfNothingSaysSo() {
    CaseWindowFixture f;
    f.main.Trigger("pop_s_full");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("没有记录，无从查找。"));
    QVERIFY(!f.tree().Loading());
  }

  void closingDuringTheLoadingPassStopsItFirst() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    f.main.Trigger("pop_s_full");
    f.prompter().answers.enqueue(Answer::No);  // 是否停止显示案例？
    f.window().close();
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.prompter().shown.at(0).text, QStringLiteral("是否停止显示案例？"));
    QCOMPARE(f.prompter().shown.at(0).caption, QStringLiteral("显示案例"));
    QCOMPARE(f.prompter().LastText(), QStringLiteral("请等待案例加载完毕！"));
    f.prompter().answers << Answer::Yes << Answer::Yes;  // stop it / 确定要关闭软件吗？
    f.window().close();
    QVERIFY(!f.window().isVisible());
    QVERIFY(!f.tree().Loading());
    QCOMPARE(f.prompter().LastText(), QStringLiteral("确定要关闭软件吗？"));
    QTest::qWait(20);  // a result that was on its way is dropped
    QCOMPARE(f.tree().CaseCount(), 1000);
  }

  // The caption counts the cases still to read; a close then stops the loading at once and
  // leaves the tree as it was.
  void closingWhileTheCaptionCountsStopsTheLoadingAtOnce() {
    CaseWindowFixture f(false);
    f.StoreManyCases(20000);
    f.Show();
    bool asked = false;
    bool closedAtOnce = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      bool counting = false;
      f.window().windowTitle().toInt(&counting);
      if (!asked && counting && f.tree().Loading()) {
        asked = true;
        f.prompter().answers << Answer::Yes << Answer::Yes;
        f.window().close();
        closedAtOnce = !f.window().isVisible() && !f.tree().Loading();
      }
    });
    closer.start(0);
    f.main.Trigger("pop_s_full");
    QVERIFY(QTest::qWaitFor([&] { return !f.window().isVisible(); }, 10000));
    closer.stop();
    QVERIFY(asked);
    QVERIFY(closedAtOnce);
    QTest::qWait(20);  // a result that was on its way is dropped
    QCOMPARE(f.tree().CaseCount(), 1000);
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Quorin 2.3 "));
    QCOMPARE(f.prompter().Texts(), QStringList({QStringLiteral("是否停止显示案例？"), QStringLiteral("确定要关闭软件吗？")}));
  }

  void stylesAndOrdersRebuildTheSameCases() {
    CaseWindowFixture f(false);
    TRecordData noSuchDay = SampleCase("吴", 2024, 5, 1, 0, 0, "开业");
    noSuchDay.isLunar = true;  // 2024 has no leap month
    noSuchDay.isLeapMonth = true;
    f.StoreCases({SampleCase("周", 2001, 1, 1, 0, 0, "求财"), SampleCase("赵", 2003, 1, 1, 0, 0, "开业"),
                  SampleCase("张", 2003, 1, 1, 0, 0, "自选", false), SampleCase("Ann", 2002, 1, 1, 0, 0, "开业"),
                  noSuchDay});
    f.Show();
    // Newest id first, nothing ordered: the lunar case without a date is there.
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({5, 4, 3, 2, 1}));

    f.TriggerAndWait("N14");  // 时间降序（近-远）
    QCOMPARE(f.tree().Sort(), 1);
    // Equal moments: the smaller surname key first (赵 before 张 in the surname table).
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 3, 4, 1}));
    QCOMPARE(f.tree().CaseCount(), 4);

    f.TriggerAndWait("N11");  // 分类显示
    QCOMPARE(f.tree().ShowStyle(), 0);
    // Listed categories in list order, then a category the list lacks.
    QCOMPARE(TopLevelTexts(*f.treeWidget()),
             QStringList({QStringLiteral("开业"), QStringLiteral("求财"), QStringLiteral("自选")}));
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 4, 1, 3}));
    QCOMPARE(f.tree().CategoryNodes().size(), std::size_t(3));

    f.TriggerAndWait("az1");  // 姓氏升序（a-z）
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({4, 2, 1, 3}));

    f.TriggerAndWait("N16");  // 无: the order of the last tree
    f.TriggerAndWait("N12");
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({4, 2, 1, 3}));
    QVERIFY(f.tree().CategoryNodes().empty());
    f.TriggerAndWait("N24");  // 刷新显示
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({4, 2, 1, 3}));

    // The choice is kept in init.ini at close.
    f.Close();
    QCOMPARE(f.folder().ReadGbk(QStringLiteral("dat/init.ini")).find("showStyle=1") != std::string::npos, true);
    QVERIFY(f.folder().ReadGbk(QStringLiteral("dat/init.ini")).find("sort=0") != std::string::npos);
  }

  // Another program (the command line, a second window) adds cases while this window is open.
  void theTreeReadsTheLibraryAsItIsNowAndPlacesANewCaseByItsOrder() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("周", 2001, 1, 1, 0, 0), SampleCase("赵", 2003, 1, 1, 0, 0)});
    f.Show();
    f.TriggerAndWait("N14");  // 时间降序（近-远）
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 1}));
    auto addElsewhere = [](const TRecordData& r) {
      quorin::cases::MRecordBase other;
      QVERIFY(other.Open(quorin::ui::CaseDatabasePath()));
      TRecordData copy = r;
      QVERIFY(other.Insert(copy));
    };
    addElsewhere(SampleCase("钱", 2002, 1, 1, 0, 0));
    f.TriggerAndWait("N24");  // 刷新显示
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 3, 1}));
    addElsewhere(SampleCase("孙", 2000, 1, 1, 0, 0));
    f.TriggerAndWait("pop_s_full");  // 显示全部课例
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 3, 1, 4}));
    QCOMPARE(f.tree().CaseCount(), 4);
    // A case saved here goes where the order puts it, not at the end.
    QVERIFY(f.PaiFor(QStringLiteral("李"), 2002, 6, 1, 0, 0));
    f.SaveNew(QStringLiteral("开业"));
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 5, 3, 1, 4}));
  }

  // Pictures for a person to look at: written only when QUORIN_SCREENSHOT_DIR names a
  // folder (run under a real X server, e.g. xvfb-run).
  void selectedCasesAreComparedWhenTheyShareTheirRequest() {
    CaseWindowFixture f(false);
    TRecordData lunar = SampleCase("张三", 2024, 1, 15, 10, 30);
    lunar.isLunar = true;  // the Gregorian 2024-02-24
    f.StoreCases({SampleCase("张三", 2024, 3, 15, 10, 30), lunar, SampleCase("李四", 2024, 3, 16, 10, 30, "开业", false)});
    f.Show();
    QVERIFY(f.SelectCase(1));
    f.tree().FindCaseNode(2)->setSelected(true);
    QCOMPARE(f.tree().SelectedCaseIds().size(), 2u);
    f.main.Trigger("pop_compare");
    QTableWidget* table = quorin::testing::ShownComparisonTable();
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 3);
    QStringList captions{table->horizontalHeaderItem(1)->text(), table->horizontalHeaderItem(2)->text()};
    captions.sort();
    QCOMPARE(captions, (QStringList{QStringLiteral("2024-02-24 10:30"), QStringLiteral("2024-03-15 10:30")}));
    table->window()->close();

    // Another person's case does not line up with them.
    f.tree().FindCaseNode(3)->setSelected(true);
    f.main.Trigger("pop_compare");
    QCOMPARE(f.prompter().shown.last().text, QString::fromUtf8(quorin::chart::kCasesDifferRefusal));
  }

  void screenshots() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    CaseWindowFixture f(false);
    f.folder().WriteGbk(QStringLiteral("dat/init.ini"),
                        "[window]\r\nleft=0\r\ntop=0\r\nwidth=1180\r\nheight=760\r\ntreewid=260\r\n"
                        "[tree]\r\nshowStyle=0\r\nsort=1\r\n");
    const char* names[] = {"张伟", "王芳", "李娜", "赵敏", "刘强", "陈静", "杨磊", "黄军", "周洋", "吴勇", "欧阳明", "Smith"};
    const char* categories[] = {"开业", "进宅", "结婚", "求财", "阳宅风水"};
    std::vector<TRecordData> cases;
    for (int i = 0; i < 24; ++i) {
      TRecordData r = SampleCase(names[i % 12], 1990 + i, 1 + i % 12, 1 + i, i % 24, (i * 7) % 60, categories[i % 5], i % 3 != 0);
      r.isLunar = i % 4 == 0;
      cases.push_back(r);
    }
    f.StoreCases(cases);
    f.Show();
    ChartInput<QLineEdit>(&f.window(), "EdtName")->setText(QStringLiteral("张伟"));
    QVERIFY(f.treeWidget()->topLevelItemCount() > 0);
    f.treeWidget()->expandAll();
    QVERIFY(f.OpenCase(24));
    QTest::qWait(150);
    QVERIFY(f.window().grab().save(folder + QStringLiteral("/cases_by_category.png")));
    f.TriggerAndWait("N12");
    QVERIFY(f.SelectCase(24));
    QTest::qWait(150);
    QVERIFY(f.window().grab().save(folder + QStringLiteral("/cases_as_list.png")));
    WhenDialogShows<quorin::ui::TFrmEditClass>([folder](quorin::ui::TFrmEditClass& d) {
      Named<QListWidget>(&d, "LstClass")->setCurrentRow(1);
      QTest::qWait(150);
      d.grab().save(folder + QStringLiteral("/category_editor.png"));
      d.close();
    });
    f.main.Trigger("N23");
  }
};

QTEST_MAIN(CaseTreeTest)
#include "case_tree_test.moc"

// The case tree: the newest cases at start, the background loading pass of
// "显示全部课例" and closing during it, display styles and orders, refreshing.
#include <QAction>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <numeric>

#include "support/case_window_fixture.h"

using quorin::TRecordData;
using quorin::testing::CaseWindowFixture;
using quorin::testing::SampleCase;
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

  void startShowsTheNewestThousandAndTheApproximateCount() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    QCOMPARE(f.window().CurrentCaseIds(), Descending(1500, 501));
    QCOMPARE(f.window().CaseCount(), 1000);
    QCOMPARE(f.window().RedtPingYu->toPlainText(),
             QStringLiteral("输入自己的评语:\n\n案例总数大致：1500个，可以在树表上按鼠标右键，点击“显示全部卦例“"));
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Quorin 2.3 "));
    QVERIFY(!f.window().TreeLoading());
  }

  void showingAllLoadsEveryCaseWhileTheWindowKeepsWorking() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    int ticksWhileLoading = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticksWhileLoading += f.window().TreeLoading() ? 1 : 0; });
    ticker.start(0);
    f.window().MenuAction(QStringLiteral("pop_s_full"))->trigger();
    QVERIFY(f.window().TreeLoading());
    QCOMPARE(f.window().windowTitle(), QStringLiteral("数据处理....."));
    QVERIFY(f.WaitForTree());
    ticker.stop();
    QVERIFY(ticksWhileLoading > 1);
    QCOMPARE(f.window().CurrentCaseIds(), Descending(1500, 1));
    QCOMPARE(f.window().CaseCount(), 1500);
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Quorin 2.3 "));
    QVERIFY(f.prompter().shown.isEmpty());
  }

  void showingAllOfNothingSaysSo() {
    CaseWindowFixture f;
    f.window().ShowAllCasesClick();
    QCOMPARE(f.prompter().LastText(), QStringLiteral("没有记录，无从查找。"));
    QVERIFY(!f.window().TreeLoading());
  }

  void closingDuringTheLoadingPassStopsItFirst() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    f.window().ShowAllCasesClick();
    f.prompter().answers.enqueue(Answer::No);  // 是否停止显示案例？
    f.window().close();
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.prompter().shown.at(0).text, QStringLiteral("是否停止显示案例？"));
    QCOMPARE(f.prompter().shown.at(0).caption, QStringLiteral("显示案例"));
    QCOMPARE(f.prompter().LastText(), QStringLiteral("请等待案例加载完毕！"));
    f.prompter().answers << Answer::Yes << Answer::Yes;  // stop it / 确定要关闭软件吗？
    f.window().close();
    QVERIFY(!f.window().isVisible());
    QVERIFY(!f.window().TreeLoading());
    QCOMPARE(f.prompter().LastText(), QStringLiteral("确定要关闭软件吗？"));
    QTest::qWait(20);  // a result that was on its way is dropped
    QCOMPARE(f.window().CaseCount(), 1000);
  }

  void closingWhileTheNodesArePlacedWaitsForThemToStop() {
    CaseWindowFixture f(false);
    f.StoreManyCases(1500);
    f.Show();
    bool asked = false;
    QTimer closer;
    // The caption counts down while the nodes are placed: close then.
    QObject::connect(&closer, &QTimer::timeout, [&] {
      bool counting = false;
      f.window().windowTitle().toInt(&counting);
      if (!asked && counting && f.window().TreeLoading()) {
        asked = true;
        f.prompter().answers << Answer::Yes << Answer::Yes;
        f.window().close();
      }
    });
    closer.start(0);
    f.window().ShowAllCasesClick();
    QVERIFY(QTest::qWaitFor([&] { return !f.window().isVisible(); }, 10000));
    closer.stop();
    QVERIFY(asked);
    QVERIFY(!f.window().TreeLoading());
    QVERIFY(f.window().CaseCount() < 1500);
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
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({5, 4, 3, 2, 1}));

    f.window().MenuAction(QStringLiteral("N14"))->trigger();  // 时间降序（近-远）
    QCOMPARE(f.window().TreeSort(), 1);
    // Equal moments: the smaller surname key first (赵 before 张 in the surname table).
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({2, 3, 4, 1}));
    QCOMPARE(f.window().CaseCount(), 4);

    f.window().MenuAction(QStringLiteral("N11"))->trigger();  // 分类显示
    QCOMPARE(f.window().TreeShowStyle(), 0);
    // Listed categories in list order, then a category the list lacks.
    QCOMPARE(TopLevelTexts(*f.window().Tree),
             QStringList({QStringLiteral("开业"), QStringLiteral("求财"), QStringLiteral("自选")}));
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({2, 4, 1, 3}));
    QCOMPARE(f.window().CategoryNodes().size(), std::size_t(3));

    f.window().MenuAction(QStringLiteral("az1"))->trigger();  // 姓氏升序（a-z）
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({4, 2, 1, 3}));

    f.window().MenuAction(QStringLiteral("N16"))->trigger();  // 无: the order of the last tree
    f.window().MenuAction(QStringLiteral("N12"))->trigger();
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({4, 2, 1, 3}));
    QVERIFY(f.window().CategoryNodes().empty());
    f.window().MenuAction(QStringLiteral("N24"))->trigger();  // 刷新显示
    QCOMPARE(f.window().CurrentCaseIds(), std::vector<int>({4, 2, 1, 3}));

    // The choice is kept in init.ini at close.
    f.Close();
    QCOMPARE(f.folder().ReadGbk(QStringLiteral("dat/init.ini")).find("showStyle=1") != std::string::npos, true);
    QVERIFY(f.folder().ReadGbk(QStringLiteral("dat/init.ini")).find("sort=0") != std::string::npos);
  }
};

QTEST_MAIN(CaseTreeTest)
#include "case_tree_test.moc"

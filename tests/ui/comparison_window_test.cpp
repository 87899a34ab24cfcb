// SPDX-License-Identifier: GPL-3.0-or-later
// The window of 对比所选日课: one column per candidate, a row per thing compared with the differing
// ones shaded and their labels bold; 保存PDF... writes the page, and a refused comparison only says why.
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/comparison_window.h"

using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::ComparisonWindow;
using quorin::ui::ShowComparisonWindow;

namespace {

// 张三 (1980) on 子山, column 1, at 未知地; the ticked 冲山 tells 合 from 差.
quorin::TRecordData Request() {
  quorin::TRecordData r;
  r.ResetRecord();
  r.year = 2024;
  r.month = 3;
  r.day = 15;
  r.hour = 10;
  r.minute = 30;
  r.longitude = 120;
  r.latitude = 30;
  r.addrName = "未知地";
  r.name = "张三";
  r.male = true;
  r.masterYear = 1980;
  r.mountain = 1;
  r.mountainGua = 1;
  r.dragonMountain = r.waterMountain = -1;
  return r;
}

quorin::chart::CandidateComparison Compare(const std::vector<quorin::calendar::CivilDateTime>& moments) {
  quorin::chart::MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  quorin::chart::SearchRequest conditions = quorin::chart::ClearedSearchRequest(2024);
  conditions.avoid[quorin::chart::kAvoidClashMountainFlag] = true;
  return quorin::chart::CompareCandidates(engine, Request(), conditions, moments);
}

}  // namespace

class ComparisonWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void fillsTheTableAndShadesTheDifferingRows() {
    // 2024-03-15 戊寅 day, 2024-03-27 庚寅 day, 2024-03-19 壬午 day: only the last clashes 子山 (午).
    const auto comparison = Compare({{2024, 3, 15, 10, 30}, {2024, 3, 27, 10, 30}, {2024, 3, 19, 10, 30}});
    QCOMPARE(QString::fromStdString(comparison.refusal), QString());
    ScriptedPrompter prompter;
    ComparisonWindow* window = ShowComparisonWindow(nullptr, comparison, Request());
    QVERIFY(window);
    QVERIFY(window->isVisible() && !window->isModal());
    auto* table = Named<QTableWidget>(window, "GridCompare");
    QCOMPARE(table->columnCount(), 4);  // the labels, then one column per candidate
    QCOMPARE(table->rowCount(), static_cast<int>(comparison.rows.size()));
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("2024-03-27 10:30"));

    int clash = -1, mountain = -1;
    for (int r = 0; r < table->rowCount(); ++r) {
      const QString label = table->item(r, 0)->text();
      if (label == QStringLiteral("冲山")) clash = r;
      if (label == QStringLiteral("山 卦气/卦运")) mountain = r;
    }
    QVERIFY(clash >= 0 && mountain >= 0);
    QCOMPARE(table->item(clash, 1)->text(), QStringLiteral("合"));
    QCOMPARE(table->item(clash, 3)->text(), QStringLiteral("差"));
    QVERIFY(table->item(clash, 0)->font().bold());
    QVERIFY(table->item(clash, 2)->background().style() != Qt::NoBrush);
    QVERIFY(!table->item(mountain, 0)->font().bold());
    QCOMPARE(table->item(mountain, 2)->background().style(), Qt::NoBrush);

    // 保存PDF... through its button: the page is written where the dialog said, ".pdf" added.
    QTemporaryDir dir;
    prompter.files.enqueue(quorin::ui::FileChoice{dir.filePath(QStringLiteral("对比")), 0});
    QTest::mouseClick(Named<QPushButton>(window, "BtnComparePdf"), Qt::LeftButton);
    QFile pdf(dir.filePath(QStringLiteral("对比.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QCOMPARE(prompter.LastText(), QStringLiteral("已保存！"));

    QTest::mouseClick(Named<QPushButton>(window, "BtnCompareClose"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
  }

  void aRefusedComparisonOpensNoWindow() {
    ScriptedPrompter prompter;
    const auto comparison = Compare({{2024, 3, 15, 10, 30}});
    QVERIFY(!ShowComparisonWindow(nullptr, comparison, Request()));
    QCOMPARE(prompter.LastText(), QString::fromStdString(comparison.refusal));
  }
};

QTEST_MAIN(ComparisonWindowTest)
#include "comparison_window_test.moc"

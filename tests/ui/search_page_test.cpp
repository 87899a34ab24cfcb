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
#include <QTemporaryDir>
#include <QToolTip>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "chart/quorin_day.h"
#include "chart/search.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/clock.h"
#include "ui/search_page.h"
#include "ui/frm_more_input.h"
#include "ui/frm_num_combin.h"

using quorin::chart::MQuorinDay;
using quorin::testing::ScriptedPrompter;
using quorin::ui::SearchPage;

namespace {

QStringList Ticked(const QListWidget* list) {
  QStringList ticked;
  for (int i = 0; i < list->count(); ++i) {
    if (SearchPage::IsTicked(list, i)) ticked << list->item(i)->text();
  }
  return ticked;
}

QStringList AllTicked(const SearchPage& page) {
  QStringList all;
  for (const QListWidget* list : {page.ChkGuaQi, page.ChkGuaYun, page.ChkAdd, page.ChkAvoid, page.ChkCondTwo}) {
    all << Ticked(list);
  }
  return all;
}

struct Page {
  Page() {
    engine.SetSettingsPath("/nonexistent/set.ini");
    page = std::make_unique<SearchPage>(engine);
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
    QCOMPARE(p.page->LedtStartYear->text(), QStringLiteral("2025"));
    QCOMPARE(p.page->LedtYearS->text(), QStringLiteral("1996"));
    QCOMPARE(p.page->CboJiCond->currentText(), QStringLiteral("【现成吉格】"));
    QCOMPARE(p.page->CboJiCond->count(), 7);
    QCOMPARE(p.page->CboShanS->currentText(), QStringLiteral("壬山"));
    QCOMPARE(p.page->CboGuaS->currentIndex(), 0);
    QVERIFY(AllTicked(*p.page).isEmpty());
    QCOMPARE(p.page->Request().dragonMountain, std::int16_t(-1));
    QVERIFY(prompter.shown.isEmpty());

    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 2, 4), QTime(12, 0)); });
    Page after;
    QCOMPARE(after.page->LedtStartYear->text(), QStringLiteral("2026"));
  }

  void readyPatternReplacesTheTicks() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    for (QListWidget* list : {page.ChkGuaQi, page.ChkGuaYun, page.ChkAvoid}) {
      SearchPage::SetTicked(list, 0, true);
      SearchPage::SetTicked(list, 3, true);
    }
    page.Request().qiDigits = {{1, 3, 0, 0, 0, 0}, 2, true};
    page.LedtStartYear->setText(QStringLiteral("2030"));
    page.CboShanS->setCurrentIndex(13);
    page.CboShanSChange();
    page.CboGuaS->setCurrentIndex(1);

    page.CboJiCond->setCurrentIndex(2);
    page.CboJiCondClick();
    QCOMPARE(AllTicked(page), QStringList{QStringLiteral("卦气合十")});
    QCOMPARE(page.Request().qiDigits.count, std::uint8_t(0));
    QCOMPARE(page.Request().qiConditionCount, std::uint8_t(1));
    QCOMPARE(page.LedtStartYear->text(), QStringLiteral("2030"));
    QCOMPARE(page.CboShanS->currentIndex(), 13);
    QCOMPARE(page.CboGuaS->currentIndex(), 1);
    QCOMPARE(prompter.LastText(), QStringLiteral("点击“查找”按钮就可以找到相应的吉课了！"));

    page.CboJiCond->setCurrentIndex(6);
    page.CboJiCondClick();
    QCOMPARE(AllTicked(page), QStringList{QStringLiteral("卦运相通")});

    page.CboJiCond->setCurrentIndex(0);
    page.CboJiCondClick();
    QCOMPARE(prompter.LastText(), QStringLiteral("可以直接点击某个吉格，不用选择查找条件！"));
    QCOMPARE(AllTicked(page), QStringList{QStringLiteral("卦运相通")});
  }

  void clearingAsksFirst() {
    ScriptedPrompter prompter;
    quorin::ui::SetClock([] { return QDateTime(QDate(2026, 5, 1), QTime(9, 30)); });
    Page p;
    SearchPage& page = *p.page;
    SearchPage::SetTicked(page.ChkAdd, 2, true);
    page.Request().dragonMountain = 4;
    page.LedtStartYear->setText(QStringLiteral("1999"));
    prompter.answers.enqueue(quorin::ui::Answer::No);
    page.BtoClearSearch->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("确定要清空输入的查找条件吗？"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("清空条件"));
    QCOMPARE(Ticked(page.ChkAdd), QStringList{QStringLiteral("主命纳入")});
    prompter.answers.enqueue(quorin::ui::Answer::Yes);
    page.BtoClearSearch->click();
    QVERIFY(AllTicked(page).isEmpty());
    QCOMPARE(page.Request().dragonMountain, std::int16_t(-1));
    QCOMPARE(page.LedtStartYear->text(), QStringLiteral("2026"));
    QCOMPARE(prompter.unexpected, 0);
  }

  void searchFillsTheListAndReports() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    page.LedtStartYear->setText(QStringLiteral("2023"));
    QElapsedTimer timer;
    timer.start();
    page.BtnSearch->click();
    qInfo() << "one year, every moment listed:" << timer.elapsed() << "ms";
    QCOMPARE(page.ListSearch->count(), 4380);
    QCOMPARE(page.ListSearch->item(0)->text(), QStringLiteral("1：2023年01月01日00时"));
    QCOMPARE(page.ProgSearch->maximum(), 366);
    QCOMPARE(page.ProgSearch->value(), 366);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("共找到4380条日课，双击直接查看日课！"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找日课"));
    QVERIFY(page.BtnSearch->isEnabled());

    // 一卦纯清 with the mountain: eight moments in 2023 for 丑山, none for 子山.
    page.CboJiCond->setCurrentIndex(1);
    page.CboJiCondClick();
    SearchPage::SetTicked(page.ChkAdd, 3, true);
    page.ChkAdd->setCurrentRow(3);
    page.CboShanS->setCurrentIndex(3);
    page.CboShanSChange();
    page.BtnSearch->click();
    QCOMPARE(page.ListSearch->count(), 8);
    QCOMPARE(page.ChkAdd->currentRow(), -1);
    QVERIFY(page.Request().includeMountain);
    page.CboShanS->setCurrentIndex(1);
    page.CboShanSChange();
    page.BtnSearch->click();
    QCOMPARE(page.ListSearch->count(), 0);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("没有找到符合条件的日课，请改变查找条件。"));
  }

  void yearErrorsStopTheSearch() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    page.show();
    const auto before = page.Request();
    page.LedtStartYear->setText(QStringLiteral("0"));
    page.BtnSearch->click();
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找年份错误"));
    QVERIFY(prompter.shown.last().text.startsWith(QStringLiteral("查找年份必须在-4713到9999年之间")));
    QCOMPARE(prompter.shown.last().icon, quorin::ui::Icon::Warning);
    QCOMPARE(page.ListSearch->count(), 0);
    page.LedtYearS->setText(QStringLiteral("abc"));
    page.BtnSearch->click();
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("年份错误"));
    QVERIFY(prompter.shown.last().text.startsWith(QStringLiteral("主命年份必须在-4713到9999年之间")));
    QVERIFY(page.Request() == before);
  }

  // Years BC: the fields show them as users write them, the request holds them astronomically.
  void yearsBeforeOurEraKeepTheirNumbering() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    page.LedtStartYear->setText(QStringLiteral("-120"));
    page.LedtYearS->setText(QStringLiteral("-150"));
    page.CboJiCond->setCurrentIndex(1);
    page.CboJiCondClick();
    page.BtnSearch->click();
    QCOMPARE(page.Request().year, -119);
    QCOMPARE(page.Request().masterYear, -149);
    QCOMPARE(page.LedtStartYear->text(), QStringLiteral("-120"));
    QVERIFY(page.ListSearch->count() > 0);
    QVERIFY(page.ListSearch->item(0)->text().contains(QStringLiteral("：-119年")));
  }

  void digitDialogsEditTheGroups() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    QString caption;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<quorin::ui::TFrmNumCombin*>(QApplication::activeModalWidget());
      QVERIFY(d);
      caption = d->windowTitle();
      d->EdtNum->setText(QStringLiteral("1 3"));
      d->BitBtn1->click();
    });
    page.Button3->click();
    QCOMPARE(caption, QStringLiteral("卦运组合"));
    QCOMPARE(page.Request().yunDigits.count, std::uint8_t(2));
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<quorin::ui::TFrmNumCombin*>(QApplication::activeModalWidget());
      QVERIFY(d);
      caption = d->windowTitle();
      d->BitBtn2->click();
    });
    page.Button2->click();
    QCOMPARE(caption, QStringLiteral("卦气组合"));
    QCOMPARE(page.Request().qiDigits.count, std::uint8_t(0));
    // The digit group counts as one more 卦运 condition.
    SearchPage::SetTicked(page.ChkGuaYun, 5, true);
    page.LedtStartYear->setText(QStringLiteral("2024"));
    page.BtnSearch->click();
    QCOMPARE(page.Request().yunConditionCount, std::uint8_t(2));
    QCOMPARE(page.Request().qiConditionCount, std::uint8_t(0));
  }

  void dragonDialogEditsOnlyWhenAccepted() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<quorin::ui::TFrmMoreInput*>(QApplication::activeModalWidget());
      QVERIFY(d);
      QVERIFY(!d->ChkLong->isChecked());
      d->ChkLong->click();
      d->CboLongShan->setCurrentIndex(5);
      d->CboLongShanChange();
      d->ChkXiang->setChecked(true);
      d->BitBtn2->click();
    });
    page.Button4->click();
    QCOMPARE(page.Request().dragonMountain, std::int16_t(-1));
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<quorin::ui::TFrmMoreInput*>(QApplication::activeModalWidget());
      QVERIFY(d);
      d->ChkLong->click();
      d->CboLongShan->setCurrentIndex(5);
      d->CboLongShanChange();
      d->CboLongGua->setCurrentIndex(1);
      d->ChkXiang->setChecked(true);
      d->BitBtn1->click();
    });
    page.Button4->click();
    QCOMPARE(page.Request().dragonMountain, std::int16_t(5));
    QCOMPARE(page.Request().dragonGua, std::int16_t(1));
    QCOMPARE(page.Request().waterMountain, std::int16_t(-1));
    QVERIFY(page.Request().showFacing);
  }

  // From 20 December 1 BC to 10 January AD 1, typed as users write years; the year
  // field is left alone.
  void rangeSearchCoversItsDays() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    QVERIFY(!page.LedtFromYear->isEnabled());
    QTest::mouseClick(page.RbtRange, Qt::LeftButton);
    QVERIFY(page.RbtRange->isChecked());
    QVERIFY(page.LedtFromYear->isEnabled());
    QVERIFY(!page.LedtStartYear->isEnabled());
    page.LedtFromYear->setText(QStringLiteral("-1"));
    page.CboFromMonth->setCurrentIndex(11);
    page.CboFromDay->setCurrentIndex(19);
    page.LedtToYear->setText(QStringLiteral("1"));
    page.CboToMonth->setCurrentIndex(0);
    page.CboToDay->setCurrentIndex(9);
    QVERIFY(!page.BtnExport->isEnabled());
    page.BtnSearch->click();
    QCOMPARE(page.ListSearch->count(), 22 * 12);
    QCOMPARE(page.ListSearch->item(0)->text(), QStringLiteral("1：0年12月20日00时"));
    QCOMPARE(page.ListSearch->item(22 * 12 - 1)->text(), QStringLiteral("264：1年01月10日22时"));
    QCOMPARE(page.ProgSearch->maximum(), 22);
    QCOMPARE(page.ProgSearch->value(), 22);
    QCOMPARE(prompter.LastText(), QStringLiteral("共找到264条日课，双击直接查看日课！"));
    QVERIFY(page.BtnExport->isEnabled());

    // The pillars and 卦气 digits of a line show as its tooltip.
    const QRect rect = page.ListSearch->visualItemRect(page.ListSearch->item(0));
    page.resize(900, 700);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QHelpEvent help(QEvent::ToolTip, rect.center(), page.ListSearch->viewport()->mapToGlobal(rect.center()));
    QApplication::sendEvent(page.ListSearch->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QStringLiteral("　卦气 年")));
    QToolTip::hideText();

    // A reversed range and a range over 100 years are refused with their reasons.
    page.LedtToYear->setText(QStringLiteral("-2"));
    page.BtnSearch->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("结束日期不能早于起始日期"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("查找日期错误"));
    page.LedtToYear->setText(QStringLiteral("101"));
    page.BtnSearch->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("查找范围不能超过100年"));
    QCOMPARE(page.ListSearch->count(), 264);
  }

  // 取消 during a hundred years stops the search; the lines found so far stay and are counted,
  // the message says the search was stopped, and the progress bar stays where it stopped.
  void cancelKeepsWhatWasFound() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    page.RbtRange->click();
    page.LedtFromYear->setText(QStringLiteral("1950"));
    page.LedtToYear->setText(QStringLiteral("2049"));
    bool enabledWhileSearching = false;
    QTimer::singleShot(0, [&] {
      enabledWhileSearching = page.BtnCancel->isEnabled() && !page.BtnSearch->isEnabled();
      QTest::mouseClick(page.BtnCancel, Qt::LeftButton);
    });
    page.BtnSearch->click();
    QVERIFY(enabledWhileSearching);
    const int found = page.ListSearch->count();
    QVERIFY(found > 0);
    QVERIFY(found < 100 * 365 * 12);
    QCOMPARE(found % 12, 0);  // whole days
    QCOMPARE(prompter.LastText(), QStringLiteral("已取消，保留了已找到的%1条日课，双击直接查看日课！").arg(found));
    QCOMPARE(page.ProgSearch->value(), found / 12);  // the days searched
    QVERIFY(page.ProgSearch->value() < page.ProgSearch->maximum());
    QVERIFY(!page.BtnCancel->isEnabled());
    QVERIFY(page.BtnSearch->isEnabled());
  }

  // 导出结果...: ".csv" appended, replacing asks first, a failed write names the file.
  void exportWritesTheResults() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    QTemporaryDir dir;
    page.LedtStartYear->setText(QStringLiteral("2023"));
    page.CboJiCond->setCurrentIndex(1);
    page.CboJiCondClick();
    page.BtnSearch->click();
    QCOMPARE(page.ListSearch->count(), 8);
    const QString path = dir.filePath(QStringLiteral("吉课"));
    prompter.files.enqueue(quorin::ui::FileChoice{path, 0});
    page.BtnExport->click();
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
    page.BtnExport->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("%1.csv 已存在，要替换它吗？").arg(path));
    QCOMPARE(QFileInfo(path + QStringLiteral(".csv")).size(), 3);
    prompter.files.enqueue(quorin::ui::FileChoice{path, 0});
    prompter.answers.enqueue(quorin::ui::Answer::Yes);
    page.BtnExport->click();
    QCOMPARE(QFileInfo(path + QStringLiteral(".csv")).size(), bytes.size());

    prompter.files.enqueue(quorin::ui::FileChoice{QStringLiteral("/nonexistent/folder/x"), 0});
    page.BtnExport->click();
    QCOMPARE(prompter.shown.last().text, QStringLiteral("无法写入文件：/nonexistent/folder/x.csv"));
    QCOMPARE(prompter.unexpected, 0);
  }

  void doubleClickHandsTheMomentOver() {
    ScriptedPrompter prompter;
    Page p;
    SearchPage& page = *p.page;
    QSignalSpy spy(&page, &SearchPage::ChartRequested);
    page.ListSearchDblClick();
    QCOMPARE(spy.count(), 0);
    page.ListSearch->addItem(QStringLiteral("3：2012年03月05日07时"));
    page.ListSearch->addItem(QStringLiteral("4：-120年11月09日22时"));
    page.ListSearch->setCurrentRow(0);
    page.ListSearchDblClick();
    page.ListSearch->setCurrentRow(1);
    page.ListSearchDblClick();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0), (QVariantList{2012, 3, 5, 7}));
    QCOMPARE(spy.at(1), (QVariantList{-120, 11, 9, 22}));
  }
};

QTEST_MAIN(SearchPageTest)
#include "search_page_test.moc"

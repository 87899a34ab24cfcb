// SPDX-License-Identifier: GPL-3.0-or-later
// The persons after 主命: the list under 主命 in the chart inputs and on the search page, its
// dialog, the chart they appear in, the case that keeps them and the search that judges them.
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/persons_editor.h"
#include "ui/search_page.h"

using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::Named;
using quorin::testing::SampleCase;
using quorin::testing::WhenDialogShows;
using quorin::ui::PersonDialog;

namespace {

// Answers the next person dialog with these inputs and 确定.
void AnswerPerson(const QString& name, bool male, const QString& year) {
  WhenDialogShows<PersonDialog>([=](PersonDialog& d) {
    Named<QLineEdit>(&d, "EdtPersonName")->setText(name);
    Named<QRadioButton>(&d, male ? "RdoPersonMale" : "RdoPersonFemale")->setChecked(true);
    Named<QLineEdit>(&d, "EdtPersonYear")->setText(year);
    d.accept();
  });
}

QStringList Lines(const QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

}  // namespace

class PersonsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void theChartInputsListChartsAndKeepsThePersons() {
    CaseWindowFixture f;
    auto* list = ChartInput<QListWidget>(&f.window(), "ListPersons");
    auto* add = ChartInput<QToolButton>(&f.window(), "BtoAddPerson");
    AnswerPerson(QStringLiteral("配偶"), false, QStringLiteral("1982"));
    add->click();
    AnswerPerson(QStringLiteral("长子"), true, QStringLiteral("2010"));
    add->click();
    QCOMPARE(Lines(list), (QStringList{QStringLiteral("配偶　女　1982"), QStringLiteral("长子　男　2010")}));

    // 修改 the selected one; a dialog without a name refuses to close.
    list->setCurrentRow(1);
    WhenDialogShows<PersonDialog>([&](PersonDialog& d) {
      Named<QLineEdit>(&d, "EdtPersonName")->clear();
      d.accept();
      QVERIFY(d.isVisible());
      QCOMPARE(f.prompter().shown.last().text, QStringLiteral("请输入称谓或姓名！"));
      Named<QLineEdit>(&d, "EdtPersonName")->setText(QStringLiteral("长 女"));
      Named<QRadioButton>(&d, "RdoPersonFemale")->setChecked(true);
      d.accept();
    });
    ChartInput<QToolButton>(&f.window(), "BtoEditPerson")->click();
    QCOMPARE(Lines(list).last(), QStringLiteral("长女　女　2010"));

    QVERIFY(f.PaiFor(QStringLiteral("张三"), 2025, 5, 1, 10, 5));
    const QString text = f.main.AnalysisText();
    QVERIFY2(text.contains(QStringLiteral("其他人：配偶（1982年-女命）、长女（2010年-女命）")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral("配偶和日课关系：")) && text.contains(QStringLiteral("长女和山家关系：")));

    // The saved case reopens with them, after the list was emptied.
    f.SaveNew(QStringLiteral("临时保存"));
    QCOMPARE(quorin::testing::StoredCase(1).otherPersons.size(), 2u);
    list->setCurrentRow(0);
    ChartInput<QToolButton>(&f.window(), "BtoRemovePerson")->click();
    list->setCurrentRow(0);
    ChartInput<QToolButton>(&f.window(), "BtoRemovePerson")->click();
    QCOMPARE(list->count(), 0);
    QVERIFY(!ChartInput<QToolButton>(&f.window(), "BtoRemovePerson")->isEnabled());
    QVERIFY(f.OpenCase(1));
    QCOMPARE(Lines(list), (QStringList{QStringLiteral("配偶　女　1982"), QStringLiteral("长女　女　2010")}));
  }

  void atMostSevenPersonsAfterTheMaster() {
    CaseWindowFixture f;
    auto* add = ChartInput<QToolButton>(&f.window(), "BtoAddPerson");
    for (int i = 1; i <= 7; ++i) {
      AnswerPerson(QStringLiteral("人%1").arg(i), true, QStringLiteral("1990"));
      add->click();
    }
    QCOMPARE(ChartInput<QListWidget>(&f.window(), "ListPersons")->count(), 7);
    QVERIFY(!add->isEnabled());
  }

  void theSearchPageJudgesItsPersonsAndPassesThemToTheChart() {
    CaseWindowFixture f;
    quorin::ui::SearchPage* page = f.main.Search();
    f.main.Pages()->setCurrentWidget(page);
    AnswerPerson(QStringLiteral("配偶"), false, QStringLiteral("1982"));
    Named<QToolButton>(page, "BtoAddPersonS")->click();
    QCOMPARE(Lines(Named<QListWidget>(page, "ListPersonsS")), QStringList{QStringLiteral("配偶　女　1982")});
    QVERIFY(quorin::testing::SearchOneDay(page, 2025, 5, 1));
    QCOMPARE(page->Request().otherPersons.size(), 1u);
    QCOMPARE(page->Request().otherPersons[0].masterYear, 1982);
    // A result opens its chart with the page's persons.
    QListWidget* results = quorin::testing::ResultList(page);
    QVERIFY(results->count() > 0);
    quorin::testing::DoubleClickLine(results, results->model()->index(0, 0));
    QVERIFY(f.main.AnalysisText().contains(QStringLiteral("配偶和日课关系：")));
    QCOMPARE(Lines(ChartInput<QListWidget>(&f.window(), "ListPersons")), QStringList{QStringLiteral("配偶　女　1982")});
  }
};

QTEST_MAIN(PersonsTest)
#include "persons_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The case commands of the main window: saving as a new or the open case, opening,
// deleting, new case and moving, with the remark files they keep.
#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <sqlite3.h>

#include "base/files.h"
#include "cases/remark_files.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "ui/frm_edit_class.h"
#include "ui/program_files.h"
#include "ui/program_objects.h"

using quorin::TRecordData;
using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::Named;
using quorin::testing::SampleCase;
using quorin::testing::StoredCase;
using quorin::testing::TypeRemark;
using quorin::testing::WhenDialogShows;
using quorin::ui::Answer;

namespace {

const QString kWait = QStringLiteral("请等待案例加载完毕！");

std::string FileText(const std::string& path) { return quorin::base::ReadFileBytes(path).value_or(""); }

bool RunSql(const char* sql) {
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open(quorin::ui::CaseDatabasePath().c_str(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

}  // namespace

class CaseCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void savingWithoutAChartIsRefused() {
    CaseWindowFixture f;
    ChartInput<QPushButton>(&f.window(), "SbtoSave")->click();
    QCOMPARE(f.prompter().LastText(), QStringLiteral("请先排一个正确的盘后再保存"));
    QCOMPARE(f.prompter().shown.last().caption, QStringLiteral("提示"));
    QCOMPARE(f.store.GetPrimaryId(), 0);
    QCOMPARE(f.treeWidget()->topLevelItemCount(), 0);
  }

  void newCaseIsStoredThenRewrittenUnderItsId() {
    CaseWindowFixture f;
    QVERIFY(f.PaiFor(QStringLiteral("张三"), 2020, 1, 2, 8, 5));
    f.remarks()->setPlainText(QStringLiteral("it's 好日子"));
    f.SaveNew(QStringLiteral("开业"));
    QVERIFY(f.window().CaseOpen());
    QCOMPARE(f.window().CurrentCaseId(), 1);
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存旧"));
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
    QCOMPARE(f.tree().CaseCount(), 1);
    QCOMPARE(f.window().MenuAction(QStringLiteral("pMenuRecord"))->text(), QStringLiteral("【 1 条案例】"));
    // The list display takes the node at the end of the top level.
    QCOMPARE(f.treeWidget()->topLevelItemCount(), 1);
    QCOMPARE(f.treeWidget()->topLevelItem(0)->text(0), QStringLiteral("张三     公2020-01-02 08:05 "));
    // The stored remark text loses its apostrophes; the remark file keeps them.
    TRecordData stored = StoredCase(1);
    QCOMPARE(stored.className, std::string("开业"));
    QCOMPARE(stored.remarkText, std::string("its 好日子"));
    const std::string remarkPath = f.window().CurrentRemarkPath();
    QCOMPARE(remarkPath, quorin::base::ProgramFolder() + "Orlune_f/" + stored.remarkFile + ".rtf");
    QVERIFY(FileText(remarkPath).find("it's") != std::string::npos);
    QVERIFY(!f.remarks()->document()->isModified());

    // The second save asks for the open case by its saved name and keeps the id.
    f.remarks()->setPlainText(QStringLiteral("改过的评语"));
    ChartInput<QLineEdit>(&f.window(), "EdtName")->setText(QStringLiteral("李四"));
    QVERIFY(f.main.Pai());
    f.prompter().Clear();
    f.prompter().answers.enqueue(Answer::Yes);
    ChartInput<QPushButton>(&f.window(), "SbtoSave")->click();
    QCOMPARE(f.prompter().Texts(),
             QStringList({QStringLiteral("要修改“张三”这条记录吗？"), QStringLiteral("已保存编辑后的案例。")}));
    QCOMPARE(f.store.GetPrimaryId(), 1);
    stored = StoredCase(1);
    QCOMPARE(stored.name, std::string("李四"));
    QCOMPARE(stored.remarkText, std::string("改过的评语"));
    QCOMPARE(f.window().SavedRecord().name, std::string("李四"));
    QVERIFY(f.treeWidget()->topLevelItem(0)->text(0).startsWith(QStringLiteral("李四 ")));
    QVERIFY(FileText(remarkPath).find("it's") == std::string::npos);
  }

  void twoSavesOfTheSameMomentGetDistinctRemarkFiles() {
    CaseWindowFixture f;
    QVERIFY(f.PaiFor(QStringLiteral("王五"), 2021, 6, 1, 9, 30));
    f.SaveNew(QStringLiteral("开业"));
    const std::string first = StoredCase(1).remarkFile;
    f.prompter().answers.enqueue(Answer::Yes);  // 确定要开始建立一个新案例吗?
    ChartInput<QPushButton>(&f.window(), "BtoNew")->click();
    QVERIFY(!f.window().CaseOpen());
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存新"));
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("输入自己的评语："));
    QVERIFY(!f.window().ChartShown());
    QVERIFY(f.main.Pai());
    f.SaveNew(QStringLiteral("开业"));
    QCOMPARE(f.window().CurrentCaseId(), 2);
    QCOMPARE(StoredCase(2).remarkFile, first + "_0");
  }

  void openingShowsTheCaseWithItsRemark() {
    CaseWindowFixture f(false);
    TRecordData old = SampleCase("古人", -119, 3, 4, 23, 10, "开业", false);
    old.masterYear = -150;
    old.remarkFile = "ancient";
    TRecordData noFile = SampleCase("今人", 2001, 5, 6, 7, 8);
    noFile.remarkFile = "missing";
    f.StoreCases({old, noFile});
    QDir().mkpath(QString::fromStdString(quorin::base::ProgramFolder() + "Orlune_f"));
    QVERIFY(quorin::cases::WriteRemarkFromPlainText(quorin::base::ProgramFolder() + "Orlune_f/ancient.rtf", "文件里的评语"));
    f.Show();

    QVERIFY(f.OpenCase(1));
    QCOMPARE(ChartInput<QLineEdit>(&f.window(), "EdtYear")->text(), QStringLiteral("-120"));
    QCOMPARE(ChartInput<QLineEdit>(&f.window(), "LedtZhuYear")->text(), QStringLiteral("-151"));
    QVERIFY(ChartInput<QRadioButton>(&f.window(), "Rdonv")->isChecked());
    QCOMPARE(ChartInput<QComboBox>(&f.window(), "cbos")->currentIndex(), 23);
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("文件里的评语"));
    QCOMPARE(f.window().CurrentRemarkPath(), quorin::base::ProgramFolder() + "Orlune_f/ancient.rtf");
    QVERIFY(f.window().CaseOpen());
    QVERIFY(f.window().ChartShown());
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存旧"));

    // Without its file the stored remark text is shown; the path is where saving writes.
    QVERIFY(f.OpenCase(2));
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("今人的评语"));
    QCOMPARE(f.window().CurrentRemarkPath(), quorin::base::ProgramFolder() + "Orlune_f/missing.rtf");
    QCOMPARE(f.window().CurrentCaseId(), 2);
  }

  void aModifiedRemarkIsSavedToItsOwnCaseBeforeAnotherOpens() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1), SampleCase("乙", 2001, 2, 2, 2, 2)});
    f.Show();
    QVERIFY(f.OpenCase(1));
    TypeRemark(f.remarks(), QStringLiteral("甲的新评语"));
    QVERIFY(f.SelectCase(2));
    f.prompter().Clear();
    f.prompter().answers << Answer::Yes << Answer::Yes;  // save it? / 要修改“甲”这条记录吗？
    f.main.Trigger("pop_ming_pai");
    QCOMPARE(f.prompter().Texts().value(0), QStringLiteral("当前记录文本已改变，要保存吗？"));
    QCOMPARE(StoredCase(1).remarkText, std::string("甲的新评语"));
    QCOMPARE(StoredCase(2).remarkText, std::string("乙的评语"));
    QCOMPARE(f.window().CurrentCaseId(), 2);
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("乙的评语"));
    QCOMPARE(f.prompter().unexpected, 0);
  }

  // When the changed remark cannot be saved (no chart shown after a refused 排盘),
  // closing, opening another case and "新建" stop instead of dropping it.
  void aRemarkThatCannotBeSavedStopsWhatWouldDropIt() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1), SampleCase("乙", 2001, 2, 2, 2, 2)});
    f.Show();
    QVERIFY(f.OpenCase(1));
    TypeRemark(f.remarks(), QStringLiteral("甲的新评语"));
    ChartInput<QLineEdit>(&f.window(), "EdtYear")->setText(QStringLiteral("0"));
    ChartInput<QPushButton>(&f.window(), "BtnPai")->click();  // refused: no chart is shown now
    const QString refused = QStringLiteral("请先排一个正确的盘后再保存");

    f.prompter().Clear();
    f.prompter().answers << Answer::Yes << Answer::Yes;  // close? / save?
    f.window().close();
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.prompter().LastText(), refused);

    QVERIFY(f.SelectCase(2));
    f.prompter().answers << Answer::Yes;  // save?
    f.main.Trigger("pop_ming_pai");
    QCOMPARE(f.prompter().LastText(), refused);
    QCOMPARE(f.window().CurrentCaseId(), 1);

    f.prompter().answers << Answer::Yes << Answer::Yes;  // new? / save?
    ChartInput<QPushButton>(&f.window(), "BtoNew")->click();
    QCOMPARE(f.prompter().LastText(), refused);
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("甲的新评语"));
    QVERIFY(f.remarks()->document()->isModified());
    QCOMPARE(f.prompter().unexpected, 0);
  }

  void deletingRemovesTheCaseThenItsRemarkFileAndNode() {
    CaseWindowFixture f;
    QVERIFY(f.PaiFor(QStringLiteral("甲"), 2010, 1, 1, 1, 1));
    f.SaveNew(QStringLiteral("开业"));
    const std::string openPath = f.window().CurrentRemarkPath();
    f.prompter().answers.enqueue(Answer::Yes);
    ChartInput<QPushButton>(&f.window(), "BtoNew")->click();
    QVERIFY(f.PaiFor(QStringLiteral("乙"), 2011, 1, 1, 1, 1));
    f.SaveNew(QStringLiteral("开业"));
    const std::string otherPath = f.window().CurrentRemarkPath();
    QVERIFY(quorin::base::FileExists(openPath) && quorin::base::FileExists(otherPath));

    // Case 1 is not open: its remark file is found through the store.
    QVERIFY(f.SelectCase(1));
    f.prompter().Clear();
    f.prompter().answers.enqueue(Answer::Yes);
    f.main.Trigger("pop_ming_delete");
    QCOMPARE(f.prompter().shown.first().text, QStringLiteral("确定要删除“甲”这个卦例吗？"));
    QCOMPARE(f.prompter().shown.first().defaultButton, Answer::No);
    QVERIFY(!quorin::base::FileExists(openPath));
    QVERIFY(!f.tree().FindCaseNode(1));
    QCOMPARE(f.tree().CaseCount(), 1);
    QVERIFY(f.window().CaseOpen());

    // A removal the store refuses keeps the case, its remark file and its node.
    QVERIFY(RunSql("CREATE TRIGGER keep BEFORE DELETE ON case_data BEGIN SELECT RAISE(ABORT, 'kept'); END;"));
    QVERIFY(f.SelectCase(2));
    f.prompter().Clear();
    f.prompter().answers << Answer::Yes << Answer::Yes;
    f.main.Trigger("pop_ming_delete");
    QCOMPARE(f.prompter().Texts().value(1), QStringLiteral("确定要删除当前正在查看的卦例吗？"));
    QCOMPARE(f.prompter().LastText(), QStringLiteral("无法删除案例！"));
    QVERIFY(quorin::base::FileExists(otherPath));
    QVERIFY(f.tree().FindCaseNode(2));
    QVERIFY(f.window().CaseOpen() && f.window().ChartShown());
    QCOMPARE(f.tree().CaseCount(), 1);

    // The open case: the file at the current remark path goes, and the window starts anew.
    QVERIFY(RunSql("DROP TRIGGER keep;"));
    f.prompter().answers << Answer::Yes << Answer::Yes;
    f.main.Trigger("pop_ming_delete");
    QVERIFY(!quorin::base::FileExists(otherPath));
    QVERIFY(!f.tree().FindCaseNode(2));
    QVERIFY(!f.window().CaseOpen() && !f.window().ChartShown());
    QVERIFY(f.main.ChartText()->toPlainText().isEmpty());
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存新"));
    QCOMPARE(f.tree().CaseCount(), 0);

    f.prompter().Clear();
    f.main.Trigger("pop_ming_delete");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("请先选择一个案例！"));
  }

  void aNewCategoryNodeIsAppendedInTheCategoryDisplay() {
    CaseWindowFixture f(false);
    f.folder().WriteGbk(QStringLiteral("dat/init.ini"), "[tree]\r\nshowStyle=0\r\n");
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1, "求财")});
    f.Show();
    QCOMPARE(f.treeWidget()->topLevelItemCount(), 1);
    QVERIFY(f.PaiFor(QStringLiteral("乙"), 2012, 3, 3, 3, 3));
    f.SaveNew(QStringLiteral("结婚"));
    QCOMPARE(f.treeWidget()->topLevelItemCount(), 2);
    QTreeWidgetItem* added = f.treeWidget()->topLevelItem(1);
    QCOMPARE(added->text(0), QStringLiteral("结婚"));
    QCOMPARE(added->childCount(), 1);
    QVERIFY(added->isExpanded());
    f.treeWidget()->setCurrentItem(added->child(0));
    QCOMPARE(f.tree().SelectedCaseId(), 2);
    f.treeWidget()->setCurrentItem(added);
    QCOMPARE(f.tree().SelectedCaseId(), -1);  // a category node carries no case
  }

  void movingOffersTheOtherCategoriesAndKeepsTheOpenCaseThere() {
    CaseWindowFixture f(false);
    f.folder().WriteGbk(QStringLiteral("dat/init.ini"), "[tree]\r\nshowStyle=0\r\n");
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "求财"),
                  SampleCase("丙", 2000, 1, 1, 1, 1, "结婚")});
    f.Show();
    QVERIFY(f.OpenCase(1));
    QCOMPARE(f.MoveTargets(), QStringList({QStringLiteral("结婚"), QStringLiteral("求财")}));
    f.MoveSelectedCaseTo(QStringLiteral("结婚"));
    QCOMPARE(StoredCase(1).className, std::string("结婚"));
    QCOMPARE(f.tree().FindCaseNode(1)->parent()->text(0), QStringLiteral("结婚"));
    QCOMPARE(f.tree().FindCaseNode(1)->parent()->childCount(), 2);
    // Saving the open case afterwards keeps it in its new category.
    f.prompter().answers.enqueue(Answer::Yes);
    ChartInput<QPushButton>(&f.window(), "SbtoSave")->click();
    QCOMPARE(StoredCase(1).className, std::string("结婚"));

    // The list display offers nothing.
    f.TriggerAndWait("N12");
    QVERIFY(f.SelectCase(2));
    QVERIFY(f.MoveTargets().isEmpty());
  }

  void theCategoryEditorReachesTheOpenCase() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "求财")});
    f.Show();
    QVERIFY(f.OpenCase(1));
    // Renamed: the next save of the open case keeps the new name.
    WhenDialogShows<quorin::ui::TFrmEditClass>([&f](quorin::ui::TFrmEditClass& d) {
      Named<QListWidget>(&d, "LstClass")->setCurrentRow(0);
      f.prompter().answers << Answer::Yes;
      f.prompter().inputs << QStringLiteral("新店");
      Named<QPushButton>(&d, "BtoRename")->click();
      Named<QPushButton>(&d, "Button6")->click();
    });
    f.TriggerAndWait("N23");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("改名完成！"));
    f.prompter().answers << Answer::Yes;
    ChartInput<QPushButton>(&f.window(), "SbtoSave")->click();
    QCOMPARE(StoredCase(1).className, std::string("新店"));
    // Deleted with its category: the chart stays and saves as a new case.
    WhenDialogShows<quorin::ui::TFrmEditClass>([&f](quorin::ui::TFrmEditClass& d) {
      Named<QListWidget>(&d, "LstClass")->setCurrentRow(0);
      f.prompter().answers << Answer::Yes;
      Named<QPushButton>(&d, "BtoDelete")->click();
      Named<QPushButton>(&d, "Button6")->click();
    });
    f.TriggerAndWait("N23");
    QVERIFY(!f.window().CaseOpen());
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存新"));
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2}));
    QCOMPARE(f.prompter().unexpected, 0);
  }

  void everyCaseCommandWaitsForTheLoadingPass() {
    CaseWindowFixture f(false);
    f.StoreManyCases(3000);
    f.Show();
    QVERIFY(f.SelectCase(3000));
    f.main.Trigger("pop_s_full");
    QVERIFY(f.tree().Loading());
    f.prompter().Clear();
    const QList<QAction*> items = {f.window().MenuAction(QStringLiteral("pop_ming_pai")),
                                   f.window().MenuAction(QStringLiteral("pop_ming_delete")),
                                   f.window().MenuAction(QStringLiteral("mnuF_save")),
                                   f.window().MenuAction(QStringLiteral("N25")),
                                   f.window().MenuAction(QStringLiteral("pop_search")),
                                   f.window().MenuAction(QStringLiteral("pop_s_full")),
                                   f.window().MenuAction(QStringLiteral("N23")),
                                   f.window().MenuAction(QStringLiteral("N24")),
                                   f.window().MenuAction(QStringLiteral("N17")),
                                   f.window().MenuAction(QStringLiteral("N18")),
                                   f.window().MenuAction(QStringLiteral("N19")),
                                   f.window().MenuAction(QStringLiteral("N20")),
                                   f.window().MenuAction(QStringLiteral("db1")),
                                   f.window().MenuAction(QStringLiteral("db2"))};
    for (QAction* item : items) item->trigger();
    ChartInput<QPushButton>(&f.window(), "BtoNew")->click();
    // "移动到" has an item only in the category display; one is put there as it would be.
    f.window().findChild<QMenu*>(QStringLiteral("pop_ming_move"))->addAction(QStringLiteral("开业"))->trigger();
    QCOMPARE(f.prompter().Texts(), QStringList(items.size() + 2, kWait));
    // Changing the order waits too, and the marks return to the order in use.
    f.window().MenuAction(QStringLiteral("N14"))->trigger();
    QCOMPARE(f.prompter().LastText(), kWait);
    QVERIFY(f.window().MenuAction(QStringLiteral("N16"))->isChecked());
    QCOMPARE(f.tree().Sort(), 0);
    QVERIFY(f.WaitForTree());
    QCOMPARE(f.tree().CaseCount(), 3000);
    QCOMPARE(f.prompter().unexpected, 0);
  }
};

QTEST_MAIN(CaseCommandsTest)
#include "case_commands_test.moc"

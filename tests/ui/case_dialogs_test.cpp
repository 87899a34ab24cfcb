// SPDX-License-Identifier: GPL-3.0-or-later
// The case dialogs: category picker, export choice, found cases, the category editor,
// the conditional search, and both searches' result flow in the main window.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <sqlite3.h>

#include "base/files.h"
#include "cases/remark_files.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "ui/frm_edit_class.h"
#include "ui/frm_export_class.h"
#include "ui/frm_fen_lei.h"
#include "ui/frm_same_name.h"
#include "ui/frm_search.h"
#include "ui/program_objects.h"
#include "ui/radio_group.h"

using quorin::TRecordData;
using quorin::cases::MRecordBase;
using quorin::testing::CaseWindowFixture;
using quorin::testing::ChartInput;
using quorin::testing::Named;
using quorin::testing::ProgramFolder;
using quorin::testing::SampleCase;
using quorin::testing::ScriptedPrompter;
using quorin::testing::StoredCase;
using quorin::testing::WhenDialogShows;
using quorin::ui::Answer;

namespace {

// A store on a fresh program folder with the given cases.
struct StoreOnFolder {
  explicit StoreOnFolder(const std::vector<TRecordData>& cases) {
    if (!store.Open(quorin::ui::CaseDatabasePath())) qFatal("cannot open the test library");
    for (TRecordData r : cases) ids.push_back(store.Insert(r).value_or(-1));
  }
  ProgramFolder folder;
  MRecordBase store;
  ScriptedPrompter prompter;
  std::vector<int> ids;
};

bool RunSql(const char* sql) {
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open(quorin::ui::CaseDatabasePath().c_str(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

std::vector<std::string> StoredNames(MRecordBase& store) {
  std::vector<std::string> names;
  if (!store.GetClassNames(names)) return {"<" + store.lastError() + ">"};
  return names;
}

}  // namespace

class CaseDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void categoryPickerAcceptsOnlyListedNamesInAnyLatinCase() {
    ScriptedPrompter prompter;
    quorin::ui::TFrmFenLei picker({QStringLiteral("开业"), QStringLiteral("Feng")});
    picker.show();
    QCOMPARE(Named<QComboBox>(&picker, "CboFenLei")->currentText(), QStringLiteral("开业"));
    Named<QComboBox>(&picker, "CboFenLei")->setEditText(QStringLiteral("新类"));
    Named<QPushButton>(&picker, "Btnok")->click();
    QVERIFY(picker.isVisible());
    QCOMPARE(prompter.LastText(),
             QStringLiteral("请输入已经存在的类别名！如果要增加一个新的类别，请到案例列表上按鼠标右键-编辑类别！"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("错误"));
    Named<QComboBox>(&picker, "CboFenLei")->setEditText(QStringLiteral(" fENG "));
    Named<QPushButton>(&picker, "Btnok")->click();
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(picker.Result(), QStringLiteral("fENG"));  // the typed spelling is kept
  }

  void exportChoiceNeedsACheckedCategory() {
    ScriptedPrompter prompter;
    quorin::ui::TFrmExportClass choice({QStringLiteral("开业"), QStringLiteral("求财")});
    choice.show();
    QVERIFY(Named<QCheckBox>(&choice, "ChkAll")->isChecked());
    QVERIFY(choice.AllChecked());
    Named<QCheckBox>(&choice, "ChkAll")->click();
    QVERIFY(choice.CheckedCategories().isEmpty());
    Named<QPushButton>(&choice, "BitBtn1")->click();
    QCOMPARE(prompter.LastText(), QStringLiteral("没有选择要导出的类别！"));
    QVERIFY(choice.isVisible());
    Named<QListWidget>(&choice, "LstClass")->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(choice.CheckedCategories(), QStringList({QStringLiteral("求财")}));
    QVERIFY(!choice.AllChecked());
    Named<QPushButton>(&choice, "BitBtn1")->click();
    QCOMPARE(choice.result(), int(QDialog::Accepted));

    quorin::ui::TFrmExportClass empty({});
    empty.show();
    Named<QPushButton>(&empty, "BitBtn1")->click();
    QCOMPARE(prompter.LastText(), QStringLiteral("没有选择要导出的类别！"));
  }

  void foundCasesAreCountedInTheCaption() {
    ScriptedPrompter prompter;
    quorin::ui::TFrmSameName found({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    found.show();
    QCOMPARE(found.windowTitle(), QStringLiteral("3个案例"));
    QCOMPARE(found.SelectedLine(), 0);
    Named<QListWidget>(&found, "LstRecord")->clearSelection();
    Named<QPushButton>(&found, "BtnSee")->click();
    QCOMPARE(prompter.LastText(), QStringLiteral("请点击选择要查看的案例！"));
    QVERIFY(found.isVisible());
    Named<QListWidget>(&found, "LstRecord")->setCurrentRow(2);
    Named<QPushButton>(&found, "BtnSee")->click();
    QCOMPARE(found.SelectedLine(), 2);
    QCOMPARE(found.result(), int(QDialog::Accepted));
  }

  void categoryEditorListsAndWritesCategoriesInUse() {
    StoreOnFolder s({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "自选"),
                     SampleCase("丙", 2000, 1, 1, 1, 1, "开业")});
    {
      quorin::ui::TFrmEditClass editor(s.store);
      editor.show();
      QCOMPARE(editor.windowTitle(), QStringLiteral("编辑类别（全部案例，共3个）"));
      QCOMPARE(Named<QListWidget>(&editor, "LstClass")->count(), 9);
      QCOMPARE(Named<QListWidget>(&editor, "LstClass")->item(0)->text(), QStringLiteral("开业          2 案例"));
      QCOMPARE(Named<QListWidget>(&editor, "LstClass")->item(8)->text(), QStringLiteral("自选          1 案例"));
      QVERIFY(editor.Changed());  // 自选 is missing from the store's list
      Named<QListWidget>(&editor, "LstClass")->setCurrentRow(0);
      Named<QPushButton>(&editor, "Button1")->click();
      QCOMPARE(s.prompter.LastText(), QStringLiteral("移动超出列表范围！"));
      Named<QListWidget>(&editor, "LstClass")->setCurrentRow(1);
      Named<QPushButton>(&editor, "Button1")->click();
      QCOMPARE(Named<QListWidget>(&editor, "LstClass")->currentRow(), 0);
      Named<QPushButton>(&editor, "Button6")->click();
    }
    const std::vector<std::string> names = StoredNames(s.store);
    QCOMPARE(names.size(), std::size_t(9));
    QCOMPARE(names[0], std::string("进宅"));
    QCOMPARE(names[1], std::string("开业"));
    QCOMPARE(names[8], std::string("自选"));
  }

  // Focus makes the first line current without selecting it: every button that acts on
  // a category asks for one instead of taking that line.
  void categoryEditorButtonsNeedASelectedLine() {
    StoreOnFolder s({SampleCase("甲", 2000, 1, 1, 1, 1, "开业")});
    quorin::ui::TFrmEditClass editor(s.store);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.activateWindow();
    Named<QListWidget>(&editor, "LstClass")->setFocus();
    QVERIFY(QTest::qWaitFor([&editor] { return Named<QListWidget>(&editor, "LstClass")->currentRow() == 0; }));
    QVERIFY(Named<QListWidget>(&editor, "LstClass")->selectedItems().isEmpty());
    const std::vector<std::string> names = editor.Names();
    const QList<QPair<QPushButton*, QString>> buttons = {
        {Named<QPushButton>(&editor, "BtoDelete"), QStringLiteral("没有选择的类别可以删除！")},
        {Named<QPushButton>(&editor, "BtoRename"), QStringLiteral("没有选择的类别可以修改！")},
        {Named<QPushButton>(&editor, "BtoMove"), QStringLiteral("没有选择的类别可以移动！")},
        {Named<QPushButton>(&editor, "Button1"), QStringLiteral("请先点击选择一个类别！")},
        {Named<QPushButton>(&editor, "Button2"), QStringLiteral("请先点击选择一个类别！")},
    };
    for (const auto& [button, message] : buttons) {
      s.prompter.Clear();
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(s.prompter.Texts(), QStringList{message});
    }
    QCOMPARE(s.prompter.unexpected, 0);
    QCOMPARE(editor.Names(), names);
    QCOMPARE(StoredCase(s.ids[0]).className, std::string("开业"));
  }

  // The list written on closing can fail: the user is told instead of losing the order.
  void categoryEditorReportsAFailedWriteOnClosing() {
    StoreOnFolder s({SampleCase("甲", 2000, 1, 1, 1, 1, "开业")});
    QVERIFY(RunSql("CREATE TRIGGER refuse BEFORE UPDATE ON case_extra BEGIN SELECT RAISE(FAIL, 'refused'); END;"));
    {
      quorin::ui::TFrmEditClass editor(s.store);
      editor.show();
      Named<QListWidget>(&editor, "LstClass")->setCurrentRow(0);
      QTest::mouseClick(Named<QPushButton>(&editor, "Button2"), Qt::LeftButton);
      QVERIFY(s.prompter.shown.isEmpty());
      QTest::mouseClick(Named<QPushButton>(&editor, "Button6"), Qt::LeftButton);
    }
    QCOMPARE(s.prompter.Texts(), QStringList{QStringLiteral("无法更新案例类别！")});
    QCOMPARE(s.prompter.shown.last().caption, QStringLiteral("错误"));
  }

  void aCaseDeletedWithItsCategoryClosesEvenWhenTheListCannotBeStored() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "求财")});
    f.Show();
    QVERIFY(f.OpenCase(1));
    QVERIFY(f.window().CaseOpen());
    // The category list write on closing fails: the store's last word is that failure, not the missing row.
    QVERIFY(RunSql("CREATE TRIGGER refuse BEFORE UPDATE ON case_extra BEGIN SELECT RAISE(FAIL, 'refused'); END;"));
    WhenDialogShows<quorin::ui::TFrmEditClass>([&f](quorin::ui::TFrmEditClass& d) {
      Named<QListWidget>(&d, "LstClass")->setCurrentRow(0);
      f.prompter().answers << Answer::Yes;
      Named<QPushButton>(&d, "BtoDelete")->click();
      Named<QPushButton>(&d, "Button6")->click();
    });
    f.TriggerAndWait("N23");
    QVERIFY(f.prompter().Texts().contains(QStringLiteral("无法更新案例类别！")));
    // A save now would store nothing: the chart stays and saves as a new case.
    QVERIFY(!f.window().CaseOpen());
    QCOMPARE(ChartInput<QPushButton>(&f.window(), "SbtoSave")->text(), QStringLiteral("存新"));
  }

  void categoryEditorAddsCleanedNames() {
    StoreOnFolder s({});
    quorin::ui::TFrmEditClass editor(s.store);
    editor.show();
    s.prompter.inputs << QStringLiteral("a b") << QStringLiteral("*?/") << QStringLiteral("ab");
    Named<QPushButton>(&editor, "Button3")->click();
    QCOMPARE(s.prompter.Texts(),
             QStringList({QStringLiteral("类别名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。，已经处理为合适的文本！"),
                          QStringLiteral("新增完成！")}));
    QCOMPARE(s.prompter.inputPrompts.last(), QStringLiteral("新类别|请输入新的类别名称：        "));
    Named<QPushButton>(&editor, "Button3")->click();
    Named<QPushButton>(&editor, "Button3")->click();
    QCOMPARE(s.prompter.LastText(), QStringLiteral("ab：这个类别已经存在，请另外起一个名称！"));
    const std::vector<std::string> names = editor.Names();
    QCOMPARE(names[names.size() - 2], std::string("ab"));
    QCOMPARE(names.back(), std::string("甲"));
    editor.close();
    QCOMPARE(StoredNames(s.store).back(), std::string("甲"));
  }

  void categoryEditorDeletesRenamesAndMergesStoredCases() {
    StoreOnFolder s({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "求财"),
                     SampleCase("丙", 2000, 1, 1, 1, 1, "开业")});
    const std::string remark = quorin::base::ProgramFolder() + "Orlune_f/kept.rtf";
    QVERIFY(quorin::cases::WriteRemarkFromPlainText(remark, "x"));
    quorin::ui::TFrmEditClass editor(s.store);
    editor.show();
    // Merge 开业 into 求财: 开业 stays with no case.
    Named<QListWidget>(&editor, "LstClass")->setCurrentRow(0);
    s.prompter.answers << Answer::Yes;
    s.prompter.inputs << QStringLiteral("求财");
    Named<QPushButton>(&editor, "BtoMove")->click();
    QCOMPARE(s.prompter.LastText(), QStringLiteral("移动完成！"));
    QCOMPARE(Named<QListWidget>(&editor, "LstClass")->item(0)->text(), QStringLiteral("开业          0 案例"));
    TRecordData r;
    QVERIFY(s.store.Read(1, r));
    QCOMPARE(r.className, std::string("求财"));
    Named<QPushButton>(&editor, "BtoMove")->click();
    QCOMPARE(s.prompter.LastText(), QStringLiteral("这个类别没有案例可以移动！"));

    // Deleting the empty 开业 removes no case.
    s.prompter.answers << Answer::Yes;
    Named<QPushButton>(&editor, "BtoDelete")->click();
    QCOMPARE(s.prompter.shown.at(s.prompter.shown.size() - 2).defaultButton, Answer::No);
    QCOMPARE(s.prompter.LastText(), QStringLiteral("删除完成！"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("编辑类别（全部案例）"));
    QVERIFY(s.store.Read(3, r));

    // Rename 求财, which now holds all three cases.
    const std::vector<std::string> before = editor.Names();
    const int row = static_cast<int>(std::find(before.begin(), before.end(), "求财") - before.begin());
    Named<QListWidget>(&editor, "LstClass")->setCurrentRow(row);
    s.prompter.answers << Answer::Yes << Answer::Yes;
    s.prompter.inputs << QStringLiteral("求财") << QStringLiteral("财运");
    Named<QPushButton>(&editor, "BtoRename")->click();
    QCOMPARE(s.prompter.LastText(), QStringLiteral("类别名称没有改变，请输入新的名称！"));
    Named<QPushButton>(&editor, "BtoRename")->click();
    QCOMPARE(s.prompter.LastText(), QStringLiteral("改名完成！"));
    for (int id : {1, 2, 3}) {
      QVERIFY(s.store.Read(id, r));
      QCOMPARE(r.className, std::string("财运"));
    }
    // Deleting it removes its cases but leaves the remark files.
    s.prompter.answers << Answer::Yes;
    Named<QPushButton>(&editor, "BtoDelete")->click();
    QVERIFY(!s.store.Read(1, r) && !s.store.Read(2, r) && !s.store.Read(3, r));
    QVERIFY(quorin::base::FileExists(remark));
    editor.close();
    const std::vector<std::string> names = StoredNames(s.store);
    QVERIFY(std::find(names.begin(), names.end(), "财运") == names.end());
    QVERIFY(std::find(names.begin(), names.end(), "开业") == names.end());
  }

  void searchDialogShowsAndChecksItsConditions() {
    StoreOnFolder s({SampleCase("甲", -99, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "阳宅风水")});
    quorin::cases::CaseSearchCriteria criteria;
    {
      quorin::ui::TFrmSearch dialog(s.store, criteria);
      dialog.show();
      QCOMPARE(Named<QComboBox>(dialog, "CboProv")->currentIndex(), 1);  // the first province, not 全部省份
      QCOMPARE(Named<quorin::ui::RadioGroup>(dialog, "RdoSex")->ItemIndex(), 0);
      QVERIFY(Named<QProgressBar>(dialog, "Animate1")->isHidden());
      Named<QComboBox>(dialog, "CboProv")->setCurrentIndex(0);
      Named<QLineEdit>(dialog, "LedtY1")->setText(QStringLiteral("2000"));
      Named<QPushButton>(dialog, "BtnSearch")->click();
      QCOMPARE(s.prompter.LastText(),
               QStringLiteral("年份必须在-850到2100年之间，并且没有公元0年\r\n注意：公元前用负数，比如公元前120年，就输入-120"));
      QCOMPARE(s.prompter.shown.last().caption, QStringLiteral("年份错误"));
      Named<QLineEdit>(dialog, "LedtY1")->setText(QStringLiteral("2000"));
      Named<QLineEdit>(dialog, "LedtY2")->setText(QStringLiteral("1999"));
      Named<QPushButton>(dialog, "BtnSearch")->click();
      QCOMPARE(s.prompter.LastText(), QStringLiteral("结束年必须大于或等于起始年"));
      // -100 to -100 is the stored year -99.
      Named<QLineEdit>(dialog, "LedtY1")->setText(QStringLiteral("-100"));
      Named<QLineEdit>(dialog, "LedtY2")->setText(QStringLiteral("-100"));
      Named<QPushButton>(dialog, "BtnSearch")->click();
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.Results(), std::vector<int>({1}));
    }
    QVERIFY(criteria.yearsSet);
    QCOMPARE(criteria.yearFrom, std::int16_t(-99));
    QCOMPARE(criteria.province, std::int16_t(-1));
    {
      // The dialog shows the last conditions again; a category text matches as a part.
      quorin::ui::TFrmSearch dialog(s.store, criteria);
      dialog.show();
      QCOMPARE(Named<QLineEdit>(dialog, "LedtY1")->text(), QStringLiteral("-100"));
      QCOMPARE(Named<QComboBox>(dialog, "CboProv")->currentIndex(), 0);
      Named<QLineEdit>(dialog, "LedtY1")->clear();
      Named<QLineEdit>(dialog, "LedtY2")->clear();
      Named<QComboBox>(dialog, "CboClass")->setEditText(QStringLiteral("风水"));
      Named<QPushButton>(dialog, "BtnSearch")->click();
      QCOMPARE(dialog.Results(), std::vector<int>({2}));
    }
    {
      quorin::ui::TFrmSearch dialog(s.store, criteria);
      dialog.show();
      Named<QCheckBox>(dialog, "ChkClass")->setChecked(true);
      Named<QPushButton>(dialog, "BtnSearch")->click();
      QCOMPARE(s.prompter.LastText(), QStringLiteral("没有找到符合条件的案例。"));
      QCOMPARE(s.prompter.shown.last().caption, QStringLiteral("信息"));
      QVERIFY(dialog.isVisible());
      s.prompter.answers << Answer::Yes;
      Named<QPushButton>(dialog, "BtoAll")->click();
      QVERIFY(Named<QComboBox>(dialog, "CboClass")->currentText().isEmpty());
      QVERIFY(!Named<QCheckBox>(dialog, "ChkClass")->isChecked());
      QCOMPARE(Named<QComboBox>(dialog, "CboProv")->currentIndex(), 0);
    }
  }

  void searchResultsRebuildTheTreeAndOpenThePickedCase() {
    CaseWindowFixture f(false);
    std::vector<TRecordData> stored = {SampleCase("张三", 2010, 1, 1, 23, 0), SampleCase("李四", 2010, 5, 5, 0, 30),
                                       SampleCase("王五", 2011, 1, 1, 12, 0), SampleCase("张飞", 2012, 1, 1, 5, 0)};
    for (TRecordData& r : stored) r.remarkText = "评语";
    f.StoreCases(stored);
    f.Show();
    // 子时 finds hours 23 and 0; pick the second line, show only it.
    f.prompter().inputs << QStringLiteral("  子时 ");
    WhenDialogShows<quorin::ui::TFrmSameName>([](quorin::ui::TFrmSameName& d) {
      QCOMPARE(Named<QListWidget>(&d, "LstRecord")->count(), 2);
      QCOMPARE(Named<QListWidget>(&d, "LstRecord")->item(0)->text(), QStringLiteral("张三     2010-01-01 开业"));
      Named<QCheckBox>(&d, "ChkClear")->setChecked(true);
      Named<QListWidget>(&d, "LstRecord")->setCurrentRow(1);
      Named<QPushButton>(&d, "BtnSee")->click();
    });
    f.TriggerAndWait("N25");
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2}));
    QVERIFY(f.window().CaseOpen());
    QCOMPARE(f.window().CurrentCaseId(), 2);
    QCOMPARE(ChartInput<QLineEdit>(&f.window(), "EdtName")->text(), QStringLiteral("李四"));

    // Two keywords must be found in different fields.
    f.prompter().inputs << QStringLiteral("张 张");
    f.main.Trigger("N25");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("没有符合的案例！"));

    // The conditional search adds all found cases after those of the tree.
    WhenDialogShows<quorin::ui::TFrmSearch>([](quorin::ui::TFrmSearch& d) {
      Named<QLineEdit>(d, "EdtName")->setText(QStringLiteral("张"));
      Named<QComboBox>(d, "CboProv")->setCurrentIndex(0);  // 全部省份
      Named<QPushButton>(d, "BtnSearch")->click();
    });
    WhenDialogShows<quorin::ui::TFrmSameName>([](quorin::ui::TFrmSameName& d) {
      Named<QCheckBox>(&d, "ChkShow")->setChecked(true);
      Named<QListWidget>(&d, "LstRecord")->setCurrentRow(1);
      Named<QPushButton>(&d, "BtnSee")->click();
    });
    f.TriggerAndWait("pop_search");
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 1, 4}));
    QCOMPARE(f.window().CurrentCaseId(), 4);
    QCOMPARE(f.window().SearchCriteria().nameMode, std::uint8_t(1));
    QCOMPARE(f.prompter().unexpected, 0);
  }
};

QTEST_MAIN(CaseDialogsTest)
#include "case_dialogs_test.moc"

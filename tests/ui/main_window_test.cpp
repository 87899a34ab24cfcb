// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's shell: start-up defaults and corrections, the layout file, skins,
// text preferences, the menu map and closing.
#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QTreeWidget>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <utility>

#include <sqlite3.h>

#include "base/data_location.h"
#include "base/ini_file.h"
#include "cases/record_base.h"
#include "qtdraw/fonts.h"
#include "support/named_control.h"
#include "ui/program_objects.h"
#include "support/main_window_fixture.h"
#include "ui/clock.h"
#include "qtdraw/fonts.h"
#include "ui/frm_set.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"

using quorin::base::IniFile;
using quorin::testing::ChartInput;
using quorin::testing::ChooseLine;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;
using quorin::ui::Answer;

namespace {

// dili.ini with one province of three cities.
const char* kThreeCities =
    "[福建省]\r\n福州市=119:17*26:5\r\n厦门市=118:5*24:29\r\n泉州市=118:40*24:52\r\n";

bool Checked(const quorin::ui::TFrmMain& w, const char* name) { return w.MenuAction(QString::fromLatin1(name))->isChecked(); }

// Shows the window over a file where the data folder should be: nothing can be written inside,
// even as root.
void ShowWithUnwritableDataFolder(MainWindowFixture& f) {
  QDir(f.folder.Path()).rmdir(QStringLiteral("dat"));
  QFile blocker(f.folder.Path() + QStringLiteral("dat"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void defaultsWithoutInitIni() {
    MainWindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Quorin 2.3"));
    QCOMPARE(f.window->pos(), QPoint(10, 10));
    QCOMPARE(f.window->centralWidget()->size(), QSize(400, 400));
    QCOMPARE(f.ChartText()->font().family(), quorin::qtdraw::kSongFont);
    QCOMPARE(f.ChartText()->font().pointSize(), 12);
    QCOMPARE(f.ChartText()->palette().color(QPalette::Base), QColor(208, 204, 192));
    QCOMPARE(f.Find<QTreeWidget>("Tree")->width(), 180);
    QCOMPARE(f.Remarks()->height(), 80);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiZ")->currentText(), QStringLiteral("未知地"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentText(), QStringLiteral("未知地"));
    QVERIFY(Checked(*f.window, "N12"));  // 列表显示
    QVERIFY(Checked(*f.window, "N16"));  // 无
    QVERIFY(!Checked(*f.window, "N11"));
    QCOMPARE(f.Remarks()->toPlainText(), QStringLiteral("输入自己的评语:"));
    QVERIFY(f.ChartText()->toPlainText().isEmpty());
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->currentText(), QStringLiteral("壬山"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->count(), 24);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboShan")->itemText(23), QStringLiteral("亥山"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "CboGua")->currentIndex(), 0);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbod")->count(), 31);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->itemText(0), QStringLiteral("0时子"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->itemText(2), QStringLiteral("2时丑"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->itemText(22), QStringLiteral("22时亥"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbos")->itemText(23), QStringLiteral("23时子"));
    // The provinces and 未知地, then the own places and the countries of the world.
    auto* provinces = ChartInput<QComboBox>(f.window.get(), "cbodiZ");
    QCOMPARE(provinces->itemText(34), QStringLiteral("未知地"));
    QCOMPARE(provinces->itemText(35), QStringLiteral("自定地点"));
    QVERIFY(provinces->findText(QStringLiteral("美国")) > 35);
    QVERIFY(f.prompter.shown.isEmpty());
    QCOMPARE(f.window->ChartRecord().dragonMountain, std::int16_t(-1));
    QCOMPARE(f.window->ChartRecord().waterMountain, std::int16_t(-1));
  }

  void savedLayoutIsCorrected() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/dili.ini"), kThreeCities);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"),
                      "[window]\r\ntreewid=10\r\npinghei=20\r\nsheng=0\r\nshi=99\r\nwidth=700\r\nheight=500\r\n"
                      "[text]\r\nfname=宋体\r\nfsize=15\r\nbcolor=255\r\n[tree]\r\nshowStyle=0\r\nsort=3\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.Find<QTreeWidget>("Tree")->width(), 30);
    QCOMPARE(f.Remarks()->height(), 20);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiZ")->currentText(), QStringLiteral("福建省"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->count(), 3);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentIndex(), 0);
    QCOMPARE(f.ChartText()->font().pointSize(), 15);
    QCOMPARE(f.ChartText()->palette().color(QPalette::Base), QColor(255, 0, 0));
    QVERIFY(Checked(*f.window, "N11"));
    QVERIFY(Checked(*f.window, "az1"));
  }

  void remarksHeightAboveTheMinimumStays() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\npinghei=21\r\nheight=500\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.Remarks()->height(), 21);
  }

  void closeWritesTheLayout() {
    MainWindowFixture f;
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 1);  // 北京市
    ChartInput<QComboBox>(f.window.get(), "cbodiC")->setCurrentIndex(2);
    f.window->move(33, 44);
    f.window->resize(820, 610 + f.window->menuBar()->height());
    QTest::qWait(20);
    f.Close();
    QVERIFY(!f.window->isVisible());
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("window", "left", -1), 33);
    QCOMPARE(ini.ReadInteger("window", "top", -1), 44);
    QCOMPARE(ini.ReadInteger("window", "width", -1), 820);
    QCOMPARE(ini.ReadInteger("window", "height", -1), 610);
    QCOMPARE(ini.ReadInteger("window", "state", -1), 0);
    QCOMPARE(ini.ReadInteger("window", "sheng", -1), 1);
    QCOMPARE(ini.ReadInteger("window", "shi", -1), 2);
    QCOMPARE(ini.ReadInteger("window", "treewid", -1), 180);
    QCOMPARE(ini.ReadInteger("window", "pinghei", -1), 80);
    QCOMPARE(ini.ReadString("text", "fname", ""), std::string("宋体"));
    QCOMPARE(ini.ReadInteger("text", "fsize", -1), 12);
    QCOMPARE(ini.ReadInteger("text", "bcolor", -1), 12635344);
    QCOMPARE(ini.ReadFloat("Img", "size", -1), 12.0);
    QCOMPARE(ini.ReadInteger("tree", "showStyle", -1), 1);
    QCOMPARE(ini.ReadInteger("tree", "sort", -1), 0);
    // The keys stand in the order they were written.
    const std::string bytes = f.folder.ReadGbk(QStringLiteral("dat/init.ini"));
    QVERIFY(bytes.find("left=") < bytes.find("state="));
    QVERIFY(bytes.find("state=") < bytes.find("treewid="));
    QVERIFY(bytes.find("treewid=") < bytes.find("pinghei="));
  }

  void layoutSurvivesARestart() {
    quorin::testing::ProgramFolder folder;
    quorin::testing::ScriptedPrompter prompter;
    {
      quorin::ui::TFrmMain first;
      first.show();
      QVERIFY(QTest::qWaitForWindowExposed(&first));
      first.resize(900, 700);
      first.findChild<QSplitter*>(QStringLiteral("Splitter1"))->setSizes({250, 500});
      QFont font(QStringLiteral("宋体"));
      font.setPointSize(14);
      prompter.fonts.enqueue(font);
      first.MenuAction(QStringLiteral("Omnusetfont"))->trigger();
      QTest::qWait(20);
      prompter.answers.enqueue(Answer::Yes);
      first.close();
    }
    quorin::ui::TFrmMain second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.findChild<QTreeWidget*>(QStringLiteral("Tree"))->width(), 250);
    QCOMPARE(second.centralWidget()->width(), 900);
    QCOMPARE(second.findChild<QTextEdit*>(QStringLiteral("RedtOut"))->font().pointSize(), 14);
    prompter.answers.enqueue(Answer::Yes);
    second.close();
  }

  void refusedCloseWritesNothing() {
    MainWindowFixture f;
    f.prompter.answers.enqueue(Answer::No);
    f.window->close();
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.prompter.shown.last().text, QStringLiteral("确定要关闭软件吗？"));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("关闭"));
    QVERIFY(!QFile::exists(f.folder.Dat(QStringLiteral("init.ini"))));
  }

  void maximisedCloseKeepsTheNormalGeometry() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nleft=21\r\ntop=22\r\nwidth=500\r\nheight=450\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->showMaximized();
    QTest::qWait(20);
    f.Close();
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("window", "state", -1), 2);
    QCOMPARE(ini.ReadInteger("window", "left", -1), 21);
    QCOMPARE(ini.ReadInteger("window", "width", -1), 500);
    QCOMPARE(ini.ReadInteger("window", "height", -1), 450);
  }

  void minimisedCloseStartsMinimised() {
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nstate=1\r\n");
    f.window->show();
    QTest::qWait(20);
    QVERIFY(f.window->isMinimized());
    f.Close();
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("window", "state", -1), 1);
    QVERIFY(!ini.ValueExists("window", "left"));
  }

  void unwritableDataFolderIsReportedAndTheWindowStillCloses() {
    MainWindowFixture f(false, false);
    ShowWithUnwritableDataFolder(f);
    QCOMPARE(f.prompter.shown.size(), 1);  // the data folder cannot be made
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("数据文件夹")));
    QVERIFY(f.Pai());  // charts work without any file
    f.Close();
    QVERIFY(!f.window->isVisible());
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("init.ini")));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("错误"));
  }

  // A data folder that cannot be made leaves the window with the shipped files: its size from
  // the shipped init.ini, the cities from the shipped dili.ini.
  void unwritableDataFolderReadsTheShippedFiles() {
    QTemporaryDir shipped;
    QVERIFY(QDir(shipped.path()).mkpath(QStringLiteral("dat")));
    for (const char* name : {"init.ini", "dili.ini"}) {
      QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/") + QLatin1String(name), shipped.filePath(QStringLiteral("dat/") + QLatin1String(name))));
    }
    quorin::base::SetShippedFolder(shipped.path().toStdString());
    const auto shippedBack = qScopeGuard([] { quorin::base::SetShippedFolder({}); });
    MainWindowFixture f(false, false);
    ShowWithUnwritableDataFolder(f);
    const IniFile layout(shipped.filePath(QStringLiteral("dat/init.ini")).toStdString());
    QCOMPARE(f.window->width(), layout.ReadInteger("window", "width", 0));
    quorin::testing::ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 1);
    QVERIFY(ChartInput<QComboBox>(f.window.get(), "cbodiC")->count() > 1);
  }

  void missingDataFolderIsCreated() {
    MainWindowFixture f(false, false);
    QDir(f.folder.Path()).rmdir(QStringLiteral("dat"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QVERIFY(QDir(f.folder.Path() + QStringLiteral("dat")).exists());
    QVERIFY(f.prompter.shown.isEmpty());
  }

  void clockYearAfter2200ShowsAs2200() {
    quorin::ui::SetClock([] { return QDateTime(QDate(2345, 5, 6), QTime(7, 8)); });
    MainWindowFixture f;
    quorin::ui::SetClock({});
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtYear")->text(), QStringLiteral("2200"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbom")->currentText(), QStringLiteral("5月"));
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbomin")->currentText(), QStringLiteral("8分"));
  }

  void caseDatabaseIsCreatedAtStart() {
    quorin::cases::MRecordBase store;
    quorin::ui::SetProgramCaseStore(&store);
    {
      MainWindowFixture f;
      QVERIFY(QFile::exists(f.folder.Dat(QStringLiteral("Orlune.db"))));
      QVERIFY(f.prompter.shown.isEmpty());
      QCOMPARE(f.Remarks()->toPlainText(), QStringLiteral("输入自己的评语:"));
    }
    quorin::ui::SetProgramCaseStore(nullptr);
  }

  void largeDatabaseNamesItsApproximateTotal() {
    quorin::cases::MRecordBase store;
    quorin::ui::SetProgramCaseStore(&store);
    {
      MainWindowFixture f(false);
      const std::string path = f.folder.Dat(QStringLiteral("Orlune.db")).toStdString();
      QVERIFY(store.Open(path));
      sqlite3* db = nullptr;
      QCOMPARE(sqlite3_open(path.c_str(), &db), SQLITE_OK);
      QCOMPARE(sqlite3_exec(db, "update case_extra set primaryId=1500;", nullptr, nullptr, nullptr), SQLITE_OK);
      sqlite3_close(db);
      f.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
      QCOMPARE(f.Remarks()->toPlainText(),
               QStringLiteral("输入自己的评语:\n\n案例总数大致：1500个，可以在树表上按鼠标右键，点击“显示全部卦例“"));
    }
    quorin::ui::SetProgramCaseStore(nullptr);
  }

  void databaseThatCannotBeOpenedIsReported() {
    quorin::cases::MRecordBase store;
    quorin::ui::SetProgramCaseStore(&store);
    {
      MainWindowFixture f(false);
      QDir(f.folder.Path()).mkpath(QStringLiteral("dat/Orlune.db"));  // a folder where the file should be
      f.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
      QCOMPARE(f.prompter.shown.size(), 1);
      QCOMPARE(f.prompter.LastText(), QString::fromStdString(store.lastError()));
      QVERIFY(f.Pai());
    }
    quorin::ui::SetProgramCaseStore(nullptr);
  }

  void skinMenuWithoutSkinsIsEmpty() {
    MainWindowFixture f;
    QVERIFY(f.Find<QMenu>("Opt_Skin")->actions().isEmpty());
  }

  void skinMenuListsSkinsAndTheSavedChoice() {
    MainWindowFixture f(false);
    for (const char* name : {"Mx1.skn", "Blue.v2.skn", "readme.txt"}) {
      QFile file(f.folder.Path() + QStringLiteral("skins/") + QString::fromLatin1(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("QMenu { color: #202020; }\n");
    }
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nskined=1\r\nskinname=Mx1\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QStringList captions;
    QAction* mx1 = nullptr;
    for (QAction* a : f.Find<QMenu>("Opt_Skin")->actions()) {
      captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
      if (a->text() == QStringLiteral("Mx1")) mx1 = a;
    }
    QCOMPARE(captions, (QStringList{QStringLiteral("Blue"), QStringLiteral("Mx1"), QStringLiteral("-"),
                                    QStringLiteral("系统默认")}));
    QVERIFY(mx1 && mx1->isChecked());

    // Choosing "系统默认" writes the choice at once.
    QAction* system = f.Find<QMenu>("Opt_Skin")->actions().last();
    system->trigger();
    QVERIFY(system->isChecked() && !mx1->isChecked());
    QCOMPARE(IniFile(f.folder.Dat(QStringLiteral("init.ini")).toStdString()).ReadInteger("window", "skined", -1), 0);

    // A skin whose file went missing is reported; the file keeps the last choice.
    QFile::remove(f.folder.Path() + QStringLiteral("skins/Blue.v2.skn"));
    f.Find<QMenu>("Opt_Skin")->actions().first()->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("对应的皮肤文件已经丢失，请关闭软件，再重新打开软件！"));
    QCOMPARE(IniFile(f.folder.Dat(QStringLiteral("init.ini")).toStdString()).ReadInteger("window", "skined", -1), 0);

    mx1->trigger();
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("window", "skined", -1), 1);
    QCOMPARE(ini.ReadString("window", "skinname", ""), std::string("Mx1"));
    system->trigger();  // the skin comes off again: the next tests see the standard look
  }

  // The check mark follows the look in use: a skin that does not load leaves the mark
  // where the skin in use is, at start and when chosen.
  void unreadableSkinIsReportedAndNotRecordedOrMarked() {
    MainWindowFixture f(false);
    for (const auto& [name, text] : {std::pair{"Broken.skn", ""}, std::pair{"Good.skn", "QMenu { color: #202020; }\n"}}) {
      QFile file(f.folder.Path() + QStringLiteral("skins/") + QString::fromLatin1(name));
      QVERIFY(file.open(QIODevice::WriteOnly));  // an empty file is no skin
      file.write(text);
    }
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nskined=1\r\nskinname=Broken\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const QList<QAction*> items = f.Find<QMenu>("Opt_Skin")->actions();  // Broken, Good, -, 系统默认
    QCOMPARE(items.size(), 4);
    const auto checked = [&items] {
      QStringList marked;
      for (QAction* a : items) {
        if (a->isChecked()) marked << a->text();
      }
      return marked;
    };
    QCOMPARE(checked(), QStringList{QStringLiteral("系统默认")});

    items[0]->trigger();
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("错误"));
    QCOMPARE(checked(), QStringList{QStringLiteral("系统默认")});
    QCOMPARE(IniFile(f.folder.Dat(QStringLiteral("init.ini")).toStdString()).ReadString("window", "skinname", ""),
             std::string("Broken"));

    items[1]->trigger();
    QCOMPARE(checked(), QStringList{QStringLiteral("Good")});
    items[0]->trigger();
    QCOMPARE(checked(), QStringList{QStringLiteral("Good")});
    QVERIFY(QFile::remove(f.folder.Path() + QStringLiteral("skins/Broken.skn")));
    items[0]->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("对应的皮肤文件已经丢失，请关闭软件，再重新打开软件！"));
    QCOMPARE(checked(), QStringList{QStringLiteral("Good")});
    items[3]->trigger();  // the skin comes off again: the next tests see the standard look
  }

  void withoutSavedSkinTheSystemDefaultIsChecked() {
    MainWindowFixture f(false);
    QFile file(f.folder.Path() + QStringLiteral("skins/Mx1.skn"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QVERIFY(f.Find<QMenu>("Opt_Skin")->actions().last()->isChecked());
    QVERIFY(!f.Find<QMenu>("Opt_Skin")->actions().first()->isChecked());
  }

  void analysisTextPreferences() {
    MainWindowFixture f;
    // Cancelled dialogs change nothing.
    f.window->MenuAction(QStringLiteral("Omnusetfont"))->trigger();
    f.window->MenuAction(QStringLiteral("Omnusetcolor"))->trigger();
    QVERIFY(f.prompter.shown.isEmpty());
    QFont chosen(QStringLiteral("Noto Sans CJK SC"));
    chosen.setPointSize(16);
    f.prompter.fonts.enqueue(chosen);
    f.window->MenuAction(QStringLiteral("Omnusetfont"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("设置完成"));
    f.prompter.colors.enqueue(QColor(1, 2, 3));
    f.window->MenuAction(QStringLiteral("Omnusetcolor"))->trigger();
    QCOMPARE(f.ChartText()->font().pointSize(), 16);
    f.Close();
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadString("text", "fname", ""), std::string("Noto Sans CJK SC"));
    QCOMPARE(ini.ReadInteger("text", "fsize", -1), 16);
    QCOMPARE(ini.ReadInteger("text", "bcolor", -1), 3 * 65536 + 2 * 256 + 1);
  }

  void defaultTextPreferences() {
    MainWindowFixture f;
    f.window->MenuAction(QStringLiteral("Osetmo"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("字体大小、背景颜色已经恢复默认，请重新排盘！"));
    QCOMPARE(f.ChartText()->font().pointSize(), 12);
    QCOMPARE(f.ChartText()->palette().color(QPalette::Base), QColor(Qt::white));
  }

  // The province list's hint sends the user to a menu item the window has.
  void provinceHintNamesAnExistingMenuItem() {
    MainWindowFixture f;
    const QRegularExpressionMatch named = QRegularExpression(QStringLiteral("菜单\"(.+)->(.+)\""))
                                              .match(ChartInput<QComboBox>(f.window.get(), "cbodiZ")->toolTip());
    QVERIFY(named.hasMatch());
    bool found = false;
    for (QAction* menu : f.window->menuBar()->actions()) {
      if (!menu->text().startsWith(named.captured(1)) || !menu->menu()) continue;
      for (QAction* item : menu->menu()->actions()) found = found || item->text() == named.captured(2);
    }
    QVERIFY2(found, qPrintable(ChartInput<QComboBox>(f.window.get(), "cbodiZ")->toolTip()));
  }

  // At every interface font size 软件设置 offers, 存新 and 排盘 are whole on screen in
  // the shipped window size, however far the inputs above them have to scroll.
  void mainButtonsStayVisibleAtEveryOfferedFontSize() {
    QList<int> offered;
    {
      quorin::testing::ProgramFolder folder;
      quorin::ui::TFrmSet settings(nullptr, 1920);
      for (int i = 0; i < Named<QComboBox>(&settings, "CboUiSize")->count(); ++i) {
        offered << quorin::ui::LeadingItemNumber(Named<QComboBox>(&settings, "CboUiSize")->itemText(i));
      }
    }
    QVERIFY(offered.contains(4) && offered.contains(10) && offered.contains(-10));
    for (const int change : offered) {
      quorin::ui::MUiFont scaler(change, false);
      quorin::ui::SetProgramUiFont(&scaler);
      const std::unique_ptr<void, void (*)(void*)> uninstall(&scaler, [](void*) { quorin::ui::SetProgramUiFont(nullptr); });
      MainWindowFixture f(false);
      QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/init.ini"), f.folder.Dat(QStringLiteral("init.ini"))));
      f.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
      for (QPushButton* button :
           {ChartInput<QPushButton>(f.window.get(), "SbtoSave"), ChartInput<QPushButton>(f.window.get(), "BtnPai")}) {
        QVERIFY(button->isVisible());
        const QRect inWindow(button->mapTo(f.window.get(), QPoint(0, 0)), button->size());
        QVERIFY2(f.window->rect().contains(inWindow) && button->visibleRegion().boundingRect() == button->rect(),
                 qPrintable(QStringLiteral("%1 at %2").arg(button->text()).arg(change)));
      }
      f.Close();
    }
  }

  // Every interface font size 软件设置 offers changes the font, the smallest ones too, and the
  // right input column stays whole: each control lies inside its parent, and the inputs inside
  // the part of the column that is shown. With the menu font changed too, no menu item is cut.
  void inputColumnIsWholeAtEveryOfferedFontSize_data() {
    QTest::addColumn<int>("change");
    for (const int change : {-10, -9, -2, 0, 10}) QTest::newRow(qPrintable(QString::number(change))) << change;
  }
  void inputColumnIsWholeAtEveryOfferedFontSize() {
    QFETCH(int, change);
    quorin::ui::MUiFont scaler(change, true);
    quorin::ui::SetProgramUiFont(&scaler);
    const auto uninstall = qScopeGuard([] { quorin::ui::SetProgramUiFont(nullptr); });
    MainWindowFixture f(false);
    QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/init.ini"), f.folder.Dat(QStringLiteral("init.ini"))));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTest::qWait(50);  // layouts settle on the new fonts
    const QFont unchanged = quorin::qtdraw::SongFont(10.5);
    QCOMPARE(ChartInput<QLineEdit>(f.window.get(), "EdtName")->font().pointSizeF() != unchanged.pointSizeF(),
             change != 0);

    const auto* scroll = f.window->Inputs->findChild<QScrollArea*>(QStringLiteral("Panel2Scroll"));
    QVERIFY(scroll);
    const QRect shown = scroll->viewport()->rect();
    const QRect inputs(ChartInput<QWidget>(f.window.get(), "Panel2")->mapTo(scroll->viewport(), QPoint(0, 0)),
                       ChartInput<QWidget>(f.window.get(), "Panel2")->size());
    QVERIFY2(inputs.left() >= shown.left() && inputs.right() <= shown.right(),
             qPrintable(QStringLiteral("inputs %1 wide in %2").arg(inputs.width()).arg(shown.width())));
    for (QWidget* control : f.window->Inputs->findChildren<QWidget*>()) {
      // The inputs scroll up and down in the column: their width is checked above.
      if (!control->isVisible() || control->isWindow() || control->parentWidget() == scroll ||
          control == ChartInput<QWidget>(f.window.get(), "Panel2")) {
        continue;
      }
      const QWidget* parent = control->parentWidget();
      const QString where = QStringLiteral("%1 (%2) at %3: %4,%5 %6x%7 in %8x%9")
                                .arg(control->objectName(), QString::fromLatin1(control->metaObject()->className()))
                                .arg(change)
                                .arg(control->x()).arg(control->y()).arg(control->width()).arg(control->height())
                                .arg(parent->width()).arg(parent->height());
      QVERIFY2(!control->size().isEmpty() && parent->rect().contains(control->geometry()), qPrintable(where));
    }

    // A menu item cut short draws otherwise than in a wider menu; the part left of the
    // shortcut column must look the same.
    for (QAction* top : f.window->menuBar()->actions()) {
      QMenu* menu = top->menu();
      if (!menu) continue;
      menu->popup(QPoint(0, 0));
      QVERIFY(QTest::qWaitForWindowExposed(menu));
      const QImage natural = menu->grab().toImage();
      int shortcuts = 0;
      for (QAction* item : menu->actions()) {
        shortcuts = std::max(shortcuts, menu->fontMetrics().horizontalAdvance(item->shortcut().toString(QKeySequence::NativeText)));
      }
      const int rowHeight = menu->fontMetrics().height();
      menu->setMinimumWidth(menu->width() + 4 * rowHeight);
      menu->resize(menu->minimumWidth(), menu->height());
      const QImage wider = menu->grab().toImage();
      // Right of the texts: the shortcuts, a line's room, the submenu arrows and the border.
      constexpr int kArrowAndBorder = 24;
      const QRect texts(0, 0, natural.width() - shortcuts - rowHeight - kArrowAndBorder, natural.height());
      QVERIFY2(natural.copy(texts) == wider.copy(texts), qPrintable(top->text()));
      menu->hide();
    }
  }

  void treeStyleItemsRecordTheChoice() {
    MainWindowFixture f;
    f.window->MenuAction(QStringLiteral("N11"))->trigger();
    f.window->MenuAction(QStringLiteral("N15"))->trigger();
    f.Close();
    const IniFile ini(f.folder.Dat(QStringLiteral("init.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("tree", "showStyle", -1), 0);
    QCOMPARE(ini.ReadInteger("tree", "sort", -1), 2);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

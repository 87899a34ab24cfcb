// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the windows for a person to look at: written only when
// QUORIN_SCREENSHOT_DIR names a folder (run under a real X server, e.g. xvfb-run).
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include "base/data_location.h"
#include "base/files.h"
#include "base/script_text.h"
#include "qtdraw/fonts.h"
#include "ui/program_start.h"
#include "support/case_window_fixture.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/search_driver.h"
#include "ui/ui_font.h"
#include "chart/quorin_day.h"
#include "ui/frm_dili.h"
#include "ui/frm_fan_tui.h"
#include "ui/frm_txt_help.h"
#include "ui/search_page.h"
#include "ui/shared_library_dialog.h"
#include "ui/frm_set.h"
#include "ui/frm_wnl.h"
#include "ui/frm_zhou_yi.h"
#include "ui/chart_inputs_panel.h"
#include "ui/persons_editor.h"

using quorin::testing::ChartInput;
using quorin::testing::ChooseLine;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;

class ScreenshotsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void songFontRendersChinese() {
    const QFont font(quorin::qtdraw::kSongFont, 12);
    QVERIFY(QFontMetrics(font).inFont(QChar(0x56FD)));  // 国
  }

  void windows() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nleft=0\r\ntop=0\r\nwidth=1180\r\nheight=760\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_start.png")));
    ChartInput<QLineEdit>(f.window.get(), "EdtName")->setText(QStringLiteral("张三"));
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "CboShan"), 13);
    f.SetMoment(2024, 3, 5, 7, 30);
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);
    QVERIFY(f.Pai());
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_chart.png")));
    // The year column's stem and branch band selected: relation lines and the six-line chart.
    const auto& table = f.window->Engine().ImageState().table;
    const QPoint cell(table.left + 2 * table.columnWidth + table.columnWidth / 2,
                      table.top + table.textHeight + 2 * table.rowGap + 1);
    QTest::mousePress(f.Find<QLabel>("ImgPan"), Qt::LeftButton, {}, cell);
    QTest::mouseRelease(f.Find<QLabel>("ImgPan"), Qt::LeftButton, {}, cell);
    QVERIFY(f.window->ChartImage().save(folder + QStringLiteral("/chart_selected.png")));
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_chart_selected.png")));
    f.Pages()->setCurrentIndex(1);
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_analysis.png")));
    // The search page after a range across a year end, 一卦纯清 with the mountain.
    quorin::ui::SearchPage* search = f.Search();
    f.Pages()->setCurrentIndex(2);
    quorin::testing::ChooseLine(quorin::testing::Named<QComboBox>(search, QStringLiteral("CboJiCond")), 2);
    QVERIFY(quorin::testing::SearchDays(search, 2024, 11, 1, 2026, 2, 28));
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_search.png")));
    quorin::ui::TFrmSet settings(f.window.get());
    settings.show();
    QTest::qWait(100);
    QVERIFY(settings.grab().save(folder + QStringLiteral("/settings.png")));
    quorin::ui::TFrmDiLi places(f.window.get());
    places.show();
    QTest::qWait(100);
    QVERIFY(places.grab().save(folder + QStringLiteral("/places.png")));
    quorin::cases::LibraryAddress address;
    address.host = "server.example";
    address.database = "practice";
    address.user = "wang";
    address.sslMode = "verify-full";
    address.rootCertificate = "/home/wang/诊所根证书.crt";
    quorin::ui::SharedLibraryDialog shared(address, QString(), f.window.get());
    shared.show();
    QTest::qWait(100);
    QVERIFY(shared.grab().save(folder + QStringLiteral("/shared_library.png")));
  }

  // A household charted and searched, and three of the results compared (the README shows it).
  void householdAndComparison() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    MainWindowFixture f(false);
    f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nleft=0\r\ntop=0\r\nwidth=1180\r\nheight=760\r\n");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const std::vector<quorin::OtherPerson> household{{"配偶", false, 1982}, {"长子", true, 2010}};
    ChartInput<QLineEdit>(f.window.get(), "EdtName")->setText(QStringLiteral("张三"));
    f.window->findChild<quorin::ui::ChartInputsPanel*>()->SetOtherPersons(household);
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "CboShan"), 1);
    f.SetMoment(2025, 5, 1, 10, 5);
    QVERIFY(f.Pai());
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_household.png")));
    quorin::ui::SearchPage* search = f.Search();
    f.Pages()->setCurrentIndex(2);
    ChooseLine(Named<QComboBox>(search, QStringLiteral("CboShanS")), 1);
    Named<QListWidget>(search, QStringLiteral("ChkAvoid"))->item(2)->setCheckState(Qt::Checked);  // 冲主命
    Named<QListWidget>(search, QStringLiteral("ChkAdd"))->item(2)->setCheckState(Qt::Checked);    // 主命纳入
    Named<QListWidget>(search, QStringLiteral("ChkGuaQi"))->item(2)->setCheckState(Qt::Checked);  // 合十
    search->findChild<quorin::ui::PersonsEditor*>()->SetPersons(household);
    QVERIFY(quorin::testing::SearchDays(search, 2025, 5, 1, 2025, 6, 30));
    QListWidget* results = quorin::testing::ResultList(search);
    QVERIFY(results->count() > 10);
    for (const int row : {0, 4, 10}) results->item(row)->setSelected(true);  // three days
    Named<QPushButton>(search, QStringLiteral("BtnCompare"))->click();
    QTest::qWait(100);
    QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_household_search.png")));
    QTableWidget* table = quorin::testing::ShownComparisonTable();
    QVERIFY(table);
    table->window()->resize(1000, 760);
    QTest::qWait(100);
    QVERIFY(table->window()->grab().save(folder + QStringLiteral("/comparison.png")));
    table->window()->close();
  }

  // The main window with a chart in traditional Chinese of Hong Kong (the README shows it).
  void traditionalChinese() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    quorin::base::SetShippedFolder(quorin::base::ExecutableFolder());
    QVERIFY(quorin::ui::UseScript(quorin::base::Script::kTraditionalHongKong));
    {
      MainWindowFixture f(false);
      f.folder.WriteGbk(QStringLiteral("dat/init.ini"), "[window]\r\nleft=0\r\ntop=0\r\nwidth=1180\r\nheight=760\r\n");
      f.window->show();
      QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
      ChartInput<QLineEdit>(f.window.get(), "EdtName")->setText(QStringLiteral("陳大文"));
      ChooseLine(ChartInput<QComboBox>(f.window.get(), "CboShan"), 13);
      f.SetMoment(2024, 3, 5, 7, 30);
      QVERIFY(f.Pai());
      QTest::qWait(100);
      QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_chart_zh_HK.png")));
      f.Pages()->setCurrentIndex(1);
      QTest::qWait(100);
      QVERIFY(f.window->grab().save(folder + QStringLiteral("/main_analysis_zh_HK.png")));
    }
    QVERIFY(quorin::ui::UseScript(quorin::base::Script::kSimplified));
    quorin::base::SetShippedFolder({});
  }

  // The shipped layout with a case in the tree, at the smallest, the standard, an enlarged and
  // the largest interface font (menus too), with the file menu open.
  void shippedLayout() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    for (const int change : {-10, 0, 4, 10}) {
      quorin::ui::MUiFont scaler(change, true);
      quorin::ui::SetProgramUiFont(&scaler);
      {
        quorin::testing::CaseWindowFixture f(false);
        QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/init.ini"),
                            f.folder().Dat(QStringLiteral("init.ini"))));
        f.StoreCases({quorin::testing::SampleCase("某人", 2026, 12, 9, 13, 57), quorin::testing::SampleCase("欧阳某某", -4712, 12, 29, 23, 59)});
        f.Show();
        QTest::qWait(100);
        QVERIFY(f.window().grab().save(folder + QStringLiteral("/main_shipped_font%1.png").arg(change)));
        QMenu* fileMenu = f.window().menuBar()->actions().first()->menu();
        fileMenu->popup(f.window().mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
        QTest::qWait(100);
        QVERIFY(fileMenu->grab().save(folder + QStringLiteral("/file_menu_font%1.png").arg(change)));
        fileMenu->hide();
      }
      quorin::ui::SetProgramUiFont(nullptr);
    }
  }

  // Qt's own dialogs in Chinese: a message box with every button the program uses, the save
  // dialog and the print dialog.
  void qtDialogs() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    QMessageBox box(QMessageBox::Question, QStringLiteral("另存为"), QStringLiteral("要替换它吗？"),
                    QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::qWait(100);
    QVERIFY(box.grab().save(folder + QStringLiteral("/message_box.png")));
    box.hide();
    quorin::testing::WhenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
      QTest::qWait(200);
      dialog.grab().save(folder + QStringLiteral("/save_dialog.png"));
      dialog.reject();
    });
    quorin::ui::Prompts().SaveFile(nullptr, {QStringLiteral("另存为"), quorin::ui::ParseFilterList(QStringLiteral("Rtf格式|*.rtf|Txt格式|*.txt")), 0});
    quorin::testing::WhenDialogShows<QPrintDialog>([&](QPrintDialog& dialog) {
      QTest::qWait(200);
      dialog.grab().save(folder + QStringLiteral("/print_dialog.png"));
      dialog.reject();
    });
    QPrinter printer;
    quorin::ui::Prompts().SetUpPrinter(nullptr, printer);
  }

  // The other painted windows: the perpetual calendar's grid, the I Ching figures, the reverse
  // pillar search with a moment found, and the help window.
  void calendarAndIChing() {
    const QString folder = qEnvironmentVariable("QUORIN_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("QUORIN_SCREENSHOT_DIR not set");
    QDir().mkpath(folder);
    quorin::testing::ScriptedPrompter prompter;
    quorin::ui::TFrmWnl calendar;
    calendar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&calendar));
    calendar.Open({2024, 2, 10, 12, 0});
    QTest::qWait(100);
    QVERIFY(calendar.grab().save(folder + QStringLiteral("/calendar.png")));
    quorin::ui::TFrmZhouYi iChing;
    iChing.show();
    QVERIFY(QTest::qWaitForWindowExposed(&iChing));
    QTest::qWait(100);
    QVERIFY(iChing.grab().save(folder + QStringLiteral("/iching.png")));
    quorin::ui::TFrmFanTui reverse;
    reverse.Prepare({17, 15, 29, 47}, true);
    reverse.show();
    QVERIFY(QTest::qWaitForWindowExposed(&reverse));
    quorin::testing::Named<QPushButton>(&reverse, "Btncha")->click();
    QVERIFY(reverse.grab().save(folder + QStringLiteral("/fantui.png")));
    quorin::ui::TFrmTxtHelp help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QVERIFY(help.grab().save(folder + QStringLiteral("/help.png")));
  }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a practice's shared library: it connects from the file menu and names the
// library in its title, another program's change reaches its tree by itself with the selection kept,
// a save over another user's change lets the user choose, and a read-only role saves nothing.
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <unistd.h>

#include "cases/library_address.h"
#include "cases/pg_connection.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "ui/case_tree_view.h"
#include "ui/frm_main.h"
#include "ui/shared_library_dialog.h"

using quorin::TRecordData;
using quorin::testing::CaseWindowFixture;
using quorin::testing::Named;
using quorin::testing::SampleCase;
using quorin::testing::WhenDialogShows;

namespace {

std::string ServerTarget(const std::string& database, const std::string& user = "postgres") {
  return "host=" QUORIN_TEST_PG_DIR " user=" + user + " dbname=" + database;
}

// Connects the window through "连接共享案例库..." as the user fills the dialog in.
void ConnectWindow(CaseWindowFixture& f, const std::string& database, const std::string& user) {
  WhenDialogShows<quorin::ui::SharedLibraryDialog>([&](quorin::ui::SharedLibraryDialog& d) {
    Named<QLineEdit>(&d, "EdtHost")->setText(QStringLiteral(QUORIN_TEST_PG_DIR));
    Named<QLineEdit>(&d, "EdtDatabase")->setText(QString::fromStdString(database));
    Named<QLineEdit>(&d, "EdtUser")->setText(QString::fromStdString(user));
    Named<QComboBox>(&d, "CmbSslMode")->setCurrentIndex(4);  // a Unix socket has no TLS
    Named<QPushButton>(&d, "BtnConnect")->click();
  });
  f.TriggerAndWait("mnuF_sharedLibrary");
}

void Save(CaseWindowFixture& f) { quorin::testing::ChartInput<QPushButton>(&f.window(), "SbtoSave")->click(); }

}  // namespace

class SharedLibraryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    quorin::testing::PrepareApplication();
    // The remembered choice goes to a settings folder of the test's own.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path());
    database_ = "window_" + std::to_string(getpid());
    QVERIFY(admin_.Open(ServerTarget("postgres")));
    QVERIFY(admin_.Execute("create database " + database_));
    quorin::cases::SharedLibrary owner;
    QVERIFY(owner.Connect(ServerTarget(database_)));
    QVERIFY(owner.Initialize());
  }
  void cleanupTestCase() {
    static_cast<void>(admin_.Execute("drop database if exists " + database_ + " with (force)"));
  }

  void anotherUsersChangesReachTheTreeAndASaveOverThemLetsTheUserChoose() {
    quorin::cases::SharedLibrary other;
    QVERIFY(other.Connect(ServerTarget(database_)));
    TRecordData first = SampleCase("甲", 2020, 1, 2, 8, 5);
    const auto firstId = other.Insert(first, "");
    QVERIFY(firstId);

    CaseWindowFixture f;
    ConnectWindow(f, database_, "postgres");
    QVERIFY(f.window().windowTitle().contains(QStringLiteral("共享案例库：postgres@")));
    QVERIFY(f.tree().FindCaseNode(*firstId));
    QVERIFY(f.SelectCase(*firstId));

    // Another user adds a case from another program: it shows within two seconds, and the user's
    // selection stays.
    QProcess adder;
    adder.start(QStringLiteral(QUORIN_CLI),
                {QStringLiteral("cases"), QStringLiteral("--library"), QString::fromStdString(ServerTarget(database_)),
                 QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("乙"), QStringLiteral("--date"),
                 QStringLiteral("2021-03-04 10:00"), QStringLiteral("--class"), QStringLiteral("开业")});
    QVERIFY(adder.waitForFinished(30000));
    QCOMPARE(adder.exitCode(), 0);
    const int secondId = QString::fromUtf8(adder.readAllStandardOutput()).trimmed().toInt();
    QVERIFY(secondId > *firstId);
    QTRY_VERIFY_WITH_TIMEOUT(f.tree().FindCaseNode(secondId) != nullptr, 2000);
    QCOMPARE(f.tree().SelectedCaseId(), *firstId);

    // The user opens the first case; meanwhile the other user changes it.
    QVERIFY(f.OpenCase(*firstId));
    auto theirs = other.Read(*firstId);
    QVERIFY(theirs);
    theirs->record.name = "甲改";
    QCOMPARE(other.Update(*firstId, theirs->record, theirs->remarkRtf, theirs->version), quorin::cases::CaseSave::kSaved);

    // Saving asks; "保留我的修改" stores the user's remark over theirs, nothing silently.
    quorin::testing::TypeRemark(f.remarks(), QStringLiteral("我的评语"));
    f.prompter().answers.enqueue(quorin::ui::Answer::Yes);  // 要修改“甲”这条记录吗？
    f.prompter().choices.enqueue(0);
    Save(f);
    QVERIFY(f.prompter().Texts().join(QLatin1Char('\n')).contains(QStringLiteral("已经被其他人修改过")));
    const auto stored = other.Read(*firstId);
    QVERIFY(stored);
    QCOMPARE(stored->version, 3);
    QVERIFY(QString::fromStdString(quorin::cases::RemarkPlainText(stored->remarkRtf)).contains(QStringLiteral("我的评语")));
    QVERIFY(!f.remarks()->document()->isModified());

    // "另存为新案例" after a second change keeps theirs and adds the user's as a case of its own.
    auto again = other.Read(*firstId);
    QVERIFY(again);
    again->record.name = "甲再改";
    QCOMPARE(other.Update(*firstId, again->record, again->remarkRtf, again->version), quorin::cases::CaseSave::kSaved);
    quorin::testing::TypeRemark(f.remarks(), QStringLiteral("另一条评语"));
    f.prompter().answers.enqueue(quorin::ui::Answer::Yes);
    f.prompter().choices.enqueue(2);
    Save(f);
    const auto ids = other.CaseIds();
    QVERIFY(ids);
    QCOMPARE(ids->size(), std::size_t{3});
    QCOMPARE(other.Read(*firstId)->record.name, std::string("甲再改"));
    QCOMPARE(f.prompter().unexpected, 0);
  }

  // A large library shows its newest cases; a category none of them belongs to is there all the
  // same, and opening it brings its cases.
  void aCategoryFillsWhenItIsOpened() {
    const std::string big = database_ + "_big";
    QVERIFY(admin_.Execute("create database " + big));
    quorin::cases::SharedLibrary owner;
    QVERIFY(owner.Connect(ServerTarget(big)));
    QVERIFY(owner.Initialize());
    QVERIFY(owner.SetClassNames({"开业", "求财"}));
    TRecordData old = SampleCase("旧", 2001, 1, 2, 8, 5, "求财");
    const auto oldId = owner.Insert(old, "");
    TRecordData recent = SampleCase("新", 2024, 1, 2, 8, 5, "开业");
    QVERIFY(oldId && owner.Insert(recent, ""));
    quorin::cases::PgConnection direct;
    QVERIFY(direct.Open(ServerTarget(big)));
    QVERIFY(direct.Execute("insert into quorin.cases (category, name, sex, date_year, date_num, date_style, addr_ind, "
                           "addr_name, addr_num, remark_file, tag1, tag2, shan_gua, event, master_date, remark_text) "
                           "select category, name, sex, date_year, date_num, date_style, addr_ind, addr_name, addr_num, "
                           "remark_file, tag1, tag2, shan_gua, event, master_date, remark_text from quorin.cases, "
                           "generate_series(1, 1100) where id = 2"));

    CaseWindowFixture f;
    f.tree().SetDisplay(0, 0);
    ConnectWindow(f, big, "postgres");
    QVERIFY(!f.tree().FindCaseNode(*oldId));
    QTreeWidgetItem* category = quorin::ui::FindCategoryNodeIn(*f.treeWidget(), QStringLiteral("求财"));
    QVERIFY(category);
    QCOMPARE(category->childCount(), 0);
    category->setExpanded(true);
    QVERIFY(f.WaitForTree());
    QVERIFY(f.tree().FindCaseNode(*oldId));
    QCOMPARE(f.tree().CaseIds().size(), std::size_t{1001});
    QVERIFY(quorin::ui::FindCategoryNodeIn(*f.treeWidget(), QStringLiteral("求财"))->isExpanded());

    // The user moves the open case: the next save is still theirs, asked about by nobody.
    QVERIFY(f.OpenCase(*oldId));
    f.MoveSelectedCaseTo(QStringLiteral("开业"));
    QVERIFY(f.WaitForTree());  // its new category opens, and fills
    quorin::testing::TypeRemark(f.remarks(), QStringLiteral("移动后的评语"));
    f.prompter().answers.enqueue(quorin::ui::Answer::Yes);  // 要修改“旧”这条记录吗？
    Save(f);
    const auto moved = owner.Read(*oldId);
    QVERIFY(moved);
    QCOMPARE(moved->record.className, std::string("开业"));
    QVERIFY2(moved->version == 3, qPrintable(f.prompter().Texts().join(QLatin1Char('|'))));
    QCOMPARE(f.prompter().unexpected, 0);
    f.Close();
    direct.Close();
    static_cast<void>(admin_.Execute("drop database if exists " + big + " with (force)"));
  }

  // The server goes down while the user edits a case: the save is told, nothing typed goes, and
  // the save goes through by itself once the server is back.
  void aSaveWaitsForTheServerAndGoesThroughWhenItIsBack() {
    QTemporaryDir serverDir(QStringLiteral("/tmp/quorin-pgw-XXXXXX"));
    const QString script = QStringLiteral(QUORIN_SOURCE_DIR "/tests/support/pg_server.sh");
    const auto server = [&](const char* action) {
      return QProcess::execute(QStringLiteral("bash"), {script, QLatin1String(action), serverDir.path()}) == 0;
    };
    QVERIFY(server("start"));
    const std::string target = "host=" + serverDir.path().toStdString() + " user=postgres dbname=postgres";
    {
      quorin::cases::SharedLibrary owner;
      QVERIFY(owner.Connect(target));
      QVERIFY(owner.Initialize());
      TRecordData first = SampleCase("甲", 2020, 1, 2, 8, 5);
      QVERIFY(owner.Insert(first, ""));
    }
    CaseWindowFixture f;
    WhenDialogShows<quorin::ui::SharedLibraryDialog>([&](quorin::ui::SharedLibraryDialog& d) {
      Named<QLineEdit>(&d, "EdtHost")->setText(serverDir.path());
      Named<QLineEdit>(&d, "EdtDatabase")->setText(QStringLiteral("postgres"));
      Named<QLineEdit>(&d, "EdtUser")->setText(QStringLiteral("postgres"));
      Named<QComboBox>(&d, "CmbSslMode")->setCurrentIndex(4);
      Named<QPushButton>(&d, "BtnConnect")->click();
    });
    f.TriggerAndWait("mnuF_sharedLibrary");
    QVERIFY(f.OpenCase(1));

    QVERIFY(server("crash"));
    quorin::testing::TypeRemark(f.remarks(), QStringLiteral("断线时写的评语"));
    f.prompter().answers.enqueue(quorin::ui::Answer::Yes);  // 要修改“甲”这条记录吗？
    Save(f);
    QVERIFY2(f.prompter().LastText().contains(QStringLiteral("连接恢复后会自动再保存")), qPrintable(f.prompter().Texts().join(QLatin1Char('|'))));
    QVERIFY(f.window().windowTitle().contains(QStringLiteral("（有案例等待保存）")));
    QVERIFY(f.remarks()->document()->isModified());

    QVERIFY(server("resume"));
    QTRY_VERIFY_WITH_TIMEOUT(!f.remarks()->document()->isModified(), 15000);
    QVERIFY(!f.window().windowTitle().contains(QStringLiteral("等待")));
    quorin::cases::SharedLibrary reader;
    QVERIFY(reader.Connect(target));
    const auto stored = reader.Read(1);
    QVERIFY(stored);
    QVERIFY(QString::fromStdString(quorin::cases::RemarkPlainText(stored->remarkRtf)).contains(QStringLiteral("断线时写的评语")));
    QCOMPARE(stored->version, 2);
    f.Close();
    QVERIFY(server("stop"));
  }

  void aReadOnlyRoleIsToldInTheTitleAndSavesNothing() {
    QVERIFY(admin_.Execute("do $$ begin create role reader login; exception when duplicate_object then null; end $$"));
    quorin::cases::SharedLibrary owner;
    QVERIFY(owner.Connect(ServerTarget(database_)));
    QVERIFY(owner.Grant("reader", true));
    const auto before = owner.CaseIds();
    QVERIFY(before);

    CaseWindowFixture f;
    ConnectWindow(f, database_, "reader");
    QVERIFY(f.window().windowTitle().contains(QStringLiteral("（只读）")));
    QCOMPARE(f.tree().CaseIds().size(), before->size());  // it reads everything
    QVERIFY(f.PaiFor(QStringLiteral("丙"), 2022, 5, 6, 9, 30));
    Save(f);
    QCOMPARE(f.prompter().LastText(), QString::fromUtf8(quorin::cases::kReadOnlyLibrary));
    QCOMPARE(owner.CaseIds(), before);
  }

 private:
  QTemporaryDir settings_;
  quorin::cases::PgConnection admin_;
  std::string database_;
};

QTEST_MAIN(SharedLibraryWindowTest)
#include "shared_library_window_test.moc"

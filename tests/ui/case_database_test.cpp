// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-database commands of the file menu (backup, restore, delete all,
// compaction, export, import) and a user's whole road with one case.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include "base/files.h"
#include "cases/remark_files.h"
#include "support/case_window_fixture.h"
#include "support/named_control.h"
#include "ui/clock.h"
#include "ui/frm_edit_class.h"
#include "ui/frm_export_class.h"
#include "ui/frm_same_name.h"
#include "ui/frm_search.h"
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

const QString kStamp = QStringLiteral("2024年3月5日8时7分9秒");

struct FixedClock {
  FixedClock() {
    quorin::ui::SetClock([] { return QDateTime(QDate(2024, 3, 5), QTime(8, 7, 9)); });
  }
  ~FixedClock() { quorin::ui::SetClock({}); }
};

int StoredCounter() {
  quorin::cases::MRecordBase reader;
  return reader.Open(quorin::ui::CaseDatabasePath()) ? reader.GetPrimaryId() : -1;
}

QString RemarkText(const std::string& path) {
  return QString::fromStdString(quorin::cases::ReadRemarkPlainText(path).value_or("")).trimmed();
}

void AcceptExport(const QStringList& unchecked = {}) {
  WhenDialogShows<quorin::ui::TFrmExportClass>([unchecked](quorin::ui::TFrmExportClass& d) {
    for (int i = 0; i < Named<QListWidget>(&d, "LstClass")->count(); ++i) {
      if (unchecked.contains(Named<QListWidget>(&d, "LstClass")->item(i)->text()))
        Named<QListWidget>(&d, "LstClass")->item(i)->setCheckState(Qt::Unchecked);
    }
    Named<QPushButton>(&d, "BitBtn1")->click();
  });
}

void PickFirstFound() {
  WhenDialogShows<quorin::ui::TFrmSameName>([](quorin::ui::TFrmSameName& d) {
    Named<QListWidget>(&d, "LstRecord")->setCurrentRow(0);
    Named<QPushButton>(&d, "BtnSee")->click();
  });
}

}  // namespace

class CaseDatabaseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void backupAndRestoreKeepEveryCaseAndRemark() {
    FixedClock clock;
    QTemporaryDir outside;
    CaseWindowFixture f(false);
    TRecordData kept = SampleCase("甲", 2000, 1, 1, 1, 1);
    kept.remarkFile = "jia";
    f.StoreCases({kept, SampleCase("乙", 2001, 1, 1, 1, 1)});
    const std::string remarks = quorin::base::ProgramFolder() + "Orlune_f/";
    QVERIFY(quorin::cases::WriteRemarkFromPlainText(remarks + "jia.rtf", "甲的原评语"));
    f.Show();

    f.prompter().folders << outside.path() << outside.path();
    f.main.Trigger("N18");
    const QString backup = outside.path() + QStringLiteral("/Quorin_备份_") + kStamp;
    QCOMPARE(f.prompter().LastText(), QStringLiteral("成功备份，已保存到") + backup + QStringLiteral("目录下"));
    QCOMPARE(f.prompter().folderPrompts.last(), QStringLiteral("请选择备份位置："));
    QVERIFY(QFile::exists(backup + QStringLiteral("/Orlune.db")));
    QVERIFY(QFile::exists(backup + QStringLiteral("/Orlune_f/jia.rtf")));
    f.main.Trigger("N18");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("当前时间的文件夹已经存在，请稍后再备份！"));

    // Changes after the backup, then the restore brings the backup back and ends the program.
    QVERIFY(f.SelectCase(1));
    f.prompter().answers << Answer::Yes;
    f.main.Trigger("pop_ming_delete");
    QVERIFY(!quorin::base::FileExists(remarks + "jia.rtf"));
    f.prompter().Clear();
    f.prompter().answers << Answer::Yes;
    f.prompter().folders << backup;
    f.main.Trigger("N17");
    QCOMPARE(f.prompter().shown.first().text, QStringLiteral("执行此操作将覆盖现有的案例数据，要继续吗？"));
    QCOMPARE(f.prompter().shown.first().defaultButton, Answer::No);
    QCOMPARE(f.prompter().LastText(), QStringLiteral("成功还原，请重新打开软件！"));
    QVERIFY(!f.window().isVisible());
    QVERIFY(QFile::exists(f.folder().Dat(QStringLiteral("init.ini"))));  // the layout was saved
    QCOMPARE(StoredCase(1).name, std::string("甲"));
    QCOMPARE(RemarkText(remarks + "jia.rtf"), QStringLiteral("甲的原评语"));
    f.Restart();
    QCOMPARE(f.tree().CaseIds(), std::vector<int>({2, 1}));
  }

  void aRestoreThatCannotWorkLeavesTheDataAsItWas() {
    QTemporaryDir source;
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1)});
    f.Show();
    // No remark folder in the source: nothing is deleted.
    QFile db(source.path() + QStringLiteral("/Orlune.db"));
    QVERIFY(db.open(QIODevice::WriteOnly));
    db.write("not a database at all, but long enough to look like a file of some kind");
    db.close();
    f.prompter().answers << Answer::Yes;
    f.prompter().folders << source.path();
    f.main.Trigger("N17");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("没有要还原的评语文件夹！"));
    // A source the store cannot use: its message, and the data stays.
    QVERIFY(QDir(source.path()).mkpath(QStringLiteral("Orlune_f")));
    QVERIFY(quorin::cases::WriteRemarkFromPlainText(source.path().toStdString() + "/Orlune_f/x.rtf", "x"));
    f.prompter().answers << Answer::Yes;
    f.prompter().folders << source.path();
    f.main.Trigger("N17");
    QVERIFY(f.prompter().LastText().endsWith(QStringLiteral("\r\n现有的案例数据没有改动。")));
    QVERIFY(f.window().isVisible());
    QCOMPARE(StoredCase(1).name, std::string("甲"));
    // A folder without a database.
    QVERIFY(QFile::remove(source.path() + QStringLiteral("/Orlune.db")));
    f.prompter().answers << Answer::Yes;
    f.prompter().folders << source.path();
    f.main.Trigger("N17");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("没有要还原的的db数据文件！"));
  }

  void aRestoreNamesTheRemarkFileItCouldNotRebuild() {
    QTemporaryDir source;
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1)});
    f.Show();
    // A backup case whose remark file is missing and whose name is too long for any disk.
    {
      quorin::cases::MRecordBase backup;
      QVERIFY(backup.Open(source.path().toStdString() + "/Orlune.db"));
      TRecordData r = SampleCase("乙", 2001, 1, 1, 1, 1);
      r.remarkFile = std::string(300, 'a');
      QVERIFY(backup.Insert(r));
    }
    QVERIFY(QDir(source.path()).mkpath(QStringLiteral("Orlune_f")));
    QVERIFY(quorin::cases::WriteRemarkFromPlainText(source.path().toStdString() + "/Orlune_f/x.rtf", "x"));
    QVERIFY(quorin::base::AtomicWriteFile(source.path().toStdString() + "/Orlune_f/save.txt", "save\r\n"));
    f.prompter().answers << Answer::Yes;
    f.prompter().folders << source.path();
    f.main.Trigger("N17");
    const QString missing = QString::fromStdString(quorin::base::ProgramFolder()) + QStringLiteral("Orlune_f/") +
                            QString(300, QLatin1Char('a')) + QStringLiteral(".rtf");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("案例数据已经还原，但评语文件没有全部写入：无法写入评语文件：") +
                                          missing + QStringLiteral("\r\n请重新打开软件！"));
    QCOMPARE(StoredCase(1).name, std::string("乙"));
  }

  void deletingAllNeedsTheExactCode() {
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1)});
    f.Show();
    QString code;
    f.prompter().inputFunction = [&](const QString& caption, const QString& prompt) -> std::optional<QString> {
      code = caption.mid(4, 4);
      if (caption != QStringLiteral("删除码：") + code + QStringLiteral(" ") ||
          prompt != QStringLiteral("请输入删除码：      ")) {
        return std::nullopt;
      }
      return QStringLiteral(" ") + code;  // a leading space makes it wrong
    };
    f.prompter().answers << Answer::Yes;
    f.main.Trigger("N19");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("删除码错误，无法删除！"));
    QCOMPARE(f.prompter().shown.first().caption, QStringLiteral("删除所有案例"));
    QCOMPARE(code.size(), 4);
    QCOMPARE(StoredCase(1).name, std::string("甲"));

    f.prompter().inputFunction = [](const QString& caption, const QString&) -> std::optional<QString> {
      return caption.mid(4, 4);
    };
    f.prompter().answers << Answer::Yes;
    f.main.Trigger("N19");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("成功删除所有记录，请重新打开软件！"));
    QVERIFY(!f.window().isVisible());
    QVERIFY(!quorin::base::FileExists(quorin::ui::CaseDatabasePath()));
    f.Restart();
    QCOMPARE(f.tree().CaseCount(), 0);
  }

  void compactionRenumbersOnlyLargeStores() {
    CaseWindowFixture f(false);
    f.StoreManyCases(499);
    f.Show();
    f.main.Trigger("N20");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("案例数据过少，无需整理！"));
    f.Close();

    // 800 handed out, 300 left.
    f.StoreManyCases(301);
    {
      quorin::cases::MRecordBase writer;
      QVERIFY(writer.Open(quorin::ui::CaseDatabasePath()));
      QVERIFY(writer.BeginBatch());
      for (int id = 1; id <= 500; ++id) QVERIFY(writer.RemoveInBatch(id));
      QVERIFY(writer.EndBatch());
    }
    f.Restart();
    f.prompter().Clear();
    f.prompter().answers << Answer::No;
    f.main.Trigger("N20");
    QCOMPARE(f.prompter().shown.first().caption, QStringLiteral("整理数据"));
    QCOMPARE(StoredCounter(), 800);
    f.prompter().answers << Answer::Yes;
    f.main.Trigger("N20");
    QCOMPARE(f.prompter().LastText(), QStringLiteral(" 300 个案例已经整理出来！"));
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("整理进度：100％"));
    QVERIFY(!f.window().isVisible());
    QCOMPARE(StoredCounter(), 300);
    QCOMPARE(StoredCase(1).name, std::string("甲1"));  // old id 501, the second of the second lot
    QCOMPARE(StoredCase(300).name, std::string("甲300"));
  }

  void exportWritesTheChosenCategoriesAndKeepsTheRemark() {
    FixedClock clock;
    QTemporaryDir outside;
    CaseWindowFixture f(false);
    f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1, "开业"), SampleCase("乙", 2000, 1, 1, 1, 1, "求财"),
                  SampleCase("丙", 2000, 1, 1, 1, 1, "自选")});
    f.Show();
    TypeRemark(f.remarks(), QStringLiteral("正在写的评语"));
    // All checked: also the case whose category is not in the list.
    AcceptExport();
    f.prompter().folders << outside.path();
    f.prompter().answers << Answer::Yes;
    f.main.Trigger("db2");
    const QString file = outside.path() + QStringLiteral("/Quorin_") + kStamp + QStringLiteral(".db");
    QCOMPARE(f.prompter().LastText(),
             QStringLiteral(" 3 个案例文件已经保存到：") + file + QStringLiteral("，要打开所在文件夹吗？"));
    QCOMPARE(f.prompter().foldersShown, QStringList({outside.path()}));
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("正在写的评语"));
    QVERIFY(f.remarks()->document()->isModified());
    {
      quorin::cases::MRecordBase exported;
      QVERIFY(exported.Open(file.toStdString()));
      QCOMPARE(exported.GetPrimaryId(), 3);
    }
    f.prompter().Clear();
    AcceptExport();
    f.prompter().folders << outside.path();
    f.main.Trigger("db2");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("当前时间的数据库文件已经存在，请稍后再导出！"));
    QVERIFY(QFile::remove(file));

    // One category left out.
    AcceptExport({QStringLiteral("求财")});
    f.prompter().folders << outside.path();
    f.prompter().answers << Answer::No;
    f.main.Trigger("db2");
    quorin::cases::MRecordBase exported;
    QVERIFY(exported.Open(file.toStdString()));
    QCOMPARE(exported.GetPrimaryId(), 1);
    std::vector<std::string> names;
    QVERIFY(exported.GetClassNames(names));
    QCOMPARE(names, std::vector<std::string>({"开业"}));
  }

  void importNeedsAnExistingFile() {
    CaseWindowFixture f;
    f.prompter().files << quorin::ui::FileChoice{f.folder().Path() + QStringLiteral("none.db"), 0};
    f.main.Trigger("db1");
    QCOMPARE(f.prompter().LastText(), QStringLiteral("不存在这个数据库文件，无法导入！"));
    QCOMPARE(f.prompter().fileRequests.last().filters.first().pattern, QStringLiteral("*.db"));
    // The open database itself is refused, and the remarks editor keeps its text.
    f.prompter().files << quorin::ui::FileChoice{QString::fromStdString(quorin::ui::CaseDatabasePath()), 0};
    f.main.Trigger("db1");
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("输入自己的评语:"));
  }

  // Import and compaction end the program with the remarks editor used for progress:
  // a changed remark of the open case is offered for saving first.
  void aChangedRemarkIsOfferedBeforeTheProgramEnds() {
    const QString kOffer = QStringLiteral("当前评语文本已改变，要保存吗？");
    for (const bool compaction : {false, true}) {
      CaseWindowFixture f(false);
      if (compaction) {
        f.StoreManyCases(500);
      } else {
        f.StoreCases({SampleCase("甲", 2000, 1, 1, 1, 1)});
      }
      const std::string source = (f.folder().Path() + QStringLiteral("source.db")).toStdString();
      {
        quorin::cases::MRecordBase other;
        QVERIFY(other.Open(source));
        TRecordData record = SampleCase("乙", 2001, 2, 2, 2, 2);
        QVERIFY(other.Insert(record) == 1);
      }
      f.Show();
      QVERIFY(f.OpenCase(1));
      TypeRemark(f.remarks(), QStringLiteral("改过的评语"));
      f.prompter().Clear();
      if (compaction) {
        f.prompter().answers << Answer::Yes << Answer::Yes << Answer::Yes;  // 整理? / save? / 要修改?
        f.main.Trigger("N20");
        QCOMPARE(f.prompter().LastText(), QStringLiteral(" 500 个案例已经整理出来！"));
      } else {
        f.prompter().files << quorin::ui::FileChoice{QString::fromStdString(source), 0};
        f.prompter().answers << Answer::Yes << Answer::Yes;  // save? / 要修改?
        f.main.Trigger("db1");
        QCOMPARE(f.prompter().LastText(), QStringLiteral("共导入 1 个案例！请重启软件！"));
      }
      QVERIFY(f.prompter().Texts().contains(kOffer));
      QVERIFY(!f.window().isVisible());
      QCOMPARE(StoredCase(1).remarkText, std::string("改过的评语"));
      QCOMPARE(f.prompter().unexpected, 0);
    }
  }

  // A new user's road with one case: nothing is lost on the way.
  void oneCaseThroughEveryCommand() {
    FixedClock clock;
    QTemporaryDir outside;
    QString exportFile;
    {
      CaseWindowFixture f(false);
      f.StoreManyCases(499, "临时保存");
      f.StoreCases({SampleCase("钱七", 2001, 1, 1, 1, 1, "开业")});
      f.Show();
      QVERIFY(f.PaiFor(QStringLiteral("赵六"), 2024, 3, 5, 7, 30));
      TypeRemark(f.remarks(), QStringLiteral("吉日，宜开业"));
      f.SaveNew(QStringLiteral("求财"));
      QCOMPARE(f.window().CurrentCaseId(), 501);
      const std::string remarkPath = f.window().CurrentRemarkPath();

      // Reopened from the tree after a new case, edited and saved as the open case.
      f.prompter().answers << Answer::Yes;
      ChartInput<QPushButton>(&f.window(), "BtoNew")->click();
      QVERIFY(f.OpenCase(501));
      QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("吉日，宜开业"));
      TypeRemark(f.remarks(), QStringLiteral("吉日，宜开业。已验证"));
      f.prompter().answers << Answer::Yes;
      ChartInput<QPushButton>(&f.window(), "SbtoSave")->click();
      QCOMPARE(f.prompter().LastText(), QStringLiteral("已保存编辑后的案例。"));

      // Moved in the category display.
      f.TriggerAndWait("N11");
      QVERIFY(f.SelectCase(501));
      f.MoveSelectedCaseTo(QStringLiteral("开业"));
      QCOMPARE(StoredCase(501).className, std::string("开业"));

      // Found both ways.
      f.prompter().inputs << QStringLiteral("赵六");
      PickFirstFound();
      f.TriggerAndWait("N25");
      QCOMPARE(f.window().CurrentCaseId(), 501);
      WhenDialogShows<quorin::ui::TFrmSearch>([](quorin::ui::TFrmSearch& d) {
        Named<QLineEdit>(d, "EdtName")->setText(QStringLiteral("赵六"));
        Named<QCheckBox>(d, "ChkName")->setChecked(true);
        Named<QComboBox>(d, "CboProv")->setCurrentIndex(0);
        Named<QPushButton>(d, "BtnSearch")->click();
      });
      PickFirstFound();
      f.TriggerAndWait("pop_search");
      QCOMPARE(f.window().CurrentCaseId(), 501);

      // Exported, backed up and restored.
      AcceptExport();
      f.prompter().folders << outside.path();
      f.prompter().answers << Answer::No;
      f.main.Trigger("db2");
      exportFile = outside.path() + QStringLiteral("/Quorin_") + kStamp + QStringLiteral(".db");
      QVERIFY(QFile::exists(exportFile));
      f.prompter().folders << outside.path();
      f.main.Trigger("N18");
      f.prompter().answers << Answer::Yes;
      f.prompter().folders << outside.path() + QStringLiteral("/Quorin_备份_") + kStamp;
      f.main.Trigger("N17");
      QCOMPARE(f.prompter().LastText(), QStringLiteral("成功还原，请重新打开软件！"));
      QCOMPARE(RemarkText(remarkPath), QStringLiteral("吉日，宜开业。已验证"));

      // Compacted.
      f.Restart();
      f.prompter().answers << Answer::Yes;
      f.main.Trigger("N20");
      QCOMPARE(f.prompter().LastText(), QStringLiteral(" 501 个案例已经整理出来！"));

      // A category deleted: its cases go, ours stays with its remark.
      f.Restart();
      WhenDialogShows<quorin::ui::TFrmEditClass>([&f](quorin::ui::TFrmEditClass& d) {
        const std::vector<std::string> names = d.Names();
        Named<QListWidget>(&d, "LstClass")
            ->setCurrentRow(static_cast<int>(std::find(names.begin(), names.end(), "临时保存") - names.begin()));
        f.prompter().answers << Answer::Yes;
        Named<QPushButton>(&d, "BtoDelete")->click();
        Named<QPushButton>(&d, "Button6")->click();
      });
      f.TriggerAndWait("N23");
      QCOMPARE(f.prompter().LastText(), QStringLiteral("删除完成！"));
      QCOMPARE(f.tree().CaseIds(), std::vector<int>({501, 500}));
      QVERIFY(f.OpenCase(501));
      QCOMPARE(f.remarks()->toPlainText(), QStringLiteral("吉日，宜开业。已验证"));
      QCOMPARE(ChartInput<QLineEdit>(&f.window(), "EdtName")->text(), QStringLiteral("赵六"));
      QCOMPARE(f.prompter().unexpected, 0);
    }
    {
      // The export goes into a fresh installation.
      CaseWindowFixture fresh;
      fresh.prompter().files << quorin::ui::FileChoice{exportFile, 0};
      fresh.main.Trigger("db1");
      QCOMPARE(fresh.prompter().LastText(), QStringLiteral("共导入 501 个案例！请重启软件！"));
      QVERIFY(!fresh.window().isVisible());
      fresh.Restart();
      const TRecordData imported = StoredCase(501);
      QCOMPARE(imported.name, std::string("赵六"));
      QCOMPARE(imported.className, std::string("开业"));
      QVERIFY(fresh.OpenCase(501));
      QCOMPARE(fresh.remarks()->toPlainText(), QStringLiteral("吉日，宜开业。已验证"));
    }
  }
};

QTEST_MAIN(CaseDatabaseTest)
#include "case_database_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The help window's two read-only pages and the help document command.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_txt_help.h"
#include "ui/frm_txt_help_texts.h"

using quorin::testing::Named;
using quorin::testing::ProgramFolder;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmTxtHelp;

// Records the documents the desktop was asked to open.
class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void twoReadOnlyPages() {
    TFrmTxtHelp w;
    auto* guide = Named<QPlainTextEdit>(&w, "Memo1");
    auto* notes = Named<QPlainTextEdit>(&w, "Memo2");
    QCOMPARE(guide->toPlainText(), QString::fromStdString(quorin::ui::HelpGuideText()));
    QCOMPARE(notes->toPlainText(), QString::fromStdString(quorin::ui::HelpReleaseNotesText()));

    w.show();
    for (QPlainTextEdit* memo : {guide, notes}) {
      QVERIFY(memo->isReadOnly());
      const QString before = memo->toPlainText();
      memo->setFocus();
      QTest::keyClicks(memo, QStringLiteral("abc"));
      QTest::keyClick(memo, Qt::Key_Delete);
      QCOMPARE(memo->toPlainText(), before);
    }
    // Read-only text can still be selected and copied.
    notes->selectAll();
    notes->copy();
    QCOMPARE(QApplication::clipboard()->text(), notes->toPlainText());
  }

  // The guide covers the outline in order: set-up (the portable folder, the package and where
  // it keeps each user's data), charting steps, the chart picture, stepping, search, settings, cases.
  void guideFollowsTheOutline() {
    const QString guide = QString::fromStdString(quorin::ui::HelpGuideText());
    const QStringList topics{"运行环境", "安装就是复制", "卸载就是删除", "/usr/share/quorin",
                             "~/.local/share/quorin", "sudo apt remove quorin", "数据文件夹原样保留",
                             "新建", "主命生年", "公元前4713年",
                             "罗盘", "农历闰月", "真太阳时", "“>”", "点“排盘”", "评语", "存新", "存旧",
                             "卦气关系", "卦运关系", "只显示这个卦的六爻盘", "时--", "日++", "查找吉课",
                             "同时成立", "生入克入", "亲缘交通", "纳入", "避开", "现成吉格", "四干支配卦",
                             "甲午、甲子、庚寅、庚申", "节气分配4日卦", "案例数量不限", "右键菜单", "备份",
                             "先清除现在的全部案例", "删除案例数据", "导入导出", "最新的1000个案例"};
    qsizetype at = 0;
    for (const QString& topic : topics) {
      const qsizetype found = guide.indexOf(topic, at);
      QVERIFY2(found >= 0, qPrintable(topic));
      at = found;
    }
  }

  void releaseNotesNewestFirstWithNumberedItems() {
    const QStringList lines = QString::fromStdString(quorin::ui::HelpReleaseNotesText()).split(QLatin1Char('\n'));
    QVERIFY(lines[0].contains(QStringLiteral("2.3")));
    QVERIFY(lines[0].endsWith(QStringLiteral("改进")));
    QVERIFY(lines[1].startsWith(QStringLiteral("1. ")));
    QVERIFY(lines.contains(QStringLiteral("==============================")));
  }

  void helpDocumentOpensOnlyWhenPresent() {
    ScriptedPrompter prompter;
    ProgramFolder folder;
    // Without xdg-open on the path the document goes to Qt, which the recorder stands in for.
    QTemporaryDir noPrograms;
    const QByteArray path = qgetenv("PATH");
    const auto pathBack = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", noPrograms.path().toLocal8Bit());
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    quorin::ui::OpenHelpDocument(nullptr);
    QVERIFY(recorder.opened.isEmpty());
    QVERIFY(prompter.shown.isEmpty());

    QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/Quorin.html"), folder.Dat("Quorin.html")));
    quorin::ui::OpenHelpDocument(nullptr);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.opened.size(), 1);
    QCOMPARE(recorder.opened[0].toLocalFile(), folder.Dat("Quorin.html"));
    QVERIFY(prompter.shown.isEmpty());
  }

  // When nothing shows the help document (no program to open it, or xdg-open finding no
  // browser), the user is told so with the address to open by hand; an opening that works
  // tells nothing.
  void helpDocumentWithoutABrowserNamesItsAddress() {
    ScriptedPrompter prompter;
    ProgramFolder folder;
    QVERIFY(QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/Quorin.html"), folder.Dat("Quorin.html")));
    const QString address = QUrl::fromLocalFile(folder.Dat("Quorin.html")).toString();
    QTemporaryDir programs;
    const QByteArray path = qgetenv("PATH");
    const auto pathBack = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", programs.path().toLocal8Bit());
    const auto opener = [&](const QByteArray& script) {
      QFile file(programs.filePath(QStringLiteral("xdg-open")));
      QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write("#!/bin/sh\n" + script);
      file.close();
      file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const auto toldTheAddress = [&] {
      return prompter.LastText().contains(QStringLiteral("浏览器")) && prompter.LastText().contains(address);
    };

    quorin::ui::OpenHelpDocument(nullptr);  // no xdg-open, and the offscreen screen opens nothing
    QCOMPARE(prompter.shown.size(), 1);
    QVERIFY2(toldTheAddress(), qPrintable(prompter.LastText()));

    opener("exit 3\n");  // xdg-open: no method available
    quorin::ui::OpenHelpDocument(nullptr);
    QTRY_COMPARE(prompter.shown.size(), 2);
    QVERIFY2(toldTheAddress(), qPrintable(prompter.LastText()));

    const QString opened = programs.filePath(QStringLiteral("opened"));
    opener("[ \"$1\" = \"" + folder.Dat("Quorin.html").toUtf8() + "\" ] && echo \"$1\" > \"" + opened.toUtf8() + "\"\n");
    quorin::ui::OpenHelpDocument(nullptr);
    QTRY_VERIFY(QFile::exists(opened));
    QTest::qWait(200);
    QCOMPARE(prompter.shown.size(), 2);
  }

  // The shipped document is generated from the same text as the window's guide.
  void helpDocumentCarriesTheGuide() {
    QFile file(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/Quorin.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    const QRegularExpression chapter(QStringLiteral("^[一二三四五六七八九十]+、"));
    int chapters = 0;
    for (const QString& line : QString::fromStdString(quorin::ui::HelpGuideText()).split(QLatin1Char('\n'))) {
      if (!chapter.match(line).hasMatch()) continue;
      QVERIFY2(page.contains(QStringLiteral(">") + line.toHtmlEscaped() + QStringLiteral("</h2>")), qPrintable(line));
      ++chapters;
    }
    QVERIFY(chapters >= 8);
    QVERIFY(page.contains(QStringLiteral("升级改进历史")));
  }

  void shownModallyAndGoneAfterwards() {
    QTimer::singleShot(0, [] {
      auto* w = qobject_cast<TFrmTxtHelp*>(QApplication::activeModalWidget());
      QVERIFY(w);
      w->close();
    });
    TFrmTxtHelp::ShowModal(nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<TFrmTxtHelp*>(w));
  }
};

QTEST_MAIN(HelpWindowTest)
#include "frm_txt_help_test.moc"

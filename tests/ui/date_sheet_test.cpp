// SPDX-License-Identifier: GPL-3.0-or-later
// The date sheet commands of the main window: export as PDF from the file menu and the
// picture's popup, replacing only when asked, printing, and the refusal without a chart.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTextEdit>

#include "support/main_window_fixture.h"

using quorin::testing::MainWindowFixture;
using quorin::ui::Answer;
using quorin::ui::FileChoice;

namespace {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a PDF file as pdftotext (poppler-utils) extracts it.
QString PdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
  if (!process.waitForFinished() || process.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class DateSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void refusedWithoutAChart_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    const QString exportCaption = QStringLiteral("导出日课单(PDF)...");
    const QString printCaption = QStringLiteral("打印日课单...");
    QTest::newRow("export") << QStringLiteral("mnuF_sheetPdf") << exportCaption;
    QTest::newRow("print") << QStringLiteral("mnuF_sheetPrint") << printCaption;
    QTest::newRow("popup export") << QStringLiteral("ImgSheetPdf") << exportCaption;
    QTest::newRow("popup print") << QStringLiteral("ImgSheetPrint") << printCaption;
  }
  void refusedWithoutAChart() {
    QFETCH(QString, action);
    QFETCH(QString, caption);
    MainWindowFixture f;
    QCOMPARE(f.window->MenuAction(action)->text(), caption);
    const QMenu* menu = action.startsWith(QStringLiteral("Img")) ? f.Find<QMenu>("PopImgPan")
                                                                 : f.window->findChild<QMenu*>(QStringLiteral("Mfile"));
    QVERIFY(menu->actions().contains(f.window->MenuAction(action)));
    bool printed = false;
    f.prompter.printSetup = [&printed](QPrinter&) { return printed = true; };
    QVERIFY(!f.window->ChartShown());
    f.window->MenuAction(action)->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("请先排一个正确的盘！"));
    QVERIFY(f.prompter.fileRequests.isEmpty());
    QVERIFY(!printed);
  }

  void exportWritesTheSheetWithTheRemarkAndAsksBeforeReplacing() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    f.Remarks()->setPlainText(QStringLiteral("宜嫁娶，评语在此。"));
    const QString base = f.folder.Path() + QStringLiteral("sheet");
    f.prompter.files.enqueue(FileChoice{base, 0});
    f.window->MenuAction(QStringLiteral("mnuF_sheetPdf"))->trigger();
    QCOMPARE(f.prompter.fileRequests.last().filters[0].pattern, QStringLiteral("*.pdf"));
    QCOMPARE(f.prompter.LastText(), QStringLiteral("已保存！"));
    const QString path = base + QStringLiteral(".pdf");
    QVERIFY(FileBytes(path).startsWith("%PDF-"));
    const QString text = PdfText(path);
    QVERIFY2(text.contains(QStringLiteral("日课单")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral("日课分析")));
    QVERIFY(text.contains(QStringLiteral("宜嫁娶，评语在此。")));

    // The same name again from the picture's popup, ".pdf" already typed: No keeps the file.
    const QByteArray before = FileBytes(path);
    f.prompter.Clear();
    f.Remarks()->setPlainText(QStringLiteral("另一段评语"));
    f.prompter.files.enqueue(FileChoice{path, 0});
    f.prompter.answers.enqueue(Answer::No);
    f.window->MenuAction(QStringLiteral("ImgSheetPdf"))->trigger();
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("已存在")));
    QCOMPARE(FileBytes(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral(".pdf")));
    f.prompter.files.enqueue(FileChoice{path, 0});
    f.prompter.answers.enqueue(Answer::Yes);
    f.window->MenuAction(QStringLiteral("ImgSheetPdf"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("已保存！"));
    QVERIFY(PdfText(path).contains(QStringLiteral("另一段评语")));
    QCOMPARE(f.prompter.unexpected, 0);
  }

  void aFailedWriteNamesTheFile() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    const QString path = f.folder.Path() + QStringLiteral("no/such/folder/sheet.pdf");
    f.prompter.files.enqueue(FileChoice{path, 0});
    f.window->MenuAction(QStringLiteral("mnuF_sheetPdf"))->trigger();
    QVERIFY2(f.prompter.LastText().contains(path), qPrintable(f.prompter.LastText()));
    QCOMPARE(f.prompter.shown.last().icon, quorin::ui::Icon::Error);
  }

  void printDrawsTheSameSheetOnThePrinter() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    const QString path = f.folder.Path() + QStringLiteral("printed.pdf");
    f.prompter.printSetup = [path](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(path);
      return true;
    };
    f.window->MenuAction(QStringLiteral("ImgSheetPrint"))->trigger();
    QVERIFY(f.prompter.shown.isEmpty());
    // Paper needs no text map, so the printer's PDF may name some glyphs by radicals.
    const QString text = PdfText(path).normalized(QString::NormalizationForm_KC);
    QVERIFY2(text.contains(QStringLiteral("日课单")) && text.contains(QStringLiteral("常用神煞")),
             qPrintable(text.left(200)));
  }
};

QTEST_MAIN(DateSheetTest)
#include "date_sheet_test.moc"

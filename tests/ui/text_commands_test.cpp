// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis text, the remarks and the chart image: saving, import, printing.
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QGuiApplication>
#include <QPrinter>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "base/gbk.h"
#include "base/rtf_reader.h"
#include "qtdraw/image_canvas.h"
#include "qtdraw/jpeg_writer.h"
#include "support/case_window_fixture.h"
#include "support/main_window_fixture.h"
#include "ui/print_layout.h"
#include "ui/rich_text_convert.h"

using quorin::testing::MainWindowFixture;
using quorin::ui::Answer;
using quorin::ui::FileChoice;

namespace {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PdfPrinter(quorin::testing::ScriptedPrompter& prompter, const QString& path) {
  prompter.printSetup = [path](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
  };
}

}  // namespace

class TextCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void printGeometry_data() {
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("900 x 454 on 4800 x 6600") << QSize(900, 454) << QSize(4800, 6600) << QRect(240, 165, 4320, 2179);
    QTest::newRow("tall image capped at 1.35") << QSize(900, 1800) << QSize(4800, 6600)
                                               << QRect(240, 165, 4320, int(4320 * 1.35f));
    QTest::newRow("empty image") << QSize(0, 0) << QSize(1000, 2000) << QRect(50, 50, 900, 0);
  }
  void printGeometry() {
    QFETCH(QSize, image);
    QFETCH(QSize, page);
    QFETCH(QRect, expected);
    QCOMPARE(quorin::ui::ChartPrintRect(image, page.width(), page.height()), expected);
  }

  // From the program's start-up on, Qt's own texts are Chinese: the buttons of the message
  // boxes and the captions of the file dialog. The save dialog does not ask before replacing a
  // file; the command that writes asks, once, about the file it writes.
  void screenDialogsSpeakChineseAndAskOnceAboutReplacing() {
    QStringList buttons;
    quorin::testing::WhenDialogShows<QMessageBox>([&](QMessageBox& box) {
      for (QAbstractButton* button : box.buttons()) buttons << button->text();
      box.button(QMessageBox::No)->click();
    });
    QVERIFY(!quorin::ui::AskYesNo(nullptr, QStringLiteral("要替换吗？"), QStringLiteral("另存为"),
                                  quorin::ui::Icon::Question));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));

    bool qtAsksBeforeReplacing = true;
    QStringList captions;
    quorin::testing::WhenDialogShows<QFileDialog>([&](QFileDialog& dialog) {
      qtAsksBeforeReplacing = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
      for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        const QLabel* label = dialog.findChild<QLabel*>(QLatin1String(name));
        captions << (label ? label->text() : QString());
      }
      dialog.reject();
    });
    const quorin::ui::FileRequest request{QStringLiteral("另存为"), quorin::ui::ParseFilterList(QStringLiteral("Rtf格式|*.rtf")), 0};
    QVERIFY(!quorin::ui::Prompts().SaveFile(nullptr, request));
    QVERIFY(!qtAsksBeforeReplacing);
    QCOMPARE(captions, (QStringList{QStringLiteral("查找范围："), QStringLiteral("文件名称(&N)："),
                                    QStringLiteral("文件类型：")}));
  }

  void savedTextNamesAlwaysGetTheFiltersExtension() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    const QString base = f.folder.Path() + QStringLiteral("report");
    f.prompter.files.enqueue(FileChoice{base + QStringLiteral(".rtf"), 0});
    f.window->MenuAction(QStringLiteral("RlysaveAs"))->trigger();
    QCOMPARE(f.prompter.fileRequests.last().filters.size(), 2);
    QCOMPARE(f.prompter.fileRequests.last().filters[0].label, QStringLiteral("Rtf格式"));
    QCOMPARE(f.prompter.fileRequests.last().filters[1].pattern, QStringLiteral("*.txt"));
    QVERIFY(QFile::exists(base + QStringLiteral(".rtf.rtf")));
    QCOMPARE(f.prompter.LastText(), QStringLiteral("已保存！"));
    const auto rich = quorin::base::ReadRtf(FileBytes(base + QStringLiteral(".rtf.rtf")).toStdString());
    QVERIFY(rich.has_value());
    QCOMPARE(QString::fromStdString(rich->PlainText("\n")).trimmed(), f.AnalysisText().trimmed());

    f.prompter.files.enqueue(FileChoice{base, 1});
    f.window->MenuAction(QStringLiteral("RlysaveAs"))->trigger();
    const QByteArray text = FileBytes(base + QStringLiteral(".txt"));
    QVERIFY(!text.startsWith("{\\rtf"));
    QVERIFY(text.contains("\r\n"));
    const QString decoded = QString::fromStdString(quorin::base::GbkToUtf8(text.toStdString()));
    QCOMPARE(decoded.trimmed(), f.AnalysisText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).trimmed());
  }

  void remarksAreSavedAsTheirOwnText() {
    MainWindowFixture f;
    f.Remarks()->setPlainText(QStringLiteral("吉日\n宜动土"));
    const QString base = f.folder.Path() + QStringLiteral("remark");
    f.prompter.files.enqueue(FileChoice{base, 1});
    f.window->MenuAction(QStringLiteral("MenuItem41"))->trigger();
    QCOMPARE(quorin::base::GbkToUtf8(FileBytes(base + QStringLiteral(".txt")).toStdString()),
             std::string("吉日\r\n宜动土"));

    // The dialog only confirmed "remark": replacing remark.txt is asked for, No keeps it.
    f.Remarks()->setPlainText(QStringLiteral("凶日"));
    f.prompter.Clear();
    f.prompter.files.enqueue(FileChoice{base, 1});
    f.prompter.answers.enqueue(Answer::No);
    f.window->MenuAction(QStringLiteral("MenuItem41"))->trigger();
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.LastText(), base + QStringLiteral(".txt 已存在，要替换它吗？"));
    QCOMPARE(quorin::base::GbkToUtf8(FileBytes(base + QStringLiteral(".txt")).toStdString()),
             std::string("吉日\r\n宜动土"));
    f.prompter.files.enqueue(FileChoice{base, 1});
    f.prompter.answers.enqueue(Answer::Yes);
    f.window->MenuAction(QStringLiteral("MenuItem41"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("已保存！"));
    QCOMPARE(quorin::base::GbkToUtf8(FileBytes(base + QStringLiteral(".txt")).toStdString()), std::string("凶日"));
  }

  void failedSaveSaysSoInsteadOfSaved() {
    MainWindowFixture f;
    f.prompter.files.enqueue(FileChoice{f.folder.Path() + QStringLiteral("no/such/folder/report"), 0});
    f.window->MenuAction(QStringLiteral("RlysaveAs"))->trigger();
    QVERIFY(!f.prompter.Texts().contains(QStringLiteral("已保存！")));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("错误"));
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("report.rtf")));
  }

  void importReadsRtfAndGbkText() {
    MainWindowFixture f;
    const QString rtf = f.folder.Path() + QStringLiteral("in.rtf");
    {
      QFile file(rtf);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                 "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24 \\cf1\\b \\'bc\\'aa\\b0\\cf0 \\'c8\\'d5\\par}");
    }
    f.prompter.files.enqueue(FileChoice{rtf, 0});
    f.window->MenuAction(QStringLiteral("Rlyimport"))->trigger();
    QCOMPARE(f.prompter.fileRequests.last().filters[0].label, QStringLiteral("All.rtf"));
    QCOMPARE(f.AnalysisText().trimmed(), QStringLiteral("吉日"));
    QTextCursor cursor(f.ChartText()->document());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);

    const QString txt = f.folder.Path() + QStringLiteral("in.txt");
    f.folder.WriteGbk(QStringLiteral("in.txt"), "第一行\r\n第二行");
    f.prompter.files.enqueue(FileChoice{txt, 1});
    f.window->MenuAction(QStringLiteral("Rlyimport"))->trigger();
    QCOMPARE(f.AnalysisText(), QStringLiteral("第一行\n第二行"));
    QVERIFY(f.prompter.shown.isEmpty());

    f.prompter.files.enqueue(FileChoice{f.folder.Path() + QStringLiteral("missing.rtf"), 0});
    f.window->MenuAction(QStringLiteral("Rlyimport"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("导入文件出错,请重试一次"));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("重试一次"));
  }

  void selectionFontNeedsASelection() {
    MainWindowFixture f;
    f.Remarks()->setPlainText(QStringLiteral("甲乙丙"));
    QFont chosen(QStringLiteral("Noto Sans CJK SC"));
    chosen.setPointSize(20);
    chosen.setBold(true);
    f.prompter.fonts.enqueue(chosen);
    f.window->MenuAction(QStringLiteral("MenuItem39"))->trigger();
    QCOMPARE(f.prompter.fonts.size(), 1);  // no selection: no dialog
    QTextCursor cursor = f.Remarks()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    f.Remarks()->setTextCursor(cursor);
    f.window->MenuAction(QStringLiteral("MenuItem39"))->trigger();
    QVERIFY(f.prompter.fonts.isEmpty());
    QTextCursor probe(f.Remarks()->document());
    probe.setPosition(2);
    QCOMPARE(probe.charFormat().fontPointSize(), 20.0);
    probe.setPosition(1);
    QVERIFY(probe.charFormat().fontPointSize() != 20.0);
  }

  void editingCommandsActOnTheirOwnEditor() {
    MainWindowFixture f;
    f.Remarks()->setPlainText(QStringLiteral("评语"));
    f.ChartText()->setPlainText(QStringLiteral("分析"));
    f.window->MenuAction(QStringLiteral("MenuItem11"))->trigger();  // select all in RedtOut
    f.window->MenuAction(QStringLiteral("MenuItem10"))->trigger();  // delete
    QVERIFY(f.AnalysisText().isEmpty());
    QCOMPARE(f.Remarks()->toPlainText(), QStringLiteral("评语"));
    f.window->MenuAction(QStringLiteral("MenuItem5"))->trigger();  // undo
    QCOMPARE(f.AnalysisText(), QStringLiteral("分析"));
    f.window->MenuAction(QStringLiteral("MenuItem37"))->trigger();  // select all in RedtPingYu
    f.window->MenuAction(QStringLiteral("MenuItem33"))->trigger();  // copy
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("评语"));
  }

  void printingTextAsksFirstAndWritesOneDocument() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    const QString pdf = f.folder.Path() + QStringLiteral("out.pdf");
    PdfPrinter(f.prompter, pdf);
    f.prompter.answers.enqueue(Answer::No);
    f.window->MenuAction(QStringLiteral("Rlyprint"))->trigger();
    QCOMPARE(f.prompter.LastText(), QStringLiteral("准备开始打印吗?"));
    QCOMPARE(f.prompter.shown.last().caption, QStringLiteral("打印"));
    QVERIFY(!QFile::exists(pdf));
    f.prompter.answers.enqueue(Answer::Yes);
    f.window->MenuAction(QStringLiteral("Rlyprint"))->trigger();
    QVERIFY(FileBytes(pdf).startsWith("%PDF"));
  }

  void chartImageCopySaveAndPrint() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    f.window->MenuAction(QStringLiteral("MenuItem2"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), f.window->ChartImage().size());

    const QString base = f.folder.Path() + QStringLiteral("chart");
    f.prompter.files.enqueue(FileChoice{base, 1});
    f.window->MenuAction(QStringLiteral("MenuItem3"))->trigger();
    QCOMPARE(f.prompter.fileRequests.last().title, QStringLiteral("另存为Bmp图片"));
    QCOMPARE(f.prompter.fileRequests.last().selectedFilter, 1);
    QCOMPARE(f.prompter.LastText(), QStringLiteral("已保存！"));
    QImage jpeg;
    QVERIFY(jpeg.load(base + QStringLiteral(".jpg"), "JPG"));
    QCOMPARE(jpeg.size(), f.window->ChartImage().size());

    f.prompter.files.enqueue(FileChoice{base + QStringLiteral(".bmp"), 0});
    f.window->MenuAction(QStringLiteral("MenuItem3"))->trigger();
    QImage bmp;
    QVERIFY(bmp.load(base + QStringLiteral(".bmp.bmp"), "BMP"));
    QCOMPARE(bmp.convertToFormat(QImage::Format_RGB32), f.window->ChartImage().convertToFormat(QImage::Format_RGB32));

    const QString pdf = f.folder.Path() + QStringLiteral("chart.pdf");
    PdfPrinter(f.prompter, pdf);
    f.prompter.answers.enqueue(Answer::Yes);
    f.window->MenuAction(QStringLiteral("MenuItem4"))->trigger();
    QVERIFY(FileBytes(pdf).startsWith("%PDF"));
  }

  void jpegEncodesWhatWasDrawn() {
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    const auto bytes = quorin::qtdraw::EncodeJpeg(image);
    QVERIFY(bytes.has_value());
    QImage decoded;
    QVERIFY(decoded.loadFromData(QByteArray::fromStdString(*bytes), "JPG"));
    QCOMPARE(decoded.size(), image.size());
    const QColor centre = decoded.pixelColor(32, 16);
    QVERIFY(std::abs(centre.red() - 200) < 8 && std::abs(centre.green() - 30) < 8);
    std::string error;
    QVERIFY(!quorin::qtdraw::EncodeJpeg(QImage(), &error).has_value());
  }

  void richTextSurvivesTheRoundTrip() {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontWeight(QFont::Bold);
    red.setFontPointSize(14);
    cursor.insertText(QStringLiteral("红字"), red);
    cursor.insertBlock();
    QTextCharFormat plain;
    plain.setFontPointSize(9);
    cursor.insertText(QStringLiteral("第二段"), plain);
    const quorin::base::RichDocument rich = quorin::ui::ToRichDocument(document, 12);
    QCOMPARE(rich.paragraphs.size(), std::size_t(2));
    QVERIFY(rich.paragraphs[0].runs[0].format.bold);
    QCOMPARE(rich.paragraphs[0].runs[0].format.pointSize, 14.0);
    QTextDocument back;
    quorin::ui::FillTextDocument(back, rich, QTextCharFormat());
    QCOMPARE(back.toPlainText(), document.toPlainText());
    QCOMPARE(quorin::ui::ToRichDocument(back, 12), rich);
  }
};

QTEST_MAIN(TextCommandsTest)
#include "text_commands_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a screen of twice the pixel density (a 4K screen at scale 2): painted
// pictures carry the screen's ratio, clicks arrive through the window system's scaling
// and still land on the same cells, and what is saved or copied keeps its logical size.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include "chart/quorin_day.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "ui/case_tree_view.h"
#include "ui/frm_wnl.h"

using quorin::testing::MainWindowFixture;
using quorin::testing::Named;
using quorin::ui::FileChoice;

namespace {

// Presses and releases the left button at `at` of `widget` through its window, so the
// position is scaled to device pixels and back as a real pointer's is.
void ClickThroughWindow(QWidget* widget, QPoint at) {
  QWindow* window = widget->window()->windowHandle();
  QVERIFY(window);
  const QPoint inWindow = widget->mapTo(widget->window(), at);
  QTest::mousePress(window, Qt::LeftButton, {}, inWindow);
  QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow);
}

// The label shows a picture of twice its size in pixels at ratio 2, not one enlarged by the screen.
bool ShownAtTwice(const QLabel* label) {
  const QPixmap pixmap = label->pixmap();
  return pixmap.devicePixelRatio() == 2.0 && pixmap.size() == label->size() * 2;
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    quorin::testing::PrepareApplication();
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
  }

  void chartPictureIsDrawnAtTheScreensRatio() {
    MainWindowFixture f;
    QVERIFY(f.Pai());
    auto* picture = f.window->findChild<QLabel*>(QStringLiteral("ImgPan"));
    QVERIFY(picture);
    QCOMPARE(picture->size(), f.window->ChartImage().size());
    QVERIFY(ShownAtTwice(picture));

    // The 年 column's stem and branch rows, as on a 1× screen.
    const QImage plain = f.window->ChartImage().copy();
    const auto& table = f.window->Engine().ImageState().table;
    const QPoint cell(table.left + table.columnWidth / 2, table.top + table.textHeight + 2 * table.rowGap + 1);
    ClickThroughWindow(picture, cell);
    QCOMPARE(f.window->Engine().Selection().column, 0);
    QCOMPARE(f.window->Engine().Selection().band, 0);
    QVERIFY(f.window->ChartImage() != plain);
    QVERIFY(ShownAtTwice(picture));

    // Copying and saving give the logical picture, as on a 1× screen.
    f.window->MenuAction(QStringLiteral("MenuItem2"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), picture->size());
    const QString base = f.folder.Path() + QStringLiteral("chart");
    f.prompter.files.enqueue(FileChoice{base, 0});
    f.window->MenuAction(QStringLiteral("MenuItem3"))->trigger();
    QImage bmp;
    QVERIFY(bmp.load(base + QStringLiteral(".bmp"), "BMP"));
    QCOMPARE(bmp.convertToFormat(QImage::Format_RGB32), f.window->ChartImage().convertToFormat(QImage::Format_RGB32));
  }

  void calendarGridIsDrawnAtTheScreensRatio() {
    quorin::testing::ScriptedPrompter prompter;
    quorin::ui::TFrmWnl w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Open({2024, 2, 10, 12, 0});
    QVERIFY(ShownAtTwice(Named<QLabel>(&w, "Img")));
    QCOMPARE(w.Picture().devicePixelRatio(), 2.0);
    // 2024-02-01 is in the fourth column; the 4th of the month is in the row below it.
    const int cellWidth = Named<QLabel>(&w, "Img")->width() / 7;
    const int cellHeight = Named<QLabel>(&w, "Img")->height() / 7;
    const QPoint fourth(6 * cellWidth + cellWidth / 2, 1 * cellHeight + cellHeight / 2);
    ClickThroughWindow(Named<QLabel>(&w, "Img"), fourth);
    QCOMPARE(Named<QComboBox>(&w, "CboD")->currentText(), QStringLiteral("4日"));
    // Its red frame, one logical pixel inside the cell's left edge, at twice the coordinates.
    QCOMPARE(w.Picture().pixelColor(2 * (6 * cellWidth + 1), 2 * fourth.y()), QColor(Qt::red));
  }

  void treeIconsHaveTwiceTheirPixels() {
    for (const QIcon& icon : {quorin::ui::CaseNodeIcon(true), quorin::ui::CaseNodeIcon(false), quorin::ui::CategoryNodeIcon()}) {
      QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
      QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    }
  }
};

int main(int argc, char** argv) {
  // The scale is read when the application starts.
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  HiDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"

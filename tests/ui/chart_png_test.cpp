// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture drawn by the Qt canvas: Chinese text in the chart colours,
// the six-line chart and the highlighted line-bar cell, written and read back as PNG;
// the screen picture drawn at a device pixel ratio beside the logical one.
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "chart/quorin_day.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "support/program_folder.h"

namespace {

using quorin::chart::MQuorinDay;

bool Near(QRgb pixel, int r, int g, int b, int tolerance) {
  return std::abs(qRed(pixel) - r) < tolerance && std::abs(qGreen(pixel) - g) < tolerance &&
         std::abs(qBlue(pixel) - b) < tolerance;
}

// Pixels of roughly the colour inside the area; text edges are blended, so text
// is found by its cores and flat fills by an almost exact colour.
int CountNear(const QImage& image, QRect area, int r, int g, int b, int tolerance = 48) {
  int count = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += Near(image.pixel(x, y), r, g, b, tolerance) ? 1 : 0;
  }
  return count;
}

// A chart of 2024-03-15 10:30 drawn by the engine on a Qt canvas of the ratio given.
struct DrawnChart {
  explicit DrawnChart(double ratio = 1.0) : canvas(1, 1, ratio) {
    const QString settings = dir.filePath(QStringLiteral("set.ini"));
    QFile file(settings);
    if (file.open(QIODevice::WriteOnly)) file.write("[set]\r\n");
    file.close();
    engine.SetSettingsPath(settings.toStdString());
    engine.Attach(&text, &canvas);
    engine.SetImageFont(12);

    quorin::TRecordData r;
    r.ResetRecord();
    r.year = 2024, r.month = 3, r.day = 15, r.hour = 10, r.minute = 30;
    r.longitude = 120, r.latitude = 30;
    r.addrName = "未知地";
    r.name = "张三";
    r.male = true;
    r.masterYear = 1980;
    r.mountain = 1, r.mountainGua = 1;
    r.dragonMountain = r.waterMountain = -1;
    computed = engine.Compute(r);
  }

  // Selects the 山 column's name rows, then flips line 1 of its six-line chart.
  bool FlipFirstLine() {
    const auto& table = engine.ImageState().table;
    const auto bands = table.Bands();
    if (!engine.Click(table.columnWidth + table.columnWidth / 2, (bands[2].top + bands[2].bottom) / 2)) return false;
    const auto bar = engine.ImageState().lineBar;
    return engine.ImageState().lineBarActive && engine.Click(bar.CellLeft(1) + bar.CellWidth() / 2, (bar.top + bar.bottom) / 2);
  }

  QTemporaryDir dir;
  quorin::qtdraw::ImageCanvas canvas;
  quorin::chart::RecordingRichTextSink text;
  MQuorinDay engine;
  bool computed = false;
};

QRect Scaled(QRect r, int factor) { return {r.topLeft() * factor, r.size() * factor}; }

}  // namespace

class ChartPngTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void rendersTheChartInColour() {
    DrawnChart chart;
    QVERIFY(chart.dir.isValid());
    QVERIFY(chart.computed);
    quorin::qtdraw::ImageCanvas& canvas = chart.canvas;
    MQuorinDay& engine = chart.engine;
    const QTemporaryDir& dir = chart.dir;

    // The substituted Song face has the characters, and the picture is 55 of them wide.
    const QFont song(quorin::qtdraw::kSongFont, 12);
    QVERIFY(QFontMetrics(song).inFont(QChar(0x56FD)));  // 国
    const int em = canvas.TextWidth("国");
    QVERIFY(em > 10);
    QCOMPARE(canvas.Width(), 55 * em);
    QCOMPARE(canvas.Height(), static_cast<int>(0.7 * 55 * em));

    const auto& table = engine.ImageState().table;
    QVERIFY(table.IsSet());
    const int th = canvas.TextHeight("国");
    {
      const QImage image = canvas.Image();
      // Black header text, red 主 and 山 columns, blue pillar columns, white elsewhere.
      QVERIFY(CountNear(image, QRect(3, 3, 20 * em, th), 0, 0, 0) > 40);
      QVERIFY(CountNear(image, QRect(0, table.top, 2 * table.columnWidth, 200), 255, 0, 0) > 40);
      QVERIFY(CountNear(image, QRect(2 * table.columnWidth, table.top, 4 * table.columnWidth, 200), 0, 0, 255) > 40);
      QCOMPARE(CountNear(image, QRect(2 * table.columnWidth, table.top, 4 * table.columnWidth, 200), 255, 0, 0), 0);
      QVERIFY(CountNear(image, QRect(table.right + 1, 0, 100, 100), 255, 255, 255) == 100 * 100);
      // 常用神煞 in green at the bottom left.
      QVERIFY(CountNear(image, QRect(0, canvas.Height() / 2, 6 * em, canvas.Height() / 2), 0, 128, 0) > 20);
    }

    QVERIFY(chart.FlipFirstLine());
    const auto bar = engine.ImageState().lineBar;
    QCOMPARE(static_cast<int>(engine.ChangedLines()[0]), 1);

    const QImage image = canvas.Image();
    // Dark red title rows of the six-line chart, black line figures, the chosen cell.
    const QRect sixLine(table.right, canvas.Height() / 2, canvas.Width() - table.right, 3 * th);
    QVERIFY(CountNear(image, sixLine, 128, 0, 0) > 20);
    const QRect chosen(bar.CellLeft(1) + 2, bar.top + 2, bar.CellWidth() - 4, bar.bottom - bar.top - 4);
    QVERIFY(CountNear(image, chosen, 0xCA, 0xE3, 0xF3, 4) > chosen.width() * chosen.height() / 2);
    const QRect original(bar.CellLeft(0) + 2, bar.top + 2, bar.CellWidth() - 4, bar.bottom - bar.top - 4);
    QCOMPARE(CountNear(image, original, 0xCA, 0xE3, 0xF3, 4), 0);

    const QString png = dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(image.save(png, "PNG"));
    QImage read(png);
    QCOMPARE(read.size(), image.size());
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));
  }

  // At two device pixels per logical pixel the screen picture has twice the pixels and the
  // chart itself is drawn on them; geometry, clicks and the logical picture stay as at 1×.
  void drawsTheScreenPictureAtTheDevicePixelRatio() {
    DrawnChart plain;
    DrawnChart sharp(2.0);
    QVERIFY(plain.computed && sharp.computed);
    QCOMPARE(sharp.canvas.Width(), plain.canvas.Width());
    QCOMPARE(sharp.canvas.Height(), plain.canvas.Height());
    const auto& table = sharp.engine.ImageState().table;
    const auto& plainTable = plain.engine.ImageState().table;
    QCOMPARE(QRect(QPoint(table.left, table.top), QPoint(table.right, table.bottom)),
             QRect(QPoint(plainTable.left, plainTable.top), QPoint(plainTable.right, plainTable.bottom)));
    QCOMPARE(table.columnWidth, plainTable.columnWidth);
    QCOMPARE(table.textHeight, plainTable.textHeight);

    QVERIFY(plain.FlipFirstLine());
    QVERIFY(sharp.FlipFirstLine());
    QCOMPARE(sharp.engine.Selection(), plain.engine.Selection());
    QCOMPARE(sharp.engine.ChangedLines(), plain.engine.ChangedLines());
    // What is saved, copied and printed is the picture of a 1× screen, pixel for pixel.
    QCOMPARE(sharp.canvas.Image(), plain.canvas.Image());

    const QImage& screen = sharp.canvas.ScreenImage();
    QCOMPARE(screen.devicePixelRatio(), 2.0);
    QCOMPARE(screen.size(), plain.canvas.Image().size() * 2);
    QCOMPARE(screen.deviceIndependentSize(), QSizeF(plain.canvas.Image().size()));
    // The chart's colours sit at twice the coordinates, on four device pixels per logical one
    // (at least half as many again as the 1× cores: red 主 and 山 columns, the chosen cell).
    const QRect leftColumns(0, table.top, 2 * table.columnWidth, 200);
    QVERIFY(CountNear(screen, Scaled(leftColumns, 2), 255, 0, 0) > 4 * CountNear(plain.canvas.Image(), leftColumns, 255, 0, 0) / 2);
    const auto bar = sharp.engine.ImageState().lineBar;
    const QRect chosen(bar.CellLeft(1) + 2, bar.top + 2, bar.CellWidth() - 4, bar.bottom - bar.top - 4);
    QVERIFY(CountNear(screen, Scaled(chosen, 2), 0xCA, 0xE3, 0xF3, 4) > 4 * chosen.width() * chosen.height() / 2);
    // Drawn, not enlarged: the text has the detail of the finer pixels.
    const QImage enlarged = plain.canvas.Image().scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(screen.convertToFormat(QImage::Format_RGB32) != enlarged.convertToFormat(QImage::Format_RGB32));
  }

  // Unusable ratios fall back to 1×, huge ones are capped; a picture already drawn is
  // enlarged to a new ratio, so the screen never shows a blank chart.
  void screenPictureFollowsTheRatio_data() {
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<double>("carried");
    QTest::newRow("1x") << 1.0 << QSize(101, 51) << 1.0;
    QTest::newRow("1.5x rounds up") << 1.5 << QSize(152, 77) << 1.5;
    QTest::newRow("2x") << 2.0 << QSize(202, 102) << 2.0;
    QTest::newRow("zero") << 0.0 << QSize(101, 51) << 1.0;
    QTest::newRow("not a number") << std::nan("") << QSize(101, 51) << 1.0;
    QTest::newRow("huge") << 1e9 << QSize(303, 153) << 3.0;
  }

  void screenPictureFollowsTheRatio() {
    QFETCH(double, ratio);
    QFETCH(QSize, pixels);
    QFETCH(double, carried);
    quorin::qtdraw::ImageCanvas canvas(101, 51);
    canvas.SetBrush(quorin::draw::kRed, quorin::draw::BrushStyle::kSolid);
    canvas.FillRect(0, 0, 101, 51);
    canvas.SetDevicePixelRatio(ratio);
    QCOMPARE(canvas.DevicePixelRatio(), carried);
    QCOMPARE(canvas.Width(), 101);
    QCOMPARE(canvas.Image().size(), QSize(101, 51));
    QCOMPARE(canvas.ScreenImage().size(), pixels);
    QCOMPARE(canvas.ScreenImage().devicePixelRatio(), carried);
    QCOMPARE(canvas.ScreenImage().pixelColor(pixels.width() / 2, pixels.height() / 2), QColor(Qt::red));
    // A resize keeps the ratio.
    canvas.Resize(40, 20);
    QCOMPARE(canvas.ScreenImage().size(), QSize(static_cast<int>(std::ceil(40 * carried)), static_cast<int>(std::ceil(20 * carried))));
  }
};

QTEST_MAIN(ChartPngTest)
#include "chart_png_test.moc"

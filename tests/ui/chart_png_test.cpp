// The chart picture drawn by the Qt canvas: Chinese text in the chart colours,
// the six-line chart and the highlighted line-bar cell, written and read back as PNG.
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
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

}  // namespace

class ChartPngTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void rendersTheChartInColour() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString settings = dir.filePath(QStringLiteral("set.ini"));
    QFile file(settings);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[set]\r\n");
    file.close();

    quorin::qtdraw::ImageCanvas canvas;
    quorin::chart::RecordingRichTextSink text;
    MQuorinDay engine;
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
    QVERIFY(engine.Compute(r));

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

    // Select the 山 column's name rows, then flip line 1.
    const auto bands = table.Bands();
    QVERIFY(engine.Click(table.columnWidth + table.columnWidth / 2, (bands[2].top + bands[2].bottom) / 2));
    QVERIFY(engine.ImageState().lineBarActive);
    const auto bar = engine.ImageState().lineBar;
    QVERIFY(engine.Click(bar.CellLeft(1) + bar.CellWidth() / 2, (bar.top + bar.bottom) / 2));
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
};

QTEST_MAIN(ChartPngTest)
#include "chart_png_test.moc"

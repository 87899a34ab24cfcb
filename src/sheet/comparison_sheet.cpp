// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/comparison_sheet.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <memory>

#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "sheet/date_sheet.h"
#include "sheet/sheet_page.h"

namespace quorin::sheet {
namespace {

// Laid out in pixels of a 96-dpi screen and scaled to the device, as the date sheet is.
constexpr double kLayoutDpi = kSheetLayoutDpi;
constexpr double kTitlePoints = 18;
constexpr double kFooterHeight = 28;  // layout pixels below the table
// The table's text starts at 五号 and shrinks in half points until the page holds it; below the
// smallest it is cut at the page's foot rather than become unreadable.
constexpr double kLargestPoints = 10.5;
constexpr double kSmallestPoints = 6;
constexpr double kPointStep = 0.5;
constexpr double kPaddingPerPoint = 0.25;  // a cell's padding grows with its text: 2.6 pixels at 五号
// The labels' share of the table's width; the candidates share the rest.
constexpr double kLabelPercent = 17;
const QColor kDiffersBackground(255, 242, 204);  // light amber: rows whose values differ
const QColor kCaptionBackground(232, 232, 232);
const QColor kMissedText(180, 0, 0);  // 差: a condition the candidate misses
const QColor kRule(150, 150, 150);
const QColor kSectionRule(60, 60, 60);

QString Shown(const std::string& text) { return qtdraw::ShownQString(text); }

// A cell's text, its background and, above the first row of a section, a darker rule.
void FillCell(QTextTable& table, int row, int column, const QString& text, const QTextCharFormat& format,
              const QColor& background, bool sectionStarts) {
  QTextTableCell cell = table.cellAt(row, column);
  QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
  if (background.isValid()) cellFormat.setBackground(background);
  cellFormat.setBorder(0.5);
  cellFormat.setBorderBrush(kRule);
  cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  if (sectionStarts) {
    cellFormat.setTopBorder(1.5);
    cellFormat.setTopBorderBrush(kSectionRule);
  }
  cell.setFormat(cellFormat);
  QTextCursor cursor = cell.firstCursorPosition();
  cursor.insertText(text, format);
}

// The title, the request's lines and the table, the text at `points`.
void BuildDocument(QTextDocument& document, const chart::CandidateComparison& comparison, const TRecordData& request,
                   double points) {
  QTextCursor cursor(&document);
  cursor.setBlockFormat(SheetBlockFormat(0, Qt::AlignHCenter));
  cursor.insertText(Shown("日课对比"), SheetTextFormat(kTitlePoints, true));
  bool first = true;
  for (const std::string& line : chart::ComparisonRequestLines(request)) {
    cursor.insertBlock(SheetBlockFormat(first ? 10 : 1), SheetTextFormat(points));
    cursor.insertText(Shown(line));
    first = false;
  }
  cursor.insertBlock(SheetBlockFormat(8));

  const int columns = static_cast<int>(comparison.captions.size()) + 1;
  QTextTableFormat format;
  format.setBorderCollapse(true);
  format.setBorder(0.5);
  format.setBorderBrush(kRule);
  format.setCellPadding(points * kPaddingPerPoint);
  format.setCellSpacing(0);
  format.setHeaderRowCount(1);
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  QList<QTextLength> widths{QTextLength(QTextLength::PercentageLength, kLabelPercent)};
  for (int c = 1; c < columns; ++c) widths.append(QTextLength(QTextLength::PercentageLength, (100 - kLabelPercent) / (columns - 1)));
  format.setColumnWidthConstraints(widths);
  QTextTable* table = cursor.insertTable(static_cast<int>(comparison.rows.size()) + 1, columns, format);

  for (int c = 1; c < columns; ++c) {
    FillCell(*table, 0, c, Shown(comparison.captions[static_cast<std::size_t>(c - 1)]), SheetTextFormat(points, true),
             kCaptionBackground, false);
  }
  FillCell(*table, 0, 0, QString(), SheetTextFormat(points), kCaptionBackground, false);
  for (std::size_t r = 0; r < comparison.rows.size(); ++r) {
    const chart::ComparisonRow& row = comparison.rows[r];
    const bool sectionStarts = r > 0 && comparison.rows[r - 1].section != row.section;
    const QColor background = row.differs ? kDiffersBackground : QColor();
    const int at = static_cast<int>(r) + 1;
    FillCell(*table, at, 0, Shown(row.label), SheetTextFormat(points, row.differs), background, sectionStarts);
    for (std::size_t c = 0; c < row.values.size(); ++c) {
      QTextCharFormat text = SheetTextFormat(points);
      if (row.values[c] == chart::kConditionMissed) text.setForeground(kMissedText);
      FillCell(*table, at, static_cast<int>(c) + 1, Shown(row.values[c]), text, background, sectionStarts);
    }
  }
}


// A new document for each size: one already laid out lays the table out again at every cell
// filled, which takes seconds for a few persons' rows.
std::unique_ptr<QTextDocument> Build(const chart::CandidateComparison& comparison, const TRecordData& request,
                                     double points, double width) {
  auto document = std::make_unique<QTextDocument>();
  document->setUseDesignMetrics(true);
  document->setDefaultFont(qtdraw::SongFont(points));
  document->setDocumentMargin(0);
  BuildDocument(*document, comparison, request, points);
  document->documentLayout()->setPaintDevice(&SheetLayoutDevice());
  document->setTextWidth(width);
  return document;
}

// The page laid out at the largest size whose whole text fits `area`, and the scale to paint it at:
// 1, or less for a table that is too long even at the smallest size (many persons), laid out wider by
// as much so that it still fills the page's width.
struct LaidOut {
  std::unique_ptr<QTextDocument> document;
  double scale = 1;
};
LaidOut LayOut(const chart::CandidateComparison& comparison, const TRecordData& request, const QSizeF& area) {
  LaidOut out;
  double points = kLargestPoints;
  for (;; points -= kPointStep) {
    out.document = Build(comparison, request, points, area.width());
    if (out.document->size().height() <= area.height() || points - kPointStep < kSmallestPoints) break;
  }
  // A wider layout wraps less and so is shorter: a few rounds settle the scale.
  for (int round = 0; round < 4 && out.document->size().height() * out.scale > area.height(); ++round) {
    out.scale *= area.height() / (out.document->size().height() * out.scale);
    out.document = Build(comparison, request, points, area.width() / out.scale);
  }
  return out;
}


}  // namespace

void UseComparisonPage(QPagedPaintDevice& device, bool keepPaper) {
  UseDateSheetPage(device, keepPaper);
  QPageLayout layout = device.pageLayout();
  layout.setOrientation(QPageLayout::Landscape);
  device.setPageLayout(layout);
}

bool PaintComparisonSheet(QPagedPaintDevice& device, const chart::CandidateComparison& comparison,
                          const TRecordData& request, const QDate& issued) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double scale = device.logicalDpiX() / kLayoutDpi;
  const QSizeF area(device.width() / scale, device.height() * kLayoutDpi / device.logicalDpiY());
  painter.scale(scale, device.logicalDpiY() / kLayoutDpi);
  painter.setRenderHint(QPainter::Antialiasing, true);

  const double bodyHeight = area.height() - kFooterHeight;
  const LaidOut page = LayOut(comparison, request, QSizeF(area.width(), bodyHeight));
  const double shrink = page.scale;
  painter.save();
  painter.setClipRect(QRectF(0, 0, area.width(), bodyHeight));
  painter.scale(shrink, shrink);
  const QRectF clip(0, 0, area.width() / shrink, bodyHeight / shrink);
  QAbstractTextDocumentLayout::PaintContext context;
  context.clip = clip;
  context.palette.setColor(QPalette::Text, Qt::black);
  page.document->documentLayout()->draw(&painter, context);
  painter.restore();
  PaintSheetFooter(painter, QRectF(0, bodyHeight + 6, area.width(), kFooterHeight - 6), issued,
                   Shown("共%1个日课，底色标出各日课不同之处").arg(comparison.captions.size()));
  return painter.end();
}

bool WriteComparisonPdf(const std::string& path, const chart::CandidateComparison& comparison,
                        const TRecordData& request, const QDate& issued, std::string* error) {
  return WriteSheetPdf(path, Shown(request.name + " 日课对比"), [&](QPdfWriter& writer) {
    UseComparisonPage(writer);
    return PaintComparisonSheet(writer, comparison, request, issued);
  }, error);
}

}  // namespace quorin::sheet

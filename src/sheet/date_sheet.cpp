// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/date_sheet.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextObjectInterface>
#include <algorithm>
#include <set>

#include "base/files.h"
#include "base/gbk.h"
#include "base/rtf_reader.h"
#include "base/utf8.h"
#include "chart/quorin_day.h"
#include "chart/rich_text_sink.h"
#include "chart/sheet_contents.h"
#include "draw/canvas_without_texts.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "qtdraw/painter_canvas.h"
#include "qtdraw/rich_text_document.h"
#include "qtdraw/shown_text.h"
#include "sheet/sheet_page.h"

namespace quorin::sheet {

namespace {

// The sheet is laid out in pixels of a 96-dpi screen and scaled to the device.
constexpr double kLayoutDpi = kSheetLayoutDpi;
constexpr double kBodyPoints = 10.5;  // 五号, the usual size of printed Chinese text
constexpr double kTitlePoints = 18;
constexpr double kFooterHeight = 28;  // layout pixels below the text
constexpr int kPictureObject = QTextFormat::UserObject + 1;
const QColor kHeadingBlue(0, 0, 255);

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }
// The sheet's own words, in the shown script like the engine's.
QString Shown(const char* text) { return qtdraw::ShownQString(text); }

using chart::AttachedCopy;

// The chart picture as one character of the sheet's text: the table, the relation
// lines and the six-line chart of the selection, drawn straight onto the page.
class ChartPicture final : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  ChartPicture(const chart::MQuorinDay& engine, std::set<std::string> omitted)
      : filter_(canvas_, std::move(omitted)),
        copy_(AttachedCopy(engine, nullptr, &filter_)),
        selection_(engine.Selection()) {
    Draw(nullptr);  // measures: where the table lies and whether a six-line chart shows
    const chart::SheetPictureRows rows = chart::SheetPictureRowsOf(copy_.ImageState(), canvas_.Height());
    top_ = rows.top;
    bottom_ = rows.bottom;
  }

  // Picture pixels of the part shown on the page.
  QSizeF Size() const { return QSizeF(canvas_.Width(), bottom_ - top_); }

  QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
    const double width = format.doubleProperty(QTextFormat::ImageWidth);
    return QSizeF(width, width * Size().height() / Size().width());
  }

  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&) override {
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->translate(rect.topLeft());
    const double scale = rect.width() / Size().width();
    painter->scale(scale, scale);
    painter->translate(0, -top_);
    Draw(painter);
    painter->restore();
  }

 private:
  void Draw(QPainter* painter) {
    canvas_.SetPainter(painter);
    copy_.DrawChartImage();
    copy_.DrawSelection(selection_.column, selection_.band);
    canvas_.SetPainter(nullptr);
  }

  qtdraw::PainterCanvas canvas_;
  draw::CanvasWithoutTexts filter_;
  chart::MQuorinDay copy_;
  chart::ChartSelection selection_;
  int top_ = 0;
  int bottom_ = 1;
};

// 日课分析 with the relation paragraphs, then 常用神煞, in the colours and the
// first-line indent of the analysis page.
void AppendAnalysis(QTextCursor& cursor, const chart::MQuorinDay& engine) {
  chart::RecordingRichTextSink sink;
  chart::MQuorinDay copy = AttachedCopy(engine, &sink, nullptr);
  copy.WriteAnalysis();
  copy.WriteShensha();
  QTextBlockFormat block = SheetBlockFormat();
  block.setTextIndent(copy.Settings().leftpos * kLayoutDpi / 72.0);
  // The screen separates the sections by several empty lines; paper needs one.
  const QString written = qtdraw::ShownQString(sink.Text());
  QString text;
  QList<int> moved(written.size() + 1, 0);  // where each position of the written text goes
  bool blankBefore = true;
  for (qsizetype from = 0; from < written.size();) {
    qsizetype end = written.indexOf(QLatin1Char('\n'), from);
    if (end < 0) end = written.size() - 1;
    const QString line = written.mid(from, end - from + 1);
    const bool blank = line.trimmed().isEmpty();
    for (qsizetype i = from; i <= end; ++i)
      moved[i] = static_cast<int>(text.size() + (blank && blankBefore ? 0 : i - from));
    if (!(blank && blankBefore)) text += line;
    blankBefore = blank;
    from = end + 1;
  }
  moved[written.size()] = static_cast<int>(text.size());
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  cursor.insertBlock(block, SheetTextFormat(kBodyPoints));
  const int start = cursor.position();
  cursor.insertText(text, SheetTextFormat(kBodyPoints));
  const auto at = [&](int position) { return start + moved[std::clamp<qsizetype>(position, 0, written.size())]; };
  for (const chart::RecordingRichTextSink::Span& span : sink.Spans()) {
    QTextCursor range(cursor.document());
    range.setPosition(at(span.start));
    range.setPosition(at(span.start + span.length), QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setForeground(qtdraw::ToQColor(span.color));
    f.setFontWeight(span.bold ? QFont::Bold : QFont::Normal);
    range.mergeCharFormat(f);
  }
  cursor.movePosition(QTextCursor::End);
}

// The whole flow of the sheet; the picture handler is registered on `document`.
void BuildDocument(QTextDocument& document, const chart::MQuorinDay& engine, const DateSheetExtras& extras,
                   ChartPicture& picture, double width) {
  QTextCursor cursor(&document);
  chart::MQuorinDay copy = AttachedCopy(engine, nullptr, nullptr);
  cursor.setBlockFormat(SheetBlockFormat(0, Qt::AlignHCenter));
  cursor.insertText(FromUtf8(copy.Request().name) + Shown(" 日课单"), SheetTextFormat(kTitlePoints, true));

  bool first = true;
  for (const std::string& line : chart::SheetHeaderLines(engine)) {
    cursor.insertBlock(SheetBlockFormat(first ? 12 : 1), SheetTextFormat(kBodyPoints));
    cursor.insertText(qtdraw::ShownQString(line));
    first = false;
  }

  cursor.insertBlock(SheetBlockFormat(10, Qt::AlignHCenter));
  QTextCharFormat object;
  object.setObjectType(kPictureObject);
  object.setProperty(QTextFormat::ImageWidth, width);
  cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
  document.documentLayout()->registerHandler(kPictureObject, &picture);

  AppendAnalysis(cursor, engine);

  if (extras.remark && !extras.remark->toPlainText().trimmed().isEmpty()) {
    cursor.insertBlock(SheetBlockFormat(10), SheetTextFormat(kBodyPoints, true, kHeadingBlue));
    cursor.insertText(Shown("评语："));
    cursor.insertBlock(SheetBlockFormat(2), SheetTextFormat(kBodyPoints));
    cursor.insertFragment(QTextDocumentFragment(extras.remark));
  }
}


}  // namespace


void UseDateSheetPage(QPagedPaintDevice& device, bool keepPaper) {
  QPageLayout layout = device.pageLayout();
  if (!keepPaper) layout.setPageSize(QPageSize(QPageSize::A4));
  layout.setOrientation(QPageLayout::Portrait);
  layout.setUnits(QPageLayout::Millimeter);
  layout.setMargins(QMarginsF(18, 15, 18, 12));
  device.setPageLayout(layout);
}

bool PaintDateSheet(QPagedPaintDevice& device, const chart::MQuorinDay& engine, const DateSheetExtras& extras) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double scale = device.logicalDpiX() / kLayoutDpi;
  const QSizeF area(device.width() / scale, device.height() * kLayoutDpi / device.logicalDpiY());
  painter.scale(scale, device.logicalDpiY() / kLayoutDpi);
  painter.setRenderHint(QPainter::Antialiasing, true);

  ChartPicture picture(engine, chart::SheetOwnLines(engine));

  QTextDocument document;
  document.setUseDesignMetrics(true);
  document.documentLayout()->setPaintDevice(&SheetLayoutDevice());
  document.setDefaultFont(qtdraw::SongFont(kBodyPoints));
  document.setDocumentMargin(0);
  const double bodyHeight = area.height() - kFooterHeight;
  document.setPageSize(QSizeF(area.width(), bodyHeight));
  BuildDocument(document, engine, extras, picture, area.width());

  const int pages = document.pageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return false;
    painter.save();
    const QRectF clip(0, page * bodyHeight, area.width(), bodyHeight);
    painter.translate(0, -clip.top());
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    PaintSheetFooter(painter, QRectF(0, bodyHeight + 6, area.width(), kFooterHeight - 6), extras.issued,
                     Shown("第%1页 共%2页").arg(page + 1).arg(pages));
  }
  return painter.end();
}

bool WriteDateSheetPdf(const std::string& path, const chart::MQuorinDay& engine, const DateSheetExtras& extras,
                       std::string* error) {
  return WriteSheetPdf(path, FromUtf8(engine.Request().name) + Shown(" 日课单"), [&](QPdfWriter& writer) {
    UseDateSheetPage(writer);
    return PaintDateSheet(writer, engine, extras);
  }, error);
}

bool ReadRemarkFile(const std::string& path, QTextDocument& into) {
  const std::optional<std::string> bytes = base::ReadFileBytes(path);
  if (!bytes) return false;
  QTextCharFormat defaults = SheetTextFormat(kBodyPoints);
  if (base::LooksLikeRtf(*bytes)) {
    if (const std::optional<base::RichDocument> rich = base::ReadRtf(*bytes)) {
      qtdraw::FillTextDocument(into, *rich, defaults);
      return true;
    }
  }
  // The program saves plain remarks in GBK; a shell user more likely writes UTF-8.
  const std::string text = base::IsValidUtf8(*bytes) ? *bytes : base::GbkToUtf8(*bytes);
  base::RichCharFormat format;
  format.pointSize = kBodyPoints;
  qtdraw::FillTextDocument(into, base::RichDocument::FromPlainText(text, format), defaults);
  return true;
}

}  // namespace quorin::sheet

#include "date_sheet.moc"

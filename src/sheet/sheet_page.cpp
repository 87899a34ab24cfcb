// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_page.h"

#include <QBuffer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRectF>

#include "base/files.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"

namespace quorin::sheet {
namespace {

constexpr double kFooterPoints = 8;
// The size the fonts' glyphs are looked up at; any size gives the same glyphs.
constexpr double kGlyphPoints = 10.5;

}  // namespace

QImage& SheetLayoutDevice() {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(kSheetLayoutDpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
  }();
  return device;
}

QTextCharFormat SheetTextFormat(double points, bool bold, const QColor& color) {
  QTextCharFormat f;
  f.setFont(qtdraw::SongFont(points, bold));
  f.setForeground(color);
  return f;
}

QTextBlockFormat SheetBlockFormat(double spaceAbove, Qt::Alignment alignment) {
  QTextBlockFormat b;
  b.setAlignment(alignment);
  b.setTopMargin(spaceAbove);
  return b;
}

void PaintSheetFooter(QPainter& painter, const QRectF& area, const QDate& issued, const QString& right) {
  painter.save();
  painter.setPen(QPen(Qt::gray, 0.5));
  painter.drawLine(QPointF(area.left(), area.top()), QPointF(area.right(), area.top()));
  QFont font = qtdraw::SongFont(kFooterPoints);
  font.setPixelSize(static_cast<int>(kFooterPoints * kSheetLayoutDpi / 72.0 + 0.5));
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QRectF text = area.adjusted(0, 4, 0, 0);
  painter.drawText(text, Qt::AlignLeft | Qt::AlignTop,
                   qtdraw::ShownQString("出具日期：%1年%2月%3日").arg(issued.year()).arg(issued.month()).arg(issued.day()));
  painter.drawText(text, Qt::AlignRight | Qt::AlignTop, right);
  painter.restore();
}

// The maps are rewritten in place, each four-digit code for one of the same length, so no
// offset moves.
void MapRadicalsToIdeographs(QByteArray& pdf) {
  QHash<ushort, ushort> ideographOf;
  for (const bool bold : {false, true}) {
    const QRawFont raw = QRawFont::fromFont(qtdraw::SongFont(kGlyphPoints, bold));
    auto range = [](char16_t first, char16_t last) {
      QString text;
      for (char16_t c = first; c <= last; ++c) text.append(QChar(c));
      return text;
    };
    const QString unified = range(0x4E00, 0x9FFF);
    const QList<quint32> unifiedGlyphs = raw.glyphIndexesForString(unified);
    QHash<quint32, ushort> byGlyph;
    for (qsizetype i = unifiedGlyphs.size() - 1; i >= 0; --i) {
      if (unifiedGlyphs[i] != 0) byGlyph.insert(unifiedGlyphs[i], unified[i].unicode());
    }
    for (const QString& lookalikes : {range(0x2E80, 0x2FDF), range(0xF900, 0xFAFF)}) {
      const QList<quint32> glyphs = raw.glyphIndexesForString(lookalikes);
      for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const auto found = byGlyph.constFind(glyphs[i]);
        if (glyphs[i] != 0 && found != byGlyph.cend()) ideographOf.insert(lookalikes[i].unicode(), *found);
      }
    }
  }
  for (const QByteArray& begin : {QByteArray("beginbfrange"), QByteArray("beginbfchar")}) {
    const QByteArray end = "end" + begin.mid(5);
    for (qsizetype at = pdf.indexOf(begin); at >= 0; at = pdf.indexOf(begin, at)) {
      const qsizetype stop = pdf.indexOf(end, at);
      if (stop < 0) break;
      for (qsizetype i = at; i + 5 < stop; ++i) {
        if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
        bool ok = false;
        const ushort code = pdf.mid(i + 1, 4).toUShort(&ok, 16);
        const auto found = ideographOf.constFind(code);
        if (ok && found != ideographOf.cend()) pdf.replace(i + 1, 4, QByteArray::number(*found, 16).toUpper());
      }
      at = stop;
    }
  }
}

bool WriteSheetPdf(const std::string& path, const QString& title, const std::function<bool(QPdfWriter& writer)>& paint,
                   std::string* error) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Quorin"));
    writer.setTitle(title);
    if (!paint(writer)) {
      if (error) *error = "PDF 生成失败";
      return false;
    }
  }
  QByteArray bytes = buffer.data();
  MapRadicalsToIdeographs(bytes);
  return base::AtomicWriteFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                               error);
}

}  // namespace quorin::sheet

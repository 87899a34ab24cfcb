// SPDX-License-Identifier: GPL-3.0-or-later
// What the program's printed pages share (the date sheet, the comparison page): the 96-dpi device
// they are laid out on, their text and paragraph formats, the footer with the date of issue, and
// the PDF's text made searchable.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QString>
#include <QTextFormat>
#include <functional>
#include <string>

class QImage;
class QPdfWriter;
class QPainter;
class QRectF;

namespace quorin::sheet {

// Pages are laid out in pixels of a 96-dpi screen and scaled to the device.
inline constexpr double kSheetLayoutDpi = 96.0;

// The 96-dpi device the text is laid out on, with unhinted metrics as on paper.
QImage& SheetLayoutDevice();

// Text in the Song font at `points`.
QTextCharFormat SheetTextFormat(double points, bool bold = false, const QColor& color = Qt::black);
// A paragraph with `spaceAbove` pixels above it.
QTextBlockFormat SheetBlockFormat(double spaceAbove = 0, Qt::Alignment alignment = Qt::AlignLeft);

// A rule over `area`, then the date of issue on the left and `right` on the right.
void PaintSheetFooter(QPainter& painter, const QRectF& area, const QDate& issued, const QString& right);

// Qt names each embedded glyph in a PDF's ToUnicode maps by the lowest code point the font gives it,
// and CJK fonts give radicals the glyphs of ideographs (⽇ U+2F47 draws 日 U+65E5): copied or
// searched text would hold radicals. Maps them back to the ideographs, for every PDF the program
// writes with the Song font.
void MapRadicalsToIdeographs(QByteArray& pdf);

// Writes a page or pages as a PDF file titled `title`: `paint` sets up the page and paints it (false
// when it cannot), and the file is replaced only once it is complete, with the Song font's text
// searchable. False, with `error` saying why, when it cannot be written.
bool WriteSheetPdf(const std::string& path, const QString& title, const std::function<bool(QPdfWriter& writer)>& paint,
                   std::string* error);

}  // namespace quorin::sheet

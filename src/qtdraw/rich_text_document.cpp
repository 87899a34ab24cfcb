// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdraw/rich_text_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quorin::qtdraw {

namespace {

// Twips are 1/1440 inch; the document lays out in pixels of 96 dpi.
constexpr double kPixelsPerTwip = 96.0 / 1440.0;

base::RichAlignment AlignmentOf(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return base::RichAlignment::kCenter;
  if (a & Qt::AlignRight) return base::RichAlignment::kRight;
  if (a & Qt::AlignJustify) return base::RichAlignment::kJustify;
  return base::RichAlignment::kLeft;
}

Qt::Alignment QtAlignmentOf(base::RichAlignment a) {
  switch (a) {
    case base::RichAlignment::kCenter: return Qt::AlignHCenter;
    case base::RichAlignment::kRight: return Qt::AlignRight;
    case base::RichAlignment::kJustify: return Qt::AlignJustify;
    case base::RichAlignment::kLeft: break;
  }
  return Qt::AlignLeft;
}

base::RichCharFormat RichFormatOf(const QTextCharFormat& f, double defaultPointSize) {
  base::RichCharFormat r;
  const QStringList families = f.fontFamilies().toStringList();
  r.fontName = families.isEmpty() ? f.font().family().toStdString() : families.first().toStdString();
  r.pointSize = f.fontPointSize() > 0 ? f.fontPointSize() : defaultPointSize;
  r.bold = f.fontWeight() >= QFont::DemiBold;
  r.italic = f.fontItalic();
  r.underline = f.fontUnderline();
  r.strike = f.fontStrikeOut();
  if (f.foreground().style() != Qt::NoBrush) {
    const QColor c = f.foreground().color();
    r.color = base::RichColor{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                              static_cast<std::uint8_t>(c.blue())};
  }
  return r;
}

QTextCharFormat QtFormatOf(const base::RichCharFormat& r, const QTextCharFormat& defaults) {
  QTextCharFormat f = defaults;
  if (!r.fontName.empty()) f.setFontFamilies({QString::fromStdString(r.fontName)});
  if (r.pointSize > 0) f.setFontPointSize(r.pointSize);
  f.setFontWeight(r.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(r.italic);
  f.setFontUnderline(r.underline);
  f.setFontStrikeOut(r.strike);
  if (r.color) f.setForeground(QColor(r.color->red, r.color->green, r.color->blue));
  return f;
}

}  // namespace

base::RichDocument ToRichDocument(const QTextDocument& document, double defaultPointSize) {
  base::RichDocument rich;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    base::RichParagraph paragraph;
    const QTextBlockFormat bf = block.blockFormat();
    paragraph.alignment = AlignmentOf(bf.alignment());
    paragraph.firstLineIndentTwips = static_cast<int>(std::lround(bf.textIndent() / kPixelsPerTwip));
    paragraph.leftIndentTwips = static_cast<int>(std::lround(bf.leftMargin() / kPixelsPerTwip));
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      paragraph.runs.push_back({fragment.text().toStdString(), RichFormatOf(fragment.charFormat(), defaultPointSize)});
    }
    rich.paragraphs.push_back(std::move(paragraph));
  }
  rich.Normalize();
  return rich;
}

void FillTextDocument(QTextDocument& document, const base::RichDocument& rich, const QTextCharFormat& defaults) {
  document.clear();
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  bool first = true;
  for (const base::RichParagraph& paragraph : rich.paragraphs) {
    QTextBlockFormat bf;
    bf.setAlignment(QtAlignmentOf(paragraph.alignment));
    bf.setTextIndent(paragraph.firstLineIndentTwips * kPixelsPerTwip);
    bf.setLeftMargin(paragraph.leftIndentTwips * kPixelsPerTwip);
    if (first) {
      cursor.setBlockFormat(bf);
      cursor.setBlockCharFormat(defaults);
      first = false;
    } else {
      cursor.insertBlock(bf, defaults);
    }
    for (const base::RichRun& run : paragraph.runs) {
      cursor.insertText(QString::fromStdString(run.text), QtFormatOf(run.format, defaults));
    }
  }
  cursor.endEditBlock();
}

QString PlainTextWithCrLf(const QTextDocument& document) {
  QString text = document.toPlainText();
  text.replace(QChar(0x2028), QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

}  // namespace quorin::qtdraw

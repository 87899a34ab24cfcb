// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdraw/painter_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qtdraw/image_canvas.h"
#include "qtdraw/shown_text.h"

namespace quorin::qtdraw {

namespace {

QString ToQString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

PainterCanvas::PainterCanvas(QPainter* painter, int width, int height)
    : painter_(painter), width_(std::max(1, width)), height_(std::max(1, height)) {
  // One pixel of the picture, however far the painter scales it.
  pen_.setWidthF(1.0);
}

void PainterCanvas::SetFont(std::string_view family, int pointSize, bool bold) {
  font_ = QFont(ToQString(family));
  // A pixel size is in the painter's own units, so the text scales with the picture.
  font_.setPixelSize(std::max(1, static_cast<int>(std::lround(pointSize * 96.0 / 72.0))));
  font_.setBold(bold);
  font_.setHintingPreference(QFont::PreferNoHinting);
}

void PainterCanvas::SetFontColor(draw::Color color) { fontColor_ = ToQColor(color); }

void PainterCanvas::SetPen(draw::Color color, draw::PenStyle style) {
  pen_.setColor(ToQColor(color));
  switch (style) {
    case draw::PenStyle::kSolid:
      pen_.setStyle(Qt::SolidLine);
      break;
    case draw::PenStyle::kDotted:
      pen_.setStyle(Qt::DotLine);
      break;
    case draw::PenStyle::kInvisible:
      pen_.setStyle(Qt::NoPen);
      break;
  }
}

void PainterCanvas::SetBrush(draw::Color color, draw::BrushStyle style) {
  brushColor_ = ToQColor(color);
  brushSolid_ = style == draw::BrushStyle::kSolid;
}

void PainterCanvas::TextOut(int x, int y, std::string_view utf8) {
  if (!painter_) return;
  const QString text = ShownQString(utf8);
  const QFontMetricsF metrics(font_);
  // An opaque brush paints the text's cell first, as a Windows canvas does.
  if (brushSolid_) painter_->fillRect(QRectF(x, y, metrics.horizontalAdvance(text), metrics.height()), brushColor_);
  painter_->setFont(font_);
  painter_->setPen(fontColor_);
  painter_->drawText(QPointF(x, y + metrics.ascent()), text);
}

int PainterCanvas::TextWidth(std::string_view utf8) {
  return static_cast<int>(std::lround(QFontMetricsF(font_).horizontalAdvance(ShownQString(utf8))));
}

int PainterCanvas::TextHeight(std::string_view) { return static_cast<int>(std::lround(QFontMetricsF(font_).height())); }

void PainterCanvas::FillRect(int left, int top, int right, int bottom) {
  if (!painter_ || !brushSolid_ || right <= left || bottom <= top) return;
  painter_->fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (!painter_ || right <= left || bottom <= top) return;
  if (brushSolid_) painter_->fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
  if (pen_.style() != Qt::NoPen) {
    painter_->setPen(pen_);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
  }
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2) {
  if (!painter_ || pen_.style() == Qt::NoPen) return;
  painter_->setPen(pen_);
  painter_->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::Resize(int width, int height) {
  width_ = std::max(1, width);
  height_ = std::max(1, height);
}

}  // namespace quorin::qtdraw

#include "qtdraw/image_canvas.h"

#include <QFontMetrics>

namespace quorin::qtdraw {

QColor ToQColor(draw::Color c) { return QColor(draw::RedOf(c), draw::GreenOf(c), draw::BlueOf(c)); }

draw::Color FromQColor(const QColor& c) {
  return static_cast<draw::Color>(c.red()) | (static_cast<draw::Color>(c.green()) << 8) |
         (static_cast<draw::Color>(c.blue()) << 16);
}

ImageCanvas::ImageCanvas(int width, int height) : image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  pen_.setCosmetic(true);
  pen_.setWidth(1);
}

ImageCanvas::~ImageCanvas() { EndPainting(); }

QPainter& ImageCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
  }
  return *painter_;
}

void ImageCanvas::EndPainting() {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

const QImage& ImageCanvas::Image() {
  EndPainting();
  return image_;
}

void ImageCanvas::SetFont(std::string_view family, int pointSize, bool bold) {
  font_ = QFont(QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size())));
  font_.setPointSize(std::max(1, pointSize));
  font_.setBold(bold);
}

void ImageCanvas::SetFontColor(draw::Color color) { fontColor_ = ToQColor(color); }

void ImageCanvas::SetPen(draw::Color color, draw::PenStyle style) {
  pen_.setColor(ToQColor(color));
  switch (style) {
    case draw::PenStyle::kSolid: pen_.setStyle(Qt::SolidLine); break;
    case draw::PenStyle::kDotted: pen_.setStyle(Qt::DotLine); break;
    case draw::PenStyle::kInvisible: pen_.setStyle(Qt::NoPen); break;
  }
}

void ImageCanvas::SetBrush(draw::Color color, draw::BrushStyle style) {
  brushColor_ = ToQColor(color);
  brushSolid_ = style == draw::BrushStyle::kSolid;
}

void ImageCanvas::TextOut(int x, int y, std::string_view utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QPainter& p = Painter();
  p.setFont(font_);
  const QFontMetrics metrics(font_, &image_);
  // An opaque brush paints the text's cell first, as a Windows canvas does.
  if (brushSolid_) p.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), brushColor_);
  p.setPen(fontColor_);
  p.drawText(QPoint(x, y + metrics.ascent()), text);
}

int ImageCanvas::TextWidth(std::string_view utf8) {
  return QFontMetrics(font_, &image_).horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

int ImageCanvas::TextHeight(std::string_view) { return QFontMetrics(font_, &image_).height(); }

void ImageCanvas::FillRect(int left, int top, int right, int bottom) {
  if (!brushSolid_ || right <= left || bottom <= top) return;
  Painter().fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
}

void ImageCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  QPainter& p = Painter();
  if (brushSolid_) p.fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
  if (pen_.style() != Qt::NoPen) {
    p.setPen(pen_);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  }
}

void ImageCanvas::Line(int x1, int y1, int x2, int y2) {
  if (pen_.style() == Qt::NoPen) return;
  QPainter& p = Painter();
  p.setPen(pen_);
  p.drawLine(x1, y1, x2, y2);
}

void ImageCanvas::Resize(int width, int height) {
  EndPainting();
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(Qt::white);
}

}  // namespace quorin::qtdraw

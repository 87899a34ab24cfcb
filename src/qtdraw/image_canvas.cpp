// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdraw/image_canvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "qtdraw/shown_text.h"

namespace quorin::qtdraw {

QColor ToQColor(draw::Color c) { return QColor(draw::RedOf(c), draw::GreenOf(c), draw::BlueOf(c)); }

draw::Color FromQColor(const QColor& c) {
  return static_cast<draw::Color>(c.red()) | (static_cast<draw::Color>(c.green()) << 8) |
         (static_cast<draw::Color>(c.blue()) << 16);
}

namespace {

// More device pixels than this per logical one only cost memory: a large chart font at
// ratio 3 already needs a picture of tens of megabytes.
constexpr double kMaxRatio = 3.0;

double UsableRatio(double ratio) { return std::isfinite(ratio) && ratio > 0 ? std::min(ratio, kMaxRatio) : 1.0; }

QSize DeviceSize(QSize logical, double ratio) {
  return QSize(static_cast<int>(std::ceil(logical.width() * ratio)), static_cast<int>(std::ceil(logical.height() * ratio)));
}

QImage WhiteImage(int width, int height) {
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QPainter& PainterOf(QImage& image, std::unique_ptr<QPainter>& painter) {
  if (!painter) {
    painter = std::make_unique<QPainter>(&image);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
  }
  return *painter;
}

}  // namespace

QImage ScreenPicture(QSize logical, double ratio) {
  ratio = UsableRatio(ratio);
  const QSize device = DeviceSize(logical, ratio);
  QImage image = WhiteImage(device.width(), device.height());
  image.setDevicePixelRatio(ratio);
  return image;
}

ImageCanvas::ImageCanvas(int width, int height, double devicePixelRatio) : plain_{WhiteImage(width, height), nullptr} {
  pen_.setCosmetic(true);
  pen_.setWidth(1);
  SetDevicePixelRatio(devicePixelRatio);
}

ImageCanvas::~ImageCanvas() { EndPainting(); }

template <typename Draw>
void ImageCanvas::Paint(const Draw& draw) {
  draw(PainterOf(plain_.image, plain_.painter), pen_);
  if (!screen_) return;
  // A line one logical pixel wide, as on the logical picture, rather than a hairline.
  QPen pen = pen_;
  pen.setWidthF(ratio_);
  draw(PainterOf(screen_->image, screen_->painter), pen);
}

void ImageCanvas::EndPainting() {
  const auto end = [](Surface& surface) {
    if (surface.painter) {
      surface.painter->end();
      surface.painter.reset();
    }
  };
  end(plain_);
  if (screen_) end(*screen_);
}

const QImage& ImageCanvas::Image() {
  EndPainting();
  return plain_.image;
}

const QImage& ImageCanvas::ScreenImage() {
  EndPainting();
  return screen_ ? screen_->image : plain_.image;
}

void ImageCanvas::SetDevicePixelRatio(double ratio) {
  ratio = UsableRatio(ratio);
  if (ratio == ratio_) return;
  EndPainting();
  ratio_ = ratio;
  if (ratio == 1.0) {
    screen_.reset();
    return;
  }
  // Enlarged from the logical picture, so the screen shows the same chart until the next drawing.
  QImage image = plain_.image.scaled(DeviceSize(plain_.image.size(), ratio), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  screen_ = Surface{std::move(image), nullptr};
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
  const QString text = ShownQString(utf8);
  const QFontMetrics metrics(font_, &plain_.image);
  // An opaque brush paints the text's cell first, as a Windows canvas does.
  const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
  Paint([&](QPainter& p, const QPen&) {
    p.setFont(font_);
    if (brushSolid_) p.fillRect(cell, brushColor_);
    p.setPen(fontColor_);
    p.drawText(QPoint(x, y + metrics.ascent()), text);
  });
}

int ImageCanvas::TextWidth(std::string_view utf8) {
  return QFontMetrics(font_, &plain_.image).horizontalAdvance(ShownQString(utf8));
}

int ImageCanvas::TextHeight(std::string_view) { return QFontMetrics(font_, &plain_.image).height(); }

void ImageCanvas::FillRect(int left, int top, int right, int bottom) {
  if (!brushSolid_ || right <= left || bottom <= top) return;
  Paint([&](QPainter& p, const QPen&) { p.fillRect(QRect(left, top, right - left, bottom - top), brushColor_); });
}

void ImageCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  Paint([&](QPainter& p, const QPen& pen) {
    if (brushSolid_) p.fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
    if (pen.style() != Qt::NoPen) {
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    }
  });
}

void ImageCanvas::Line(int x1, int y1, int x2, int y2) {
  if (pen_.style() == Qt::NoPen) return;
  Paint([&](QPainter& p, const QPen& pen) {
    p.setPen(pen);
    p.drawLine(x1, y1, x2, y2);
  });
}

void ImageCanvas::Resize(int width, int height) {
  EndPainting();
  plain_.image = WhiteImage(width, height);
  if (screen_) screen_->image = ScreenPicture(plain_.image.size(), ratio_);
}

}  // namespace quorin::qtdraw

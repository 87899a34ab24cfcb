// SPDX-License-Identifier: GPL-3.0-or-later
// The chart canvas over a QPainter on a QImage. Needs only QtGui, so a tool without
// windows can draw the chart image and save it as PNG.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "draw/canvas.h"

namespace quorin::qtdraw {

// Coordinates, sizes and text metrics are logical pixels. On a screen with more device
// pixels per logical one the canvas also draws every call on a second picture at that
// ratio, so the chart shows sharp there while the logical picture stays the same for
// saving, copying, printing and PNG output.
class ImageCanvas final : public draw::Canvas {
 public:
  explicit ImageCanvas(int width = 1, int height = 1, double devicePixelRatio = 1.0);
  ~ImageCanvas() override;

  void SetFont(std::string_view family, int pointSize, bool bold) override;
  void SetFontColor(draw::Color color) override;
  void SetPen(draw::Color color, draw::PenStyle style) override;
  void SetBrush(draw::Color color, draw::BrushStyle style) override;
  void TextOut(int x, int y, std::string_view utf8) override;
  int TextWidth(std::string_view utf8) override;
  int TextHeight(std::string_view utf8) override;
  void FillRect(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Resize(int width, int height) override;
  int Width() const override { return plain_.image.width(); }
  int Height() const override { return plain_.image.height(); }

  // Device pixels per logical pixel of the screen picture (1 when the value is unusable).
  // Set it before drawing: a picture already drawn is only enlarged to the new ratio.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const { return ratio_; }

  // The picture as drawn so far, one pixel per logical pixel.
  const QImage& Image();
  // The same picture at the device pixel ratio, which it carries, for showing on screen.
  const QImage& ScreenImage();

 private:
  struct Surface {
    QImage image;
    std::unique_ptr<QPainter> painter;  // open while drawing, closed before the image is read
  };

  // Runs draw(painter, pen) on each picture, with the pen for its pixel density.
  template <typename Draw>
  void Paint(const Draw& draw);
  void EndPainting();

  Surface plain_;
  std::optional<Surface> screen_;  // only at a ratio other than 1
  double ratio_ = 1.0;
  QFont font_;
  QColor fontColor_ = Qt::black;
  QPen pen_;
  QColor brushColor_ = Qt::white;
  bool brushSolid_ = true;
};

// A white RGB32 picture of `logical` size at `ratio` device pixels per logical pixel: painted
// in logical coordinates and shown at the logical size.
QImage ScreenPicture(QSize logical, double ratio);

QColor ToQColor(draw::Color color);
draw::Color FromQColor(const QColor& color);

}  // namespace quorin::qtdraw

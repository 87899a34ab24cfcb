// The chart canvas over a QPainter on a QImage. Needs only QtGui, so a tool without
// windows can draw the chart image and save it as PNG.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "draw/canvas.h"

namespace quorin::qtdraw {

class ImageCanvas final : public draw::Canvas {
 public:
  explicit ImageCanvas(int width = 1, int height = 1);
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
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }

  // The picture as drawn so far.
  const QImage& Image();

 private:
  QPainter& Painter();
  void EndPainting();

  QImage image_;
  std::unique_ptr<QPainter> painter_;  // open while drawing, closed before the image is read
  QFont font_;
  QColor fontColor_ = Qt::black;
  QPen pen_;
  QColor brushColor_ = Qt::white;
  bool brushSolid_ = true;
};

QColor ToQColor(draw::Color color);
draw::Color FromQColor(const QColor& color);

}  // namespace quorin::qtdraw

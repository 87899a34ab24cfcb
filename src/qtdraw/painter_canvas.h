// SPDX-License-Identifier: GPL-3.0-or-later
// The chart canvas over a QPainter on any paint device (a PDF page, a printer), so the
// chart is drawn there as vector text and lines rather than as an enlarged image.
#pragma once

#include <QFont>
#include <QPen>

#include "draw/canvas.h"

class QPainter;

namespace quorin::qtdraw {

// Coordinates are pixels of a 96-dpi screen and a point is 96/72 of them, as in the
// picture on screen; the caller scales the painter to where the picture goes. Text is
// measured with unhinted metrics, independent of the painter, so a drawing without a
// painter (nullptr) measures the same layout and paints nothing.
class PainterCanvas final : public draw::Canvas {
 public:
  explicit PainterCanvas(QPainter* painter = nullptr, int width = 1, int height = 1);

  void SetPainter(QPainter* painter) { painter_ = painter; }

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
  // Only the size changes: what is on the device stays.
  void Resize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 private:
  QPainter* painter_ = nullptr;
  int width_ = 1;
  int height_ = 1;
  QFont font_;
  QColor fontColor_ = Qt::black;
  QPen pen_;
  QColor brushColor_ = Qt::white;
  bool brushSolid_ = true;
};

}  // namespace quorin::qtdraw

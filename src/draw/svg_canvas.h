// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture as scalable vector graphics: the same drawing calls the window's canvas
// takes, written as SVG elements, so a browser shows the picture sharp at any size and the
// command line can write it to a file. Text metrics are those of the recording canvas (a
// fixed-pitch CJK face at 96 dpi), so the layout, and with it where clicks act, depends on
// nothing installed.
#pragma once

#include <string>
#include <string_view>

#include "draw/canvas.h"

namespace quorin::draw {

class SvgCanvas final : public Canvas {
 public:
  explicit SvgCanvas(int width = 0, int height = 0) : width_(width), height_(height) {}

  void SetFont(std::string_view family, int pointSize, bool bold) override;
  void SetFontColor(Color color) override { fontColor_ = color; }
  void SetPen(Color color, PenStyle style) override;
  void SetBrush(Color color, BrushStyle style) override;
  void TextOut(int x, int y, std::string_view utf8) override;
  int TextWidth(std::string_view utf8) override;
  int TextHeight(std::string_view utf8) override;
  void FillRect(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Resize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  // The picture drawn since the last resize, as a standalone SVG document of Width() × Height()
  // pixels (UTF-8, with a viewBox, so it scales).
  std::string Document() const;

 private:
  int Em() const;
  int LineHeight() const;

  std::string elements_;
  std::string fontFamily_ = "宋体";
  int fontSize_ = 12;
  bool bold_ = false;
  Color fontColor_ = kBlack;
  Color penColor_ = kBlack;
  PenStyle penStyle_ = PenStyle::kSolid;
  Color brushColor_ = kWhite;
  bool brushSolid_ = true;
  int width_ = 0;
  int height_ = 0;
};

// "#rrggbb" of a colour.
std::string SvgColor(Color color);
// Text with &, <, > and " written as entities.
std::string EscapeXml(std::string_view text);

}  // namespace quorin::draw

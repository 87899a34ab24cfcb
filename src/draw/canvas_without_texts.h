// SPDX-License-Identifier: GPL-3.0-or-later
// A canvas that forwards to another, leaving out chosen texts: a date sheet sets the picture's
// header lines and 常用神煞 as lines of its own, so the page does not say them twice.
#pragma once

#include <set>
#include <string>
#include <utility>

#include "draw/canvas.h"

namespace quorin::draw {

class CanvasWithoutTexts final : public Canvas {
 public:
  CanvasWithoutTexts(Canvas& to, std::set<std::string> omitted) : to_(to), omitted_(std::move(omitted)) {}

  void SetFont(std::string_view family, int pointSize, bool bold) override { to_.SetFont(family, pointSize, bold); }
  void SetFontColor(Color color) override { to_.SetFontColor(color); }
  void SetPen(Color color, PenStyle style) override { to_.SetPen(color, style); }
  void SetBrush(Color color, BrushStyle style) override { to_.SetBrush(color, style); }
  void TextOut(int x, int y, std::string_view utf8) override {
    if (!omitted_.contains(std::string(utf8))) to_.TextOut(x, y, utf8);
  }
  int TextWidth(std::string_view utf8) override { return to_.TextWidth(utf8); }
  int TextHeight(std::string_view utf8) override { return to_.TextHeight(utf8); }
  void FillRect(int left, int top, int right, int bottom) override { to_.FillRect(left, top, right, bottom); }
  void Rectangle(int left, int top, int right, int bottom) override { to_.Rectangle(left, top, right, bottom); }
  void Line(int x1, int y1, int x2, int y2) override { to_.Line(x1, y1, x2, y2); }
  void Resize(int width, int height) override { to_.Resize(width, height); }
  int Width() const override { return to_.Width(); }
  int Height() const override { return to_.Height(); }

 private:
  Canvas& to_;
  std::set<std::string> omitted_;
};

}  // namespace quorin::draw

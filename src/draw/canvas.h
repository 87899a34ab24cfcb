// SPDX-License-Identifier: GPL-3.0-or-later
// The picture the chart image and the six-line chart are drawn on. The Qt canvas
// (qtdraw/image_canvas.h) adapts a QPainter over a QImage to this; the recording
// canvas below serves tests and quorin-cli.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/color.h"

namespace quorin::draw {

enum class PenStyle { kSolid, kDotted, kInvisible };
enum class BrushStyle { kSolid, kTransparent };

// Coordinates are pixels, x to the right and y down from the top left corner.
// Rectangles include left/top and exclude right/bottom, as a Windows canvas does.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Font of later text: a family name ("宋体" is mapped to an installed Song face),
  // a size in points, bold or regular, and the text colour.
  virtual void SetFont(std::string_view family, int pointSize, bool bold) = 0;
  virtual void SetFontColor(Color color) = 0;
  // Pen of lines and rectangle outlines (one pixel wide).
  virtual void SetPen(Color color, PenStyle style) = 0;
  // Brush of filled rectangles and of the background behind text; a transparent
  // brush leaves what is under the text visible.
  virtual void SetBrush(Color color, BrushStyle style) = 0;

  // Text with its top left corner at (x, y), in the current font and colour.
  virtual void TextOut(int x, int y, std::string_view utf8) = 0;
  virtual int TextWidth(std::string_view utf8) = 0;
  virtual int TextHeight(std::string_view utf8) = 0;

  // Fills [left, right) × [top, bottom) with the brush, no outline.
  virtual void FillRect(int left, int top, int right, int bottom) = 0;
  // Outlines the rectangle with the pen and fills its inside with the brush.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  // A line from (x1, y1) to (x2, y2) with the pen; the end point is not drawn.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // New size; the contents are undefined until the next fill.
  virtual void Resize(int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// Records every drawing call. Text metrics follow a 96-dpi screen with a
// fixed-pitch CJK face: a double-byte GBK character is one em wide, a single-byte
// one half an em, and text is one em high (em = pixels of the point size).
class RecordingCanvas final : public Canvas {
 public:
  struct Operation {
    enum class Kind { kText, kFillRect, kRectangle, kLine, kResize } kind = Kind::kText;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // text: x1, y1; shapes: corners; resize: x2, y2
    std::string text;                    // text only
    // State in force when the call was made.
    std::string fontFamily;
    int fontSize = 0;
    bool bold = false;
    Color fontColor = kBlack;
    Color penColor = kBlack;
    PenStyle penStyle = PenStyle::kSolid;
    Color brushColor = kWhite;
    BrushStyle brushStyle = BrushStyle::kSolid;
  };

  explicit RecordingCanvas(int width = 0, int height = 0) : width_(width), height_(height) {}

  void SetFont(std::string_view family, int pointSize, bool bold) override;
  void SetFontColor(Color color) override { state_.fontColor = color; }
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

  const std::vector<Operation>& Operations() const { return operations_; }
  void ClearOperations() { operations_.clear(); }
  // The texts drawn, in order.
  std::vector<std::string> Texts() const;
  // Pixels of one em at the current font size.
  int Em() const;

 private:
  Operation& Record(Operation::Kind kind, int x1, int y1, int x2, int y2);

  Operation state_;
  std::vector<Operation> operations_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quorin::draw

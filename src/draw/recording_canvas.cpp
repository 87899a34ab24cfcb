// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/gbk.h"
#include "draw/canvas.h"

namespace quorin::draw {

void RecordingCanvas::SetFont(std::string_view family, int pointSize, bool bold) {
  state_.fontFamily = std::string(family);
  state_.fontSize = pointSize;
  state_.bold = bold;
}

void RecordingCanvas::SetPen(Color color, PenStyle style) {
  state_.penColor = color;
  state_.penStyle = style;
}

void RecordingCanvas::SetBrush(Color color, BrushStyle style) {
  state_.brushColor = color;
  state_.brushStyle = style;
}

RecordingCanvas::Operation& RecordingCanvas::Record(Operation::Kind kind, int x1, int y1, int x2, int y2) {
  Operation op = state_;
  op.kind = kind;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  operations_.push_back(std::move(op));
  return operations_.back();
}

void RecordingCanvas::TextOut(int x, int y, std::string_view utf8) {
  Record(Operation::Kind::kText, x, y, x + TextWidth(utf8), y + TextHeight(utf8)).text = std::string(utf8);
}

int RecordingCanvas::Em() const { return (state_.fontSize * 96 + 36) / 72; }

int RecordingCanvas::TextWidth(std::string_view utf8) { return base::GbkByteLength(utf8) * Em() / 2; }

int RecordingCanvas::TextHeight(std::string_view) { return Em(); }

void RecordingCanvas::FillRect(int left, int top, int right, int bottom) {
  Record(Operation::Kind::kFillRect, left, top, right, bottom);
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  Record(Operation::Kind::kRectangle, left, top, right, bottom);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) { Record(Operation::Kind::kLine, x1, y1, x2, y2); }

void RecordingCanvas::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  Record(Operation::Kind::kResize, 0, 0, width, height);
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> texts;
  for (const auto& op : operations_) {
    if (op.kind == Operation::Kind::kText) texts.push_back(op.text);
  }
  return texts;
}

}  // namespace quorin::draw

// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw/svg_canvas.h"

#include <cstdio>

#include "base/gbk.h"
#include "base/script_text.h"

namespace quorin::draw {

namespace {

// The faces a reader's system has, Song first for the program's 宋体; nothing is downloaded.
constexpr std::string_view kSongFaces =
    "'Noto Serif CJK SC','Source Han Serif SC','Noto Serif CJK TC','Songti SC','STSong',SimSun,serif";
constexpr std::string_view kOtherFaces =
    "'Noto Sans CJK SC','Source Han Sans SC','Microsoft YaHei','PingFang SC','Noto Sans CJK TC',sans-serif";
// The baseline within a glyph's em: where a CJK face's ascent ends.
constexpr double kBaselineOfEm = 0.88;
// A line is a quarter em higher than its glyphs, as CJK faces space their lines: stacked lines
// (丙 over 午 in a cell) keep apart.
constexpr int kLineQuartersOfEm = 5;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

std::string SvgColor(Color color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(color), GreenOf(color), BlueOf(color));
  return text;
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

void SvgCanvas::SetFont(std::string_view family, int pointSize, bool bold) {
  fontFamily_ = std::string(family);
  fontSize_ = pointSize;
  bold_ = bold;
}

void SvgCanvas::SetPen(Color color, PenStyle style) {
  penColor_ = color;
  penStyle_ = style;
}

void SvgCanvas::SetBrush(Color color, BrushStyle style) {
  brushColor_ = color;
  brushSolid_ = style == BrushStyle::kSolid;
}

int SvgCanvas::Em() const { return (fontSize_ * 96 + 36) / 72; }

int SvgCanvas::TextWidth(std::string_view utf8) { return base::GbkByteLength(base::ShownText(utf8)) * Em() / 2; }

int SvgCanvas::TextHeight(std::string_view) { return LineHeight(); }

int SvgCanvas::LineHeight() const { return (Em() * kLineQuartersOfEm + 2) / 4; }

void SvgCanvas::TextOut(int x, int y, std::string_view utf8) {
  const std::string shown = base::ShownText(utf8);
  // An opaque brush paints the text's cell first, as a Windows canvas does.
  if (brushSolid_) FillRect(x, y, x + TextWidth(utf8), y + LineHeight());
  const std::string_view faces = fontFamily_ == "宋体" ? kSongFaces : kOtherFaces;
  elements_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + Number(y + (LineHeight() - Em()) / 2.0 + Em() * kBaselineOfEm) + "\" font-family=\"" +
               (fontFamily_ == "宋体" ? std::string() : EscapeXml(fontFamily_) + ",") + std::string(faces) +
               "\" font-size=\"" + std::to_string(Em()) + "\"" + (bold_ ? " font-weight=\"bold\"" : "") + " fill=\"" +
               SvgColor(fontColor_) + "\" textLength=\"" + std::to_string(TextWidth(utf8)) +
               "\" lengthAdjust=\"spacingAndGlyphs\">" + EscapeXml(shown) + "</text>\n";
}

void SvgCanvas::FillRect(int left, int top, int right, int bottom) {
  if (!brushSolid_ || right <= left || bottom <= top) return;
  // A fill of the whole picture hides all before it: a new chart starts a new document.
  if (left <= 0 && top <= 0 && right >= width_ && bottom >= height_) elements_.clear();
  elements_ += "<rect x=\"" + std::to_string(left) + "\" y=\"" + std::to_string(top) + "\" width=\"" +
               std::to_string(right - left) + "\" height=\"" + std::to_string(bottom - top) + "\" fill=\"" +
               SvgColor(brushColor_) + "\"/>\n";
}

void SvgCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  FillRect(left, top, right, bottom);
  if (penStyle_ == PenStyle::kInvisible) return;
  // The outline runs along the inner edge of the pixels, as the window draws it.
  elements_ += "<rect x=\"" + Number(left + 0.5) + "\" y=\"" + Number(top + 0.5) + "\" width=\"" +
               std::to_string(right - left - 1) + "\" height=\"" + std::to_string(bottom - top - 1) +
               "\" fill=\"none\" stroke=\"" + SvgColor(penColor_) + "\"" +
               (penStyle_ == PenStyle::kDotted ? " stroke-dasharray=\"1 1\"" : "") + "/>\n";
}

void SvgCanvas::Line(int x1, int y1, int x2, int y2) {
  if (penStyle_ == PenStyle::kInvisible) return;
  elements_ += "<line x1=\"" + Number(x1 + 0.5) + "\" y1=\"" + Number(y1 + 0.5) + "\" x2=\"" + Number(x2 + 0.5) +
               "\" y2=\"" + Number(y2 + 0.5) + "\" stroke=\"" + SvgColor(penColor_) + "\"" +
               (penStyle_ == PenStyle::kDotted ? " stroke-dasharray=\"1 1\"" : "") + "/>\n";
}

void SvgCanvas::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  elements_.clear();
}

std::string SvgCanvas::Document() const {
  const std::string w = std::to_string(width_), h = std::to_string(height_);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
         "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n" + elements_ + "</svg>\n";
}

}  // namespace quorin::draw

// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the six-line chart into the chart picture.
#include <algorithm>
#include <string>

#include "calendar/calendar_text.h"
#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"

namespace quorin::iching {
namespace {

std::string_view Stem(int stem) { return calendar::Stem(stem).Name(); }
std::string_view Branch(int branch) { return calendar::Branch(branch).Name(); }

// "甲子年", or "  丙寅月" with the stem padded to four bytes.
std::string PillarPart(int pillar, const char* unit, bool padded) {
  std::string text = padded ? "  " : "";
  return text + calendar::PillarName(pillar) + unit;
}

// "寅木 ": a branch with its element and a blank.
std::string BranchAndElement(int branch) {
  return std::string(Branch(branch)) + std::string(MLiuYaoGua::ElementName(MLiuYaoGua::BranchElement(branch))) + " ";
}

constexpr const char* kLineFigure = "━━━　";

}  // namespace

std::array<std::string, 2> MLiuYaoGua::TitleRows() const {
  std::array<std::string, 2> rows;
  rows[0] = PillarPart(pillars_.year, "年", false) + PillarPart(pillars_.month, "月", true) +
            PillarPart(pillars_.day, "日", true) + PillarPart(pillars_.hour, "时", true);
  const int generation = classification_.generation;
  rows[1] = std::string(HexagramName(gua_)) + "(" + std::string(TrigramName(classification_.palace)) + "宫";
  rows[1] += generation == 7 ? "-游魂)" : generation == 8 ? "-归魂)" : ")";
  const auto voids = VoidBranches();
  rows[1] += " [空亡:" + std::string(Branch(voids[0])) + "、" + std::string(Branch(voids[1])) + "]";
  return rows;
}

std::string MLiuYaoGua::TextBeforeFigure(int lineFromTop) const {
  std::string text(SpiritName(SpiritOfLine(6 - lineFromTop)));
  if (hidden_.empty()) return text + "　　";
  for (const HiddenSpirit& h : hidden_) {
    if (h.lineFromTop != lineFromTop) continue;
    text += " " + std::string(KinshipName(h.kinship));
    if (stemsShown_) text += Stem(h.stem);
    return text + BranchAndElement(h.branch);
  }
  return text + (stemsShown_ ? "　　　　　　" : "　　　　　");
}

std::string MLiuYaoGua::TextAfterFigure(int lineFromTop) const {
  const int line = 6 - lineFromTop;  // from the bottom, 0-based
  const YaoLine& y = lines_.at(static_cast<std::size_t>(line));
  std::string text = std::string(KinshipName(y.kinship)) + std::string(Stem(y.stem)) + BranchAndElement(y.branch);
  if (line == classification_.shiLine) return text + "世   ";
  if (line == classification_.yingLine) return text + "应   ";
  return text + "     ";
}

void MLiuYaoGua::DrawChart(draw::Canvas& image, int left, int top, int /*width*/, int bottom, int gua,
                           const calendar::FourPillars& pillars, draw::Color background) {
  Compute(gua, pillars);
  image.SetFont("宋体", 12, false);
  const int w = image.TextWidth("国");
  const int h = image.TextHeight("国");
  const int pitch = (bottom - top) / 8;
  const int firstRow = top + (pitch - h) / 2;

  image.SetFontColor(draw::kDarkRed);
  const auto titles = TitleRows();
  image.TextOut(left, firstRow, titles[0]);
  image.TextOut(left, firstRow + pitch, titles[1]);

  image.SetFontColor(draw::kBlack);
  const int figureWidth = image.TextWidth(kLineFigure);
  // The texts before the figures are equally long in GBK bytes; a face whose
  // blanks are narrower than half a character would still stagger the figures, so
  // they all start after the widest text.
  int figureLeft = left;
  for (int lineFromTop = 1; lineFromTop <= 6; ++lineFromTop) {
    figureLeft = std::max(figureLeft, left + image.TextWidth(TextBeforeFigure(lineFromTop)));
  }
  for (int lineFromTop = 1; lineFromTop <= 6; ++lineFromTop) {
    const int rowTop = firstRow + (lineFromTop + 1) * pitch;
    image.TextOut(left, rowTop, TextBeforeFigure(lineFromTop));

    const int boxLeft = figureLeft + w / 5;
    const int boxRight = figureLeft + figureWidth - w / 5;
    const int boxTop = rowTop + h / 3;
    const int boxBottom = rowTop + 2 * h / 3;
    image.SetBrush(draw::kBlack, draw::BrushStyle::kSolid);
    if (code_.at(static_cast<std::size_t>(lineFromTop - 1)) == '1') {
      image.FillRect(boxLeft, boxTop, boxRight, boxBottom);
    } else {
      const int third = (boxRight - boxLeft) / 3;
      image.FillRect(boxLeft, boxTop, boxLeft + third, boxBottom);
      image.FillRect(boxRight - third, boxTop, boxRight, boxBottom);
    }
    image.SetBrush(background, draw::BrushStyle::kSolid);

    image.TextOut(boxRight + w / 2, rowTop, TextAfterFigure(lineFromTop));
  }
}

}  // namespace quorin::iching

// SPDX-License-Identifier: GPL-3.0-or-later
// A selected column of the chart picture: its six-line chart, the line bar of the
// mountain and the relation lines to the other columns.
#include "chart/image_links.h"
#include "chart/quorin_day.h"

namespace quorin::chart {

void MQuorinDay::DrawSelection(int column, int band) {
  imageState_.sixLineShown = false;
  imageState_.lineBarActive = false;
  const ChartTableArea& table = imageState_.table;
  if (!image_ || !table.IsSet() || column < 0 || column >= shownCount_ || band < 0) return;

  SetChartFont(table.fontSize, false);
  const int position = ShownPosition(column);
  const ChartSlot& slot = SlotOfPosition(position);
  const int belowPersons = personSlots_.empty() ? 0 : table.ItemTop(8) + table.textHeight + table.rowGap / 2;
  const SixLineArea area = SixLineAreaFor(table, Picture(), belowPersons);
  liuYao_.DrawChart(*image_, area.left, area.top, area.width, area.bottom, slot.gua, pillars_, background_);
  imageState_.sixLineShown = true;
  imageState_.sixLinePosition = position;
  imageState_.sixLineGua = slot.gua;
  if (position == kPositionMountain) {
    imageState_.lineBarActive = true;
    imageState_.lineBar = LineBarAreaFor(table, Picture());
    DrawLineBar();
  }
  DrawLinks(column, band);
}

void MQuorinDay::DrawLinks(int column, int band) {
  const ChartTableArea& t = imageState_.table;
  SetChartFont(t.fontSize - 1, false);
  image_->SetBrush(background_, draw::BrushStyle::kSolid);
  const ChartSlot& selected = SlotOfPosition(ShownPosition(column));
  const int from = t.ColumnCentre(column);
  for (int other = 0; other < shownCount_; ++other) {
    if (other == column) continue;
    const LinkTexts texts = ImageLinkTexts(selected, SlotOfPosition(ShownPosition(other)));
    const int to = t.ColumnCentre(other);
    if (!texts.qi.empty() && (band == 0 || band == 1)) {
      DrawLink(texts.qi, from, to, t.QiRowMiddle(), t.QiMeetingY(), draw::kRed, draw::kBlack, 1.1);
    }
    if (!texts.yun.empty() && (band == 0 || band == 3)) {
      DrawLink(texts.yun, from, to, t.YunRowMiddle(), t.YunMeetingY(), draw::kDarkRed, draw::kGreen, 1.2);
    }
  }
  image_->SetPen(draw::kBlack, draw::PenStyle::kSolid);
}

void MQuorinDay::DrawLink(const std::string& text, int from, int to, int rowY, int y, draw::Color selectedColor,
                          draw::Color otherColor, double secondLine) {
  const int meetingX = MeetingX(from, to);
  image_->SetPen(selectedColor, draw::PenStyle::kSolid);
  image_->Line(from, rowY, meetingX, y);
  image_->SetPen(otherColor, draw::PenStyle::kDotted);
  image_->Line(to, rowY, meetingX, y);
  image_->SetFontColor(otherColor);
  const auto [first, rest] = SplitAtFirstDash(text);
  image_->TextOut(meetingX - image_->TextWidth(first) / 2, y, first);
  if (rest.empty()) return;
  const int below = static_cast<int>(secondLine * image_->TextHeight(rest));
  image_->TextOut(meetingX - image_->TextWidth(rest) / 2, y + below, rest);
}

void MQuorinDay::DrawLineBar() {
  const LineBarArea& bar = imageState_.lineBar;
  SetChartFont(static_cast<int>(fontSize_), false);
  image_->SetFontColor(draw::kBlack);
  image_->SetPen(draw::kBlack, draw::PenStyle::kSolid);
  image_->SetBrush(background_, draw::BrushStyle::kSolid);
  image_->Rectangle(bar.left, bar.top, bar.right, bar.bottom);

  bool anyFlipped = false;
  for (std::uint8_t flag : changedLines_) anyFlipped = anyFlipped || flag != 0;
  image_->SetBrush(draw::kHighlight, draw::BrushStyle::kSolid);
  for (int cell = 0; cell < LineBarArea::kCells; ++cell) {
    const bool chosen = cell == 0 ? !anyFlipped : changedLines_[static_cast<std::size_t>(cell - 1)] != 0;
    if (!chosen) continue;
    // Inside the outline and the separators.
    const int right = cell == LineBarArea::kCells - 1 ? bar.right - 1 : bar.CellRight(cell);
    image_->FillRect(bar.CellLeft(cell) + 1, bar.top + 1, right, bar.bottom - 1);
  }

  image_->SetBrush(background_, draw::BrushStyle::kTransparent);
  const int th = image_->TextHeight(kMeasureText);
  for (int cell = 0; cell < LineBarArea::kCells; ++cell) {
    const char* label = kLineBarLabels[cell];
    const int x = bar.CellLeft(cell) + (bar.CellRight(cell) - bar.CellLeft(cell) - image_->TextWidth(label)) / 2;
    image_->TextOut(x, bar.top + (bar.bottom - bar.top - th) / 2, label);
  }
  for (int cell = 1; cell < LineBarArea::kCells; ++cell) {
    image_->Line(bar.CellLeft(cell), bar.top, bar.CellLeft(cell), bar.bottom);
  }
  image_->SetBrush(background_, draw::BrushStyle::kSolid);
}

}  // namespace quorin::chart

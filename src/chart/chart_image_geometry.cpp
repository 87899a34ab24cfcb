// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_image_geometry.h"

#include <algorithm>
#include <array>

namespace quorin::chart {

PictureSize PictureSizeFor(int charWidth) {
  const int width = 55 * charWidth;
  return {width, static_cast<int>(0.7 * width)};
}

ChartTableArea TableAreaFor(PictureSize picture, int top, int textWidth, int textHeight, int fontSize,
                            int shownCount) {
  ChartTableArea a;
  a.left = 0;
  a.right = static_cast<int>(0.6 * picture.width);
  a.top = top;
  a.bottom = static_cast<int>(top + 0.6 * picture.height);
  a.shownCount = shownCount;
  a.columnWidth = shownCount > 0 ? (a.right - a.left) / shownCount : 0;
  // Nine rows of symbols and four lines of relation texts share the height.
  a.rowGap = (a.bottom - a.top - 13 * textHeight) / 9;
  a.textWidth = textWidth;
  a.textHeight = textHeight;
  a.fontSize = fontSize;
  return a;
}

int ChartTableArea::ColumnAt(int x) const {
  // The few pixels right of the last whole column belong to it, not to the first.
  if (columnWidth <= 0) return -1;
  return std::min((x - left) / columnWidth, shownCount - 1);
}

std::array<ChartTableArea::Band, 4> ChartTableArea::Bands() const {
  const int g = rowGap;
  const int h = textHeight;
  // The 卦气 and 卦运 rows take half a gap on either side.
  const std::array<int, 4> heights{2 * h, g + h, 2 * h, g + h};
  const std::array<int, 4> leads{0, g - g / 2, g / 2, g - g / 2};
  std::array<Band, 4> bands;
  int bottom = top + h + 2 * g;
  for (std::size_t i = 0; i < bands.size(); ++i) {
    bands[i].top = bottom + leads[i];
    bottom = bands[i].bottom = bands[i].top + heights[i];
  }
  return bands;
}

int ChartTableArea::BandAt(int y) const {
  const auto bands = Bands();
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (y >= bands[i].top && y < bands[i].bottom) return static_cast<int>(i);
  }
  return -1;
}

int ChartTableArea::ItemTop(int item) const {
  const int h = textHeight;
  const int g = rowGap;
  // Label; stem over branch; 卦气 digit; the two name characters; 卦运; element; palace.
  static constexpr std::array<bool, 9> kGapAfter{true, false, true, true, false, true, true, true, true};
  int y = top + g;
  for (int i = 0; i < item; ++i) y += h + (kGapAfter[static_cast<std::size_t>(i)] ? g : 0);
  return y;
}

SixLineArea SixLineAreaFor(const ChartTableArea& table, PictureSize picture, int clearOf) {
  return {table.right, std::max(static_cast<int>(0.5 * picture.height), clearOf), picture.width - table.right,
          static_cast<int>(0.92 * picture.height)};
}

LineBarArea LineBarAreaFor(const ChartTableArea& table, PictureSize picture) {
  return {table.right, static_cast<int>(0.92 * picture.height) + 10, picture.width, picture.height - 10};
}

int LineBarArea::CellAt(int x) const {
  const int width = CellWidth();
  if (width <= 0) return 0;
  return std::min((x - left) / width, kCells - 1);
}

}  // namespace quorin::chart

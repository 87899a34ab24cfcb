// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chart picture puts its parts, in whole pixels. The drawing and the
// click handling share these numbers, so a click lands on what was drawn.
#pragma once

#include <array>

namespace quorin::chart {

// The chart font and its limits (points).
inline constexpr const char* kImageFontFamily = "宋体";
inline constexpr double kMinImageFontSize = 10;
inline constexpr double kMaxImageFontSize = 35;
inline constexpr double kDefaultImageFontSize = 12;
// Every measurement of the picture is taken on this character.
inline constexpr const char* kMeasureText = "国";

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};
// 55 characters wide, seven tenths of that high.
PictureSize PictureSizeFor(int charWidth);

// The chart table: one column per shown position, nine rows of symbols and the
// relation texts under them.
struct ChartTableArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int columnWidth = 0;
  int rowGap = 0;      // also the gap between the drawn rows
  int textWidth = 0;   // of "国" in the table font
  int textHeight = 0;
  int fontSize = 0;    // whole points
  int shownCount = 0;

  bool IsSet() const { return shownCount > 0 && columnWidth > 0; }
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  // Column under x (a click inside the table), never past the last column.
  int ColumnAt(int x) const;
  // Click bands, each [top, bottom): 0 the stem and branch rows, 1 the 卦气 row,
  // 2 the hexagram name rows, 3 the 卦运 row.
  struct Band {
    int top = 0;
    int bottom = 0;
  };
  std::array<Band, 4> Bands() const;
  // The first band holding y, -1 for none.
  int BandAt(int y) const;

  // Top of each of the nine drawn items of a column (label … nine-palace name).
  int ItemTop(int item) const;
  // Left edge of a column's symbols.
  int SymbolX(int column) const { return column * columnWidth + (columnWidth - textHeight) / 2; }
  // Where relation lines leave a column.
  int ColumnCentre(int column) const {
    return column * columnWidth + left + (columnWidth - textWidth) / 2 + textWidth / 2;
  }
  int QiRowMiddle() const { return top + 3 * rowGap + 3 * textHeight + textHeight / 2; }
  int YunRowMiddle() const { return top + 5 * rowGap + 6 * textHeight + textHeight / 2; }
  // Where the 卦气 and the 卦运 links meet, and their texts begin.
  int QiMeetingY() const { return top + 9 * textHeight + 8 * rowGap; }
  int YunMeetingY() const { return static_cast<int>(top + 8 * rowGap + 11.5 * textHeight); }
};
ChartTableArea TableAreaFor(PictureSize picture, int top, int textWidth, int textHeight, int fontSize,
                            int shownCount);

// Halfway between two column centres.
inline int MeetingX(int a, int b) { return (a < b ? a : b) + (a < b ? b - a : a - b) / 2; }

// The six-line chart of a selected column, lower right.
struct SixLineArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int bottom = 0;
};
// `clearOf`: a height it starts no higher than (below the persons' table beside the first).
SixLineArea SixLineAreaFor(const ChartTableArea& table, PictureSize picture, int clearOf = 0);

// The bar of seven cells (原卦, 抽1 … 抽6) under the six-line chart of the mountain.
struct LineBarArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static constexpr int kCells = 7;
  int CellWidth() const { return (right - left) / kCells; }
  bool Contains(int x, int y) const { return x > left && x <= right && y >= top && y <= bottom; }
  // Cell under x; the last cell reaches to the right edge.
  int CellAt(int x) const;
  int CellLeft(int cell) const { return left + cell * CellWidth(); }
  int CellRight(int cell) const { return cell == kCells - 1 ? right : left + (cell + 1) * CellWidth(); }
  bool operator==(const LineBarArea&) const = default;
};
LineBarArea LineBarAreaFor(const ChartTableArea& table, PictureSize picture);

// Labels of the line bar cells.
inline constexpr const char* kLineBarLabels[LineBarArea::kCells] = {"原卦", "抽1", "抽2", "抽3",
                                                                    "抽4",  "抽5", "抽6"};

}  // namespace quorin::chart

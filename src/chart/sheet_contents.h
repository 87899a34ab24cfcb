// SPDX-License-Identifier: GPL-3.0-or-later
// What a date sheet (日课单) takes of a chart, whoever lays it out: the desktop's PDF and printer
// pages, and the web edition's print layout.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "chart/quorin_day.h"

namespace quorin::chart {

// A copy of the engine writing and drawing elsewhere, on white: attaching clears the line flips,
// which the sheet's picture and header must keep.
MQuorinDay AttachedCopy(const MQuorinDay& engine, RichTextSink* text, draw::Canvas* image);

// The header lines of a sheet: the picture's, and after them the persons after 主命 when there are any
// (the picture has no room to name them).
std::vector<std::string> SheetHeaderLines(const MQuorinDay& engine);

// The picture's texts the sheet sets as lines of its own, so the page does not say them twice: the
// header lines and 常用神煞 with its lines.
std::set<std::string> SheetOwnLines(const MQuorinDay& engine);

// The rows of the picture the sheet shows: from the table's top to just below it, or to the
// picture's bottom while the six-line chart and its line bar show there.
struct SheetPictureRows {
  int top = 0;
  int bottom = 1;
};
SheetPictureRows SheetPictureRowsOf(const ChartImageState& state, int pictureHeight);

}  // namespace quorin::chart

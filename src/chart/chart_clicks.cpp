// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks on the chart picture: line-bar cells flip lines of the mountain hexagram,
// table cells select a column and band.
#include "chart/quorin_day.h"

namespace quorin::chart {

bool MQuorinDay::Click(int x, int y) {
  const ChartImageState& state = imageState_;
  if (!image_ || !state.table.IsSet()) return false;

  if (state.lineBarActive && state.lineBar.Contains(x, y)) {
    const int cell = state.lineBar.CellAt(x);
    if (cell == 0) {
      changedLines_ = {};
    } else {
      std::uint8_t& flag = changedLines_[static_cast<std::size_t>(cell - 1)];
      flag = flag ? 0 : 1;
    }
    // Redraws the chart and re-applies the selection.
    RecomputeWithChangedLines();
    return true;
  }

  if (!state.table.Contains(x, y)) return false;
  const int column = state.table.ColumnAt(x);
  int band = state.table.BandAt(y);
  // A second click on the same cell takes the details away.
  if (column == selection_.column && band == selection_.band && band != -1) band = -1;
  DrawChartImage();
  DrawSelection(column, band);
  selection_ = {column, band};
  return true;
}

}  // namespace quorin::chart

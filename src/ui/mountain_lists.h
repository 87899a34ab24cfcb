// SPDX-License-Identifier: GPL-3.0-or-later
// The mountain and hexagram lists that the chart inputs, the search page and the
// dragon and water dialog share.
#pragma once

class QComboBox;

namespace quorin::ui {

// The 24 mountains as "壬山", "子山" … "亥山", in mountain order.
void FillMountainList(QComboBox* list);

// The full names of the mountain's hexagrams in column order (empty columns come
// last, so an item's index is its column), the first selected; empty for no mountain.
void FillGuaList(QComboBox* list, int mountain);

}  // namespace quorin::ui

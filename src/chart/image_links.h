// SPDX-License-Identifier: GPL-3.0-or-later
// The texts written where the relation lines of a selected chart column meet
// another column: its 卦气 link and its 卦运 link.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "chart/chart_slot.h"

namespace quorin::chart {

struct LinkTexts {
  std::string qi;   // e.g. "合10-共宗", "相冲"; empty for no link
  std::string yun;  // e.g. "合15-相通-伏吟"
  bool operator==(const LinkTexts&) const = default;
};

LinkTexts ImageLinkTexts(const ChartSlot& selected, const ChartSlot& other);

// The text up to its first "-", and what follows that "-" (empty without one).
std::pair<std::string, std::string> SplitAtFirstDash(std::string_view text);

}  // namespace quorin::chart

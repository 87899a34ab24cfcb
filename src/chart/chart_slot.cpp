// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart_slot.h"

namespace quorin::chart {

ChartSlot FillSlot(GuaIndex gua, std::uint8_t kind) {
  const GuaInfo& info = GuaInfoOf(gua);
  ChartSlot slot;
  slot.kind = kind;
  slot.jiazi = info.jiazi;
  slot.guaQi = info.guaQi;
  slot.lowerNum = info.lowerNum;
  slot.gua = static_cast<std::uint8_t>(gua);
  slot.guaYun = info.guaYun;
  slot.palaceNum = info.palaceNum;
  slot.yuanChen = info.yuanChen;
  return slot;
}

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
// One chart position (龙 水 主 山 向 年 月 日 时 元辰) as the eight-byte record the
// engine copies whole between its arrays.
#pragma once

#include <cstdint>

#include "chart/domain_tables.h"

namespace quorin::chart {

enum SlotKind : std::uint8_t {
  kKindDragon = 1,
  kKindWater = 2,
  kKindMaster = 3,
  kKindMountain = 4,
  kKindFacing = 5,
  kKindYear = 6,
  kKindMonth = 7,
  kKindDay = 8,
  kKindHour = 9,
  kKindYuanChen = 20,
};

struct ChartSlot {
  std::uint8_t kind = 0;
  std::uint8_t jiazi = 0;
  std::uint8_t guaQi = 0;
  std::uint8_t lowerNum = 0;
  std::uint8_t gua = 0;
  std::uint8_t guaYun = 0;
  std::uint8_t palaceNum = 0;
  std::uint8_t yuanChen = 0;

  bool operator==(const ChartSlot&) const = default;
};
static_assert(sizeof(ChartSlot) == 8);

// The slot of a hexagram: its numbers, its index and the kind of position.
ChartSlot FillSlot(GuaIndex gua, std::uint8_t kind);

}  // namespace quorin::chart

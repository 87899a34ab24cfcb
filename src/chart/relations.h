// SPDX-License-Identifier: GPL-3.0-or-later
// Relations between two chart positions, shared by the day analysis, the
// relation paragraphs, the chart image and the search.
#pragma once

#include "chart/chart_slot.h"

namespace quorin::chart {

// Each field is -1 when the relation is absent.
struct PairRelationResult {
  int heShu = -1;      // 合数: 0 合五, 1 合十, 2 合十五
  int heSheng = -1;    // 合生成: 0 共宗, 1 为朋, 2 同道, 4 为友
  int xiangTong = -1;  // 相通: 1, only for 卦运
  bool operator==(const PairRelationResult&) const = default;
};

// Compares the 卦气 numbers (useQi) or the 卦运 numbers of two slots; slots whose
// branches clash have no relation at all.
PairRelationResult PairRelation(const ChartSlot& a, const ChartSlot& b, bool useQi);

// Roles (0 none, 1 父, 2 母, 3 子, 4 女) of two hexagrams in the first family that
// holds both; (0, 0) when none does.
struct FamilyRolePair {
  int a = 0;
  int b = 0;
  bool operator==(const FamilyRolePair&) const = default;
};
FamilyRolePair FamilyRoles(GuaIndex a, GuaIndex b);

// 七星打劫: b is a turned upside down (and neither is its own inversion).
bool IsRobbery(GuaIndex a, GuaIndex b);

// 0 none, 1 伏吟 (the same hexagram), 2 反吟 (b across the circle from a).
int RepeatRelation(GuaIndex a, GuaIndex b);

// x's relation to y by their River Chart elements: 0 比, 1 泄, 2 耗, 3 克, 4 生.
int ElementRelation(int x, int y);

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/relations.h"

#include <algorithm>

namespace quorin::chart {

PairRelationResult PairRelation(const ChartSlot& a, const ChartSlot& b, bool useQi) {
  PairRelationResult result;
  if (BranchesClash(a.jiazi, b.jiazi)) return result;
  const int x = useQi ? a.guaQi : a.guaYun;
  const int y = useQi ? b.guaQi : b.guaYun;
  switch (x + y) {
    case 5: result.heShu = 0; break;
    case 10: result.heShu = 1; break;
    case 15: result.heShu = 2; break;
    default: break;
  }
  const int low = std::min(x, y);
  const int high = std::max(x, y);
  if (low == 1 && high == 6) result.heSheng = 0;
  else if (low == 3 && high == 8) result.heSheng = 1;
  else if (low == 2 && high == 7) result.heSheng = 2;
  else if (low == 4 && high == 9) result.heSheng = 4;
  if (!useQi && ((low == 1 && high == 3) || (low == 2 && high == 4) || (low == 6 && high == 8) ||
                 (low == 7 && high == 9))) {
    result.xiangTong = 1;
  }
  return result;
}

FamilyRolePair FamilyRoles(GuaIndex a, GuaIndex b) {
  auto roleOfColumn = [](int column) { return column == 0 ? 1 : column == 1 ? 2 : column < 8 ? 3 : 4; };
  auto find = [](int family, GuaIndex gua) {
    for (int column = 0; column < kFamilySize; ++column) {
      if (FamilyMember(family, column) == gua) return column;
    }
    return -1;
  };
  for (int family = 0; family < kFamilyCount; ++family) {
    const int columnA = find(family, a);
    if (columnA < 0) continue;
    const int columnB = find(family, b);
    if (columnB < 0) continue;
    return {roleOfColumn(columnA), roleOfColumn(columnB)};
  }
  return {};
}

bool IsRobbery(GuaIndex a, GuaIndex b) {
  return InvertedGua(a) != -1 && InvertedGua(b) != -1 && InvertedGua(a) == b;
}

int RepeatRelation(GuaIndex a, GuaIndex b) {
  if (OppositeGua(a) == b) return 2;
  return a == b ? 1 : 0;
}

int ElementRelation(int x, int y) { return (RiverChartElement(x) - RiverChartElement(y) + 5) % 5; }

}  // namespace quorin::chart

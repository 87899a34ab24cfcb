// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/relations.h"

#include <gtest/gtest.h>

namespace quorin::chart {
namespace {

// A slot with chosen numbers and pillar.
ChartSlot Slot(int jiazi, int qi, int yun) {
  ChartSlot s;
  s.jiazi = static_cast<std::uint8_t>(jiazi);
  s.guaQi = static_cast<std::uint8_t>(qi);
  s.guaYun = static_cast<std::uint8_t>(yun);
  return s;
}

TEST(PairRelation, NumbersByTable) {
  struct Case {
    int x, y;
    bool useQi;
    PairRelationResult expected;
  };
  const Case cases[] = {
      {1, 4, true, {0, -1, -1}},    // 合五
      {1, 9, true, {1, -1, -1}},    // 合十
      {6, 9, true, {2, -1, -1}},    // 合十五
      {6, 1, true, {-1, 0, -1}},    // 共宗
      {3, 8, true, {-1, 1, -1}},    // 为朋
      {7, 2, true, {-1, 2, -1}},    // 同道
      {4, 9, true, {-1, 4, -1}},    // 为友
      {2, 3, true, {0, -1, -1}},
      {7, 8, true, {2, -1, -1}},
      {1, 3, true, {-1, -1, -1}},   // 相通 needs 卦运
      {1, 3, false, {-1, -1, 1}},
      {4, 2, false, {-1, -1, 1}},
      {6, 8, false, {-1, -1, 1}},
      {9, 7, false, {-1, -1, 1}},
      {4, 6, false, {1, -1, -1}},
      {2, 8, false, {1, -1, -1}},
      {3, 7, false, {1, -1, -1}},
      {8, 8, false, {-1, -1, -1}},  // equal numbers relate in no way
      {9, 9, true, {-1, -1, -1}},
  };
  for (const auto& c : cases) {
    // 甲子 with 甲戌: branches 子 and 戌 do not clash.
    const ChartSlot a = c.useQi ? Slot(1, c.x, 1) : Slot(1, 1, c.x);
    const ChartSlot b = c.useQi ? Slot(11, c.y, 1) : Slot(11, 1, c.y);
    EXPECT_EQ(PairRelation(a, b, c.useQi), c.expected) << c.x << "," << c.y << (c.useQi ? " 卦气" : " 卦运");
  }
}

TEST(PairRelation, ClashingBranchesRelateInNoWay) {
  // 年 甲子 and 月 甲午: 子 and 午 clash, though 1 + 9 = 10 and {1, 6} would be 共宗.
  EXPECT_EQ(PairRelation(Slot(1, 1, 1), Slot(31, 9, 6), true), PairRelationResult{});
  EXPECT_EQ(PairRelation(Slot(1, 1, 1), Slot(31, 9, 6), false), PairRelationResult{});
  EXPECT_EQ(PairRelation(Slot(0, 1, 3), Slot(6, 9, 1), false), PairRelationResult{});  // 亥 巳
  EXPECT_EQ(PairRelation(Slot(1, 1, 1), Slot(3, 9, 9), true).heShu, 1);             // 子 寅: no clash
}

TEST(FamilyRoles, FirstFamilyHoldingBothDecides) {
  EXPECT_EQ(FamilyRoles(0, 0), (FamilyRolePair{1, 1}));     // 乾 乾
  EXPECT_EQ(FamilyRoles(0, 56), (FamilyRolePair{1, 2}));    // 乾 坤
  EXPECT_EQ(FamilyRoles(57, 1), (FamilyRolePair{3, 4}));    // 复 姤
  EXPECT_EQ(FamilyRoles(58, 4), (FamilyRolePair{3, 4}));    // 临 观: family 4, not family 6
  EXPECT_EQ(FamilyRoles(4, 58), (FamilyRolePair{4, 3}));
  EXPECT_EQ(FamilyRoles(58, 58), (FamilyRolePair{3, 3}));   // 临 first appears in family 4 as a son
  EXPECT_EQ(FamilyRoles(54, 38), (FamilyRolePair{4, 4}));   // 中孚 颐: family 7 only
  EXPECT_EQ(FamilyRoles(0, 40), (FamilyRolePair{0, 0}));    // 乾 坎: no family
}

TEST(Relations, RobberyNeedsTheInvertedHexagram) {
  EXPECT_TRUE(IsRobbery(1, 61));   // 姤 夬
  EXPECT_TRUE(IsRobbery(61, 1));
  EXPECT_FALSE(IsRobbery(1, 1));
  for (int own : {0, 56, 40, 16, 38, 30, 14, 54}) {  // their own inversions
    for (int g = 0; g < kGuaCount; ++g) EXPECT_FALSE(IsRobbery(own, g) || IsRobbery(g, own)) << own << " " << g;
  }
}

TEST(Relations, RepeatRelationOfEveryHexagram) {
  for (int g = 0; g < kGuaCount; ++g) {
    EXPECT_EQ(RepeatRelation(g, g), 1);
    EXPECT_EQ(RepeatRelation(g, OppositeGua(g)), 2);
    EXPECT_EQ(RepeatRelation(g, GuaAtCirclePosition((CirclePosition(g) + 1) % 64)), 0);
  }
}

TEST(Relations, ElementRelationReadsXAgainstY) {
  EXPECT_EQ(ElementRelation(1, 6), 0);  // 水 水: 比
  EXPECT_EQ(ElementRelation(3, 1), 1);  // 木 from 水: 泄 (y 生 x)
  EXPECT_EQ(ElementRelation(3, 4), 2);  // 木 by 金: 耗 (y 克 x)
  EXPECT_EQ(ElementRelation(4, 3), 3);  // 金 克 木
  EXPECT_EQ(ElementRelation(1, 8), 4);  // 水 生 木
  EXPECT_EQ(ElementRelation(9, 1), 4);  // 金 生 水 (9 is looked up as 9 mod 9 = 0)
}

}  // namespace
}  // namespace quorin::chart

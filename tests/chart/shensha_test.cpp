// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/shensha.h"

#include <gtest/gtest.h>

#include "calendar/sexagenary.h"

namespace quorin::chart {
namespace {

// Avoidance data for a mountain, with a person of 甲子 (坤) on its first column.
AvoidInfo AvoidFor(int mountain, int masterGua = 56) {
  return ComputeAvoidInfo(mountain, FillSlot(masterGua, kKindMaster), FillSlot(GuaForMountain(mountain, 0), kKindMountain));
}

TEST(Shensha, AvoidanceByMountain) {
  EXPECT_EQ(AvoidFor(1), (AvoidInfo{7, 3, 7, 11, 7, 5, OppositeGua(5)}));  // 子: 冲午, 寅午戌, person 子 冲午, 剥
  EXPECT_EQ(AvoidFor(0)[0], -1);                                          // 壬: no branch
  EXPECT_EQ(AvoidFor(13)[0], 1);                                          // 午 冲子
  EXPECT_EQ(AvoidFor(23)[0], 6);                                          // 亥 冲巳
  const std::array<std::pair<int, std::array<int, 3>>, 8> killings{{
      {23, {3, 7, 11}}, {2, {3, 7, 11}}, {5, {6, 10, 2}}, {9, {6, 10, 2}},
      {11, {9, 1, 5}}, {15, {9, 1, 5}}, {17, {0, 4, 8}}, {21, {0, 4, 8}},
  }};
  for (const auto& [m, expected] : killings) {
    const AvoidInfo a = AvoidFor(m);
    EXPECT_EQ((std::array<int, 3>{a[1], a[2], a[3]}), expected) << MountainName(m);
  }
  for (int corner : {4, 10, 16, 22}) {
    const AvoidInfo a = AvoidFor(corner);
    EXPECT_EQ((std::array<int, 4>{a[0], a[1], a[2], a[3]}), (std::array<int, 4>{-1, -1, -1, -1})) << MountainName(corner);
  }
  EXPECT_EQ(AvoidFor(1, 0)[4], 1);  // a person of 甲午 (乾) is clashed by 子
}

TEST(Shensha, FirstLineByMountain) {
  EXPECT_EQ(ShenshaLines(AvoidFor(1), 1, 3)[0], "1:冲山-午。山家三煞-寅、午、戌。");
  EXPECT_EQ(ShenshaLines(AvoidFor(0), 1, 3)[0], "1:冲山-无。山家三煞-寅、午、戌。");
  EXPECT_EQ(ShenshaLines(AvoidFor(22), 1, 3)[0], "1:冲山-无。山家三煞-无。");
}

TEST(Shensha, YearAndMonthLines) {
  // Year 甲子, month 丙寅 (just after 立春).
  const auto lines = ShenshaLines(AvoidFor(1), 1, 3);
  EXPECT_EQ(lines[1], "2:太岁-子，岁破-午。");
  EXPECT_EQ(lines[2], "3:月破-申。");
  EXPECT_EQ(lines[3], "4:年三煞-寅、午、戌方。");
  EXPECT_EQ(lines[4], "5:月三煞-申、子、辰方。");
  EXPECT_EQ(ShenshaText(lines),
            "常用神煞：\r\n1:冲山-午。山家三煞-寅、午、戌。\r\n2:太岁-子，岁破-午。\r\n3:月破-申。\r\n"
            "4:年三煞-寅、午、戌方。\r\n5:月三煞-申、子、辰方。\r\n");
}

TEST(Shensha, EveryThreeKillingClashesTheGroup) {
  for (int b = 0; b < 12; ++b) {
    for (int k : ThreeKillings(b)) {
      bool clashes = false;
      for (int member : {b % 4, b % 4 + 4, b % 4 + 8}) clashes = clashes || (member + 6) % 12 == k;
      EXPECT_TRUE(clashes) << calendar::Branch(b).Name() << " " << calendar::Branch(k).Name();
    }
  }
  EXPECT_EQ(ThreeKillings(0), (std::array<int, 3>{6, 10, 2}));  // 亥: 巳 酉 丑
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/domain_tables.h"

#include <gtest/gtest.h>

#include <set>

#include "iching/liu_yao_gua.h"

namespace quorin::chart {
namespace {

// The Later-Heaven palace number of each trigram (palace order 乾 兑 离 震 巽 坎 艮 坤).
constexpr std::array<int, 8> kPalaceNumbers{6, 7, 9, 3, 4, 1, 8, 2};
// The Early-Heaven numbers used for 卦气.
constexpr std::array<int, 8> kQiNumbers{9, 4, 3, 8, 2, 7, 6, 1};

std::string Complement(std::string code) {
  for (char& c : code) c = c == '1' ? '2' : '1';
  return code;
}

TEST(DomainTables, CircleOrderAndItsInverseAgree) {
  std::set<int> seen;
  for (int p = 0; p < kGuaCount; ++p) {
    EXPECT_EQ(CirclePosition(GuaAtCirclePosition(p)), p);
    seen.insert(GuaAtCirclePosition(p));
  }
  EXPECT_EQ(seen.size(), 64u);
}

TEST(DomainTables, OppositeHexagramIsTheComplement) {
  const iching::MLiuYaoGua lines;
  EXPECT_EQ(OppositeGua(0), 56);   // 乾 ↔ 坤
  EXPECT_EQ(OppositeGua(57), 1);   // 复 ↔ 姤
  for (int g = 0; g < kGuaCount; ++g) {
    EXPECT_EQ(lines.GuaCode(OppositeGua(g)), Complement(lines.GuaCode(g))) << GuaName(g);
    EXPECT_EQ(OppositeGua(OppositeGua(g)), g);
  }
}

TEST(DomainTables, HexagramNumbersFollowFromTheirLines) {
  const iching::MLiuYaoGua lines;
  for (int g = 0; g < kGuaCount; ++g) {
    const std::string code = lines.GuaCode(g);
    const GuaInfo& info = GuaInfoOf(g);
    int upper = -1, lower = -1;
    for (int t = 0; t < 8; ++t) {
      if (code.compare(0, 3, lines.TrigramCode(t)) == 0) upper = t;
      if (code.compare(3, 3, lines.TrigramCode(t)) == 0) lower = t;
    }
    EXPECT_EQ(info.guaQi, kQiNumbers[static_cast<std::size_t>(upper)]) << GuaName(g);
    EXPECT_EQ(info.lowerNum, kQiNumbers[static_cast<std::size_t>(lower)]) << GuaName(g);
    EXPECT_EQ(TrigramOfNumber(info.guaQi), upper);
    EXPECT_EQ(info.palaceNum, kPalaceNumbers[static_cast<std::size_t>(g / 8)]) << GuaName(g);
    EXPECT_NE(info.guaYun, 5);
    if (g % 8 == 0) {
      EXPECT_EQ(info.guaYun, 1) << GuaName(g);
    }
    // The short name is the full name's own part: 天风姤 → 姤, 乾为天 → 乾.
    const std::string_view name = GuaName(g), shortName = GuaShortName(g);
    EXPECT_TRUE(g % 8 == 0 ? name.starts_with(shortName) : name.ends_with(shortName)) << name;
  }
}

TEST(DomainTables, YuanChenIsThePalaceLineOfTheShiLine) {
  iching::MLiuYaoGua lines;
  for (int g = 0; g < kGuaCount; ++g) {
    lines.Compute(g, {});
    const int shi = lines.Classification().shiLine;
    lines.Compute(lines.Classification().palace * 8, {});  // the palace's pure hexagram
    const iching::YaoLine& line = lines.Lines()[static_cast<std::size_t>(shi)];
    const auto pillar = calendar::Jiazi::Of(calendar::Stem(line.stem), calendar::Branch(line.branch));
    ASSERT_TRUE(pillar) << GuaName(g);
    EXPECT_EQ(GuaInfoOf(g).yuanChen, pillar->Number()) << GuaName(g);
  }
}

TEST(DomainTables, InvertedHexagramIsTheCodeReversed) {
  const iching::MLiuYaoGua lines;
  int ownInversions = 0;
  for (int g = 0; g < kGuaCount; ++g) {
    std::string reversed = lines.GuaCode(g);
    std::reverse(reversed.begin(), reversed.end());
    if (InvertedGua(g) == -1) {
      EXPECT_EQ(reversed, lines.GuaCode(g)) << GuaName(g);
      ++ownInversions;
    } else {
      EXPECT_EQ(reversed, lines.GuaCode(InvertedGua(g))) << GuaName(g);
      EXPECT_EQ(InvertedGua(InvertedGua(g)), g);
    }
  }
  EXPECT_EQ(ownInversions, 8);
}

TEST(DomainTables, JiaziTableHoldsThePureHexagramOfSharedPillars) {
  std::set<int> distinct;
  for (int j = 0; j < 60; ++j) {
    EXPECT_EQ(GuaInfoOf(GuaForJiazi(j, false)).jiazi, j) << calendar::Jiazi(j).Name();
    EXPECT_EQ(GuaInfoOf(GuaForJiazi(j, true)).jiazi, j) << calendar::Jiazi(j).Name();
    distinct.insert(GuaForJiazi(j, false));
    distinct.insert(GuaForJiazi(j, true));
  }
  EXPECT_EQ(distinct.size(), 64u);
  const std::array<std::array<int, 3>, 4> shared{{{1, 56, 57}, {27, 16, 44}, {31, 0, 1}, {57, 40, 20}}};
  for (const auto& [j, pure, other] : shared) {
    EXPECT_EQ(GuaForJiazi(j, false), pure) << calendar::Jiazi(j).Name();
    EXPECT_EQ(GuaForJiazi(j, true), other) << calendar::Jiazi(j).Name();
  }
  EXPECT_EQ(GuaForJiazi(2, true), GuaForJiazi(2, false));
}

TEST(DomainTables, MountainColumnsAreTheHexagramArcsOverlappingTheMountain) {
  std::set<int> covered;
  for (int m = 0; m < kMountainCount; ++m) {
    // Work in 1/8 degrees so every boundary is an integer.
    const int from = (337 * 8 + 4 + 120 * m) % 2880;
    std::vector<int> expected;
    for (int step = 0; step < 64; ++step) {
      const int p = (from / 45 + step) % 64;  // circle positions from the one holding the start
      const int begin = p * 45, end = begin + 45;
      const int mountainEnd = from + 120;
      // Overlap modulo 360°: try the arc shifted by one turn too.
      const bool overlaps = (begin < mountainEnd && end > from) || (begin + 2880 < mountainEnd && begin + 2880 + 45 > from);
      if (overlaps) expected.push_back(GuaAtCirclePosition(p));
    }
    std::vector<int> actual;
    for (int c = 0; c < kMountainColumns; ++c) {
      if (GuaForMountain(m, c) >= 0) actual.push_back(GuaForMountain(m, c));
    }
    EXPECT_EQ(actual, expected) << MountainName(m);
    covered.insert(actual.begin(), actual.end());
  }
  EXPECT_EQ(covered.size(), 64u);
  EXPECT_EQ(GuaForMountain(13, 1), 0);  // 午 column 1 is 乾
  EXPECT_EQ(GuaForMountain(0, 3), -1);  // 壬 has no column 3
  EXPECT_EQ(GuaForMountain(24, 0), -1);
  EXPECT_EQ(GuaForMountain(-1, 0), -1);
  EXPECT_EQ(GuaForMountain(1, 4), -1);
}

TEST(DomainTables, FamiliesAreParentsWithOneLineChanged) {
  iching::MLiuYaoGua lines;
  for (int f = 0; f < kFamilyCount; ++f) {
    const std::string father = lines.GuaCode(FamilyMember(f, 0));
    const std::string mother = lines.GuaCode(FamilyMember(f, 1));
    EXPECT_EQ(mother, Complement(father));
    for (int line = 1; line <= 6; ++line) {
      std::array<std::uint8_t, 6> flags{};
      flags[static_cast<std::size_t>(line - 1)] = 1;
      const int son = FamilyMember(f, 1 + line);
      const int daughter = FamilyMember(f, 7 + line);
      EXPECT_EQ(daughter, lines.ChangedGua(FamilyMember(f, 0), flags)) << "family " << f << " line " << line;
      if (f == 6 && line == 2) {
        // Handed down as 临, where the rule gives 中孚.
        EXPECT_EQ(son, 58);
        EXPECT_EQ(lines.ChangedGua(FamilyMember(f, 1), flags), 54);
      } else {
        EXPECT_EQ(son, lines.ChangedGua(FamilyMember(f, 1), flags)) << "family " << f << " line " << line;
      }
    }
  }
}

TEST(DomainTables, ModNineTables) {
  EXPECT_EQ(NinePalaceName(9), "离");
  EXPECT_EQ(NinePalaceName(5), "中");
  EXPECT_EQ(NumeralName(9), "九");
  EXPECT_EQ(FullWidthDigit(9), "９");
  EXPECT_EQ(FullWidthDigit(1), "１");
  const std::array<int, 10> elements{-1, 0, 2, 1, 4, 3, 0, 2, 1, 4};  // 1..9: 水 火 木 金 土 水 火 木 金
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(RiverChartElement(n), elements[static_cast<std::size_t>(n)]) << n;
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "iching/liu_yao_gua.h"

#include <gtest/gtest.h>

#include "iching/hexagrams.h"

namespace quorin::iching {
namespace {

constexpr std::array<const char*, 10> kStems{"癸", "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬"};
constexpr std::array<const char*, 12> kBranches{"亥", "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌"};

// "壬戌父母" for a line.
std::string LineText(const YaoLine& line) {
  return std::string(kStems[static_cast<std::size_t>(line.stem)]) + kBranches[static_cast<std::size_t>(line.branch)] +
         std::string(MLiuYaoGua::KinshipName(line.kinship));
}

calendar::FourPillars DayPillar(int day) { return {1, 1, static_cast<std::int16_t>(day), 1}; }

TEST(LiuYaoGua, TrigramCodesAreTopLineFirst) {
  const MLiuYaoGua g;
  const std::array<const char*, 8> codes{"111", "211", "121", "221", "112", "212", "122", "222"};
  for (int j = 0; j < 8; ++j) EXPECT_EQ(g.TrigramCode(j), codes[static_cast<std::size_t>(j)]) << TrigramName(j);
  EXPECT_EQ(g.GuaCode(1), "111112");   // 天风姤: 乾 over 巽
  EXPECT_EQ(g.GuaCode(56), "222222");  // 坤为地
  EXPECT_EQ(g.GuaCode(7), "121111");   // 火天大有
}

TEST(LiuYaoGua, ClassifiesEveryHexagramBackToItsIndex) {
  const MLiuYaoGua g;
  for (int gua = 0; gua < kHexagramCount; ++gua) {
    const auto c = g.Classify(g.GuaCode(gua));
    ASSERT_TRUE(c.has_value()) << HexagramName(gua);
    EXPECT_EQ(c->palace * 8 + c->generation - 1, gua) << HexagramName(gua);
    EXPECT_EQ(c->yingLine, (c->shiLine + 3) % 6);
  }
}

TEST(LiuYaoGua, ClassifyReadsMovingLinesAndRejectsOtherText) {
  const MLiuYaoGua g;
  // 3 and 4 are moving yang and yin: "313114" is 天风姤 with three lines moving.
  const auto moving = g.Classify("313114");
  ASSERT_TRUE(moving.has_value());
  EXPECT_EQ(moving->palace * 8 + moving->generation - 1, 1);
  EXPECT_EQ(g.Classify("424242")->palace, 7);  // 坤为地
  EXPECT_FALSE(g.Classify("11111").has_value());
  EXPECT_FALSE(g.Classify("111a11").has_value());
  EXPECT_FALSE(g.Classify("").has_value());
}

TEST(LiuYaoGua, ShiLineByGeneration) {
  const MLiuYaoGua g;
  // 本宫 top; 一世 … 五世 lines 1..5; 游魂 line 4; 归魂 line 3 (0-based from the bottom below).
  const std::array<int, 8> shi{5, 0, 1, 2, 3, 4, 3, 2};
  for (int generation = 1; generation <= 8; ++generation) {
    const int gua = 8 * 3 + generation - 1;  // the 震 palace
    EXPECT_EQ(g.Classify(g.GuaCode(gua))->shiLine, shi[static_cast<std::size_t>(generation - 1)]) << HexagramName(gua);
  }
}

TEST(LiuYaoGua, QianWeiTian) {
  MLiuYaoGua g;
  g.Compute(0, DayPillar(1));
  EXPECT_EQ(g.Classification().palace, 0);
  EXPECT_EQ(g.Classification().generation, 1);
  EXPECT_EQ(g.Classification().shiLine, 5);
  EXPECT_EQ(g.Classification().yingLine, 2);  // line 3
  const std::array<const char*, 6> fromTop{"壬戌父母", "壬申兄弟", "壬午官鬼", "甲辰父母", "甲寅妻财", "甲子子孙"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(LineText(g.Lines()[static_cast<std::size_t>(5 - i)]), fromTop[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(g.HiddenSpirits().empty());
}

TEST(LiuYaoGua, TianFengGouHidesWealthUnderTheSecondLine) {
  MLiuYaoGua g;
  g.Compute(1, DayPillar(1));
  EXPECT_EQ(g.Classification().generation, 2);
  EXPECT_EQ(g.Classification().shiLine, 0);
  EXPECT_EQ(LineText(g.Lines()[0]), "辛丑父母");
  EXPECT_EQ(LineText(g.Lines()[1]), "辛亥子孙");
  EXPECT_EQ(LineText(g.Lines()[2]), "辛酉兄弟");
  ASSERT_EQ(g.HiddenSpirits().size(), 1u);
  const HiddenSpirit& h = g.HiddenSpirits()[0];
  EXPECT_EQ(h.lineFromTop, 5);
  EXPECT_EQ(std::string(kStems[static_cast<std::size_t>(h.stem)]) + kBranches[static_cast<std::size_t>(h.branch)], "甲寅");
  EXPECT_EQ(MLiuYaoGua::KinshipName(h.kinship), "妻财");
}

TEST(LiuYaoGua, WanderingAndReturningSoulsOfQian) {
  MLiuYaoGua g;
  g.Compute(6, DayPillar(1));  // 火地晋
  EXPECT_EQ(g.Classification().palace, 0);
  EXPECT_EQ(g.Classification().generation, 7);
  EXPECT_EQ(g.Classification().shiLine, 3);  // line 4
  ASSERT_EQ(g.HiddenSpirits().size(), 1u);
  EXPECT_EQ(g.HiddenSpirits()[0].lineFromTop, 6);  // under the bottom line
  EXPECT_EQ(g.HiddenSpirits()[0].stem, 1);         // 甲
  EXPECT_EQ(g.HiddenSpirits()[0].branch, 1);       // 子
  EXPECT_EQ(MLiuYaoGua::KinshipName(g.HiddenSpirits()[0].kinship), "子孙");

  g.Compute(7, DayPillar(1));  // 火天大有
  EXPECT_EQ(g.Classification().palace, 0);
  EXPECT_EQ(g.Classification().generation, 8);
  EXPECT_EQ(g.Classification().shiLine, 2);  // line 3
}

TEST(LiuYaoGua, NoHexagramHasMoreThanTwoHiddenSpirits) {
  MLiuYaoGua g;
  for (int gua = 0; gua < kHexagramCount; ++gua) {
    g.Compute(gua, DayPillar(1));
    std::array<bool, 5> present{};
    for (const auto& line : g.Lines()) present[static_cast<std::size_t>(line.kinship)] = true;
    for (const auto& h : g.HiddenSpirits()) EXPECT_FALSE(present[static_cast<std::size_t>(h.kinship)]) << HexagramName(gua);
    EXPECT_LE(g.HiddenSpirits().size(), 2u);
  }
}

TEST(LiuYaoGua, UpperQianCarriesRenAndUpperKunGui) {
  MLiuYaoGua g;
  g.Compute(59, DayPillar(1));  // 地天泰: 坤 over 乾
  EXPECT_EQ(g.Lines()[0].stem, 1);  // 甲
  EXPECT_EQ(g.Lines()[5].stem, 0);  // 癸
  g.Compute(3, DayPillar(1));  // 天地否: 乾 over 坤
  EXPECT_EQ(g.Lines()[0].stem, 2);  // 乙
  EXPECT_EQ(g.Lines()[5].stem, 9);  // 壬
}

TEST(LiuYaoGua, SixSpiritsFollowTheDayStem) {
  MLiuYaoGua g;
  struct Case {
    int dayPillar;
    const char* bottom;
    const char* top;
  };
  const Case cases[] = {
      {1, "青龙", "玄武"},   // 甲子
      {2, "青龙", "玄武"},   // 乙丑
      {3, "朱雀", "青龙"},   // 丙寅
      {5, "勾陈", "朱雀"},   // 戊辰
      {6, "螣蛇", "勾陈"},   // 己巳
      {7, "白虎", "螣蛇"},   // 庚午
      {9, "玄武", "白虎"},   // 壬申
      {10, "玄武", "白虎"},  // 癸酉
      {0, "玄武", "白虎"},   // 癸亥
  };
  for (const auto& c : cases) {
    g.Compute(0, DayPillar(c.dayPillar));
    EXPECT_EQ(MLiuYaoGua::SpiritName(g.SpiritOfLine(0)), c.bottom) << c.dayPillar;
    EXPECT_EQ(MLiuYaoGua::SpiritName(g.SpiritOfLine(5)), c.top) << c.dayPillar;
  }
}

TEST(LiuYaoGua, VoidBranchesOfTheDecade) {
  MLiuYaoGua g;
  const std::array<std::pair<int, std::array<int, 2>>, 4> cases{{
      {1, {11, 0}},   // 甲子 day: 戌 亥
      {11, {9, 10}},  // 甲戌 day: 申 酉
      {51, {1, 2}},   // 甲寅 day: 子 丑
      {0, {1, 2}},    // 癸亥 day (60): 子 丑
  }};
  for (const auto& [day, expected] : cases) {
    g.Compute(0, DayPillar(day));
    EXPECT_EQ(g.VoidBranches(), expected) << day;
  }
}

TEST(LiuYaoGua, ChangedGuaFlipsFlaggedLines) {
  MLiuYaoGua g;
  EXPECT_EQ(g.ChangedGua(0, {1, 0, 0, 0, 0, 0}), 1);  // 乾为天 → 天风姤
  EXPECT_EQ(g.ChangedGua(0, {1, 1, 1, 1, 1, 0}), 5);  // → 山地剥
  EXPECT_EQ(g.ChangedGua(0, {1, 1, 1, 1, 1, 1}), 56);
  for (int gua = 0; gua < kHexagramCount; ++gua) EXPECT_EQ(g.ChangedGua(gua, {}), gua);
  // Flags other than 1 flip nothing.
  EXPECT_EQ(g.ChangedGua(0, {2, 0, 0, 0, 0, 0}), 0);
}

}  // namespace
}  // namespace quorin::iching

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/sexagenary.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::calendar {
namespace {

// The sixty pillars in textbook order from 甲子, each the next stem and the next branch.
TEST(Sexagenary, PillarsRunThroughStemsAndBranchesTogether) {
  struct Case {
    int number;
    const char* name;
  };
  for (const Case& c :
       {Case{1, "甲子"}, Case{2, "乙丑"}, Case{11, "甲戌"}, Case{13, "丙子"}, Case{31, "甲午"}, Case{41, "甲辰"},
        Case{55, "戊午"}, Case{59, "壬戌"}, Case{0, "癸亥"}, Case{60, "癸亥"}, Case{61, "甲子"}, Case{-1, "壬戌"}}) {
    const Jiazi pillar(c.number);
    EXPECT_EQ(pillar.Name(), c.name) << c.number;
    const std::optional<Jiazi> rebuilt = Jiazi::Of(pillar.StemPart(), pillar.BranchPart());
    ASSERT_TRUE(rebuilt) << c.number;
    EXPECT_EQ(*rebuilt, pillar) << c.number;
  }
  // A yang stem never meets a yin branch: 甲丑 and 乙子 are no pillars.
  EXPECT_FALSE(Jiazi::Of(Stem(1), Branch(2)));
  EXPECT_FALSE(Jiazi::Of(Stem(2), Branch(1)));
  EXPECT_EQ(Stem(11).Name(), "甲");
  EXPECT_EQ(Branch(-1).Name(), "戌");
  EXPECT_EQ(Branch(1).Clash().Name(), "午");
  EXPECT_EQ(Branch(4).Clash().Name(), "酉");
}

// Years of known pillars, astronomical numbering (year 0 = 1 BC).
TEST(Sexagenary, YearPillarsOfKnownYears) {
  struct Case {
    int year;
    const char* pillar;
  };
  for (const Case& c : {Case{1984, "甲子"}, Case{2024, "甲辰"}, Case{1911, "辛亥"}, Case{1898, "戊戌"},
                        Case{1894, "甲午"}, Case{1644, "甲申"}, Case{4, "甲子"}, Case{0, "庚申"},
                        Case{-2696, "甲子"},  // 2697 BC, the traditional first year of the cycle
                        Case{-4712, "戊子"}, Case{9999, "己亥"}}) {
    EXPECT_EQ(YearJiazi(c.year).Name(), c.pillar) << c.year;
  }
}

// 甲己之年丙作首, 乙庚之岁戊为头, 丙辛之岁寻庚上, 丁壬壬寅顺水流, 戊癸何方发, 甲寅之上好追求.
TEST(Sexagenary, MonthStemFollowsTheYearStem) {
  struct Case {
    const char* yearStem;
    const char* monthBranch;
    const char* month;
  };
  for (const Case& c :
       {Case{"甲", "寅", "丙寅"}, Case{"己", "寅", "丙寅"}, Case{"乙", "寅", "戊寅"}, Case{"庚", "寅", "戊寅"},
        Case{"丙", "寅", "庚寅"}, Case{"辛", "寅", "庚寅"}, Case{"丁", "寅", "壬寅"}, Case{"壬", "寅", "壬寅"},
        Case{"戊", "寅", "甲寅"}, Case{"癸", "寅", "甲寅"}, Case{"甲", "卯", "丁卯"}, Case{"甲", "子", "丙子"},
        Case{"甲", "丑", "丁丑"}, Case{"癸", "丑", "乙丑"}}) {
    int stem = 0;
    while (kStemNames[static_cast<std::size_t>(stem)] != c.yearStem) ++stem;
    int branch = 0;
    while (kBranchNames[static_cast<std::size_t>(branch)] != c.monthBranch) ++branch;
    const Stem monthStem = MonthStem(Stem(stem), Branch(branch));
    EXPECT_EQ(std::string(monthStem.Name()) + c.monthBranch, c.month) << c.yearStem << c.monthBranch;
  }
}

// Double hours of two clock hours each, 子 straddling midnight.
TEST(Sexagenary, HourBranchOfClockHours) {
  struct Case {
    int hour;
    const char* branch;
  };
  for (const Case& c :
       {Case{23, "子"}, Case{0, "子"}, Case{1, "丑"}, Case{2, "丑"}, Case{3, "寅"}, Case{11, "午"}, Case{12, "午"},
        Case{13, "未"}, Case{20, "戌"}, Case{21, "亥"}, Case{22, "亥"}, Case{-1, "子"}, Case{24, "子"}}) {
    EXPECT_EQ(HourBranch(c.hour).Name(), c.branch) << c.hour;
  }
}

// 甲己还加甲, 乙庚丙作初, 丙辛从戊起, 丁壬庚子居, 戊癸何方发, 壬子是真途.
TEST(Sexagenary, HourStemFollowsTheDayStem) {
  struct Case {
    int dayStem;
    int hourBranch;
    const char* hour;
  };
  for (const Case& c :
       {Case{1, 1, "甲子"}, Case{6, 1, "甲子"}, Case{2, 1, "丙子"}, Case{7, 1, "丙子"}, Case{3, 1, "戊子"},
        Case{8, 1, "戊子"}, Case{4, 1, "庚子"}, Case{9, 1, "庚子"}, Case{5, 1, "壬子"}, Case{0, 1, "壬子"},
        Case{1, 0, "乙亥"}, Case{0, 0, "癸亥"}, Case{2, 7, "壬午"}}) {
    const Branch branch(c.hourBranch);
    EXPECT_EQ(std::string(HourStem(Stem(c.dayStem), branch).Name()) + std::string(branch.Name()), c.hour)
        << c.dayStem << " " << c.hourBranch;
  }
}

TEST(Sexagenary, PositiveModuloOfNegativeValues) {
  struct Case {
    long long value;
    int divisor;
    int remainder;
  };
  for (const Case& c : {Case{7, 5, 2}, Case{-1, 60, 59}, Case{-60, 60, 0}, Case{-61, 60, 59}, Case{0, 7, 0},
                        Case{-4712LL * 1000000, 7, 6}}) {
    EXPECT_EQ(PositiveModulo(c.value, c.divisor), c.remainder) << c.value << " mod " << c.divisor;
  }
}

}  // namespace
}  // namespace quorin::calendar

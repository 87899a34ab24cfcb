// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/day_analysis.h"

#include <gtest/gtest.h>

#include <random>

#include "chart/relation_sections.h"

namespace quorin::chart {
namespace {

std::array<ChartSlot, 4> Pillars(int year, int month, int day, int hour) {
  return {FillSlot(year, kKindYear), FillSlot(month, kKindMonth), FillSlot(day, kKindDay), FillSlot(hour, kKindHour)};
}

// The section line of the analysis that starts with `title`.
std::string Section(const std::string& text, const std::string& title) {
  const auto start = text.find(title);
  if (start == std::string::npos) return "<missing>";
  const auto from = start + title.size();
  return text.substr(from, text.find("\r\n", from) - from);
}

TEST(DayAnalysis, WholeTextOfAHandWorkedChart) {
  // 年 艮 (卦气 6, 卦运 1, 丙戌), 月 益 (2, 9, 庚子), 日 归妹 (8, 7, 癸卯), 时 乾 (9, 1, 甲午).
  // 月 and 时 clash (子 午). 卦气: 年时 6 + 9, 月日 2 + 8. 卦运: 年月 1 + 9, 月日 {9, 7} 相通.
  // 艮 is the father of 归妹 (family 3). 归妹 is 木: 艮 (水) 生 it, 乾 (金) 克 it, 益 (火) draws on it.
  EXPECT_EQ(DayAnalysisText(Pillars(48, 35, 15, 0)),
            "日课分析：\r\n"
            "　　卦气交通：合数(年时合十五、月日合十)\r\n"
            "　　卦运交通：合数(年月合十)，相通(月日通)\r\n"
            "　　亲缘交通：年日(父-子)\r\n"
            "　　七星打劫：无\r\n"
            "　　生克进退：进神(年生日、时克日)，退神(月泄日)\r\n"
            "　　伏吟反吟：无\r\n\r\n");
}

TEST(DayAnalysis, SectionsOfTheExampleText) {
  // No four hexagrams give the whole example text at once (a month drawing on a
  // 木 day relates to it by 卦气), so its lines are built from the pairs they name.
  const ChartSlot year = FillSlot(48, kKindYear), month = FillSlot(35, kKindMonth), day = FillSlot(15, kKindDay),
                  hour = FillSlot(0, kKindHour);
  const LabeledSlot y{"年", &year}, m{"月", &month}, d{"日", &day}, h{"时", &hour};
  EXPECT_EQ(YunSection(false, {{y, m}}), "合数(年月合十)");
  EXPECT_EQ(FamilySection({{y, d}}), "年日(父-子)");
  EXPECT_EQ(AdvanceRetreatSection({y, m, h}, d), "进神(年生日、时克日)，退神(月泄日)");
  EXPECT_EQ(QiSection(false, {}), "无");
  EXPECT_EQ(RobberySection({{y, d}}), "无");
  EXPECT_EQ(RepeatSection({{y, d}}), "无");
}

TEST(DayAnalysis, PureQiAloneWhenNoPairRelates) {
  // 乾 姤 遁 否 share the upper 乾 (卦气 9); 卦运 1 8 4 9.
  const std::string text = DayAnalysisText(Pillars(0, 1, 2, 3));
  EXPECT_EQ(Section(text, "卦气交通："), "一卦纯清");
}

TEST(DayAnalysis, SameHexagramIsFuYinWithEqualRoles) {
  const std::string text = DayAnalysisText(Pillars(27, 27, 5, 12));  // 恒 恒 剥 蹇
  EXPECT_NE(Section(text, "亲缘交通：").find("年月(父-父)"), std::string::npos);
  EXPECT_EQ(Section(text, "伏吟反吟："), "伏吟(年月)");
}

TEST(DayAnalysis, OppositeHexagramsAreFanYinNeverFuYin) {
  const std::string text = DayAnalysisText(Pillars(0, 56, 57, 1));  // 乾 坤 复 姤: 乾坤 and 复姤 opposite
  EXPECT_EQ(Section(text, "伏吟反吟："), "反吟(年月、日时)");
}

TEST(DayAnalysis, ClashingPillarsReportNoNumberRelation) {
  // 坤 (甲子) and 乾 (甲午): 1 + 9 = 10, but 子 and 午 clash.
  const std::string text = DayAnalysisText(Pillars(56, 0, 56, 0));
  EXPECT_EQ(Section(text, "卦气交通："), "无");
  EXPECT_EQ(Section(text, "卦运交通："), "同运吉格");
}

TEST(DayAnalysis, SameElementAsTheDayShowsNothingInAdvanceRetreat) {
  // 卦气 1 and 6 are both water.
  const std::string text = DayAnalysisText(Pillars(56, 48, 57, 51));  // 坤 艮 复 损
  EXPECT_EQ(Section(text, "生克进退："), "无");
}

TEST(DayAnalysis, SelfInvertedHexagramsNeverRob) {
  const std::string text = DayAnalysisText(Pillars(0, 56, 40, 16));
  EXPECT_EQ(Section(text, "七星打劫："), "无");
  EXPECT_EQ(Section(DayAnalysisText(Pillars(1, 61, 2, 3)), "七星打劫："), "年月打劫");  // 姤 夬
}

TEST(DayAnalysis, EverySectionIsNothingOrFindingsWithoutTrailingSeparator) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> gua(0, 63);
  const char* titles[] = {"卦气交通：", "卦运交通：", "亲缘交通：", "七星打劫：", "生克进退：", "伏吟反吟："};
  for (int round = 0; round < 2000; ++round) {
    const std::string text = DayAnalysisText(Pillars(gua(random), gua(random), gua(random), gua(random)));
    ASSERT_TRUE(text.starts_with("日课分析：\r\n")) << text;
    ASSERT_TRUE(text.ends_with("\r\n\r\n")) << text;
    for (const char* title : titles) {
      const std::string s = Section(text, title);
      ASSERT_FALSE(s.empty()) << text;
      ASSERT_FALSE(s.ends_with("，") || s.ends_with("、")) << text;
      ASSERT_TRUE(s == "无" || s.find("无") == std::string::npos) << text;
    }
  }
}

TEST(FindingList, ClosesWithBracketOrVanishes) {
  FindingList empty("合数(");
  EXPECT_EQ(empty.Close(), "");
  FindingList list("合数(");
  list.Add("年月合十、");
  list.Add("日时合五、");
  EXPECT_EQ(list.Close(), "合数(年月合十、日时合五)，");
  EXPECT_EQ(SectionText(""), "无");
  EXPECT_EQ(SectionText("年日打劫，"), "年日打劫");
}

}  // namespace
}  // namespace quorin::chart

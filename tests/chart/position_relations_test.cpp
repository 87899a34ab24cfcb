// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/position_relations.h"

#include <gtest/gtest.h>

#include "chart/relations.h"

namespace quorin::chart {
namespace {

std::array<ChartSlot, 4> Pillars(int year, int month, int day, int hour) {
  return {FillSlot(year, kKindYear), FillSlot(month, kKindMonth), FillSlot(day, kKindDay), FillSlot(hour, kKindHour)};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) text.replace(at, from.size(), to);
  return text;
}

TEST(PositionRelations, MountainAgainstPillarsOfAHandWorkedChart) {
  // 山 坤 (卦气 1, 卦运 1, 甲子) against 年 艮 (6, 1, 丙戌), 月 益 (2, 9, 庚子),
  // 日 归妹 (8, 7, 癸卯), 时 乾 (9, 1, 甲午). 子 clashes with 午 (时).
  // 卦气: 山年 {1, 6} 共宗. 卦运: 山月 1 + 9 合十. Families: 坤 is 乾's mother (family 0,
  // but 乾 clashes only in numbers). 生克: 艮 水 比 坤 水; 益 火 耗; 归妹 木 泄; 乾 金 生.
  const std::string text = PositionAgainstPillarsText(FillSlot(56, kKindMountain), "山", Pillars(48, 35, 15, 0));
  EXPECT_EQ(text,
            "　　卦气交通：合生成(山年共宗)\r\n"
            "　　卦运交通：合数(山月合十)\r\n"
            "　　亲缘交通：山时(母-父)\r\n"
            "　　七星打劫：无\r\n"
            "　　生克进退：进神(时生山)，退神(月耗山、日泄山)\r\n"
            "　　伏吟反吟：反吟(山时)\r\n\r\n");
}

TEST(PositionRelations, HeadingsOfTheParagraphs) {
  const auto pillars = Pillars(0, 1, 2, 3);
  const HeadedParagraph dragon = PositionParagraph("子龙和日课的关系：", FillSlot(5, kKindDragon), "龙", pillars);
  EXPECT_TRUE(dragon.text.starts_with("子龙和日课的关系：\r\n　　卦气交通："));
  EXPECT_EQ(dragon.heading, "子龙和日课的关系：");
}

TEST(PositionRelations, PersonOnTheMountainHexagram) {
  const ChartSlot master = FillSlot(27, kKindMaster), mountain = FillSlot(27, kKindMountain);  // 恒
  EXPECT_EQ(MasterAgainstMountainText(master, mountain),
            "主命和山家关系：\r\n"
            "　　卦气交通：无\r\n"
            "　　卦运交通：无\r\n"
            "　　亲缘交通：父-父\r\n"
            "　　七星打劫：无\r\n"
            "　　伏吟反吟：伏吟(主山)\r\n\r\n");
  // The same hexagram finds the same pillar relations, labelled 主 or 山.
  const auto pillars = Pillars(35, 11, 4, 58);
  EXPECT_EQ(Replace(PositionAgainstPillarsText(master, "主", pillars), "主", "山"),
            PositionAgainstPillarsText(mountain, "山", pillars));
}

TEST(PositionRelations, PersonAgainstMountainWords) {
  // 坤 (1, 1, 甲子) against 艮 (6, 1, 丙戌): 共宗 by 卦气; 卦运 1 and 1 relate in no way.
  EXPECT_NE(MasterAgainstMountainText(FillSlot(56, kKindMaster), FillSlot(48, kKindMountain)).find("卦气交通：共宗\r\n"),
            std::string::npos);
  // 否 (9, 9, 庚戌) and 坤 (1, 1, 甲子): 合十 both ways.
  EXPECT_NE(MasterAgainstMountainText(FillSlot(3, kKindMaster), FillSlot(56, kKindMountain))
                .find("卦气交通：合十\r\n　　卦运交通：合十\r\n"),
            std::string::npos);
  // 姤 (甲午) and 复 (甲子) clash, so 9 + 1 is no 合十; daughter and son of family 0; opposite.
  const std::string text = MasterAgainstMountainText(FillSlot(1, kKindMaster), FillSlot(57, kKindMountain));
  EXPECT_NE(text.find("卦气交通：无\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("亲缘交通：女-子\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("伏吟反吟：反吟(主山)\r\n"), std::string::npos) << text;
  // 夬 (4, 6) and 姤: robbery; 卦运 6 + 8 … {6, 8} 相通.
  const std::string robbing = MasterAgainstMountainText(FillSlot(61, kKindMaster), FillSlot(1, kKindMountain));
  EXPECT_NE(robbing.find("七星打劫：存在打劫\r\n"), std::string::npos) << robbing;
  EXPECT_NE(robbing.find("卦运交通：相通\r\n"), std::string::npos) << robbing;
  // 随 (4, 7) and 师 (1, 7): 合五, and 卦运 equal.
  const std::string sum = MasterAgainstMountainText(FillSlot(31, kKindMaster), FillSlot(47, kKindMountain));
  EXPECT_NE(sum.find("卦气交通：合五\r\n"), std::string::npos) << sum;
}

TEST(PositionRelations, ClashingPersonAndMountainShowNothingInNumbers) {
  // 坤 (甲子) and 乾 (甲午): 1 + 9 would be 合十.
  const std::string text = MasterAgainstMountainText(FillSlot(56, kKindMaster), FillSlot(0, kKindMountain));
  EXPECT_NE(text.find("卦气交通：无\r\n　　卦运交通：无\r\n"), std::string::npos) << text;
}

TEST(PositionRelations, FacingTurnsEveryFuYinIntoFanYin) {
  for (int g = 0; g < kGuaCount; ++g) {
    const auto pillars = Pillars(g, (g + 7) % 64, g, OppositeGua(g));
    const std::string mountain = PositionAgainstPillarsText(FillSlot(g, kKindMountain), "山", pillars);
    const std::string facing = PositionAgainstPillarsText(FillSlot(OppositeGua(g), kKindFacing), "向", pillars);
    EXPECT_NE(mountain.find("伏吟(山年、山日)，反吟(山时)"), std::string::npos) << mountain;
    EXPECT_NE(facing.find("伏吟(向时)，反吟(向年、向日)"), std::string::npos) << facing;
  }
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/quorin_day.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "support/chart_request.h"
#include "support/temp_dir.h"

namespace quorin::chart {
namespace {

using draw::Color;
using draw::kBlack;
using draw::kBlue;
using draw::kGreen;
using draw::kRed;
using testing::ChartRequest;
using testing::ReadBytes;
using testing::SourcePath;
using testing::TempDir;
using testing::WriteBytes;

class ChartEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings("");
    engine.Attach(&text, nullptr);
  }
  // Writes set.ini with the given lines and points the engine at it.
  void Settings(const std::string& lines) {
    WriteBytes(dir.File("set.ini"), "[set]\r\n" + lines);
    engine.SetSettingsPath(dir.File("set.ini"));
  }
  // The characters covered by a span of the recording sink.
  std::string SpanText(const RecordingRichTextSink::Span& s) const {
    return base::Utf8Substring(text.Text(), s.start, s.length);
  }
  std::string Line(int index) const {
    std::string all = text.Text();
    std::size_t from = 0;
    for (int i = 0; i < index; ++i) from = all.find('\n', from) + 1;
    return all.substr(from, all.find('\n', from) - from);
  }

  TempDir dir;
  MQuorinDay engine;
  RecordingRichTextSink text;
};

TEST_F(ChartEngine, GoldenChartTexts) {
  struct Golden {
    const char* file;
    std::string settings;
    TRecordData request;
  };
  std::vector<Golden> goldens;
  goldens.push_back({"zi_mountain_2024.txt", "", testing::ZhangSanRequest(1, 1)});
  {
    TRecordData r = ChartRequest(1995, 8, 20, 13, 5, 22, 1);
    r.name = "李四";
    r.male = false;
    r.masterYear = -119;  // 120 BC
    r.dragonMountain = 1;
    r.dragonGua = 1;
    r.waterMountain = 7;
    r.waterGua = 2;
    r.showFacing = true;
    r.longitude = 116.5f;
    r.latitude = 39.9f;
    r.addrName = "北京";
    goldens.push_back({"qian_mountain_full_1995.txt", "idate=2\r\n", r});
  }
  {
    TRecordData r = ChartRequest(2023, 2, 1, 23, 30, 13, 1);
    r.isLunar = true;
    r.isLeapMonth = true;
    r.masterYear = 1954;
    goldens.push_back({"wu_mountain_lunar_leap_2023.txt", "ijiazi=1\r\niShanShow=1\r\nleftpos=4\r\n", r});
  }
  for (const auto& g : goldens) {
    Settings(g.settings);
    ASSERT_TRUE(engine.Compute(g.request)) << engine.ErrorText();
    EXPECT_EQ(text.Text(), ReadBytes(SourcePath(std::string("tests/chart/golden/") + g.file))) << g.file;
    EXPECT_TRUE(text.CaretAtStart());
  }
  EXPECT_EQ(text.FirstLineIndent(), 4);
  EXPECT_EQ(text.DefaultColor(), kBlack);
  EXPECT_FALSE(text.DefaultBold());
}

TEST_F(ChartEngine, HeadingsAreBoldAndColoured) {
  TRecordData r = ChartRequest(1995, 8, 20, 13, 5, 22, 1);
  r.dragonMountain = 1;
  r.dragonGua = 1;
  r.waterMountain = 7;
  r.waterGua = 2;
  r.showFacing = true;
  ASSERT_TRUE(engine.Compute(r));
  std::vector<std::pair<std::string, Color>> bold;
  for (const auto& s : text.Spans()) {
    if (s.bold) bold.emplace_back(SpanText(s), s.color);
  }
  const std::vector<std::pair<std::string, Color>> expected{
      {"日课分析：", kBlue},       {"主命和山家关系：", kBlue}, {"子龙和日课的关系：", kBlue},
      {"卯水和日课的关系：", kBlue}, {"主命和日课关系：", kBlue}, {"山家和日课关系：", kBlue},
      {"朝向和日课关系：", kBlue}, {"常用神煞：", kGreen}};
  EXPECT_EQ(bold, expected);
}

TEST_F(ChartEngine, TableColoursNonPillarColumnsRedAndPillarsBlue) {
  // 6 to 9 columns: the red part is 6n - 20 GBK bytes, the blue part 24, of every content line.
  for (int columns = 6; columns <= 9; ++columns) {
    TRecordData r = ChartRequest(2024, 3, 15, 10, 30, 1, 1);
    if (columns >= 7) r.showFacing = true;
    if (columns >= 8) r.dragonMountain = 5, r.dragonGua = 0;
    if (columns >= 9) r.waterMountain = 6, r.waterGua = 2;
    ASSERT_TRUE(engine.Compute(r));
    EXPECT_EQ(engine.ShownCount(), columns);
    std::vector<RecordingRichTextSink::Span> table;
    for (const auto& s : text.Spans()) {
      if (!s.bold) table.push_back(s);
    }
    ASSERT_EQ(table.size(), 18u) << columns;  // nine content lines, two ranges each
    for (std::size_t i = 0; i < table.size(); i += 2) {
      EXPECT_EQ(table[i].color, kRed);
      EXPECT_EQ(table[i].length, (6 * columns - 20) / 2);
      EXPECT_EQ(table[i + 1].color, kBlue);
      EXPECT_EQ(table[i + 1].start, table[i].start + table[i].length);
      EXPECT_EQ(table[i + 1].length, 12);
      // Together they cover the whole content line (the header takes lines 0..6).
      static constexpr int kRows[] = {0, 2, 3, 5, 7, 8, 10, 12, 14};
      EXPECT_EQ(SpanText(table[i]) + SpanText(table[i + 1]), Line(7 + kRows[i / 2]));
    }
  }
}

TEST_F(ChartEngine, YearPillarChangesAtLiChunInBeijingTime) {
  // 立春 of 2000 is at 20:40:24 Beijing time.
  ASSERT_TRUE(engine.Compute(ChartRequest(2000, 2, 4, 20, 39, 1, 0)));
  EXPECT_EQ(engine.Pillars().year, 16);  // 己卯
  EXPECT_EQ(engine.Pillars().month, 14);  // 丁丑
  ASSERT_TRUE(engine.Compute(ChartRequest(2000, 2, 4, 20, 41, 1, 0)));
  EXPECT_EQ(engine.Pillars().year, 17);  // 庚辰
  EXPECT_EQ(engine.Pillars().month, 15);  // 戊寅
  EXPECT_EQ(engine.ShenshaLines()[2], "3:月破-申。");
  EXPECT_EQ(engine.ShenshaLines()[4], "5:月三煞-申、子、辰方。");
}

TEST_F(ChartEngine, HourTwentyThreeBelongsToTheNextDay) {
  ASSERT_TRUE(engine.Compute(ChartRequest(2023, 3, 22, 22, 59, 1, 0)));
  const int day = engine.Pillars().day;
  EXPECT_EQ(engine.Pillars().hour % 12, 0);  // 亥
  ASSERT_TRUE(engine.Compute(ChartRequest(2023, 3, 22, 23, 30, 1, 0)));
  EXPECT_EQ(engine.Pillars().day, (day + 1) % 60);
  EXPECT_EQ(engine.Pillars().hour, 13);  // 丙子 on a 庚 day
  EXPECT_EQ(engine.LunarDate().day, 2);  // 闰二月初二, the next day
  EXPECT_NE(text.Text().find("公历：2023年3月22日23时30分(北京时间)，星期三\n"), std::string::npos);
}

TEST_F(ChartEngine, TimeBasisOfTheHeader) {
  TRecordData r = ChartRequest(2024, 6, 1, 12, 0, 1, 0);
  r.longitude = 90;
  r.latitude = 30.5f;
  r.addrName = "某地";
  Settings("idate=2\r\n");
  ASSERT_TRUE(engine.Compute(r));
  // 30° west of the zone meridian: two hours earlier, to the minute.
  EXPECT_EQ(engine.CorrectedDate(), (calendar::CivilDateTime{2024, 6, 1, 10, 0}));
  EXPECT_EQ(Line(1), "地点：某地，经度:90度0分,纬度:30度30分。");
  EXPECT_EQ(Line(2), "公历：2024年6月1日12时0分(北京时间)。");
  EXPECT_EQ(Line(3), "公历：2024年6月1日10时0分(地方时)，星期六");

  r.longitude = 120;
  Settings("idate=1\r\n");
  ASSERT_TRUE(engine.Compute(r));
  // At 120°E only the equation of time (about +2 minutes on 1 June) moves the clock.
  EXPECT_EQ(engine.CorrectedDate().hour, 12);
  EXPECT_GE(engine.CorrectedDate().minute, 1);
  EXPECT_LE(engine.CorrectedDate().minute, 3);
  EXPECT_TRUE(Line(3).ends_with("(真太阳时)，星期六")) << Line(3);

  Settings("idate=0\r\n");
  ASSERT_TRUE(engine.Compute(r));
  EXPECT_EQ(Line(1), "地点：某地");
  EXPECT_EQ(Line(2), "公历：2024年6月1日12时0分(北京时间)，星期六");
}

TEST_F(ChartEngine, YearsBeforeOurEraPrintWithoutYearZero) {
  TRecordData r = ChartRequest(2024, 3, 15, 10, 30, 1, 0);
  r.masterYear = 0;  // 1 BC
  ASSERT_TRUE(engine.Compute(r));
  EXPECT_TRUE(Line(0).starts_with("主命：某人（-1年-男命），")) << Line(0);
  EXPECT_EQ(engine.MasterJiazi(), 57);  // 庚申
  ASSERT_TRUE(engine.Compute(ChartRequest(-99, 5, 1, 12, 0, 1, 0)));  // 100 BC
  EXPECT_TRUE(Line(2).starts_with("公历：-100年5月1日")) << Line(2);
  EXPECT_TRUE(Line(3).starts_with("农历：前一○○年")) << Line(3);
}

TEST_F(ChartEngine, SeasonalDayHexagramWinsOverIjiazi) {
  struct Case {
    int year, month, day;
    int dayGua;  // with bRiGua
  };
  // 1949-10-01 is a 甲子 day, between 夏至 and 冬至: 坤. 1950-01-29 is 甲子 too,
  // before 立春, so the interval of 1949 applies and it lies outside: 复.
  const Case cases[] = {
      {1949, 10, 1, 56},   // 甲子 inside: 坤
      {1950, 1, 29, 57},   // 甲子 outside: 复
      {1949, 10, 31, 1},   // 甲午 inside: 姤
      {1949, 10, 27, 16},  // 庚寅 outside 惊蛰–白露: 离
      {1949, 11, 26, 20},  // 庚申 outside: 蒙
      {1950, 5, 25, 40},   // 庚申 inside: 坎
  };
  for (const auto& c : cases) {
    Settings("bRiGua=1\r\nijiazi=1\r\n");
    ASSERT_TRUE(engine.Compute(ChartRequest(c.year, c.month, c.day, 0, 30, 1, 0)));
    EXPECT_EQ(engine.Slot(kSlotDay).gua, c.dayGua) << c.year << "-" << c.month << "-" << c.day;
    Settings("bRiGua=0\r\nijiazi=0\r\n");
    ASSERT_TRUE(engine.Compute(ChartRequest(c.year, c.month, c.day, 0, 30, 1, 0)));
    EXPECT_EQ(engine.Slot(kSlotDay).gua, GuaForJiazi(engine.Pillars().day, false));
  }
  // The 甲子 hour of a 甲子 day still follows ijiazi.
  Settings("bRiGua=1\r\nijiazi=1\r\n");
  ASSERT_TRUE(engine.Compute(ChartRequest(1949, 10, 1, 0, 30, 1, 0)));
  EXPECT_EQ(engine.Pillars().hour, 1);
  EXPECT_EQ(engine.Slot(kSlotHour).gua, 57);  // 复
  Settings("bRiGua=1\r\nijiazi=0\r\n");
  ASSERT_TRUE(engine.Compute(ChartRequest(1949, 10, 1, 0, 30, 1, 0)));
  EXPECT_EQ(engine.Slot(kSlotHour).gua, 56);  // 坤
}

TEST_F(ChartEngine, DateFailuresKeepThePreviousChart) {
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 1, 1)));
  const std::string before = text.Text();
  const auto slots = engine.Slots();
  struct Case {
    TRecordData request;
    const char* message;
  };
  TRecordData leap = ChartRequest(2024, 2, 1, 12, 0, 1, 0);
  leap.isLunar = leap.isLeapMonth = true;  // 2024 has no leap second month
  TRecordData thirteenth = ChartRequest(2024, 13, 1, 12, 0, 1, 0);
  TRecordData noColumn = ChartRequest(2024, 3, 15, 10, 30, 0, 3);  // 壬 has no column 3
  TRecordData noDragon = ChartRequest(2024, 3, 15, 10, 30, 1, 0);
  noDragon.dragonMountain = 2;
  noDragon.dragonGua = 3;
  const Case cases[] = {
      {ChartRequest(1582, 10, 10, 12, 0, 1, 0), "不存在这个日期"},
      {ChartRequest(2023, 2, 29, 12, 0, 1, 0), "不存在这个日期"},
      {thirteenth, "不存在这个日期"},
      {leap, "不存在这个农历日期，无法转换到公历！"},
      {noColumn, kNoSuchPosition},
      {noDragon, kNoSuchPosition},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(engine.Compute(c.request));
    EXPECT_EQ(engine.ErrorText(), c.message);
    EXPECT_EQ(text.Text(), before);
    EXPECT_EQ(engine.Slots(), slots);
  }
  EXPECT_TRUE(engine.Compute(ChartRequest(1582, 10, 4, 12, 0, 1, 0)));
  EXPECT_TRUE(engine.Compute(ChartRequest(1582, 10, 15, 12, 0, 1, 0)));
  EXPECT_EQ(engine.ErrorText(), "");
}

TEST_F(ChartEngine, PositionsAndShownColumns) {
  TRecordData r = ChartRequest(2024, 3, 15, 10, 30, 1, 1);
  ASSERT_TRUE(engine.Compute(r));
  EXPECT_EQ(engine.ShownCount(), 6);
  EXPECT_EQ(engine.ShownPosition(0), 2);  // 主
  EXPECT_EQ(engine.ShownPosition(1), 3);  // 山
  EXPECT_EQ(engine.ShownPosition(5), 8);  // 时
  EXPECT_EQ(engine.ShownPosition(6), -1);
  EXPECT_EQ(engine.Slot(kSlotDragon), ChartSlot{});  // not shown: all zero
  EXPECT_EQ(engine.Slot(kSlotMountain).kind, kKindMountain);
  EXPECT_EQ(engine.Slot(kSlotYuanChen).kind, kKindYuanChen);
  EXPECT_EQ(engine.MountainJiazi(), 1);   // 坤: 甲子
  EXPECT_EQ(engine.YuanChenJiazi(), 10);  // 癸酉
  EXPECT_EQ(engine.BaseGua(), 56);
  EXPECT_EQ(engine.Avoid(), (AvoidInfo{7, 3, 7, 11, 1, 56, 0}));  // person of 1978, 戊午: 冲 子

  r.showFacing = true;
  r.waterMountain = 0;
  r.waterGua = 2;
  ASSERT_TRUE(engine.Compute(r));
  EXPECT_EQ(engine.ShownCount(), 8);
  EXPECT_EQ(engine.ShownPosition(0), 1);  // 水
  EXPECT_EQ(engine.ShownPosition(3), 4);  // 向
  EXPECT_EQ(engine.Slot(kSlotFacing).gua, 0);  // opposite 坤: 乾
  EXPECT_EQ(engine.Slot(kSlotWater).gua, 5);   // 壬 column 2: 剥
}

TEST_F(ChartEngine, FlippedLinesStayOnTheChosenMountain) {
  // 夬 lies in 丙 (column 2) and in 午 (column 0). On 午山, flipping line 1 gives 大过
  // (午 column 3); flipping it back must return to 午山 夬, not to 丙山.
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 13, 0)));
  EXPECT_EQ(engine.BaseGua(), 61);
  engine.SetChangedLine(0, true);
  ASSERT_TRUE(engine.RecomputeWithChangedLines());
  EXPECT_EQ(engine.Request().mountain, 13);
  EXPECT_EQ(engine.Request().mountainGua, 3);
  EXPECT_EQ(engine.Slot(kSlotMountain).gua, 30);
  EXPECT_TRUE(Line(4).ends_with("(夬抽1)")) << Line(4);
  EXPECT_TRUE(text.CaretAtStart());

  engine.SetChangedLine(0, false);
  ASSERT_TRUE(engine.RecomputeWithChangedLines());
  EXPECT_EQ(engine.Request().mountain, 13);
  EXPECT_EQ(engine.Request().mountainGua, 0);
  EXPECT_EQ(engine.Avoid()[0], 1);                   // 冲山 of 午 is 子, 丙 would have none
  EXPECT_EQ(engine.Avoid()[1], 9);                   // 三煞 申子辰
  EXPECT_TRUE(Line(0).ends_with("午山(癸巳)")) << Line(0);
  EXPECT_EQ(Line(4).find("抽"), std::string::npos);  // back to the original hexagram

  // A hexagram the chosen mountain lacks moves to its first mountain in the table.
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 13, 1)));  // 午 乾
  engine.SetChangedLine(1, true);
  engine.SetChangedLine(4, true);
  ASSERT_TRUE(engine.RecomputeWithChangedLines());  // 乾 with lines 2 and 5 flipped: 离
  EXPECT_EQ(engine.Slot(kSlotMountain).gua, 16);
  EXPECT_EQ(engine.Request().mountain, 6);  // 甲 column 1
  EXPECT_EQ(engine.Request().mountainGua, 1);
  EXPECT_EQ(engine.BaseGua(), 0);
  EXPECT_TRUE(Line(4).ends_with("(乾抽2-5)")) << Line(4);
  EXPECT_TRUE(Line(0).ends_with("甲山(庚寅)")) << Line(0);

  // A new chart clears the flips.
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 13, 1)));
  EXPECT_EQ(engine.ChangedLines(), (std::array<std::uint8_t, 6>{}));
}

TEST_F(ChartEngine, MomentStepsThroughJulianDays) {
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 12, 31, 23, 0, 1, 0)));
  const MQuorinDay::Moment m = engine.GetMoment();
  EXPECT_EQ(m.beijingDate, (calendar::CivilDateTime{2024, 12, 31, 23, 0}));
  EXPECT_EQ(engine.DateFromJD(m.beijingJD + 1.0 / 12 + 5.0 / 86400), (calendar::CivilDateTime{2025, 1, 1, 1, 0}));
  EXPECT_EQ(engine.DateFromJD(m.beijingJD - 1), (calendar::CivilDateTime{2024, 12, 30, 23, 0}));
}

TEST_F(ChartEngine, MissingSettingsFileGivesTheDefaults) {
  engine.SetSettingsPath(dir.File("nothing.ini"));
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 1, 1)));
  EXPECT_EQ(engine.Settings(), ChartSettings{});
  Settings("idate=1\r\nijiazi=1\r\nleftpos=7\r\niShanShow=1\r\nbRiGua=1\r\n");
  ASSERT_TRUE(engine.Compute(ChartRequest(2024, 3, 15, 10, 30, 1, 1)));
  EXPECT_EQ(engine.Settings(), (ChartSettings{1, 1, 7, 1, true}));
  EXPECT_EQ(text.FirstLineIndent(), 7);
}

TEST_F(ChartEngine, ComputesWithoutAnAttachedView) {
  MQuorinDay bare;
  bare.SetSettingsPath(dir.File("set.ini"));
  EXPECT_FALSE(bare.RecomputeWithChangedLines());  // no chart yet: nothing to recompute
  ASSERT_TRUE(bare.Compute(ChartRequest(2024, 3, 15, 10, 30, 1, 1)));
  EXPECT_EQ(bare.Slot(kSlotYear).gua, 52);  // 甲辰: 睽
  EXPECT_EQ(bare.Avoid()[0], 7);
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search.h"

#include <gtest/gtest.h>

#include <set>

#include "chart/quorin_day.h"
#include "chart/search_match.h"

namespace quorin::chart {
namespace {

SearchRequest Plain(int year, int mountain = 1) {
  SearchRequest q;
  q.year = year;
  q.masterYear = 1978;
  q.mountain = mountain;
  q.mountainGua = 0;
  return q;
}

struct SearchRun {
  int found = 0;
  RecordingSearchSink sink;
};
SearchRun Search(MQuorinDay& engine, const SearchRequest& q) {
  SearchRun run;
  run.found = engine.Search(q, run.sink);
  return run;
}
SearchRun Search(const SearchRequest& q) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  return Search(engine, q);
}

// The moment of each line without its running number.
std::set<std::string> Moments(const std::vector<std::string>& lines) {
  std::set<std::string> moments;
  for (const std::string& line : lines) moments.insert(line.substr(line.find("：")));
  return moments;
}

TEST(Search, NothingTickedListsEveryDoubleHourOfTheYear) {
  struct Case {
    int year;
    int count;
    const char* last;
  };
  for (const Case& c : {Case{2023, 4380, "4380：2023年12月31日22时"}, Case{2024, 4392, "4392：2024年12月31日22时"},
                        Case{9999, 4380, "4380：9999年12月31日22时"}, Case{1900, 4380, "4380：1900年12月31日22时"},
                        Case{1582, 355 * 12, "4260：1582年12月31日22时"}, Case{-120, 4392, "4392：-120年12月31日22时"},
                        Case{-4712, 4392, "4392：-4712年12月31日22时"}}) {
    const SearchRun run = Search(Plain(c.year));
    ASSERT_EQ(run.found, c.count) << c.year;
    ASSERT_EQ(run.sink.Lines().size(), static_cast<std::size_t>(c.count));
    EXPECT_EQ(run.sink.Lines().front(), "1：" + std::to_string(c.year) + "年01月01日00时");
    EXPECT_EQ(run.sink.Lines()[13], "14：" + std::to_string(c.year) + "年01月02日02时");
    EXPECT_EQ(run.sink.Lines().back(), c.last);
    EXPECT_EQ(run.sink.Minimum(), 0);
    EXPECT_EQ(run.sink.Maximum(), kSearchProgressEnd);
    EXPECT_EQ(run.sink.Position(), kSearchProgressEnd);
    // Reset, one step per day, and the end.
    EXPECT_EQ(run.sink.PositionUpdates(), 1 + c.count / 12 + 1) << c.year;
  }
}

TEST(Search, ClearsTheListAndLeavesTheEngineAtTheLastMoment) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  SearchRequest q = Plain(2023, 7);
  q.qi[kQiSame] = true;
  q.UpdateConditionCounts();
  SearchRun run;
  run.sink.AppendLine("old line");
  run.found = engine.Search(q, run.sink);
  EXPECT_EQ(run.sink.Lines().size(), static_cast<std::size_t>(run.found));
  EXPECT_NE(run.sink.Lines().front(), "old line");
  EXPECT_EQ(engine.LastSearchRequest(), q);
  const TRecordData& r = engine.Request();
  EXPECT_EQ(std::vector<int>({r.year, r.month, r.day, r.hour, r.minute, r.mountain}),
            std::vector<int>({2023, 12, 31, 22, 5, 7}));
  EXPECT_FALSE(r.isLunar);
  EXPECT_EQ(engine.ShownCount(), 6);
}

TEST(Search, YearsTheCalendarCannotConvertFindNothing) {
  for (int year : {-4713, 10000}) {
    MQuorinDay engine;
    engine.SetSettingsPath("/nonexistent/set.ini");
    const SearchRun run = Search(engine, Plain(year));
    EXPECT_EQ(run.found, 0);
    EXPECT_TRUE(run.sink.Lines().empty());
    EXPECT_EQ(run.sink.Position(), kSearchProgressEnd);
    EXPECT_FALSE(engine.ErrorText().empty());
  }
}

// 一卦纯清: the four pillars share the upper trigram; 坐山纳入 adds the mountain's.
// In 2023 all eight such moments have the 卦气 8 of 丑山, none the 6 of 子山.
TEST(Search, SameQiWithAndWithoutTheMountain) {
  SearchRequest q = Plain(2023, 3);  // 丑山, first hexagram
  q.qi[kQiSame] = true;
  q.UpdateConditionCounts();
  const SearchRun pillarsOnly = Search(q);
  ASSERT_EQ(pillarsOnly.found, 8);
  q.includeMountain = true;
  const SearchRun withMountain = Search(q);
  EXPECT_EQ(Moments(withMountain.sink.Lines()), Moments(pillarsOnly.sink.Lines()));
  q.mountain = 1;
  EXPECT_EQ(Search(q).found, 0);

  // Each listed moment charted: five equal 卦气 numbers.
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  for (const std::string& line : withMountain.sink.Lines()) {
    const auto m = ParseSearchResultLine(line);
    ASSERT_TRUE(m);
    TRecordData r;
    r.ResetRecord();
    r.year = static_cast<std::int16_t>(m->year);
    r.month = static_cast<std::int16_t>(m->month);
    r.day = static_cast<std::int16_t>(m->day);
    r.hour = static_cast<std::int16_t>(m->hour);
    r.minute = kSearchMinute;
    r.masterYear = 1978;
    r.mountain = 3;
    r.dragonMountain = r.waterMountain = -1;
    ASSERT_TRUE(engine.Compute(r));
    for (int slot : {0, 1, 2, 3}) EXPECT_EQ(engine.Slot(slot).guaQi, engine.Slot(kSlotMountain).guaQi) << line;
  }
}

TEST(Search, MountainKillingsNeverExcludeForTheFourCornerMountains) {
  for (int mountain : {4, 10, 16, 22}) {  // 艮 巽 坤 乾
    SearchRequest q = Plain(2023, mountain);
    q.avoid[kAvoidMountainKillingsFlag] = true;
    EXPECT_EQ(Search(q).found, 4380) << mountain;
  }
  SearchRequest q = Plain(2023, 1);  // 子: 寅 午 戌
  q.avoid[kAvoidMountainKillingsFlag] = true;
  const int found = Search(q).found;
  EXPECT_GT(found, 0);
  EXPECT_LT(found, 4380);
}

TEST(Search, ResultLinesReadBack) {
  struct Case {
    const char* line;
    std::optional<SearchResultMoment> moment;
  };
  for (const Case& c : {Case{"3：2012年03月05日07时", SearchResultMoment{2012, 3, 5, 7}},
                        Case{"1：800年01月02日00时", SearchResultMoment{800, 1, 2, 0}},
                        Case{"4392：-120年12月31日22时", SearchResultMoment{-120, 12, 31, 22}},
                        Case{"2：0年06月30日12时", SearchResultMoment{0, 6, 30, 12}},
                        Case{"3：2012年03月05日", std::nullopt}, Case{"3:2012年03月05日07时", std::nullopt},
                        Case{"3：20x2年03月05日07时", std::nullopt}, Case{"", std::nullopt},
                        Case{"共找到3条日课", std::nullopt}}) {
    EXPECT_EQ(ParseSearchResultLine(c.line), c.moment) << c.line;
  }
  EXPECT_EQ(SearchResultLine(3, {2012, 3, 5, 7, 5}), "3：2012年03月05日07时");
  EXPECT_EQ(SearchResultLine(12, {-120, 11, 9, 0, 5}), "12：-120年11月09日00时");
}

TEST(SearchConditions, ReadyPatternReplacesEveryCondition) {
  SearchRequest q = ClearedSearchRequest(2025);
  q.mountain = 13;
  q.mountainGua = 1;
  q.dragonMountain = 5;
  q.dragonGua = 2;
  q.showFacing = true;
  q.qi.fill(true);
  q.yun[kYunThrough] = true;
  q.qiDigits = DigitGroupFromText("1 3", true);
  q.yunDigits = DigitGroupFromText("9", false);
  q.shengRuKeRu = q.familyLink = q.includeMaster = true;
  q.avoid.fill(true);
  q.UpdateConditionCounts();
  SearchRequest patterned = q;
  ASSERT_TRUE(ApplyReadyPattern(patterned, ReadyPatternItem("四大格局")));
  SearchRequest expected = ClearedSearchRequest(2025);
  expected.mountain = 13;
  expected.mountainGua = 1;
  expected.dragonMountain = 5;
  expected.dragonGua = 2;
  expected.showFacing = true;
  expected.qi[kQiTen] = true;
  expected.qiConditionCount = 1;
  EXPECT_EQ(patterned, expected);

  const struct {
    const char* name;
    int qi;
    int yun;
  } patterns[] = {{"一卦纯清", kQiSame, -1}, {"合生成格", kQiGeneration, -1}, {"卦不出位", -1, kYunSame},
                  {"挨星合十", -1, kYunTen}, {"一家骨肉", -1, kYunThrough}};
  for (const auto& p : patterns) {
    SearchRequest r = q;
    ASSERT_TRUE(ApplyReadyPattern(r, ReadyPatternItem(p.name)));
    for (int i = 0; i < kQiConditionCount; ++i) EXPECT_EQ(r.qi[static_cast<std::size_t>(i)], i == p.qi) << p.name;
    for (int i = 0; i < kYunConditionCount; ++i) EXPECT_EQ(r.yun[static_cast<std::size_t>(i)], i == p.yun) << p.name;
    EXPECT_EQ(r.qiConditionCount + r.yunConditionCount, 1);
  }
  // The list's title is no pattern and changes nothing.
  SearchRequest untouched = q;
  EXPECT_FALSE(ApplyReadyPattern(untouched, ReadyPatternItem("【现成吉格】")));
  EXPECT_EQ(untouched, q);
  EXPECT_EQ(ReadyPatternItem("五行"), -1);
}

TEST(SearchConditions, ClearedRequest) {
  const SearchRequest q = ClearedSearchRequest(2025);
  EXPECT_EQ(q.year, 2025);
  EXPECT_EQ(q.masterYear, 1996);
  EXPECT_EQ(std::vector<int>({q.mountain, q.mountainGua, q.dragonMountain, q.dragonGua, q.waterMountain, q.waterGua}),
            std::vector<int>({0, 0, -1, -1, -1, -1}));
  EXPECT_FALSE(q.showFacing);
  EXPECT_EQ(q.qiConditionCount + q.yunConditionCount, 0);
}

TEST(SearchConditions, DigitTexts) {
  struct Case {
    const char* typed;
    std::vector<int> digits;
    const char* shown;
  };
  for (const Case& c : {Case{"12 3", {1, 2, 3}, "1 2 3"}, Case{"9 0 9", {9, 9}, "9 9"},
                        Case{"1234567", {1, 2, 3, 4, 5, 6}, "1 2 3 4 5 6"}, Case{" 1,3 ", {1, 3}, "1 3"},
                        Case{"１2一3", {2, 3}, "2 3"}, Case{"", {}, ""}, Case{"0 x", {}, ""}}) {
    const DigitGroup g = DigitGroupFromText(c.typed, true);
    EXPECT_EQ(std::vector<int>(g.digits.begin(), g.digits.begin() + g.count), c.digits) << c.typed;
    EXPECT_TRUE(g.adjacent);
    EXPECT_EQ(DigitGroupText(g), c.shown);
  }
}

// Hand-made positions: kind, pillar, 卦气, 卦运 (the hexagram index is irrelevant here).
ChartSlot Slot(std::uint8_t kind, int jiazi, int qi, int yun = 1, int gua = 0) {
  ChartSlot s;
  s.kind = kind;
  s.jiazi = static_cast<std::uint8_t>(jiazi);
  s.guaQi = static_cast<std::uint8_t>(qi);
  s.guaYun = static_cast<std::uint8_t>(yun);
  s.gua = static_cast<std::uint8_t>(gua);
  return s;
}
ExaminedList List(std::initializer_list<ChartSlot> slots) {
  ExaminedList list;
  for (const ChartSlot& s : slots) list.slots[static_cast<std::size_t>(list.count++)] = s;
  return list;
}
std::array<ChartSlot, 4> PillarsOf(const ExaminedList& list) {
  return {list.slots[static_cast<std::size_t>(list.count - 4)], list.slots[static_cast<std::size_t>(list.count - 3)],
          list.slots[static_cast<std::size_t>(list.count - 2)], list.slots[static_cast<std::size_t>(list.count - 1)]};
}
constexpr AvoidInfo kNoAvoid{-1, -1, -1, -1, -1, -1, -1};

TEST(SearchMatch, PairSumOfTenCountsUnlessTheBranchesClash) {
  SearchRequest q;
  q.qi[kQiTen] = true;
  q.UpdateConditionCounts();
  const MomentTest test(q);
  // 子 (1) against 午 (31) clash; 子 against 丑 (2) does not. Other numbers sum to no ten.
  const ExaminedList clashing =
      List({Slot(kKindYear, 1, 1), Slot(kKindMonth, 31, 9), Slot(kKindDay, 3, 2), Slot(kKindHour, 4, 2)});
  const ExaminedList plain =
      List({Slot(kKindYear, 1, 1), Slot(kKindMonth, 2, 9), Slot(kKindDay, 3, 2), Slot(kKindHour, 4, 2)});
  EXPECT_FALSE(test.Passes(clashing, PillarsOf(clashing), kNoAvoid));
  EXPECT_TRUE(test.Passes(plain, PillarsOf(plain), kNoAvoid));
}

TEST(SearchMatch, DigitGroups) {
  struct Case {
    std::vector<int> digits;
    std::vector<int> numbers;
    bool loose;     // anywhere
    bool adjacent;  // 数字相连
  };
  const Case cases[] = {
      {{1, 3}, {3, 9, 1, 8}, true, false},
      {{1, 3}, {9, 3, 1, 8}, true, true},
      {{3, 1}, {9, 1, 3, 8}, true, true},
      {{1, 1}, {3, 9, 1, 8}, false, false},
      {{1, 1}, {1, 9, 1, 8}, true, false},
      {{9}, {3, 9, 1, 8}, true, true},
      {{4}, {3, 9, 1, 8}, false, false},
      {{8, 1, 9, 3}, {3, 9, 1, 8}, true, true},
      {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1, 7, 8, 9}, true, true},
      {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 7, 3, 2, 1, 8, 9}, true, false},
      {{1, 2, 3, 4, 5}, {1, 2, 3, 4}, false, false},
      {{0}, {9, 9, 9, 9}, false, false},  // 0 is never a number's digit
  };
  for (const Case& c : cases) {
    DigitGroup g;
    g.count = static_cast<std::uint8_t>(c.digits.size());
    for (std::size_t i = 0; i < c.digits.size(); ++i) g.digits[i] = static_cast<std::uint8_t>(c.digits[i]);
    std::vector<std::uint8_t> numbers(c.numbers.begin(), c.numbers.end());
    const int n = static_cast<int>(numbers.size());
    EXPECT_EQ(DigitGroupMatches(g, numbers.data(), n), c.loose) << ::testing::PrintToString(c.digits);
    g.adjacent = true;
    EXPECT_EQ(DigitGroupMatches(g, numbers.data(), n), c.adjacent) << ::testing::PrintToString(c.digits);
  }
  EXPECT_EQ(SearchDigit(9), 9);
  EXPECT_EQ(SearchDigit(18), 9);
  EXPECT_EQ(SearchDigit(10), 1);
}

// The host of 生入克入 is the mountain when it is included, else the day pillar.
TEST(SearchMatch, ShengRuKeRuHost) {
  SearchRequest q;
  q.shengRuKeRu = true;
  const MomentTest test(q);
  // 1 is water; 4 and 9 are metal (metal 生 water); metal against metal is 比.
  const ExaminedList withMountain = List({Slot(kKindMountain, 5, 1), Slot(kKindYear, 6, 4), Slot(kKindMonth, 7, 4),
                                          Slot(kKindDay, 8, 9), Slot(kKindHour, 9, 9)});
  const ExaminedList pillarsOnly =
      List({Slot(kKindYear, 6, 4), Slot(kKindMonth, 7, 4), Slot(kKindDay, 8, 9), Slot(kKindHour, 9, 9)});
  EXPECT_TRUE(test.Passes(withMountain, PillarsOf(withMountain), kNoAvoid));
  EXPECT_FALSE(test.Passes(pillarsOnly, PillarsOf(pillarsOnly), kNoAvoid));
  // With the day pillar water, metal year, month and hour 生 it.
  const ExaminedList waterDay =
      List({Slot(kKindYear, 6, 4), Slot(kKindMonth, 7, 9), Slot(kKindDay, 8, 6), Slot(kKindHour, 9, 4)});
  EXPECT_TRUE(test.Passes(waterDay, PillarsOf(waterDay), kNoAvoid));
}

TEST(SearchMatch, AvoidanceLooksAtThePillarsOnly) {
  const ExaminedList list = List({Slot(kKindMaster, 7, 1, 1, 5), Slot(kKindYear, 1, 2, 1, 10), Slot(kKindMonth, 2, 2, 1, 11),
                                  Slot(kKindDay, 3, 2, 1, 12), Slot(kKindHour, 4, 2, 1, 13)});
  // Branches of the pillars: 子 丑 寅 卯; hexagrams 10..13. The 主 slot's 午 is not a pillar.
  struct Case {
    int flag;
    AvoidInfo avoid;
    bool passes;
  };
  const Case cases[] = {
      {kAvoidClashMountainFlag, {7, -1, -1, -1, -1, -1, -1}, true},
      {kAvoidClashMountainFlag, {2, -1, -1, -1, -1, -1, -1}, false},
      {kAvoidMountainKillingsFlag, {-1, 5, 6, 4, -1, -1, -1}, false},
      {kAvoidMountainKillingsFlag, {-1, -1, -1, -1, -1, -1, -1}, true},
      {kAvoidClashMasterFlag, {-1, -1, -1, -1, 3, -1, -1}, false},
      {kAvoidMountainRepeatFlag, {-1, -1, -1, -1, -1, 13, -1}, false},
      {kAvoidMountainRepeatFlag, {-1, -1, -1, -1, -1, 5, -1}, true},
      {kAvoidMountainOppositeFlag, {-1, -1, -1, -1, -1, -1, 10}, false},
  };
  for (const Case& c : cases) {
    SearchRequest q;
    q.avoid[static_cast<std::size_t>(c.flag)] = true;
    EXPECT_EQ(MomentTest(q).Passes(list, PillarsOf(list), c.avoid), c.passes) << c.flag;
    // Unticked, the same data excludes nothing.
    EXPECT_TRUE(MomentTest(SearchRequest{}).Passes(list, PillarsOf(list), c.avoid));
  }
}

TEST(SearchMatch, ExaminedListOrder) {
  std::array<ChartSlot, 10> slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i].kind = static_cast<std::uint8_t>(100 + i);
  SearchRequest q;
  q.includeMaster = q.includeMountain = q.includeDragon = q.includeWater = q.includeFacing = true;
  auto kinds = [&] {
    const ExaminedList list = BuildExaminedList(q, slots);
    std::vector<int> k;
    for (int i = 0; i < list.count; ++i) k.push_back(list.slots[static_cast<std::size_t>(i)].kind - 100);
    return k;
  };
  // Dragon, water and facing only when the chart has them.
  EXPECT_EQ(kinds(), (std::vector<int>{5, 4, 0, 1, 2, 3}));
  q.dragonMountain = 3;
  q.waterMountain = 0;
  q.showFacing = true;
  EXPECT_EQ(kinds(), (std::vector<int>{6, 7, 5, 4, 8, 0, 1, 2, 3}));
  q.includeMaster = q.includeWater = false;
  EXPECT_EQ(kinds(), (std::vector<int>{6, 4, 8, 0, 1, 2, 3}));
}

}  // namespace
}  // namespace quorin::chart

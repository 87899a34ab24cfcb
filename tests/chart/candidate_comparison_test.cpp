// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of candidates judges the ticked conditions as the search does: a moment the search
// finds compares as 合 on every condition, a near miss as 差 exactly on the condition its line
// names (冲主命(配偶) with several persons). A row differs exactly where its values do, and what
// cannot be compared is refused with the engine's own reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "chart/candidate_comparison.h"
#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "support/chart_request.h"

namespace quorin::chart {
namespace {

constexpr const char* kDefaults = "/nonexistent/set.ini";

struct Case {
  const char* what;
  std::vector<OtherPerson> persons;
  void (*tick)(SearchRequest& q);
};

const Case kCases[] = {
    {"one person, numbers and avoidances", {},
     [](SearchRequest& q) {
       q.qi[kQiTen] = true;
       q.includeMaster = true;
       q.avoid[kAvoidClashMountainFlag] = true;
       q.avoid[kAvoidClashMasterFlag] = true;
     }},
    {"two persons, the person's conditions", {{"配偶", false, 1982}},
     [](SearchRequest& q) {
       q.qi[kQiTen] = true;
       q.includeMaster = true;
       q.avoid[kAvoidClashMasterFlag] = true;
       q.avoid[kAvoidMountainKillingsFlag] = true;
     }},
    {"three persons, a digit group", {{"长子", true, 2010}, {"长女", false, 2012}},
     [](SearchRequest& q) {
       q.yun[kYunFive] = true;
       q.qiDigits.digits[0] = 3;
       q.qiDigits.count = 1;
       q.avoid[kAvoidClashMasterFlag] = true;
     }},
    {"生入克入 and 坐山伏吟", {},
     [](SearchRequest& q) {
       q.shengRuKeRu = true;
       q.avoid[kAvoidMountainRepeatFlag] = true;
     }},
};

// The condition rows: their labels and the values of candidate `c`.
std::vector<std::pair<std::string, std::string>> ConditionRows(const CandidateComparison& comparison, std::size_t c) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const ComparisonRow& row : comparison.rows) {
    if (row.section == ComparisonSection::kConditions) rows.emplace_back(row.label, row.values.at(c));
  }
  return rows;
}

TEST(CandidateComparison, JudgesTheConditionsAsTheSearchDoes) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    SearchRequest q = ClearedSearchRequest(2025);
    q.masterYear = 1978;
    q.mountain = 1;  // 子
    q.mountainGua = 1;
    q.otherPersons = c.persons;
    q.nearMisses = true;
    c.tick(q);
    q.UpdateConditionCounts();
    MQuorinDay engine;
    engine.SetSettingsPath(kDefaults);
    RecordingSearchSink sink;
    engine.SearchRange(q, {{2025, 3, 1, 0, 0}, {2025, 4, 30, 0, 0}}, sink);

    TRecordData request = testing::ChartRequest(2025, 1, 1, 0, 0, 1, 1);
    request.otherPersons = c.persons;
    int full = 0, near = 0;
    const std::vector<SearchResult>& results = sink.Results();
    for (std::size_t i = 0; i + 1 < results.size(); ++i) {
      const CandidateComparison comparison = CompareCandidates(engine, request, q, {results[i].moment, results[i + 1].moment});
      ASSERT_EQ(comparison.refusal, "");
      const auto rows = ConditionRows(comparison, 0);
      ASSERT_FALSE(rows.empty());
      const std::string& missed = results[i].missed;
      full += missed.empty() ? 1 : 0;
      near += missed.empty() ? 0 : 1;
      for (const auto& [label, value] : rows) {
        EXPECT_EQ(value, label == missed ? kConditionMissed : kConditionMet)
            << label << " at " << CandidateCaption(results[i].moment) << ", the search: " << (missed.empty() ? "合" : missed);
      }
      if (!missed.empty()) {
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [&](const auto& row) { return row.first == missed; }), 1)
            << "no row " << missed;
      }
    }
    EXPECT_GT(full, 0);
    EXPECT_GT(near, 0);

  }
}

TEST(CandidateComparison, RowsDifferExactlyWhereTheirValuesDo) {
  MQuorinDay engine;
  engine.SetSettingsPath(kDefaults);
  TRecordData request = testing::ZhangSanRequest(1, 1);
  const SearchRequest none = ClearedSearchRequest(2024);
  const calendar::CivilDateTime a{2024, 3, 15, 10, 30}, b{2024, 3, 15, 14, 30}, c{2024, 5, 20, 10, 30};

  const CandidateComparison same = CompareCandidates(engine, request, none, {a, a});
  ASSERT_EQ(same.refusal, "");
  EXPECT_TRUE(std::none_of(same.rows.begin(), same.rows.end(), [](const ComparisonRow& r) { return r.differs; }));
  // Without conditions no condition rows; 主命 alone, no person's rows of 卦气/卦运.
  for (const ComparisonRow& row : same.rows) EXPECT_NE(row.section, ComparisonSection::kConditions) << row.label;

  const CandidateComparison three = CompareCandidates(engine, request, none, {a, b, c});
  ASSERT_EQ(three.refusal, "");
  EXPECT_EQ(three.captions, (std::vector<std::string>{"2024-03-15 10:30", "2024-03-15 14:30", "2024-05-20 10:30"}));
  for (const ComparisonRow& row : three.rows) {
    ASSERT_EQ(row.values.size(), 3U);
    const bool unequal = row.values[0] != row.values[1] || row.values[1] != row.values[2];
    EXPECT_EQ(row.differs, unequal) << row.label;
  }
  const auto row = [&](const std::string& label) {
    const auto at = std::find_if(three.rows.begin(), three.rows.end(), [&](const ComparisonRow& r) { return r.label == label; });
    EXPECT_NE(at, three.rows.end()) << label;
    return at == three.rows.end() ? ComparisonRow{} : *at;
  };
  // 2024-03-15 is 甲辰 丁卯 戊寅; 10:30 丁巳, 14:30 己未.
  EXPECT_EQ(row("四柱").values[0], "甲辰 丁卯 戊寅 丁巳");
  EXPECT_EQ(row("四柱").values[1], "甲辰 丁卯 戊寅 己未");
  EXPECT_EQ(row("农历").values[0], "二○二四年 二月 初六日 巳时");
  EXPECT_TRUE(row("四柱").differs);
  EXPECT_FALSE(row("山 卦气/卦运").differs);  // the mountain's hexagram is the request's
  EXPECT_FALSE(row("常用神煞1").differs);     // 冲山 and 山家三煞 read the mountain only
  EXPECT_TRUE(row("常用神煞3").differs);      // 月破: 卯 month, then 巳
}

TEST(CandidateComparison, RefusesWhatItCannotCompareAndLeavesTheEngine) {
  MQuorinDay engine;
  engine.SetSettingsPath(kDefaults);
  const TRecordData request = testing::ZhangSanRequest(1, 1);
  ASSERT_TRUE(engine.Compute(request));
  const calendar::FourPillars before = engine.Pillars();
  const SearchRequest none = ClearedSearchRequest(2024);
  const calendar::CivilDateTime fine{2024, 3, 15, 10, 30};
  const calendar::CivilDateTime noSuchDay{2023, 2, 29, 10, 30};

  const std::string count = CompareCandidates(engine, request, none, {fine}).refusal;
  EXPECT_NE(count, "");
  EXPECT_EQ(CompareCandidates(engine, request, none, {fine, fine, fine, fine, fine}).refusal, count);

  MQuorinDay other;
  other.SetSettingsPath(kDefaults);
  TRecordData bad = request;
  bad.year = noSuchDay.year;
  bad.month = noSuchDay.month;
  bad.day = noSuchDay.day;
  ASSERT_FALSE(other.Compute(bad));
  const CandidateComparison refused = CompareCandidates(engine, request, none, {fine, noSuchDay});
  EXPECT_EQ(refused.refusal, "2023-02-29 10:30：" + other.ErrorText());
  EXPECT_TRUE(refused.rows.empty());

  EXPECT_EQ(engine.Pillars(), before);
  EXPECT_EQ(engine.Request().day, request.day);
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
// Near misses are exactly the moments that the search finds once one ticked condition is dropped
// and not with all of them, each marked with that condition: none is missing, none fails two.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "support/random_search.h"

namespace quorin::chart {
namespace {

// "2025年03月05日08时" of each result, with what it misses.
std::map<std::string, std::string> Found(const SearchRequest& q, const SearchDays& days, int threads) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  engine.SetSearchThreads(threads);
  RecordingSearchSink sink;
  engine.SearchRange(q, days, sink);
  std::map<std::string, std::string> found;
  for (const SearchResult& r : sink.Results()) {
    const std::string line = SearchResultLine(0, r.moment);
    EXPECT_FALSE(found.contains(line)) << line;
    found[line] = r.missed;
  }
  return found;
}

// The request without one of its ticked conditions, named as near misses name it.
struct Dropped {
  std::string name;
  SearchRequest request;
};
std::vector<Dropped> EachDropped(const SearchRequest& q) {
  std::vector<Dropped> out;
  for (const SearchCondition& condition : SearchConditions()) {
    if (condition.group == ConditionGroup::kInclude || !IsSet(q, condition)) continue;
    SearchRequest without = q;
    Set(without, condition, false);
    without.UpdateConditionCounts();
    out.push_back({ConditionCaption(condition), without});
  }
  if (q.qiDigits.count > 0) {
    SearchRequest without = q;
    without.qiDigits = {};
    without.UpdateConditionCounts();
    out.push_back({"卦气组合", without});
  }
  if (q.yunDigits.count > 0) {
    SearchRequest without = q;
    without.yunDigits = {};
    without.UpdateConditionCounts();
    out.push_back({"卦运组合", without});
  }
  return out;
}

SearchRequest RandomRequest(std::mt19937& random) {
  const auto pick = [&](int n) { return testing::Pick(random, n); };
  SearchRequest q = ClearedSearchRequest(2000);
  q.masterYear = 1940 + pick(70);
  testing::PickMountainAndColumn(random, q.mountain, q.mountainGua);
  if (pick(2) == 0) {
    testing::PickMountainAndColumn(random, q.waterMountain, q.waterGua);
  }
  // Two to five conditions, so that moments miss one, two or more.
  const auto conditions = SearchConditions();
  for (int n = 2 + pick(4); n > 0; --n) Set(q, conditions[static_cast<std::size_t>(pick(static_cast<int>(conditions.size())))], true);
  if (pick(3) == 0) q.yunDigits = DigitGroupFromText(std::to_string(1 + pick(9)), false);
  q.UpdateConditionCounts();
  return q;
}

TEST(SearchNearMisses, AreTheMomentsOneDroppedConditionAdmits) {
  std::mt19937 random(1211);
  const SearchDays days{{2025, 3, 1, 0, 0}, {2025, 4, 20, 0, 0}};
  int nearMissesSeen = 0;
  for (int round = 0; round < 15; ++round) {
    SearchRequest q = RandomRequest(random);
    const std::map<std::string, std::string> full = Found(q, days, 1);
    std::map<std::string, std::string> expected = full;
    for (const Dropped& dropped : EachDropped(q)) {
      for (const auto& [moment, missed] : Found(dropped.request, days, 1)) {
        if (full.contains(moment)) continue;
        // Admitted by dropping this condition, so it fails this one and no other.
        EXPECT_FALSE(expected.contains(moment)) << moment << " fails " << expected[moment] << " and " << dropped.name;
        expected[moment] = dropped.name;
      }
    }
    q.nearMisses = true;
    for (const int threads : {1, 2}) {
      const std::map<std::string, std::string> found = Found(q, days, threads);
      EXPECT_EQ(found, expected) << "round " << round << ", " << threads << " threads";
    }
    nearMissesSeen += static_cast<int>(expected.size() - full.size());
  }
  EXPECT_GT(nearMissesSeen, 100);  // the rounds do find near misses
}

TEST(SearchNearMisses, FollowTheFullMatchesInDateOrder) {
  SearchRequest q = ClearedSearchRequest(2025);
  q.mountain = 1;
  q.qi[kQiTen] = true;
  q.avoid[kAvoidClashMasterFlag] = true;
  q.shengRuKeRu = true;
  q.nearMisses = true;
  q.UpdateConditionCounts();
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  RecordingSearchSink sink;
  const int found = engine.Search(q, sink);
  ASSERT_GT(found, 0);
  ASSERT_GT(sink.Results().size(), static_cast<std::size_t>(found));
  for (std::size_t i = 0; i < sink.Results().size(); ++i) {
    const SearchResult& r = sink.Results()[i];
    EXPECT_EQ(r.number, static_cast<int>(i) + 1);
    EXPECT_EQ(r.missed.empty(), static_cast<int>(i) < found);
    EXPECT_EQ(sink.Lines()[i], SearchResultLine(r));
  }
  const auto& near = sink.Results();
  for (std::size_t i = static_cast<std::size_t>(found) + 1; i < near.size(); ++i) {
    EXPECT_LT(SearchResultLine(0, near[i - 1].moment), SearchResultLine(0, near[i].moment));
  }
  // A near miss's line names what it misses and still opens its moment.
  const SearchResult& first = near[static_cast<std::size_t>(found)];
  EXPECT_TRUE(SearchResultLine(first).ends_with("　差：" + first.missed));
  const auto parsed = ParseSearchResultLine(SearchResultLine(first));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->hour, first.moment.hour);
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
// A search for several persons finds exactly the moments each one-person search finds (the same
// request with that person as 主命), in the same order; its near misses name the person who
// misses, and only that person's own search misses the moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "support/random_search.h"

namespace quorin::chart {
namespace {

struct Found {
  std::vector<std::string> full;               // "2025年03月05日08时", in order
  std::map<std::string, std::string> near;     // moment -> what it misses
};

Found Search(const SearchRequest& q, const SearchDays& days) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  RecordingSearchSink sink;
  engine.SearchRange(q, days, sink);
  Found found;
  for (const SearchResult& r : sink.Results()) {
    const std::string moment = SearchResultLine(0, r.moment);
    if (r.missed.empty()) {
      found.full.push_back(moment);
    } else {
      found.near[moment] = r.missed;
    }
  }
  return found;
}

// The request as the one-person search of person `p` (0 = 主命).
SearchRequest OnePerson(const SearchRequest& q, std::size_t p) {
  SearchRequest one = q;
  if (p > 0) one.masterYear = q.otherPersons[p - 1].masterYear;
  one.otherPersons.clear();
  one.nearMisses = false;
  return one;
}

TEST(SearchPersons, FindWhatEveryOnePersonSearchFinds) {
  std::mt19937 random(8);
  const auto pick = [&](int n) { return testing::Pick(random, n); };
  const std::vector<SearchDays> ranges = {{{2025, 1, 1, 0, 0}, {2025, 4, 30, 0, 0}},
                                          {{1582, 9, 20, 0, 0}, {1582, 12, 31, 0, 0}},
                                          {{-44, 2, 1, 0, 0}, {-44, 5, 1, 0, 0}}};
  const std::vector<std::string> roles = {"配偶", "长子", "长女"};
  int nearChecked = 0;
  for (int round = 0; round < 12; ++round) {
    SearchRequest q = ClearedSearchRequest(2000);
    q.masterYear = 1940 + pick(60);
    testing::PickMountainAndColumn(random, q.mountain, q.mountainGua);
    q.includeMaster = pick(3) != 0;
    q.avoid[kAvoidClashMasterFlag] = pick(3) != 0;
    q.qi[static_cast<std::size_t>(pick(kQiConditionCount))] = true;
    if (pick(2) == 0) q.avoid[kAvoidClashMountainFlag] = true;
    q.UpdateConditionCounts();
    for (int p = 0, n = 1 + pick(3); p < n; ++p) q.otherPersons.push_back({roles[static_cast<std::size_t>(p)], pick(2) == 0, 1930 + pick(90)});
    const SearchDays& days = ranges[static_cast<std::size_t>(round) % ranges.size()];

    std::vector<std::set<std::string>> each;
    std::vector<std::string> common;
    for (std::size_t p = 0; p <= q.otherPersons.size(); ++p) {
      const Found one = Search(OnePerson(q, p), days);
      each.emplace_back(one.full.begin(), one.full.end());
      if (p == 0) {
        common = one.full;
      } else {
        std::erase_if(common, [&](const std::string& m) { return !each.back().contains(m); });
      }
    }
    q.nearMisses = true;
    const Found all = Search(q, days);
    EXPECT_EQ(all.full, common) << "round " << round;

    // A near miss named after a person fails that person's search alone; one of a condition that
    // reads no person fails every person's search.
    for (const auto& [moment, missed] : all.near) {
      const auto open = missed.find('(');
      std::size_t whose = each.size();  // every person
      if (open != std::string::npos) {
        const std::string role = missed.substr(open + 1, missed.size() - open - 2);
        whose = role == "主命" ? 0 : static_cast<std::size_t>(std::find(roles.begin(), roles.end(), role) - roles.begin()) + 1;
        ASSERT_LT(whose, each.size()) << missed;
      }
      for (std::size_t p = 0; p < each.size(); ++p) {
        const bool shouldFail = whose == each.size() || p == whose;
        EXPECT_EQ(!each[p].contains(moment), shouldFail) << moment << " " << missed << " person " << p;
      }
      ++nearChecked;
    }
  }
  EXPECT_GT(nearChecked, 100);
}

TEST(SearchPersons, ChangeNothingWhenNoConditionReadsThePerson) {
  SearchRequest q = ClearedSearchRequest(2025);
  q.mountain = 1;
  q.qi[kQiTen] = true;
  q.avoid[kAvoidClashMountainFlag] = true;
  q.UpdateConditionCounts();
  const SearchDays days = WholeYear(2025);
  const Found alone = Search(q, days);
  q.otherPersons = {{"配偶", false, 1960}, {"长子", true, 1990}};
  EXPECT_EQ(Search(q, days).full, alone.full);
  ASSERT_FALSE(alone.full.empty());
}

}  // namespace
}  // namespace quorin::chart

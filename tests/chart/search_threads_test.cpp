// SPDX-License-Identifier: GPL-3.0-or-later
// The search on several threads tells the sink exactly what the walk on one thread tells it:
// the same results in the same order, the same progress steps, the same stop when cancelled,
// and it leaves the engine at the same last moment.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "support/random_search.h"

namespace quorin::chart {
namespace {

// Everything a sink hears, in order; cancels before the day after `cancelAfter` progress steps.
class TranscriptSink final : public SearchSink {
 public:
  explicit TranscriptSink(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
  void SetRange(int minimum, int maximum) override { Note("range " + std::to_string(minimum) + " " + std::to_string(maximum)); }
  void SetPosition(int position) override {
    position_ = position;
    ++steps_;
    Note("position " + std::to_string(position));
  }
  int Position() const override { return position_; }
  void Clear() override { Note("clear"); }
  void AppendLine(std::string_view utf8) override { Note(std::string(utf8)); }
  void AppendResult(const SearchResult& r) override {
    SearchSink::AppendResult(r);
    Note(SearchResultDetail(r) + " " + std::to_string(r.beijing.hour) + " " + std::to_string(r.lunar.day));
  }
  bool Cancelled() const override { return cancelAfter_ >= 0 && steps_ > cancelAfter_; }
  const std::vector<std::string>& Transcript() const { return transcript_; }

 private:
  void Note(std::string line) { transcript_.push_back(std::move(line)); }
  std::vector<std::string> transcript_;
  int position_ = 0;
  int steps_ = 0;
  int cancelAfter_;
};

struct Walk {
  std::vector<std::string> transcript;
  int found = 0;
  std::string error;
  calendar::FourPillars pillars;
  calendar::CivilDateTime lastMoment;  // of the engine's request
};

Walk Search(const SearchRequest& q, const SearchDays& days, int threads, int cancelAfter) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  engine.SetSearchThreads(threads);
  TranscriptSink sink(cancelAfter);
  Walk w;
  w.found = engine.SearchRange(q, days, sink);
  w.transcript = sink.Transcript();
  w.error = engine.ErrorText();
  w.pillars = engine.Pillars();
  const TRecordData& r = engine.Request();
  w.lastMoment = {static_cast<std::int16_t>(r.year), static_cast<std::int16_t>(r.month), static_cast<std::int16_t>(r.day),
                  static_cast<std::int16_t>(r.hour), static_cast<std::int16_t>(r.minute)};
  return w;
}

// A random request: mountain and column, perhaps dragon, water and facing, a few conditions,
// perhaps a digit group and a zone.
SearchRequest RandomRequest(std::mt19937& random) {
  const auto pick = [&](int n) { return testing::Pick(random, n); };
  SearchRequest q = ClearedSearchRequest(2000);
  q.masterYear = 1900 + pick(120);
  testing::PickMountainAndColumn(random, q.mountain, q.mountainGua);
  if (pick(2) == 0) {
    testing::PickMountainAndColumn(random, q.dragonMountain, q.dragonGua);
  }
  q.showFacing = pick(3) == 0;
  for (const SearchCondition& condition : SearchConditions()) {
    if (pick(6) == 0) Set(q, condition, true);
  }
  if (pick(3) == 0) q.qiDigits = DigitGroupFromText(std::to_string(1 + pick(9)) + "," + std::to_string(1 + pick(9)), pick(2) == 0);
  if (pick(4) == 0) q.zone = pick(2) == 0 ? "America/New_York" : "Europe/London";
  q.UpdateConditionCounts();
  return q;
}

TEST(SearchThreads, EqualTheWalkOnOneThread) {
  std::mt19937 random(20261211);
  const std::vector<SearchDays> ranges = {
      {{2023, 1, 1, 0, 0}, {2025, 12, 31, 0, 0}},  // three years
      {{1582, 9, 1, 0, 0}, {1583, 2, 1, 0, 0}},    // over the calendar's reform
      {{-100, 11, 20, 0, 0}, {-99, 3, 7, 0, 0}},   // across 101 BC and 100 BC
      {{9999, 10, 1, 0, 0}, {9999, 12, 31, 0, 0}}, // the calendar's last days
      {{2024, 2, 1, 0, 0}, {2024, 2, 29, 0, 0}},   // shorter than one thread's share
  };
  for (int round = 0; round < 12; ++round) {
    const SearchRequest q = RandomRequest(random);
    const SearchDays& days = ranges[static_cast<std::size_t>(round) % ranges.size()];
    // Uncancelled, and cancelled somewhere in the walk.
    for (const int cancelAfter : {-1, static_cast<int>(random() % 200)}) {
      const Walk one = Search(q, days, 1, cancelAfter);
      for (const int threads : {2, 3, 8}) {
        const Walk many = Search(q, days, threads, cancelAfter);
        const std::string what = "round " + std::to_string(round) + ", " + std::to_string(threads) + " threads";
        EXPECT_EQ(many.transcript, one.transcript) << what;
        EXPECT_EQ(many.found, one.found) << what;
        EXPECT_EQ(many.error, one.error) << what;
        EXPECT_EQ(many.pillars, one.pillars) << what;
        EXPECT_EQ(many.lastMoment, one.lastMoment) << what;
      }
    }
  }
}

}  // namespace
}  // namespace quorin::chart

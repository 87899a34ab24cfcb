// SPDX-License-Identifier: GPL-3.0-or-later
// The search over a year and over a hundred years: every moment listed, and every
// condition at once.
#include <benchmark/benchmark.h>

#include "base/script_text.h"
#include "chart/quorin_day.h"

namespace quorin::chart {
namespace {

SearchRequest Plain(int year) {
  SearchRequest q;
  q.year = year;
  q.masterYear = 1978;
  q.mountain = 1;  // 子山
  q.mountainGua = 1;
  return q;
}

// All 卦气 and 卦运 conditions, both digit groups of six adjacent digits (720
// orderings each), every position included and every avoidance.
SearchRequest Everything(int year) {
  SearchRequest q = Plain(year);
  q.dragonMountain = 5;
  q.dragonGua = 0;
  q.waterMountain = 13;
  q.waterGua = 1;
  q.showFacing = true;
  q.qi.fill(true);
  q.yun.fill(true);
  q.qiDigits = {{1, 2, 3, 4, 6, 7}, 6, true};
  q.yunDigits = {{9, 8, 7, 6, 4, 3}, 6, true};
  q.shengRuKeRu = true;
  q.familyLink = true;
  q.includeMaster = q.includeMountain = q.includeDragon = q.includeWater = q.includeFacing = true;
  q.avoid.fill(true);
  q.UpdateConditionCounts();
  return q;
}

void Run(benchmark::State& state, const SearchRequest& q) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  int found = 0;
  for (auto _ : state) {
    RecordingSearchSink sink;
    found = engine.Search(q, sink);
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = found;
}

// A hundred years (1950-01-01 to 2049-12-31, 438,300 moments) with every condition ticked, on
// every core unless `threads` says otherwise.
void RunHundredYears(benchmark::State& state, const SearchRequest& q, int threads = 0) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  engine.SetSearchThreads(threads);
  const SearchDays days{{1950, 1, 1, 0, 0}, {2049, 12, 31, 0, 0}};
  int found = 0;
  for (auto _ : state) {
    RecordingSearchSink sink;
    found = engine.SearchRange(q, days, sink);
    benchmark::DoNotOptimize(found);
  }
  state.counters["found"] = found;
}

void BM_SearchHundredYearsAllConditions(benchmark::State& state) { RunHundredYears(state, Everything(1950)); }
BENCHMARK(BM_SearchHundredYearsAllConditions)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same for three persons: 主命纳入 and 冲主命 hold for each.
void BM_SearchHundredYearsThreePersons(benchmark::State& state) {
  SearchRequest q = Everything(1950);
  q.otherPersons = {{"配偶", false, 1982}, {"长子", true, 2010}};
  RunHundredYears(state, q);
}
BENCHMARK(BM_SearchHundredYearsThreePersons)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Three persons with only 主命纳入 and 卦气合十, so that most moments are judged for every person.
void BM_SearchHundredYearsThreePersonsOften(benchmark::State& state) {
  SearchRequest q = Plain(1950);
  q.includeMaster = true;
  q.qi[kQiTen] = true;
  q.UpdateConditionCounts();
  q.otherPersons = {{"配偶", false, 1982}, {"长子", true, 2010}};
  RunHundredYears(state, q);
}
BENCHMARK(BM_SearchHundredYearsThreePersonsOften)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same on one thread, as before the search used every core.
void BM_SearchHundredYearsAllConditionsOneThread(benchmark::State& state) {
  RunHundredYears(state, Everything(1950), 1);
}
BENCHMARK(BM_SearchHundredYearsAllConditionsOneThread)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same hundred years as clock times of New York: each moment is read in the zone first.
void BM_SearchHundredYearsZoned(benchmark::State& state) {
  SearchRequest q = Everything(1950);
  q.zone = "America/New_York";
  RunHundredYears(state, q);
}
BENCHMARK(BM_SearchHundredYearsZoned)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SearchYearNoConditions(benchmark::State& state) { Run(state, Plain(2024)); }
BENCHMARK(BM_SearchYearNoConditions)->Unit(benchmark::kMillisecond);

void BM_SearchYearAllConditions(benchmark::State& state) { Run(state, Everything(2024)); }
BENCHMARK(BM_SearchYearAllConditions)->Unit(benchmark::kMillisecond);

// Only the digit groups, so that both are judged at every moment.
void BM_SearchYearDigitGroupsOnly(benchmark::State& state) {
  SearchRequest q = Everything(2024);
  q.qi.fill(false);
  q.yun.fill(false);
  q.shengRuKeRu = q.familyLink = false;
  q.avoid.fill(false);
  q.qiDigits = {{1, 2, 3, 4, 6, 7}, 1, true};  // one digit: the 卦气 group passes often
  q.UpdateConditionCounts();
  Run(state, q);
}
BENCHMARK(BM_SearchYearDigitGroupsOnly)->Unit(benchmark::kMillisecond);

// The result list of a hundred years' search (合十 of 卦气: about 215,000 lines) converted
// into traditional Chinese of Taiwan, line by line as the list shows them.
void BM_ConvertHundredYearResultList(benchmark::State& state) {
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  SearchRequest q = Plain(1950);
  q.qi[2] = true;  // 合十
  q.UpdateConditionCounts();
  RecordingSearchSink sink;
  engine.SearchRange(q, SearchDays{{1950, 1, 1, 0, 0}, {2049, 12, 31, 0, 0}}, sink);
  const base::ScriptConverter converter(base::Script::kTraditionalTaiwan);
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const std::string& line : sink.Lines()) bytes += converter.Convert(line).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["lines"] = static_cast<double>(sink.Lines().size());
}
BENCHMARK(BM_ConvertHundredYearResultList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorin::chart

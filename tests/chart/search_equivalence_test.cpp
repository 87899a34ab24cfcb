// SPDX-License-Identifier: GPL-3.0-or-later
// The search against a plain walk that charts every moment with `Compute` and
// tests it literally: digits by trying every ordering of the group as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "chart/quorin_day.h"
#include "chart/relations.h"
#include "support/temp_dir.h"

namespace quorin::chart {
namespace {

std::string DigitText(const std::vector<ChartSlot>& list, bool useQi) {
  std::string s;
  for (const ChartSlot& slot : list) {
    const int n = (useQi ? slot.guaQi : slot.guaYun) % 9;
    s += static_cast<char>('0' + (n == 0 ? 9 : n));
  }
  return s;
}

bool LiteralDigitMatch(const DigitGroup& g, std::string s) {
  const int n = g.count;
  if (!g.adjacent) {
    for (int i = 0; i < n; ++i) {
      const auto at = s.find(static_cast<char>('0' + g.digits[static_cast<std::size_t>(i)]));
      if (at == std::string::npos) return false;
      s.erase(at, 1);
    }
    return true;
  }
  std::vector<int> p(static_cast<std::size_t>(n));
  std::iota(p.begin(), p.end(), 0);
  do {
    std::string t;
    for (int i : p) t += static_cast<char>('0' + g.digits[static_cast<std::size_t>(i)]);
    if (s.find(t) != std::string::npos) return true;
  } while (std::next_permutation(p.begin(), p.end()));
  return false;
}

bool LiteralGroup(const std::vector<ChartSlot>& list, bool useQi, const bool* flags, const DigitGroup& digits,
                  int required) {
  auto number = [&](const ChartSlot& s) { return useQi ? s.guaQi : s.guaYun; };
  int hits = 0;
  if (flags[0] && std::all_of(list.begin(), list.end(), [&](const ChartSlot& s) { return number(s) == number(list[0]); })) {
    ++hits;
  }
  int five = 0, ten = 0, fifteen = 0, generation = 0, through = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (std::size_t j = i + 1; j < list.size(); ++j) {
      const PairRelationResult r = PairRelation(list[i], list[j], useQi);
      five += r.heShu == 0;
      ten += r.heShu == 1;
      fifteen += r.heShu == 2;
      generation += r.heSheng != -1;
      through += r.xiangTong > 0;
    }
  }
  hits += (flags[1] && five > 0) + (flags[2] && ten > 0) + (flags[3] && fifteen > 0) + (flags[4] && generation > 0);
  if (!useQi && flags[5] && through > 0) ++hits;
  if (digits.count > 0 && LiteralDigitMatch(digits, DigitText(list, useQi))) ++hits;
  return hits == required;
}

bool LiteralPasses(const SearchRequest& q, const MQuorinDay& e) {
  std::vector<ChartSlot> list;
  if (q.includeDragon && q.dragonMountain != -1) list.push_back(e.Slot(kSlotDragon));
  if (q.includeWater && q.waterMountain != -1) list.push_back(e.Slot(kSlotWater));
  if (q.includeMaster) list.push_back(e.Slot(kSlotMaster));
  if (q.includeMountain) list.push_back(e.Slot(kSlotMountain));
  if (q.includeFacing && q.showFacing) list.push_back(e.Slot(kSlotFacing));
  for (int i = 0; i < 4; ++i) list.push_back(e.Slot(i));

  const bool qiPassed = q.qiConditionCount == 0 || LiteralGroup(list, true, q.qi.data(), q.qiDigits, q.qiConditionCount);
  if (!qiPassed) return false;
  if (q.yunConditionCount > 0 && !LiteralGroup(list, false, q.yun.data(), q.yunDigits, q.yunConditionCount)) return false;
  if (q.shengRuKeRu) {
    auto rank = [](int kind) {
      return kind == kKindMountain ? 30 : kind == kKindMaster ? 25 : kind == kKindFacing ? 20 : kind == kKindDragon ? 15
             : kind == kKindWater ? 10 : kind == kKindDay ? 5 : 0;
    };
    std::size_t host = 0;
    for (std::size_t i = 1; i < list.size(); ++i) host = rank(list[i].kind) > rank(list[host].kind) ? i : host;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const int r = ElementRelation(list[i].guaQi, list[host].guaQi);
      if (i != host && r != 3 && r != 4) return false;
    }
  }
  if (q.familyLink) {
    for (std::size_t i = 1; i < list.size(); ++i) {
      const FamilyRolePair roles = FamilyRoles(list[0].gua, list[i].gua);
      if (roles.a <= 0 || roles.b <= 0) return false;
    }
  }
  const AvoidInfo& a = e.Avoid();
  for (int i = 0; i < 4; ++i) {
    const int branch = e.Slot(i).jiazi % 12;
    const int gua = e.Slot(i).gua;
    if ((q.avoid[0] && branch == a[0]) || (q.avoid[1] && (branch == a[1] || branch == a[2] || branch == a[3])) ||
        (q.avoid[2] && branch == a[4]) || (q.avoid[3] && gua == a[5]) || (q.avoid[4] && gua == a[6])) {
      return false;
    }
  }
  return true;
}

// Charts 00:05, 02:05 … 22:05 of every day of the year one by one.
std::vector<std::string> StepByStep(const SearchRequest& q, const std::string& settings) {
  MQuorinDay engine;
  engine.SetSettingsPath(settings);
  TRecordData r;
  r.ResetRecord();
  r.longitude = 120;
  r.latitude = 30;
  r.addrName = "未知地";
  r.masterYear = q.masterYear;
  r.mountain = q.mountain;
  r.mountainGua = q.mountainGua;
  r.dragonMountain = q.dragonMountain;
  r.dragonGua = q.dragonGua;
  r.waterMountain = q.waterMountain;
  r.waterGua = q.waterGua;
  r.showFacing = q.showFacing;
  std::vector<std::string> lines;
  calendar::CivilDateTime m{static_cast<std::int16_t>(q.year), 1, 1, 0, 5};
  calendar::JulianDay jd = engine.Date().ToJulianDay(m);
  while (m.year == q.year) {
    r.year = m.year;
    r.month = m.month;
    r.day = m.day;
    r.hour = m.hour;
    r.minute = m.minute;
    EXPECT_TRUE(engine.Compute(r));
    if (LiteralPasses(q, engine)) lines.push_back(SearchResultLine(static_cast<int>(lines.size()) + 1, m));
    jd += 1.0 / 12;
    m = engine.DateFromJD(jd);
  }
  return lines;
}

// A varied request: a few conditions of each kind, drawn from a fixed seed.
SearchRequest Drawn(std::mt19937& random, int year) {
  auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  SearchRequest q;
  q.year = year;
  q.masterYear = 1940 + pick(60);
  q.mountain = pick(24);
  q.mountainGua = 0;
  if (chance(50)) {
    q.dragonMountain = static_cast<std::int16_t>(pick(24));
    q.dragonGua = 0;
  }
  if (chance(50)) {
    q.waterMountain = static_cast<std::int16_t>(pick(24));
    q.waterGua = 1;
  }
  q.showFacing = chance(50);
  for (bool& f : q.qi) f = chance(20);
  for (bool& f : q.yun) f = chance(20);
  for (DigitGroup* g : {&q.qiDigits, &q.yunDigits}) {
    if (!chance(40)) continue;
    g->count = static_cast<std::uint8_t>(1 + pick(6));
    for (int i = 0; i < g->count; ++i) g->digits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(1 + pick(9));
    g->adjacent = chance(60);
  }
  q.shengRuKeRu = chance(15);
  q.familyLink = chance(15);
  q.includeMaster = chance(40);
  q.includeMountain = chance(40);
  q.includeDragon = chance(50);
  q.includeWater = chance(50);
  q.includeFacing = chance(50);
  for (bool& f : q.avoid) f = chance(30);
  q.UpdateConditionCounts();
  return q;
}

TEST(SearchEquivalence, SameLinesAsChartingEveryMoment) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("set.ini"), "[set]\r\nijiazi=1\r\nbRiGua=1\r\n");
  std::mt19937 random(20240607);
  const int years[] = {2024, 2023, 1582, 1900, -120, 9999};
  int partial = 0;  // rounds that kept some moments and dropped others
  for (int round = 0; round < 18; ++round) {
    const SearchRequest q = Drawn(random, years[round % 6]);
    const std::string settings = round % 3 == 0 ? dir.File("set.ini") : dir.File("none.ini");
    MQuorinDay engine;
    engine.SetSettingsPath(settings);
    RecordingSearchSink sink;
    const int found = engine.Search(q, sink);
    const std::vector<std::string> expected = StepByStep(q, settings);
    EXPECT_EQ(sink.Lines(), expected) << "round " << round;
    EXPECT_EQ(found, static_cast<int>(expected.size()));
    partial += found > 0 && found < 4000 ? 1 : 0;
  }
}

// Digit groups alone, where the orderings matter most: six digits, 720 orderings.
TEST(SearchEquivalence, AdjacentDigitGroupsOfEverySize) {
  std::mt19937 random(7);
  for (int n = 1; n <= 6; ++n) {
    SearchRequest q;
    q.year = 2025;
    q.masterYear = 1978;
    q.includeMaster = true;
    q.includeMountain = n % 2 == 0;
    q.mountain = 1;
    for (DigitGroup* g : {&q.qiDigits, &q.yunDigits}) {
      g->count = static_cast<std::uint8_t>(n);
      g->adjacent = true;
    }
    for (int i = 0; i < n; ++i) {
      q.qiDigits.digits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(1 + random() % 9);
      q.yunDigits.digits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(1 + random() % 9);
    }
    // Without the 卦气 group the 卦运 digits are judged on every moment.
    if (n > 3) q.qiDigits = {};
    q.UpdateConditionCounts();
    MQuorinDay engine;
    engine.SetSettingsPath("/nonexistent/set.ini");
    RecordingSearchSink sink;
    engine.Search(q, sink);
    EXPECT_EQ(sink.Lines(), StepByStep(q, "/nonexistent/set.ini")) << n << " digits";
  }
}

// A range is the year searches it covers, cut to its days and numbered anew.
std::vector<std::string> YearsCutToDays(const SearchRequest& request, const SearchDays& days) {
  std::vector<std::string> lines;
  const auto key = [](const SearchResultMoment& m) { return std::array<int, 3>{m.year, m.month, m.day}; };
  const std::array<int, 3> first{days.first.year, days.first.month, days.first.day};
  const std::array<int, 3> last{days.last.year, days.last.month, days.last.day};
  for (int year = days.first.year; year <= days.last.year; ++year) {
    SearchRequest q = request;
    q.year = year;
    MQuorinDay engine;
    engine.SetSettingsPath("/nonexistent/set.ini");
    RecordingSearchSink sink;
    engine.Search(q, sink);
    for (const std::string& line : sink.Lines()) {
      const auto m = ParseSearchResultLine(line);
      if (!m || key(*m) < first || key(*m) > last) continue;
      lines.push_back(SearchResultLine(static_cast<int>(lines.size()) + 1,
                                       {static_cast<std::int16_t>(m->year), static_cast<std::int16_t>(m->month),
                                        static_cast<std::int16_t>(m->day), static_cast<std::int16_t>(m->hour), 5}));
    }
  }
  return lines;
}

TEST(SearchEquivalence, RangeIsTheYearSearchesCutToItsDays) {
  using calendar::CivilDateTime;
  struct Case {
    CivilDateTime first, last;
    int days;
  };
  const Case cases[] = {
      {{2024, 3, 10, 0, 0}, {2024, 5, 2, 0, 0}, 54},       // inside one year
      {{2023, 11, 20, 0, 0}, {2024, 2, 10, 0, 0}, 83},     // across a year end
      {{-1, 12, 1, 0, 0}, {1, 1, 31, 0, 0}, 31 + 366 + 31},  // 2 BC, 1 BC (0, leap) and AD 1
      {{1582, 9, 28, 0, 0}, {1582, 10, 20, 0, 0}, 13},     // over the reform's ten missing days
      {{2025, 7, 7, 0, 0}, {2025, 7, 7, 0, 0}, 1},         // one day
  };
  std::mt19937 random(1717);
  for (const Case& c : cases) {
    const SearchDays days{c.first, c.last};
    ASSERT_EQ(SearchDaysProblem(days), "");
    for (int round = 0; round < 2; ++round) {
      // Nothing ticked once (every moment), then a drawn mix of conditions.
      SearchRequest q = round == 0 ? SearchRequest{} : Drawn(random, c.first.year);
      q.masterYear = 1970;
      MQuorinDay engine;
      engine.SetSettingsPath("/nonexistent/set.ini");
      RecordingSearchSink sink;
      const int found = engine.SearchRange(q, days, sink);
      EXPECT_EQ(sink.Lines(), YearsCutToDays(q, days)) << c.first.year << "-" << c.first.month << " round " << round;
      EXPECT_EQ(found, static_cast<int>(sink.Lines().size()));
      EXPECT_EQ(sink.Maximum(), c.days);
      EXPECT_EQ(sink.Position(), c.days);
      if (round == 0) {
        EXPECT_EQ(found, 12 * c.days);
      }
    }
  }
}

TEST(SearchEquivalence, DaysThatCannotBeSearched) {
  using calendar::CivilDateTime;
  struct Case {
    SearchDays days;
    std::string problem;
  };
  const Case cases[] = {
      {{{2024, 5, 2, 0, 0}, {2024, 5, 1, 0, 0}}, kReversedSearchDays},
      {{{1900, 3, 1, 0, 0}, {2000, 3, 1, 0, 0}}, kTooLongSearchDays},
      {{{1900, 3, 1, 0, 0}, {2000, 2, 29, 0, 0}}, ""},  // exactly 100 years
      {{{1582, 10, 5, 0, 0}, {1582, 10, 20, 0, 0}}, calendar::kNoSuchDate},
      {{{2023, 2, 29, 0, 0}, {2023, 3, 1, 0, 0}}, calendar::kNoSuchDate},
      {{{-4713, 1, 1, 0, 0}, {-4712, 1, 1, 0, 0}}, calendar::kConvertedYearOutOfRange},
      {{{9999, 1, 1, 0, 0}, {10000, 1, 1, 0, 0}}, calendar::kConvertedYearOutOfRange},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SearchDaysProblem(c.days), c.problem) << c.days.first.year << "-" << c.days.first.month;
    if (c.problem.empty()) continue;
    MQuorinDay engine;
    engine.SetSettingsPath("/nonexistent/set.ini");
    RecordingSearchSink sink;
    EXPECT_EQ(engine.SearchRange(SearchRequest{}, c.days, sink), 0);
    EXPECT_TRUE(sink.Lines().empty());
    EXPECT_EQ(engine.ErrorText(), c.problem);
  }
}

// A sink that asks to stop after some days keeps what was found until then.
TEST(SearchEquivalence, CancelledRangeKeepsTheDaysSearched) {
  class StopAfter final : public SearchSink {
   public:
    explicit StopAfter(int days) : days_(days) {}
    void SetRange(int, int) override {}
    void SetPosition(int position) override { position_ = position; }
    int Position() const override { return position_; }
    void Clear() override { lines.clear(); }
    void AppendLine(std::string_view utf8) override { lines.emplace_back(utf8); }
    bool Cancelled() const override { return position_ >= days_; }
    std::vector<std::string> lines;

   private:
    int days_;
    int position_ = 0;
  };
  StopAfter sink(3);
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  EXPECT_EQ(engine.SearchRange(SearchRequest{}, {{1950, 1, 1, 0, 0}, {2049, 12, 31, 0, 0}}, sink), 36);
  ASSERT_EQ(sink.lines.size(), 36u);
  EXPECT_EQ(sink.lines.back(), "36：1950年01月03日22时");
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/pillar_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calendar/sexagenary.h"

namespace quorin::calendar {
namespace {

Jiazi PillarNamed(const std::string& name) {
  for (int number = 0; number < kJiaziCount; ++number) {
    if (Jiazi(number).Name() == name) return Jiazi(number);
  }
  ADD_FAILURE() << "no pillar " << name;
  return Jiazi(0);
}

FourPillars PillarsNamed(const std::string& year, const std::string& month, const std::string& day,
                         const std::string& hour) {
  const auto number = [](const std::string& name) { return static_cast<std::int16_t>(PillarNamed(name).Number()); };
  return {number(year), number(month), number(day), number(hour)};
}

FourPillars PillarsOf(const CivilDateTime& moment) {
  MYiDateEx date;
  PreparedMoment prepared;
  MomentInput input;
  input.entered = moment;
  if (!date.PrepareMoment(input, prepared).ok) return {};
  return date.ComputeFourPillars(prepared);
}

// The first moment from a start year carrying four pillars, at the minute 0 of the hour's even
// clock hour; the charted pillars of the moment found are those searched.
TEST(PillarSearch, FindsTheFirstMomentCarryingThePillars) {
  struct Case {
    const char* label;
    FourPillars wanted;
    int start;
    std::optional<CivilDateTime> found;
  };
  const Case cases[] = {
      {"甲辰 寅 month", PillarsNamed("甲辰", "丙寅", "乙巳", "丙子"), 1950, CivilDateTime{1964, 2, 26, 0, 0}},
      {"甲子 卯 month", PillarsNamed("甲子", "丁卯", "癸卯", "戊午"), 1900, CivilDateTime{1924, 3, 25, 12, 0}},
      // 2000-02-04 20:41 carries these pillars, but 20:00 of that day lies before 立春.
      {"hour before the term", PillarsNamed("庚辰", "戊寅", "壬辰", "庚戌"), 1950, CivilDateTime{2180, 2, 20, 20, 0}},
      {"丑 month opens in January", PillarsNamed("甲辰", "丁丑", "己卯", "己巳"), 2024,
       CivilDateTime{2025, 1, 10, 10, 0}},
      {"子 month runs into January", PillarsNamed("甲辰", "丙子", "辛未", "乙未"), 2024,
       CivilDateTime{2025, 1, 2, 14, 0}},
      {"a later start finds the next cycle", PillarsNamed("甲辰", "丙寅", "乙巳", "丙子"), 1965,
       CivilDateTime{2024, 2, 11, 0, 0}},
      {"before Christ (year 0 = 1 BC)", PillarsNamed("庚申", "丁亥", "丙午", "甲午"), -10,
       CivilDateTime{0, 12, 1, 12, 0}},
      // A moment after the calendar's last year could not be charted.
      {"none up to the last year", PillarsNamed("甲子", "丙寅", "甲子", "甲子"), 9999, std::nullopt},
  };
  for (const Case& c : cases) {
    MYiDateEx date;
    const std::optional<CivilDateTime> found = FindPillarMoment(date, c.wanted, c.start);
    const auto text = [](const std::optional<CivilDateTime>& m) {
      return m ? std::to_string(m->year) + "-" + std::to_string(m->month) + "-" + std::to_string(m->day) + " " +
                     std::to_string(m->hour) + ":" + std::to_string(m->minute)
               : std::string("none");
    };
    EXPECT_EQ(text(found), text(c.found)) << c.label;
    if (found) {
      EXPECT_EQ(PillarsOf(*found), c.wanted) << c.label;
    }
  }
}

// Positions in the order 甲 … 癸 and 子 … 亥; the month stem follows the year stem (甲 year: 丙寅,
// 癸 year: 甲寅) and the hour stem the day stem (甲 day: 甲子, 癸 day: 壬子).
TEST(PillarSearch, BuildsMonthAndHourStemsFromYearAndDayStems) {
  struct Case {
    PillarChoice choice;
    FourPillars pillars;
    int invalidPillar;
  };
  const Case cases[] = {
      {{0, 0, 2, 0, 0, 0}, PillarsNamed("甲子", "丙寅", "甲子", "甲子"), -1},
      {{9, 11, 2, 9, 11, 0}, PillarsNamed("癸亥", "甲寅", "癸亥", "壬子"), -1},
      {{0, 0, 0, 0, 0, 0}, PillarsNamed("甲子", "丙子", "甲子", "甲子"), -1},
      {{0, 4, 2, 1, 5, 0}, PillarsNamed("甲辰", "丙寅", "乙巳", "丙子"), -1},
  };
  for (const Case& c : cases) {
    const BuiltPillars built = BuildPillars(c.choice);
    EXPECT_EQ(built.invalidPillar, c.invalidPillar);
    EXPECT_EQ(built.pillars, c.pillars);
    // The positions of the built pillars are those chosen.
    const PillarChoice back = ChoiceOfPillars(built.pillars);
    EXPECT_EQ(back.yearStem, c.choice.yearStem);
    EXPECT_EQ(back.monthBranch, c.choice.monthBranch);
    EXPECT_EQ(back.dayBranch, c.choice.dayBranch);
    EXPECT_EQ(back.hourBranch, c.choice.hourBranch);
  }
  // A stem and branch of different parity form no pillar: the first such pillar is named (年 0, 日 2).
  EXPECT_EQ(BuildPillars({0, 1, 0, 0, 0, 0}).invalidPillar, 0);
  EXPECT_EQ(BuildPillars({0, 0, 0, 1, 0, 0}).invalidPillar, 2);
}

}  // namespace
}  // namespace quorin::calendar

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/moment_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorin::calendar {
namespace {

// One row: the text, then what it reads as when a date is asked for and when a moment is.
struct Row {
  std::string_view text;
  std::optional<TypedMoment> date, moment;
};
constexpr std::optional<TypedMoment> kRefused;

// What every command takes as a date and as a moment, and what it refuses.
TEST(MomentText, WhatReadsAsADateAndAsAMoment) {
  const Row cases[] = {
      {"2024-03-15", TypedMoment{2024, 3, 15, 0, 0}, TypedMoment{2024, 3, 15, 0, 0}},
      {"2024-3-5", TypedMoment{2024, 3, 5, 0, 0}, TypedMoment{2024, 3, 5, 0, 0}},
      {"02024-03-15", TypedMoment{2024, 3, 15, 0, 0}, TypedMoment{2024, 3, 15, 0, 0}},
      // Historical years: a leading '-' is BC; 0 and years the calendar lacks are read, for the
      // caller to refuse with its own message.
      {"-104-01-24", TypedMoment{-104, 1, 24, 0, 0}, TypedMoment{-104, 1, 24, 0, 0}},
      {"0-03-01", TypedMoment{0, 3, 1, 0, 0}, TypedMoment{0, 3, 1, 0, 0}},
      {"123456-12-31", TypedMoment{123456, 12, 31, 0, 0}, TypedMoment{123456, 12, 31, 0, 0}},
      {"99999999999-01-01", kRefused, kRefused},
      // A time: one or more spaces or a 'T', hour and minute of one or two digits.
      {"2024-03-15 10:30", kRefused, TypedMoment{2024, 3, 15, 10, 30}},
      {"2024-03-15   9:05", kRefused, TypedMoment{2024, 3, 15, 9, 5}},
      {"2024-03-15T23:59", kRefused, TypedMoment{2024, 3, 15, 23, 59}},
      {"-1-12-31 0:0", kRefused, TypedMoment{-1, 12, 31, 0, 0}},
      {"2024-03-15 10", kRefused, kRefused},
      {"2024-03-15 10:", kRefused, kRefused},
      {"2024-03-15 :30", kRefused, kRefused},
      {"2024-03-15 10:30:00", kRefused, kRefused},
      {"2024-03-15 010:30", kRefused, kRefused},
      {"2024-03-15 T10:30", kRefused, kRefused},
      {"2024-03-15\t10:30", kRefused, kRefused},
      // What no calendar has.
      {"2024-13-01", kRefused, kRefused},
      {"2024-00-10", kRefused, kRefused},
      {"2024-01-32", kRefused, kRefused},
      {"2024-01-00", kRefused, kRefused},
      {"2024-03-15 24:00", kRefused, kRefused},
      {"2024-03-15 23:60", kRefused, kRefused},
      // Nothing around or inside the fields: blanks, signs, more digits, other separators.
      {" 2024-03-15", kRefused, kRefused},
      {"2024-03-15 ", kRefused, kRefused},
      {"2024-03-15 10:30 ", kRefused, kRefused},
      {"2024- 3-15", kRefused, kRefused},
      {"2024-03-15 10: 30", kRefused, kRefused},
      {"+2024-03-15", kRefused, kRefused},
      {"2024-+3-15", kRefused, kRefused},
      {"--5-01-01", kRefused, kRefused},
      {"2024-003-15", kRefused, kRefused},
      {"2024-03-15x", kRefused, kRefused},
      {"2024/03/15", kRefused, kRefused},
      {"2024-03", kRefused, kRefused},
      {"-", kRefused, kRefused},
      {"", kRefused, kRefused},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDateText(c.text), c.date) << c.text;
    EXPECT_EQ(ParseMomentText(c.text), c.moment) << c.text;
  }
}

TEST(MomentText, TheCalendarsYearsInAstronomicalNumbering) {
  EXPECT_EQ(AstronomicalMoment({-1, 12, 31, 23, 59}), (CivilDateTime{0, 12, 31, 23, 59}));
  EXPECT_EQ(AstronomicalMoment({-4713, 1, 1, 0, 0}), (CivilDateTime{-4712, 1, 1, 0, 0}));
  EXPECT_EQ(AstronomicalMoment({9999, 12, 31, 0, 0}), (CivilDateTime{9999, 12, 31, 0, 0}));
  for (const int year : {0, -4714, 10000, 67560}) {
    EXPECT_EQ(AstronomicalMoment({year, 1, 1, 0, 0}), std::nullopt) << year;
  }
}

}  // namespace
}  // namespace quorin::calendar

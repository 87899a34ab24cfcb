// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/compass.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "chart/domain_tables.h"

namespace quorin::chart {
namespace {

TEST(Compass, TypedDegrees) {
  const struct {
    std::string_view text;
    std::optional<float> degrees;
  } cases[] = {
      {"18", 18.0f},
      {"18-12", 18.2f},
      {"18:12", 18.2f},
      {" 179-54", 179.9f},
      {"\u3000" "90\u3000", 90.0f},  // the ideographic space is a blank
      {"18.5", std::nullopt},      // no whole number
      {"-5", -5.0f},               // a leading '-' is a sign
      {"18-x", 18.0f},             // bad minutes read as 0
      {"x-30", std::nullopt},      // a bad degree part is no degree
      {"x-90", std::nullopt},      // ... even when the minutes would carry it into the circle
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<float> degrees = ParseCompassDegrees(c.text);
    ASSERT_EQ(degrees.has_value(), c.degrees.has_value()) << "'" << c.text << "'";
    if (degrees) {
      EXPECT_FLOAT_EQ(*degrees, *c.degrees) << "'" << c.text << "'";
    }
  }
}

// Arc boundaries decide the side: 0 and 360 fall into 坤 of 子, 11°15' into 屯.
TEST(Compass, MountainAndGuaOfTypedDegrees) {
  const struct {
    std::string_view text;
    int mountain;
    int guaPosition;
  } cases[] = {
      {"352-30", 1, 0}, {"1", 1, 2},      {"18-12", 2, 2}, {"18:12", 2, 2}, {"351", 0, 2},
      {"179-54", 13, 1}, {"360", 1, 1},   {"0", 1, 1},     {"11-15", 2, 1}, {"337-30", 0, 0},
  };
  for (const auto& c : cases) {
    const MountainAndGua found = MountainAndGuaOfDegrees(ParseCompassDegrees(c.text).value());
    EXPECT_EQ(found.mountain, c.mountain) << c.text;
    EXPECT_EQ(found.guaPosition, c.guaPosition) << c.text;
  }
}

// Every minute of the circle lands on a mountain and on a gua that mountain lists.
TEST(Compass, EveryMinuteOfTheCircleLandsOnAListedGua) {
  for (int minutes = 0; minutes <= 360 * 60; ++minutes) {
    const MountainAndGua found = MountainAndGuaOfDegrees(static_cast<float>(minutes / 60.0));
    ASSERT_GE(found.mountain, 0) << minutes;
    ASSERT_LT(found.mountain, kMountainCount) << minutes;
    ASSERT_GE(found.guaPosition, 0) << minutes;
    ASSERT_LT(found.guaPosition, kMountainColumns) << minutes;
    ASSERT_GE(GuaForMountain(found.mountain, found.guaPosition), 0) << minutes;
  }
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/text_parse.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorin::base {
namespace {

constexpr std::optional<int> kNone;

// One table for the three integer readers: plain decimal, with hexadecimal, and typed into an edit.
TEST(TextParse, WhatReadsAsAnInteger) {
  const struct {
    std::string_view text;
    std::optional<int> decimal, withHex, typed;
  } cases[] = {
      {"18", 18, 18, 18},
      {"+7", 7, 7, 7},
      {"-120", -120, -120, -120},
      {"007", 7, 7, 7},
      {"-0", 0, 0, 0},
      {"2147483647", 2147483647, 2147483647, 2147483647},
      {"-2147483648", -2147483647 - 1, -2147483647 - 1, -2147483647 - 1},
      // Blanks: only a typed number may have them, and the ideographic space is one.
      {"  -120 ", kNone, kNone, -120},
      {"\u300018\u3000", kNone, kNone, 18},
      {"\t5\r\n", kNone, kNone, 5},
      {"- 5", kNone, kNone, kNone},
      // Hexadecimal after the sign; without '-' it is a 32-bit pattern.
      {"0x1F", kNone, 31, 31},
      {"$ff", kNone, 255, 255},
      {"-$10", kNone, -16, -16},
      {"+$10", kNone, 16, 16},
      {"$7FFFFFFF", kNone, 2147483647, 2147483647},
      {"$80000000", kNone, -2147483647 - 1, -2147483647 - 1},
      {"$FFFFFFFF", kNone, -1, -1},
      {"0xFF00000F", kNone, -16777201, -16777201},
      {"-$80000000", kNone, -2147483647 - 1, -2147483647 - 1},
      {"-$80000001", kNone, kNone, kNone},
      {"-$FFFFFFFF", kNone, kNone, kNone},
      {"$100000000", kNone, kNone, kNone},
      {"$", kNone, kNone, kNone},
      {"0x", kNone, kNone, kNone},
      {"$-5", kNone, kNone, kNone},
      {"$ 10", kNone, kNone, kNone},
      {"0x0x5", kNone, kNone, kNone},
      // Signs: one at most.
      {"--5", kNone, kNone, kNone},
      {"+-5", kNone, kNone, kNone},
      {"-", kNone, kNone, kNone},
      // Overflow.
      {"2147483648", kNone, kNone, kNone},
      {"-2147483649", kNone, kNone, kNone},
      {"99999999999999999999999", kNone, kNone, kNone},
      // Empty text and everything else that is no whole number.
      {"", kNone, kNone, kNone},
      {"   ", kNone, kNone, kNone},
      {"18.5", kNone, kNone, kNone},
      {"１８", kNone, kNone, kNone},  // full-width digits
      {"1,000", kNone, kNone, kNone},
      {"12abc", kNone, kNone, kNone},
      {"1 2", kNone, kNone, kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInt(c.text), c.decimal) << "'" << c.text << "'";
    EXPECT_EQ(ParseIntOrHex(c.text), c.withHex) << "'" << c.text << "'";
    EXPECT_EQ(ParseTypedInt(c.text), c.typed) << "'" << c.text << "'";
  }
}

TEST(TextParse, SixtyFourBitIntegersAndNumbers) {
  EXPECT_EQ(ParseInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(ParseInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseInt64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseInt64("+-1"), std::nullopt);
  EXPECT_EQ(ParseInt64("0x10"), std::nullopt);

  const struct {
    std::string_view text;
    std::optional<double> value;
  } numbers[] = {
      {"-73.5", -73.5}, {"+1.5", 1.5}, {".5", 0.5}, {"12", 12.0}, {"1e3", 1000.0},
      {"", std::nullopt}, {"+", std::nullopt}, {"--1", std::nullopt}, {"+-1", std::nullopt},
      {" 1", std::nullopt}, {"1.5e", std::nullopt}, {"1e999", std::nullopt}, {"inf", std::nullopt},
      {"-nan", std::nullopt}, {"0x10", std::nullopt},
  };
  for (const auto& n : numbers) EXPECT_EQ(ParseNumber(n.text), n.value) << "'" << n.text << "'";
}

TEST(TextParse, TrimTakesAsciiBlanksAndTypedTrimAlsoUnicodeOnes) {
  EXPECT_EQ(Trim(" \t\v\f\r\na b \r\n"), "a b");
  EXPECT_EQ(Trim("\u3000a\u3000"), "\u3000a\u3000");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimTyped("\u3000 a b\u00A0\u2028"), "a b");
  EXPECT_EQ(TrimTyped("\u3000"), "");
  // A GBK name whose last byte is not a blank stays whole.
  EXPECT_EQ(Trim("\xCB\xCE\xCC\xE5 "), "\xCB\xCE\xCC\xE5");
}

}  // namespace
}  // namespace quorin::base

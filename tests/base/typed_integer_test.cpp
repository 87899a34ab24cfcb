#include "base/typed_integer.h"

#include <gtest/gtest.h>

namespace quorin::base {
namespace {

TEST(TypedInteger, WhatReadsAsANumber) {
  const struct {
    std::string_view text;
    int value;
  } cases[] = {
      {"18", 18},
      {"  -120 ", -120},
      {"+7", 7},
      {"\u300018\u3000", 18},  // the ideographic space is a blank
      {"0x1F", 31},
      {"$ff", 255},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      // Anything else reads as the fallback.
      {"", -1},
      {"   ", -1},
      {"18.5", -1},
      {"１８", -1},  // full-width digits
      {"1,000", -1},
      {"--5", -1},
      {"+-5", -1},
      {"0x", -1},
      {"12abc", -1},
      {"2147483648", -1},
      {"-2147483649", -1},
      {"99999999999999999999999", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(IntegerOrDefault(c.text, -1), c.value) << "'" << c.text << "'";
}

}  // namespace
}  // namespace quorin::base

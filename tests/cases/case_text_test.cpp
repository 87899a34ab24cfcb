// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_text.h"

#include <gtest/gtest.h>

namespace quorin::cases {
namespace {

// Case and category names: nothing trimmed, only a removal counts as a change, and a
// name left empty becomes "甲".
TEST(CaseNames, CategoryAndCaseNameRule) {
  const struct {
    std::string_view typed;
    std::string_view stored;
    bool changed;
  } cases[] = {
      {"开业", "开业", false},
      {"a b", "ab", true},
      {"a\"*<>?\\/|:' b", "ab", true},
      {"***", "甲", true},
      {"", "甲", false},
      {"一二三四五六七八九十十一", "一二三四五六七八九十", false},
      {"一*二三四五六七八九十十一", "一二三四五六七八九十", true},
  };
  for (const auto& c : cases) {
    bool changed = !c.changed;
    EXPECT_EQ(CleanCaseName(c.typed, &changed), c.stored) << c.typed;
    EXPECT_EQ(changed, c.changed) << c.typed;
  }
}

// The chart's person name: empty becomes "甲", and a cut counts as a change too.
TEST(CaseNames, ChartNameRule) {
  const struct {
    std::string_view trimmed;
    std::string_view name;
    bool changed;
  } cases[] = {
      {"王五", "王五", false},
      {"", "甲", true},
      {"张*三", "张三", true},
      {"一二三四五六七八九十十一", "一二三四五六七八九十", true},
      {"一二三四五六七八九十", "一二三四五六七八九十", false},
      {"***", "", true},
  };
  for (const auto& c : cases) {
    const CleanedName cleaned = CleanChartName(c.trimmed);
    EXPECT_EQ(cleaned.name, c.name) << c.trimmed;
    EXPECT_EQ(cleaned.changed, c.changed) << c.trimmed;
  }
}

}  // namespace
}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search_conditions.h"

#include <gtest/gtest.h>

#include <sstream>

#include "chart/search.h"
#include "support/temp_dir.h"

namespace quorin::chart {
namespace {

// The first row of a README table that names `option` ("`--qi LIST`").
std::string ReadmeRow(const std::string& option) {
  std::istringstream readme(testing::ReadBytes(testing::SourcePath("README.md")));
  for (std::string line; std::getline(readme, line);) {
    if (line.starts_with("| ") && line.find(option) != std::string::npos) return line;
  }
  return {};
}

// The README names the conditions of every option as the table does, in the same order.
TEST(SearchConditions, ReadmeListsTheTablesConditions) {
  for (const SearchConditionGroup& group : SearchConditionGroups()) {
    if (group.listOption.empty()) continue;
    const std::string row = ReadmeRow("`--" + std::string(group.listOption) + " LIST`");
    ASSERT_FALSE(row.empty()) << group.listOption;
    EXPECT_TRUE(row.ends_with(": " + ListedNames(group.group, ",") + " |")) << row;
  }
  for (const SearchCondition& condition : SearchConditions()) {
    if (condition.flagOption.empty()) continue;
    const std::string row = ReadmeRow("`--" + std::string(condition.flagOption) + "`");
    ASSERT_FALSE(row.empty()) << condition.flagOption;
    EXPECT_NE(row.find(condition.name), std::string::npos) << row;
  }
  EXPECT_TRUE(ReadmeRow("`--pattern NAME`").find("ready pattern " + ReadyPatternNames(" ") + " (") !=
              std::string::npos);
}

// Each condition reaches a flag of its own, and the check boxes read as the page has always shown them.
TEST(SearchConditions, EveryConditionHasItsOwnFlagAndCaption) {
  std::vector<std::string> captions;
  for (const SearchCondition& condition : SearchConditions()) {
    SearchRequest request;
    Set(request, condition, true);
    for (const SearchCondition& other : SearchConditions()) {
      EXPECT_EQ(IsSet(request, other), &other == &condition) << condition.name << " sets " << other.name;
    }
    captions.push_back(ConditionCaption(condition));
  }
  EXPECT_EQ(captions,
            (std::vector<std::string>{"卦气同数", "卦气合五", "卦气合十",   "卦气合十五", "卦气合生成", "卦运同数",
                                      "卦运合五", "卦运合十", "卦运合十五", "卦运合生成", "卦运相通",   "龙纳入",
                                      "水纳入",   "主命纳入", "坐山纳入",   "朝向纳入",   "冲山",       "坐山三煞",
                                      "冲主命",   "坐山伏吟", "坐山反吟",   "生入克入",   "亲缘交通"}));
  EXPECT_EQ(ListedNames(ConditionGroup::kInclude, ","), "主命,坐山,龙,水,朝向");
}

}  // namespace
}  // namespace quorin::chart

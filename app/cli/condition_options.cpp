// SPDX-License-Identifier: GPL-3.0-or-later
#include "condition_options.h"

#include <algorithm>
#include <sstream>

#include "base/script_text.h"
#include "chart/search.h"
#include "chart/search_conditions.h"
#include "command.h"

namespace quorin::cli {
namespace {

// Ticks the conditions of a group named in a comma-separated list; each name may be written
// as its check box reads (卦气同数, 主命纳入), in either script (同數, 沖山).
void TickListed(const chart::SearchConditionGroup& group, const std::string& list, chart::SearchRequest& q) {
  std::stringstream items(base::SimplifiedForComparison(list));
  for (std::string item; std::getline(items, item, ',');) {
    if (!group.prefix.empty() && item.starts_with(group.prefix)) item.erase(0, group.prefix.size());
    if (!group.suffix.empty() && item.ends_with(group.suffix)) item.resize(item.size() - group.suffix.size());
    bool known = false;
    for (const chart::SearchCondition& condition : chart::SearchConditions()) {
      if (condition.group == group.group && item == condition.name) {
        chart::Set(q, condition, true);
        known = true;
      }
    }
    if (!known) {
      throw UsageError("--" + std::string(group.listOption) + " 的条件应为 " + chart::ListedNames(group.group, "、") +
                       " 之一：" + item);
    }
  }
}

chart::DigitGroup Digits(const Arguments& a, const std::string& option, const std::string& adjacent) {
  if (!a.Has(option)) {
    if (a.Has(adjacent)) throw UsageError("--" + adjacent + " 需要和 --" + option + " 一起使用");
    return {};
  }
  const std::string text = *a.Value(option);
  const chart::DigitGroup group = chart::DigitGroupFromText(text, a.Has(adjacent));
  int typed = 0;
  for (const char c : text) typed += c >= '1' && c <= '9' ? 1 : 0;
  if (group.count == 0 || typed > chart::DigitGroup::kMaxDigits) {
    throw UsageError("--" + option + " 应为 1 到 6 个 1..9 的数字，例如 1,3：" + text);
  }
  return group;
}

// A list option with the names of its conditions, from the table the search page reads too.
std::string ConditionListLine(chart::ConditionGroup group, std::string_view what) {
  return OptionLine("--" + std::string(chart::GroupOf(group).listOption) + " LIST",
                    std::string(what) + ": " + chart::ListedNames(group, ","));
}

}  // namespace

void AddConditionOptions(OptionSpec& spec) {
  spec.values.insert({"qi-digits", "yun-digits", "pattern"});
  spec.flags.insert({"qi-adjacent", "yun-adjacent"});
  for (const chart::SearchConditionGroup& group : chart::SearchConditionGroups()) {
    if (!group.listOption.empty()) spec.values.emplace(group.listOption);
  }
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty()) spec.flags.emplace(condition.flagOption);
  }
}

void ReadConditions(const Arguments& a, chart::SearchRequest& q) {
  if (a.Has("pattern")) {
    const int item = chart::ReadyPatternItem(base::SimplifiedForComparison(*a.Value("pattern")));
    if (!chart::ApplyReadyPattern(q, item)) {
      throw UsageError("--pattern 应为 " + chart::ReadyPatternNames("、") + " 之一：" + *a.Value("pattern"));
    }
  }
  for (const chart::SearchConditionGroup& group : chart::SearchConditionGroups()) {
    if (!group.listOption.empty() && a.Has(std::string(group.listOption))) {
      TickListed(group, *a.Value(std::string(group.listOption)), q);
    }
  }
  q.qiDigits = Digits(a, "qi-digits", "qi-adjacent");
  q.yunDigits = Digits(a, "yun-digits", "yun-adjacent");
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty() && a.Has(std::string(condition.flagOption))) chart::Set(q, condition, true);
  }
  q.UpdateConditionCounts();
}

std::string OptionLine(std::string option, std::string_view text) {
  constexpr std::size_t kOptionColumn = 23;
  option.resize(std::max(option.size() + 1, kOptionColumn), ' ');
  return "  " + option + std::string(text) + "\n";
}

std::string ConditionOptionsUsage() {
  using chart::ConditionGroup;
  std::string conditionFlags;
  for (const chart::SearchCondition& condition : chart::SearchConditions()) {
    if (!condition.flagOption.empty())
      conditionFlags += OptionLine("--" + std::string(condition.flagOption), condition.name);
  }
  return ConditionListLine(ConditionGroup::kQi, "卦气 conditions") +
         ConditionListLine(ConditionGroup::kYun, "卦运 conditions") +
         "  --qi-digits DIGITS     卦气 digit group, up to six digits 1..9, e.g. 1,3\n"
         "  --qi-adjacent          the 卦气 digits must stand side by side (数字相连)\n"
         "  --yun-digits DIGITS, --yun-adjacent   the same for 卦运\n" +
         ConditionListLine(ConditionGroup::kInclude, "positions examined besides the pillars") +
         ConditionListLine(ConditionGroup::kAvoid, "avoid in the four pillars") + conditionFlags +
         OptionLine("--pattern NAME", "a ready pattern: " + chart::ReadyPatternNames(" ")) +
         "                         (replaces the conditions; the options above add to it)\n";
}

}  // namespace quorin::cli

// SPDX-License-Identifier: GPL-3.0-or-later
// The conditions of the search (查找吉课) in one table: their names, the request's flag behind
// each and the group it belongs to. The search page builds its check lists from it, quorin-cli
// its options, usage text and messages, and the README's list is checked against it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "chart/chart_slot.h"
#include "chart/search_request.h"

namespace quorin::chart {

// The groups, in the order of the search page's boxes.
enum class ConditionGroup : std::uint8_t { kQi, kYun, kInclude, kAvoid, kOther };
inline constexpr int kConditionGroupCount = 5;

struct SearchConditionGroup {
  ConditionGroup group;
  std::string_view title;  // the page's box: 卦气 卦运 纳入 避开年月日时 其他
  // A check box reads prefix + name + suffix (卦气同数, 主命纳入); quorin-cli takes either form.
  std::string_view prefix;
  std::string_view suffix;
  // quorin-cli's option naming conditions of the group (--qi 同数,合十); empty when each
  // condition of the group is an option of its own.
  std::string_view listOption;
};

struct SearchCondition {
  ConditionGroup group;
  std::string_view name;  // as quorin-cli and the README name it
  bool& (*flag)(SearchRequest& request);
  // quorin-cli's flag of a condition outside a list option (--shengru).
  std::string_view flagOption = {};
  // 纳入: the position the condition adds to those examined, and its short name as the result
  // details and the CSV columns write it (主卦气).
  SlotKind position = SlotKind{};
  std::string_view positionName = {};
  // Where quorin-cli and the README list it among its group, when not in the check list's order.
  int listedAt = -1;
};

// Every group, in the page's order.
std::span<const SearchConditionGroup> SearchConditionGroups();
const SearchConditionGroup& GroupOf(ConditionGroup group);
// Every condition: the groups in the page's order, each in the order of its check list.
std::span<const SearchCondition> SearchConditions();

// The caption of its check box: 卦气同数.
std::string ConditionCaption(const SearchCondition& condition);
bool IsSet(const SearchRequest& request, const SearchCondition& condition);
void Set(SearchRequest& request, const SearchCondition& condition, bool on);

// The names of a group in the order quorin-cli and the README list them: "同数,合五,…".
std::string ListedNames(ConditionGroup group, std::string_view separator);

// The ready patterns without the list's title: "一卦纯清 四大格局 …".
std::string ReadyPatternNames(std::string_view separator);

}  // namespace quorin::chart

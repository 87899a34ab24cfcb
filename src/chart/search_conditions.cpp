// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search_conditions.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chart/search.h"

namespace quorin::chart {
namespace {

using enum ConditionGroup;

constexpr std::array<SearchConditionGroup, kConditionGroupCount> kGroups{{
    {kQi, "卦气", "卦气", "", "qi"},
    {kYun, "卦运", "卦运", "", "yun"},
    {kInclude, "纳入", "", "纳入", "include"},
    {kAvoid, "避开年月日时", "", "", "avoid"},
    {kOther, "其他", "", "", ""},
}};

// The request's field behind a condition: a flag of its own, or an element of one of the
// arrays the engine reads by index.
template <auto kFlag>
bool& Field(SearchRequest& request) {
  return request.*kFlag;
}
template <auto kArray, int kIndex>
bool& Element(SearchRequest& request) {
  return (request.*kArray)[kIndex];
}

// One line per condition, as the page lists them.
// clang-format off
constexpr std::array<SearchCondition, 23> kConditions{{
    {.group = kQi, .name = "同数", .flag = &Element<&SearchRequest::qi, kQiSame>},
    {.group = kQi, .name = "合五", .flag = &Element<&SearchRequest::qi, kQiFive>},
    {.group = kQi, .name = "合十", .flag = &Element<&SearchRequest::qi, kQiTen>},
    {.group = kQi, .name = "合十五", .flag = &Element<&SearchRequest::qi, kQiFifteen>},
    {.group = kQi, .name = "合生成", .flag = &Element<&SearchRequest::qi, kQiGeneration>},
    {.group = kYun, .name = "同数", .flag = &Element<&SearchRequest::yun, kYunSame>},
    {.group = kYun, .name = "合五", .flag = &Element<&SearchRequest::yun, kYunFive>},
    {.group = kYun, .name = "合十", .flag = &Element<&SearchRequest::yun, kYunTen>},
    {.group = kYun, .name = "合十五", .flag = &Element<&SearchRequest::yun, kYunFifteen>},
    {.group = kYun, .name = "合生成", .flag = &Element<&SearchRequest::yun, kYunGeneration>},
    {.group = kYun, .name = "相通", .flag = &Element<&SearchRequest::yun, kYunThrough>},
    // The check list follows the order the positions are examined in; the command line names
    // the person and the mountain first.
    {.group = kInclude, .name = "龙", .flag = &Field<&SearchRequest::includeDragon>,
     .position = kKindDragon, .positionName = "龙", .listedAt = 2},
    {.group = kInclude, .name = "水", .flag = &Field<&SearchRequest::includeWater>,
     .position = kKindWater, .positionName = "水", .listedAt = 3},
    {.group = kInclude, .name = "主命", .flag = &Field<&SearchRequest::includeMaster>,
     .position = kKindMaster, .positionName = "主", .listedAt = 0},
    {.group = kInclude, .name = "坐山", .flag = &Field<&SearchRequest::includeMountain>,
     .position = kKindMountain, .positionName = "山", .listedAt = 1},
    {.group = kInclude, .name = "朝向", .flag = &Field<&SearchRequest::includeFacing>,
     .position = kKindFacing, .positionName = "向", .listedAt = 4},
    {.group = kAvoid, .name = "冲山", .flag = &Element<&SearchRequest::avoid, kAvoidClashMountainFlag>},
    {.group = kAvoid, .name = "坐山三煞", .flag = &Element<&SearchRequest::avoid, kAvoidMountainKillingsFlag>},
    {.group = kAvoid, .name = "冲主命", .flag = &Element<&SearchRequest::avoid, kAvoidClashMasterFlag>},
    {.group = kAvoid, .name = "坐山伏吟", .flag = &Element<&SearchRequest::avoid, kAvoidMountainRepeatFlag>},
    {.group = kAvoid, .name = "坐山反吟", .flag = &Element<&SearchRequest::avoid, kAvoidMountainOppositeFlag>},
    {.group = kOther, .name = "生入克入", .flag = &Field<&SearchRequest::shengRuKeRu>, .flagOption = "shengru"},
    {.group = kOther, .name = "亲缘交通", .flag = &Field<&SearchRequest::familyLink>, .flagOption = "family"},
}};
// clang-format on

// The groups in the page's order, each once, and every condition's group listed: the page and
// the command line rely on both.
constexpr bool GroupsInOrder() {
  std::size_t group = 0;
  for (const SearchCondition& c : kConditions) {
    while (group < kGroups.size() && kGroups[group].group != c.group) ++group;
    if (group == kGroups.size()) return false;
  }
  for (std::size_t i = 0; i < kGroups.size(); ++i) {
    if (static_cast<std::size_t>(kGroups[i].group) != i) return false;
  }
  return true;
}
static_assert(GroupsInOrder());

}  // namespace

std::span<const SearchConditionGroup> SearchConditionGroups() { return kGroups; }

const SearchConditionGroup& GroupOf(ConditionGroup group) { return kGroups[static_cast<std::size_t>(group)]; }

std::span<const SearchCondition> SearchConditions() { return kConditions; }

std::string ConditionCaption(const SearchCondition& condition) {
  const SearchConditionGroup& group = GroupOf(condition.group);
  return std::string(group.prefix) + std::string(condition.name) + std::string(group.suffix);
}

// The request is only read: the field functions hand out the field, const or not.
bool IsSet(const SearchRequest& request, const SearchCondition& condition) {
  return condition.flag(const_cast<SearchRequest&>(request));
}

void Set(SearchRequest& request, const SearchCondition& condition, bool on) { condition.flag(request) = on; }

std::string ListedNames(ConditionGroup group, std::string_view separator) {
  std::vector<const SearchCondition*> listed;
  for (const SearchCondition& c : kConditions) {
    if (c.group == group) listed.push_back(&c);
  }
  std::stable_sort(listed.begin(), listed.end(),
                   [](const SearchCondition* a, const SearchCondition* b) { return a->listedAt < b->listedAt; });
  std::string names;
  for (const SearchCondition* c : listed) {
    if (!names.empty()) names += separator;
    names += c->name;
  }
  return names;
}

std::string ReadyPatternNames(std::string_view separator) {
  std::string names;
  for (int item = 1; item < kReadyPatternCount; ++item) {
    if (!names.empty()) names += separator;
    names += kReadyPatterns[item];
  }
  return names;
}

const char* const kReadyPatterns[kReadyPatternCount] = {"【现成吉格】", "一卦纯清", "四大格局", "合生成格",
                                                        "卦不出位",     "挨星合十", "一家骨肉"};

bool ApplyReadyPattern(SearchRequest& request, int item) {
  if (item < 1 || item >= kReadyPatternCount) return false;
  SearchRequest kept;
  kept.masterYear = request.masterYear;
  kept.year = request.year;
  kept.mountain = request.mountain;
  kept.mountainGua = request.mountainGua;
  CopyDragonWaterFacing(request, kept);
  switch (item) {
    case 1: kept.qi[kQiSame] = true; break;
    case 2: kept.qi[kQiTen] = true; break;
    case 3: kept.qi[kQiGeneration] = true; break;
    case 4: kept.yun[kYunSame] = true; break;
    case 5: kept.yun[kYunTen] = true; break;
    default: kept.yun[kYunThrough] = true; break;
  }
  kept.UpdateConditionCounts();
  request = kept;
  return true;
}

int ReadyPatternItem(std::string_view name) {
  for (int item = 0; item < kReadyPatternCount; ++item) {
    if (name == kReadyPatterns[item]) return item;
  }
  return -1;
}

SearchRequest ClearedSearchRequest(int year) {
  SearchRequest request;
  request.year = year;
  request.masterYear = year - kDefaultMasterAge;
  return request;
}

DigitGroup DigitGroupFromText(std::string_view utf8, bool adjacent) {
  DigitGroup group;
  group.adjacent = adjacent;
  // Bytes of multi-byte characters are never ASCII digits, so they are skipped too.
  for (const char c : utf8) {
    if (group.count == DigitGroup::kMaxDigits) break;
    if (c >= '1' && c <= '9') group.digits[group.count++] = static_cast<std::uint8_t>(c - '0');
  }
  return group;
}

std::string DigitGroupText(const DigitGroup& group) {
  std::string text;
  for (int i = 0; i < group.count && i < DigitGroup::kMaxDigits; ++i) {
    if (!text.empty()) text += ' ';
    text += static_cast<char>('0' + group.digits[static_cast<std::size_t>(i)]);
  }
  return text;
}

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search_match.h"

#include <algorithm>
#include <bit>

#include "chart/relations.h"
#include "chart/search_conditions.h"

namespace quorin::chart {
namespace {

// Slot indices of the engine's ten slots.
constexpr int kYear = 0, kMountain = 4, kMaster = 5, kDragon = 6, kWater = 7, kFacing = 8;

std::uint8_t NumberOf(const ChartSlot& slot, bool useQi) { return useQi ? slot.guaQi : slot.guaYun; }

// The host of 生入克入 is the weightiest position of the list, weightiest first: the mountain,
// the person, the facing, the dragon, the water, then the day pillar (which hosts when no
// position is included); the other pillars never host. On a tie the earlier position.
constexpr std::array<std::uint8_t, 6> kHostsByWeight{kKindMountain, kKindMaster, kKindFacing,
                                                     kKindDragon,   kKindWater,  kKindDay};

int HostRank(std::uint8_t kind) {
  const auto at = std::find(kHostsByWeight.begin(), kHostsByWeight.end(), kind);
  return static_cast<int>(kHostsByWeight.end() - at);  // 0 for a position that never hosts
}

// Which conditions of one number group hold, of those asked: bit k for flag k (同数, the pair
// sums, 合生成, and 相通 for 卦运), kDigitsBit for the digit group.
constexpr int kDigitsBit = 7;
unsigned GroupHolds(const ExaminedList& list, bool useQi, const bool* flags, const DigitGroup& digits) {
  unsigned holds = 0;
  const int n = list.count;
  if (flags[0]) {
    bool same = true;
    for (int i = 1; i < n && same; ++i) same = NumberOf(list.slots[static_cast<std::size_t>(i)], useQi) == NumberOf(list.slots[0], useQi);
    holds |= same ? 1U : 0U;
  }
  const bool through = !useQi && flags[kYunThrough];
  if (flags[1] || flags[2] || flags[3] || flags[4] || through) {
    // Counted once over all pairs; a condition holds when any pair gives it.
    std::array<int, 3> sums{};
    int generation = 0;
    int throughPairs = 0;
    for (int i = 0; i < n; ++i) {
      for (int j = i + 1; j < n; ++j) {
        const PairRelationResult r =
            PairRelation(list.slots[static_cast<std::size_t>(i)], list.slots[static_cast<std::size_t>(j)], useQi);
        if (r.heShu >= 0) ++sums[static_cast<std::size_t>(r.heShu)];
        if (r.heSheng >= 0) ++generation;
        if (r.xiangTong > 0) ++throughPairs;
      }
    }
    for (std::size_t k = 0; k < 3; ++k) holds |= flags[k + 1] && sums[k] > 0 ? 1U << (k + 1) : 0U;
    holds |= flags[4] && generation > 0 ? 1U << 4 : 0U;
    holds |= through && throughPairs > 0 ? 1U << kYunThrough : 0U;
  }
  if (digits.count > 0) {
    std::array<std::uint8_t, 9> text{};
    for (int i = 0; i < n; ++i) {
      text[static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(SearchDigit(NumberOf(list.slots[static_cast<std::size_t>(i)], useQi)));
    }
    holds |= DigitGroupMatches(digits, text.data(), n) ? 1U << kDigitsBit : 0U;
  }
  return holds;
}

int Count(unsigned bits) { return std::popcount(bits); }

// A group passes when it asks nothing or when every condition it counts holds.
bool GroupPasses(const ExaminedList& list, bool useQi, const bool* flags, const DigitGroup& digits, int required) {
  return required == 0 || Count(GroupHolds(list, useQi, flags, digits)) == required;
}

// The conditions of a group asked for, as GroupHolds' bits.
unsigned GroupAsked(const bool* flags, int n, const DigitGroup& digits) {
  unsigned asked = digits.count > 0 ? 1U << kDigitsBit : 0U;
  for (int k = 0; k < n; ++k) asked |= flags[k] ? 1U << k : 0U;
  return asked;
}

}  // namespace

ExaminedList BuildExaminedList(const SearchRequest& request, const std::array<ChartSlot, 10>& chartSlots) {
  ExaminedList list;
  auto add = [&](int slot) { list.slots[static_cast<std::size_t>(list.count++)] = chartSlots[static_cast<std::size_t>(slot)]; };
  if (request.includeDragon && request.dragonMountain != -1) add(kDragon);
  if (request.includeWater && request.waterMountain != -1) add(kWater);
  if (request.includeMaster) add(kMaster);
  if (request.includeMountain) add(kMountain);
  if (request.includeFacing && request.showFacing) add(kFacing);
  for (int pillar = kYear; pillar < kYear + 4; ++pillar) add(pillar);
  return list;
}

int SearchDigit(int number) {
  const int digit = number % 9;
  return digit == 0 ? 9 : digit;
}

bool DigitGroupMatches(const DigitGroup& group, const std::uint8_t* digits, int count) {
  const int n = group.count;
  if (n <= 0) return true;
  if (n > DigitGroup::kMaxDigits || n > count) return false;
  // Wanted digits as counts; anything but 1..9 never occurs among the numbers.
  std::array<int, 10> wanted{};
  for (int i = 0; i < n; ++i) {
    const int d = group.digits[static_cast<std::size_t>(i)];
    if (d < 1 || d > 9) return false;
    ++wanted[static_cast<std::size_t>(d)];
  }
  auto covers = [&](int from, int length, bool exactly) {
    std::array<int, 10> have{};
    for (int i = from; i < from + length; ++i) ++have[digits[i] % 10];
    for (std::size_t d = 1; d < 10; ++d) {
      if (exactly ? have[d] != wanted[d] : have[d] < wanted[d]) return false;
    }
    return true;
  };
  if (!group.adjacent) return covers(0, count, false);
  // Some ordering of the digits stands side by side exactly when some run of n
  // numbers holds the same digits.
  for (int from = 0; from + n <= count; ++from) {
    if (covers(from, n, true)) return true;
  }
  return false;
}

bool MomentTest::ShengRuKeRuPasses(const ExaminedList& list) const {
  int host = 0;
  for (int i = 1; i < list.count; ++i) {
    if (HostRank(list.slots[static_cast<std::size_t>(i)].kind) > HostRank(list.slots[static_cast<std::size_t>(host)].kind)) host = i;
  }
  const int hostQi = list.slots[static_cast<std::size_t>(host)].guaQi;
  for (int i = 0; i < list.count; ++i) {
    if (i == host) continue;
    const int relation = ElementRelation(list.slots[static_cast<std::size_t>(i)].guaQi, hostQi);
    if (relation != 3 && relation != 4) return false;
  }
  return true;
}

bool MomentTest::FamilyLinkPasses(const ExaminedList& list) const {
  for (int i = 1; i < list.count; ++i) {
    const FamilyRolePair roles = FamilyRoles(list.slots[0].gua, list.slots[static_cast<std::size_t>(i)].gua);
    if (roles.a <= 0 || roles.b <= 0) return false;
  }
  return true;
}

unsigned MomentTest::AvoidancesBroken(const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const {
  const auto& a = request_.avoid;
  unsigned broken = 0;
  for (const ChartSlot& pillar : pillars) {
    const int branch = BranchOf(pillar.jiazi);
    if (a[kAvoidClashMountainFlag] && branch == avoid[kAvoidClashMountain]) broken |= 1U << kAvoidClashMountainFlag;
    if (a[kAvoidMountainKillingsFlag] &&
        (branch == avoid[kAvoidMountainKillings] || branch == avoid[kAvoidMountainKillings + 1] ||
         branch == avoid[kAvoidMountainKillings + 2])) {
      broken |= 1U << kAvoidMountainKillingsFlag;
    }
    if (a[kAvoidClashMasterFlag] && branch == avoid[kAvoidClashMaster]) broken |= 1U << kAvoidClashMasterFlag;
    if (a[kAvoidMountainRepeatFlag] && pillar.gua == avoid[kAvoidMountainGua]) broken |= 1U << kAvoidMountainRepeatFlag;
    if (a[kAvoidMountainOppositeFlag] && pillar.gua == avoid[kAvoidFacingGua]) broken |= 1U << kAvoidMountainOppositeFlag;
  }
  return broken;
}

bool MomentTest::AvoidsAll(const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const {
  return AvoidancesBroken(pillars, avoid) == 0;
}

bool MomentTest::Passes(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const {
  // The 卦运 group counts only after the 卦气 group passed.
  const SearchRequest& q = request_;
  if (!GroupPasses(list, true, q.qi.data(), q.qiDigits, q.qiConditionCount) ||
      !GroupPasses(list, false, q.yun.data(), q.yunDigits, q.yunConditionCount)) {
    return false;
  }
  if (q.shengRuKeRu && !ShengRuKeRuPasses(list)) return false;
  if (q.familyLink && !FamilyLinkPasses(list)) return false;
  return AvoidsAll(pillars, avoid);
}

std::vector<FailedCondition> MomentTest::Failures(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars,
                                                  const AvoidInfo& avoid) const {
  std::vector<FailedCondition> failures;
  for (ConditionVerdict& verdict : Verdicts(list, pillars, avoid)) {
    if (!verdict.met) failures.push_back(std::move(verdict.condition));
  }
  return failures;
}

std::vector<ConditionVerdict> MomentTest::Verdicts(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars,
                                                   const AvoidInfo& avoid) const {
  const SearchRequest& q = request_;
  const unsigned qiAsked = GroupAsked(q.qi.data(), kQiConditionCount, q.qiDigits);
  const unsigned yunAsked = GroupAsked(q.yun.data(), kYunConditionCount, q.yunDigits);
  const unsigned qiFailed = qiAsked & ~GroupHolds(list, true, q.qi.data(), q.qiDigits);
  const unsigned yunFailed = yunAsked & ~GroupHolds(list, false, q.yun.data(), q.yunDigits);
  const unsigned avoidFailed = AvoidancesBroken(pillars, avoid);
  std::vector<ConditionVerdict> verdicts;
  // The numbers' conditions read the person's position only when it is examined (主命纳入).
  const bool numbersConcernThePerson = q.includeMaster;
  std::array<int, kConditionGroupCount> indexInGroup{};
  for (const SearchCondition& condition : SearchConditions()) {
    const int k = indexInGroup[static_cast<std::size_t>(condition.group)]++;
    bool ticked = false;
    bool failed = false;
    bool concernsThePerson = numbersConcernThePerson;
    switch (condition.group) {
      case ConditionGroup::kQi:
        ticked = (qiAsked >> k) & 1U;
        failed = (qiFailed >> k) & 1U;
        break;
      case ConditionGroup::kYun:
        ticked = (yunAsked >> k) & 1U;
        failed = (yunFailed >> k) & 1U;
        break;
      case ConditionGroup::kAvoid:
        ticked = q.avoid[static_cast<std::size_t>(k)];
        failed = (avoidFailed >> k) & 1U;
        concernsThePerson = k == kAvoidClashMasterFlag;
        break;
      case ConditionGroup::kOther:
        ticked = k == 0 ? q.shengRuKeRu : q.familyLink;
        failed = ticked && !(k == 0 ? ShengRuKeRuPasses(list) : FamilyLinkPasses(list));
        break;
      case ConditionGroup::kInclude: break;
    }
    if (ticked) verdicts.push_back({{ConditionCaption(condition), concernsThePerson}, !failed});
  }
  // The digit groups, named as their dialogs are.
  if ((qiAsked >> kDigitsBit) & 1U) {
    verdicts.push_back({{"卦气组合", numbersConcernThePerson}, !((qiFailed >> kDigitsBit) & 1U)});
  }
  if ((yunAsked >> kDigitsBit) & 1U) {
    verdicts.push_back({{"卦运组合", numbersConcernThePerson}, !((yunFailed >> kDigitsBit) & 1U)});
  }
  return verdicts;
}

}  // namespace quorin::chart

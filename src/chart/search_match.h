// SPDX-License-Identifier: GPL-3.0-or-later
// The test the search applies to each moment: the examined positions, the
// 卦气 and 卦运 groups, 生入克入, 亲缘交通 and the things to avoid.
#pragma once

#include <array>
#include <string>
#include <vector>
#include <cstdint>

#include "chart/chart_slot.h"
#include "chart/search_request.h"
#include "chart/shensha.h"

namespace quorin::chart {

// The positions a moment is judged on: the included ones of 龙 水 主 山 向 that
// exist, then always 年 月 日 时.
struct ExaminedList {
  std::array<ChartSlot, 9> slots{};
  int count = 0;
};
// `chartSlots` are the engine's ten slots (0 年 1 月 2 日 3 时 4 山 5 主 6 龙 7 水 8 向 9 元辰).
ExaminedList BuildExaminedList(const SearchRequest& request, const std::array<ChartSlot, 10>& chartSlots);

// The digit of a 卦气 or 卦运 number as the digit groups see it: n mod 9, 9 for 0.
int SearchDigit(int number);

// The digits of the group occur among `digits` (each 1..9), each as often as it is
// listed; with `adjacent` side by side in some order. A group without digits matches.
bool DigitGroupMatches(const DigitGroup& group, const std::uint8_t* digits, int count);

// Everything a moment must satisfy, prepared once per search.
// A ticked condition a moment fails, named as its check box reads (卦气合十, 冲主命; 卦运组合 for the
// digit group), and whether it reads the person: 冲主命 always, the numbers' conditions when the
// person's position is examined (主命纳入). Each ticked 卦气 and 卦运 item, each digit group,
// 生入克入, 亲缘交通 and each avoidance counts as one.
struct FailedCondition {
  std::string name;
  bool concernsThePerson = false;
};
// A ticked condition named and flagged as above, and whether a moment meets it.
struct ConditionVerdict {
  FailedCondition condition;
  bool met = false;
};

class MomentTest {
 public:
  explicit MomentTest(const SearchRequest& request) : request_(request) {}
  // `pillars` are the slots 年 月 日 时, `avoid` the avoidance data of the chart.
  bool Passes(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const;
  // The conditions the moment fails, in the page's order; empty exactly when it passes.
  std::vector<FailedCondition> Failures(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars,
                                        const AvoidInfo& avoid) const;
  // Every ticked condition in the page's order, met or not: the same list for any moment, so that
  // the verdicts of several moments (or persons) line up.
  std::vector<ConditionVerdict> Verdicts(const ExaminedList& list, const std::array<ChartSlot, 4>& pillars,
                                         const AvoidInfo& avoid) const;

 private:
  bool ShengRuKeRuPasses(const ExaminedList& list) const;
  bool FamilyLinkPasses(const ExaminedList& list) const;
  bool AvoidsAll(const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const;
  // The avoidances a pillar breaks, bit k for AvoidCondition k.
  unsigned AvoidancesBroken(const std::array<ChartSlot, 4>& pillars, const AvoidInfo& avoid) const;

  SearchRequest request_;
};

}  // namespace quorin::chart

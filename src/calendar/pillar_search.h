// SPDX-License-Identifier: GPL-3.0-or-later
// The reverse pillar search: from four chosen pillars to the first moment that carries them.
#pragma once

#include <optional>

#include "calendar/calendar_types.h"
#include "calendar/yi_date_ex.h"

namespace quorin::calendar {

// A choice of pillars by position in the usual order: stems 甲 … 癸 (0..9), branches 子 … 亥 (0..11).
struct PillarChoice {
  int yearStem = 0;
  int yearBranch = 0;
  int monthBranch = 0;
  int dayStem = 0;
  int dayBranch = 0;
  int hourBranch = 0;
};

// The positions that name four pillars (all 0 pillars show 癸 and 亥).
PillarChoice ChoiceOfPillars(const FourPillars& pillars);

// The four pillars of a choice: the month stem follows the year stem and the hour stem the
// day stem. `invalidPillar` names the first stem-branch pair that does not exist
// (0 年, 1 月, 2 日, 3 时), or is -1.
struct BuiltPillars {
  FourPillars pillars;
  int invalidPillar = -1;
};
BuiltPillars BuildPillars(const PillarChoice& choice);

// The first moment from `startYear` (astronomical) on whose pillars are `wanted`, with the
// minute 0: per matching year the first day of the wanted day pillar in the month, at the
// even hour of the hour branch, inside the month's solar terms. Nothing when there is none
// up to the last year the calendar shows.
[[nodiscard]] std::optional<CivilDateTime> FindPillarMoment(MYiDateEx& date, const FourPillars& wanted, int startYear);

}  // namespace quorin::calendar

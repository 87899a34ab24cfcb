// SPDX-License-Identifier: GPL-3.0-or-later
// 对比所选日课: a few candidate moments of one chart request laid side by side, one row per thing a
// practitioner weighs (dates, pillars, 卦气 and 卦运, the ticked search conditions, the persons'
// relations to the pillars, 常用神煞), so that the differences stand out before one is chosen.
#pragma once

#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "chart/record_data.h"
#include "chart/search_request.h"

namespace quorin::chart {

class MQuorinDay;

// Two to compare at least; four still fit side by side on a page.
inline constexpr int kMinComparedCandidates = 2;
inline constexpr int kMaxComparedCandidates = 4;

// What a condition row holds for a moment that meets the condition, and for one that misses it.
inline constexpr const char* kConditionMet = "合";
inline constexpr const char* kConditionMissed = "差";

// The parts of a comparison, in the order they come; a page rules a line between two.
enum class ComparisonSection { kMoment, kNumbers, kConditions, kPersons, kShensha };

struct ComparisonRow {
  std::string label;
  std::vector<std::string> values;  // one per candidate, in the moments' order
  bool differs = false;             // the values are not all equal
  ComparisonSection section = ComparisonSection::kMoment;
};

struct CandidateComparison {
  std::vector<std::string> captions;  // one per candidate: the moment as typed, "2025-05-01 10:05"
  std::vector<ComparisonRow> rows;
  std::string refusal;  // why nothing is compared; empty when the rows hold
};

// The caption of a candidate: its moment (astronomical year) as the command line writes it, the year
// as users write it.
std::string CandidateCaption(const calendar::CivilDateTime& moment);

// What a comparison page says of the request above its table: the persons ("主命：张三（1980年-男命）",
// then the others), the mountain with the dragon, water and facing the chart has, and the place
// (with its zone when the moments are its clock times).
std::vector<std::string> ComparisonRequestLines(const TRecordData& request);

// Charts `request` at each moment (Gregorian, as the chart takes them: Beijing time, or the clock
// time of the request's zone, a repeated one at the request's fold or else at its first occurrence as
// the search tests it) and lays the candidates side by side. `conditions` are the ticked search
// conditions (a cleared request when there are none); the positions, the persons and the mountain are
// the request's. A refusal names a count outside 2..4 or the first moment the engine cannot chart
// (with its ErrorText). The engine is only copied, never changed: its settings file is used.
CandidateComparison CompareCandidates(const MQuorinDay& engine, const TRecordData& request,
                                      const SearchRequest& conditions,
                                      const std::vector<calendar::CivilDateTime>& moments);

// Stored cases side by side: the first case's request at every case's moment (a lunar one as the
// Gregorian Beijing time it is). Cases of other persons, positions or places are refused, since their
// rows would not say the same things; so are counts outside 2..4.
inline constexpr const char* kCasesDifferRefusal = "所选案例的主命、其他人、山向或地点不同，不能放在一起对比。";
CandidateComparison CompareCases(const MQuorinDay& engine, const std::vector<TRecordData>& cases,
                                 const SearchRequest& conditions);

}  // namespace quorin::chart

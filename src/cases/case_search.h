// SPDX-License-Identifier: GPL-3.0-or-later
// Keyword and conditional searches over the stored cases.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chart/record_data.h"

namespace quorin::cases {

// The conditions of the conditional search; kept by the main window for the whole
// run so that the dialog shows the last conditions again. Starts all zero.
struct CaseSearchCriteria {
  enum TextMode : std::uint8_t { kNoCondition = 0, kContains = 1, kEquals = 2 };

  std::string name;       // at most 20 bytes
  std::string className;  // at most 20 bytes
  std::string event;      // at most 200 bytes; shown again, not searched
  std::string remark;     // at most 40 bytes
  bool male = false;
  std::int16_t yearFrom = 0;  // astronomical numbering, both ends included
  std::int16_t yearTo = 0;
  std::int16_t province = 0;  // -1 for any
  std::uint8_t nameMode = kNoCondition;
  std::uint8_t classMode = kNoCondition;
  bool eventSet = false;
  bool remarkSet = false;
  bool sexSet = false;
  bool yearsSet = false;
};

// "子时" … "亥时": the double hour of an hour (23 and 0 are 子时).
std::string DoubleHourText(int hour);

// The texts the keyword search looks in, in order: name, place, category, "%d年",
// "%d月", "%d日", the double hour, the remark text.
std::vector<std::string> FuzzyFields(const TRecordData& record);

// True when every keyword occurs in a different field: each field, in order, takes
// the first remaining keyword it contains.
bool MatchesKeywords(const std::vector<std::string>& fields, std::vector<std::string> keywords);

// True when every active condition holds.
bool MatchesCriteria(const TRecordData& record, const CaseSearchCriteria& criteria);

// The keywords of an answer: trimmed, split at runs of blanks.
std::vector<std::string> SplitKeywords(std::string_view answer);

// A found case as the result list shows it: name padded to 8 bytes, " %04d-%02d-%02d "
// with the historical year, then the category.
std::string SearchResultLine(const TRecordData& record);

}  // namespace quorin::cases

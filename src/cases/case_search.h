// SPDX-License-Identifier: GPL-3.0-or-later
// Keyword and conditional searches over the stored cases.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/yi_date_ex.h"
#include "chart/record_data.h"

namespace quorin::cases {

// The years the conditional search takes, as users write them (no year 0): the span the chart's
// year box names in its hint ("年份在-850至2100").
inline constexpr int kFirstSearchYear = -850;
inline constexpr int kLastSearchYear = 2100;
// The texts the search keeps, in GBK bytes as the case fields are counted; the dialog's boxes take
// as many characters, so what is typed there is cut the same way.
inline constexpr int kSearchNameBytes = 20;
inline constexpr int kSearchCategoryBytes = 20;
inline constexpr int kSearchRemarkBytes = 40;
inline constexpr int kSearchEventBytes = 200;

// The conditions of the conditional search; kept by the main window for the whole
// run so that the dialog shows the last conditions again. Starts all zero.
struct CaseSearchCriteria {
  enum TextMode : std::uint8_t { kNoCondition = 0, kContains = 1, kEquals = 2 };

  std::string name;       // at most kSearchNameBytes
  std::string className;  // at most kSearchCategoryBytes
  std::string event;      // at most kSearchEventBytes; shown again, not searched
  std::string remark;     // at most kSearchRemarkBytes
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

// The conditions as typed into the dialog or given on the command line (UTF-8), before they are
// checked and kept.
struct TypedCaseConditions {
  std::string name;
  bool nameWhole = false;  // 全字匹配: the name equals the text rather than contains it
  std::string className;
  bool classWhole = false;
  std::string fromYear;  // historical; both empty for no year condition
  std::string toYear;
  std::optional<bool> male;  // nullopt for either sex
  int province = -1;         // -1 for any
  std::string remark;
  std::string event;
};

// Reads typed conditions into the criteria as the conditional search always has: province and
// sex first; then the years, each read as a typed number (blanks around it and "$" or "0x"
// hexadecimal allowed), both in kFirstSearchYear..kLastSearchYear and not 0, the second not
// before the first, unless both are empty; then the texts, trimmed and cut to their byte limits.
// A refused year returns the program's message (lines split by '\n') and leaves the years and
// texts of `criteria` as they were.
[[nodiscard]] calendar::Outcome ReadTypedConditions(const TypedCaseConditions& typed, CaseSearchCriteria& criteria);

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

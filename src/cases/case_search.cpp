// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_search.h"

#include <algorithm>
#include <cstdio>

#include "base/gbk.h"
#include "calendar/historical_year.h"
#include "calendar/sexagenary.h"
#include "cases/case_text.h"
#include "cases/record_base.h"

namespace quorin::cases {
namespace {

bool TextCondition(std::uint8_t mode, const std::string& value, const std::string& wanted) {
  switch (mode) {
    case CaseSearchCriteria::kContains: return value.find(wanted) != std::string::npos;
    case CaseSearchCriteria::kEquals: return EqualIgnoringAsciiCase(value, wanted);
    default: return true;
  }
}

}  // namespace

std::string DoubleHourText(int hour) { return std::string(calendar::HourBranch(hour).Name()) + "时"; }

std::vector<std::string> FuzzyFields(const TRecordData& r) {
  return {r.name,
          r.addrName,
          r.className,
          std::to_string(r.year) + "年",
          std::to_string(r.month) + "月",
          std::to_string(r.day) + "日",
          DoubleHourText(r.hour),
          r.remarkText};
}

bool MatchesKeywords(const std::vector<std::string>& fields, std::vector<std::string> keywords) {
  const std::size_t wanted = keywords.size();
  std::size_t matches = 0;
  for (const std::string& field : fields) {
    if (keywords.empty()) break;
    // UTF-8 matches only at character boundaries, so a byte search is multibyte-aware.
    const auto hit = std::find_if(keywords.begin(), keywords.end(),
                                  [&](const std::string& k) { return field.find(k) != std::string::npos; });
    if (hit != keywords.end()) {
      ++matches;
      keywords.erase(hit);
    }
  }
  return matches == wanted;
}

bool MatchesCriteria(const TRecordData& r, const CaseSearchCriteria& c) {
  if (!TextCondition(c.nameMode, r.name, c.name)) return false;
  if (!TextCondition(c.classMode, r.className, c.className)) return false;
  if (c.remarkSet && r.remarkText.find(c.remark) == std::string::npos) return false;
  if (c.sexSet && r.male != c.male) return false;
  if (c.yearsSet && (r.year < c.yearFrom || r.year > c.yearTo)) return false;
  if (c.province != -1 && r.province != c.province) return false;
  return true;
}

std::vector<std::string> SplitKeywords(std::string_view answer) {
  std::vector<std::string> keywords;
  std::size_t pos = 0;
  while (pos < answer.size()) {
    while (pos < answer.size() && (answer[pos] == ' ' || answer[pos] == '\t')) ++pos;
    const std::size_t start = pos;
    while (pos < answer.size() && answer[pos] != ' ' && answer[pos] != '\t') ++pos;
    if (pos > start) keywords.emplace_back(answer.substr(start, pos - start));
  }
  return keywords;
}

std::string SearchResultLine(const TRecordData& r) {
  char date[64];
  std::snprintf(date, sizeof date, " %04d-%02d-%02d ", calendar::HistoricalYear(r.year), r.month, r.day);
  return base::PadToGbkBytes(r.name, 8) + date + r.className;
}

// Both searches look at every case with an id from 1 to the counter, in id order.
std::optional<std::vector<int>> MRecordBase::FuzzySearch(const std::vector<std::string>& keywords) {
  std::vector<int> found;
  const bool read = ReadRange(1, counter_, [&](const TRecordData& record) {
    if (MatchesKeywords(FuzzyFields(record), keywords)) found.push_back(record.id);
    return true;
  });
  if (!read) return std::nullopt;
  return found;
}

std::optional<std::vector<int>> MRecordBase::Search(const CaseSearchCriteria& criteria) {
  std::vector<int> found;
  const bool read = ReadRange(1, counter_, [&](const TRecordData& record) {
    if (MatchesCriteria(record, criteria)) found.push_back(record.id);
    return true;
  });
  if (!read) return std::nullopt;
  return found;
}

}  // namespace quorin::cases

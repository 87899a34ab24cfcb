// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_search.h"

#include <algorithm>
#include <cstdio>

#include "base/gbk.h"
#include "base/script_text.h"
#include "base/text_parse.h"
#include "calendar/historical_year.h"
#include "calendar/sexagenary.h"
#include "cases/case_text.h"
#include "cases/record_base.h"

namespace quorin::cases {
namespace {

// Typed and stored texts meet in one script, so 張三 finds 张三 and the other way round.
std::string Folded(std::string_view text) { return base::SimplifiedForComparison(text); }

bool TextCondition(std::uint8_t mode, const std::string& value, const std::string& wanted) {
  switch (mode) {
    case CaseSearchCriteria::kContains: return Folded(value).find(Folded(wanted)) != std::string::npos;
    case CaseSearchCriteria::kEquals: return EqualIgnoringAsciiCase(Folded(value), Folded(wanted));
    default: return true;
  }
}

bool IsSearchYear(std::optional<int> year) {
  return year && *year >= kFirstSearchYear && *year <= kLastSearchYear && *year != 0;
}

std::string SearchYearRangeMessage() {
  return "年份必须在" + std::to_string(kFirstSearchYear) + "到" + std::to_string(kLastSearchYear) +
         "年之间，并且没有公元0年\n注意：公元前用负数，比如公元前120年，就输入-120";
}

// The text as the criteria keep it: trimmed, within its byte limit.
std::string Kept(std::string_view typed, int maxBytes) {
  return base::TruncateToGbkBytes(base::TrimTyped(typed), maxBytes);
}

std::uint8_t TextMode(const std::string& kept, bool whole) {
  if (kept.empty()) return CaseSearchCriteria::kNoCondition;
  return whole ? CaseSearchCriteria::kEquals : CaseSearchCriteria::kContains;
}

}  // namespace

calendar::Outcome ReadTypedConditions(const TypedCaseConditions& typed, CaseSearchCriteria& c) {
  c.province = static_cast<std::int16_t>(typed.province);
  c.sexSet = typed.male.has_value();
  c.male = typed.male.value_or(false);

  if (typed.fromYear.empty() && typed.toYear.empty()) {
    c.yearsSet = false;
  } else {
    const std::optional<int> from = base::ParseTypedInt(typed.fromYear);
    const std::optional<int> to = base::ParseTypedInt(typed.toYear);
    if (!IsSearchYear(from) || !IsSearchYear(to)) return {false, SearchYearRangeMessage()};
    if (*to < *from) return {false, "结束年必须大于或等于起始年"};
    c.yearsSet = true;
    c.yearFrom = static_cast<std::int16_t>(calendar::AstronomicalYear(*from));
    c.yearTo = static_cast<std::int16_t>(calendar::AstronomicalYear(*to));
  }

  c.name = Kept(typed.name, kSearchNameBytes);
  c.nameMode = TextMode(c.name, typed.nameWhole);
  c.className = Kept(typed.className, kSearchCategoryBytes);
  c.classMode = TextMode(c.className, typed.classWhole);
  c.remark = Kept(typed.remark, kSearchRemarkBytes);
  c.remarkSet = !c.remark.empty();
  c.event = Kept(typed.event, kSearchEventBytes);
  c.eventSet = !c.event.empty();
  return {};
}

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
  for (std::string& keyword : keywords) keyword = Folded(keyword);
  std::size_t matches = 0;
  for (const std::string& unfolded : fields) {
    if (keywords.empty()) break;
    const std::string field = Folded(unfolded);
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
  if (c.remarkSet && Folded(r.remarkText).find(Folded(c.remark)) == std::string::npos) return false;
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

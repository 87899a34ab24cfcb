// SPDX-License-Identifier: GPL-3.0-or-later
// The case searches of the shared library, matching exactly as the local searches do. The server
// first narrows the cases down by its indexes with conditions that can only keep too many, never
// too few; the local matchers then decide on what is left, read in id order.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <unordered_map>

#include "base/script_text.h"
#include "base/utf8.h"
#include "cases/case_search.h"
#include "cases/record_codec.h"
#include "cases/shared_library.h"

namespace quorin::cases {
namespace {

// The expressions the schema indexes (kSchema), written here the same, since the server uses an
// index only for the very expression it holds. The searched texts as the decoder gives them (an
// empty remark reads as the default one); a name or place cut by the decoder is a beginning of
// the stored one, so a text found in the cut one is found here too.
constexpr std::string_view kSearchedText =
    R"sql((name || E'\n' || coalesce(addr_name, '') || E'\n' || coalesce(nullif(remark_text, ''), '输入自己的评语：')))sql";
static_assert(kSearchedText.find(kDefaultRemarkText) != std::string_view::npos);
// The year of a date_year written plainly (as every case is written); NULL for any other text,
// whose year only the decoder knows.
constexpr std::string_view kPlainYear =
    R"sql((case when date_year ~ '^(0|-?[1-9][0-9]{0,3})$' then date_year::integer end))sql";

// A case column the searches read, and the local column it holds.
struct SearchColumn {
  std::string_view name;
  int local;
};
constexpr SearchColumn kName{"name", 1};
constexpr SearchColumn kSex{"sex", 2};
constexpr SearchColumn kCategory{"category", 3};
constexpr SearchColumn kYear{"date_year", 4};
constexpr SearchColumn kDateNumbers{"date_num", 5};
constexpr SearchColumn kPlaceNumbers{"addr_ind", 7};
constexpr SearchColumn kPlace{"addr_name", 8};
constexpr SearchColumn kRemarkText{"remark_text", 16};

// The conditions of one statement with their values, numbered $1, $2 … as they are added.
struct Conditions {
  std::vector<std::string> clauses;
  std::vector<PgValue> values;

  std::string Parameter(PgValue value) {
    values.push_back(std::move(value));
    return "$" + std::to_string(values.size());
  }
};

// Every character that SimplifiedForComparison turns into another, listed under the one it
// becomes. Read off the folding itself, one character at a time, so it never differs from it.
const std::unordered_map<char32_t, std::vector<char32_t>>& FoldedFrom() {
  static const auto from = [] {
    std::string every;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c)
      if (c < 0xD800 || c > 0xDFFF) base::AppendUtf8(every, c);
    const std::string folded = base::SimplifiedForComparison(every);
    std::unordered_map<char32_t, std::vector<char32_t>> map;
    for (std::size_t a = 0, b = 0; a < every.size() && b < folded.size();) {
      const char32_t original = base::NextCodePoint(every, a);
      const char32_t becomes = base::NextCodePoint(folded, b);
      if (original != becomes) map[becomes].push_back(original);
    }
    return map;
  }();
  return from;
}

// The characters that fold to `c` (itself included when it stays as it is).
std::vector<char32_t> CharactersFoldingTo(char32_t c) {
  std::vector<char32_t> characters;
  std::string one;
  base::AppendUtf8(one, c);
  std::size_t pos = 0;
  if (base::NextCodePoint(base::SimplifiedForComparison(one), pos) == c) characters.push_back(c);
  if (const auto found = FoldedFrom().find(c); found != FoldedFrom().end()) {
    characters.insert(characters.end(), found->second.begin(), found->second.end());
  }
  return characters;
}

// Whether the server can look for the text at all: UTF-8 it accepts, and something to find.
bool Searchable(std::string_view text) {
  return !text.empty() && base::IsValidUtf8(text) && text.find('\0') == std::string_view::npos;
}

// A regular expression (the server's own kind) for the stored texts in which the folded text
// occurs: each character stands for every character that folds to it and, with
// `ignoringAsciiCase`, to either case of a letter. Every character is written as an escape, so no
// typed text is ever read as a pattern.
std::string FoldedPattern(std::string_view text, bool ignoringAsciiCase) {
  const std::string folded = base::SimplifiedForComparison(text);
  std::string pattern;
  for (std::size_t pos = 0; pos < folded.size();) {
    const char32_t c = base::NextCodePoint(folded, pos);
    std::vector<char32_t> characters = CharactersFoldingTo(c);
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (ignoringAsciiCase && letter) {
      for (const char32_t other : CharactersFoldingTo(c ^ 0x20)) characters.push_back(other);
    }
    if (characters.size() > 1) pattern += '[';
    for (const char32_t one : characters) {
      char escape[16];
      std::snprintf(escape, sizeof escape, "\\U%08X", static_cast<unsigned>(one));
      pattern += escape;
    }
    if (characters.size() > 1) pattern += ']';
  }
  return pattern;
}

// The LIKE patterns (backslash escaping % _ and itself) of every stored text that folds to the
// folded text, `%` around it (or only after it, for a beginning); nullopt when there would be too
// many. The trigram index serves LIKE, while it finds no trigrams in a pattern of Chinese
// characters written as a regular expression.
std::optional<std::vector<std::string>> FoldedLikePatterns(std::string_view text, bool beginning) {
  constexpr std::size_t kMostPatterns = 64;
  std::vector<std::string> patterns{beginning ? "" : "%"};
  const std::string folded = base::SimplifiedForComparison(text);
  for (std::size_t pos = 0; pos < folded.size();) {
    const std::vector<char32_t> characters = CharactersFoldingTo(base::NextCodePoint(folded, pos));
    if (patterns.size() * characters.size() > kMostPatterns) return std::nullopt;
    std::vector<std::string> longer;
    for (const std::string& pattern : patterns) {
      for (const char32_t c : characters) {
        std::string next = pattern;
        if (c == '%' || c == '_' || c == '\\') next += '\\';
        base::AppendUtf8(next, c);
        longer.push_back(std::move(next));
      }
    }
    patterns = std::move(longer);
  }
  for (std::string& pattern : patterns) pattern += '%';
  return patterns;
}

// The condition that `expression` holds the folded text (or begins with it): LIKE where the index
// can serve it (three characters at least make a trigram), else the regular expression, which
// the server then tests on every case faster than it walks the whole index.
std::string HoldsFolded(Conditions& where, std::string_view expression, std::string_view text, bool beginning,
                        bool withPairs) {
  const std::size_t characters = base::CharacterCount(text);
  const auto patterns = characters >= 3 ? FoldedLikePatterns(text, beginning) : std::nullopt;
  if (patterns) {
    return std::string(expression) + " like any(" + where.Parameter(PgValue::TextArray(*patterns)) + "::text[])";
  }
  std::string condition = std::string(expression) + " ~ " + where.Parameter((beginning ? "^" : "") + FoldedPattern(text, false));
  // Two characters: the pairs index over the searched texts finds the cases holding one of the
  // text's forms, and every text searched lies within them.
  if (const auto pairs = characters == 2 && withPairs ? FoldedLikePatterns(text, true) : std::nullopt) {
    std::vector<std::string> forms;
    for (std::string pattern : *pairs) {
      pattern.pop_back();  // the '%' after it
      std::string form;
      for (std::size_t i = 0; i < pattern.size(); ++i) form += pattern[i] == '\\' ? pattern[++i] : pattern[i];
      forms.push_back(std::move(form));
    }
    condition = "quorin.bigrams(" + std::string(kSearchedText) + ") && " + where.Parameter(PgValue::TextArray(forms)) +
                "::text[] and " + condition;
  }
  return condition;
}

// The folded texts of the derived fields of the keyword search, for every value a case's numbers
// can decode to: years[y - INT16_MIN] is the year's, `others` the month's, day's and double hour's.
struct DerivedTexts {
  std::vector<std::string> years;
  std::vector<std::string> others;
};

const DerivedTexts& Derived() {
  static const DerivedTexts texts = [] {
    DerivedTexts made;
    TRecordData r;
    for (int v = std::numeric_limits<std::int16_t>::min(); v <= std::numeric_limits<std::int16_t>::max(); ++v) {
      r.year = r.month = r.day = r.hour = static_cast<std::int16_t>(v);
      const std::vector<std::string> fields = FuzzyFields(r);
      made.years.push_back(base::SimplifiedForComparison(fields[3]));
      for (const std::size_t i : {4u, 5u}) made.others.push_back(base::SimplifiedForComparison(fields[i]));
      if (v >= 0 && v < 24) made.others.push_back(base::SimplifiedForComparison(fields[6]));
    }
    return made;
  }();
  return texts;
}

// The categories (as cases decode them) that satisfy `matches`; the stored names. Every case's
// category is a row of quorin.categories (its reference), so this finds all of them.
std::optional<std::vector<std::string>> CategoriesWhere(PgConnection& connection,
                                                        const std::function<bool(const std::string&)>& matches) {
  const PgResult rows = connection.Run("select name from quorin.categories");
  if (!rows.Ok()) return std::nullopt;
  std::vector<std::string> found;
  for (int r = 0; r < rows.Rows(); ++r) {
    const std::string stored = rows.Text(r, 0);
    if (matches(stored.empty() ? std::string(kDefaultClassName) : stored)) found.push_back(stored);
  }
  return found;
}

// The condition that keeps every case one keyword can match: in a searched text, in its category,
// or in its year; none when it could match a month, day or double hour, which the server does not
// index (or the text cannot be given to the server).
std::optional<std::string> KeywordCondition(Conditions& where, const std::string& keyword,
                                            const std::vector<std::string>& categories, bool withPairs) {
  if (!Searchable(keyword)) return std::nullopt;
  const std::string folded = base::SimplifiedForComparison(keyword);
  const DerivedTexts& derived = Derived();
  for (const std::string& text : derived.others)
    if (text.find(folded) != std::string::npos) return std::nullopt;
  std::vector<std::string> years;
  for (std::size_t i = 0; i < derived.years.size(); ++i) {
    if (derived.years[i].find(folded) != std::string::npos) {
      years.push_back(std::to_string(static_cast<int>(i) + std::numeric_limits<std::int16_t>::min()));
    }
  }
  if (years.size() == derived.years.size()) return std::nullopt;
  std::vector<std::string> inCategories;
  for (const std::string& stored : categories) {
    const std::string decoded = stored.empty() ? std::string(kDefaultClassName) : stored;
    if (MatchesKeywords({decoded}, {keyword})) inCategories.push_back(stored);
  }
  std::string condition = "(" + HoldsFolded(where, kSearchedText, keyword, false, withPairs) + " or category = any(" + where.Parameter(PgValue::TextArray(inCategories)) + "::text[])";
  if (!years.empty()) {
    condition += " or " + std::string(kPlainYear) + " = any(" + where.Parameter(PgValue::TextArray(years)) +
                 "::integer[]) or " + std::string(kPlainYear) + " is null";
  }
  return condition + ")";
}

// Reads, in id order, the cases the conditions keep (with only the columns given, the others
// decoding to their defaults) and gives each to `matches`; the ids it accepts. All in one snapshot.
// A failure leaves the server's message in `error`.
std::optional<std::vector<int>> MatchingIds(SharedLibrary& library, PgConnection& connection,
                                            const std::vector<SearchColumn>& columns,
                                            const std::function<bool(Conditions&)>& narrow,
                                            const std::function<bool(const TRecordData&)>& matches,
                                            std::string& error) {
  if (!library.BeginReading()) {
    error = library.lastError();
    return std::nullopt;
  }
  const auto fail = [&]() {
    error = connection.Message();
    library.EndReading();
    return std::optional<std::vector<int>>();
  };
  // The whole result is read, so the plan that reads it all fastest is wanted, not the first rows.
  if (!connection.Execute("set local cursor_tuple_fraction = 1")) return fail();
  Conditions where;
  if (!narrow(where)) return fail();
  std::string sql = "declare quorin_search no scroll cursor for select id::text";
  for (const SearchColumn& column : columns) sql.append(", ").append(column.name);
  sql += " from quorin.cases";
  for (std::size_t i = 0; i < where.clauses.size(); ++i) sql += (i ? " and " : " where ") + where.clauses[i];
  sql += " order by cases.id";  // the column, not the text selected under its name
  if (!connection.Run(sql, where.values).Ok()) return fail();

  std::vector<int> found;
  std::array<std::string, kCaseColumnCount> texts;
  std::array<std::string_view, kCaseColumnCount> views;
  // In parts, so that a million cases never stand in memory at once.
  for (;;) {
    const PgResult rows = connection.Run("fetch forward 20000 from quorin_search");
    if (!rows.Ok()) return fail();
    for (int r = 0; r < rows.Rows(); ++r) {
      texts[0] = rows.Text(r, 0);
      for (std::size_t c = 0; c < columns.size(); ++c) {
        texts[static_cast<std::size_t>(columns[c].local)] = rows.Text(r, static_cast<int>(c) + 1);
      }
      for (std::size_t i = 0; i < texts.size(); ++i) views[i] = texts[i];
      const TRecordData record = DecodeRecord(views);
      if (matches(record)) found.push_back(record.id);
    }
    if (rows.Rows() == 0) break;
  }
  library.EndReading();
  return found;
}

// The columns the active conditions look at; only these are read.
std::vector<SearchColumn> ColumnsOf(const CaseSearchCriteria& criteria) {
  std::vector<SearchColumn> columns;
  if (criteria.nameMode != CaseSearchCriteria::kNoCondition) columns.push_back(kName);
  if (criteria.classMode != CaseSearchCriteria::kNoCondition) columns.push_back(kCategory);
  if (criteria.remarkSet) columns.push_back(kRemarkText);
  if (criteria.sexSet) columns.push_back(kSex);
  if (criteria.yearsSet) columns.push_back(kYear);
  if (criteria.province != -1) columns.push_back(kPlaceNumbers);
  return columns;
}

}  // namespace

std::optional<std::vector<int>> SharedLibrary::FuzzySearch(const std::vector<std::string>& keywords) {
  const auto narrow = [&](Conditions& where) {
    const auto categories = CategoriesWhere(connection_, [](const std::string&) { return true; });
    if (!categories) return false;
    for (const std::string& keyword : keywords)
      if (const auto condition = KeywordCondition(where, keyword, *categories, HasPairIndex())) {
        where.clauses.push_back(*condition);
      }
    return true;
  };
  const auto matches = [&](const TRecordData& r) { return MatchesKeywords(FuzzyFields(r), keywords); };
  std::string error;
  const auto found =
      MatchingIds(*this, connection_, {kName, kCategory, kYear, kDateNumbers, kPlace, kRemarkText}, narrow, matches, error);
  if (!found) lastError_ = error.empty() ? "无法查找案例！" : "无法查找案例！（" + error + "）";
  return found;
}

std::optional<std::vector<int>> SharedLibrary::Search(const CaseSearchCriteria& criteria) {
  const auto narrow = [&](Conditions& where) {
    if (criteria.nameMode != CaseSearchCriteria::kNoCondition) {
      // An equal name is the beginning of the stored one, which the decoder may have cut.
      const bool equal = criteria.nameMode == CaseSearchCriteria::kEquals;
      const std::string folded = base::SimplifiedForComparison(criteria.name);
      const bool letters =
          std::any_of(folded.begin(), folded.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
      if (Searchable(criteria.name) && equal && letters) {
        // Either case of a letter, exactly as the local search takes it.
        where.clauses.push_back("name ~ " + where.Parameter("^" + FoldedPattern(criteria.name, true)));
      } else if (Searchable(criteria.name)) {
        where.clauses.push_back(HoldsFolded(where, "name", criteria.name, equal, HasPairIndex()));
      }
    }
    if (criteria.classMode != CaseSearchCriteria::kNoCondition) {
      CaseSearchCriteria onlyCategory;
      onlyCategory.province = -1;
      onlyCategory.classMode = criteria.classMode;
      onlyCategory.className = criteria.className;
      const auto categories = CategoriesWhere(connection_, [&](const std::string& decoded) {
        TRecordData r;
        r.className = decoded;
        return MatchesCriteria(r, onlyCategory);
      });
      if (!categories) return false;
      where.clauses.push_back("category = any(" + where.Parameter(PgValue::TextArray(*categories)) + "::text[])");
    }
    if (criteria.remarkSet) {
      if (Searchable(criteria.remark)) {
        where.clauses.push_back(HoldsFolded(where, kSearchedText, criteria.remark, false, HasPairIndex()));
      }
    }
    if (criteria.sexSet) {
      // A case is a woman's only with a number other than 1 there, and a man's unless it holds 0.
      where.clauses.push_back(criteria.male ? "sex is distinct from '0'" : "sex not in ('', '1')");
    }
    if (criteria.yearsSet) {
      where.clauses.push_back("(" + std::string(kPlainYear) + " between " + where.Parameter(criteria.yearFrom) +
                              "::integer and " + where.Parameter(criteria.yearTo) + "::integer or " +
                              std::string(kPlainYear) + " is null)");
    }
    return true;
  };
  const auto matches = [&](const TRecordData& r) { return MatchesCriteria(r, criteria); };
  std::string error;
  const auto found = MatchingIds(*this, connection_, ColumnsOf(criteria), narrow, matches, error);
  if (!found) lastError_ = error.empty() ? "无法查找案例！" : "无法查找案例！（" + error + "）";
  return found;
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_text.h"

#include <algorithm>

#include "base/utf8.h"

namespace quorin::cases {

namespace {

constexpr int kNameCharacters = 10;

// The characters a case file and the database cannot hold, removed.
std::string WithoutForbiddenCharacters(std::string_view name) {
  constexpr std::string_view kForbidden = "\"*<>?\\/|:' ";
  std::string kept;
  for (const char c : name) {
    if (kForbidden.find(c) == std::string_view::npos) kept += c;
  }
  return kept;
}

}  // namespace

std::string CleanCaseName(std::string_view name, bool* changed) {
  std::string kept = WithoutForbiddenCharacters(name);
  if (changed) *changed = kept.size() != name.size();
  kept = base::Utf8Substring(kept, 0, kNameCharacters);
  return kept.empty() ? "甲" : kept;
}

CleanedName CleanChartName(std::string_view trimmed) {
  if (trimmed.empty()) return {"甲", true};
  const std::string kept = WithoutForbiddenCharacters(trimmed);
  std::string name = base::Utf8Substring(kept, 0, kNameCharacters);
  const bool changed = kept.size() != trimmed.size() || name.size() != kept.size();
  return {std::move(name), changed};
}

CleanedName CleanTypedChartName(std::string_view typed) {
  const auto first = typed.find_first_not_of(" \t");
  const std::string_view trimmed =
      first == std::string_view::npos ? std::string_view() : typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
  CleanedName cleaned = CleanChartName(trimmed);
  if (cleaned.name.empty()) cleaned.name = "甲";
  return cleaned;
}

std::string RemoveApostrophes(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != '\'') out += c;
  }
  return out;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
  });
}

void AddCategoryOnce(std::vector<std::string>& list, const std::string& name) {
  if (!HasCategory(list, name)) list.push_back(name);
}

bool HasCategory(const std::vector<std::string>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& c) { return EqualIgnoringAsciiCase(c, name); });
}

std::string CaseCountText(int count) { return "【 " + std::to_string(count) + " 条案例】"; }

}  // namespace quorin::cases

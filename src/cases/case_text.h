// SPDX-License-Identifier: GPL-3.0-or-later
// Small texts and conversions shared by the case commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorin::cases {

// A name or category name made safe to store: the characters " * < > ? \ / | : ' and
// spaces removed, cut to at most 10 characters, "甲" when nothing is left. `changed`
// tells whether characters had to be removed.
std::string CleanCaseName(std::string_view name, bool* changed = nullptr);

// The person's name as 排盘 takes it. `trimmed` is the typed name with the blanks around
// it already removed (each caller trims by its own rule). Empty becomes "甲"; otherwise
// the characters CleanCaseName removes are removed and the name is cut to 10 characters,
// which leaves an empty name when every character was removed. `changed` is set when the
// name was empty, or anything was removed or cut.
struct CleanedName {
  std::string name;
  bool changed = false;
};
CleanedName CleanChartName(std::string_view trimmed);

// The person's name as a command takes it (quorin-cli, the web edition's engine): blanks and tabs
// around it trimmed, cleaned as 排盘 takes it, and "甲" rather than empty when every character was
// removed; with the notice told when it was changed.
CleanedName CleanTypedChartName(std::string_view typed);
inline constexpr const char* kCleanedNameNotice =
    "姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！";

// The remark text as stored: every apostrophe removed.
std::string RemoveApostrophes(std::string_view text);

// Equal texts when the case of Latin letters is ignored (how category names compare).
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
// A list of categories as an export makes it: a name joins unless the list has it already, and
// one is in it when an equal one is, both as category names compare.
void AddCategoryOnce(std::vector<std::string>& list, const std::string& name);
bool HasCategory(const std::vector<std::string>& list, const std::string& name);

// "【 n 条案例】", the case count of the tree's menu.
std::string CaseCountText(int count);

}  // namespace quorin::cases

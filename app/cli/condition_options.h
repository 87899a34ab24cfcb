// SPDX-License-Identifier: GPL-3.0-or-later
// The search conditions (查找吉课) on the command line: the options that tick them, read the same way
// by every command that takes them (search, compare), and their lines of the usage text.
#pragma once

#include <string>
#include <string_view>

#include "chart/search_request.h"

namespace quorin::cli {

class Arguments;
struct OptionSpec;

// Declares the condition options: the list options of the groups (--qi, --avoid …), the digit groups
// (--qi-digits, --qi-adjacent …), the flags of single conditions (--shengru) and --pattern.
void AddConditionOptions(OptionSpec& spec);

// The conditions ticked by the options, after a ready pattern that replaces those before it, and the
// condition counts updated; a condition or digit group in a wrong form is a usage error.
void ReadConditions(const Arguments& a, chart::SearchRequest& q);

// "  --qi LIST              卦气 conditions: …": an option and its text in the usage's two columns.
std::string OptionLine(std::string option, std::string_view text);

// The usage lines of the condition options, from --qi to --pattern.
std::string ConditionOptionsUsage();

}  // namespace quorin::cli

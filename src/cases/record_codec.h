// SPDX-License-Identifier: GPL-3.0-or-later
// How one case is written to and read from the 17 columns of case_data.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_parse.h"
#include "chart/record_data.h"

namespace quorin::cases {

inline constexpr int kCaseColumnCount = 17;
inline constexpr std::array<std::string_view, kCaseColumnCount> kCaseColumns = {
    "id",      "name",       "sex",   "className", "dateY",  "dateNum",    "dateStyle", "addrInd",   "addrName",
    "addrNum", "remarkFile", "tag1",  "tag2",      "shanGua", "event",     "masterDate", "remarkText"};

inline constexpr std::string_view kDefaultClassName = "临时保存";
inline constexpr std::string_view kDefaultRemarkText = "输入自己的评语：";

// One stored value: a bare number or a text.
struct ColumnValue {
  bool isInteger = false;
  std::int64_t integer = 0;
  std::string text;
};

// The 17 values of a record in column order, as the database keeps them.
std::array<ColumnValue, kCaseColumnCount> EncodeRecord(const TRecordData& record);

// A record from the texts of the 17 columns (empty for a missing column or NULL),
// each part decoded with its default when it is missing or not a number.
TRecordData DecodeRecord(const std::array<std::string_view, kCaseColumnCount>& columns);

// Whether a text can be a time zone's name as a case stores it (letters, digits, / _ - +).
bool IsZoneName(std::string_view text);

// Splits a space-separated column: while the first space of the text comes after its
// first character, the part before it is the next item and the text up to the space
// is removed; the rest, when not empty, is the last item. A text that begins with a
// space is therefore a single item.
std::vector<std::string> SplitCaseText(std::string_view text);

// An integer column read as text: a decimal integer with an optional sign and nothing else.
inline std::optional<std::int64_t> ParseCaseInteger(std::string_view text) { return base::ParseInt64(text); }

}  // namespace quorin::cases

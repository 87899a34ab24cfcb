// SPDX-License-Identifier: GPL-3.0-or-later
// The historical era names (纪年) by pillar year, in their fixed order.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorin::calendar {

struct EraRecord {
  std::int16_t start;         // first pillar year of the era, astronomical numbering
  std::int16_t count;         // years covered
  std::int16_t base;          // added to the ordinal year (an era begun under a predecessor)
  std::string_view dynasty;   // e.g. "南朝/陈"
  std::string_view ruler;     // the ruler's title
  std::string_view person;    // the ruler's personal name, may be empty
  std::string_view era;       // the era name, or the ruler's name before era names
};

// The 529 records, grouped by dynasty, chronological within a group.
std::span<const EraRecord> EraRecords();

}  // namespace quorin::calendar

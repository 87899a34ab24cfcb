// SPDX-License-Identifier: GPL-3.0-or-later
// The zones of the web edition: the database's spans, recorded into the shipped tables folder
// when the edition is built (zone_table.h).
#include <optional>
#include <string>

#include "base/data_location.h"
#include "calendar/zone_rules.h"
#include "calendar/zone_table.h"

namespace quorin::calendar {

const ZoneRules* FindZoneRules(std::string_view name) {
  // Read once and kept for the whole run; until the page has put the file in place every zone is
  // unknown, and it is looked for again at the next question.
  static std::optional<RecordedZoneTable> table;
  if (!table) {
    std::string problem;
    table = ReadRecordedZones(base::ShippedFolder() + "tables/" + kRecordedZonesFile, problem);
  }
  return table ? table->Find(name) : nullptr;
}

}  // namespace quorin::calendar

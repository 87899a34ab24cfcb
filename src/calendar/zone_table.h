// SPDX-License-Identifier: GPL-3.0-or-later
// Time zones as recorded spans of their offsets: what the web edition, which has no tzdata, reads
// its zones from. The recording tool (tools/web_tables) writes the file from the date/tz library's
// database; the tests check that both answer alike for every zone.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/zone_rules.h"

namespace quorin::calendar {

// One span of a zone's offset, from its start to the next span's start.
struct RecordedSpan {
  std::int64_t startSeconds = 0;  // UTC seconds since 1970-01-01 00:00
  int offsetSeconds = 0;
  bool summerTime = false;
  std::string abbreviation;

  friend bool operator==(const RecordedSpan&, const RecordedSpan&) = default;
};

// A zone's whole history: its spans in order, the first from the beginning of time, and where the
// last one ends (the end of time). At least one span.
struct RecordedZone {
  std::string name;
  std::vector<RecordedSpan> spans;
  std::int64_t endSeconds = 0;
};

// The rules of a recorded zone, answering as the date/tz library does over the same spans:
// before-history and beyond-records offsets by the same tests, a clock time's second offset empty
// when it is read once.
std::unique_ptr<ZoneRules> MakeRecordedZoneRules(const RecordedZone& zone);

// The file the web edition reads its zones from, in its tables folder.
inline constexpr const char* kRecordedZonesFile = "zones.txt";

// Zones by name, zones and their other names (links), as read from a recorded file.
class RecordedZoneTable {
 public:
  // Nullopt, with the line in `problem`, when the text is not a recorded zone file.
  static std::optional<RecordedZoneTable> Parse(std::string_view text, std::string& problem);

  // Null for a name the table does not hold.
  const ZoneRules* Find(std::string_view name) const;
  // Every name the table holds, sorted.
  std::vector<std::string> Names() const;

 private:
  std::vector<std::unique_ptr<ZoneRules>> rules_;
  std::map<std::string, const ZoneRules*, std::less<>> byName_;
};

// The recorded file at `path`; nullopt, with the program's message naming it, when it cannot be
// read or is broken.
std::optional<RecordedZoneTable> ReadRecordedZones(const std::string& path, std::string& problem);

// The recorded file's text. Zones of the same spans are written once and the others as its other
// names; sorted by name, so the same zones always give the same bytes. Nullopt, with the zone in
// `problem`, for a zone the format cannot hold (no span, spans out of order, an abbreviation that
// is empty or holds a space).
std::optional<std::string> RecordedZonesText(const std::vector<RecordedZone>& zones, std::string& problem);

}  // namespace quorin::calendar

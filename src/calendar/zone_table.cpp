// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/zone_table.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <utility>

#include "base/files.h"

namespace quorin::calendar {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, as the date/tz library counts them.
constexpr std::int64_t GregorianDaysFromEpoch(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr std::int64_t kSecondsPerDay = 86400;
// The system's zone files list changes up to 2037; a span that starts then and runs on past 9999
// is where the records stop (the same test as the date/tz backend's).
constexpr std::int64_t kRecordsEndSeconds = GregorianDaysFromEpoch(2037, 1, 1) * kSecondsPerDay;
constexpr std::int64_t kOpenEndSeconds = GregorianDaysFromEpoch(9999, 1, 1) * kSecondsPerDay;
static_assert(kRecordsEndSeconds == 2114380800);

// What a span's offset is, apart from when: the spans of a zone share a few of these.
struct OffsetKind {
  int seconds = 0;
  bool summerTime = false;
  std::string abbreviation;
  friend bool operator==(const OffsetKind&, const OffsetKind&) = default;
};

OffsetKind KindOf(const RecordedSpan& span) { return {span.offsetSeconds, span.summerTime, span.abbreviation}; }

class SpanZoneRules final : public ZoneRules {
 public:
  explicit SpanZoneRules(const RecordedZone& zone) : end_(zone.endSeconds) {
    assert(!zone.spans.empty());
    for (const RecordedSpan& span : zone.spans) {
      const OffsetKind kind = KindOf(span);
      auto known = std::find(kinds_.begin(), kinds_.end(), kind);
      if (known == kinds_.end()) known = kinds_.insert(kinds_.end(), kind);
      spans_.push_back({span.startSeconds, static_cast<std::size_t>(known - kinds_.begin())});
    }
  }

  ClockTimeReading Read(const CivilDateTime& clock) const override {
    const std::int64_t local = UtcSecondsOf(clock);
    // The last span whose start, read on its own clock, is not after the clock time (as date/tz
    // searches; those starts only grow in every zone of the database, which the tests check).
    const auto after = std::upper_bound(spans_.begin(), spans_.end(), local,
                                        [&](std::int64_t l, const Span& s) { return l < s.start + OffsetSeconds(s); });
    const std::size_t k = after == spans_.begin() ? 0 : static_cast<std::size_t>(after - spans_.begin()) - 1;
    ClockTimeReading reading;
    if (k + 1 < spans_.size() && local - OffsetSeconds(spans_[k]) >= EndOf(k)) {
      // Past the span's end on its clock, before the next one's start on the next clock.
      reading.kind = ClockTimeKind::kSkipped;
      reading.offsets = {OffsetOf(k), OffsetOf(k + 1)};
    } else if (k > 0 && local - OffsetSeconds(spans_[k - 1]) < spans_[k].start) {
      // The clock showed it before the change as well.
      reading.kind = ClockTimeKind::kRepeated;
      reading.offsets = {OffsetOf(k - 1), OffsetOf(k)};
    } else {
      reading.kind = ClockTimeKind::kUnique;
      reading.offsets = {OffsetOf(k), ZoneOffset{}};
    }
    return reading;
  }

  ZoneSpan SpanAtBeijingTime(const CivilDateTime& beijing) const override {
    const std::int64_t instant = UtcSecondsOf(beijing) - kBeijingOffsetSeconds;
    const auto after = std::upper_bound(spans_.begin(), spans_.end(), instant,
                                        [](std::int64_t t, const Span& s) { return t < s.start; });
    const std::size_t k = after == spans_.begin() ? 0 : static_cast<std::size_t>(after - spans_.begin()) - 1;
    return ZoneSpan{OffsetOf(k), BeijingTimeOfUtcSeconds(spans_[k].start), BeijingTimeOfUtcSeconds(EndOf(k))};
  }

 private:
  struct Span {
    std::int64_t start;
    std::size_t kind;
  };

  int OffsetSeconds(const Span& span) const { return kinds_[span.kind].seconds; }
  std::int64_t EndOf(std::size_t k) const { return k + 1 < spans_.size() ? spans_[k + 1].start : end_; }

  ZoneOffset OffsetOf(std::size_t k) const {
    const OffsetKind& kind = kinds_[spans_[k].kind];
    ZoneOffset o;
    o.beyondRecords = spans_[k].start >= kRecordsEndSeconds && EndOf(k) >= kOpenEndSeconds;
    o.seconds = kind.seconds;
    o.summerTime = kind.summerTime;
    o.abbreviation = kind.abbreviation;
    // The database names a zone's time before its first recorded change "LMT".
    o.beforeHistory = kind.abbreviation == "LMT";
    return o;
  }

  std::vector<OffsetKind> kinds_;
  std::vector<Span> spans_;
  std::int64_t end_;
};

// The fields of a line apart by single spaces; false when it has not exactly `count`.
template <std::size_t count>
bool SplitFields(std::string_view line, std::array<std::string_view, count>& fields) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t space = line.find(' ', start);
    const bool last = i + 1 == count;
    if (last != (space == std::string_view::npos)) return false;
    fields[i] = line.substr(start, last ? std::string_view::npos : space - start);
    if (fields[i].empty()) return false;
    start = space + 1;
  }
  return true;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && stop == end;
}

bool FitsName(std::string_view text) {
  return !text.empty() && text.find_first_of(" \t\r\n") == std::string_view::npos;
}

// A zone's lines after its name: its kinds of offset ("O seconds abbreviation summer"), its spans
// (the first's start, then each start as seconds after the one before, with the kind's number) and
// where the last ends ("E seconds").
std::optional<std::string> ZoneBody(const RecordedZone& zone) {
  std::vector<OffsetKind> kinds;
  std::string kindLines;
  std::string spanLines;
  std::int64_t previous = 0;
  for (std::size_t i = 0; i < zone.spans.size(); ++i) {
    const RecordedSpan& span = zone.spans[i];
    if (!FitsName(span.abbreviation) || (i > 0 && span.startSeconds <= previous)) return std::nullopt;
    const OffsetKind kind = KindOf(span);
    auto known = std::find(kinds.begin(), kinds.end(), kind);
    if (known == kinds.end()) {
      known = kinds.insert(kinds.end(), kind);
      kindLines += "O " + std::to_string(span.offsetSeconds) + ' ' + span.abbreviation + (span.summerTime ? " 1\n" : " 0\n");
    }
    spanLines += std::to_string(i == 0 ? span.startSeconds : span.startSeconds - previous) + ' ' +
                 std::to_string(known - kinds.begin()) + '\n';
    previous = span.startSeconds;
  }
  if (zone.spans.empty() || zone.endSeconds <= previous) return std::nullopt;
  return kindLines + spanLines + "E " + std::to_string(zone.endSeconds) + '\n';
}

constexpr std::string_view kFileHeader =
    "# Time zones recorded from the IANA database by tools/web_tables; do not edit.\n"
    "# Z name: a zone. O seconds abbreviation summer(0/1): its kinds of offset, numbered from 0.\n"
    "# Then its spans, \"start kind\": the first's start in UTC seconds since 1970, later ones'\n"
    "# seconds after the start before. E seconds: where the last span ends.\n"
    "# L name zone: another name of a zone.\n";

}  // namespace

std::unique_ptr<ZoneRules> MakeRecordedZoneRules(const RecordedZone& zone) { return std::make_unique<SpanZoneRules>(zone); }

std::optional<RecordedZoneTable> RecordedZoneTable::Parse(std::string_view text, std::string& problem) {
  RecordedZoneTable table;
  std::vector<std::pair<std::string, std::string>> links;
  std::optional<RecordedZone> zone;
  std::vector<OffsetKind> kinds;
  bool ended = false;
  // Files the zone being read, once it has its end.
  const auto finish = [&] {
    if (!zone) return true;
    if (!ended || table.byName_.contains(zone->name)) return false;
    table.rules_.push_back(MakeRecordedZoneRules(*zone));
    table.byName_.emplace(zone->name, table.rules_.back().get());
    zone.reset();
    return true;
  };
  const auto readLine = [&](std::string_view line) {
    if (line.empty() || line.front() == '#') return true;
    if (line.starts_with("Z ")) {
      if (!finish() || !FitsName(line.substr(2))) return false;
      zone = RecordedZone{std::string(line.substr(2)), {}, 0};
      kinds.clear();
      ended = false;
      return true;
    }
    if (line.starts_with("L ")) {
      std::array<std::string_view, 3> fields;
      if (!finish() || !SplitFields(line, fields)) return false;
      links.emplace_back(fields[1], fields[2]);
      return true;
    }
    if (!zone || ended) return false;
    if (line.starts_with("O ")) {
      std::array<std::string_view, 4> fields;
      int seconds = 0;
      if (!SplitFields(line, fields) || !ParseNumber(fields[1], seconds) || (fields[3] != "0" && fields[3] != "1"))
        return false;
      kinds.push_back({seconds, fields[3] == "1", std::string(fields[2])});
      return true;
    }
    if (line.starts_with("E ")) {
      ended = ParseNumber(line.substr(2), zone->endSeconds) && !zone->spans.empty() &&
              zone->endSeconds > zone->spans.back().startSeconds;
      return ended;
    }
    std::array<std::string_view, 2> fields;
    std::int64_t start = 0;
    std::size_t kind = 0;
    if (!SplitFields(line, fields) || !ParseNumber(fields[0], start) || !ParseNumber(fields[1], kind) ||
        kind >= kinds.size())
      return false;
    if (!zone->spans.empty()) {
      if (start <= 0) return false;
      start += zone->spans.back().startSeconds;
    }
    zone->spans.push_back({start, kinds[kind].seconds, kinds[kind].summerTime, kinds[kind].abbreviation});
    return true;
  };
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    if (!readLine(text.substr(pos, end - pos))) {
      problem = "第" + std::to_string(lineNumber) + "行";
      return std::nullopt;
    }
    pos = end + 1;
  }
  if (!finish()) {
    problem = "第" + std::to_string(lineNumber) + "行";
    return std::nullopt;
  }
  for (const auto& [name, target] : links) {
    const ZoneRules* rules = table.Find(target);
    if (!rules || !table.byName_.emplace(name, rules).second) {
      problem = "时区" + name;
      return std::nullopt;
    }
  }
  return table;
}

const ZoneRules* RecordedZoneTable::Find(std::string_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

std::vector<std::string> RecordedZoneTable::Names() const {
  std::vector<std::string> names;
  names.reserve(byName_.size());
  for (const auto& entry : byName_) names.push_back(entry.first);
  return names;
}

std::optional<RecordedZoneTable> ReadRecordedZones(const std::string& path, std::string& problem) {
  const std::optional<std::string> text = base::ReadFileBytes(path);
  if (!text) {
    problem = "无法读取时区表（" + path + "）";
    return std::nullopt;
  }
  std::string where;
  std::optional<RecordedZoneTable> table = RecordedZoneTable::Parse(*text, where);
  if (!table) problem = "时区表有误（" + path + "，" + where + "）";
  return table;
}

std::optional<std::string> RecordedZonesText(const std::vector<RecordedZone>& zones, std::string& problem) {
  std::vector<const RecordedZone*> byName;
  for (const RecordedZone& zone : zones) byName.push_back(&zone);
  std::sort(byName.begin(), byName.end(), [](const RecordedZone* a, const RecordedZone* b) { return a->name < b->name; });
  std::string zoneLines;
  std::string linkLines;
  std::map<std::string, std::string> zoneOfBody;  // a body already written, with its zone's name
  for (const RecordedZone* zone : byName) {
    const std::optional<std::string> body = ZoneBody(*zone);
    if (!body || !FitsName(zone->name)) {
      problem = "无法记录时区" + zone->name;
      return std::nullopt;
    }
    const auto [written, isNew] = zoneOfBody.emplace(*body, zone->name);
    if (isNew) zoneLines += "Z " + zone->name + '\n' + *body;
    else linkLines += "L " + zone->name + ' ' + written->second + '\n';
  }
  return std::string(kFileHeader) + zoneLines + linkLines;
}

}  // namespace quorin::calendar

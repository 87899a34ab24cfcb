// SPDX-License-Identifier: GPL-3.0-or-later
// Zones as the date/tz library reads them from the system's tzdata.
#include <date/tz.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "calendar/zone_rules.h"

namespace quorin::calendar {

namespace {

date::sys_seconds InstantOfBeijing(const CivilDateTime& beijing) {
  return date::sys_seconds{std::chrono::seconds(UtcSecondsOf(beijing) - kBeijingOffsetSeconds)};
}

CivilDateTime BeijingOfInstant(date::sys_seconds t) { return BeijingTimeOfUtcSeconds(t.time_since_epoch().count()); }

// The system's zone files list changes up to 2037; a span that starts then and never ends is
// where the records stop, not where the zone stopped changing.
bool PastTheRecords(const date::sys_info& info) {
  using namespace date::literals;
  return info.begin >= date::sys_days{2037_y / date::January / 1} && info.end >= date::sys_days{9999_y / date::January / 1};
}

ZoneOffset FromInfo(const date::sys_info& info) {
  ZoneOffset o;
  o.beyondRecords = PastTheRecords(info);
  o.seconds = static_cast<int>(info.offset.count());
  o.summerTime = info.save != std::chrono::minutes(0);
  o.abbreviation = info.abbrev;
  // The database names a zone's time before its first recorded change "LMT".
  o.beforeHistory = info.abbrev == "LMT";
  return o;
}

class TzdbZoneRules final : public ZoneRules {
 public:
  explicit TzdbZoneRules(const date::time_zone* zone) : zone_(zone) {}

  ClockTimeReading Read(const CivilDateTime& clock) const override {
    const date::local_info info = zone_->get_info(date::local_seconds{std::chrono::seconds(UtcSecondsOf(clock))});
    ClockTimeReading reading;
    reading.offsets = {FromInfo(info.first), FromInfo(info.second)};
    switch (info.result) {
      case date::local_info::unique: reading.kind = ClockTimeKind::kUnique; break;
      case date::local_info::nonexistent: reading.kind = ClockTimeKind::kSkipped; break;
      case date::local_info::ambiguous: reading.kind = ClockTimeKind::kRepeated; break;
    }
    return reading;
  }

  ZoneSpan SpanAtBeijingTime(const CivilDateTime& beijing) const override {
    const date::sys_info info = zone_->get_info(InstantOfBeijing(beijing));
    return ZoneSpan{FromInfo(info), BeijingOfInstant(info.begin), BeijingOfInstant(info.end)};
  }

 private:
  const date::time_zone* zone_;  // owned by the library's database, for the whole run
};

}  // namespace

const ZoneRules* FindZoneRules(std::string_view name) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<TzdbZoneRules>, std::less<>> found;
  const std::lock_guard lock(mutex);
  if (const auto known = found.find(name); known != found.end()) return known->second.get();
  try {
    auto rules = std::make_unique<TzdbZoneRules>(date::locate_zone(std::string(name)));
    return found.emplace(std::string(name), std::move(rules)).first->second.get();
  } catch (const std::exception&) {
    return nullptr;  // unknown name, or no database installed
  }
}

}  // namespace quorin::calendar

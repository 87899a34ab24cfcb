// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/zoned_clock.h"

#include <cstdio>

#include "base/script_text.h"
#include "base/world_zones.h"
#include "calendar/historical_year.h"

namespace quorin::chart {

std::string ClockTimeText(const calendar::CivilDateTime& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%d年%d月%d日%d时%02d分", calendar::HistoricalYear(t.year), t.month, t.day, t.hour,
                t.minute);
  return text;
}

std::string OffsetChoiceText(const calendar::ZoneOffset& offset) {
  return calendar::UtcOffsetText(offset.seconds) + (offset.summerTime ? "，夏令时" : "");
}

ZonedClockReading ReadZonedClock(const calendar::CivilDateTime& clock, std::string_view zone, int fold) {
  ZonedClockReading out;
  const std::optional<calendar::TimeZone> found = calendar::TimeZone::Find(zone);
  if (!found) {
    out.problem = "没有这个时区：" + std::string(zone);
    return out;
  }
  const calendar::ClockTimeReading reading = found->Read(clock);
  out.kind = reading.kind;
  out.offsets = reading.offsets;
  const std::string city = base::ZoneCityName(zone, base::ShownScript());
  const auto& [earlier, later] = reading.offsets;
  const std::string change = "从" + calendar::UtcOffsetText(earlier.seconds) + "拨到" + calendar::UtcOffsetText(later.seconds);
  calendar::ZoneOffset used = earlier;
  switch (reading.kind) {
    case calendar::ClockTimeKind::kSkipped:
      out.problem = city + "当地没有" + ClockTimeText(clock) + "这个钟点：时钟在这时" + change + "，拨快了，这段时间被跳过。";
      return out;
    case calendar::ClockTimeKind::kRepeated:
      if (fold != 1 && fold != 2) {
        out.problem = city + "当地的" + ClockTimeText(clock) + "出现了两次：时钟在这时" + change + "，拨回了。";
        return out;
      }
      used = fold == 1 ? earlier : later;
      break;
    case calendar::ClockTimeKind::kUnique: break;
  }
  out.beijing = calendar::BeijingTimeOfClock(clock, used);
  out.clock = LocalClock{clock, city, used.seconds, used.summerTime, used.beforeHistory, used.beyondRecords};
  return out;
}

}  // namespace quorin::chart

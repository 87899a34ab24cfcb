// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/zone_time.h"

#include <gtest/gtest.h>

namespace quorin::calendar {
namespace {

CivilDateTime At(int y, int mo, int d, int h, int mi) {
  return {static_cast<std::int16_t>(y), static_cast<std::int16_t>(mo), static_cast<std::int16_t>(d),
          static_cast<std::int16_t>(h), static_cast<std::int16_t>(mi)};
}

constexpr int kHour = 3600;

// Published clock changes, each with the clock time read and the Beijing time worked out by hand
// (Beijing = clock − offset + 8 h).
TEST(ZoneTime, PublishedClockChanges) {
  const struct {
    const char* zone;
    CivilDateTime clock;
    ClockTimeKind kind;
    int firstOffset, secondOffset;
  } rows[] = {
      // New York, 2024-03-10 02:00 EST → 03:00 EDT; 2024-11-03 02:00 EDT → 01:00 EST.
      {"America/New_York", At(2024, 3, 10, 2, 30), ClockTimeKind::kSkipped, -5 * kHour, -4 * kHour},
      {"America/New_York", At(2024, 3, 10, 3, 0), ClockTimeKind::kUnique, -4 * kHour, 0},
      {"America/New_York", At(2024, 11, 3, 1, 30), ClockTimeKind::kRepeated, -4 * kHour, -5 * kHour},
      // London, 2024-03-31 01:00 GMT → 02:00 BST.
      {"Europe/London", At(2024, 3, 31, 1, 30), ClockTimeKind::kSkipped, 0, kHour},
      // Sydney's southern summer: 2024-04-07 03:00 AEDT → 02:00 AEST, 2024-10-06 02:00 → 03:00.
      {"Australia/Sydney", At(2024, 4, 7, 2, 30), ClockTimeKind::kRepeated, 11 * kHour, 10 * kHour},
      {"Australia/Sydney", At(2024, 10, 6, 2, 30), ClockTimeKind::kSkipped, 10 * kHour, 11 * kHour},
      {"Australia/Sydney", At(2024, 1, 15, 12, 0), ClockTimeKind::kUnique, 11 * kHour, 0},
      // Mainland summer time of 1988 as the database records it (clocks forward on 17 April, the
      // first Sunday from the 11th; back on 11 September).
      {"Asia/Shanghai", At(1988, 4, 17, 2, 30), ClockTimeKind::kSkipped, 8 * kHour, 9 * kHour},
      {"Asia/Shanghai", At(1988, 9, 11, 1, 30), ClockTimeKind::kRepeated, 9 * kHour, 8 * kHour},
      {"Asia/Shanghai", At(1988, 7, 1, 12, 0), ClockTimeKind::kUnique, 9 * kHour, 0},
      // Hong Kong's summer time of 1975: 20 April 03:30 → 04:30, 19 October 03:30 → 02:30.
      {"Asia/Hong_Kong", At(1975, 4, 20, 4, 0), ClockTimeKind::kSkipped, 8 * kHour, 9 * kHour},
      {"Asia/Hong_Kong", At(1975, 10, 19, 3, 0), ClockTimeKind::kRepeated, 9 * kHour, 8 * kHour},
      // Kuala Lumpur from UTC+7:30 to UTC+8 at the end of 1981: 23:30 on 31 December became 00:00.
      {"Asia/Kuala_Lumpur", At(1981, 12, 31, 23, 45), ClockTimeKind::kSkipped, 7 * kHour + 1800, 8 * kHour},
      {"Asia/Kuala_Lumpur", At(1981, 12, 31, 23, 0), ClockTimeKind::kUnique, 7 * kHour + 1800, 0},
  };
  for (const auto& r : rows) {
    const std::optional<ClockTimeReading> reading = ReadClockTime(r.zone, r.clock);
    ASSERT_TRUE(reading.has_value()) << r.zone;
    EXPECT_EQ(reading->kind, r.kind) << r.zone << " " << r.clock.month << "-" << r.clock.day;
    EXPECT_EQ(reading->offsets[0].seconds, r.firstOffset) << r.zone;
    if (r.kind != ClockTimeKind::kUnique) {
      EXPECT_EQ(reading->offsets[1].seconds, r.secondOffset) << r.zone;
    }
  }
}

TEST(ZoneTime, BeijingTimeOfAClockTimeAndBack) {
  // 2024-03-10 03:00 EDT (UTC−4) is 15:00 in Beijing; the date changes with it.
  const ClockTimeReading newYork = *ReadClockTime("America/New_York", At(2024, 3, 10, 3, 0));
  EXPECT_EQ(BeijingTimeOfClock(At(2024, 3, 10, 3, 0), newYork.offsets[0]), At(2024, 3, 10, 15, 0));
  EXPECT_EQ(BeijingTimeOfClock(At(2024, 3, 10, 23, 30), newYork.offsets[0]), At(2024, 3, 11, 11, 30));
  // The second 01:30 of 2024-11-03 (EST) is an hour after the first.
  const ClockTimeReading back = *ReadClockTime("America/New_York", At(2024, 11, 3, 1, 30));
  EXPECT_EQ(BeijingTimeOfClock(At(2024, 11, 3, 1, 30), back.offsets[0]), At(2024, 11, 3, 13, 30));
  EXPECT_EQ(BeijingTimeOfClock(At(2024, 11, 3, 1, 30), back.offsets[1]), At(2024, 11, 3, 14, 30));
  // Kuala Lumpur has kept Beijing's offset since 1982: the same clock time is the same moment.
  const ClockTimeReading kualaLumpur = *ReadClockTime("Asia/Kuala_Lumpur", At(2024, 6, 1, 9, 15));
  EXPECT_EQ(BeijingTimeOfClock(At(2024, 6, 1, 9, 15), kualaLumpur.offsets[0]), At(2024, 6, 1, 9, 15));
  // A mainland clock in the summer of 1988 was an hour ahead of Beijing time.
  const ClockTimeReading summer = *ReadClockTime("Asia/Shanghai", At(1988, 7, 1, 12, 0));
  EXPECT_TRUE(summer.offsets[0].summerTime);
  EXPECT_EQ(BeijingTimeOfClock(At(1988, 7, 1, 12, 0), summer.offsets[0]), At(1988, 7, 1, 11, 0));
  // And back from Beijing time, with the offset the zone had then.
  const std::optional<ZoneOffset> sydney = OffsetAtBeijingTime("Australia/Sydney", At(2024, 1, 15, 9, 0));
  ASSERT_TRUE(sydney.has_value());
  EXPECT_EQ(sydney->seconds, 11 * kHour);
  EXPECT_EQ(ClockTimeOfBeijing(At(2024, 1, 15, 9, 0), *sydney), At(2024, 1, 15, 12, 0));
}

TEST(ZoneTime, BeforeAZonesHistoryItsLocalMeanTimeAndUnknownZones) {
  // Shanghai's local mean time, 8:05:43 ahead of UTC, before its first recorded change; a Julian
  // date of the Song dynasty reads the same way.
  for (const CivilDateTime clock : {At(1850, 1, 1, 12, 0), At(1100, 3, 1, 12, 0)}) {
    const ClockTimeReading reading = *ReadClockTime("Asia/Shanghai", clock);
    EXPECT_TRUE(reading.offsets[0].beforeHistory);
    EXPECT_EQ(reading.offsets[0].seconds, 8 * kHour + 5 * 60 + 43);
  }
  EXPECT_EQ(BeijingTimeOfClock(At(1850, 1, 1, 12, 0), ReadClockTime("Asia/Shanghai", At(1850, 1, 1, 12, 0))->offsets[0]),
            At(1850, 1, 1, 11, 54));
  EXPECT_FALSE(IsKnownZone("Mars/Olympus_Mons"));
  EXPECT_EQ(ReadClockTime("Mars/Olympus_Mons", At(2024, 1, 1, 0, 0)), std::nullopt);
  EXPECT_EQ(UtcOffsetText(-4 * kHour), "UTC-4");
  EXPECT_EQ(UtcOffsetText(5 * kHour + 1800), "UTC+5:30");
  EXPECT_EQ(UtcOffsetText(8 * kHour + 5 * 60 + 43), "UTC+8:05:43");
}

}  // namespace
}  // namespace quorin::calendar

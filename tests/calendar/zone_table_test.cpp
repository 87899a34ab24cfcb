// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/zone_table.h"

#include <gtest/gtest.h>

#include <random>

#include "support/temp_dir.h"
#include "web_tables_recording.h"

namespace quorin::calendar {
namespace {

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 3600;

// The civil time a clock showing UTC plus `offset` shows at an instant, for whole minutes.
CivilDateTime ClockAt(std::int64_t utcSeconds, std::int64_t offset = kBeijingOffsetSeconds) {
  return BeijingTimeOfUtcSeconds(utcSeconds + offset - kBeijingOffsetSeconds);
}

std::int64_t WholeMinuteAtOrBefore(std::int64_t seconds) {
  return seconds - ((seconds % kMinute) + kMinute) % kMinute;
}

std::string Describe(const ZoneOffset& o) {
  return std::to_string(o.seconds) + " " + o.abbreviation + (o.summerTime ? " summer" : "") +
         (o.beforeHistory ? " before-history" : "") + (o.beyondRecords ? " beyond-records" : "");
}

std::string Describe(const CivilDateTime& t) {
  return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
         std::to_string(t.hour) + ":" + std::to_string(t.minute);
}

std::string Describe(const ClockTimeReading& r) {
  return std::to_string(static_cast<int>(r.kind)) + " [" + Describe(r.offsets[0]) + "] [" + Describe(r.offsets[1]) + "]";
}

std::string Describe(const ZoneSpan& s) {
  return Describe(s.offset) + " from " + Describe(s.startsBeijing) + " to " + Describe(s.endsBeijing);
}

// A made-up zone: local mean time +0:30, then from the epoch +1:00 (A), from 10,000 minutes on
// +2:00 of summer time (S), from 20,000 minutes on +1:00 again.
RecordedZone MadeUpZone() {
  constexpr std::int64_t beginning = -1000000 * kHour;
  return RecordedZone{"Test/Made_Up",
                      {{beginning, 1800, false, "LMT"}, {0, 3600, false, "A"}, {10000 * kMinute, 7200, true, "S"},
                       {20000 * kMinute, 3600, false, "A"}},
                      1000000 * kHour};
}

TEST(RecordedZoneRules, ClockTimesOnBothSidesOfEachChange) {
  const std::unique_ptr<ZoneRules> rules = MakeRecordedZoneRules(MadeUpZone());
  ZoneOffset lmt{1800, false, "LMT", true, false};
  ZoneOffset a{3600, false, "A", false, false};
  ZoneOffset s{7200, true, "S", false, false};
  const struct {
    std::int64_t local;  // seconds of the clock time, read as if on UTC
    ClockTimeKind kind;
    ZoneOffset first;
    ZoneOffset second;
  } rows[] = {
      {-kHour, ClockTimeKind::kUnique, lmt, {}},
      // The clock goes from 0:30 to 1:00 at the epoch: 0:30 to 0:59 never showed.
      {1800 - kMinute, ClockTimeKind::kUnique, lmt, {}},
      {1800, ClockTimeKind::kSkipped, lmt, a},
      {kHour - kMinute, ClockTimeKind::kSkipped, lmt, a},
      {kHour, ClockTimeKind::kUnique, a, {}},
      // Forward an hour into summer time.
      {10000 * kMinute + kHour - kMinute, ClockTimeKind::kUnique, a, {}},
      {10000 * kMinute + kHour, ClockTimeKind::kSkipped, a, s},
      {10000 * kMinute + 2 * kHour, ClockTimeKind::kUnique, s, {}},
      // Back an hour: the hour before the change showed twice.
      {20000 * kMinute + kHour - kMinute, ClockTimeKind::kUnique, s, {}},
      {20000 * kMinute + kHour, ClockTimeKind::kRepeated, s, a},
      {20000 * kMinute + 2 * kHour - kMinute, ClockTimeKind::kRepeated, s, a},
      {20000 * kMinute + 2 * kHour, ClockTimeKind::kUnique, a, {}},
  };
  for (const auto& r : rows) {
    const ClockTimeReading reading = rules->Read(ClockAt(r.local, 0));
    EXPECT_EQ(reading.kind, r.kind) << r.local;
    EXPECT_EQ(reading.offsets[0], r.first) << r.local;
    EXPECT_EQ(reading.offsets[1], r.second) << r.local;
  }
  const ZoneSpan summer = rules->SpanAtBeijingTime(ClockAt(15000 * kMinute));
  EXPECT_EQ(summer.offset, s);
  EXPECT_EQ(summer.startsBeijing, ClockAt(10000 * kMinute));
  EXPECT_EQ(summer.endsBeijing, ClockAt(20000 * kMinute));
}

TEST(RecordedZoneTable, WritesEqualZonesOnceAndReadsThemBack) {
  RecordedZone same = MadeUpZone();
  same.name = "Test/Same";
  RecordedZone other = MadeUpZone();
  other.name = "Test/Other";
  other.spans[2].abbreviation = "T";
  std::string problem;
  const std::optional<std::string> text = RecordedZonesText({same, MadeUpZone(), other}, problem);
  ASSERT_TRUE(text) << problem;
  EXPECT_NE(text->find("Z Test/Made_Up\nO 1800 LMT 0\nO 3600 A 0\nO 7200 S 1\n-3600000000 0\n3600000000 1\n600000 2\n600000 1\n"
                       "E 3600000000\nZ Test/Other\n"),
            std::string::npos)
      << *text;
  EXPECT_NE(text->find("\nL Test/Same Test/Made_Up\n"), std::string::npos) << *text;
  const std::optional<RecordedZoneTable> table = RecordedZoneTable::Parse(*text, problem);
  ASSERT_TRUE(table) << problem;
  EXPECT_EQ(table->Names(), (std::vector<std::string>{"Test/Made_Up", "Test/Other", "Test/Same"}));
  EXPECT_EQ(table->Find("Test/Same"), table->Find("Test/Made_Up"));
  EXPECT_EQ(table->Find("Test/Other")->SpanAtBeijingTime(ClockAt(15000 * kMinute)).offset.abbreviation, "T");
  EXPECT_EQ(table->Find("Test/Nowhere"), nullptr);

  other.spans[2].startSeconds = other.spans[1].startSeconds;
  EXPECT_FALSE(RecordedZonesText({other}, problem));
  EXPECT_EQ(problem, "无法记录时区Test/Other");
}

TEST(RecordedZoneTable, BrokenFilesAreRefused) {
  const std::string zone = "Z X\nO 0 UTC 0\n0 0\n";
  const struct {
    std::string text;
    const char* problem;
  } rows[] = {
      {zone, "第3行"},                            // no end
      {zone + "E 0\n", "第4行"},                  // ends where it starts
      {zone + "0 0\nE 9\n", "第4行"},             // a span of no length
      {zone + "5 1\nE 9\n", "第4行"},             // an offset not listed
      {"Z X\n0 0\nE 9\n", "第2行"},               // no offset listed
      {"O 0 UTC 0\n", "第1行"},                   // outside a zone
      {zone + "E 9\nZ X\nO 0 UTC 0\n0 0\nE 9\n", "第8行"},  // a zone twice
      {zone + "E 9\nL Y Z\n", "时区Y"},           // another name of no zone
      {zone + "E 9\nL X X\n", "时区X"},           // another name of no zone
      {zone + "E 9\nO 0 UTC 2\n", "第5行"},
  };
  for (const auto& r : rows) {
    std::string problem;
    EXPECT_FALSE(RecordedZoneTable::Parse(r.text, problem)) << r.text;
    EXPECT_EQ(problem, r.problem) << r.text;
  }
  const testing::TempDir empty;
  std::string problem;
  EXPECT_FALSE(ReadRecordedZones(empty.File("zones.txt"), problem));
  EXPECT_EQ(problem, "无法读取时区表（" + empty.File("zones.txt") + "）");
}

// The zones recorded once for the whole test program.
struct RecordedZones {
  testing::TempDir folder;
  std::string failed = web_tables::RecordZones(folder.Path());
  std::string problem;
  std::optional<RecordedZoneTable> table = ReadRecordedZones(folder.File(kRecordedZonesFile), problem);
};

const RecordedZones& Recorded() {
  static const RecordedZones recorded;
  return recorded;
}

// Both backends at the instant: the span, and the clock time of each offset around it read back.
struct Comparison {
  const ZoneRules& database;
  const ZoneRules& recorded;
  const std::string& zone;
  std::array<int, 3> kinds{};  // readings of each kind compared

  void SpanAt(std::int64_t utcSeconds) {
    const CivilDateTime beijing = ClockAt(utcSeconds);
    const ZoneSpan expected = database.SpanAtBeijingTime(beijing);
    const ZoneSpan span = recorded.SpanAtBeijingTime(beijing);
    EXPECT_TRUE(span.offset == expected.offset && span.startsBeijing == expected.startsBeijing &&
                span.endsBeijing == expected.endsBeijing)
        << zone << " at Beijing " << Describe(beijing) << ": " << Describe(span) << " instead of " << Describe(expected);
  }

  void ReadAt(const CivilDateTime& clock) {
    const ClockTimeReading expected = database.Read(clock);
    const ClockTimeReading reading = recorded.Read(clock);
    ++kinds[static_cast<std::size_t>(expected.kind)];
    EXPECT_TRUE(reading.kind == expected.kind && reading.offsets == expected.offsets)
        << zone << " at " << Describe(clock) << ": " << Describe(reading) << " instead of " << Describe(expected);
  }
};

TEST(RecordedZones, AnswerAsTheDatabaseForEveryZone) {
  ASSERT_EQ(Recorded().failed, "");
  ASSERT_TRUE(Recorded().table) << Recorded().problem;
  const RecordedZoneTable& table = *Recorded().table;
  const std::vector<std::string> zones = web_tables::RecordedDatabaseZones();
  ASSERT_GT(zones.size(), 400u);
  EXPECT_EQ(table.Names(), zones);
  std::mt19937_64 random(20240315);
  // Instants of -4713-01-01 to 9999-12-31, in whole minutes.
  std::uniform_int_distribution<std::int64_t> anyMinute(-210866803200 / kMinute, 253402214400 / kMinute);
  std::array<int, 3> kinds{};
  for (const std::string& name : zones) {
    const ZoneRules* database = FindZoneRules(name);
    const ZoneRules* recorded = table.Find(name);
    ASSERT_TRUE(database && recorded) << name;
    const std::optional<RecordedZone> spans = web_tables::DatabaseZoneSpans(name);
    ASSERT_TRUE(spans) << name;
    Comparison compare{*database, *recorded, name};
    for (std::size_t k = 0; k < spans->spans.size(); ++k) {
      const std::int64_t start = spans->spans[k].startSeconds;
      const std::int64_t end = k + 1 < spans->spans.size() ? spans->spans[k + 1].startSeconds : spans->endSeconds;
      // The span's first and last whole minutes, within what the program's dates reach.
      const std::int64_t first = std::max(WholeMinuteAtOrBefore(start + kMinute - 1), -210866803200);
      const std::int64_t last = std::min(WholeMinuteAtOrBefore(end - 1), 253402214400);
      if (first <= last) {
        compare.SpanAt(first);
        compare.SpanAt(last);
      }
      if (k == 0) continue;
      // Clock times around the change, on the clock before it and on the one after.
      for (const int offset : {spans->spans[k - 1].offsetSeconds, spans->spans[k].offsetSeconds}) {
        const std::int64_t local = WholeMinuteAtOrBefore(start + offset);
        for (const std::int64_t step : {-kMinute, std::int64_t{0}, kMinute, 2 * kMinute})
          compare.ReadAt(ClockAt(local + step, 0));
      }
    }
    for (int i = 0; i < 30; ++i) {
      const std::int64_t instant = anyMinute(random) * kMinute;
      compare.SpanAt(instant);
      compare.ReadAt(ClockAt(instant, 0));
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i] += compare.kinds[i];
    if (HasFailure()) return;
  }
  // Clocks went forward and back: each kind of reading was compared.
  EXPECT_GT(kinds[static_cast<int>(ClockTimeKind::kSkipped)], 1000);
  EXPECT_GT(kinds[static_cast<int>(ClockTimeKind::kRepeated)], 1000);
}

}  // namespace
}  // namespace quorin::calendar

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/world_names_table.h"

#include <gtest/gtest.h>

#include "base/world_zones.h"
#include "support/temp_dir.h"
#include "web_tables_recording.h"

namespace quorin::base {
namespace {

// The names recorded once for the whole test program.
struct RecordedNames {
  testing::TempDir folder;
  std::string failed = web_tables::RecordWorldNames(folder.Path());
  std::string problem;
  std::optional<WorldNamesTable> table = ReadWorldNames(folder.File(kRecordedWorldNamesFile), problem);
};

const RecordedNames& Recorded() {
  static const RecordedNames recorded;
  return recorded;
}

TEST(RecordedWorldNames, NameAsIcuDoes) {
  ASSERT_EQ(Recorded().failed, "");
  ASSERT_TRUE(Recorded().table) << Recorded().problem;
  const WorldNamesTable& table = *Recorded().table;
  std::vector<std::string> zones = web_tables::RecordedDatabaseZones();
  for (const WorldZone& zone : ReadWorldZones()) zones.push_back(zone.zone);
  // Names ICU does not know either.
  zones.insert(zones.end(), {"Mars/Base_Alpha", "Nowhere", ""});
  std::vector<std::string> countries = web_tables::RecordedCountryCodes();
  countries.insert(countries.end(), {"QQ", ""});
  ASSERT_GT(zones.size(), 500u);
  ASSERT_GT(countries.size(), 240u);
  int chinese = 0;
  for (const Script script : kAllScripts) {
    for (const std::string& zone : zones) {
      EXPECT_EQ(table.CityName(zone, script), ZoneCityName(zone, script)) << zone;
      chinese += table.CityName(zone, script) != EnglishCityName(zone);
    }
    for (const std::string& code : countries)
      EXPECT_EQ(table.CountryName(code, script), CountryName(code, script)) << code;
  }
  EXPECT_GT(chinese, 1000);
  EXPECT_EQ(table.CityName("America/New_York", Script::kTraditionalTaiwan), "紐約");
  EXPECT_EQ(table.CountryName("MY", Script::kSimplified), "马来西亚");
}

TEST(RecordedWorldNames, WithoutTheFileEnglishCitiesAndCodes) {
  const testing::TempDir empty;
  std::string problem;
  EXPECT_FALSE(ReadWorldNames(empty.File("world_names.txt"), problem));
  EXPECT_EQ(problem, "无法读取世界地名表（" + empty.File("world_names.txt") + "）");
  const WorldNamesTable none;
  EXPECT_EQ(none.CityName("America/Port_of_Spain", Script::kSimplified), "Port of Spain");
  EXPECT_EQ(none.CityName("UTC", Script::kTraditionalTaiwan), "UTC");
  EXPECT_EQ(none.CountryName("US", Script::kTraditionalHongKong), "US");
}

TEST(RecordedWorldNames, BrokenLinesAreRefused) {
  std::string problem;
  for (const char* broken : {"C\tAsia/Tokyo\t东京\t東京\n", "C\tAsia/Tokyo\t东京\t東京\t東京\tx\n",
                             "X\tAsia/Tokyo\t东京\t東京\t東京\n", "N\t\t美国\t美國\t美國\n",
                             "N\tUS\t美国\t美國\t美國\nN\tUS\t美国\t美國\t美國\n"}) {
    EXPECT_FALSE(WorldNamesTable::Parse(broken, problem)) << broken;
  }
  EXPECT_EQ(problem, "第2行");
  std::map<std::string, NamesInScripts> countries{{"US", {"美国", "美\t國", "美國"}}};
  EXPECT_FALSE(WorldNamesText({}, countries, problem));
  // Names no different from what a table without them answers are left out.
  countries = {{"US", {"美国", "美國", "美國"}}, {"XK", {"XK", "XK", "XK"}}};
  const std::optional<std::string> text =
      WorldNamesText({{"Etc/UTC", {"UTC", "UTC", "UTC"}}, {"Asia/Tokyo", {"东京", "東京", "東京"}}}, countries, problem);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(text->find("\nC") + 1), "C\tAsia/Tokyo\t东京\t東京\t東京\nN\tUS\t美国\t美國\t美國\n");
}

}  // namespace
}  // namespace quorin::base

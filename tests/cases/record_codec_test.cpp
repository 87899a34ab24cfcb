// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/record_codec.h"

#include <gtest/gtest.h>

namespace quorin::cases {
namespace {

std::array<std::string_view, kCaseColumnCount> Columns(std::initializer_list<std::pair<int, std::string_view>> set) {
  std::array<std::string_view, kCaseColumnCount> columns{};
  for (const auto& [index, text] : set) columns[index] = text;
  return columns;
}

TEST(CaseText, SplittingRule) {
  const struct {
    std::string_view text;
    std::vector<std::string> items;
  } cases[] = {
      {"", {}},
      {"3 15", {"3", "15"}},
      {"1 2 3 4", {"1", "2", "3", "4"}},
      {" 3 15", {" 3 15"}},  // a leading space keeps the whole text as one item
      {"3  15", {"3", " 15"}},
      {"3 15 ", {"3", "15"}},
      {"a", {"a"}},
      {"开业 进宅", {"开业", "进宅"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCaseText(c.text), c.items) << "'" << c.text << "'";
}

TEST(CaseRecord, EmptyColumnsTakeTheirDefaults) {
  const TRecordData r = DecodeRecord(Columns({}));
  EXPECT_EQ(r.id, 0);
  EXPECT_EQ(r.name, "");
  EXPECT_TRUE(r.male);
  EXPECT_EQ(r.className, "临时保存");
  EXPECT_EQ(r.year, 1900);
  EXPECT_EQ(r.month, 1);
  EXPECT_EQ(r.day, 1);
  EXPECT_EQ(r.hour, 1);
  EXPECT_EQ(r.minute, 1);
  EXPECT_FALSE(r.isLunar);
  EXPECT_FALSE(r.isLeapMonth);
  EXPECT_EQ(r.province, 0);
  EXPECT_EQ(r.city, 0);
  for (int e : r.extra) EXPECT_EQ(e, -1);
  EXPECT_EQ(r.longitude, 120.0f);
  EXPECT_EQ(r.latitude, 30.0f);
  EXPECT_EQ(r.remarkFile, " ");
  EXPECT_EQ(r.mountain, 0);
  EXPECT_EQ(r.mountainGua, 0);
  EXPECT_EQ(r.dragonMountain, -1);
  EXPECT_EQ(r.waterMountain, -1);
  EXPECT_FALSE(r.showFacing);
  EXPECT_EQ(r.masterYear, 1978);
  EXPECT_EQ(r.remarkText, "输入自己的评语：");
}

TEST(CaseRecord, PartialAndMalformedColumnsDecodePartByPart) {
  {
    const TRecordData r = DecodeRecord(Columns({{5, "3 15"}}));
    EXPECT_EQ(std::vector<int>({r.month, r.day, r.hour, r.minute}), std::vector<int>({3, 15, 1, 1}));
  }
  {
    const TRecordData r = DecodeRecord(Columns({{5, "x 2 99999 -4"}, {4, "abc"}}));
    EXPECT_EQ(std::vector<int>({r.month, r.day, r.hour, r.minute}), std::vector<int>({1, 2, 1, -4}));
    EXPECT_EQ(r.year, 1900);
  }
  {
    const TRecordData r = DecodeRecord(Columns({{9, "abc 31.5 8"}}));
    EXPECT_EQ(r.longitude, 120.0f);
    EXPECT_EQ(r.latitude, 31.5f);
  }
  {
    const TRecordData r = DecodeRecord(Columns({{9, "100.25"}}));
    EXPECT_EQ(r.longitude, 100.25f);
    EXPECT_EQ(r.latitude, 30.0f);
  }
  {
    const TRecordData r = DecodeRecord(Columns({{13, "5_2 -1_0 -1_0 0"}}));
    EXPECT_EQ(r.mountain, 5);
    EXPECT_EQ(r.mountainGua, 2);
    EXPECT_EQ(r.dragonMountain, -1);
    EXPECT_EQ(r.dragonGua, 0);
    EXPECT_EQ(r.waterMountain, -1);
    EXPECT_EQ(r.waterGua, 0);
    EXPECT_FALSE(r.showFacing);
  }
  {
    // Once the text is not empty, every missing or broken number is 0, also the dragon's mountain.
    const TRecordData r = DecodeRecord(Columns({{13, "7 x_3 4_ 1"}}));
    EXPECT_EQ(r.mountain, 7);
    EXPECT_EQ(r.mountainGua, 0);
    EXPECT_EQ(r.dragonMountain, 0);
    EXPECT_EQ(r.dragonGua, 3);
    EXPECT_EQ(r.waterMountain, 4);
    EXPECT_EQ(r.waterGua, 0);
    EXPECT_TRUE(r.showFacing);
  }
  {
    const TRecordData r = DecodeRecord(Columns({{7, "12 x 4 y 6 7 8 9 10"}}));
    EXPECT_EQ(r.province, 12);
    EXPECT_EQ(r.city, 0);
    EXPECT_EQ(std::vector<int>(r.extra.begin(), r.extra.end()), std::vector<int>({4, -1, 6, 7, 8}));
  }
}

// Every place index survives a save and a read, an unused one between used ones too.
TEST(CaseRecord, PlaceIndexesRoundTrip) {
  const struct {
    std::array<std::int32_t, 5> extra;
    std::string_view stored;
  } cases[] = {
      {{-1, -1, -1, -1, -1}, "3 2"},
      {{7, -1, -1, -1, -1}, "3 2 7"},
      {{-1, 7, -1, -1, -1}, "3 2 -1 7"},
      {{1, 2, 3, 4, 5}, "3 2 1 2 3 4 5"},
      {{0, -1, -1, -1, 9}, "3 2 0 -1 -1 -1 9"},
      {{-2, -1, 2147483647, -1, -1}, "3 2 -2 -1 2147483647"},
  };
  for (const auto& c : cases) {
    TRecordData r;
    r.ResetRecord();
    r.province = 3;
    r.city = 2;
    r.extra = c.extra;
    const std::string stored = EncodeRecord(r)[7].text;
    EXPECT_EQ(stored, c.stored);
    const TRecordData back = DecodeRecord(Columns({{7, stored}}));
    EXPECT_EQ(back.extra, r.extra) << stored;
    EXPECT_EQ(EncodeRecord(back)[7].text, stored);
  }
}

TEST(CaseRecord, FlagsAreTrueUnlessANumberOtherThanOne) {
  const struct {
    std::string_view sex, style;
    bool male, lunar, leap;
  } cases[] = {
      {"", "", true, false, false},     {"1", "1 1", true, true, true},  {"0", "0 1", false, false, true},
      {"2", "1", false, true, false},   {"x", "x y", true, true, true},  {"-1", "0 0", false, false, false},
      {"1.0", "1 2", true, true, false},
  };
  for (const auto& c : cases) {
    const TRecordData r = DecodeRecord(Columns({{2, c.sex}, {6, c.style}}));
    EXPECT_EQ(r.male, c.male) << c.sex;
    EXPECT_EQ(r.isLunar, c.lunar) << c.style;
    EXPECT_EQ(r.isLeapMonth, c.leap) << c.style;
  }
}

TEST(CaseRecord, LongTextsAreCutToTheirGbkBytes) {
  const TRecordData r =
      DecodeRecord(Columns({{1, "一二三四五六七八九十甲乙"}, {8, std::string_view(std::string(400, 'a'))}}));
  EXPECT_EQ(r.name, "一二三四五六七八九十");
  EXPECT_EQ(r.addrName.size(), 300u);
}

TEST(CaseRecord, EncodesEveryColumnAsStored) {
  TRecordData r;
  r.ResetRecord();
  r.id = 12;
  r.name = "张三";
  r.male = false;
  r.className = "开业";
  r.year = -119;
  r.month = 3;
  r.day = 4;
  r.hour = 23;
  r.minute = 0;
  r.isLunar = false;
  r.isLeapMonth = true;
  r.province = 34;
  r.city = 0;
  r.extra = {5, 6, -1, 9, -1};
  r.addrName = "未知地";
  r.longitude = 120.5f;
  r.latitude = 30.25f;
  r.remarkFile = "张三_-1190304230000";
  r.mountain = 5;
  r.mountainGua = 2;
  r.dragonMountain = -1;
  r.dragonGua = 0;
  r.waterMountain = 3;
  r.waterGua = 1;
  r.showFacing = true;
  r.masterYear = 1978;
  r.remarkText = "评语";
  const auto v = EncodeRecord(r);
  EXPECT_TRUE(v[0].isInteger);
  EXPECT_EQ(v[0].integer, 12);
  EXPECT_EQ(v[2].integer, 0);
  EXPECT_TRUE(v[4].isInteger);
  EXPECT_EQ(v[4].integer, -119);
  const std::vector<std::pair<int, std::string>> texts = {
      {1, "张三"},       {3, "开业"}, {5, "3 4 23 0"}, {6, "0 1"},  {7, "34 0 5 6 -1 9"},
      {8, "未知地"},     {9, "120.500000 30.250000 8"},   {10, "张三_-1190304230000"},
      {11, " "},         {12, " "},   {13, "5_2 -1_0 3_1 1"},       {14, " "}, {15, "1978"}, {16, "评语"}};
  for (const auto& [column, text] : texts) {
    EXPECT_FALSE(v[column].isInteger) << column;
    EXPECT_EQ(v[column].text, text) << kCaseColumns[column];
  }
  std::array<std::string, kCaseColumnCount> owned;
  std::array<std::string_view, kCaseColumnCount> columns;
  for (int i = 0; i < kCaseColumnCount; ++i) {
    owned[i] = v[i].isInteger ? std::to_string(v[i].integer) : v[i].text;
    columns[i] = owned[i];
  }
  TRecordData back = DecodeRecord(columns);
  EXPECT_EQ(back.name, r.name);
  EXPECT_EQ(back.extra, r.extra);
  EXPECT_EQ(back.year, -119);
  EXPECT_EQ(back.waterMountain, 3);
  EXPECT_TRUE(back.showFacing);
  EXPECT_TRUE(back.isLeapMonth);
}

// A zone follows the coordinates of addrNum, where readers that know only the coordinates stop;
// a record without one is written exactly as before.
TEST(RecordCodec, AZoneAndItsFoldFollowTheCoordinates) {
  TRecordData r;
  r.ResetRecord();
  r.longitude = 151.2167f;
  r.latitude = -33.8667f;
  EXPECT_EQ(EncodeRecord(r)[9].text, "151.216705 -33.866699 8");
  r.zone = "Australia/Sydney";
  EXPECT_EQ(EncodeRecord(r)[9].text, "151.216705 -33.866699 8 Australia/Sydney");
  r.fold = 2;
  EXPECT_EQ(EncodeRecord(r)[9].text, "151.216705 -33.866699 8 Australia/Sydney 2");
  const TRecordData read = DecodeRecord(Columns({{9, "151.216705 -33.866699 8 Australia/Sydney 2"}}));
  EXPECT_EQ(read.zone, "Australia/Sydney");
  EXPECT_EQ(read.fold, 2);
  EXPECT_FLOAT_EQ(read.latitude, -33.866699f);
  EXPECT_EQ(DecodeRecord(Columns({{9, "120.000000 30.000000 8"}})).zone, "");
  // What is not a zone's name is not taken for one.
  EXPECT_EQ(DecodeRecord(Columns({{9, "120 30 8 '; drop"}})).zone, "");
  EXPECT_EQ(DecodeRecord(Columns({{9, "120 30 8 Asia/Tokyo 7"}})).fold, 0);
}

TEST(RecordCodec, OtherPersonsLiveInAColumnOlderReadersLeaveAlone) {
  TRecordData r;
  r.ResetRecord();
  EXPECT_EQ(EncodeRecord(r)[11].text, " ");
  r.otherPersons = {{"配偶", false, 1982}, {"长子", true, -4}};
  EXPECT_EQ(EncodeRecord(r)[11].text, "0 1982 配偶|1 -4 长子");
  std::array<std::string, kCaseColumnCount> texts;
  std::array<std::string_view, kCaseColumnCount> columns;
  const auto encoded = EncodeRecord(r);
  for (int i = 0; i < kCaseColumnCount; ++i) {
    texts[i] = encoded[i].isInteger ? std::to_string(encoded[i].integer) : encoded[i].text;
    columns[i] = texts[i];
  }
  EXPECT_EQ(DecodeRecord(columns).otherPersons, r.otherPersons);
  EXPECT_TRUE(DecodeRecord(Columns({{11, " "}})).otherPersons.empty());
  // Entries that are not a person's are passed over, and no more than seven are read.
  EXPECT_EQ(DecodeRecord(Columns({{11, "x|1 1982|2 1990 甲|0 10000 乙|1 1990 |1 1990 长 子"}})).otherPersons,
            (std::vector<OtherPerson>{{"长 子", true, 1990}}));
  EXPECT_EQ(DecodeRecord(Columns({{11, "1 1 a|1 2 b|1 3 c|1 4 d|1 5 e|1 6 f|1 7 g|1 8 h"}})).otherPersons.size(), 7u);
}

}  // namespace
}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_search.h"

#include <gtest/gtest.h>

#include "calendar/historical_year.h"
#include "case_fixture.h"

namespace quorin::cases {
namespace {

TEST(CaseSearchText, DoubleHours) {
  const char* expected[24] = {"子时", "丑时", "丑时", "寅时", "寅时", "卯时", "卯时", "辰时", "辰时", "巳时", "巳时", "午时",
                              "午时", "未时", "未时", "申时", "申时", "酉时", "酉时", "戌时", "戌时", "亥时", "亥时", "子时"};
  for (int h = 0; h < 24; ++h) EXPECT_EQ(DoubleHourText(h), expected[h]) << h;
}

TEST(CaseSearchText, KeywordsAndResultLines) {
  EXPECT_EQ(SplitKeywords("  张  2010年\t子时 "), (std::vector<std::string>{"张", "2010年", "子时"}));
  EXPECT_TRUE(SplitKeywords("   ").empty());
  TRecordData r;
  r.ResetRecord();
  r.name = "张三";
  r.year = -99;
  r.month = 3;
  r.day = 4;
  r.className = "开业";
  EXPECT_EQ(SearchResultLine(r), "张三     -100-03-04 开业");
}

TEST(CaseSearchText, EachKeywordNeedsAFieldOfItsOwn) {
  const std::vector<std::string> fields = {"张三", "北京", "开业", "2010年", "5月", "6日", "子时", "张家的事"};
  const struct {
    std::vector<std::string> keywords;
    bool found;
  } cases[] = {
      {{"2010年"}, true}, {{"张", "2010年"}, true}, {{"张", "张"}, true},  {{"张", "张", "张"}, false},
      {{"张三", "三"}, false}, {{"子时", "北京", "开"}, true}, {{"丑时"}, false}, {{"10年"}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesKeywords(fields, c.keywords), c.found) << c.keywords.size();
  EXPECT_FALSE(MatchesKeywords({"张三", "", "", "", "", "", "", ""}, {"张", "张"}));
  // Typed in traditional characters, or stored in them.
  EXPECT_TRUE(MatchesKeywords(fields, {"張三", "開業"}));
  EXPECT_TRUE(MatchesKeywords({"張三", "", "", "", "", "", "", ""}, {"张三"}));
}

class CaseSearch : public CaseStoreTest {
 protected:
  void SetUp() override {
    CaseStoreTest::SetUp();
    ASSERT_TRUE(store_.Open(dbPath_));
    Add("张三", 2010, 23, "开业", true, 3, "张家搬迁");          // 1
    Add("李四", 2010, 0, "开业大吉", false, 4, "无");            // 2
    Add("张", -99, 12, "求财", true, 3, "古例");                 // 3: 100 BC
    Add("Smith", 2011, 1, "abc", false, 0, "english");          // 4
    Add("王五", 2010, 22, "结婚", true, 3, "在张村");            // 5
    ASSERT_TRUE(store_.Remove(2));
    Add("李四", 2010, 0, "开业大吉", false, 4, "无");            // 6
  }
  void Add(const std::string& name, int year, int hour, const std::string& category, bool male, int province,
           const std::string& remark) {
    TRecordData r = MakeRecord(name, year, 5, 6, hour, 8, category);
    r.male = male;
    r.province = static_cast<std::int16_t>(province);
    r.remarkText = remark;
    r.addrName = "某地";
    ASSERT_GT(store_.Insert(r), 0);
  }
  static CaseSearchCriteria Any() {
    CaseSearchCriteria c;
    c.province = -1;
    return c;
  }
  MRecordBase store_;
};

TEST_F(CaseSearch, FuzzySearchFindsKeywordsInDifferentFields) {
  EXPECT_EQ(store_.FuzzySearch({"2010年"}), (std::vector<int>{1, 5, 6}));
  EXPECT_EQ(store_.FuzzySearch({"子时"}), (std::vector<int>{1, 6}));
  EXPECT_EQ(store_.FuzzySearch({"张", "张"}), (std::vector<int>{1}));  // one 张 in each of two fields
  EXPECT_EQ(store_.FuzzySearch({"张", "2010年"}), (std::vector<int>{1, 5}));
  EXPECT_EQ(store_.FuzzySearch({"-99年"}), (std::vector<int>{3}));
  EXPECT_EQ(store_.FuzzySearch({"不存在"}), std::vector<int>{});
}

TEST_F(CaseSearch, ConditionalSearchCombinesTheActiveConditions) {
  CaseSearchCriteria c = Any();
  c.yearsSet = true;
  c.yearFrom = static_cast<std::int16_t>(calendar::AstronomicalYear(-100));
  c.yearTo = static_cast<std::int16_t>(calendar::AstronomicalYear(-100));
  EXPECT_EQ(store_.Search(c), (std::vector<int>{3}));

  c = Any();
  c.classMode = CaseSearchCriteria::kContains;
  c.className = "开业";
  EXPECT_EQ(store_.Search(c), (std::vector<int>{1, 6}));
  c.classMode = CaseSearchCriteria::kEquals;
  EXPECT_EQ(store_.Search(c), (std::vector<int>{1}));
  c.className = "ABC";
  EXPECT_EQ(store_.Search(c), (std::vector<int>{4}));  // equal ignoring the case of Latin letters
  c.classMode = CaseSearchCriteria::kContains;
  EXPECT_EQ(store_.Search(c), std::vector<int>{});  // containment is case-sensitive

  c = Any();
  c.nameMode = CaseSearchCriteria::kContains;
  c.name = "張";  // the stored names are simplified
  c.sexSet = true;
  c.male = true;
  EXPECT_EQ(store_.Search(c), (std::vector<int>{1, 3}));
  c.province = 3;
  c.remarkSet = true;
  c.remark = "搬迁";
  EXPECT_EQ(store_.Search(c), (std::vector<int>{1}));

  CaseSearchCriteria first;  // all zero: province 0 is the first province, not any
  EXPECT_EQ(store_.Search(first), (std::vector<int>{4}));
}

}  // namespace
}  // namespace quorin::cases

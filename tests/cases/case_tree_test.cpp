// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_tree.h"

#include <gtest/gtest.h>

#include <random>

#include "case_fixture.h"

namespace quorin::cases {
namespace {

TEST(ImCode, ConvertsCharacterByCharacter) {
  const ImCode im;
  const struct {
    std::string_view text;
    int flags;
    std::string_view pinyin;
  } cases[] = {
      {"张三", 0, "Z S "},
      {"张三", ImCode::kWholeSyllable, "Zhang San "},
      {"李王单曾区乐仇解查朴盖", ImCode::kWholeSyllable, "Li Wang Dan Ceng Qu Le Chou Jie Cha Pu Gai "},
      {"a1_", 0, "a 1  "},
      {"a1_", ImCode::kKeepAllSingleBytes, "a 1 _ "},
      {"ＡＢ１，", 0, "A B 1  "},
      {"ＡＢ１，", ImCode::kKeepAllSingleBytes, "A B 1 , "},
      {"①⑵Ⅻ㈩⒛ⅰ", 0, "1 2 12 10 20 1 "},
      {"αΩθψ", 0, "A O TH PS "},
      {"、", 0, " "},
      {"、", ImCode::kMarkUnknown, "? "},  // symbol rows have no syllable
      {"丂", ImCode::kWholeSyllable, "Kao "},
      {"张", -1, ""},
      {"", 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(im.Convert(c.text, c.flags), c.pinyin) << c.text << " " << c.flags;
  // A double-byte code without syllable (an unassigned GBK code) is marked only with bit 1.
  EXPECT_EQ(im.ConvertGbk("\xD7\xFA", 0), " ");
  EXPECT_EQ(im.ConvertGbk("\xD7\xFA", ImCode::kMarkUnknown), "? ");
  EXPECT_EQ(im.ConvertGbk("\xA2\x50", ImCode::kMarkUnknown), "? ");
  EXPECT_EQ(im.ConvertGbk("\x81", ImCode::kKeepAllSingleBytes), "? ");  // a lone lead byte
}

TEST(SurnameKey, TraditionalOrderWithinTheInitialAndLatinLettersAround) {
  const ImCode im;
  EXPECT_EQ(SurnamePosition("赵"), 1);
  EXPECT_EQ(SurnamePosition("尹"), 100);  // the first of two occurrences counts
  EXPECT_EQ(SurnamePosition("帅"), 434);
  EXPECT_EQ(SurnamePosition("甲"), 0);
  EXPECT_EQ(SurnameKey(im, "赵某"), 'Z' * 1000 + 1);
  EXPECT_EQ(SurnameKey(im, ""), 0);

  const char* ascending[] = {"、号", "Ann", "Yvonne", "杨过", "于谦", "余华", "叶开", "岳飞", "Zack", "赵云",
                             "周瑜", "郑和", "张飞", "章邯", "钟会", "甄宓", "a小写"};
  for (std::size_t i = 1; i < std::size(ascending); ++i) {
    EXPECT_LT(SurnameKey(im, ascending[i - 1]), SurnameKey(im, ascending[i])) << ascending[i - 1] << " " << ascending[i];
  }
}

TEST(CaseNodeText, PadsTheNameAndShowsTheHistoricalMoment) {
  TRecordData r;
  r.ResetRecord();
  r.name = "张三a";
  r.year = 2020;
  r.month = 1;
  r.day = 2;
  r.hour = 8;
  r.minute = 5;
  EXPECT_EQ(CaseNodeText(r), "张三a    公2020-01-02 08:05 ");
  r.name = "张";
  r.isLunar = true;
  r.isLeapMonth = true;
  r.year = 0;
  EXPECT_EQ(CaseNodeText(r), "张       农闰-001-01-02 08:05 ");
  r.isLunar = false;  // the leap flag shows only with a lunar date
  r.name = "欧阳一二三四五";
  r.year = -119;
  EXPECT_EQ(CaseNodeText(r), "欧阳一二三四五 公-120-01-02 08:05 ");
}

// The order as the tree builds it: binary insertion after items equal in both keys.
std::vector<int> InsertionOrder(const std::vector<TCusTreeItem>& items, CaseOrder order) {
  auto before = [order](const TCusTreeItem& a, const TCusTreeItem& b) {  // a strictly before b
    switch (order) {
      case CaseOrder::kTimeDescending:
        return a.timeKey > b.timeKey || (a.timeKey == b.timeKey && a.surnameKey < b.surnameKey);
      case CaseOrder::kTimeAscending:
        return a.timeKey < b.timeKey || (a.timeKey == b.timeKey && a.surnameKey < b.surnameKey);
      case CaseOrder::kSurnameAscending:
        return a.surnameKey < b.surnameKey || (a.surnameKey == b.surnameKey && a.timeKey > b.timeKey);
      case CaseOrder::kSurnameDescending:
        return a.surnameKey > b.surnameKey || (a.surnameKey == b.surnameKey && a.timeKey > b.timeKey);
      case CaseOrder::kNone: break;
    }
    return false;
  };
  std::vector<TCusTreeItem> placed;
  for (const TCusTreeItem& item : items) {
    std::size_t low = 0, high = placed.size();
    while (low < high) {
      const std::size_t mid = (low + high) / 2;
      if (before(item, placed[mid])) {
        high = mid;
      } else {
        low = mid + 1;
      }
    }
    placed.insert(placed.begin() + static_cast<long>(low), item);
  }
  std::vector<int> ids;
  for (const auto& p : placed) ids.push_back(p.id);
  return ids;
}

TEST(CaseOrdering, MatchesStableBinaryInsertionForEveryOrder) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    std::vector<TCusTreeItem> items;
    for (int i = 0; i < 200; ++i) {
      TCusTreeItem item;
      item.id = i;
      item.timeKey = 2451545.0 + static_cast<double>(random() % 6);  // many equal keys
      item.surnameKey = static_cast<std::int32_t>(random() % 4) * 1000;
      items.push_back(item);
    }
    for (CaseOrder order : {CaseOrder::kNone, CaseOrder::kTimeDescending, CaseOrder::kTimeAscending,
                            CaseOrder::kSurnameAscending, CaseOrder::kSurnameDescending}) {
      std::vector<TCusTreeItem> sorted = items;
      SortCaseItems(sorted, order);
      std::vector<int> ids;
      for (const auto& s : sorted) ids.push_back(s.id);
      EXPECT_EQ(ids, InsertionOrder(items, order)) << static_cast<int>(order);
    }
  }
}

TEST(CaseOrdering, RememberedLunarMonthsGiveTheDirectKeys) {
  calendar::MYiDateEx date;
  TimeKeyCalculator keys;
  std::mt19937 random(11);
  int missing = 0;
  for (int i = 0; i < 400; ++i) {
    TRecordData r;
    r.isLunar = i % 5 != 0;
    r.isLeapMonth = random() % 4 == 0;
    r.year = static_cast<std::int16_t>(1995 + random() % 40);
    r.month = static_cast<std::int16_t>(1 + random() % 12);
    r.day = static_cast<std::int16_t>(random() % 32);  // 0 and 31 never exist, 30 only in long months
    r.hour = static_cast<std::int16_t>(random() % 24);
    r.minute = static_cast<std::int16_t>(random() % 60);
    const auto direct = TimeKey(date, r);
    EXPECT_EQ(keys(r), direct) << r.year << "-" << r.month << "-" << r.day << (r.isLeapMonth ? " leap" : "");
    missing += !direct;
  }
  EXPECT_GT(missing, 20);  // the sample did meet dates that do not exist
}

TEST(CaseOrdering, NewestIdsCountDownFromTheCounter) {
  EXPECT_EQ(NewestCaseIds(3, 1000), (std::vector<int>{3, 2, 1}));
  const auto ids = NewestCaseIds(1500, 1000);
  ASSERT_EQ(ids.size(), 1000u);
  EXPECT_EQ(ids.front(), 1500);
  EXPECT_EQ(ids.back(), 501);
  EXPECT_TRUE(NewestCaseIds(0, 1000).empty());
}

class CaseLoading : public CaseStoreTest {
 protected:
  void SetUp() override {
    CaseStoreTest::SetUp();
    ASSERT_TRUE(store_.Open(dbPath_));
    ASSERT_TRUE(store_.SetClassNames({"开业", "求财", "结婚"}));
    Add("张三", 2010, 5, "求财");                      // 1
    Add("李四", 2012, 5, "开业");                      // 2
    Add("王五", 2011, 5, "不在列表");                  // 3
    Add("赵六", 2010, 5, "开业");                      // 4: same moment as 1, 赵 before 张
    TRecordData lunar = MakeRecord("闰月", 2024, 3, 1);  // 5: 2024 has no leap third month
    lunar.isLunar = true;
    lunar.isLeapMonth = true;
    ASSERT_GT(store_.Insert(lunar), 0);
    TRecordData real = MakeRecord("农历", 2023, 2, 1);  // 6: the leap second month of 2023
    real.isLunar = true;
    real.isLeapMonth = true;
    ASSERT_GT(store_.Insert(real), 0);
  }
  void Add(const std::string& name, int year, int month, const std::string& category) {
    TRecordData r = MakeRecord(name, year, month, 6, 7, 8, category);
    ASSERT_GT(store_.Insert(r), 0);
  }
  static std::vector<int> Ids(const CaseLoadResult& result) {
    std::vector<int> ids;
    for (const auto& item : result.items) ids.push_back(item.id);
    return ids;
  }
  MRecordBase store_;
};

TEST_F(CaseLoading, OrderNoneKeepsTheListOrderAndEveryCase) {
  const auto result = LoadCaseItems(store_, {6, 5, 99, 4, 3, 2, 1}, CaseOrder::kNone);
  EXPECT_EQ(Ids(result), (std::vector<int>{6, 5, 4, 3, 2, 1}));  // a missing id is skipped
  EXPECT_EQ(result.items[1].timeKey, 0);
  EXPECT_EQ(result.items[1].surnameKey, 0);
  EXPECT_EQ(result.items[2].text, CaseNodeText(MakeRecord("赵六", 2010, 5, 6, 7, 8)));
  EXPECT_TRUE(result.error.empty());
}

TEST_F(CaseLoading, OrdersDropLunarDatesThatDoNotExist) {
  const std::vector<int> ids = NewestCaseIds(store_.GetPrimaryId(), 1000);
  EXPECT_EQ(Ids(LoadCaseItems(store_, ids, CaseOrder::kTimeDescending)), (std::vector<int>{6, 2, 3, 4, 1}));
  EXPECT_EQ(Ids(LoadCaseItems(store_, ids, CaseOrder::kTimeAscending)), (std::vector<int>{4, 1, 3, 2, 6}));
  EXPECT_EQ(Ids(LoadCaseItems(store_, ids, CaseOrder::kSurnameAscending)), (std::vector<int>{2, 6, 3, 4, 1}));
  EXPECT_EQ(Ids(LoadCaseItems(store_, ids, CaseOrder::kSurnameDescending)), (std::vector<int>{1, 4, 3, 6, 2}));
}

TEST_F(CaseLoading, LongListsReadByOneScanGiveTheSameItems) {
  ASSERT_TRUE(store_.BeginBatch());
  for (int i = 0; i < 600; ++i) {
    TRecordData r = MakeRecord("名" + std::to_string(i), 1990 + i % 30, 1 + i % 12, 1 + i % 28, i % 24, i % 60);
    r.isLunar = i % 7 == 0;
    ASSERT_GT(store_.InsertInBatch(r), 0);
  }
  ASSERT_TRUE(store_.EndBatch());
  std::vector<int> ids = NewestCaseIds(store_.GetPrimaryId(), 10000);
  ids.push_back(3);  // listed twice: shown twice
  ids.push_back(5000);
  std::mt19937 random(5);
  std::shuffle(ids.begin(), ids.end(), random);
  for (CaseOrder order : {CaseOrder::kNone, CaseOrder::kTimeDescending, CaseOrder::kSurnameAscending}) {
    const auto scanned = LoadCaseItems(store_, ids, order);
    std::vector<TCusTreeItem> items;
    for (std::size_t i = 0; i < ids.size(); i += 100) {
      const std::vector<int> part(ids.begin() + static_cast<long>(i), ids.begin() + static_cast<long>(std::min(ids.size(), i + 100)));
      for (auto& item : LoadCaseItems(store_, part, CaseOrder::kNone).items) items.push_back(std::move(item));
    }
    ASSERT_EQ(scanned.items.size(), items.size() - (order == CaseOrder::kNone ? 0 : 1));  // 5: lunar leap 3 of 2024
    if (order == CaseOrder::kNone) {
      for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(scanned.items[i].id, items[i].id) << i;
    }
  }
}

TEST_F(CaseLoading, CategoriesWithCasesComeInListOrderThenTheUnlistedOnes) {
  const auto result = LoadCaseItems(store_, {1, 2, 3, 4}, CaseOrder::kNone);
  EXPECT_EQ(result.listedCategories, (std::vector<std::string>{"开业", "求财"}));
  const auto groups = GroupByCategory(result);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].name, "开业");
  EXPECT_EQ(groups[0].items, (std::vector<int>{1, 3}));
  EXPECT_EQ(groups[1].name, "求财");
  EXPECT_EQ(groups[2].name, "不在列表");
}

TEST_F(CaseLoading, PassOnItsOwnThreadGivesTheSameResultAndCanBeStopped) {
  std::stop_source stopped;
  stopped.request_stop();
  const auto cancelled = LoadCaseItems(store_, {1, 2, 3}, CaseOrder::kNone, stopped.get_token());
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_TRUE(cancelled.items.empty());

  CaseLoadResult threaded;
  std::vector<int> progress;
  CaseLoadingPass pass;
  ASSERT_TRUE(pass.Start(MRecordBase::OpenerOf(dbPath_), {6, 5, 4, 3, 2, 1}, CaseOrder::kTimeDescending,
                         [&](CaseLoadResult r) { threaded = std::move(r); },
                         [&](int done, int total) { progress.push_back(done * 100 + total); }));
  pass.Wait();
  EXPECT_FALSE(pass.IsRunning());
  EXPECT_EQ(Ids(threaded), (std::vector<int>{6, 2, 3, 4, 1}));
  EXPECT_EQ(progress, (std::vector<int>{6}));

  CaseLoadResult broken;
  testing::WriteBytes(dir_.Path() + "blocker", "a file where a folder should be");
  ASSERT_TRUE(pass.Start(MRecordBase::OpenerOf(dir_.Path() + "blocker/Orlune.db"), {1}, CaseOrder::kNone,
                         [&](CaseLoadResult r) { broken = std::move(r); }));
  pass.Wait();
  EXPECT_FALSE(broken.error.empty());
}

}  // namespace
}  // namespace quorin::cases

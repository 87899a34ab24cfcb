// SPDX-License-Identifier: GPL-3.0-or-later
// The shared library on the test server: no save overwrites another user's change unseen, texts are
// stored as they are whatever SQL they hold, and a read-only role changes nothing.
#include "cases/shared_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <sstream>

#include "base/files.h"
#include "base/gbk.h"
#include "cases/case_search.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "cases/record_codec.h"
#include "cases/pg_connection.h"
#include "support/chart_request.h"
#include "support/temp_dir.h"

namespace quorin::cases {
namespace {

// The server's own role reaches it through its socket folder.
std::string ServerTarget(const std::string& database, const std::string& user = "postgres") {
  return "host=" QUORIN_TEST_PG_DIR " user=" + user + " dbname=" + database;
}

// A database of its own for each test, with the library's schema.
class SharedLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int made = 0;
    database_ = "shared_" + std::to_string(getpid()) + "_" + std::to_string(++made);
    ASSERT_TRUE(admin_.Open(ServerTarget("postgres"))) << admin_.Message();
    ASSERT_TRUE(admin_.Run("select 1").Ok());
    // A database name cannot be a parameter; this one is made of digits and letters only.
    ASSERT_TRUE(admin_.Execute("create database " + database_)) << admin_.Message();
    ASSERT_TRUE(library_.Connect(Target())) << library_.lastError();
    ASSERT_TRUE(library_.Initialize()) << library_.lastError();
  }
  void TearDown() override {
    if (admin_.IsOpen()) static_cast<void>(admin_.Execute("drop database if exists " + database_ + " with (force)"));
  }
  std::string Target(const std::string& user = "postgres") const { return ServerTarget(database_, user); }

  PgConnection admin_;
  SharedLibrary library_;
  std::string database_;
};

TEST_F(SharedLibraryTest, ASaveOverAnotherUsersChangeIsRefusedAndKeepsIt) {
  TRecordData mine = testing::ZhangSanRequest(1, 1);
  const auto id = library_.Insert(mine, "{\\rtf1 甲}");
  ASSERT_TRUE(id) << library_.lastError();
  SharedLibrary other;
  ASSERT_TRUE(other.Connect(Target()));
  const auto seenByOther = other.Read(*id);
  const auto seenByMe = library_.Read(*id);
  ASSERT_TRUE(seenByOther && seenByMe);
  EXPECT_EQ(seenByMe->version, 1);

  int myVersion = seenByMe->version;
  mine.name = "张三丰";
  ASSERT_EQ(library_.Update(*id, mine, "{\\rtf1 乙}", myVersion), CaseSave::kSaved);
  EXPECT_EQ(myVersion, 2);

  int otherVersion = seenByOther->version;
  TRecordData theirs = seenByOther->record;
  theirs.name = "李四";
  EXPECT_EQ(other.Update(*id, theirs, "{\\rtf1 丙}", otherVersion), CaseSave::kChangedByAnother);
  EXPECT_EQ(other.lastError(), kChangedByAnother);
  EXPECT_EQ(other.Remove(*id, otherVersion), CaseSave::kChangedByAnother);
  const auto now = other.Read(*id);
  ASSERT_TRUE(now);
  EXPECT_EQ(now->record.name, "张三丰");
  EXPECT_EQ(now->remarkRtf, "{\\rtf1 乙}");
  EXPECT_EQ(now->version, 2);

  EXPECT_EQ(other.Remove(*id, now->version), CaseSave::kSaved);
  EXPECT_EQ(library_.Update(*id, mine, "", myVersion), CaseSave::kMissing);
  EXPECT_FALSE(library_.Read(*id));
  EXPECT_EQ(library_.lastError(), "");
}

TEST_F(SharedLibraryTest, EveryTextIsStoredAsItIsWhateverSqlItHolds) {
  const std::vector<std::string> hostile{"'); drop table quorin.cases; --", "\" or 1=1 --", "$1", "\\x00ff", "%I %s",
                                         "类别'; delete from quorin.categories; --"};
  for (const std::string& text : hostile) {
    TRecordData r = testing::ZhangSanRequest(1, 1);
    r.name = text;
    r.className = text;
    r.addrName = text;
    r.remarkText = text;
    r.otherPersons = {{text, false, 1982}};
    const auto id = library_.Insert(r, text);
    ASSERT_TRUE(id) << text << ": " << library_.lastError();
    const auto read = library_.Read(*id);
    ASSERT_TRUE(read) << text;
    // A name is cut to what a case keeps of it, as in the local library.
    const std::string name = base::TruncateToGbkBytes(text, TRecordData::kNameBytes);
    EXPECT_EQ(read->record.name, name);
    EXPECT_EQ(read->record.className, text);
    EXPECT_EQ(read->record.addrName, text);
    EXPECT_EQ(read->record.remarkText, text);
    EXPECT_EQ(read->record.otherPersons, (std::vector<OtherPerson>{{name, false, 1982}}));
    EXPECT_EQ(read->remarkRtf, text);
  }
  EXPECT_EQ(library_.CaseIds()->size(), hostile.size());
  // The cases' own categories stay off the list, as in the local library.
  const auto categories = library_.ClassNames();
  ASSERT_TRUE(categories);
  EXPECT_TRUE(categories->empty());
  // A role's name is quoted by the server: a name holding SQL is only a role that does not exist.
  EXPECT_FALSE(library_.Grant("x; drop schema quorin cascade; --", false));
  EXPECT_TRUE(library_.IsInitialized());
}

TEST_F(SharedLibraryTest, AReadOnlyRoleReadsAndIsRefusedEveryChange) {
  TRecordData r = testing::ZhangSanRequest(1, 1);
  const auto id = library_.Insert(r, "{\\rtf1 甲}");
  ASSERT_TRUE(id);
  const std::string role = database_ + "_reader";
  ASSERT_TRUE(admin_.Execute("create role " + role + " login")) << admin_.Message();
  ASSERT_TRUE(library_.Grant(role, true)) << library_.lastError();

  SharedLibrary reader;
  ASSERT_TRUE(reader.Connect(Target(role))) << reader.lastError();
  EXPECT_EQ(reader.CanWrite(), false);
  EXPECT_EQ(library_.CanWrite(), true);
  const auto read = reader.Read(*id);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->record.name, "张三");
  int version = read->version;
  TRecordData changed = read->record;
  changed.name = "李四";
  EXPECT_FALSE(reader.Insert(changed, ""));
  EXPECT_EQ(reader.lastError(), kReadOnlyLibrary);
  EXPECT_EQ(reader.Update(*id, changed, "", version), CaseSave::kFailed);
  EXPECT_EQ(reader.lastError(), kReadOnlyLibrary);
  EXPECT_EQ(reader.Remove(*id, version), CaseSave::kFailed);
  EXPECT_EQ(reader.lastError(), kReadOnlyLibrary);
  EXPECT_EQ(library_.Read(*id)->record.name, "张三");
  EXPECT_EQ(library_.CaseIds()->size(), 1u);
  // Granted the right to change, the same role may.
  ASSERT_TRUE(library_.Grant(role, false));
  EXPECT_EQ(reader.CanWrite(), true);
  EXPECT_EQ(reader.Update(*id, changed, "", version), CaseSave::kSaved);
  static_cast<void>(admin_.Execute("drop owned by " + role + "; drop role " + role));
}

TEST_F(SharedLibraryTest, AnotherUsersChangeIsAnnouncedAtOnce) {
  SharedLibrary watcher;
  ASSERT_TRUE(watcher.Connect(Target()));
  ASSERT_TRUE(watcher.Listen()) << watcher.lastError();
  EXPECT_FALSE(watcher.WaitForChange(50));
  EXPECT_EQ(watcher.lastError(), "");
  TRecordData r = testing::ZhangSanRequest(1, 1);
  const auto id = library_.Insert(r, "");
  ASSERT_TRUE(id);
  EXPECT_TRUE(watcher.WaitForChange(2000));
  // Told once: nothing more until the next change.
  EXPECT_FALSE(watcher.WaitForChange(50));
  int version = 1;
  r.name = "李四";
  ASSERT_EQ(library_.Update(*id, r, "", version), CaseSave::kSaved);
  EXPECT_TRUE(watcher.WaitForChange(2000));
  // A lost connection is told, not taken for quiet.
  ASSERT_TRUE(admin_.Run("select pg_terminate_backend(pid) from pg_stat_activity where datname = $1 and pid <> "
                         "pg_backend_pid()",
                         {database_})
                  .Ok());
  EXPECT_FALSE(watcher.WaitForChange(2000));
  EXPECT_NE(watcher.lastError(), "");
}

// The case lists read the same of either library: a local one with random cases, deletions and
// categories, and the shared one it was pushed into, give the same items in every order.
TEST_F(SharedLibraryTest, TheCaseListsReadBothLibrariesAlike) {
  testing::TempDir dir;
  base::SetProgramFolder(dir.Path());
  MRecordBase local;
  ASSERT_TRUE(local.Open(dir.Path() + "dat/Orlune.db"));
  ASSERT_TRUE(local.SetClassNames({"开业", "求财", "嫁娶"}));
  std::mt19937 random(26);
  const std::vector<std::string> names{"张三", "李四", "王五", "赵六", "欧阳修", "Smith"};
  const std::vector<std::string> categories{"开业", "求财", "嫁娶", "临时保存", "新类"};
  for (int i = 0; i < 60; ++i) {
    TRecordData r = testing::ChartRequest(1900 + static_cast<int>(random() % 200), 1 + static_cast<int>(random() % 12),
                                          1 + static_cast<int>(random() % 28), static_cast<int>(random() % 24), 5, 0, 0);
    r.name = names[random() % names.size()];
    r.className = categories[random() % categories.size()];
    r.isLunar = random() % 4 == 0;
    if (random() % 5 == 0) r.otherPersons = {{"配偶", false, 1980}};
    ASSERT_TRUE(local.InsertWithRemark(r, "{\\rtf1 " + std::to_string(i) + "}")) << local.lastError();
  }
  for (const int id : {3, 17, 60}) ASSERT_TRUE(local.RemoveWithRemark(id, ""));
  ASSERT_TRUE(library_.Push(local)) << library_.lastError();

  const std::vector<int> ids = NewestCaseIds(local.GetPrimaryId(), local.GetPrimaryId());
  for (const CaseOrder order : {CaseOrder::kNone, CaseOrder::kTimeDescending, CaseOrder::kTimeAscending,
                                CaseOrder::kSurnameAscending, CaseOrder::kSurnameDescending}) {
    const CaseLoadResult mine = LoadCaseItems(local, ids, order);
    const CaseLoadResult shared = LoadCaseItems(library_, ids, order);
    ASSERT_EQ(mine.error, "");
    ASSERT_EQ(shared.error, "");
    ASSERT_EQ(mine.items.size(), shared.items.size()) << static_cast<int>(order);
    for (std::size_t i = 0; i < mine.items.size(); ++i) {
      EXPECT_EQ(mine.items[i].id, shared.items[i].id) << static_cast<int>(order) << " item " << i;
      EXPECT_EQ(mine.items[i].text, shared.items[i].text);
      EXPECT_EQ(mine.items[i].className, shared.items[i].className);
    }
    EXPECT_EQ(mine.listedCategories, shared.listedCategories);
  }
  // Each case reads back the same, remark bytes included.
  for (const int id : ids) {
    TRecordData mine;
    if (!local.Read(id, mine)) continue;
    const auto shared = library_.Read(id);
    ASSERT_TRUE(shared) << id;
    EXPECT_EQ(EncodeRecord(shared->record)[13].text, EncodeRecord(mine)[13].text);
    EXPECT_EQ(shared->record.otherPersons, mine.otherPersons);
    EXPECT_EQ(shared->remarkRtf, "{\\rtf1 " + std::to_string(id - 1) + "}") << id;
  }
  // A whole range comes in id order, as the long lists' single scan merges it.
  std::vector<int> inOrder;
  ASSERT_TRUE(library_.BeginReading());
  ASSERT_TRUE(library_.ReadCaseRange(1, 1000, [&](TRecordData& r) {
    inOrder.push_back(r.id);
    return true;
  }));
  library_.EndReading();
  EXPECT_EQ(inOrder, library_.CaseIds().value_or(std::vector<int>{}));
}

// The searches narrow the cases down on the server and must find exactly what the local searches
// find: random cases (traditional and simplified, letters in either case, SQL-ish texts, cut names,
// BC years, empty remarks) searched both ways; then some rows written as no program writes them,
// checked against matching every case as read.
TEST_F(SharedLibraryTest, TheSearchesFindWhatTheLocalSearchesFind) {
  testing::TempDir dir;
  base::SetProgramFolder(dir.Path());
  MRecordBase local;
  ASSERT_TRUE(local.Open(dir.Path() + "dat/Orlune.db"));
  ASSERT_TRUE(local.SetClassNames({"开业", "求财"}));
  std::mt19937 random(7);
  const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
  const std::vector<std::string> names{"张三",  "張三",   "李四",  "Smith", "smith",  "O'Brien", "'; drop table x; --",
                                       "100%_off", "a\\b", "欧阳修", "臺灣人", "2020年生", "子时", "一二三四五六七八九十十一"};
  const std::vector<std::string> places{"广东广州", "台北", "臺北", "", "北京%", "New York", "2020年"};
  const std::vector<std::string> categories{"开业", "開業", "求财", "临时保存", "", "Smith", "新类_%"};
  const std::vector<std::string> remarks{"", "输入自己的评语：", "财运亨通", "財運", "2020年大吉", "子时出生", "100% 好", "smith"};
  const std::vector<int> years{2020, 1985, -2020, -850, 1, 12, 2100, 1900, 202};
  for (int i = 0; i < 300; ++i) {
    const int year = random() % 3 ? years[random() % years.size()] : -850 + static_cast<int>(random() % 2950);
    TRecordData r = testing::ChartRequest(year == 0 ? 1 : year, 1 + static_cast<int>(random() % 12),
                                          1 + static_cast<int>(random() % 28), static_cast<int>(random() % 24), 5, 0, 0);
    r.name = pick(names);
    r.addrName = pick(places);
    r.className = pick(categories);
    r.remarkText = pick(remarks) + (random() % 2 ? pick(remarks) : "");
    r.male = random() % 2 == 0;
    r.isLunar = random() % 4 == 0;
    r.province = static_cast<std::int16_t>(random() % 5);
    ASSERT_TRUE(local.InsertWithRemark(r, "")) << local.lastError();
  }
  ASSERT_TRUE(library_.Push(local)) << library_.lastError();

  const std::vector<std::string> words{"张",   "張三", "三",   "smith", "Smith", "2020年", "20年", "年",   "1985",  "5月",
                                       "子时", "子",   "开业", "開業",  "临时",  "评语",   "財運", "'",    "%",     "_",
                                       "\\",   "广州", "臺",   "北",    "-2020年", "",     "O'Brien", "drop", "x\xff", "0年"};
  std::vector<std::vector<std::string>> keywordSets;
  for (int i = 0; i < 200; ++i) {
    std::vector<std::string> keywords;
    for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) keywords.push_back(pick(words));
    keywordSets.push_back(keywords);
  }
  std::vector<CaseSearchCriteria> criteriaSets;
  for (int i = 0; i < 200; ++i) {
    CaseSearchCriteria c;
    c.province = random() % 3 ? -1 : static_cast<std::int16_t>(random() % 5);
    c.nameMode = static_cast<std::uint8_t>(random() % 3);
    c.name = random() % 2 ? pick(names) : pick(words);
    c.classMode = static_cast<std::uint8_t>(random() % 3);
    c.className = random() % 2 ? pick(categories) : pick(words);
    c.remarkSet = random() % 3 == 0;
    c.remark = pick(words);
    c.sexSet = random() % 3 == 0;
    c.male = random() % 2 == 0;
    c.yearsSet = random() % 2 == 0;
    c.yearFrom = static_cast<std::int16_t>(-900 + static_cast<int>(random() % 3000));
    c.yearTo = static_cast<std::int16_t>(c.yearFrom + static_cast<int>(random() % 500));
    criteriaSets.push_back(c);
  }

  const auto expectSame = [&](const auto& expected, const std::string& against) {
    for (const auto& keywords : keywordSets) {
      const auto shared = library_.FuzzySearch(keywords);
      ASSERT_TRUE(shared) << library_.lastError();
      EXPECT_EQ(*shared, expected.first(keywords)) << against << ": " << ::testing::PrintToString(keywords);
    }
    for (const CaseSearchCriteria& c : criteriaSets) {
      const auto shared = library_.Search(c);
      ASSERT_TRUE(shared) << library_.lastError();
      EXPECT_EQ(*shared, expected.second(c)) << against << ": name " << int(c.nameMode) << c.name << " class "
                                             << int(c.classMode) << c.className << " remark " << c.remarkSet << c.remark
                                             << " sex " << c.sexSet << c.male << " years " << c.yearsSet << c.yearFrom
                                             << ".." << c.yearTo << " province " << c.province;
    }
  };
  expectSame(std::make_pair([&](const std::vector<std::string>& k) { return *local.FuzzySearch(k); },
                            [&](const CaseSearchCriteria& c) { return *local.Search(c); }),
             "local");

  // Texts no program writes, but that a case may hold: what counts is how they decode.
  const std::vector<std::pair<std::string, std::string>> odd{
      {"date_year", "'+2020'"}, {"date_year", "' 1985'"}, {"date_year", "'99999'"}, {"date_year", "'abc'"},
      {"date_year", "'-0'"},    {"date_year", "'02020'"}, {"date_year", "null"},    {"remark_text", "''"},
      {"remark_text", "null"},  {"addr_name", "null"},    {"sex", "null"},         {"sex", "'x'"},
      {"sex", "'2'"},           {"sex", "''"},            {"date_num", "'5 20 0 0'"}, {"date_num", "'x'"}};
  PgConnection writer;
  ASSERT_TRUE(writer.Open(Target()));
  int row = 1;
  for (const auto& [column, value] : odd) {
    for (int n = 0; n < 3; ++n, row += 7) {
      // Fixed columns and values of this test only.
      ASSERT_TRUE(writer.Execute("update quorin.cases set " + column + " = " + value + " where id = " + std::to_string(row)))
          << writer.Message();
    }
  }
  std::vector<TRecordData> stored;
  const auto ids = library_.CaseIds();
  ASSERT_TRUE(ids);
  for (const int id : *ids) stored.push_back(library_.Read(id)->record);
  const auto everyCase = [&](const std::function<bool(const TRecordData&)>& matches) {
    std::vector<int> ids;
    for (const TRecordData& r : stored)
      if (matches(r)) ids.push_back(r.id);
    return ids;
  };
  expectSame(std::make_pair(
                 [&](const std::vector<std::string>& k) {
                   return everyCase([&](const TRecordData& r) { return MatchesKeywords(FuzzyFields(r), k); });
                 },
                 [&](const CaseSearchCriteria& c) {
                   return everyCase([&](const TRecordData& r) { return MatchesCriteria(r, c); });
                 }),
             "every case");
}

}  // namespace
}  // namespace quorin::cases

namespace quorin::cases {
namespace {

// Two users edit the category list at once: neither loses the other's new category, and a
// category still holding a case stays with it, off the list.
TEST_F(SharedLibraryTest, TwoUsersEditingTheCategoriesKeepEachOthersChanges) {
  SharedLibrary other;
  ASSERT_TRUE(other.Connect(Target()));
  ASSERT_TRUE(library_.SetClassNames({"开业", "求财"}));
  std::vector<std::string> mine;
  std::vector<std::string> theirs;
  ASSERT_TRUE(library_.GetClassNames(mine));
  ASSERT_TRUE(other.GetClassNames(theirs));
  TRecordData kept = testing::ZhangSanRequest(1, 1);
  kept.className = "求财";
  const auto keptId = other.Insert(kept, "");
  ASSERT_TRUE(keptId);
  ASSERT_TRUE(other.SetClassNames({"开业", "求财", "嫁娶"}));  // they add one
  ASSERT_TRUE(library_.SetClassNames({"入宅", "开业"}));      // meanwhile I add one and drop 求财
  std::vector<std::string> now;
  ASSERT_TRUE(library_.GetClassNames(now));
  EXPECT_EQ(now, (std::vector<std::string>{"入宅", "开业", "嫁娶"}));
  const auto stored = library_.Read(*keptId);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->record.className, "求财");  // off the list, never without its category

  // A rename takes the case another user has just added to the category, and keeps its place.
  TRecordData added = testing::ZhangSanRequest(1, 2);
  added.className = "开业";
  const auto theirsId = other.Insert(added, "");
  ASSERT_TRUE(theirsId);
  EXPECT_EQ(library_.RenameCategory("开业", "开张"), std::optional<std::vector<int>>(std::vector<int>{*theirsId}));
  EXPECT_EQ(other.Read(*theirsId)->record.className, "开张");
  ASSERT_TRUE(library_.GetClassNames(now));
  EXPECT_EQ(now, (std::vector<std::string>{"入宅", "开张", "嫁娶"}));
  EXPECT_FALSE(library_.RenameCategory("开张", "嫁娶"));  // a name another user took meanwhile
  EXPECT_EQ(library_.lastError(), "其他人已经建立了这个类别，没有改名。");
}

}  // namespace
}  // namespace quorin::cases

namespace quorin::cases {
namespace {

// What a store shows of a sequence of the windows' operations, written down line by line.
std::vector<std::string> ContractRun(CaseStore& store) {
  std::vector<std::string> seen;
  const auto note = [&](const std::string& what, const auto& value) {
    std::ostringstream line;
    line << what << ": " << value;
    seen.push_back(line.str());
  };
  const auto ids = [](const std::optional<std::vector<int>>& list) {
    std::string text;
    for (const int id : list.value_or(std::vector<int>{-1})) text += std::to_string(id) + " ";
    return text;
  };
  note("set names", store.SetClassNames({"开业", "求财"}));
  TRecordData a = testing::ZhangSanRequest(1, 1);
  a.className = "开业";
  TRecordData b = testing::ZhangSanRequest(1, 2);
  b.name = "李四";
  b.className = "新类";
  const auto idA = store.InsertCase(a, "{\\rtf1 甲}");
  const auto idB = store.InsertCase(b, "");
  note("ids", std::to_string(idA.value_or(-1)) + " " + std::to_string(idB.value_or(-1)));
  auto readA = store.ReadStored(idA.value_or(0));
  note("read", readA ? readA->record.name + " " + readA->record.className + " " + readA->remarkRtf : "none");
  if (!readA) return seen;
  int version = readA->version;
  readA->record.name = "王五";
  note("update", static_cast<int>(store.UpdateCase(*idA, readA->record, "{\\rtf1 乙}", version)));
  const auto again = store.ReadStored(*idA);
  note("read again", again ? again->record.name + " " + again->remarkRtf : "none");
  std::vector<std::string> names;
  note("names read", store.GetClassNames(names));
  for (const std::string& name : names) note("name", name);
  note("moved", ids(store.MoveCasesToCategory({idB.value_or(0)}, "求财")));
  note("in 求财", ids(store.CategoryCaseIds("求财")));
  note("renamed", ids(store.RenameCategory("求财", "财运")));
  note("in 财运", ids(store.CategoryCaseIds("财运")));
  note("fuzzy", ids(store.FuzzySearch({"王五"})));
  CaseSearchCriteria criteria;
  criteria.province = -1;
  criteria.nameMode = CaseSearchCriteria::kContains;
  criteria.name = "李";
  note("search", ids(store.Search(criteria)));
  const auto readB = store.ReadStored(idB.value_or(0));
  note("remove", static_cast<int>(store.RemoveCase(idB.value_or(0), readB ? readB->version : 0)));
  note("gone", !store.ReadStored(idB.value_or(0)) && store.lastError().empty());
  note("remove list", store.RemoveCases({*idA}).size());
  note("resync", store.Resync());
  note("counter", store.GetPrimaryId() >= 0);
  return seen;
}

// The windows do not know which library they talk to: both stores keep the same contract.
TEST_F(SharedLibraryTest, BothStoresKeepTheSameContract) {
  testing::TempDir dir;
  base::SetProgramFolder(dir.Path());
  MRecordBase local;
  ASSERT_TRUE(local.Open(dir.Path() + "dat/Orlune.db"));
  const std::vector<std::string> mine = ContractRun(local);
  const std::vector<std::string> shared = ContractRun(library_);
  EXPECT_EQ(mine, shared);
  EXPECT_GE(mine.size(), 15u);
}

}  // namespace
}  // namespace quorin::cases

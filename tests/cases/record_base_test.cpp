// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/record_base.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <map>

#include "calendar/historical_year.h"
#include "case_fixture.h"

namespace quorin::cases {
namespace {

using Store = CaseStoreTest;

const std::vector<std::string> kDefaultCategories = {"开业", "进宅", "结婚", "阳宅风水", "阴宅", "求财", "催丁", "临时保存"};

constexpr std::string_view kExtraTable =
    "create table case_extra(PlatformId,verCode,primaryId,className,baseType);";

// Every file under a folder with its size and a hash of its bytes: a refused or read-only open
// must leave them equal. The library's lock file is the programs' meeting point, not data.
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.path().extension() == ".lock") continue;
    const std::string bytes = entry.is_regular_file() ? testing::ReadBytes(entry.path().string()) : "";
    files[entry.path().string()] = entry.is_regular_file()
                                       ? std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes))
                                       : "folder";
  }
  return files;
}

TEST_F(Store, NewDatabaseHasBothTablesCounterZeroAndTheDefaultCategories) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();  // also creates the missing dat/ folder
  EXPECT_TRUE(base::FileExists(dbPath_));
  EXPECT_TRUE(base::DirectoryExists(dir_.Path() + "Orlune_f"));
  EXPECT_EQ(store.GetPrimaryId(), 0);
  EXPECT_TRUE(store.TableExists("case_data"));
  EXPECT_TRUE(store.TableExists("case_extra"));
  EXPECT_FALSE(store.TableExists("case_other"));
  std::vector<std::string> names;
  ASSERT_TRUE(store.GetClassNames(names));
  EXPECT_EQ(names, kDefaultCategories);
  EXPECT_TRUE(store.HasBaseType("OrluneData"));
  EXPECT_FALSE(store.HasBaseType("orlunedata"));
  EXPECT_EQ(SqlValue(dbPath_, "select count(*) from case_data"), "0");
  EXPECT_EQ(SqlValue(dbPath_, "select PlatformId || ',' || verCode || ',' || primaryId from case_extra"), "0,1000,0");
}

TEST_F(Store, CasesRoundTripAndAreStoredAsTheFormatWritesThem) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData r = MakeRecord("张三");
  r.year = static_cast<std::int16_t>(calendar::AstronomicalYear(-120));
  r.isLeapMonth = true;  // Gregorian with the leap box ticked is kept as it stands
  r.remarkText = "含'引号\"和; drop table case_data; --";
  ASSERT_EQ(store.Insert(r), 1) << store.lastError();
  EXPECT_EQ(r.id, 1);

  TRecordData back;
  ASSERT_TRUE(store.Read(1, back));
  EXPECT_EQ(back.year, -119);
  EXPECT_EQ(calendar::HistoricalYear(back.year), -120);
  EXPECT_EQ(back.remarkText, r.remarkText);  // bound as a value: stored exactly
  EXPECT_EQ(back.name, "张三");
  EXPECT_EQ(back.addrName, "北京北京");
  EXPECT_EQ(back.longitude, r.longitude);
  EXPECT_EQ(back.mountain, 5);
  EXPECT_EQ(back.mountainGua, 2);
  EXPECT_EQ(back.dragonMountain, -1);
  EXPECT_EQ(back.className, "开业");
  EXPECT_EQ(back.remarkFile, "张三_remark");
  EXPECT_EQ(SqlValue(dbPath_, "select dateStyle from case_data"), "0 1");
  EXPECT_EQ(SqlValue(dbPath_, "select typeof(dateY) || typeof(sex) || typeof(masterDate) from case_data"),
            "integerintegertext");
  EXPECT_EQ(SqlValue(dbPath_, "select addrNum from case_data"), "116.400002 39.900002 8");
  EXPECT_EQ(SqlValue(dbPath_, "select tag1 || tag2 || event from case_data"), "   ");
  EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "1");

  TRecordData zero = MakeRecord("公元前一年");
  zero.year = static_cast<std::int16_t>(calendar::AstronomicalYear(-1));
  ASSERT_EQ(store.Insert(zero), 2);
  ASSERT_TRUE(store.Read(2, back));
  EXPECT_EQ(back.year, 0);
}

TEST_F(Store, IdsGrowAndAreNeverReused) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData a = MakeRecord("甲"), b = MakeRecord("乙"), c = MakeRecord("丙");
  ASSERT_EQ(store.Insert(a), 1);
  ASSERT_EQ(store.Insert(b), 2);
  ASSERT_TRUE(store.Remove(2));
  ASSERT_EQ(store.Insert(c), 3);  // the deleted highest id leaves a gap

  TRecordData unchanged = MakeRecord("不变");
  EXPECT_FALSE(store.Read(2, unchanged));
  EXPECT_EQ(unchanged.name, "不变");
  EXPECT_EQ(store.lastError(), "");
  EXPECT_TRUE(store.Remove(2));  // a missing row counts as success
  EXPECT_TRUE(store.Update(999, a));

  MRecordBase reopened;
  ASSERT_TRUE(reopened.Open(dbPath_));
  EXPECT_EQ(reopened.GetPrimaryId(), 3);
  TRecordData d = MakeRecord("丁");
  EXPECT_EQ(reopened.Insert(d), 4);
}

// A counter behind the stored ids (a save cut short, another program) costs no save: the next
// id is taken above the highest one, at open and while the store is in use.
TEST_F(Store, ACounterBehindTheCasesIsRaisedToTheHighestId) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData r = MakeRecord("甲");
  ASSERT_EQ(store.Insert(r), 1);
  Sql(dbPath_, "update case_extra set primaryId=0;");
  MRecordBase stale;
  ASSERT_TRUE(stale.Open(dbPath_));
  EXPECT_EQ(stale.GetPrimaryId(), 1);
  TRecordData again = MakeRecord("乙");
  EXPECT_EQ(stale.Insert(again), 2) << stale.lastError();
  EXPECT_EQ(again.id, 2);
  EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "2");

  Sql(dbPath_, "insert into case_data(id, name) values (7, '占');");  // written behind the store's back
  TRecordData third = MakeRecord("丙");
  EXPECT_EQ(stale.Insert(third), 8) << stale.lastError();
  EXPECT_EQ(stale.GetPrimaryId(), 8);
  EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "8");
  EXPECT_EQ(SqlValue(dbPath_, "select group_concat(id) from case_data"), "1,2,7,8");
}

// A new row and its counter are stored together or not at all, on their own and in a batch.
TEST_F(Store, ARowAndItsCounterAreStoredTogether) {
  for (const bool inBatch : {false, true}) {
    SCOPED_TRACE(inBatch ? "in a batch" : "on its own");
    std::filesystem::remove_all(dir_.Path() + "dat");
    MRecordBase store;
    ASSERT_TRUE(store.Open(dbPath_));
    // Storing the counter 2 fails, as a full disk or a locked file would make it.
    Sql(dbPath_,
        "create trigger refuse_two before update on case_extra when new.primaryId = 2 "
        "begin select raise(abort, 'refused'); end;");
    if (inBatch) {
      ASSERT_TRUE(store.BeginBatch());
    }
    auto insert = [&](TRecordData& r) { return inBatch ? store.InsertInBatch(r) : store.Insert(r); };
    TRecordData a = MakeRecord("甲"), b = MakeRecord("乙");
    b.id = 55;
    ASSERT_EQ(insert(a), 1);
    EXPECT_FALSE(insert(b));
    EXPECT_EQ(store.lastError(), "无法更新主键id！");
    EXPECT_EQ(b.id, 55);
    EXPECT_EQ(store.GetPrimaryId(), 1);
    if (inBatch) {
      ASSERT_TRUE(store.EndBatch());
    }
    EXPECT_EQ(SqlValue(dbPath_, "select group_concat(id) from case_data"), "1");
    EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "1");
    // Once the counter can be stored again, the same id is used.
    Sql(dbPath_, "drop trigger refuse_two;");
    EXPECT_EQ(store.Insert(b), 2) << store.lastError();
  }
}

TEST_F(Store, UpdateRewritesEverythingButTheId) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData r = MakeRecord("张三");
  ASSERT_EQ(store.Insert(r), 1);
  r.name = "李四";
  r.className = "求财";
  r.id = 77;  // not written
  ASSERT_TRUE(store.Update(1, r));
  TRecordData back;
  ASSERT_TRUE(store.Read(1, back));
  EXPECT_EQ(back.id, 1);
  EXPECT_EQ(back.name, "李四");
  EXPECT_EQ(back.className, "求财");
}

TEST_F(Store, CategoryListIsSplitAtSpaces) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  std::vector<std::string> names;
  ASSERT_TRUE(store.SetClassNames({"开业", "ABC"}));
  ASSERT_TRUE(store.GetClassNames(names));
  EXPECT_EQ(names, (std::vector<std::string>{"开业", "ABC"}));
  ASSERT_TRUE(store.SetClassNames({}));
  ASSERT_TRUE(store.GetClassNames(names));
  EXPECT_TRUE(names.empty());
}

TEST_F(Store, RemarkNamesAvoidTakenFiles) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData r = MakeRecord("张三", 2020, 1, 2, 8, 5);
  const RemarkName first = store.UniqueRemarkName(r).value();
  EXPECT_EQ(first.baseName, "张三_202001020805");
  EXPECT_EQ(first.fullPath, dir_.Path() + "Orlune_f/张三_202001020805.rtf");
  testing::WriteBytes(first.fullPath, "{\\rtf1 x}");
  EXPECT_EQ(store.UniqueRemarkName(r).value().baseName, "张三_202001020805_0");
  testing::WriteBytes(dir_.Path() + "Orlune_f/张三_202001020805_0.rtf", "x");
  EXPECT_EQ(store.UniqueRemarkName(r).value().baseName, "张三_202001020805_1");
  // A case that holds the next name keeps it although its file is gone.
  TRecordData holder = r;
  holder.remarkFile = "张三_202001020805_1";
  ASSERT_GT(store.Insert(holder), 0);
  EXPECT_EQ(store.UniqueRemarkName(r).value().baseName, "张三_202001020805_2");
  r.name = "../../etc/x";  // a hostile name never leaves the folder
  EXPECT_EQ(store.UniqueRemarkName(r).value().baseName, "....etcx_202001020805");
}

TEST_F(Store, ExistingFileWithoutMetadataGetsACounterAboveItsCases) {
  std::filesystem::create_directories(dir_.Path() + "dat");
  {
    MRecordBase store;
    ASSERT_TRUE(store.Open(dbPath_));
    for (const char* name : {"甲", "乙", "丙"}) {
      TRecordData r = MakeRecord(name);
      ASSERT_GT(store.Insert(r), 0);
    }
  }
  Sql(dbPath_, "drop table case_extra;");
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
  EXPECT_TRUE(store.HasBaseType("OrluneData"));
  EXPECT_EQ(store.GetPrimaryId(), 3);
  TRecordData r = MakeRecord("丁");
  EXPECT_EQ(store.Insert(r), 4) << store.lastError();
  std::vector<std::string> names;
  ASSERT_TRUE(store.GetClassNames(names));
  EXPECT_EQ(names, kDefaultCategories);
}

TEST_F(Store, FileWithoutCaseTableGetsOne) {
  std::filesystem::create_directories(dir_.Path() + "dat");
  Sql(dbPath_, "create table other(x);");
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
  EXPECT_TRUE(store.TableExists("case_data"));
  EXPECT_EQ(store.GetPrimaryId(), 0);
}

TEST_F(Store, BrokenFilesGiveAMessageAndAreLeftAsTheyWere) {
  std::filesystem::create_directories(dir_.Path() + "dat");
  const std::string text = "这不是数据库 just some text, long enough to look like a header................";
  testing::WriteBytes(dbPath_, text);
  MRecordBase store;
  EXPECT_FALSE(store.Open(dbPath_));
  EXPECT_EQ(store.lastError(), "file is not a database");
  EXPECT_EQ(testing::ReadBytes(dbPath_), text);

  // A real database whose middle pages are overwritten.
  const std::string good = dir_.Path() + "dat/good.db";
  {
    MRecordBase g;
    ASSERT_TRUE(g.Open(good));
    ASSERT_TRUE(g.BeginBatch());
    for (int i = 0; i < 300; ++i) {
      TRecordData r = MakeRecord("名" + std::to_string(i));
      r.remarkText = std::string(2000, 'x');
      ASSERT_GT(g.InsertInBatch(r), 0);
    }
    ASSERT_TRUE(g.EndBatch());
  }
  std::string bytes = testing::ReadBytes(good);
  for (std::size_t i = 8192; i < bytes.size() && i < 8192 * 40; ++i) bytes[i] = static_cast<char>(i * 7);
  testing::WriteBytes(good, bytes);
  MRecordBase corrupt;
  if (corrupt.Open(good)) {
    TRecordData r;
    bool anyFailure = false;
    ASSERT_TRUE(corrupt.BeginBatch());
    for (int id = 1; id <= 300; ++id) anyFailure |= !corrupt.ReadInBatch(id, r);
    static_cast<void>(corrupt.EndBatch());  // only read
    EXPECT_TRUE(anyFailure);
    EXPECT_FALSE(corrupt.lastError().empty());
  } else {
    EXPECT_FALSE(corrupt.lastError().empty());
  }
}

TEST_F(Store, MissingColumnsAndNullsReadAsDefaults) {
  std::filesystem::create_directories(dir_.Path() + "dat");
  Sql(dbPath_,
      "create table case_data(id integer primary key, name char(20), dateY integer);"
      "create table case_extra(PlatformId,verCode,primaryId,className,baseType);"
      "insert into case_extra values (0, 1000, 2, NULL, 'OrluneData');"
      "insert into case_data values (1, '王五', NULL);"
      "insert into case_data values (2, NULL, 2001);");
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
  TRecordData r;
  ASSERT_TRUE(store.Read(1, r));
  EXPECT_EQ(r.name, "王五");
  EXPECT_EQ(r.year, 1900);
  EXPECT_EQ(r.className, "临时保存");
  EXPECT_EQ(r.remarkText, "输入自己的评语：");
  ASSERT_TRUE(store.Read(2, r));
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.year, 2001);
  std::vector<std::string> names{"x"};
  ASSERT_TRUE(store.GetClassNames(names));
  EXPECT_TRUE(names.empty());
  // Writing needs every column; the file is refused, not damaged.
  TRecordData n = MakeRecord("新");
  EXPECT_FALSE(store.Insert(n));
  EXPECT_EQ(store.lastError(), "无法保存案例！");
  EXPECT_FALSE(store.Update(1, n));
  EXPECT_EQ(store.lastError(), "无法修改案例！");
  ASSERT_TRUE(store.Read(1, r));
  EXPECT_EQ(r.name, "王五");
}

TEST_F(Store, MetadataProblemsGiveTheirMessages) {
  std::filesystem::create_directories(dir_.Path() + "dat");
  Sql(dbPath_, std::string("create table case_data(id integer primary key);"
                           "create table case_extra(PlatformId,verCode,primaryId,className,baseType);"));
  MRecordBase store;
  EXPECT_FALSE(store.Open(dbPath_));  // no row
  EXPECT_EQ(store.lastError(), "无法读取额外表的主键id！");
  EXPECT_FALSE(store.HasBaseType("OrluneData"));
  std::vector<std::string> names;
  EXPECT_FALSE(store.GetClassNames(names));
  Sql(dbPath_, "insert into case_extra values (0, 1000, 'abc', '', 'OrluneData');");
  EXPECT_FALSE(store.Open(dbPath_));
  EXPECT_EQ(store.lastError(), "无法读取额外表的主键id！");
}

TEST_F(Store, UnopenableNewFileIsReported) {
  testing::WriteBytes(dir_.Path() + "blocker", "a file where a folder should be");
  MRecordBase store;
  EXPECT_FALSE(store.Open(dir_.Path() + "blocker/Orlune.db"));
  EXPECT_EQ(store.lastError(), "无法创建或者打开数据库！");
}

TEST_F(Store, BatchOperationsShareOneTransaction) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  ASSERT_TRUE(store.BeginBatch());
  for (int i = 0; i < 50; ++i) {
    TRecordData r = MakeRecord("批" + std::to_string(i));
    ASSERT_EQ(store.InsertInBatch(r), i + 1);
  }
  // An operation of its own during a batch uses the batch's connection instead of closing it.
  std::vector<std::string> names;
  EXPECT_TRUE(store.GetClassNames(names));
  EXPECT_TRUE(store.InBatch());
  TRecordData r;
  ASSERT_TRUE(store.ReadInBatch(50, r));
  EXPECT_TRUE(store.RemoveInBatch(50));
  r.name = "改";
  EXPECT_TRUE(store.UpdateInBatch(49, r));
  ASSERT_TRUE(store.EndBatch());
  EXPECT_FALSE(store.InBatch());
  EXPECT_EQ(SqlValue(dbPath_, "select count(*) from case_data"), "49");
  EXPECT_EQ(SqlValue(dbPath_, "select name from case_data where id=49"), "改");
  EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "50");
  EXPECT_FALSE(store.InsertInBatch(r));  // no batch open
}

TEST_F(Store, ReadOnlyOpenReadsEverythingAndChangesNothing) {
  {
    MRecordBase writer;
    ASSERT_TRUE(writer.Open(dbPath_));
    TRecordData a = MakeRecord("甲"), b = MakeRecord("乙");
    ASSERT_EQ(writer.Insert(a), 1);
    ASSERT_EQ(writer.Insert(b), 2);
  }
  const auto before = FilesUnder(dir_.Path());
  MRecordBase reader;
  ASSERT_TRUE(reader.OpenReadOnly(dbPath_)) << reader.lastError();
  EXPECT_EQ(reader.GetPrimaryId(), 2);
  EXPECT_TRUE(reader.HasBaseType(kBaseType));
  std::vector<std::string> names;
  ASSERT_TRUE(reader.GetClassNames(names));
  EXPECT_EQ(names, kDefaultCategories);
  TRecordData r;
  ASSERT_TRUE(reader.Read(1, r));
  EXPECT_EQ(r.name, "甲");
  std::vector<std::string> seen;
  ASSERT_TRUE(reader.ReadRange(1, 2, [&](TRecordData& each) { return seen.push_back(each.name), true; }));
  EXPECT_EQ(seen, (std::vector<std::string>{"甲", "乙"}));

  TRecordData n = MakeRecord("新");
  EXPECT_FALSE(reader.Insert(n));
  EXPECT_EQ(reader.lastError(), "无法保存案例！");
  EXPECT_FALSE(reader.Update(1, n));
  EXPECT_EQ(reader.lastError(), "无法修改案例！");
  EXPECT_FALSE(reader.Remove(1));
  EXPECT_EQ(reader.lastError(), "无法删除案例！");
  EXPECT_FALSE(reader.SetClassNames({"x"}));
  EXPECT_EQ(reader.lastError(), "无法更新案例类别！");
  EXPECT_FALSE(reader.CreateExtraTable());
  ASSERT_TRUE(reader.BeginBatch());
  ASSERT_TRUE(reader.ReadInBatch(2, r));
  EXPECT_EQ(r.name, "乙");
  EXPECT_FALSE(reader.InsertInBatch(n));
  EXPECT_TRUE(reader.EndBatch());
  EXPECT_EQ(FilesUnder(dir_.Path()), before);
}

TEST_F(Store, ReadOnlyOpenRefusesFilesWithoutBothTablesAndCreatesNothing) {
  const struct {
    const char* what;
    std::string sql;  // empty: no file at all
    std::string message;
  } files[] = {
      {"no file", "", "unable to open database file"},
      {"an empty file", "-", "no such table: case_data"},
      {"no case_extra", "create table case_data(id integer primary key, name);", "no such table: case_extra"},
      {"no case_data", std::string(kExtraTable) + "insert into case_extra values (0, 1000, 0, '', 'OrluneData');",
       "no such table: case_data"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    std::filesystem::remove_all(dir_.Path());
    std::filesystem::create_directories(dir_.Path());
    if (!f.sql.empty()) {
      std::filesystem::create_directories(dir_.Path() + "dat");
      testing::WriteBytes(dbPath_, "");
      if (f.sql != "-") Sql(dbPath_, f.sql);
    }
    const auto before = FilesUnder(dir_.Path());
    MRecordBase reader;
    EXPECT_FALSE(reader.OpenReadOnly(dbPath_));
    EXPECT_EQ(reader.lastError(), f.message);
    EXPECT_EQ(FilesUnder(dir_.Path()), before);
  }
}

// Views, virtual tables and other objects under the store's table names are refused before
// anything reads them, so a recursive view cannot stall the program.
TEST_F(Store, TablesThatAreNotPlainTablesAreRefusedUnchanged) {
  const std::string cases = "create table case_data(id integer primary key, name);";
  const std::string extra = std::string(kExtraTable) + "insert into case_extra values (0, 1000, 0, '', 'OrluneData');";
  const struct {
    const char* what;
    std::string sql;
    std::string message;
  } files[] = {
      {"a recursive view as case_data",
       "create view case_data as with recursive n(id) as (select 1 union all select id + 1 from n) "
       "select id, 'x' as name from n;" + extra,
       "无法创建数据主表！"},
      {"a view as case_extra",
       cases + "create view case_extra as select 0 as PlatformId, 1000 as verCode, 0 as primaryId, "
               "'' as className, 'OrluneData' as baseType;",
       "无法创建额外表！"},
      {"an index named CASE_DATA and no case_extra", "create table t(x); create index CASE_DATA on t(x);",
       "无法创建数据主表！"},
      {"a virtual case_data", "create virtual table case_data using fts5(id, name);" + extra, "无法创建数据主表！"},
  };
  std::filesystem::create_directories(dir_.Path() + "dat");
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    std::filesystem::remove(dbPath_);
    Sql(dbPath_, f.sql);
    const auto before = FilesUnder(dir_.Path());
    MRecordBase store;
    EXPECT_FALSE(store.Open(dbPath_));
    EXPECT_EQ(store.lastError(), f.message);
    MRecordBase reader;
    EXPECT_FALSE(reader.OpenReadOnly(dbPath_));
    EXPECT_EQ(reader.lastError(), f.message);
    EXPECT_EQ(FilesUnder(dir_.Path()), before);
  }
  // Names are matched without regard to case, as SQLite does: an upper-case table is the table.
  std::filesystem::remove(dbPath_);
  Sql(dbPath_, "create table CASE_DATA(id integer primary key, name); insert into CASE_DATA values (1, '甲');");
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
  EXPECT_EQ(store.GetPrimaryId(), 1);
}

// Ids and the counter are ints; a file whose values do not fit is refused before anything is written.
TEST_F(Store, IdsAndCountersBeyondIntAreRefusedUnchanged) {
  const std::string cases = "create table case_data(id integer primary key, name);";
  const auto extra = [](const std::string& counter) {
    return std::string(kExtraTable) + "insert into case_extra values (0, 1000, " + counter + ", '', 'OrluneData');";
  };
  const struct {
    const char* what;
    std::string sql;
  } files[] = {
      {"id 2^31 without case_extra", cases + "insert into case_data values (2147483648, 'x');"},
      {"id 2^31 beside a small counter", cases + extra("5") + "insert into case_data values (2147483648, 'x');"},
      {"id below the int range", cases + extra("5") + "insert into case_data values (-2147483649, 'x');"},
      {"a real id beyond the range", "create table case_data(id, name); insert into case_data values (3e9, 'x');"},
      {"counter 2^31", cases + extra("2147483648")},
  };
  std::filesystem::create_directories(dir_.Path() + "dat");
  for (const auto& f : files) {
    SCOPED_TRACE(f.what);
    std::filesystem::remove(dbPath_);
    Sql(dbPath_, f.sql);
    const auto before = FilesUnder(dir_.Path());
    MRecordBase store;
    EXPECT_FALSE(store.Open(dbPath_));
    EXPECT_EQ(store.lastError(), "案例的id超出范围，无法打开数据库！");
    MRecordBase reader;
    EXPECT_FALSE(reader.OpenReadOnly(dbPath_));
    EXPECT_EQ(reader.lastError(), "案例的id超出范围，无法打开数据库！");
    EXPECT_EQ(FilesUnder(dir_.Path()), before);
  }
  // The largest int still opens; there is simply no id left for a new case.
  std::filesystem::remove(dbPath_);
  Sql(dbPath_, cases + "insert into case_data values (2147483647, 'x'); insert into case_data values (-5, 'y');");
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
  EXPECT_EQ(store.GetPrimaryId(), INT_MAX);
  EXPECT_EQ(SqlValue(dbPath_, "select primaryId from case_extra"), "2147483647");
  TRecordData r = MakeRecord("满");
  EXPECT_FALSE(store.Insert(r));
  EXPECT_EQ(store.lastError(), "无法保存案例！");
  EXPECT_EQ(SqlValue(dbPath_, "select count(*) from case_data"), "2");
}

// Moving cases to a category is one transaction: an id without a row is passed over, and a
// write that fails halfway leaves every case in its category, on its own and in a batch.
TEST_F(Store, MovingCasesToACategoryIsAllOrNothing) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  for (const char* name : {"甲", "乙", "丙"}) {
    TRecordData r = MakeRecord(name);
    r.className = "开业";
    ASSERT_TRUE(store.Insert(r));
  }
  auto categories = [&] { return SqlValue(dbPath_, "select group_concat(id || className, ' ') from case_data"); };

  EXPECT_EQ(store.MoveCasesToCategory({1, 42, 3}, "求财"), (std::vector<int>{1, 3}));
  EXPECT_EQ(store.lastError(), "");
  EXPECT_EQ(categories(), "1求财 2开业 3求财");

  Sql(dbPath_, "create trigger refuse_three before update on case_data when new.id = 3 "
               "begin select raise(abort, 'refused'); end;");
  for (const bool inBatch : {false, true}) {
    SCOPED_TRACE(inBatch ? "in a batch" : "on its own");
    if (inBatch) {
      ASSERT_TRUE(store.BeginBatch());
    }
    EXPECT_FALSE(store.MoveCasesToCategory({1, 2, 3}, "结婚"));
    EXPECT_EQ(store.lastError(), "无法修改案例！");
    if (inBatch) {
      ASSERT_TRUE(store.EndBatch());
    }
    EXPECT_EQ(categories(), "1求财 2开业 3求财");
  }
}

// Each operation starts with a clean error: a failure long past never reads as the outcome of a
// later operation (a missing row, an import that found nothing).
// A save that fails keeps nothing of itself: no row and no remark file.
TEST_F(Store, ACaseSavedWithItsRemarkIsStoredWholeOrNotAtAll) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData first = MakeRecord("张三");
  ASSERT_EQ(store.InsertWithRemark(first, "{\\rtf1 一}"), 1) << store.lastError();
  EXPECT_EQ(first.remarkFile, "张三_201005060708");
  TRecordData second = MakeRecord("张三");
  ASSERT_EQ(store.InsertWithRemark(second, "{\\rtf1 二}"), 2);
  EXPECT_EQ(second.remarkFile, "张三_201005060708_0");
  EXPECT_EQ(testing::ReadBytes(store.RemarkFolder() + "张三_201005060708_0.rtf"), "{\\rtf1 二}");

  Sql(dbPath_, "create trigger refuse before insert on case_data begin select raise(abort, 'refused'); end;");
  TRecordData third = MakeRecord("李四");
  EXPECT_FALSE(store.InsertWithRemark(third, "{\\rtf1 三}"));
  EXPECT_EQ(store.lastError(), "无法保存案例！");
  EXPECT_EQ(third.remarkFile, "李四_remark");
  EXPECT_FALSE(base::FileExists(store.RemarkFolder() + "李四_201005060708.rtf"));
}

TEST_F(Store, NoOperationShowsTheErrorOfAnEarlierOne) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  TRecordData a = MakeRecord("甲");
  ASSERT_EQ(store.Insert(a), 1);
  TRecordData r;
  const struct {
    const char* what;
    std::function<void()> run;
  } operations[] = {
      {"Read of a missing row", [&] { EXPECT_FALSE(store.Read(9, r)); }},
      {"Read", [&] { EXPECT_TRUE(store.Read(1, r)); }},
      {"ReadRange", [&] { EXPECT_TRUE(store.ReadRange(1, 9, [](TRecordData&) { return true; })); }},
      {"FuzzySearch", [&] { EXPECT_EQ(store.FuzzySearch({"甲"}), std::vector<int>{1}); }},
      {"TableExists", [&] { EXPECT_TRUE(store.TableExists("case_data")); }},
      {"ReadPrimaryId", [&] { EXPECT_EQ(store.ReadPrimaryId(), store.GetPrimaryId()); }},
      {"GetClassNames", [&] { std::vector<std::string> names; EXPECT_TRUE(store.GetClassNames(names)); }},
      {"SetClassNames", [&] { EXPECT_TRUE(store.SetClassNames(kDefaultCategories)); }},
      {"HasBaseType", [&] { EXPECT_TRUE(store.HasBaseType(kBaseType)); }},
      {"UniqueRemarkName", [&] { EXPECT_FALSE(store.UniqueRemarkName(a).value().baseName.empty()); }},
      {"Insert", [&] { TRecordData n = MakeRecord("新"); EXPECT_GT(store.Insert(n), 0); }},
      {"Update", [&] { EXPECT_TRUE(store.Update(1, a)); }},
      {"Remove of a missing row", [&] { EXPECT_TRUE(store.Remove(99)); }},
      {"BeginBatch", [&] { EXPECT_TRUE(store.BeginBatch()); }},
      {"ReadInBatch", [&] { EXPECT_TRUE(store.ReadInBatch(1, r)); }},
      {"InsertInBatch", [&] { TRecordData n = MakeRecord("批"); EXPECT_GT(store.InsertInBatch(n), 0); }},
      {"UpdateInBatch", [&] { EXPECT_TRUE(store.UpdateInBatch(1, a)); }},
      {"RemoveInBatch", [&] { EXPECT_TRUE(store.RemoveInBatch(99)); }},
      {"MoveCasesToCategory in a batch", [&] { EXPECT_EQ(store.MoveCasesToCategory({99}, "x"), std::vector<int>{}); }},
      {"EndBatch", [&] { EXPECT_TRUE(store.EndBatch()); }},
      {"MoveCasesToCategory", [&] { EXPECT_EQ(store.MoveCasesToCategory({1}, "开业"), std::vector<int>{1}); }},
  };
  for (const auto& operation : operations) {
    SCOPED_TRACE(operation.what);
    EXPECT_FALSE(store.CreateCaseTable());  // the table is there: a failure with its message
    EXPECT_EQ(store.lastError(), "无法创建数据主表！");
    operation.run();
    EXPECT_EQ(store.lastError(), "");
  }
}

}  // namespace
}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "case_fixture.h"
#include "cases/remark_files.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

class WholeDatabase : public CaseStoreTest {
 protected:
  // A store on the main database holding the given (name, category) cases.
  void Fill(MRecordBase& store, const std::vector<std::pair<std::string, std::string>>& cases) {
    ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
    for (const auto& [name, category] : cases) {
      TRecordData r = MakeRecord(name, 2010, 5, 6, 7, 8, category);
      r.remarkFile = store.UniqueRemarkName(r).value().baseName;
      ASSERT_TRUE(WriteRemarkFromPlainText(store.RemarkFolder() + r.remarkFile + ".rtf", r.remarkText));
      ASSERT_GT(store.Insert(r), 0) << store.lastError();
    }
  }
  std::vector<std::string> Names(MRecordBase& store) {
    std::vector<std::string> names;
    for (int id = 1; id <= store.GetPrimaryId(); ++id) {
      TRecordData r;
      if (store.Read(id, r)) names.push_back(std::to_string(id) + ":" + r.name);
    }
    return names;
  }
  std::vector<std::string> Categories(MRecordBase& store) {
    std::vector<std::string> names;
    EXPECT_TRUE(store.GetClassNames(names));
    return names;
  }
  std::string Other(const std::string& name) { return dir_.Path() + name; }
  // Every entry under a folder, as relative paths ("notes/", "notes/a.txt"), sorted.
  static std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> entries;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      entries.push_back(fs::relative(it->path(), folder).string() + (it->is_directory() ? "/" : ""));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }
  // Writes a file, making its folders.
  static void Put(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    testing::WriteBytes(path, bytes);
  }
  // A source database of one case per (name, stored remark name).
  void MakeSource(const std::string& path, const std::vector<std::pair<std::string, std::string>>& cases) {
    MRecordBase source;
    ASSERT_TRUE(source.Open(path)) << source.lastError();
    for (const auto& [name, remarkFile] : cases) {
      TRecordData r = MakeRecord(name);
      r.remarkFile = remarkFile;
      ASSERT_GT(source.Insert(r), 0) << source.lastError();
    }
  }
};

TEST_F(WholeDatabase, ExportFiltersCategoriesAndListsTheUsedOnesInOrderOfFirstUse) {
  MRecordBase store;
  Fill(store, {{"甲", "求财"}, {"乙", "开业"}, {"丙", "求财"}, {"丁", "不在列表"}, {"戊", "abc"}});
  std::vector<std::string> lines;
  MRecordBase check;

  EXPECT_EQ(store.ExportTo(Other("all.db"), {}, true, [&](const std::string& l) { lines.push_back(l); }), 5);
  EXPECT_EQ(lines.back(), "导出进度：100％");
  ASSERT_TRUE(check.Open(Other("all.db")));
  EXPECT_EQ(Names(check), (std::vector<std::string>{"1:甲", "2:乙", "3:丙", "4:丁", "5:戊"}));
  EXPECT_EQ(Categories(check), (std::vector<std::string>{"求财", "开业", "不在列表", "abc"}));

  EXPECT_EQ(store.ExportTo(Other("some.db"), {"开业", "求财", "ABC"}, false), 4);
  ASSERT_TRUE(check.Open(Other("some.db")));
  EXPECT_EQ(Names(check), (std::vector<std::string>{"1:甲", "2:乙", "3:丙", "4:戊"}));
  EXPECT_EQ(Categories(check), (std::vector<std::string>{"求财", "开业", "abc"}));

  EXPECT_EQ(store.ExportTo(Other("none.db"), {"结婚"}, false), 0);
  ASSERT_TRUE(check.Open(Other("none.db")));
  EXPECT_EQ(Categories(check).size(), 8u);  // a new file keeps its defaults when nothing was written
}

TEST_F(WholeDatabase, ImportTwiceAddsTheCasesTwiceWithFreshIdsAndRemarkNames) {
  {
    MRecordBase source;
    ASSERT_TRUE(source.Open(Other("src.db")));
    for (const char* name : {"张三", "李四"}) {
      TRecordData r = MakeRecord(name, 2010, 5, 6, 7, 8, "新类别");
      r.remarkFile = source.UniqueRemarkName(r).value().baseName;  // names like those of the main database's cases
      ASSERT_GT(source.Insert(r), 0);
    }
  }
  MRecordBase store;
  Fill(store, {{"王五", "开业"}});
  std::vector<std::string> lines;
  EXPECT_EQ(store.ImportFrom(Other("src.db"), [&](const std::string& l) { lines.push_back(l); }), 2);
  EXPECT_EQ(lines, (std::vector<std::string>{"导入进度：50％", "导入进度：100％"}));
  EXPECT_EQ(store.ImportFrom(Other("src.db")), 2);
  EXPECT_EQ(Names(store), (std::vector<std::string>{"1:王五", "2:张三", "3:李四", "4:张三", "5:李四"}));
  auto categories = Categories(store);
  EXPECT_EQ(std::count(categories.begin(), categories.end(), "新类别"), 1);
  EXPECT_EQ(categories.back(), "新类别");

  TRecordData first, second;
  ASSERT_TRUE(store.Read(2, first));
  ASSERT_TRUE(store.Read(4, second));
  EXPECT_EQ(first.remarkFile, "张三_201005060708");
  EXPECT_EQ(second.remarkFile, "张三_201005060708_0");
  const auto text = ReadRemarkPlainText(store.RemarkFolder() + second.remarkFile + ".rtf");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, "备注 张三");
}

TEST_F(WholeDatabase, ImportRefusesWhatIsNotACaseDatabase) {
  MRecordBase store;
  Fill(store, {{"王五", "开业"}});
  testing::WriteBytes(Other("text.db"), std::string(200, 'x'));
  EXPECT_FALSE(store.ImportFrom(Other("text.db")));
  EXPECT_EQ(store.lastError(), "无法打开导入的数据库文件！");
  EXPECT_EQ(testing::ReadBytes(Other("text.db")), std::string(200, 'x'));

  Sql(Other("other.db"), "create table case_data(id integer primary key);"
                         "create table case_extra(PlatformId,verCode,primaryId,className,baseType);"
                         "insert into case_extra values (0, 1000, 0, '', 'OtherData');");
  EXPECT_FALSE(store.ImportFrom(Other("other.db")));
  EXPECT_EQ(store.lastError(), "不是相同的数据库类型，无法导入！");

  EXPECT_FALSE(store.ImportFrom(dbPath_));
  EXPECT_EQ(store.lastError(), "不能导入正在使用的数据库！");
  EXPECT_EQ(Names(store), (std::vector<std::string>{"1:王五"}));
}

TEST_F(WholeDatabase, ImportReadsAFileWithoutMetadataAndLeavesItByteForByte) {
  MakeSource(Other("src.db"), {{"赵六", "n"}});  // never saved: the import gives it a name of its own
  Sql(Other("src.db"), "drop table case_extra;");
  const std::string before = testing::ReadBytes(Other("src.db"));
  MRecordBase store;
  Fill(store, {});
  EXPECT_EQ(store.ImportFrom(Other("src.db")), 1) << store.lastError();
  EXPECT_TRUE(testing::ReadBytes(Other("src.db")) == before);
  EXPECT_FALSE(fs::exists(Other("src.db-journal")));
  TRecordData imported;
  ASSERT_TRUE(store.Read(1, imported));
  EXPECT_EQ(imported.remarkFile, "赵六_201005060708");
  EXPECT_TRUE(base::FileExists(store.RemarkFolder() + "赵六_201005060708.rtf"));
}

TEST_F(WholeDatabase, ImportNeverGivesARemarkNameThatAFileAStoredCaseOrAnEarlierImportedCaseHolds) {
  MRecordBase store;
  Fill(store, {{"张三", "开业"}});
  fs::remove(store.RemarkFolder() + "张三_201005060708.rtf");  // stored, its file missing
  testing::WriteBytes(store.RemarkFolder() + "张三_201005060708_0.rtf", "{\\rtf1 no case}");
  MakeSource(Other("src.db"), {{"张三", "张三_201005060708"}, {"张三", "n"}, {"李四", "自定"}, {"李四", "自定"}});
  ASSERT_EQ(store.ImportFrom(Other("src.db")), 4) << store.lastError();
  const std::vector<std::string> expected = {"张三_201005060708", "张三_201005060708_1", "张三_201005060708_2", "自定",
                                             "李四_201005060708"};
  for (int id = 1; id <= 5; ++id) {
    TRecordData r;
    ASSERT_TRUE(store.Read(id, r));
    EXPECT_EQ(r.remarkFile, expected[id - 1]) << id;
    if (id > 1) {
      EXPECT_EQ(ReadRemarkPlainText(store.RemarkFolder() + r.remarkFile + ".rtf").value_or(""), r.remarkText);
    }
  }
  EXPECT_EQ(testing::ReadBytes(store.RemarkFolder() + "张三_201005060708_0.rtf"), "{\\rtf1 no case}");
}

TEST_F(WholeDatabase, ImportThatCannotWriteARowKeepsRemarksApartOrChangesNothingAndSaysSo) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  MakeSource(Other("src.db"), {{"甲", "甲_201005060708"}, {"坏", "坏_1"}, {"乙", "乙_1"}});
  // A row the store cannot rewrite: a collision must still end in a name of its own.
  Sql(dbPath_, "create trigger no_update before update on case_data begin select raise(abort, 'refused'); end;");
  MakeSource(Other("one.db"), {{"甲", "甲_201005060708"}});
  ASSERT_EQ(store.ImportFrom(Other("one.db")), 1) << store.lastError();
  TRecordData imported;
  ASSERT_TRUE(store.Read(2, imported));
  EXPECT_EQ(imported.remarkFile, "甲_201005060708_0");
  EXPECT_EQ(store.lastError(), "");

  // A row the store cannot insert halfway through: the whole import is undone, without files.
  Sql(dbPath_, "create trigger no_bad before insert on case_data when new.name = '坏' "
               "begin select raise(abort, 'refused'); end;");
  const auto files = Listing(store.RemarkFolder());
  EXPECT_FALSE(store.ImportFrom(Other("src.db")));
  EXPECT_EQ(store.lastError(), "无法保存案例！");
  EXPECT_EQ(Names(store), (std::vector<std::string>{"1:甲", "2:甲"}));
  EXPECT_EQ(store.GetPrimaryId(), 2);
  EXPECT_EQ(Listing(store.RemarkFolder()), files);
}

TEST_F(WholeDatabase, OpeningSettlesWhatAnInterruptedImportLeftBehind) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  // An import killed after its commit: the file a stored case names is still staged.
  const std::string staged = store.RemarkFolder() + "~quorin-import-0123456789abcdef/";
  fs::create_directories(staged);
  fs::rename(store.RemarkFolder() + "甲_201005060708.rtf", staged + "甲_201005060708.rtf");
  testing::WriteBytes(staged + "orphan.rtf", "{\\rtf1 of a case never committed}");
  fs::create_directories(store.RemarkFolder() + "~quorin-mine/");  // the user's
  fs::create_directories(store.RemarkFolder() + "~quorin-import-1a2b/");  // the user's too: not a name of ours
  // The next program to open the library settles it, before any list, compaction or import.
  MRecordBase next;
  ASSERT_TRUE(next.Open(dbPath_)) << next.lastError();
  EXPECT_EQ(Listing(store.RemarkFolder()),
            (std::vector<std::string>{"~quorin-import-1a2b/", "~quorin-mine/", "甲_201005060708.rtf"}));
  EXPECT_EQ(ReadRemarkPlainText(store.RemarkFolder() + "甲_201005060708.rtf").value_or(""), "备注 甲");
}

TEST_F(WholeDatabase, ImportExportAndCompactionTakeEveryStoredCaseWhateverTheCounter) {
  // Ids 1, 2 and 5000000 under a counter of 2, as a failed counter update leaves them.
  MRecordBase store;
  Fill(store, {{"甲", "开业"}, {"乙", "开业"}, {"丙", "求财"}});
  Sql(dbPath_, "update case_data set id = 5000000 where id = 3; update case_extra set primaryId = 2;");
  fs::copy_file(dbPath_, Other("src.db"));
  // A counter near the largest id must not make the walk take minutes.
  MakeSource(Other("far.db"), {{"丁", "丁_1"}, {"戊", "戊_1"}});
  Sql(Other("far.db"), "update case_data set id = 2147483000 where id = 2; update case_extra set primaryId = 2147483001;");

  MRecordBase target;
  ASSERT_TRUE(target.Open(Other("target.db")));
  EXPECT_EQ(target.ImportFrom(Other("src.db")), 3) << target.lastError();
  EXPECT_EQ(target.ImportFrom(Other("far.db")), 2) << target.lastError();
  EXPECT_EQ(Names(target), (std::vector<std::string>{"1:甲", "2:乙", "3:丙", "4:丁", "5:戊"}));

  ASSERT_TRUE(store.Open(dbPath_));
  EXPECT_EQ(store.ExportTo(Other("all.db"), {}, true), 3) << store.lastError();
  EXPECT_EQ(store.Compact(), 3) << store.lastError();
  EXPECT_EQ(Names(store), (std::vector<std::string>{"1:甲", "2:乙", "3:丙"}));
}

TEST_F(WholeDatabase, EveryWholeDatabaseOperationStartsWithACleanError) {
  MRecordBase store;
  Fill(store, {});
  auto stale = [&] {
    EXPECT_FALSE(store.Restore(Other("nowhere/")));
    ASSERT_EQ(store.lastError(), "没有源db文件！");
  };
  MakeSource(Other("empty.db"), {});
  MakeSource(Other("one.db"), {{"甲", "甲_1"}});
  const std::string backup = Other("backup/");
  fs::create_directories(backup);

  stale();
  EXPECT_EQ(store.Compact(), 0);
  EXPECT_EQ(store.lastError(), "");  // nothing to keep is no failure
  stale();
  EXPECT_FALSE(store.ImportFrom(Other("empty.db")));
  EXPECT_EQ(store.lastError(), "导入的数据库中没有案例！");
  stale();
  EXPECT_EQ(store.ImportFrom(Other("one.db")), 1);
  EXPECT_EQ(store.lastError(), "");
  stale();
  EXPECT_EQ(store.ExportTo(Other("out.db"), {}, true), 1);
  EXPECT_EQ(store.lastError(), "");
  stale();
  EXPECT_TRUE(store.Backup(backup));
  EXPECT_EQ(store.lastError(), "");
  stale();
  EXPECT_TRUE(store.RebuildRemarkFiles());
  EXPECT_EQ(store.lastError(), "");
  stale();
  EXPECT_TRUE(store.Restore(backup));
  EXPECT_EQ(store.lastError(), "");
  stale();
  EXPECT_TRUE(store.DeleteAll());
  EXPECT_EQ(store.lastError(), "");
}
TEST_F(WholeDatabase, ImportIntoAnUnwritableRemarkFolderStoresNothingAndSaysSo) {
  MRecordBase store;
  Fill(store, {});
  {
    MRecordBase source;
    ASSERT_TRUE(source.Open(Other("src.db")));
    TRecordData r = MakeRecord("孙七");
    ASSERT_GT(source.Insert(r), 0);
  }
  // Replacing the folder by a file makes it unwritable even for root.
  fs::remove_all(store.RemarkFolder());
  testing::WriteBytes(dir_.Path() + "Orlune_f", "not a folder");
  EXPECT_FALSE(store.ImportFrom(Other("src.db")));
  EXPECT_TRUE(store.lastError().starts_with("无法写入评语文件：")) << store.lastError();
  EXPECT_EQ(Names(store), (std::vector<std::string>{}));
}

TEST_F(WholeDatabase, CompactionRenumbersAndReplacesTheFileOnlyWhenComplete) {
  MRecordBase store;
  ASSERT_TRUE(store.Open(dbPath_));
  ASSERT_TRUE(store.BeginBatch());
  for (int i = 1; i <= 800; ++i) {
    TRecordData r = MakeRecord("名" + std::to_string(i), 2010, 5, 6, 7, 8, i % 3 == 0 ? "求财" : "自定义");
    ASSERT_EQ(store.InsertInBatch(r), i);
  }
  for (int i = 1; i <= 800; ++i) {
    if (i % 8 != 0 && i % 8 != 3 && i % 8 != 5) {
      ASSERT_TRUE(store.RemoveInBatch(i));
    }
  }
  ASSERT_TRUE(store.EndBatch());
  ASSERT_EQ(SqlValue(dbPath_, "select count(*) from case_data"), "300");
  testing::WriteBytes(dir_.Path() + "dat/Orlune_back.db", "left over from an interrupted run");

  std::vector<std::string> lines;
  EXPECT_EQ(store.Compact([&](const std::string& l) { lines.push_back(l); }), 300) << store.lastError();
  EXPECT_EQ(lines.back(), "整理进度：100％");
  EXPECT_FALSE(base::FileExists(dir_.Path() + "dat/Orlune_back.db"));
  EXPECT_EQ(store.GetPrimaryId(), 300);

  MRecordBase reopened;
  ASSERT_TRUE(reopened.Open(dbPath_));
  EXPECT_EQ(reopened.GetPrimaryId(), 300);
  TRecordData r;
  ASSERT_TRUE(reopened.Read(1, r));
  EXPECT_EQ(r.name, "名3");
  ASSERT_TRUE(reopened.Read(300, r));
  EXPECT_EQ(r.name, "名800");
  EXPECT_FALSE(reopened.Read(301, r));
  EXPECT_EQ(Categories(reopened), (std::vector<std::string>{"求财", "自定义"}));
}

TEST_F(WholeDatabase, FailedCompactionLeavesTheDatabaseInPlace) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}, {"乙", "开业"}});
  const std::string before = testing::ReadBytes(dbPath_);
  // A folder where SQLite must put the compaction file's journal: writing it fails, even for root.
  fs::create_directories(dir_.Path() + "dat/Orlune_back.db-journal/blocker");
  EXPECT_FALSE(store.Compact());
  EXPECT_FALSE(store.lastError().empty());
  EXPECT_TRUE(testing::ReadBytes(dbPath_) == before);
  EXPECT_EQ(store.GetPrimaryId(), 2);
}

// A case that cannot be read halfway through is a failure with SQLite's message, never a
// compaction or an export of the cases read before it.
TEST_F(WholeDatabase, ACaseThatCannotBeReadFailsCompactionAndExport) {
  {
    MRecordBase store;
    Fill(store, {{"甲", "开业"}, {"乙", "开业"}, {"丙", "开业"}});
    TRecordData r;
    ASSERT_TRUE(store.Read(2, r));
    r.remarkText = std::string(20000, 'Q');  // spills over pages of its own
    ASSERT_TRUE(store.Update(2, r));
  }
  // The first overflow page of that text points past the end of the file; opening reads only ids.
  std::string bytes = testing::ReadBytes(dbPath_);
  const std::size_t page = 4096;
  bool broken = false;
  for (std::size_t at = page; at + page <= bytes.size() && !broken; at += page) {
    if (bytes.compare(at + 4, 64, std::string(64, 'Q')) != 0) continue;
    bytes.replace(at, 4, "\x7f\xff\xff\xff");
    broken = true;
  }
  ASSERT_TRUE(broken);
  testing::WriteBytes(dbPath_, bytes);

  const struct {
    const char* what;
    std::function<std::optional<int>(MRecordBase&)> run;
  } operations[] = {
      {"Compact", [](MRecordBase& store) { return store.Compact(); }},
      {"ExportTo", [&](MRecordBase& store) { return store.ExportTo(Other("out.db"), {}, true); }},
  };
  for (const auto& operation : operations) {
    SCOPED_TRACE(operation.what);
    MRecordBase store;
    ASSERT_TRUE(store.Open(dbPath_)) << store.lastError();
    EXPECT_FALSE(operation.run(store));
    EXPECT_EQ(store.lastError(), "database disk image is malformed");
    EXPECT_TRUE(testing::ReadBytes(dbPath_) == bytes);
  }
}

TEST_F(WholeDatabase, BackupAndRestoreBringBackTheCasesAndRemarks) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}, {"乙", "求财"}});
  testing::WriteBytes(store.RemarkFolder() + "keep.txt", "not a remark");
  const std::string backup = Other("backup/");
  fs::create_directories(backup);
  ASSERT_TRUE(store.Backup(backup)) << store.lastError();
  EXPECT_TRUE(base::FileExists(backup + "Orlune.db"));
  EXPECT_EQ(testing::ReadBytes(backup + "Orlune_f/save.txt"), "save\r\n");
  EXPECT_TRUE(base::FileExists(backup + "Orlune_f/甲_201005060708.rtf"));

  // Later changes, then the restore replaces them.
  TRecordData later = MakeRecord("丙");
  later.remarkFile = "丙_later";
  ASSERT_TRUE(WriteRemarkFromPlainText(store.RemarkFolder() + "丙_later.rtf", "later"));
  ASSERT_EQ(store.Insert(later), 3);
  fs::remove(backup + "Orlune_f/乙_201005060708.rtf");  // rebuilt from the stored text

  ASSERT_TRUE(store.Restore(backup)) << store.lastError();
  MRecordBase reopened;
  ASSERT_TRUE(reopened.Open(dbPath_));
  EXPECT_EQ(Names(reopened), (std::vector<std::string>{"1:甲", "2:乙"}));
  // A remark that no restored case replaces stays: it may be the user's own file.
  EXPECT_TRUE(base::FileExists(store.RemarkFolder() + "丙_later.rtf"));
  EXPECT_TRUE(base::FileExists(store.RemarkFolder() + "keep.txt"));
  EXPECT_EQ(ReadRemarkPlainText(store.RemarkFolder() + "乙_201005060708.rtf").value_or(""), "备注 乙");
}

TEST_F(WholeDatabase, RestoreReplacesOnlyRemarkFilesAndRemovesOnlyWhatItStaged) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  const std::string backup = Other("backup/");
  fs::create_directories(backup);
  ASSERT_TRUE(store.Backup(backup)) << store.lastError();
  Sql(backup + "Orlune.db", "drop table case_extra;");  // a source is read, never written
  const std::string backupBytes = testing::ReadBytes(backup + "Orlune.db");

  Fill(store, {{"乙", "开业"}});
  const std::string remarks = store.RemarkFolder();
  Put(remarks + "notes/a.txt", "the user's");
  Put(remarks + "notes/b.rtf", "the user's");
  testing::WriteBytes(remarks + "keep.txt", "the user's");
  // Names an earlier restore used for its own staging.
  for (const char* name : {"Orlune_f.old/x.rtf", "Orlune_f.restoring/x.rtf", "dat/Orlune.db.restoring"}) {
    Put(Other(name), "the user's");
  }

  ASSERT_TRUE(store.Restore(backup)) << store.lastError();
  EXPECT_TRUE(testing::ReadBytes(backup + "Orlune.db") == backupBytes);
  EXPECT_EQ(Listing(remarks), (std::vector<std::string>{"keep.txt", "notes/", "notes/a.txt", "notes/b.rtf",
                                                         "乙_201005060708.rtf", "甲_201005060708.rtf"}));
  for (const char* name : {"Orlune_f.old/x.rtf", "Orlune_f.restoring/x.rtf", "dat/Orlune.db.restoring"}) {
    EXPECT_EQ(testing::ReadBytes(Other(name)), "the user's") << name;
  }
  MRecordBase reopened;
  ASSERT_TRUE(reopened.Open(dbPath_)) << reopened.lastError();
  EXPECT_EQ(Names(reopened), (std::vector<std::string>{"1:甲"}));
  EXPECT_EQ(Listing(Other("dat")), (std::vector<std::string>{"Orlune.db", "Orlune.db.lock", "Orlune.db.restoring"}));
}

TEST_F(WholeDatabase, FailedRestoresLeaveTheCurrentDataAsItWas) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  const std::string before = testing::ReadBytes(dbPath_);
  const std::string source = Other("src/");
  fs::create_directories(source);

  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "没有源db文件！");
  testing::WriteBytes(source + "Orlune.db", "garbage, not a database at all.............................");
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "没有源评语文件夹！");
  fs::create_directories(source + "Orlune_f");
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "找不到源评语文件！");
  testing::WriteBytes(source + "Orlune_f/x.rtf", "{\\rtf1 x");
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "备份不完整（没有标记文件save.txt），无法还原！");  // a backup cut short
  testing::WriteBytes(source + "Orlune_f/save.txt", "save\r\n");
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "备份中的评语文件不完整，无法还原：x.rtf");
  testing::WriteBytes(source + "Orlune_f/x.rtf", "{\\rtf1 x}");
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "源db文件不是案例数据库，无法还原！");

  // A backup file that cannot take its place: a folder of the user's holds its name.
  fs::copy_file(dbPath_, source + "Orlune.db", fs::copy_options::overwrite_existing);
  Put(store.RemarkFolder() + "x.rtf/inside.txt", "the user's");
  const auto files = Listing(store.RemarkFolder());
  EXPECT_FALSE(store.Restore(source));
  EXPECT_EQ(store.lastError(), "无法替换评语文件夹！");

  EXPECT_TRUE(testing::ReadBytes(dbPath_) == before);
  EXPECT_EQ(Listing(store.RemarkFolder()), files);
  EXPECT_EQ(Listing(Other("dat")), (std::vector<std::string>{"Orlune.db", "Orlune.db.lock"}));
}

TEST_F(WholeDatabase, ABackupThatFailsLeavesNoFolderBehind) {
  MRecordBase store;
  Fill(store, {});
  const std::string backup = Other("b/");
  fs::create_directories(backup);
  EXPECT_FALSE(store.Backup(backup + "Quorin_备份_1"));
  EXPECT_EQ(store.lastError(), "找不到评语文件！");
  EXPECT_EQ(Listing(backup), (std::vector<std::string>{}));
  EXPECT_FALSE(store.Backup(Other("missing/Quorin_备份_1")));
  EXPECT_EQ(store.lastError(), "无法建立备份文件夹" + Other("missing/Quorin_备份_1") + "！");
}

TEST_F(WholeDatabase, DeleteAllRemovesTheDatabaseAndRemarksAndReportsFailures) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  testing::WriteBytes(store.RemarkFolder() + "keep.txt", "x");
  ASSERT_TRUE(store.DeleteAll()) << store.lastError();
  EXPECT_FALSE(base::FileExists(dbPath_));
  EXPECT_FALSE(base::FileExists(store.RemarkFolder() + "甲_201005060708.rtf"));
  EXPECT_TRUE(base::FileExists(store.RemarkFolder() + "keep.txt"));

  fs::create_directories(dbPath_ + "/inside");  // a non-empty folder cannot be removed as a file
  EXPECT_FALSE(store.DeleteAll());
  EXPECT_EQ(store.lastError(), "无法删除db文件！");
}

TEST_F(WholeDatabase, RebuildWritesOnlyMissingRemarkFiles) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}, {"乙", "开业"}});
  const std::string first = store.RemarkFolder() + "甲_201005060708.rtf";
  testing::WriteBytes(first, "{\\rtf1 edited}");
  fs::remove(store.RemarkFolder() + "乙_201005060708.rtf");
  ASSERT_TRUE(store.RebuildRemarkFiles());
  EXPECT_EQ(testing::ReadBytes(first), "{\\rtf1 edited}");
  EXPECT_EQ(ReadRemarkPlainText(store.RemarkFolder() + "乙_201005060708.rtf").value_or(""), "备注 乙");
}

// What the chart would refuse, text that is not UTF-8 and a remark too large to read whole are
// refused with the case named, before anything is stored or written.
TEST_F(WholeDatabase, AnImportRefusesCasesTheChartOrTheLibraryCouldNotTake) {
  MRecordBase store;
  Fill(store, {{"甲", "开业"}});
  const std::string before = testing::ReadBytes(dbPath_);
  const auto remarksBefore = Listing(store.RemarkFolder());
  const struct {
    const char* sql;
    std::string message;
  } cases[] = {
      {"update case_data set dateNum='2 30 0 0' where id=2;", "导入的数据库中的案例“坏”（编号2）无法导入：不存在这个日期"},
      {"update case_data set dateY=-31073 where id=2;",
       "导入的数据库中的案例“坏”（编号2）无法导入：年份必须在-4713到9999年之间，并且没有公元0年\n"
       "注意：公元前用负数，比如公元前120年，就输入-120"},
      {"update case_data set masterDate='99999999' where id=2;",
       "导入的数据库中的案例“坏”（编号2）无法导入：主命年份必须在-4713到9999年之间，并且没有公元0年\n"
       "注意：公元前用负数，比如公元前120年，就输入-120"},
      {"update case_data set shanGua='999999_-5 -1_0 -1_0 0' where id=2;",
       "导入的数据库中的案例“坏”（编号2）无法导入：山家、龙、水的卦位不存在"},
      {"update case_data set name=cast(x'e5ff' as text) where id=2;",
       "导入的数据库中的案例“”（编号2）含有不是UTF-8编码的文字，无法导入！"},
      {"update case_data set addrName=cast(x'41004142' as text) where id=2;",
       "导入的数据库中的案例“坏”（编号2）含有不是UTF-8编码的文字，无法导入！"},
      {"update case_data set remarkText=printf('%.*c', 17000000, 'x') where id=2;",
       "导入的数据库中的案例“坏”（编号2）的评语超过16MB，无法导入！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    fs::remove(Other("src.db"));
    MakeSource(Other("src.db"), {{"好", "好_1"}, {"坏", "坏_1"}, {"也好", "也好_1"}});
    Sql(Other("src.db"), c.sql);
    EXPECT_FALSE(store.ImportFrom(Other("src.db")));
    EXPECT_EQ(store.lastError(), c.message);
    EXPECT_TRUE(testing::ReadBytes(dbPath_) == before);
    EXPECT_EQ(Listing(store.RemarkFolder()), remarksBefore);
  }
}

// Runs `work` in a child process that is killed (SIGKILL) at its k-th step; true when the work
// ended before that step, so that no later k can interrupt it.
bool RunKilledAtStep(MRecordBase& store, int k, const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    int steps = 0;
    store.SetStepHook([&](std::string_view) {
      if (++steps == k) ::kill(::getpid(), SIGKILL);
    });
    work();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(WholeDatabase, ARestoreKilledAtAnyStepLeavesTheOldLibraryOrTheNewOneWithEveryRemark) {
  const std::string backup = Other("backup");
  {
    MRecordBase store;
    Fill(store, {{"乙", "开业"}, {"丙", "开业"}});
    ASSERT_TRUE(WriteRemarkFromPlainText(store.RemarkFolder() + "乙_201005060708.rtf", "新的乙"));
    ASSERT_TRUE(store.Backup(backup)) << store.lastError();
  }
  const std::vector<std::string> oldLibrary{"1:甲", "2:乙"};
  const std::vector<std::string> newLibrary{"1:乙", "2:丙"};
  bool finished = false;
  for (int k = 1; !finished && k < 100; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    fs::remove_all(Other("dat"));
    fs::remove_all(Other("Orlune_f"));
    MRecordBase store;
    Fill(store, {{"甲", "开业"}, {"乙", "开业"}});
    testing::WriteBytes(store.RemarkFolder() + "keep_me.rtf", "{\\rtf1 the user's}");
    finished = RunKilledAtStep(store, k, [&] { static_cast<void>(store.Restore(backup + "/")); });

    MRecordBase next;  // the next program to open the library settles it
    ASSERT_TRUE(next.Open(dbPath_)) << next.lastError();
    const std::vector<std::string> names = Names(next);
    const std::string remarks = next.RemarkFolder();
    const std::string second = ReadRemarkPlainText(remarks + "乙_201005060708.rtf").value_or("");
    if (names == oldLibrary) {
      EXPECT_FALSE(finished);
      EXPECT_EQ(ReadRemarkPlainText(remarks + "甲_201005060708.rtf").value_or(""), "备注 甲");
      EXPECT_EQ(second, "备注 乙");
      EXPECT_FALSE(base::FileExists(remarks + "丙_201005060708.rtf"));
    } else {
      EXPECT_EQ(names, newLibrary);
      EXPECT_EQ(second, "新的乙");
      EXPECT_EQ(ReadRemarkPlainText(remarks + "丙_201005060708.rtf").value_or(""), "备注 丙");
    }
    EXPECT_TRUE(base::FileExists(remarks + "keep_me.rtf"));
    // Nothing of the restore's own work stays behind.
    for (const std::string& entry : Listing(remarks)) EXPECT_FALSE(entry.starts_with("~quorin")) << entry;
    EXPECT_EQ(Listing(Other("dat")), (std::vector<std::string>{"Orlune.db", "Orlune.db.lock"}));
  }
  EXPECT_TRUE(finished);
}

TEST_F(WholeDatabase, AnImportKilledAtAnyStepLeavesEveryCaseWithItsRemarkAndNoOtherFile) {
  std::vector<std::pair<std::string, std::string>> imported;
  for (int i = 0; i < 300; ++i) imported.emplace_back("客" + std::to_string(i), "n");
  MakeSource(Other("src.db"), imported);
  // Before, between and after the groups of files the import writes at once, and at its end.
  for (const int k : {1, 255, 256, 257, 300, 301, 302}) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    fs::remove_all(Other("dat"));
    fs::remove_all(Other("Orlune_f"));
    MRecordBase store;
    Fill(store, {{"甲", "开业"}});
    RunKilledAtStep(store, k, [&] { static_cast<void>(store.ImportFrom(Other("src.db"))); });

    MRecordBase next;
    ASSERT_TRUE(next.Open(dbPath_)) << next.lastError();
    const int cases = static_cast<int>(Names(next).size());
    EXPECT_TRUE(cases == 1 || cases == 301) << cases;
    const auto files = Listing(next.RemarkFolder());
    EXPECT_EQ(static_cast<int>(files.size()), cases) << (files.empty() ? "" : files.back());
    EXPECT_TRUE(next.RebuildRemarkFiles());
    EXPECT_EQ(Listing(next.RemarkFolder()), files);  // every case had its remark already
  }
}

TEST_F(WholeDatabase, ABackupKilledAtAnyStepIsNoBackupOrAWholeOne) {
  bool finished = false;
  for (int k = 1; !finished && k < 100; ++k) {
    SCOPED_TRACE("killed at step " + std::to_string(k));
    fs::remove_all(Other("dat"));
    fs::remove_all(Other("Orlune_f"));
    fs::remove_all(Other("backups"));
    fs::create_directories(Other("backups"));
    MRecordBase store;
    Fill(store, {{"甲", "开业"}, {"乙", "开业"}, {"丙", "开业"}});
    const std::string backup = Other("backups/Quorin_备份_1");
    finished = RunKilledAtStep(store, k, [&] { static_cast<void>(store.Backup(backup)); });
    // Whatever the kill left: a folder under the final name, or one marked whole just before it got
    // that name, restores; anything else is refused.
    for (const std::string& entry : Listing(Other("backups"))) {
      if (entry.find('/') != entry.size() - 1) continue;  // folders of the top level only
      const std::string folder = Other("backups/") + entry;
      const bool restored = store.Restore(folder);
      EXPECT_EQ(restored, base::FileExists(folder + "Orlune_f/save.txt")) << entry;
      EXPECT_TRUE(restored || entry != "Quorin_备份_1/");
      if (restored) {
        EXPECT_EQ(Names(store), (std::vector<std::string>{"1:甲", "2:乙", "3:丙"}));
      }
    }
  }
  EXPECT_TRUE(finished);
}

// Another program is simulated by a second store on the same library: flock locks of two open files
// exclude each other even within one process.
TEST_F(WholeDatabase, ASaveWaitsForAWholeLibraryOperationAndWritesByOldIdsAreRefusedAfterARenumbering) {
  MRecordBase window;
  Fill(window, {{"甲", "开业"}, {"乙", "开业"}, {"丙", "开业"}});
  LibraryLock other(LibraryLock::PathFor(dbPath_));
  ASSERT_TRUE(other.TryAcquire(LibraryLock::Mode::kExclusive));
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other.Release();
  });
  TRecordData r = MakeRecord("丁");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(window.Insert(r), 4) << window.lastError();  // after the other program let go
  release.join();
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));

  {
    MRecordBase cli;
    ASSERT_TRUE(cli.Open(dbPath_));
    ASSERT_TRUE(cli.Remove(1));
    ASSERT_EQ(cli.Compact(), 3);  // 乙 is 1 now
  }
  TRecordData second;
  ASSERT_TRUE(window.Read(2, second));
  EXPECT_TRUE(window.Stale());
  EXPECT_FALSE(window.Update(2, MakeRecord("改")));
  EXPECT_EQ(window.lastError(), kLibraryChanged);
  EXPECT_FALSE(window.Remove(2));
  ASSERT_TRUE(window.Resync());
  EXPECT_FALSE(window.Stale());
  EXPECT_EQ(Names(window), (std::vector<std::string>{"1:乙", "2:丙", "3:丁"}));
  EXPECT_TRUE(window.Update(2, MakeRecord("改"))) << window.lastError();
}

}  // namespace
}  // namespace quorin::cases

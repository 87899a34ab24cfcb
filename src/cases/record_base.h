// SPDX-License-Identifier: GPL-3.0-or-later
// The case store: the only component that talks to a case database file.
//
// Each operation opens its own connection and closes it before it returns, except the
// "InBatch" ones, which use the connection that BeginBatch opened (one transaction for
// the whole batch, so thousands of cases take seconds, not minutes). A store is not
// safe for use by two threads at once; a second thread opens its own store on the path.
//
// Several programs may use one library at once (two windows, the window and quorin-cli).
// Writes hold the library's lock shared and whole-library operations hold it exclusively
// (library_lock.h); a write that had to wait too long, or that would go by ids another
// program has since renumbered, fails with a message saying so. Opening a library finishes
// or undoes what a killed program left half done (a restore, an import).
//
// Failures are values, one way for every operation: an operation that can fail returns
// bool, or std::optional when it yields a value (an id, a counter, a count); false or
// nullopt means it failed and lastError() says why in the program's own words. Every
// public operation clears lastError() first, so the text always belongs to the last call.
// Two kinds of result are not failures and say so where declared: a missing row (Read,
// ReadInBatch, HasBaseType, TableExists answer false with an empty lastError()), and remark
// files that a successful import or restore could not write (named in lastError()).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cases/case_store.h"
#include "cases/library_lock.h"
#include "cases/remark_files.h"
#include "cases/sqlite_connection.h"
#include "chart/record_data.h"

namespace quorin::cases {

struct CaseSearchCriteria;

// Receives the progress line of import, export and compaction ("导入进度：30％").
using ProgressCallback = std::function<void(const std::string& line)>;

// A free remark file name: its full path and the base name stored in `remarkFile`.
struct RemarkName {
  std::string fullPath;
  std::string baseName;
};

inline constexpr std::string_view kBaseType = "OrluneData";

// Compaction closes the program and rewrites every case; below this id counter it gains too little
// for that, and is refused ("案例数据过少，无需整理！") unless forced.
inline constexpr int kFewestCasesToCompact = 500;

class LibraryArchive;

class MRecordBase : public CaseStore {
 public:
  MRecordBase() = default;
  ~MRecordBase() override;
  MRecordBase(const MRecordBase&) = delete;
  MRecordBase& operator=(const MRecordBase&) = delete;

  // Opens the database at path, creating the file with both tables when it does not
  // exist (and the missing folders), adding a missing table to an existing file, and
  // reading the id counter. An existing file is refused, unchanged, when case_data or
  // case_extra is not a plain table or an id or the counter does not fit an int.
  [[nodiscard]] bool Open(const std::string& path);
  // Opens an existing database only to read it (the source of an import or a restore): the
  // file is never created or changed, both tables must be there, and every write fails with
  // the store's message. The same checks as Open.
  [[nodiscard]] bool OpenReadOnly(const std::string& path);
  // Opens (as Open, or as OpenReadOnly) a library whose remark folder lies in `folder` rather than
  // in the program folder: a backup folder's.
  [[nodiscard]] bool OpenInFolder(const std::string& path, const std::string& folder, bool readOnly);

  [[nodiscard]] bool TableExists(std::string_view table);
  [[nodiscard]] bool CreateCaseTable();
  [[nodiscard]] bool CreateExtraTable();
  // case_extra.primaryId.
  [[nodiscard]] std::optional<int> ReadPrimaryId();
  int GetPrimaryId() const override { return counter_; }

  // Stores a new case with the id counter + 1, which is also set in the record; the new id.
  [[nodiscard]] std::optional<int> Insert(TRecordData& record);
  // Stores a new case together with its remark file (RTF bytes): the remark gets a free name,
  // claimed on disk so that two programs saving at once never share one, and is written; then
  // the case is stored with that name. When a part fails nothing of it stays. The new id.
  [[nodiscard]] std::optional<int> InsertWithRemark(TRecordData& record, std::string_view remarkRtf);
  // Rewrites a case and its remark file together: the file is replaced only when the row was,
  // and the row stays as it was when the file cannot be written.
  [[nodiscard]] bool UpdateWithRemark(int id, const TRecordData& record, const std::string& remarkPath, std::string_view remarkRtf);
  // Deletes a case, then its remark file (none when remarkPath is empty).
  [[nodiscard]] bool RemoveWithRemark(int id, const std::string& remarkPath);
  [[nodiscard]] std::optional<int> InsertInBatch(TRecordData& record);
  // Stores a case under its own id (a library copied in id order), which must lie above every id
  // the library has given; the id.
  [[nodiscard]] std::optional<int> InsertKeepingIdInBatch(TRecordData& record);
  // Rewrites every column but the id; an id with no row counts as success.
  [[nodiscard]] bool Update(int id, const TRecordData& record);
  [[nodiscard]] bool UpdateInBatch(int id, const TRecordData& record);
  // Deletes the row; a missing row counts as success.
  [[nodiscard]] bool Remove(int id);
  [[nodiscard]] bool RemoveInBatch(int id);
  // Reads the row into the record; false when there is no such row (lastError()
  // empty, no failure) or the statement fails (SQLite's message in lastError()).
  [[nodiscard]] bool Read(int id, TRecordData& record);
  [[nodiscard]] bool ReadInBatch(int id, TRecordData& record);

  // Reads every case whose id lies in [firstId, lastId], in id order, through the batch
  // connection (or one of its own), and hands each to `each`, which returns false to stop.
  // One scan instead of one look-up per id.
  [[nodiscard]] bool ReadRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each);

  // Gives every listed case the category, all in one transaction: a failed read or write
  // leaves every case as it was. An id without a row is no failure; it is left out of the
  // ids returned, which are those of the cases now in the category.
  [[nodiscard]] std::optional<std::vector<int>> MoveCasesToCategory(const std::vector<int>& ids,
                                                                   const std::string& category) override;

  // Opens the connection and transaction that the InBatch operations use; the library's lock
  // is held until EndBatch.
  [[nodiscard]] bool BeginBatch();
  // Commits and closes; when the commit fails the whole batch is undone.
  [[nodiscard]] bool EndBatch();
  bool InBatch() const { return batch_.IsOpen(); }

  // The category list of case_extra, in its order; a case_extra without its row is a failure.
  [[nodiscard]] bool GetClassNames(std::vector<std::string>& names) override;
  [[nodiscard]] bool SetClassNames(const std::vector<std::string>& names) override;
  // True when case_extra.baseType equals the text exactly.
  [[nodiscard]] bool HasBaseType(std::string_view type);

  // The first free remark file name for the record: name and moment, then "_0", "_1" …
  // A name another case stores counts as taken even when its file is missing; nothing when
  // the library cannot be asked.
  [[nodiscard]] std::optional<RemarkName> UniqueRemarkName(const TRecordData& record);

  // Whether another program renumbered or replaced the cases since this store read its ids;
  // writes by id then fail with kLibraryChanged until Resync.
  [[nodiscard]] bool Stale() override;
  // Takes the library as it is now: its id counter and generation.
  [[nodiscard]] bool Resync() override;

  // Whole-database operations. Each holds the library's lock exclusively while it runs.
  // Writes the database and every remark file into a new folder `destination` (which may exist
  // only as an empty folder): everything is made under a temporary name beside it, with save.txt
  // last, and takes the final name when complete, so a backup that is there is whole.
  [[nodiscard]] bool Backup(const std::string& destination);
  // Replaces the database and the remark files the backup holds by those of a backup folder.
  // A folder without save.txt, or with a remark file that is not a whole remark, is refused.
  // Everything is checked and copied aside first and the plan written down before anything
  // moves, so a failure, or a kill at any moment, leaves the old library with all its remarks
  // or the new one with all of its. Remarks the backup lacks are written from the stored text;
  // one that cannot be is a failure after the restore, named in lastError().
  [[nodiscard]] bool Restore(const std::string& source);
  // Writes a remark file from the stored remark text for every case that lacks one.
  [[nodiscard]] bool RebuildRemarkFiles();
  // Deletes the database file and every remark file.
  [[nodiscard]] bool DeleteAll();
  // Adds every case of another database of this format (read without changing it); the
  // number added. Each case is checked as a chart request and as text first; a case that is
  // refused, cannot be stored or whose remark cannot be written undoes the whole import, and
  // a source without cases is a failure. The remarks are made durable with one sync.
  [[nodiscard]] std::optional<int> ImportFrom(const std::string& path, const ProgressCallback& progress = {});
  // Writes the cases of the chosen categories (or all) to a new database; the number written.
  [[nodiscard]] std::optional<int> ExportTo(const std::string& path, const std::vector<std::string>& categories,
                              bool exportAll, const ProgressCallback& progress = {});
  // Renumbers the cases 1, 2, 3 … into a fresh file that then replaces the database
  // atomically; the number of cases kept. On failure the old file stays.
  [[nodiscard]] std::optional<int> Compact(const ProgressCallback& progress = {});
  // Remark files the last restore or rebuild could not write.
  int RemarkWriteFailures() const { return remarkWriteFailures_; }

  // For tests: called at each step of a whole-library operation after which a kill must leave a
  // library that the next opening settles ("restore:planned", "restore:moved", …).
  void SetStepHook(std::function<void(std::string_view step)> hook) { stepHook_ = std::move(hook); }

  // The case lists' reading, through the batch connection.
  bool ReadClassNames(std::vector<std::string>& names) override { return GetClassNames(names); }
  bool BeginReading() override { return BeginBatch(); }
  void EndReading() override { static_cast<void>(EndBatch()); }  // only read: nothing to commit
  bool ReadCaseRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) override {
    return ReadRange(firstId, lastId, each);
  }
  bool ReadCase(int id, TRecordData& record) override { return ReadInBatch(id, record); }
  std::string ReadError() const override { return lastError_; }

  // Searches over every case; ids in increasing order.
  [[nodiscard]] std::optional<std::vector<int>> FuzzySearch(const std::vector<std::string>& keywords) override;
  [[nodiscard]] std::optional<std::vector<int>> Search(const CaseSearchCriteria& criteria) override;

  // The library as the windows use it. The remark is the case's own file; a case without one
  // gets a free name now (`remarkFile`), which its next save writes. No versions here.
  std::string Description() const override { return path_; }
  bool IsShared() const override { return false; }
  std::optional<bool> CanWrite() override { return true; }
  std::optional<StoredCase> ReadStored(int id) override;
  std::optional<int> InsertCase(TRecordData& record, std::string_view remarkRtf) override {
    return InsertWithRemark(record, remarkRtf);
  }
  CaseSave UpdateCase(int id, const TRecordData& record, std::string_view remarkRtf, int& version) override;
  CaseSave RemoveCase(int id, int version) override;
  std::vector<int> RemoveCases(const std::vector<int>& ids) override;
  std::optional<std::vector<int>> CategoryCaseIds(const std::string& category) override;
  std::optional<std::vector<int>> RenameCategory(const std::string& from, const std::string& to) override;
  CaseReaderOpener ReaderOpener() const override { return OpenerOf(path_); }
  // Opens a store of its own on the database file.
  static CaseReaderOpener OpenerOf(const std::string& path);

  // Why the last operation failed; empty after one that succeeded.
  const std::string& lastError() const override { return lastError_; }
  const std::string& path() const { return path_; }
  std::string RemarkFolder() const;
  // The remark file a stored case owns: none for a name that would leave the remark folder, nor for
  // the placeholder of a record never saved ("n" or blank), which no case owns alone.
  std::optional<std::string> OwnRemarkPath(const TRecordData& record) const;

 private:
  // The whole-library operations work on the store's own connection, lock and counter.
  friend class LibraryArchive;

  // Holds the library's lock for one operation, unless the store holds it already.
  class LockScope {
   public:
    LockScope(MRecordBase& store, LibraryLock::Mode mode);
    ~LockScope();
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;
    // False, with the store's lastError() set, when another program held the library too long
    // or (for writes by id) renumbered it since this store read its ids.
    bool Ok() const { return ok_; }
    // Leaves the lock held past the scope; whether this scope had taken it.
    bool Keep() { return std::exchange(took_, false); }

   private:
    MRecordBase& store_;
    bool took_ = false;
    bool ok_ = true;
  };
  // A write by id: the shared lock and a library still numbered as this store knows it.
  [[nodiscard]] bool LockForWriteById(LockScope& scope);

  // The connection of the operation: the batch one, or a fresh one in `own`.
  SqliteConnection* Connect(SqliteConnection& own);
  // `folder`: the folder whose remark folder the store uses; empty: the program folder.
  [[nodiscard]] bool OpenFile(const std::string& path, bool readOnly, bool coordinated, const std::string& folder = {});
  // Opens, creates or completes the file and reads its counter (the checks of Open).
  [[nodiscard]] bool OpenChecked(const std::string& path, bool readOnly);
  // Opens a file the store makes for its own work (a compaction file, an export, a staged copy),
  // without the library lock.
  [[nodiscard]] bool OpenScratch(const std::string& path) { return OpenFile(path, false, false); }
  [[nodiscard]] bool BeginBatchWith(const char* begin);
  void Step(std::string_view name) {
    if (stepHook_) stepHook_(name);
  }
  SqliteStatement* Statement(SqliteConnection& connection, std::string_view sql);
  [[nodiscard]] std::optional<int> InsertOn(SqliteConnection& connection, TRecordData& record);
  [[nodiscard]] bool UpdateOn(SqliteConnection& connection, int id, const TRecordData& record);
  [[nodiscard]] bool RemoveOn(SqliteConnection& connection, int id);
  [[nodiscard]] bool ReadOn(SqliteConnection& connection, int id, TRecordData& record);
  static TRecordData RecordOfRow(const SqliteStatement& row);
  [[nodiscard]] bool CreateCaseTableOn(SqliteConnection& connection);
  [[nodiscard]] bool CreateExtraTableOn(SqliteConnection& connection);
  [[nodiscard]] bool TableExistsOn(SqliteConnection& connection, std::string_view table);
  [[nodiscard]] std::optional<int> ReadPrimaryIdOn(SqliteConnection& connection);
  // Sets lastError(); false, or nullopt for an operation that yields a value.
  bool Fail(std::string message);
  std::nullopt_t FailWith(std::string message);
  [[nodiscard]] std::optional<int> CountCases();
  // Whether a stored case names this remark; nothing when the library cannot be asked.
  [[nodiscard]] std::optional<bool> RemarkNameInUse(const std::string& name);
  // Hands each stored row with an id in [firstId, lastId] to `each`, in id order, until it
  // returns false: the one scan every reading of many cases goes through.
  [[nodiscard]] bool ReadRows(std::int64_t firstId, std::int64_t lastId,
                              const std::function<bool(const SqliteStatement& row)>& each);

  std::string path_;
  std::string programFolder_;
  int counter_ = 0;
  bool readOnly_ = false;
  bool coordinated_ = false;  // a library other programs may use: the lock is taken
  LibraryLock lock_;
  bool batchTookLock_ = false;
  std::optional<std::int64_t> generation_;
  std::function<void(std::string_view)> stepHook_;
  std::size_t valueLengthLimit_ = 0;  // above 0: longer values are refused before they are read
  bool valueTooLarge_ = false;        // the last scan stopped at such a value
  SqliteConnection batch_;
  std::string lastError_;
  int remarkWriteFailures_ = 0;
};

}  // namespace quorin::cases

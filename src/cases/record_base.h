// The case store: the only component that talks to a case database file.
//
// Each operation opens its own connection and closes it before it returns, except the
// "InBatch" ones, which use the connection that BeginBatch opened (one transaction for
// the whole batch, so thousands of cases take seconds, not minutes). A store is not
// safe for use by two threads at once; a second thread opens its own store on the path.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

class MRecordBase {
 public:
  MRecordBase() = default;
  ~MRecordBase();
  MRecordBase(const MRecordBase&) = delete;
  MRecordBase& operator=(const MRecordBase&) = delete;

  // Opens the database at path, creating the file with both tables when it does not
  // exist (and the missing folders), adding a missing table to an existing file, and
  // reading the id counter. An existing file is refused, unchanged, when case_data or
  // case_extra is not a plain table or an id or the counter does not fit an int.
  // 0 on success, -1 with lastError() on failure.
  int Open(const std::string& path);
  // Opens an existing database only to read it (the source of an import or a restore): the
  // file is never created or changed, both tables must be there, and every write fails with
  // the store's message. The same checks as Open; 0 on success, -1 with lastError().
  int OpenReadOnly(const std::string& path);

  bool TableExists(std::string_view table);
  bool CreateCaseTable();
  bool CreateExtraTable();
  // case_extra.primaryId, or -1 with lastError().
  int ReadPrimaryId();
  int GetPrimaryId() const { return counter_; }

  // Stores a new case with the id counter + 1, which is also set in the record.
  // Returns the new id, or -1 with lastError().
  int Insert(TRecordData& record);
  int InsertInBatch(TRecordData& record);
  // Rewrites every column but the id; an id with no row counts as success.
  bool Update(int id, const TRecordData& record);
  bool UpdateInBatch(int id, const TRecordData& record);
  // Deletes the row; a missing row counts as success.
  bool Remove(int id);
  bool RemoveInBatch(int id);
  // Reads the row into the record; false when there is no such row (lastError()
  // empty) or the statement fails (SQLite's message in lastError()).
  bool Read(int id, TRecordData& record);
  bool ReadInBatch(int id, TRecordData& record);

  // Reads every case whose id lies in [firstId, lastId], in id order, through the batch
  // connection (or one of its own), and hands each to `each`, which returns false to stop.
  // One scan instead of one look-up per id; false with lastError() when reading fails.
  bool ReadRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each);

  // Opens the connection and transaction that the InBatch operations use; false
  // with lastError() when the file cannot be opened.
  bool BeginBatch();
  // Commits and closes; false with lastError() when the commit fails.
  bool EndBatch();
  bool InBatch() const { return batch_.IsOpen(); }

  // The category list of case_extra, in its order.
  bool GetClassNames(std::vector<std::string>& names);
  bool SetClassNames(const std::vector<std::string>& names);
  // True when case_extra.baseType equals the text exactly.
  bool HasBaseType(std::string_view type);

  // The first free remark file name for the record: name and moment, then "_0", "_1" …
  // A name another case stores counts as taken even when its file is missing.
  RemarkName UniqueRemarkName(const TRecordData& record);

  // Whole-database operations.
  // Copies the database and every remark file into destination (a folder), with save.txt.
  bool Backup(const std::string& destination);
  // Replaces the database and the remark files by those of a backup folder. Everything
  // is checked and copied aside first; a failure leaves the current data as it was.
  bool Restore(const std::string& source);
  // Writes a remark file from the stored remark text for every case that lacks one.
  bool RebuildRemarkFiles();
  // Deletes the database file and every remark file; false with lastError() on failure.
  bool DeleteAll();
  // Adds every case of another database of this format (read without changing it); the
  // number added. A case that cannot be stored undoes the whole import (0, lastError()).
  int ImportFrom(const std::string& path, const ProgressCallback& progress = {});
  // Writes the cases of the chosen categories (or all) to a new database; the number written.
  int ExportTo(const std::string& path, const std::vector<std::string>& categories, bool exportAll,
               const ProgressCallback& progress = {});
  // Renumbers the cases 1, 2, 3 … into a fresh file that then replaces the database
  // atomically; the number of cases kept, 0 on failure (the old file stays).
  int Compact(const ProgressCallback& progress = {});
  // Remark files that import could not write (the cases themselves were imported).
  int RemarkWriteFailures() const { return remarkWriteFailures_; }

  // Searches over every case; ids in increasing order.
  std::vector<int> FuzzySearch(const std::vector<std::string>& keywords);
  std::vector<int> Search(const CaseSearchCriteria& criteria);

  // The failure of the last operation; every operation starts by clearing it.
  const std::string& lastError() const { return lastError_; }
  const std::string& path() const { return path_; }
  const std::string& programFolder() const { return programFolder_; }
  std::string RemarkFolder() const;

 private:
  // The connection of the operation: the batch one, or a fresh one in `own`.
  SqliteConnection* Connect(SqliteConnection& own);
  int OpenFile(const std::string& path, bool readOnly);
  SqliteStatement* Statement(SqliteConnection& connection, std::string_view sql);
  bool Execute(SqliteConnection& connection, const char* sql);
  int InsertOn(SqliteConnection& connection, TRecordData& record);
  bool UpdateOn(SqliteConnection& connection, int id, const TRecordData& record);
  bool RemoveOn(SqliteConnection& connection, int id);
  bool ReadOn(SqliteConnection& connection, int id, TRecordData& record);
  static TRecordData RecordOfRow(const SqliteStatement& row);
  bool CreateCaseTableOn(SqliteConnection& connection);
  bool CreateExtraTableOn(SqliteConnection& connection);
  bool TableExistsOn(SqliteConnection& connection, std::string_view table);
  int ReadPrimaryIdOn(SqliteConnection& connection);
  bool Fail(std::string message);
  int CountCases();
  bool RemarkNameInUse(const std::string& name);

  std::string path_;
  std::string programFolder_;
  int counter_ = 0;
  bool readOnly_ = false;
  SqliteConnection batch_;
  std::string lastError_;
  int remarkWriteFailures_ = 0;
};

}  // namespace quorin::cases

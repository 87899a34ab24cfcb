// SPDX-License-Identifier: GPL-3.0-or-later
// A case library for a whole practice in PostgreSQL: the cases with their remarks (the RTF bytes in
// the database itself, since a shared folder of files is not safe), the categories in their order,
// and a version on every case so that no save overwrites another user's change unseen.
//
// The schema "quorin" belongs to the administrator who made it (Initialize); the users are roles the
// administrator lets in (Grant), read-only ones too. Every statement is fixed SQL with its values
// passed apart. Failures are values as in the local store: false or nullopt, and lastError() says why.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cases/case_store.h"
#include "cases/pg_connection.h"
#include "chart/record_data.h"

namespace quorin::cases {

class MRecordBase;

// The conflict message of a save that would overwrite another user's change.
inline constexpr const char* kChangedByAnother = "这个案例已经被其他人修改过，没有覆盖。";
inline constexpr const char* kReadOnlyLibrary = "只读用户不能修改共享案例库！";
inline constexpr const char* kLibraryNotEmpty = "共享案例库中已经有案例，只能推送到空的共享案例库";
inline constexpr const char* kNotSharedLibrary = "这个数据库还不是共享案例库（请先运行 quorin-cli library init）";

class SharedLibrary : public CaseStore {
 public:
  // A libpq connection string or URI: postgresql://user@host:port/database?sslmode=verify-full.
  [[nodiscard]] bool Connect(const std::string& target, const std::string& password = {});
  // Whether the server no longer answers (the window then offers to connect again).
  bool ConnectionLost();
  // What Connect was given, for another connection to the same library.
  const std::string& ConnectionTarget() const { return target_; }
  const std::string& ConnectionPassword() const { return password_; }
  // Connects again to the same library, after the server came back.
  [[nodiscard]] bool Reconnect();
  const std::string& lastError() const override { return lastError_; }
  // user@server:port/database, for the window's title.
  std::string Description() const override;
  bool IsShared() const override { return true; }
  // The role this library was entered as.
  std::string User() const { return connection_.User(); }

  // Makes the schema on a database without one; the connected role becomes its owner. On a
  // library of an earlier format it adds what came since (then Upgraded()).
  [[nodiscard]] bool Initialize();
  bool Upgraded() const { return upgraded_; }
  // Whether the database holds the schema of a shared library.
  [[nodiscard]] bool IsInitialized();
  // The same, with a database that is none made a failure: false with lastError() saying so
  // (kNotSharedLibrary), or why it could not be asked.
  [[nodiscard]] bool IsLibrary();
  // Connect, then IsLibrary(): what every user of a library made already does first.
  [[nodiscard]] bool ConnectToLibrary(const std::string& target, const std::string& password = {}) {
    return Connect(target, password) && IsLibrary();
  }
  // Lets an existing role in: to read and change the cases, or only to read them.
  [[nodiscard]] bool Grant(const std::string& role, bool readOnly);
  // Whether the connected role may change the library.
  [[nodiscard]] std::optional<bool> CanWrite() override;

  // Stores a new case (its id is set) with version 1; the id.
  [[nodiscard]] std::optional<int> Insert(TRecordData& record, std::string_view remarkRtf);
  // The case, or nullopt: missing (lastError() empty) or a failure.
  [[nodiscard]] std::optional<StoredCase> Read(int id);
  // Rewrites the case when it still has `version`; the new version in `version`.
  [[nodiscard]] CaseSave Update(int id, const TRecordData& record, std::string_view remarkRtf, int& version);
  // Deletes the case when it still has `version`.
  [[nodiscard]] CaseSave Remove(int id, int version);
  // Every case id in increasing order.
  [[nodiscard]] std::optional<std::vector<int>> CaseIds();
  [[nodiscard]] std::optional<std::vector<std::string>> ClassNames();

  // The library as the windows use it. The counter is the newest case's id.
  int GetPrimaryId() const override { return counter_; }
  bool Stale() override { return false; }  // ids are never renumbered here
  bool Resync() override;
  bool GetClassNames(std::vector<std::string>& names) override { return ReadClassNames(names); }
  // Writes the list in one transaction: listed names in this order; categories that lost their
  // place but still have cases are kept off the list, the others go. Categories another user
  // listed since this connection last read the list stay on it.
  bool SetClassNames(const std::vector<std::string>& names) override;
  std::optional<StoredCase> ReadStored(int id) override { return Read(id); }
  std::optional<int> InsertCase(TRecordData& record, std::string_view remarkRtf) override { return Insert(record, remarkRtf); }
  CaseSave UpdateCase(int id, const TRecordData& record, std::string_view remarkRtf, int& version) override {
    return Update(id, record, remarkRtf, version);
  }
  CaseSave RemoveCase(int id, int version) override { return Remove(id, version); }
  std::vector<int> RemoveCases(const std::vector<int>& ids) override;
  std::optional<std::vector<int>> MoveCasesToCategory(const std::vector<int>& ids, const std::string& category) override;
  // Match exactly as the local searches do; the server narrows the cases down by its indexes first.
  std::optional<std::vector<int>> FuzzySearch(const std::vector<std::string>& keywords) override;
  std::optional<std::vector<int>> Search(const CaseSearchCriteria& criteria) override;
  std::optional<std::vector<int>> CategoryCaseIds(const std::string& category) override;
  // One statement: the category's row takes the new name, and its cases follow it (the reference
  // cascades), keeping its place in the list.
  std::optional<std::vector<int>> RenameCategory(const std::string& from, const std::string& to) override;
  CaseReaderOpener ReaderOpener() const override;

  // Whole-library work, each in one transaction.
  // Writes the cases of the chosen categories (or all) into a new local library file, as the
  // local export does; the number written.
  [[nodiscard]] std::optional<int> ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                            bool exportAll);
  // Gives every case without remark bytes its remark made from its stored text; the number made.
  [[nodiscard]] std::optional<int> RebuildRemarks();
  // The shared library's compaction: the remark rebuild, then the server's own tidying of the
  // tables (VACUUM ANALYZE, the owner's). Ids stay: other users hold them. The number of cases.
  [[nodiscard]] std::optional<int> Compact();
  // Writes the library into a new backup folder laid out as the local backup (database, remark
  // folder, save.txt last; the folder takes its final name only when whole), so that either kind of
  // library restores from it. The number of cases.
  [[nodiscard]] std::optional<int> Backup(const std::string& destination);
  // Fills this library, which must hold no case yet, from a backup folder (local or shared); the
  // number of cases. In one transaction, as Push.
  [[nodiscard]] std::optional<int> Restore(const std::string& source);

  // The case lists' reading: one snapshot of the library from BeginReading to EndReading.
  bool ReadClassNames(std::vector<std::string>& names) override;
  bool BeginReading() override;
  void EndReading() override;
  bool ReadCaseRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) override;
  bool ReadCase(int id, TRecordData& record) override;
  // By the index, in parts: any list, however its ids spread, reads as fast as its length.
  bool ReadsIdLists() const override { return true; }
  bool ReadCaseList(const std::vector<int>& ids, const std::function<bool(TRecordData& record)>& each) override;
  std::string ReadError() const override { return lastError_; }

  // Asks to be told of every change other connections make (cases, categories).
  [[nodiscard]] bool Listen();
  // Waits up to `milliseconds` for a change announced since the last wait: true when one came,
  // false when none did (lastError() empty) or the connection failed (lastError() says so).
  [[nodiscard]] bool WaitForChange(int milliseconds);

  // Copies a local library (its cases under their ids, their remark files and the categories)
  // into this one, which must hold no case yet; in one transaction. The number of cases.
  [[nodiscard]] std::optional<int> Push(MRecordBase& local);
  // Adds every case of a local library file (read, never changed) under new ids, each checked as
  // the chart checks a request, with its remark made from its stored text and its category listed,
  // as the local import does; all in one transaction. The number added.
  [[nodiscard]] std::optional<int> Import(MRecordBase& source);
  // Writes this library into a new local library in today's format (an empty local store just
  // opened): the cases under their ids, the remark files, the categories. The number of cases.
  [[nodiscard]] std::optional<int> Pull(MRecordBase& local);

 private:
  bool Fail(const std::string& what);
  // The failure of a statement that changes the library: a role that may only read is told so,
  // any other failure as `what` with the server's words.
  bool FailStatement(const PgResult& failed, const std::string& what);
  // Whether the library's format has the pairs index (format 2 on); a library of format 1 is
  // searched without it.
  bool HasPairIndex();
  // Whether the database is a shared library this role may change; false with lastError() saying why.
  bool ReadyToWrite();
  // The outcome of a save or removal by id and version whose statement changed no row.
  CaseSave WhyNotSaved(int id, const PgResult& statement, const std::string& what);
  template <typename T>
  std::optional<T> FailWith(const std::string& what) {
    Fail(what);
    return std::nullopt;
  }

  PgConnection connection_;
  std::string target_;
  std::string password_;  // only what the window was given, held while connected
  std::string lastError_;
  int counter_ = 0;
  bool upgraded_ = false;
  std::vector<std::string> lastReadClassNames_;  // the list as this connection last read it
  std::optional<bool> hasPairIndex_;  // whether the library has the searches' index of character pairs
};

}  // namespace quorin::cases

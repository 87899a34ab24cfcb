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

#include "cases/case_reader.h"
#include "cases/pg_connection.h"
#include "chart/record_data.h"

namespace quorin::cases {

class MRecordBase;

// A case as the shared library keeps it: the record, its remark (RTF bytes; empty for none) and
// the version its last save gave it.
struct SharedCase {
  TRecordData record;
  std::string remarkRtf;
  int version = 0;
};

// How a save by id ended.
enum class SharedSave { kSaved, kChangedByAnother, kMissing, kFailed };

// The conflict message of a save that would overwrite another user's change.
inline constexpr const char* kChangedByAnother = "这个案例已经被其他人修改过，没有覆盖。";
inline constexpr const char* kReadOnlyLibrary = "只读用户不能修改共享案例库！";
inline constexpr const char* kNotSharedLibrary = "这个数据库还不是共享案例库（请先运行 quorin-cli library init）";

class SharedLibrary : public CaseReader {
 public:
  // A libpq connection string or URI: postgresql://user@host:port/database?sslmode=verify-full.
  [[nodiscard]] bool Connect(const std::string& target);
  const std::string& lastError() const { return lastError_; }
  // The role this library was entered as.
  std::string User() const { return connection_.User(); }

  // Makes the schema on a database without one; the connected role becomes its owner.
  [[nodiscard]] bool Initialize();
  // Whether the database holds the schema of a shared library.
  [[nodiscard]] bool IsInitialized();
  // Lets an existing role in: to read and change the cases, or only to read them.
  [[nodiscard]] bool Grant(const std::string& role, bool readOnly);
  // Whether the connected role may change the library.
  [[nodiscard]] std::optional<bool> CanWrite();

  // Stores a new case (its id is set) with version 1; the id.
  [[nodiscard]] std::optional<int> Insert(TRecordData& record, std::string_view remarkRtf);
  // The case, or nullopt: missing (lastError() empty) or a failure.
  [[nodiscard]] std::optional<SharedCase> Read(int id);
  // Rewrites the case when it still has `version`; the new version in `version`.
  [[nodiscard]] SharedSave Update(int id, const TRecordData& record, std::string_view remarkRtf, int& version);
  // Deletes the case when it still has `version`.
  [[nodiscard]] SharedSave Remove(int id, int version);
  // Every case id in increasing order.
  [[nodiscard]] std::optional<std::vector<int>> CaseIds();
  [[nodiscard]] std::optional<std::vector<std::string>> ClassNames();

  // The case lists' reading: one snapshot of the library from BeginReading to EndReading.
  bool ReadClassNames(std::vector<std::string>& names) override;
  bool BeginReading() override;
  void EndReading() override;
  bool ReadCaseRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) override;
  bool ReadCase(int id, TRecordData& record) override;
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
  // Whether the database is a shared library this role may change; false with lastError() saying why.
  bool ReadyToWrite();
  // The outcome of a save or removal by id and version whose statement changed no row.
  SharedSave WhyNotSaved(int id, const PgResult& statement, const std::string& what);
  template <typename T>
  std::optional<T> FailWith(const std::string& what) {
    Fail(what);
    return std::nullopt;
  }

  PgConnection connection_;
  std::string lastError_;
};

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
// A thin RAII layer over one SQLite connection: prepared statements with bound
// values, so no stored text is ever pasted into SQL. Failures are results: an operation
// answers false (or nullptr, or nullopt) and Message() says why.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::cases {

// One prepared statement, reset and rebound for every use. Owned by its connection.
class SqliteStatement {
 public:
  enum class Step { kRow, kDone, kError };

  explicit SqliteStatement(sqlite3_stmt* statement);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Clears earlier results and bindings; call before binding the next use.
  SqliteStatement& Reset();
  SqliteStatement& Bind(int index, std::int64_t value);  // index from 1
  SqliteStatement& Bind(int index, std::string_view text);
  Step Next();
  // Runs to the end; true when no error occurred.
  [[nodiscard]] bool Run();

  int ColumnCount() const;
  // The column of that name in the result, -1 when the result has none.
  int ColumnIndex(std::string_view name) const;
  // The columns of a fixed list of names (-1 where missing), worked out once per statement.
  const std::vector<int>& ColumnIndexes(std::span<const std::string_view> names) const;
  // The text of a column of the current row; empty for NULL or a missing column.
  std::string_view Text(int column) const;
  // The value of a column of the current row as a whole number (a real one rounded down);
  // nullopt for NULL, text, blobs and reals outside the 64-bit range.
  std::optional<std::int64_t> Integer(int column) const;

 private:
  sqlite3_stmt* statement_;
  mutable std::vector<std::string> names_;
  mutable const std::string_view* mappedNames_ = nullptr;
  mutable std::vector<int> mappedColumns_;
};

class SqliteConnection {
 public:
  SqliteConnection() = default;
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // Opens (and, when `create` is set, creates) the file.
  // A connection serves one thread at a time, so SQLite's own locking is left out.
  [[nodiscard]] bool Open(const std::string& utf8Path, bool create);
  // Opens an existing file for reading only; SQLite then refuses every write to it.
  [[nodiscard]] bool OpenReadOnly(const std::string& utf8Path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // Runs SQL without results (several statements allowed).
  [[nodiscard]] bool Execute(const char* sql);
  // A prepared statement for this SQL, cached for the life of the connection; nullptr when it
  // cannot be prepared.
  [[nodiscard]] SqliteStatement* Prepare(std::string_view sql);
  // SQLite's quick check of the whole file: a database copied short fails it.
  [[nodiscard]] bool PassesQuickCheck();
  // Why the last operation on this connection failed: SQLite's message, or why it did not open.
  std::string Message() const;
  // Rows changed by the last statement.
  int Changes() const;
  // SQLite's result code of the last failure (SQLITE_TOOBIG for a value over the limit).
  int ErrorCode() const;
  // Refuses to read any text, blob or row longer than `bytes`, before reading it into memory.
  void LimitValueLength(std::size_t bytes);

 private:
  bool OpenWith(const std::string& utf8Path, int flags);

  sqlite3* db_ = nullptr;
  std::string openFailure_;  // why the last Open failed, while no file is open
  std::map<std::string, std::unique_ptr<SqliteStatement>, std::less<>> statements_;
};

// How a file holds a table of that name: missing, a stored table, or something else (a view or a
// virtual table, which would run the file's own code on every read; a recursive view never ends).
enum class Presence { kMissing, kPlainTable, kOther };
// Names are compared as SQLite does; nullopt when it cannot be asked (connection.Message() says why).
[[nodiscard]] std::optional<Presence> PresenceOf(SqliteConnection& connection, std::string_view table);

}  // namespace quorin::cases

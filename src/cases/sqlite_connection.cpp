// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/sqlite_connection.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace quorin::cases {

SqliteStatement::SqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement& SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  return *this;
}

SqliteStatement::Step SqliteStatement::Next() {
  switch (sqlite3_step(statement_)) {
    case SQLITE_ROW: return Step::kRow;
    case SQLITE_DONE: return Step::kDone;
    default: return Step::kError;
  }
}

bool SqliteStatement::Run() {
  Step step;
  while ((step = Next()) == Step::kRow) {
  }
  return step == Step::kDone;
}

int SqliteStatement::ColumnCount() const { return sqlite3_column_count(statement_); }

int SqliteStatement::ColumnIndex(std::string_view name) const {
  if (names_.empty()) {
    for (int i = 0; i < ColumnCount(); ++i) {
      const char* n = sqlite3_column_name(statement_, i);
      names_.emplace_back(n ? n : "");
    }
  }
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

const std::vector<int>& SqliteStatement::ColumnIndexes(std::span<const std::string_view> names) const {
  if (mappedNames_ != names.data() || mappedColumns_.size() != names.size()) {
    mappedColumns_.clear();
    for (const std::string_view name : names) mappedColumns_.push_back(ColumnIndex(name));
    mappedNames_ = names.data();
  }
  return mappedColumns_;
}

std::string_view SqliteStatement::Text(int column) const {
  if (column < 0 || column >= ColumnCount()) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (!text) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

std::optional<std::int64_t> SqliteStatement::Integer(int column) const {
  if (column < 0 || column >= ColumnCount()) return std::nullopt;
  switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER: return sqlite3_column_int64(statement_, column);
    case SQLITE_FLOAT: {
      const double value = std::floor(sqlite3_column_double(statement_, column));
      // 2^63 itself is the first real that no longer fits.
      if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) return std::nullopt;
      return static_cast<std::int64_t>(value);
    }
    default: return std::nullopt;
  }
}

SqliteConnection::~SqliteConnection() { Close(); }

bool SqliteConnection::Open(const std::string& utf8Path, bool create) {
  return OpenWith(utf8Path, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
}

bool SqliteConnection::OpenReadOnly(const std::string& utf8Path) { return OpenWith(utf8Path, SQLITE_OPEN_READONLY); }

bool SqliteConnection::OpenWith(const std::string& utf8Path, int flags) {
  Close();
  openFailure_.clear();
  flags |= SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(utf8Path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    openFailure_ = db_ ? sqlite3_errmsg(db_) : "out of memory";
    Close();
    return false;
  }
  // Another connection (the loading pass, a second store) may hold the file for a moment.
  sqlite3_busy_timeout(db_, 5000);
  return true;
}

void SqliteConnection::Close() {
  statements_.clear();  // statements are finalised before the connection goes
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

bool SqliteConnection::Execute(const char* sql) {
  // SQLite keeps the message of a failed statement as the connection's own.
  return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement* SqliteConnection::Prepare(std::string_view sql) {
  if (const auto it = statements_.find(sql); it != statements_.end()) return &it->second->Reset();
  sqlite3_stmt* statement = nullptr;
  if (!db_ || sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  auto owned = std::make_unique<SqliteStatement>(statement);
  SqliteStatement* result = owned.get();
  statements_.emplace(std::string(sql), std::move(owned));
  return result;
}

std::string SqliteConnection::Message() const {
  if (db_) return sqlite3_errmsg(db_);
  return openFailure_.empty() ? "database not open" : openFailure_;
}

int SqliteConnection::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

int SqliteConnection::ErrorCode() const { return db_ ? sqlite3_errcode(db_) : SQLITE_MISUSE; }

void SqliteConnection::LimitValueLength(std::size_t bytes) {
  if (db_) sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, static_cast<int>(std::min<std::size_t>(bytes, INT_MAX)));
}

std::optional<Presence> PresenceOf(SqliteConnection& connection, std::string_view table) {
  SqliteStatement* statement = connection.Prepare(
      "select type='table' and sql not like 'create virtual%' from sqlite_master where name=? collate nocase;");
  if (!statement) return std::nullopt;
  statement->Bind(1, table);
  std::optional<Presence> presence;
  switch (statement->Next()) {
    case SqliteStatement::Step::kError: break;
    case SqliteStatement::Step::kDone: presence = Presence::kMissing; break;
    case SqliteStatement::Step::kRow:
      presence = statement->Integer(0) == 1 ? Presence::kPlainTable : Presence::kOther;
      break;
  }
  statement->Reset();  // no half-read result keeps the file locked
  return presence;
}

bool SqliteConnection::PassesQuickCheck() {
  SqliteStatement* check = Prepare("pragma quick_check;");
  const bool ok = check && check->Next() == SqliteStatement::Step::kRow && check->Text(0) == "ok";
  if (check) check->Reset();
  return ok;
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
// A thin RAII layer over one PostgreSQL connection (libpq): every statement is fixed SQL with its
// values passed apart as parameters, so no stored or typed text ever becomes SQL. Failures are
// results: an operation answers false (or an empty result) and Message() says why.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::cases {

// A value of a statement: text, NULL, or bytes passed as they are (bytea).
struct PgValue {
  std::optional<std::string> text;
  bool binary = false;

  PgValue() = default;  // NULL
  PgValue(std::string value) : text(std::move(value)) {}  // NOLINT: values read as they are written
  PgValue(const char* value) : text(value) {}              // NOLINT
  PgValue(long long value) : text(std::to_string(value)) {}  // NOLINT
  PgValue(int value) : text(std::to_string(value)) {}        // NOLINT
  static PgValue Bytes(std::string_view bytes) {
    PgValue v{std::string(bytes)};
    v.binary = true;
    return v;
  }
  // A value of the server's array types ($1::integer[], $1::text[]); texts are quoted and escaped.
  static PgValue IntegerArray(const std::vector<int>& values);
  static PgValue TextArray(const std::vector<std::string>& values);
};

// The rows of one statement. Texts of a binary result (bytea) are the bytes themselves.
class PgResult {
 public:
  PgResult() = default;
  explicit PgResult(PGresult* result) : result_(result, &PQclear) {}

  bool Ok() const;
  int Rows() const { return result_ ? PQntuples(result_.get()) : 0; }
  bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
  std::string Text(int row, int column) const;
  std::optional<long long> Integer(int row, int column) const;
  // The column's integers of every row (ids), in row order.
  std::vector<int> IntegerColumn(int column) const;
  // The SQLSTATE of a failed statement ("40001", "42501" …), empty when there is none.
  std::string State() const;

 private:
  std::shared_ptr<PGresult> result_;
};

class PgConnection {
 public:
  PgConnection() = default;
  ~PgConnection() { Close(); }
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // A libpq connection string or URI (postgresql://user@host/db); the password from ~/.pgpass or
  // PGPASSWORD as libpq finds it.
  // A password given apart (the window's, from the keyring) goes with it; empty: libpq finds one.
  [[nodiscard]] bool Open(const std::string& target, const std::string& password = {});
  void Close();
  bool IsOpen() const { return connection_ != nullptr; }

  // Runs one statement with its values as parameters $1, $2 …; the result texts, or the bytes when
  // `binaryResult`.
  PgResult Run(std::string_view sql, const std::vector<PgValue>& values = {}, bool binaryResult = false);
  // Runs fixed SQL of several statements without values (schema, transactions).
  [[nodiscard]] bool Execute(std::string_view sql);

  // Waits up to `milliseconds` for notifications (LISTEN) and takes those that came; how many, or
  // nullopt when the connection failed.
  [[nodiscard]] std::optional<int> TakeNotifications(int milliseconds);

  // The server's or libpq's message about the last failure, one line.
  std::string Message() const;
  // The role the connection logged in as.
  std::string User() const;
  // user@server:port/database of the open connection.
  std::string Describe() const;
  PGconn* Raw() const { return connection_; }

 private:
  PGconn* connection_ = nullptr;
  std::string message_;
};

}  // namespace quorin::cases

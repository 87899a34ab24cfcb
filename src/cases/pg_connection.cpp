// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/pg_connection.h"

#include <poll.h>

#include <chrono>

#include "base/text_parse.h"

namespace quorin::cases {
namespace {

// libpq's messages end in a line break and may hold several lines; one line reads better in a box.
std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

}  // namespace

bool PgResult::Ok() const {
  if (!result_) return false;
  const ExecStatusType status = PQresultStatus(result_.get());
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string PgResult::Text(int row, int column) const {
  if (!result_ || row >= Rows() || IsNull(row, column)) return {};
  return std::string(PQgetvalue(result_.get(), row, column),
                     static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
}

std::optional<long long> PgResult::Integer(int row, int column) const {
  if (!result_ || row >= Rows() || IsNull(row, column)) return std::nullopt;
  const auto value = base::ParseInt64(Text(row, column));
  return value ? std::optional<long long>(*value) : std::nullopt;
}

PgValue PgValue::IntegerArray(const std::vector<int>& values) {
  std::string text = "{";
  for (const int v : values) text += (text.size() > 1 ? "," : "") + std::to_string(v);
  return PgValue(text + "}");
}

PgValue PgValue::TextArray(const std::vector<std::string>& values) {
  std::string text = "{";
  for (const std::string& v : values) {
    if (text.size() > 1) text += ',';
    text += '"';
    for (const char c : v) {
      if (c == '"' || c == '\\') text += '\\';
      text += c;
    }
    text += '"';
  }
  return PgValue(text + "}");
}

std::vector<int> PgResult::IntegerColumn(int column) const {
  std::vector<int> values;
  values.reserve(static_cast<std::size_t>(Rows()));
  for (int r = 0; r < Rows(); ++r) values.push_back(static_cast<int>(Integer(r, column).value_or(0)));
  return values;
}

std::string PgResult::State() const {
  if (!result_) return {};
  const char* state = PQresultErrorField(result_.get(), PG_DIAG_SQLSTATE);
  return state ? state : "";
}

bool PgConnection::Open(const std::string& target, const std::string& password) {
  Close();
  // The target is expanded as a connection string or URI; a password given apart (from the
  // keyring) never becomes part of it.
  const char* keywords[] = {"dbname", password.empty() ? nullptr : "password", nullptr};
  const char* values[] = {target.c_str(), password.empty() ? nullptr : password.c_str(), nullptr};
  connection_ = PQconnectdbParams(keywords, values, 1);
  if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
    message_ = connection_ ? OneLine(PQerrorMessage(connection_)) : "无法连接数据库服务器";
    Close();
    return false;
  }
  // Texts go both ways as UTF-8, whatever the server or the client's locale would choose.
  if (PQsetClientEncoding(connection_, "UTF8") != 0) {
    message_ = OneLine(PQerrorMessage(connection_));
    Close();
    return false;
  }
  message_.clear();
  return true;
}

std::string PgConnection::Describe() const {
  if (!connection_) return {};
  const auto text = [](const char* t) { return std::string(t ? t : ""); };
  std::string host = text(PQhost(connection_));
  if (host.empty() || host.front() == '/') host = "localhost";  // a Unix socket's folder says little
  return text(PQuser(connection_)) + "@" + host + ":" + text(PQport(connection_)) + "/" + text(PQdb(connection_));
}

void PgConnection::Close() {
  if (connection_) PQfinish(connection_);
  connection_ = nullptr;
}

PgResult PgConnection::Run(std::string_view sql, const std::vector<PgValue>& values, bool binaryResult) {
  if (!connection_) {
    message_ = "没有连接数据库服务器";
    return {};
  }
  std::vector<const char*> texts;
  std::vector<int> lengths;
  std::vector<int> formats;
  for (const PgValue& v : values) {
    texts.push_back(v.text ? v.text->data() : nullptr);
    lengths.push_back(v.text ? static_cast<int>(v.text->size()) : 0);
    formats.push_back(v.binary ? 1 : 0);
  }
  const std::string statement(sql);
  PgResult result(PQexecParams(connection_, statement.c_str(), static_cast<int>(values.size()), nullptr, texts.data(),
                               lengths.data(), formats.data(), binaryResult ? 1 : 0));
  message_ = result.Ok() ? std::string() : OneLine(PQerrorMessage(connection_));
  return result;
}

bool PgConnection::Execute(std::string_view sql) {
  if (!connection_) {
    message_ = "没有连接数据库服务器";
    return false;
  }
  const std::string statement(sql);
  const PgResult result(PQexec(connection_, statement.c_str()));
  message_ = result.Ok() ? std::string() : OneLine(PQerrorMessage(connection_));
  return result.Ok();
}

std::optional<int> PgConnection::TakeNotifications(int milliseconds) {
  if (!connection_) {
    message_ = "没有连接数据库服务器";
    return std::nullopt;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    // A server that ends the connection first sends why; only then does the socket close.
    if (PQconsumeInput(connection_) == 0 || PQstatus(connection_) == CONNECTION_BAD) {
      message_ = OneLine(PQerrorMessage(connection_));
      if (message_.empty()) message_ = "与数据库服务器的连接中断了";
      return std::nullopt;
    }
    int count = 0;
    while (PGnotify* note = PQnotifies(connection_)) {
      PQfreemem(note);
      ++count;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (count > 0 || left.count() <= 0) return count;
    pollfd wait{PQsocket(connection_), POLLIN, 0};
    if (wait.fd < 0 || poll(&wait, 1, static_cast<int>(left.count())) < 0) {
      message_ = "无法等待数据库服务器";
      return std::nullopt;
    }
  }
}

std::string PgConnection::Message() const { return message_; }

std::string PgConnection::User() const { return connection_ ? PQuser(connection_) : ""; }

}  // namespace quorin::cases

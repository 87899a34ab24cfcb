// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/library_address.h"

#include <utility>
#include <vector>

namespace quorin::cases {
namespace {

// 'value' with backslashes and quotes escaped, as libpq's connection strings take any text.
std::string Quoted(const std::string& value) {
  std::string quoted = "'";
  for (const char c : value) {
    if (c == '\\' || c == '\'') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

}  // namespace

std::string ConnectionString(const LibraryAddress& address) {
  const std::vector<std::pair<const char*, const std::string*>> settings{
      {"host", &address.host},         {"port", &address.port},       {"dbname", &address.database},
      {"user", &address.user},         {"sslmode", &address.sslMode}, {"sslrootcert", &address.rootCertificate}};
  std::string text;
  for (const auto& [key, value] : settings) {
    if (value->empty()) continue;
    text += (text.empty() ? "" : " ") + std::string(key) + "=" + Quoted(*value);
  }
  return text;
}

}  // namespace quorin::cases

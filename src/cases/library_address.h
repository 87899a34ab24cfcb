// SPDX-License-Identifier: GPL-3.0-or-later
// Where a practice's shared library is: what the window's connection dialog asks and remembers,
// and the libpq connection string made of it. The password is never part of either.
#pragma once

#include <string>

namespace quorin::cases {

struct LibraryAddress {
  std::string host;      // a name, an address or a Unix socket's folder
  std::string port;      // empty: the server's default
  std::string database;
  std::string user;
  std::string sslMode = "prefer";  // disable, prefer, require, verify-ca or verify-full
  std::string rootCertificate;     // the practice's own CA file for verify-ca and verify-full; empty: libpq's
};

// The connection string of the address: each value quoted as libpq reads it, so that no value
// typed in the dialog can add a setting of its own.
std::string ConnectionString(const LibraryAddress& address);

// The TLS modes the dialog offers, in its order.
inline constexpr const char* kSslModes[] = {"prefer", "require", "verify-ca", "verify-full", "disable"};

}  // namespace quorin::cases

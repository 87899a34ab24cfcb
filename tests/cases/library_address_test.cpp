// SPDX-License-Identifier: GPL-3.0-or-later
// What the connection dialog's fields become: each value quoted, so that no typed text adds a
// setting of its own, and libpq reads back exactly what was typed.
#include "cases/library_address.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <map>
#include <memory>

namespace quorin::cases {
namespace {

// The settings libpq reads from a connection string (only those given).
std::map<std::string, std::string> ReadByLibpq(const std::string& text) {
  char* error = nullptr;
  std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> options(PQconninfoParse(text.c_str(), &error),
                                                                         &PQconninfoFree);
  if (error) PQfreemem(error);
  std::map<std::string, std::string> read;
  for (PQconninfoOption* o = options.get(); o && o->keyword; ++o) {
    if (o->val) read[o->keyword] = o->val;
  }
  return read;
}

TEST(LibraryAddress, EveryTypedValueReadsBackAsTypedAndAddsNoSetting) {
  LibraryAddress a;
  a.host = "server.example";
  a.database = "诊所 practice' sslmode='disable";
  a.user = "wang\\ li";
  a.sslMode = "verify-full";
  a.rootCertificate = "/home/wang/诊所 ca.crt";
  const auto read = ReadByLibpq(ConnectionString(a));
  EXPECT_EQ(read.at("host"), a.host);
  EXPECT_EQ(read.at("dbname"), a.database);
  EXPECT_EQ(read.at("user"), a.user);
  EXPECT_EQ(read.at("sslmode"), "verify-full");
  EXPECT_EQ(read.at("sslrootcert"), a.rootCertificate);
  EXPECT_EQ(read.count("port"), 0u);  // empty: libpq's default
  EXPECT_EQ(ConnectionString(LibraryAddress{}), "sslmode='prefer'");
}

}  // namespace
}  // namespace quorin::cases

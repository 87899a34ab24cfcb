// SPDX-License-Identifier: GPL-3.0-or-later
// A program folder of its own for each case test, with helpers to make records and
// to poke at database files directly.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/files.h"
#include "cases/record_base.h"
#include "cases/sqlite_connection.h"
#include "support/temp_dir.h"

namespace quorin::cases {

class CaseStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base::SetProgramFolder(dir_.Path());
    dbPath_ = dir_.Path() + "dat/Orlune.db";
  }

  // A stored-looking record: Gregorian, Beijing, with the given name and moment.
  static TRecordData MakeRecord(const std::string& name, int year = 2010, int month = 5, int day = 6, int hour = 7,
                                int minute = 8, const std::string& className = "开业") {
    TRecordData r;
    r.ResetRecord();
    r.name = name;
    r.year = static_cast<std::int16_t>(year);
    r.month = static_cast<std::int16_t>(month);
    r.day = static_cast<std::int16_t>(day);
    r.hour = static_cast<std::int16_t>(hour);
    r.minute = static_cast<std::int16_t>(minute);
    r.male = true;
    r.province = 3;
    r.city = 2;
    r.longitude = 116.4f;
    r.latitude = 39.9f;
    r.addrName = "北京北京";
    r.masterYear = 1970;
    r.mountain = 5;
    r.mountainGua = 2;
    r.dragonMountain = -1;
    r.waterMountain = -1;
    r.className = className;
    r.remarkText = "备注 " + name;
    r.remarkFile = name + "_remark";
    return r;
  }

  // Runs SQL on a file outside the store; fails the test when SQLite refuses.
  static void Sql(const std::string& path, const std::string& sql) {
    SqliteConnection c;
    ASSERT_TRUE(c.Open(path, true)) << c.Message();
    ASSERT_TRUE(c.Execute(sql.c_str())) << c.Message() << "\n" << sql;
  }

  // The first column of the first row of a query, as text ("" when there is none).
  static std::string SqlValue(const std::string& path, const std::string& sql) {
    SqliteConnection c;
    if (!c.Open(path, false)) return "<" + c.Message() + ">";
    SqliteStatement* s = c.Prepare(sql);
    if (!s) return "<" + c.Message() + ">";
    std::string value = s->Next() == SqliteStatement::Step::kRow ? std::string(s->Text(0)) : "";
    s->Reset();
    return value;
  }

  testing::TempDir dir_;
  std::string dbPath_;
};

}  // namespace quorin::cases

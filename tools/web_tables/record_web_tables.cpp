// SPDX-License-Identifier: GPL-3.0-or-later
// record_web_tables OUT_FOLDER: writes the tables the web edition reads instead of OpenCC, tzdata
// and ICU into OUT_FOLDER (web_tables_recording.h).
#include <iostream>
#include <string>

#include "base/files.h"
#include "web_tables_recording.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: record_web_tables OUT_FOLDER\n";
    return 2;
  }
  const std::string failed = quorin::web_tables::RecordWebTables(quorin::base::WithTrailingSeparator(argv[1]));
  if (!failed.empty()) {
    std::cerr << "record_web_tables: " << failed << '\n';
    return 1;
  }
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Which case library a command works on, read alike by `cases` and `library`: a shared one by
// --library or the QUORIN_LIBRARY environment variable, a local one by --db and --program-dir.
#pragma once

#include <cstdlib>
#include <string>

#include "base/files.h"
#include "cases/remark_files.h"
#include "command.h"

namespace quorin::cli {

// The shared library's URI; empty for none (the local library).
inline std::string SharedLibraryTarget(const Arguments& a) {
  const char* fromEnvironment = std::getenv("QUORIN_LIBRARY");
  return a.Value("library").value_or(fromEnvironment ? fromEnvironment : "");
}

// The local library's database: --db, else dat/Orlune.db of the program folder, which
// --program-dir sets (where the remark files are too).
inline std::string LocalLibraryPath(const Arguments& a) {
  if (const auto folder = a.Value("program-dir")) base::SetProgramFolder(*folder);
  return a.Value("db").value_or(base::ProgramFolder() + "dat/" + std::string(cases::kDatabaseWord) + ".db");
}

}  // namespace quorin::cli

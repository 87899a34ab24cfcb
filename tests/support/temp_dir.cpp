// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorin::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorin-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have made a folder read-only; make it writable so it can go.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out) << "cannot write " << path;
  out << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string SourcePath(const std::string& relative) { return std::string(QUORIN_SOURCE_DIR) + "/" + relative; }

}  // namespace quorin::testing

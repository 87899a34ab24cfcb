// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder under the system's temporary folder, removed with its contents.
#pragma once

#include <string>

namespace quorin::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder path, ending in '/'.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it; fails the test when it cannot.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// A file of the source tree (tests/..., data/...).
std::string SourcePath(const std::string& relative);

}  // namespace quorin::testing

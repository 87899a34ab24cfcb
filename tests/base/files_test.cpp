// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace quorin::base {
namespace {

TEST(ProgramFolder, IsTheExecutablesFolderWithATrailingSeparator) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(DirectoryExists(folder));
  SetProgramFolder("/tmp/x");
  EXPECT_EQ(ProgramFolder(), "/tmp/x/");
  SetProgramFolder(folder);
}

TEST(Files, AtomicWriteReplacesWholeFilesOnly) {
  quorin::testing::TempDir dir;
  const std::string path = dir.File("a.bin");
  ASSERT_TRUE(AtomicWriteFile(path, std::string("one\0two", 7)));
  EXPECT_EQ(*ReadFileBytes(path), std::string("one\0two", 7));
  ASSERT_TRUE(AtomicWriteFile(path, ""));
  EXPECT_EQ(*ReadFileBytes(path), "");
  std::string error;
  EXPECT_FALSE(AtomicWriteFile(dir.File("missing/a.bin"), "x", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ReadFileBytes(dir.File("missing/a.bin")).has_value());
  EXPECT_TRUE(EnsureDirectory(dir.File("x/y/z")));
  EXPECT_TRUE(DirectoryExists(dir.File("x/y/z")));
  EXPECT_FALSE(FileExists(dir.File("x/y/z")));
}

}  // namespace
}  // namespace quorin::base

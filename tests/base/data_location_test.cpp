// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/data_location.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "support/temp_dir.h"

namespace quorin::base {
namespace {

namespace fs = std::filesystem;
using quorin::testing::ReadBytes;
using quorin::testing::TempDir;
using quorin::testing::WriteBytes;

// Portable only where the executable's folder holds a writable dat/ folder; otherwise the user's
// data home by the XDG rule, and the shipped files at ../share/quorin/ from the executable.
TEST(DataLocation, ModeFollowsTheExecutablesFolderAndTheEnvironment) {
  TempDir dir;
  const std::string portable = dir.File("portable/");
  const std::string plainBin = dir.File("usr/bin/");
  const std::string fileDat = dir.File("odd/bin/");
  ASSERT_TRUE(EnsureDirectory(portable + "dat"));
  ASSERT_TRUE(EnsureDirectory(plainBin));
  ASSERT_TRUE(EnsureDirectory(fileDat));
  WriteBytes(fileDat + "dat", "a file, not a folder");

  struct Case {
    std::string exe;
    DataEnvironment environment;
    DataMode mode;
    std::string dataFolder;
    std::string shippedFolder;
  };
  const std::vector<Case> cases{
      {portable, {"/x/data", "/home/u"}, DataMode::kPortable, portable, portable},
      {portable.substr(0, portable.size() - 1), {}, DataMode::kPortable, portable, portable},
      {plainBin, {"/x/data", "/home/u"}, DataMode::kInstalled, "/x/data/quorin/", dir.File("usr/share/quorin/")},
      {plainBin, {"/x/data/", "/home/u"}, DataMode::kInstalled, "/x/data/quorin/", dir.File("usr/share/quorin/")},
      // Unset or relative $XDG_DATA_HOME: the default under $HOME.
      {plainBin, {"", "/home/u"}, DataMode::kInstalled, "/home/u/.local/share/quorin/", dir.File("usr/share/quorin/")},
      {plainBin, {"rel/data", "/home/u/"}, DataMode::kInstalled, "/home/u/.local/share/quorin/",
       dir.File("usr/share/quorin/")},
      {fileDat, {"/x/data", "/home/u"}, DataMode::kInstalled, "/x/data/quorin/", dir.File("odd/share/quorin/")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exe + " " + c.environment.xdgDataHome);
    const DataLocation location = DecideDataLocation(c.exe, c.environment);
    EXPECT_EQ(location.mode, c.mode);
    EXPECT_EQ(location.dataFolder, c.dataFolder);
    EXPECT_EQ(location.shippedFolder, c.shippedFolder);
  }
}

// A dat/ beside the executable that the user may not write (an unpacked archive of another
// user) holds the shipped files; the user's data goes to the user's data home.
TEST(DataLocation, ReadOnlyPortableFolderIsTheShippedOne) {
  TempDir dir;
  const std::string archive = dir.File("opt/quorin/");
  ASSERT_TRUE(EnsureDirectory(archive + "dat"));
  const auto nothingWritable = [](const std::string&) { return false; };
  const auto everythingWritable = [](const std::string&) { return true; };

  const DataLocation readOnly = DecideDataLocation(archive, {"/x/data", "/home/u"}, nothingWritable);
  EXPECT_EQ(readOnly.mode, DataMode::kReadOnlyPortable);
  EXPECT_EQ(readOnly.dataFolder, "/x/data/quorin/");
  EXPECT_EQ(readOnly.shippedFolder, archive);
  const DataLocation writable = DecideDataLocation(archive, {"/x/data", "/home/u"}, everythingWritable);
  EXPECT_EQ(writable.mode, DataMode::kPortable);
  EXPECT_EQ(writable.shippedFolder, archive);
  // Without dat/ beside it, the executable is installed, whatever may be written.
  const DataLocation installed = DecideDataLocation(dir.File("usr/bin/"), {"/x/data", "/home/u"}, everythingWritable);
  EXPECT_EQ(installed.mode, DataMode::kInstalled);
  EXPECT_EQ(installed.shippedFolder, dir.File("usr/share/quorin/"));
}

// A settings file the user's dat/ lacks is read from the shipped dat/; the user's own wins.
TEST(DataLocation, MissingSettingsAreReadFromTheShippedFiles) {
  TempDir dir;
  const std::string program = ProgramFolder();
  SetProgramFolder(dir.File("home/quorin/"));
  SetShippedFolder(dir.File("share/quorin/"));
  ASSERT_TRUE(EnsureDirectory(dir.File("share/quorin/dat")));
  WriteBytes(dir.File("share/quorin/dat/init.ini"), "[window]\r\nwidth=1290\r\n");
  EXPECT_EQ(ReadableDataFile("init.ini"), dir.File("share/quorin/dat/init.ini"));
  EXPECT_EQ(ReadableDataFile("set.ini"), dir.File("home/quorin/dat/set.ini"));
  ASSERT_TRUE(EnsureDirectory(dir.File("home/quorin/dat")));
  WriteBytes(dir.File("home/quorin/dat/init.ini"), "[window]\r\nwidth=800\r\n");
  EXPECT_EQ(ReadableDataFile("init.ini"), dir.File("home/quorin/dat/init.ini"));
  SetShippedFolder("");
  SetProgramFolder(program);
}

// First start: dat/ is made and seeded from the shipped defaults; what the user has is never
// replaced, later starts copy nothing over it, and the shipped folder is only read.
TEST(DataLocation, SeedingFillsGapsAndNeverOverwrites) {
  TempDir dir;
  const DataLocation location{DataMode::kInstalled, dir.File("home/quorin/"), dir.File("share/quorin/")};
  const std::string shippedDat = location.shippedFolder + "dat/";
  const std::string userDat = location.dataFolder + "dat/";
  ASSERT_TRUE(EnsureDirectory(shippedDat));
  WriteBytes(shippedDat + "set.ini", "[set]\r\nidate=0\r\n");
  WriteBytes(shippedDat + "init.ini", "[window]\r\nleft=40\r\n");
  WriteBytes(shippedDat + "dili.ini", "places");
  WriteBytes(shippedDat + "Quorin.html", "help");
  ASSERT_TRUE(EnsureDirectory(userDat));
  WriteBytes(userDat + "init.ini", "[window]\r\nleft=7\r\n");

  EXPECT_EQ(PrepareDataFolder(location), "");
  EXPECT_EQ(ReadBytes(userDat + "set.ini"), "[set]\r\nidate=0\r\n");
  EXPECT_EQ(ReadBytes(userDat + "dili.ini"), "places");
  EXPECT_EQ(ReadBytes(userDat + "init.ini"), "[window]\r\nleft=7\r\n");
  EXPECT_FALSE(FileExists(userDat + "Quorin.html"));  // read where it is shipped
  EXPECT_TRUE(DirectoryExists(location.dataFolder + "skins"));

  WriteBytes(userDat + "set.ini", "[set]\r\nidate=2\r\n");
  WriteBytes(shippedDat + "dili.ini", "newer places");
  EXPECT_EQ(PrepareDataFolder(location), "");
  EXPECT_EQ(ReadBytes(userDat + "set.ini"), "[set]\r\nidate=2\r\n");
  EXPECT_EQ(ReadBytes(userDat + "dili.ini"), "places");

  std::size_t shippedEntries = 0;
  for ([[maybe_unused]] const auto& entry : fs::recursive_directory_iterator(location.shippedFolder)) ++shippedEntries;
  EXPECT_EQ(shippedEntries, 5u);
}

// A data folder that cannot be made (here a file stands in its way, which stops root too) is
// reported with its path; nothing is seeded.
TEST(DataLocation, UnwritableDataFolderIsNamed) {
  TempDir dir;
  WriteBytes(dir.File("blocker"), "x");
  const DataLocation location = DecideDataLocation(dir.File("usr/bin/"), {dir.File("blocker/data"), ""});
  ASSERT_EQ(location.mode, DataMode::kInstalled);
  EXPECT_EQ(PrepareDataFolder(location), "无法建立数据文件夹" + dir.File("blocker/data/quorin/dat/") + "，设置和案例将无法保存。");
}

TEST(DataLocation, SkinsComeFromTheShippedFolderThenTheUsers) {
  const std::string program = ProgramFolder();
  SetProgramFolder("/data/quorin");
  SetShippedFolder("");
  EXPECT_EQ(ShippedFolder(), "/data/quorin/");
  EXPECT_EQ(SkinFolders(), (std::vector<std::string>{"/data/quorin/skins/"}));
  SetShippedFolder("/usr/share/quorin");
  EXPECT_EQ(SkinFolders(), (std::vector<std::string>{"/usr/share/quorin/skins/", "/data/quorin/skins/"}));
  SetShippedFolder("");
  SetProgramFolder(program);
}

}  // namespace
}  // namespace quorin::base

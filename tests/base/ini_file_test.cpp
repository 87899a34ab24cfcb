// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/gbk.h"
#include "support/temp_dir.h"

namespace quorin::base {
namespace {

using quorin::testing::ReadBytes;
using quorin::testing::TempDir;
using quorin::testing::WriteBytes;

TEST(IniFile, MissingFileSectionOrKeyYieldsTheDefault) {
  TempDir dir;
  IniFile missing(dir.File("none.ini"));
  EXPECT_EQ(missing.ReadString("set", "idate", "x"), "x");
  EXPECT_EQ(missing.ReadInteger("set", "idate", 7), 7);
  EXPECT_DOUBLE_EQ(missing.ReadFloat("set", "lon", 120.5), 120.5);
  EXPECT_TRUE(missing.ReadBool("set", "b", true));
  EXPECT_TRUE(missing.ReadSectionKeys("set").empty());

  WriteBytes(dir.File("a.ini"), "[set]\r\nidate=2\r\nbad=abc\r\nempty=\r\nfloat=1.5e\r\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ini.ReadInteger("other", "idate", -1), -1);
  EXPECT_EQ(ini.ReadInteger("set", "nokey", -1), -1);
  EXPECT_EQ(ini.ReadInteger("set", "bad", 4), 4);
  EXPECT_EQ(ini.ReadInteger("set", "empty", 4), 4);
  EXPECT_EQ(ini.ReadString("set", "empty", "d"), "");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("set", "float", 2.0), 2.0);
}

// A file read from the shipped defaults while the user's is missing: a write creates the
// user's file with the default lines and the change; the defaults stay as they were.
TEST(IniFile, DefaultsAreReadUntilTheFileExists) {
  TempDir dir;
  WriteBytes(dir.File("shipped.ini"), "[window]\r\nwidth=1290\r\nheight=760\r\n");
  IniFile ini(dir.File("own.ini"), dir.File("shipped.ini"));
  EXPECT_EQ(ini.ReadInteger("window", "width", 0), 1290);
  ASSERT_TRUE(ini.WriteInteger("window", "height", 700));
  EXPECT_EQ(ReadBytes(dir.File("own.ini")), "[window]\r\nwidth=1290\r\nheight=700\r\n");
  EXPECT_EQ(ReadBytes(dir.File("shipped.ini")), "[window]\r\nwidth=1290\r\nheight=760\r\n");
  WriteBytes(dir.File("own.ini"), "[window]\r\nwidth=800\r\n");
  ini.Reload();
  EXPECT_EQ(ini.ReadInteger("window", "width", 0), 800);
  EXPECT_EQ(ini.ReadInteger("window", "height", 0), 0);
}

TEST(IniFile, ReadsNumbersBooleansAndGbkText) {
  TempDir dir;
  WriteBytes(dir.File("a.ini"), "[Set]\nIdate = 2 \nhex=0x1F\ndollar=$FF\ncolour=$FF00000F\nneg=-12\nbig=99999999999\n"
                                "on=1\noff=0\nlon=-73.5\nquoted=\"a b\"\n" + *Utf8ToGbk("name=甲子\n[北京]\n东城区=116:24*39:55\n"));
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ini.ReadInteger("SET", "idate", 0), 2);
  EXPECT_EQ(ini.ReadInteger("set", "HEX", 0), 31);
  EXPECT_EQ(ini.ReadInteger("set", "dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("set", "colour", 0), -16777201);  // a 32-bit pattern, as Windows colours are
  EXPECT_EQ(ini.ReadInteger("set", "neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("set", "big", 5), 5);
  EXPECT_TRUE(ini.ReadBool("set", "on", false));
  EXPECT_FALSE(ini.ReadBool("set", "off", true));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("set", "lon", 0), -73.5);
  EXPECT_EQ(ini.ReadString("set", "quoted", ""), "a b");
  EXPECT_EQ(ini.ReadString("set", "name", ""), "甲子");
  EXPECT_EQ(ini.ReadString("北京", "东城区", ""), "116:24*39:55");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Set", "北京"}));
}

TEST(IniFile, KeysKeepTheirFileOrder) {
  TempDir dir;
  WriteBytes(dir.File("dili.ini"), *Utf8ToGbk("[河北]\r\n石家庄=114:30*38:2\r\n唐山=118:11*39:38\r\n"
                                               "; comment\r\n\r\n秦皇岛=119:36*39:56\r\n[山西]\r\n太原=112:33*37:52\r\n"));
  IniFile ini(dir.File("dili.ini"));
  EXPECT_EQ(ini.ReadSectionKeys("河北"), (std::vector<std::string>{"石家庄", "唐山", "秦皇岛"}));
  const auto values = ini.ReadSectionValues("山西");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].second, "112:33*37:52");
}

TEST(IniFile, WritesGoThroughAndKeepTheRestOfTheFile) {
  TempDir dir;
  const std::string path = dir.File("init.ini");
  WriteBytes(path, "; layout\r\n[Form]\r\nLeft=10\r\n\r\n[Img]\r\nsize=12\r\n");
  IniFile ini(path);
  ASSERT_TRUE(ini.WriteInteger("form", "left", 20));  // the file's spelling of the key stays
  ASSERT_TRUE(ini.WriteInteger("Form", "top", 30));   // new key goes after the section's last key
  ASSERT_TRUE(ini.WriteBool("new", "flag", true));
  ASSERT_TRUE(ini.WriteString("Img", "fname", "宋体"));
  EXPECT_EQ(ReadBytes(path), "; layout\r\n[Form]\r\nLeft=20\r\ntop=30\r\n\r\n[Img]\r\nsize=12\r\nfname=" +
                                 *Utf8ToGbk("宋体") + "\r\n[new]\r\nflag=1\r\n");
  IniFile again(path);
  EXPECT_EQ(again.ReadString("img", "fname", ""), "宋体");
  EXPECT_EQ(again.ReadInteger("form", "top", 0), 30);
  ASSERT_TRUE(again.WriteFloat("set", "x", 0.1));
  EXPECT_DOUBLE_EQ(IniFile(path).ReadFloat("set", "x", 0), 0.1);
  ASSERT_TRUE(again.DeleteKey("form", "top"));
  ASSERT_TRUE(again.EraseSection("img"));
  IniFile third(path);
  EXPECT_FALSE(third.ValueExists("form", "top"));
  EXPECT_FALSE(third.SectionExists("img"));
  EXPECT_TRUE(third.SectionExists("new"));
}

TEST(IniFile, AWriteSeesWhatAnotherObjectWroteMeanwhile) {
  TempDir dir;
  const std::string path = dir.File("set.ini");
  IniFile first(path);
  IniFile second(path);
  ASSERT_TRUE(first.WriteInteger("set", "a", 1));
  ASSERT_TRUE(second.WriteInteger("set", "b", 2));
  IniFile check(path);
  EXPECT_EQ(check.ReadInteger("set", "a", 0), 1);
  EXPECT_EQ(check.ReadInteger("set", "b", 0), 2);
}

TEST(IniFile, AFailedWriteLeavesTheFileAsItWasAndSaysWhy) {
  TempDir dir;
  const std::string path = dir.File("set.ini");
  WriteBytes(path, "[set]\r\nidate=1\r\n");
  IniFile ini(path);
  EXPECT_FALSE(ini.WriteString("set", "name", "가"));  // no GBK form
  EXPECT_FALSE(ini.LastError().empty());
  EXPECT_FALSE(ini.WriteString("set", "bad\nkey", "1"));
  EXPECT_FALSE(ini.WriteString("set", "key", "two\r\nlines"));
  EXPECT_EQ(ReadBytes(path), "[set]\r\nidate=1\r\n");

  if (geteuid() != 0) {  // root writes anywhere
    chmod(dir.Path().c_str(), 0555);
    EXPECT_FALSE(ini.WriteInteger("set", "idate", 2));
    EXPECT_FALSE(ini.LastError().empty());
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ini.ReadInteger("set", "idate", 0), 1);
  }
  IniFile nowhere(dir.File("no/such/folder/set.ini"));
  EXPECT_FALSE(nowhere.WriteInteger("set", "idate", 2));
  EXPECT_FALSE(nowhere.LastError().empty());
}

TEST(IniFile, WritesLeaveNoTemporaryFilesBehind) {
  TempDir dir;
  IniFile ini(dir.File("a.ini"));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(ini.WriteInteger("s", "k" + std::to_string(i), i));
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 1);
  EXPECT_EQ(IniFile(dir.File("a.ini")).ReadSectionKeys("s").size(), 20u);
}

TEST(IniFile, HostileFilesNeverCrash) {
  TempDir dir;
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  WriteBytes(dir.File("garbage.ini"), garbage);
  IniFile g(dir.File("garbage.ini"));
  for (const auto& section : g.ReadSections()) g.ReadSectionValues(section);
  EXPECT_EQ(g.ReadInteger("set", "idate", 3), 3);
  EXPECT_TRUE(g.WriteInteger("set", "idate", 1));
  EXPECT_EQ(IniFile(dir.File("garbage.ini")).ReadInteger("set", "idate", 3), 1);

  const std::string longValue(10 * 1024 * 1024, 'x');
  WriteBytes(dir.File("long.ini"), "[s]\nk=" + longValue + "\nafter=1");  // no trailing newline
  IniFile l(dir.File("long.ini"));
  EXPECT_EQ(l.ReadString("s", "k", "").size(), longValue.size());
  EXPECT_EQ(l.ReadInteger("s", "after", 0), 1);

  WriteBytes(dir.File("dup.ini"), "[s]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nz=4\r\n[unclosed\r\n=novalue\r\n");
  IniFile d(dir.File("dup.ini"));
  EXPECT_EQ(d.ReadInteger("s", "k", 0), 1);  // the first occurrence, as Windows reads it
  EXPECT_EQ(d.ReadInteger("s", "z", 0), 0);  // only the first section of a name counts
  ASSERT_TRUE(d.WriteInteger("s", "k", 9));
  EXPECT_EQ(IniFile(dir.File("dup.ini")).ReadInteger("s", "k", 0), 9);

  WriteBytes(dir.File("lf.ini"), "[s]\nk=1\n");
  IniFile lf(dir.File("lf.ini"));
  ASSERT_TRUE(lf.WriteInteger("s", "j", 2));
  EXPECT_EQ(ReadBytes(dir.File("lf.ini")), "[s]\nk=1\nj=2\n");  // the file's own line breaks
}

}  // namespace
}  // namespace quorin::base

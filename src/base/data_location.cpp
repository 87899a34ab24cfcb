// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/data_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "base/files.h"

namespace quorin::base {
namespace {

std::mutex& ShippedMutex() {
  static std::mutex m;
  return m;
}

std::string& ShippedOverride() {
  static std::string folder;
  return folder;
}

// The user's data home by the XDG rule: $XDG_DATA_HOME when absolute, else ~/.local/share.
std::string DataHome(const DataEnvironment& environment) {
  if (!environment.xdgDataHome.empty() && environment.xdgDataHome.front() == '/') {
    return WithTrailingSeparator(environment.xdgDataHome);
  }
  std::string home = environment.home;
  if (home.empty()) {
    // A login without $HOME (some service managers) still has a home in the password database.
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) home = entry->pw_dir;
  }
  return WithTrailingSeparator(home) + ".local/share/";
}

std::string Getenv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

DataLocation DecideDataLocation(const std::string& executableFolder, const DataEnvironment& environment) {
  return DecideDataLocation(executableFolder, environment,
                            [](const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; });
}

DataLocation DecideDataLocation(const std::string& executableFolder, const DataEnvironment& environment,
                                const WritableFolderTest& writable) {
  const std::string exe = WithTrailingSeparator(executableFolder);
  if (DirectoryExists(exe + "dat")) {
    if (writable(exe + "dat")) return {DataMode::kPortable, exe, exe};
    return {DataMode::kReadOnlyPortable, DataHome(environment) + "quorin/", exe};
  }
  // Lexically, so the tree can be unpacked and run anywhere.
  const std::filesystem::path shipped = (std::filesystem::path(exe) / ".." / "share" / "quorin").lexically_normal();
  return {DataMode::kInstalled, DataHome(environment) + "quorin/", WithTrailingSeparator(shipped.string())};
}

const std::vector<std::string>& SeededFiles() {
  static const std::vector<std::string> files{"set.ini", "init.ini", "dili.ini"};
  return files;
}

std::string PrepareDataFolder(const DataLocation& location) {
  const std::string dat = location.dataFolder + "dat/";
  if (!EnsureDirectory(dat)) return "无法建立数据文件夹" + dat + "，设置和案例将无法保存。";
  if (location.shippedFolder == location.dataFolder) return {};
  // A place for the user's own skins, beside the settings, so it is there to be found; without it
  // the shipped skins are all there is.
  static_cast<void>(EnsureDirectory(location.dataFolder + "skins/"));
  for (const std::string& name : SeededFiles()) {
    const std::string target = dat + name;
    if (FileExists(target)) continue;
    const auto bytes = ReadFileBytes(location.shippedFolder + "dat/" + name);
    // A seed that cannot be copied is read from the shipped files instead.
    if (bytes) static_cast<void>(AtomicWriteFile(target, *bytes));
  }
  return {};
}

DataLocation UseDataLocation(std::string* problem) {
  const DataLocation location = DecideDataLocation(ExecutableFolder(), {Getenv("XDG_DATA_HOME"), Getenv("HOME")});
  SetProgramFolder(location.dataFolder);
  SetShippedFolder(location.shippedFolder);
  std::string message = PrepareDataFolder(location);
  if (problem) *problem = std::move(message);
  return location;
}

std::string ShippedFolder() {
  {
    std::lock_guard lock(ShippedMutex());
    if (!ShippedOverride().empty()) return ShippedOverride();
  }
  return ProgramFolder();
}

void SetShippedFolder(std::string folder) {
  std::lock_guard lock(ShippedMutex());
  ShippedOverride() = folder.empty() ? std::string() : WithTrailingSeparator(std::move(folder));
}

std::string ReadableDataFile(const std::string& name) {
  const std::string own = ProgramFolder() + "dat/" + name;
  if (FileExists(own)) return own;
  const std::string shipped = ShippedDataFile(name);
  return FileExists(shipped) ? shipped : own;
}

std::string ShippedDataFile(const std::string& name) { return ShippedFolder() + "dat/" + name; }

std::vector<std::string> SkinFolders() {
  const std::string shipped = ShippedFolder() + "skins/";
  const std::string own = ProgramFolder() + "skins/";
  if (shipped == own) return {own};
  return {shipped, own};
}

}  // namespace quorin::base

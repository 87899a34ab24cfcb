// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>

namespace quorin::base {
namespace {

std::mutex& FolderMutex() {
  static std::mutex m;
  return m;
}

std::string& FolderOverride() {
  static std::string folder;
  return folder;
}

// Random names are tried this often before giving up: a clash of 64 random bits twice is no chance.
constexpr int kNameAttempts = 16;

// Writes every byte, going on after an interrupted or partial write.
bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string SystemError(const std::string& what) { return what + "：" + std::strerror(errno); }

}  // namespace

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return WithTrailingSeparator(std::filesystem::current_path(ec).string());
  return WithTrailingSeparator(exe.parent_path().string());
}

std::string ProgramFolder() {
  std::lock_guard lock(FolderMutex());
  if (FolderOverride().empty()) FolderOverride() = ExecutableFolder();
  return FolderOverride();
}

void SetProgramFolder(std::string folder) {
  std::lock_guard lock(FolderMutex());
  FolderOverride() = WithTrailingSeparator(std::move(folder));
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(buffer).str();
}

bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error) {
  static thread_local std::mt19937 random{std::random_device{}()};
  const std::string temp = path + ".tmp" + std::to_string(random() % 1000000);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0644);
  if (fd < 0) {
    if (error) *error = SystemError("无法写入文件" + path);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  if (ok && ::fsync(fd) != 0) ok = false;
  if (ok && error) *error = "";
  if (!ok && error) *error = SystemError("无法写入文件" + path);
  ::close(fd);
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    if (error) *error = SystemError("无法替换文件" + path);
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  if (ok) SyncDirectory(std::filesystem::path(path).parent_path().string());
  return ok;
}

bool WriteNewFile(const std::string& path, std::string_view bytes, std::string* error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error) *error = SystemError("无法写入文件" + path);
    return false;
  }
  const bool ok = WriteAll(fd, bytes);
  if (!ok && error) *error = SystemError("无法写入文件" + path);
  ::close(fd);
  if (!ok) ::unlink(path.c_str());
  return ok;
}

bool SyncFileSystemOf(const std::string& path) {
  const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::syncfs(fd) == 0;
  ::close(fd);
  return ok;
}

bool SyncDirectory(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::optional<std::uintmax_t> FileSize(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  return size;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool EnsureDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return DirectoryExists(path);
}

std::string RandomName() {
  std::random_device device;
  char text[kRandomNameLength + 1];
  std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(device()), static_cast<unsigned>(device()));
  return text;
}

bool IsRandomlyNamed(std::string_view name, std::string_view prefix, std::string_view suffix) {
  if (!name.starts_with(prefix) || !name.ends_with(suffix) ||
      name.size() != prefix.size() + kRandomNameLength + suffix.size()) {
    return false;
  }
  const std::string_view random = name.substr(prefix.size(), kRandomNameLength);
  return std::all_of(random.begin(), random.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string NewRandomlyNamedFolder(const std::string& parent, std::string_view prefix) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string folder = parent + std::string(prefix) + RandomName();
    std::error_code ec;
    if (std::filesystem::create_directory(folder, ec)) return folder + "/";
    if (ec) return {};
  }
  return {};
}

std::string NewRandomlyNamedCopy(const std::string& source, const std::string& pathPrefix) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string copy = pathPrefix + RandomName();
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(copy, ec))) continue;
    if (std::filesystem::copy_file(source, copy, std::filesystem::copy_options::none, ec)) return copy;
    if (ec != std::errc::file_exists) return {};
  }
  return {};
}

std::vector<std::filesystem::path> RandomlyNamedEntries(const std::string& folder, std::string_view prefix,
                                                        std::string_view suffix, bool folders) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (IsRandomlyNamed(it->path().filename().string(), prefix, suffix) && !it->is_symlink(kind) &&
        (folders ? it->is_directory(kind) : it->is_regular_file(kind))) {
      found.push_back(it->path());
    }
  }
  return found;
}

std::vector<std::filesystem::path> FilesWithExtension(const std::string& folder, std::string_view extension) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string ending = it->path().extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
    std::error_code kind;
    if (ending == extension && it->is_regular_file(kind)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool CopyFilesInto(const std::vector<std::filesystem::path>& files, const std::string& folder) {
  for (const std::filesystem::path& file : files) {
    std::error_code ec;
    std::filesystem::copy_file(file, std::filesystem::path(folder) / file.filename(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
#if !defined(__EMSCRIPTEN__)  // the web edition's memory file system has one user: look, then rename
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL) return false;
#endif
  // A file system without the atomic form: look, then rename.
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(to, ec))) return false;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace quorin::base

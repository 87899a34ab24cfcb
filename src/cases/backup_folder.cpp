// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/backup_folder.h"

#include <cstdio>

#include "base/files.h"
#include "base/rtf_reader.h"
#include "cases/remark_files.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUnfinishedBackupInfix = ".未完成-";

// Whether a remark file of a backup is whole: not empty, not above the remark limit, and an RTF
// one ends its outermost group.
bool IsWholeRemarkFile(const fs::path& file) {
  const auto size = base::FileSize(file.string());
  if (!size || *size == 0 || *size > kMaxRemarkBytes) return false;
  const auto bytes = base::ReadFileBytes(file.string());
  return bytes && (!base::LooksLikeRtf(*bytes) || base::IsCompleteRtf(*bytes));
}

}  // namespace

std::string BackupDatabasePath(const std::string& folder) { return folder + std::string(kDatabaseWord) + ".db"; }

std::optional<UnfinishedBackup> BeginBackupFolder(const std::string& destination, std::string& refusal) {
  UnfinishedBackup backup{destination, {}};
  while (backup.target.size() > 1 && backup.target.back() == '/') backup.target.pop_back();
  std::error_code ec;
  if (fs::exists(backup.target, ec) && !fs::is_empty(backup.target, ec)) {
    refusal = "当前时间的文件夹已经存在，请稍后再备份！";
    return std::nullopt;
  }
  const fs::path target(backup.target);
  backup.folder = base::NewRandomlyNamedFolder(base::WithTrailingSeparator(target.parent_path().string()),
                                               target.filename().string() + std::string(kUnfinishedBackupInfix));
  if (backup.folder.empty()) {
    refusal = "无法建立备份文件夹" + backup.target + "！";
    return std::nullopt;
  }
  return backup;
}

std::string FinishBackupFolder(const UnfinishedBackup& backup, const std::function<void()>& marked) {
  const std::string remarks = RemarkFolderOf(backup.folder);
  // Everything is on disk before the marker says the backup is whole, and the marker before the name.
  if (!base::SyncFileSystemOf(backup.folder) || !base::SyncDirectory(remarks) || !base::SyncDirectory(backup.folder)) {
    return "无法复制评语文件！";
  }
  if (!base::AtomicWriteFile(remarks + "save.txt", "save\r\n")) return "无法写入备份标记文件！";
  if (marked) marked();
  std::string finished = backup.folder;
  finished.pop_back();
  if (::rename(finished.c_str(), backup.target.c_str()) != 0) return "无法建立备份文件夹" + backup.target + "！";
  base::SyncDirectory(fs::path(backup.target).parent_path().string());
  return {};
}

std::optional<std::vector<fs::path>> WholeBackupRemarks(const std::string& folder, std::string& refusal) {
  const std::string remarks = RemarkFolderOf(folder);
  if (!base::FileExists(BackupDatabasePath(folder))) {
    refusal = "没有源db文件！";
    return std::nullopt;
  }
  if (!base::DirectoryExists(remarks)) {
    refusal = "没有源评语文件夹！";
    return std::nullopt;
  }
  std::vector<fs::path> files = base::FilesWithExtension(remarks, kRemarkExtension);
  if (files.empty()) {
    refusal = "找不到源评语文件！";
    return std::nullopt;
  }
  // A backup is whole only once its marker is written; one cut short has none, or a cut file.
  if (!base::FileExists(remarks + "save.txt")) {
    refusal = "备份不完整（没有标记文件save.txt），无法还原！";
    return std::nullopt;
  }
  for (const fs::path& file : files) {
    if (!IsWholeRemarkFile(file)) {
      refusal = "备份中的评语文件不完整，无法还原：" + file.filename().string();
      return std::nullopt;
    }
  }
  return files;
}

}  // namespace quorin::cases

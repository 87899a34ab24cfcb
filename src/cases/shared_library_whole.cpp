// SPDX-License-Identifier: GPL-3.0-or-later
// The shared library's whole-library work: export, the remark rebuild, compaction, backup and
// restore. The files they write or read are those of the local library's (library_archive.cpp),
// made and read through a local store, so that either kind of library takes them.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "base/files.h"
#include "cases/backup_folder.h"
#include "cases/case_text.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "cases/sqlite_connection.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCannotCompact = "无法整理共享案例库";
constexpr const char* kNotEmptyForRestore = "共享案例库中已经有案例，只能还原到空的共享案例库";

// Opens a local store on a backup folder's database with the folder's remarks (`folder` ends in '/').
[[nodiscard]] bool OpenInFolder(MRecordBase& store, const std::string& folder, bool readOnly) {
  return store.OpenInFolder(BackupDatabasePath(folder), folder, readOnly);
}

// The lock file a local store leaves beside a database it made for us alone: no other program
// knows the file yet, and the local export and backup leave none.
void RemoveLockFileOf(const std::string& databasePath) { base::RemoveQuietly(LibraryLock::PathFor(databasePath)); }

}  // namespace

std::optional<int> SharedLibrary::ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                           bool exportAll) {
  if (!IsLibrary()) return std::nullopt;
  // Whatever is there, even a folder, stays: only a file this call made is ever removed.
  std::error_code ec;
  if (fs::exists(fs::symlink_status(path, ec))) {
    lastError_ = "导出文件已经存在：" + path;
    return std::nullopt;
  }
  std::optional<int> count;
  std::string failure;
  {
    MRecordBase target;
    if (!target.Open(path) || !target.BeginBatch()) {
      failure = target.lastError();
    } else if (!BeginReading()) {
      failure = lastError_;
    } else {
      // The cases are numbered 1, 2, 3 … in the new file, as the local export numbers them.
      std::vector<std::string> used;
      int copied = 0;
      const bool read = ReadCaseRange(INT_MIN, INT_MAX, [&](TRecordData& record) {
        if (!exportAll && !HasCategory(categories, record.className)) return true;
        if (!target.InsertInBatch(record)) {
          failure = target.lastError();
          return false;
        }
        AddCategoryOnce(used, record.className);
        ++copied;
        return true;
      });
      if (!read) failure = lastError_;
      EndReading();
      if (failure.empty() && copied > 0 && !target.SetClassNames(used)) failure = target.lastError();
      if (failure.empty() && !target.EndBatch()) failure = target.lastError();
      if (failure.empty()) count = copied;
    }
  }
  RemoveLockFileOf(path);
  if (!count) {
    // A file that lacks some of the chosen cases is no export; it was made by this call.
    base::RemoveQuietly(path);
    base::RemoveQuietly(path + "-journal");
    lastError_ = failure.empty() ? "无法创建导出数据库：" + path : failure;
  }
  return count;
}

// A role that may write but does not own the tables (only the administrator who made the library
// does) gets its remarks rebuilt, which stays, and is then told that the tidying needs the
// administrator: the server itself would only warn and skip the tables.
std::optional<int> SharedLibrary::Compact() {
  const std::optional<int> made = RebuildRemarks();
  if (!made) return std::nullopt;
  const PgResult owner = connection_.Run(
      "select bool_and(pg_has_role(relowner, 'usage')) from pg_class "
      "where oid in ('quorin.cases'::regclass, 'quorin.categories'::regclass)");
  if (!owner.Ok()) return FailWith<int>(kCannotCompact);
  if (owner.Text(0, 0) != "t") {
    lastError_ = "只有共享案例库的管理者才能整理共享案例库";
    if (*made > 0) lastError_ += "（已经为 " + std::to_string(*made) + " 个案例补写了评语）";
    return std::nullopt;
  }
  // VACUUM runs only outside a transaction; the ids stay, other users hold them.
  if (!connection_.Execute("vacuum analyze quorin.cases, quorin.categories")) return FailWith<int>(kCannotCompact);
  const PgResult count = connection_.Run("select count(*) from quorin.cases");
  if (!count.Ok()) return FailWith<int>(kCannotCompact);
  return static_cast<int>(count.Integer(0, 0).value_or(0));
}

std::optional<int> SharedLibrary::Backup(const std::string& destination) {
  if (!IsLibrary()) return std::nullopt;
  std::string refusal;
  const std::optional<UnfinishedBackup> backup = BeginBackupFolder(destination, refusal);
  if (!backup) {
    lastError_ = refusal;
    return std::nullopt;
  }
  const auto refuse = [&](std::string message) {
    base::RemoveQuietly(backup->folder);
    lastError_ = std::move(message);
    return std::optional<int>();
  };
  std::optional<int> count;
  {
    MRecordBase local;
    if (!OpenInFolder(local, backup->folder, false)) {
      return refuse(local.lastError().empty() ? "无法建立备份文件夹" + backup->target + "！" : local.lastError());
    }
    count = Pull(local);
  }
  RemoveLockFileOf(BackupDatabasePath(backup->folder));
  if (!count) return refuse(lastError_);
  // As the local backup: one without a remark file is refused by every restore.
  if (base::FilesWithExtension(RemarkFolderOf(backup->folder), kRemarkExtension).empty()) return refuse("找不到评语文件！");
  refusal = FinishBackupFolder(*backup);
  if (!refusal.empty()) return refuse(refusal);
  return count;
}

// After the cases are in, those whose remark the backup lacked get one made from their stored
// text, as the local restore writes their files. The restore stands when that fails: the number of
// cases, with lastError() saying what is missing (as a local restore names the remarks it could
// not write).
std::optional<int> SharedLibrary::Restore(const std::string& source) {
  if (!ReadyToWrite()) return std::nullopt;
  const std::string folder = base::WithTrailingSeparator(source);
  if (std::string refusal; !WholeBackupRemarks(folder, refusal)) {
    lastError_ = std::move(refusal);
    return std::nullopt;
  }
  const PgResult existing = connection_.Run("select exists (select 1 from quorin.cases)");
  if (!existing.Ok()) return FailWith<int>("无法还原共享案例库");
  if (existing.Text(0, 0) != "f") {
    lastError_ = kNotEmptyForRestore;
    return std::nullopt;
  }
  MRecordBase backup;
  SqliteConnection whole;
  if (!OpenInFolder(backup, folder, true) || !backup.HasBaseType(kBaseType) || !whole.OpenReadOnly(BackupDatabasePath(folder)) ||
      !whole.PassesQuickCheck()) {
    lastError_ = "源db文件不是案例数据库，无法还原！";
    return std::nullopt;
  }
  const std::optional<int> count = Push(backup);
  if (!count) {
    // Another user's case that came in meanwhile: Push refused in its own words.
    if (lastError_ == kLibraryNotEmpty) lastError_ = kNotEmptyForRestore;
    return std::nullopt;
  }
  if (!RebuildRemarks()) lastError_ = "案例已经还原，但无法补写缺少的评语：" + lastError_;
  return count;
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
// The shared library's whole-library work: export, the remark rebuild, compaction, backup and
// restore. The files they write or read are those of the local library's (library_archive.cpp),
// made and read through a local store, so that either kind of library takes them.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>

#include "base/files.h"
#include "base/rtf_reader.h"
#include "cases/case_text.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "cases/sqlite_connection.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

// As the local backup: made under its final name plus this and a random part, renamed when whole.
constexpr std::string_view kUnfinishedBackupInfix = ".未完成-";
constexpr std::string_view kRemarkExtension = ".rtf";
constexpr const char* kCannotCompact = "无法整理共享案例库";
constexpr const char* kNotEmptyForRestore = "共享案例库中已经有案例，只能还原到空的共享案例库";

std::string DatabaseIn(const std::string& folder) { return folder + std::string(kDatabaseWord) + ".db"; }

// The categories of an export, as the local export lists them: in the order the cases bring
// them, a name differing only in the case of Latin letters counting as the same.
void AddCategory(std::vector<std::string>& list, const std::string& name) {
  if (std::none_of(list.begin(), list.end(), [&](const std::string& c) { return EqualIgnoringAsciiCase(c, name); })) {
    list.push_back(name);
  }
}

bool ContainsCategory(const std::vector<std::string>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& c) { return EqualIgnoringAsciiCase(c, name); });
}

// Opens a local store on folder/Orlune.db whose remark folder is folder/Orlune_f/ (`folder` ends
// in '/').
[[nodiscard]] bool OpenInFolder(MRecordBase& store, const std::string& folder, bool readOnly) {
  return store.OpenInFolder(DatabaseIn(folder), folder, readOnly) && store.RemarkFolder() == RemarkFolderOf(folder);
}

// The lock file a local store leaves beside a database it made for us alone: no other program
// knows the file yet, and the local export and backup leave none.
void RemoveLockFileOf(const std::string& databasePath) { base::RemoveQuietly(LibraryLock::PathFor(databasePath)); }

// Whether a remark file of a backup is whole, as the local restore asks: not empty, not above
// the remark limit, and an RTF one ends its outermost group.
bool IsWholeRemarkFile(const fs::path& file) {
  const auto size = base::FileSize(file.string());
  if (!size || *size == 0 || *size > kMaxRemarkBytes) return false;
  const auto bytes = base::ReadFileBytes(file.string());
  return bytes && (!base::LooksLikeRtf(*bytes) || base::IsCompleteRtf(*bytes));
}

bool PassesQuickCheck(const std::string& databasePath) {
  SqliteConnection connection;
  if (!connection.OpenReadOnly(databasePath)) return false;
  SqliteStatement* check = connection.Prepare("pragma quick_check;");
  const bool ok = check && check->Next() == SqliteStatement::Step::kRow && check->Text(0) == "ok";
  if (check) check->Reset();
  return ok;
}

// The refusal of a backup folder the local restore would refuse too, or empty.
std::string BackupRefusal(const std::string& folder) {
  const std::string remarks = RemarkFolderOf(folder);
  if (!base::FileExists(DatabaseIn(folder))) return "没有源db文件！";
  if (!base::DirectoryExists(remarks)) return "没有源评语文件夹！";
  const auto files = base::FilesWithExtension(remarks, kRemarkExtension);
  if (files.empty()) return "找不到源评语文件！";
  if (!base::FileExists(remarks + "save.txt")) return "备份不完整（没有标记文件save.txt），无法还原！";
  for (const fs::path& file : files) {
    if (!IsWholeRemarkFile(file)) return "备份中的评语文件不完整，无法还原：" + file.filename().string();
  }
  return {};
}

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
        if (!exportAll && !ContainsCategory(categories, record.className)) return true;
        if (!target.InsertInBatch(record)) {
          failure = target.lastError();
          return false;
        }
        AddCategory(used, record.className);
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
  std::string target = destination;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  std::error_code ec;
  if (fs::exists(target, ec) && !fs::is_empty(target, ec)) {
    lastError_ = "当前时间的文件夹已经存在，请稍后再备份！";
    return std::nullopt;
  }
  const fs::path parent = fs::path(target).parent_path();
  const std::string unfinished =
      base::NewRandomlyNamedFolder(base::WithTrailingSeparator(parent.string()),
                                   fs::path(target).filename().string() + std::string(kUnfinishedBackupInfix));
  const auto refuse = [&](std::string message) {
    if (!unfinished.empty()) base::RemoveQuietly(unfinished);
    lastError_ = std::move(message);
    return std::optional<int>();
  };
  if (unfinished.empty()) return refuse("无法建立备份文件夹" + target + "！");
  std::optional<int> count;
  {
    MRecordBase local;
    if (!OpenInFolder(local, unfinished, false)) {
      return refuse(local.lastError().empty() ? "无法建立备份文件夹" + target + "！" : local.lastError());
    }
    count = Pull(local);
  }
  RemoveLockFileOf(DatabaseIn(unfinished));
  if (!count) return refuse(lastError_);
  const std::string remarks = RemarkFolderOf(unfinished);
  // As the local backup: one without a remark file is refused by every restore.
  if (base::FilesWithExtension(remarks, kRemarkExtension).empty()) return refuse("找不到评语文件！");
  // Everything is on disk before the marker says the backup is whole, and the marker before the name.
  if (!base::SyncFileSystemOf(unfinished) || !base::SyncDirectory(remarks) || !base::SyncDirectory(unfinished)) {
    return refuse("无法复制评语文件！");
  }
  if (!base::AtomicWriteFile(remarks + "save.txt", "save\r\n")) return refuse("无法写入备份标记文件！");
  std::string finished = unfinished;
  finished.pop_back();
  if (::rename(finished.c_str(), target.c_str()) != 0) return refuse("无法建立备份文件夹" + target + "！");
  base::SyncDirectory(parent.string());
  return count;
}

// After the cases are in, those whose remark the backup lacked get one made from their stored
// text, as the local restore writes their files. The restore stands when that fails: the number of
// cases, with lastError() saying what is missing (as a local restore names the remarks it could
// not write).
std::optional<int> SharedLibrary::Restore(const std::string& source) {
  if (!ReadyToWrite()) return std::nullopt;
  const std::string folder = base::WithTrailingSeparator(source);
  if (std::string refusal = BackupRefusal(folder); !refusal.empty()) {
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
  if (!OpenInFolder(backup, folder, true) || !backup.HasBaseType(kBaseType) || !PassesQuickCheck(DatabaseIn(folder))) {
    lastError_ = "源db文件不是案例数据库，无法还原！";
    return std::nullopt;
  }
  const std::optional<int> count = Push(backup);
  if (!count) {
    // Another user's case that came in meanwhile: Push refused in its own words.
    if (lastError_.starts_with("共享案例库中已经有案例")) lastError_ = kNotEmptyForRestore;
    return std::nullopt;
  }
  if (!RebuildRemarks()) lastError_ = "案例已经还原，但无法补写缺少的评语：" + lastError_;
  return count;
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/library_archive.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "base/files.h"
#include "base/rich_text.h"
#include "base/rtf_writer.h"
#include "base/utf8.h"
#include "cases/backup_folder.h"
#include "cases/case_text.h"
#include "cases/remark_files.h"
#include "chart/request_check.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

// Work files of the archive, each named with a random part (base::RandomName). In the remark
// folder, so that moving their files in never crosses a disk: an import's list of the remark
// files it writes (and the folders older versions staged imports in), a restore's staging
// folder. Beside the database: a restore's staged copy and its plan.
constexpr std::string_view kImportPrefix = "~quorin-import-";
constexpr std::string_view kImportListSuffix = ".names";
constexpr std::string_view kRestoreStagingPrefix = "~quorin-restore-";
constexpr std::string_view kStagedCopyInfix = ".restore-";
constexpr std::string_view kRestorePlanSuffix = ".restore-plan";
constexpr std::string_view kRestorePlanHeader = "quorin restore plan 1";

constexpr const char* kNotCaseDatabase = "不是相同的数据库类型，无法导入！";
constexpr const char* kUnreadableSource = "无法打开导入的数据库文件！";
constexpr std::string_view kStoredRemarkNames = "select remarkFile from case_data;";
constexpr std::string_view kCaseAfter = "select id, name from case_data where id>? order by id limit 1;";
// Room for every column but the remark in a row of an import source's value-length limit.
constexpr std::size_t kMaxOtherColumnBytes = 64u << 10;

std::vector<fs::path> RemarkFilesIn(const std::string& folder) { return base::FilesWithExtension(folder, kRemarkExtension); }

// The rollback journal of a file the archive made for its own work and no other program knows.
// Only a file: a folder of that name is not SQLite's.
void RemoveJournalOf(const std::string& databasePath) {
  std::error_code ignored;
  fs::remove(databasePath + "-journal", ignored);
}

void RemoveStagedCopy(const std::string& staged) {
  base::RemoveQuietly(staged);
  RemoveJournalOf(staged);
}

// Whether some connection, in any process, holds one of SQLite's locks on the database file.
// SQLite locks bytes from 2^30 on (its pending, reserved and shared bytes) with POSIX locks.
bool SqliteFileInUse(const std::string& path) {
  constexpr off_t kPendingByte = 0x40000000;
  constexpr off_t kLockBytes = 512;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = kPendingByte;
  probe.l_len = kLockBytes;
  const bool inUse = ::fcntl(fd, F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
  ::close(fd);
  return inUse;
}

// Shows "prefix p％" whenever p = count * 100 / n is a multiple of 10 and differs
// from the line shown last.
class ProgressLine {
 public:
  ProgressLine(const ProgressCallback& callback, std::string prefix, int total)
      : callback_(callback), prefix_(std::move(prefix)), total_(total) {}
  void Update(int count) {
    if (!callback_ || total_ <= 0) return;
    const long long percent = static_cast<long long>(count) * 100 / total_;
    if (percent % 10 == 0 && percent != last_) Show(percent);
  }
  void Show(long long percent) {
    last_ = percent;
    if (callback_) callback_(prefix_ + std::to_string(percent) + "％");
  }

 private:
  const ProgressCallback& callback_;
  std::string prefix_;
  int total_;
  long long last_ = -1;
};

// The remark names that files of the remark folder hold.
std::unordered_set<std::string> RemarkNamesOfFiles(const std::string& folder) {
  std::unordered_set<std::string> names;
  for (const fs::path& file : RemarkFilesIn(folder)) names.insert(file.stem().string());
  return names;
}

// The remark names every stored case holds, from one scan; nothing when the scan fails (the
// connection says why). A file without the column stores no names.
std::optional<std::unordered_set<std::string>> StoredRemarkNames(SqliteConnection& store) {
  std::unordered_set<std::string> names;
  SqliteStatement* read = store.Prepare(kStoredRemarkNames);
  if (!read) return names;
  for (;;) {
    switch (read->Next()) {
      case SqliteStatement::Step::kError: read->Reset(); return std::nullopt;
      case SqliteStatement::Step::kDone: read->Reset(); return names;
      case SqliteStatement::Step::kRow: names.emplace(read->Text(0)); break;
    }
  }
}

// Finishes what an import of an older version left in its staging folders. A staged remark
// that a stored case names and the remark folder lacks belonged to a committed import and
// moves in; every other one belonged to cases that were never committed and goes.
void SettleStagedImports(const std::string& remarks, const std::unordered_set<std::string>& storedNames) {
  for (const fs::path& staging : base::RandomlyNamedEntries(remarks, kImportPrefix, {}, true)) {
    for (const fs::path& file : RemarkFilesIn(staging.string())) {
      if (storedNames.contains(file.stem().string())) {
        static_cast<void>(base::RenameWithoutReplacing(file, fs::path(remarks) / file.filename()));  // else it stays taken
      }
    }
    base::RemoveQuietly(staging.string());
  }
}

// Finishes what an interrupted import left in its lists: a listed remark file that no stored case
// names belonged to cases never committed. A name cut short by the kill was never made.
void SettleImportLists(const std::string& remarks, const std::unordered_set<std::string>& storedNames) {
  for (const fs::path& list : base::RandomlyNamedEntries(remarks, kImportPrefix, kImportListSuffix, false)) {
    const std::string bytes = base::ReadFileBytes(list.string()).value_or("");
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
      const std::string name = bytes.substr(start, end - start);
      if (storedNames.contains(name)) continue;
      if (const auto path = RemarkFilePath(remarks, name)) ::unlink(path->c_str());
    }
    base::RemoveQuietly(list.string());
  }
  base::SyncDirectory(remarks);
}

// Hands out the remark names of one import: names no file, stored case or earlier case of
// the import holds. Each base name remembers its next suffix, so n cases of one name and
// moment cost n look-ups in memory, not n² file look-ups.
class RemarkNamer {
 public:
  explicit RemarkNamer(std::unordered_set<std::string> taken) : taken_(std::move(taken)) {}
  // Takes the name when nobody holds it.
  bool TryClaim(const std::string& name) { return taken_.insert(name).second; }
  // The base name when free, else base_0, base_1 … as a save names its remark.
  std::string Claim(const std::string& base) {
    if (TryClaim(base)) return base;
    long long& next = nextSuffix_[base];
    for (;;) {
      std::string name = base + "_" + std::to_string(next++);
      if (TryClaim(name)) return name;
    }
  }

 private:
  std::unordered_set<std::string> taken_;
  std::unordered_map<std::string, long long> nextSuffix_;
};

// The remark files of one import, written under their final names into the remark folder. Each
// name is added to the import's list (a file beside them) before its file is made, so a kill at
// any moment leaves a list the next opening follows: a listed file that no stored case names
// belonged to cases never committed and goes. Until the commit, a failure takes the files away;
// the list goes with the object.
class ImportRemarks {
 public:
  explicit ImportRemarks(std::string remarks) : remarks_(std::move(remarks)) {
    for (int attempt = 0; attempt < kListAttempts && fd_ < 0; ++attempt) {
      list_ = remarks_ + std::string(kImportPrefix) + base::RandomName() + std::string(kImportListSuffix);
      fd_ = ::open(list_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) failure_ = list_;
  }
  ~ImportRemarks() {
    if (!committed_) {
      for (const std::string& name : written_) ::unlink(FinalPath(name).c_str());
    }
    if (fd_ >= 0) {
      ::close(fd_);
      ::unlink(list_.c_str());
    }
  }
  ImportRemarks(const ImportRemarks&) = delete;
  ImportRemarks& operator=(const ImportRemarks&) = delete;

  // Unflushed: Sync makes them all durable at once.
  [[nodiscard]] bool Write(const std::string& name, std::string_view plainText) {
    if (fd_ < 0) return false;
    pending_.emplace_back(name, std::string(plainText));
    return pending_.size() < kNamesPerListWrite || Flush();
  }
  [[nodiscard]] bool Sync() { return Flush() && base::SyncFileSystemOf(remarks_) && base::SyncDirectory(remarks_); }
  void Committed() { committed_ = true; }
  // The file that could not be written, after a failed Write or Sync.
  const std::string& Failure() const { return failure_; }

 private:
  static constexpr int kListAttempts = 16;
  // Names reach the list in one write per group, always before their files exist.
  static constexpr std::size_t kNamesPerListWrite = 256;

  std::string FinalPath(const std::string& name) const { return remarks_ + name + std::string(kRemarkExtension); }

  bool Flush() {
    std::string names;
    for (const auto& [name, text] : pending_) names += name + '\0';
    if (!names.empty() && ::write(fd_, names.data(), names.size()) != static_cast<ssize_t>(names.size())) {
      failure_ = list_;
      return false;
    }
    for (const auto& [name, text] : pending_) {
      const auto document = base::RichDocument::FromPlainText(text, DefaultRemarkFormat());
      if (!base::WriteNewFile(FinalPath(name), base::WriteRtf(document))) {
        failure_ = FinalPath(name);
        return false;
      }
      written_.push_back(name);
    }
    pending_.clear();
    return true;
  }

  std::string remarks_;
  std::string list_;
  int fd_ = -1;
  bool committed_ = false;
  std::vector<std::pair<std::string, std::string>> pending_;
  std::vector<std::string> written_;
  std::string failure_;
};

// What a restore is about to do, written down before anything moves.
struct RestorePlan {
  std::string stagedDatabase;          // the backup's database, copied beside the library's
  std::string staging;                 // the folder holding new/ (the backup's remarks) and old/
  std::vector<std::string> fileNames;  // the remark files the backup brings
};

std::string PlanPathOf(const std::string& databasePath) { return databasePath + std::string(kRestorePlanSuffix); }

// Names may hold any byte but NUL, so NUL ends each field.
std::string EncodePlan(const RestorePlan& plan) {
  std::string text = std::string(kRestorePlanHeader) + '\n' + plan.stagedDatabase + '\0' + plan.staging + '\0';
  for (const std::string& name : plan.fileNames) text += name + '\0';
  return text;
}

std::optional<RestorePlan> DecodePlan(std::string_view text) {
  const std::string header = std::string(kRestorePlanHeader) + '\n';
  if (!text.starts_with(header)) return std::nullopt;
  text.remove_prefix(header.size());
  std::vector<std::string> fields;
  while (!text.empty()) {
    const std::size_t end = text.find('\0');
    if (end == std::string_view::npos) return std::nullopt;  // cut short: no plan at all
    fields.emplace_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  if (fields.size() < 2) return std::nullopt;
  return RestorePlan{fields[0], fields[1], {fields.begin() + 2, fields.end()}};
}

// Puts back what a restore moved: each remark the backup brought leaves, and the one it
// replaced returns. Works from any point of the moves, as each file records its own state:
// old/ holds it (it was moved aside), new/ holds it (not moved in yet), or neither (moved in,
// nothing was there before).
void UndoRestoreMoves(const RestorePlan& plan, const std::string& remarks) {
  for (const std::string& name : plan.fileNames) {
    const fs::path current = fs::path(remarks) / name;
    const fs::path old = fs::path(plan.staging) / "old" / name;
    const fs::path incoming = fs::path(plan.staging) / "new" / name;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(old, ec))) {
      fs::rename(old, current, ec);
    } else if (!fs::exists(fs::symlink_status(incoming, ec))) {
      fs::remove(current, ec);
    }
  }
  base::SyncDirectory(remarks);
}

// The message naming a case of an import source.
std::string SourceCaseName(std::int64_t id, std::string_view name) {
  const std::string shown = base::IsValidUtf8(name) && name.find('\0') == std::string_view::npos ? std::string(name) : "";
  return "导入的数据库中的案例“" + shown + "”（编号" + std::to_string(id) + "）";
}

// Every text of a source row is UTF-8 without NUL, as stored text always is.
bool RowHoldsValidText(const SqliteStatement& row) {
  for (int column = 0; column < row.ColumnCount(); ++column) {
    const std::string_view text = row.Text(column);
    if (!base::IsValidUtf8(text) || text.find('\0') != std::string_view::npos) return false;
  }
  return true;
}


}  // namespace

bool LibraryArchive::HoldWriters(SqliteConnection& hold) {
  // A transaction that reserves the file, taken after SQLite has rolled back a journal a crashed
  // writer left, keeps every SQLite program (not only ours) from writing meanwhile. A database
  // that no longer opens has no writer; a journal beside it that no connection holds is nobody's
  // and must not reach the file that replaces it.
  const std::string& path = store_.path_;
  if (!base::FileExists(path)) return true;
  if (hold.Open(path, false) && hold.Execute("begin immediate; select count(*) from sqlite_master;")) return true;
  hold.Close();
  if (SqliteFileInUse(path)) return store_.Fail(kLibraryBusyForWhole);
  RemoveJournalOf(path);
  return true;
}

void LibraryArchive::AdvanceGeneration() {
  if (store_.coordinated_ && store_.lock_.AdvanceGeneration()) store_.generation_ = store_.lock_.Generation();
}

void LibraryArchive::SettleInterruptedWork() {
  const std::string remarks = store_.RemarkFolder();
  bool rebuild = false;
  const std::string planPath = PlanPathOf(store_.path_);
  if (base::FileExists(planPath)) {
    if (const auto plan = DecodePlan(base::ReadFileBytes(planPath).value_or(""))) {
      if (base::FileExists(plan->stagedDatabase)) {
        // Killed before the database took its place: the old library stays, with every remark.
        UndoRestoreMoves(*plan, remarks);
        RemoveStagedCopy(plan->stagedDatabase);
      } else {
        // Killed after: the new library stays, and its remarks are completed.
        rebuild = true;
      }
      base::RemoveQuietly(plan->staging);
    }
    base::RemoveQuietly(planPath);
  }
  // Staging a restore left before it wrote its plan: nothing of it had moved.
  for (const fs::path& staging : base::RandomlyNamedEntries(remarks, kRestoreStagingPrefix, {}, true)) {
    base::RemoveQuietly(staging.string());
  }
  const fs::path database(store_.path_);
  const std::string stagedPrefix = database.filename().string() + std::string(kStagedCopyInfix);
  for (const fs::path& staged : base::RandomlyNamedEntries(database.parent_path().string(), stagedPrefix, {}, false)) {
    RemoveStagedCopy(staged.string());
  }
  SqliteConnection connection;
  if (connection.Open(store_.path_, false)) {
    if (const auto names = StoredRemarkNames(connection)) {
      SettleStagedImports(remarks, *names);
      SettleImportLists(remarks, *names);
    }
  }
  // What cannot be written now is tried again at the next opening.
  if (rebuild) static_cast<void>(RebuildRemarkFiles());
}

bool LibraryArchive::Backup(const std::string& destination) {
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  std::string refusal;
  const std::optional<UnfinishedBackup> backup = BeginBackupFolder(destination, refusal);
  if (!backup) return store_.Fail(refusal);
  const std::string& unfinished = backup->folder;
  std::error_code ec;
  auto refuse = [&](std::string message) {
    base::RemoveQuietly(unfinished);
    return store_.Fail(std::move(message));
  };
  {
    SqliteConnection hold;  // a copy taken while a writer is at work would be torn
    if (!HoldWriters(hold)) return refuse(store_.lastError());
    fs::copy_file(store_.path_, BackupDatabasePath(unfinished), ec);
    if (ec) return refuse("无法复制db文件！");
  }
  const std::string remarks = RemarkFolderOf(unfinished);
  if (!base::EnsureDirectory(remarks)) return refuse("无法创建目的评语文件夹！");
  const auto files = RemarkFilesIn(store_.RemarkFolder());
  if (files.empty()) return refuse("找不到评语文件！");
  for (const fs::path& file : files) {
    fs::copy_file(file, fs::path(remarks) / file.filename(), ec);
    if (ec) return refuse("无法复制评语文件！");
    store_.Step("backup:copied");
  }
  refusal = FinishBackupFolder(*backup, [this] { store_.Step("backup:marked"); });
  return refusal.empty() || refuse(refusal);
}

bool LibraryArchive::Restore(const std::string& source) {
  store_.remarkWriteFailures_ = 0;
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  const std::string folder = base::WithTrailingSeparator(source);
  const std::string sourceDb = BackupDatabasePath(folder);
  std::string refusal;
  const std::optional<std::vector<fs::path>> backupRemarks = WholeBackupRemarks(folder, refusal);
  if (!backupRemarks) return store_.Fail(refusal);
  const std::vector<fs::path>& sourceFiles = *backupRemarks;

  // Everything is copied aside under names made for this restore and checked before the
  // current data is touched; only those copies are ever removed.
  const std::string remarks = store_.RemarkFolder();
  if (!base::EnsureDirectory(remarks)) return store_.Fail("无法复制评语文件！");
  const std::string staging = base::NewRandomlyNamedFolder(remarks, kRestoreStagingPrefix);
  if (staging.empty()) return store_.Fail("无法复制评语文件！");
  const std::string stagedDb = base::NewRandomlyNamedCopy(sourceDb, store_.path_ + std::string(kStagedCopyInfix));
  auto refuse = [&](std::string message) {
    base::RemoveQuietly(staging);
    if (!stagedDb.empty()) RemoveStagedCopy(stagedDb);
    return store_.Fail(std::move(message));
  };
  if (stagedDb.empty()) return refuse("无法复制db文件！");
  {
    MRecordBase check;
    SqliteConnection whole;
    if (!check.OpenScratch(stagedDb) || !check.HasBaseType(kBaseType) || !whole.Open(stagedDb, false) ||
        !whole.PassesQuickCheck()) {
      return refuse("源db文件不是案例数据库，无法还原！");
    }
  }
  const std::string incoming = staging + "new/";
  const std::string outgoing = staging + "old/";
  if (!base::EnsureDirectory(incoming) || !base::EnsureDirectory(outgoing) ||
      !base::CopyFilesInto(sourceFiles, incoming) || !base::SyncFileSystemOf(incoming)) {
    return refuse("无法复制评语文件！");
  }

  SqliteConnection hold;
  if (!HoldWriters(hold)) return refuse(store_.lastError());
  RestorePlan plan{stagedDb, staging, {}};
  for (const fs::path& file : sourceFiles) plan.fileNames.push_back(file.filename().string());
  const std::string planPath = PlanPathOf(store_.path_);
  if (!base::AtomicWriteFile(planPath, EncodePlan(plan))) return refuse("无法复制db文件！");
  store_.Step("restore:planned");
  auto undo = [&](std::string message) {
    UndoRestoreMoves(plan, remarks);
    base::RemoveQuietly(planPath);
    return refuse(std::move(message));
  };

  // Swap in: each remark the backup brings steps into place, the file of that name stepping
  // aside first (anything else in the remark folder stays), then the database is replaced by
  // one atomic rename.
  for (const std::string& name : plan.fileNames) {
    const fs::path current = fs::path(remarks) / name;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(current, ec))) {
      if (!fs::is_regular_file(fs::symlink_status(current, ec))) return undo("无法替换评语文件夹！");
      fs::rename(current, fs::path(outgoing) / name, ec);
      if (ec) return undo("无法替换评语文件夹！");
      store_.Step("restore:moved");
    }
    fs::rename(fs::path(incoming) / name, current, ec);
    if (ec) return undo("无法替换评语文件夹！");
    store_.Step("restore:moved");
  }
  base::SyncDirectory(remarks);
  base::SyncDirectory(outgoing);
  std::error_code ec;
  fs::rename(stagedDb, store_.path_, ec);
  if (ec) return undo("无法复制db文件！");
  base::SyncDirectory(fs::path(store_.path_).parent_path().string());
  store_.Step("restore:renamed");
  hold.Close();
  base::RemoveQuietly(staging);  // now holds the replaced remark files
  RemoveJournalOf(stagedDb);
  base::RemoveQuietly(planPath);
  AdvanceGeneration();

  // A remark the backup lacks is written from the stored text; one that cannot be is counted and
  // named in lastError(): the restore is done, but it is no success.
  static_cast<void>(RebuildRemarkFiles());
  return true;
}

bool LibraryArchive::RebuildRemarkFiles() {
  store_.remarkWriteFailures_ = 0;
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  const std::optional<int> counter = store_.ReadPrimaryId();
  if (!counter) return false;
  store_.counter_ = *counter;
  const std::string folder = store_.RemarkFolder();
  if (!base::EnsureDirectory(folder)) return store_.Fail("无法写入评语文件：" + folder);
  std::string firstFailure;
  const bool read = store_.ReadRange(INT_MIN, INT_MAX, [&](TRecordData& record) {
    const auto path = RemarkFilePath(folder, record.remarkFile);
    std::error_code ec;
    if (path && !fs::exists(*path, ec) && !WriteRemarkFromPlainText(*path, record.remarkText)) {
      if (store_.remarkWriteFailures_++ == 0) firstFailure = *path;
    }
    return true;
  });
  if (!read) return false;
  if (store_.remarkWriteFailures_ > 0) return store_.Fail("无法写入评语文件：" + firstFailure);
  return true;
}

bool LibraryArchive::DeleteAll() {
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  {
    SqliteConnection hold;
    if (!HoldWriters(hold)) return false;
    std::error_code ec;
    fs::remove(store_.path_, ec);
    if (ec) return store_.Fail("无法删除db文件！");
  }
  AdvanceGeneration();
  store_.counter_ = 0;
  bool ok = true;
  std::error_code ec;
  for (const fs::path& file : RemarkFilesIn(store_.RemarkFolder())) {
    if (!fs::remove(file, ec) || ec) ok = false;
  }
  return ok || store_.Fail("无法删除评语文件！");
}

bool LibraryArchive::OpenImportSource(MRecordBase& source, const std::string& path) {
  source.path_ = path;
  source.programFolder_ = store_.programFolder_;
  source.readOnly_ = true;
  source.valueLengthLimit_ = kMaxRemarkBytes + kMaxOtherColumnBytes;
  SqliteConnection connection;
  if (!connection.OpenReadOnly(path)) return store_.Fail(kUnreadableSource);
  const auto cases = PresenceOf(connection, "case_data");
  if (!cases) return store_.Fail(kUnreadableSource);
  if (*cases != Presence::kPlainTable) return store_.Fail(kNotCaseDatabase);
  const auto extra = PresenceOf(connection, "case_extra");
  if (!extra) return store_.Fail(kUnreadableSource);
  if (*extra == Presence::kMissing) return true;
  if (*extra != Presence::kPlainTable || !source.HasBaseType(kBaseType)) return store_.Fail(kNotCaseDatabase);
  return true;
}

std::optional<int> LibraryArchive::ImportFrom(const std::string& path, const ProgressCallback& progress) {
  store_.remarkWriteFailures_ = 0;
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return std::nullopt;
  std::error_code ec;
  if (fs::equivalent(path, store_.path_, ec)) return store_.FailWith("不能导入正在使用的数据库！");
  MRecordBase source;
  if (!OpenImportSource(source, path)) return std::nullopt;
  std::vector<std::string> categories;
  if (!store_.GetClassNames(categories)) return std::nullopt;
  if (!store_.BeginBatch()) return std::nullopt;
  // Closing the batch without its commit undoes every row of the import.
  const int counterBefore = store_.counter_;
  auto undo = [&](std::string message) {
    store_.batch_.Close();
    store_.counter_ = counterBefore;
    return store_.FailWith(std::move(message));
  };
  auto storedNames = StoredRemarkNames(store_.batch_);
  if (!storedNames) return undo(store_.batch_.Message());
  const std::string folder = store_.RemarkFolder();
  if (!base::EnsureDirectory(folder)) return undo("无法写入评语文件：" + folder);
  SettleStagedImports(folder, *storedNames);
  SettleImportLists(folder, *storedNames);
  RemarkNamer namer(std::move(*storedNames));
  for (const std::string& name : RemarkNamesOfFiles(folder)) namer.TryClaim(name);
  ImportRemarks remarks(folder);

  ProgressLine line(progress, "导入进度：", source.CountCases().value_or(0));
  calendar::MYiDateEx date;
  int count = 0;
  std::int64_t lastId = INT64_MIN;
  std::string refusal;
  const bool read = source.ReadRows(INT64_MIN, INT64_MAX, [&](const SqliteStatement& row) {
    const std::int64_t id = row.Integer(row.ColumnIndex("id")).value_or(0);
    if (!RowHoldsValidText(row)) {
      refusal = SourceCaseName(id, row.Text(row.ColumnIndex("name"))) + "含有不是UTF-8编码的文字，无法导入！";
      return false;
    }
    TRecordData record = MRecordBase::RecordOfRow(row);
    // What the chart would refuse is not stored: the case could never be opened.
    if (const calendar::Outcome checked = chart::CheckChartRequest(record, date); !checked.ok) {
      refusal = SourceCaseName(id, record.name) + "无法导入：" + checked.message;
      return false;
    }
    const bool keepName = !IsPlaceholderRemarkName(record.remarkFile) && RemarkFilePath(folder, record.remarkFile) &&
                          namer.TryClaim(record.remarkFile);
    if (!keepName) record.remarkFile = namer.Claim(RemarkBaseName(record));
    if (!store_.InsertInBatch(record)) {
      refusal = store_.lastError();
      return false;
    }
    if (!remarks.Write(record.remarkFile, record.remarkText)) {
      refusal = "无法写入评语文件：" + remarks.Failure();
      return false;
    }
    store_.Step("import:case");
    lastId = id;
    ++count;
    AddCategoryOnce(categories, record.className);
    line.Update(count);
    return true;
  });
  if (!read && source.valueTooLarge_) {
    // The value too large to read belongs to the case after the last one read; its id and name are small.
    std::int64_t id = lastId;
    std::string name;
    SqliteConnection connection;
    SqliteStatement* next = connection.OpenReadOnly(path) ? connection.Prepare(kCaseAfter) : nullptr;
    if (next) {
      next->Bind(1, lastId);
      if (next->Next() == SqliteStatement::Step::kRow) {
        id = next->Integer(0).value_or(id);
        name = std::string(next->Text(1));
      }
      next->Reset();
    }
    return undo(SourceCaseName(id, name) + "的评语超过" + std::to_string(kMaxRemarkBytes >> 20) + "MB，无法导入！");
  }
  if (!read) return undo(source.lastError());
  if (!refusal.empty()) return undo(refusal);
  if (count > 0 && !store_.SetClassNames(categories)) return undo(store_.lastError());
  // The remarks are on disk before the cases that name them are committed.
  if (count > 0 && !remarks.Sync()) return undo("无法写入评语文件：" + remarks.Failure());
  store_.Step("import:written");
  if (!store_.EndBatch()) {
    store_.counter_ = counterBefore;  // nothing was committed
    return std::nullopt;
  }
  remarks.Committed();
  store_.Step("import:committed");
  if (count == 0) return store_.FailWith("导入的数据库中没有案例！");
  return count;
}

std::optional<int> LibraryArchive::CopyCases(MRecordBase& target, const std::function<bool(const TRecordData&)>& wanted,
                                             const std::function<void(const TRecordData&, int count)>& counted) {
  int count = 0;
  bool stored = true;
  const bool read = store_.ReadRange(INT_MIN, INT_MAX, [&](TRecordData& record) {
    if (!wanted(record)) return true;
    stored = target.InsertInBatch(record).has_value();
    if (!stored) return false;
    counted(record, ++count);
    return true;
  });
  if (!read) return std::nullopt;
  if (!stored) return store_.FailWith(target.lastError());
  return count;
}

std::optional<int> LibraryArchive::ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                            bool exportAll, const ProgressCallback& progress) {
  MRecordBase target;
  if (!target.OpenScratch(path) || !target.BeginBatch()) return store_.FailWith(target.lastError());
  if (!store_.BeginBatch()) return std::nullopt;  // the target's batch goes, uncommitted, with it
  ProgressLine line(progress, "导出进度：", store_.CountCases().value_or(0));
  std::vector<std::string> used;
  const std::optional<int> count = CopyCases(
      target, [&](const TRecordData& record) { return exportAll || HasCategory(categories, record.className); },
      [&](const TRecordData& record, int copied) {
        AddCategoryOnce(used, record.className);
        line.Update(copied);
      });
  const std::string copyError = store_.lastError();
  static_cast<void>(store_.EndBatch());  // only read: nothing to commit
  // A file that lacks some of the chosen cases is no export: its batch is dropped, uncommitted.
  if (!count || (*count > 0 && !target.SetClassNames(used))) {
    const std::string message = count ? target.lastError() : copyError;
    target.batch_.Close();
    return store_.FailWith(message);
  }
  if (!target.EndBatch()) return store_.FailWith(target.lastError());
  if (*count > 0) line.Show(100);
  return count;
}

std::optional<int> LibraryArchive::Compact(const ProgressCallback& progress) {
  MRecordBase::LockScope scope(store_, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return std::nullopt;
  const std::string backPath =
      (fs::path(store_.path_).parent_path() / (std::string(kDatabaseWord) + "_back.db")).string();
  // A compaction file left by an interrupted run holds nothing the database lacks.
  auto cleanUp = [&] {
    base::RemoveQuietly(backPath);
    RemoveJournalOf(backPath);
  };
  auto refuse = [&](std::string message) {
    static_cast<void>(store_.EndBatch());  // only read: nothing to commit
    cleanUp();
    return store_.FailWith(std::move(message));
  };
  cleanUp();
  // The library is read in a transaction that keeps every writer off it until the compacted
  // file has taken its place: no case saved meanwhile can go into the file being replaced.
  if (!store_.BeginBatchWith("begin immediate;")) return std::nullopt;
  int count = 0;
  {
    MRecordBase back;
    if (!back.OpenScratch(backPath) || !back.BeginBatch()) {
      back.batch_.Close();
      return refuse(back.lastError());
    }
    ProgressLine line(progress, "整理进度：", store_.CountCases().value_or(0));
    std::vector<std::string> used;
    const std::optional<int> copied = CopyCases(
        back, [](const TRecordData&) { return true; },
        [&](const TRecordData& record, int n) {
          AddCategoryOnce(used, record.className);
          line.Update(n);
        });
    // A case that did not make it into the new file keeps the old one in place.
    if (!copied) {
      back.batch_.Close();  // nothing reaches the file that is about to go
      return refuse(store_.lastError());
    }
    count = *copied;
    if (!back.EndBatch() || !back.SetClassNames(used)) return refuse(back.lastError());
  }
  {
    // The new file replaces the old one only once it reads back complete.
    MRecordBase check;
    if (!check.OpenScratch(backPath) || check.GetPrimaryId() != count || check.CountCases() != count ||
        !check.HasBaseType(kBaseType)) {
      return refuse("整理后的数据库校验失败，原数据库没有改动！");
    }
  }
  store_.Step("compact:checked");
  std::error_code ec;
  fs::rename(backPath, store_.path_, ec);
  if (ec) return refuse("无法更改文件名！");
  base::SyncDirectory(fs::path(store_.path_).parent_path().string());
  static_cast<void>(store_.EndBatch());  // the old file's transaction: nothing to commit
  AdvanceGeneration();
  store_.counter_ = count;
  if (progress) progress("整理进度：100％");
  return count;
}

}  // namespace quorin::cases

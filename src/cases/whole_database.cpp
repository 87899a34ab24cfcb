// SPDX-License-Identifier: GPL-3.0-or-later
// Backup, restore, delete all, import, export and compaction of the case store.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "base/files.h"
#include "base/rich_text.h"
#include "base/rtf_reader.h"
#include "base/rtf_writer.h"
#include "base/utf8.h"
#include "calendar/historical_year.h"
#include "cases/case_text.h"
#include "cases/record_codec.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "chart/request_check.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

// Folders of the store's own work in progress, inside the remark folder so that moving
// their files in never crosses a disk. The random part makes each one new: a folder the
// user made is never taken for one.
constexpr std::string_view kImportStagingPrefix = "~quorin-import-";
constexpr std::string_view kImportListSuffix = ".names";
constexpr std::string_view kRestoreStagingPrefix = "~quorin-restore-";
// Beside the database: a restore's staged copy ("Orlune.db.restore-<random>") and its plan,
// written before anything moves, that the next opening follows to finish or undo it.
constexpr std::string_view kStagedCopyInfix = ".restore-";
constexpr std::string_view kRestorePlanSuffix = ".restore-plan";
constexpr std::string_view kRestorePlanHeader = "quorin restore plan 1";
// A backup is made under its final name plus this and a random part, and renamed when whole.
constexpr std::string_view kUnfinishedBackupInfix = ".未完成-";
constexpr std::size_t kRandomSuffixLength = 16;

constexpr std::string_view kNotCaseDatabase = "不是相同的数据库类型，无法导入！";
constexpr std::string_view kUnreadableSource = "无法打开导入的数据库文件！";
constexpr std::string_view kSourceBaseType = "select baseType from case_extra;";
constexpr std::string_view kSourceCases = "select * from case_data where id>=1 order by id;";
constexpr std::string_view kSourceCaseCount = "select count(*) from case_data where id>=1;";
constexpr std::string_view kStoredRemarkNames = "select remarkFile from case_data;";
constexpr std::string_view kSourceCaseAfter = "select id, name from case_data where id>? order by id limit 1;";

// Appends the name unless the list has it already (ignoring the case of Latin letters).
void AddCategory(std::vector<std::string>& list, const std::string& name) {
  for (const std::string& present : list) {
    if (EqualIgnoringAsciiCase(present, name)) return;
  }
  list.push_back(name);
}

bool ContainsCategory(const std::vector<std::string>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& c) { return EqualIgnoringAsciiCase(c, name); });
}

// A *.rtf file name, the extension in any case (as Windows matches the pattern).
bool IsRemarkFileName(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
  return extension == ".rtf";
}

// The regular files of a folder named like remark files, in name order.
std::vector<fs::path> RemarkFilesIn(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (IsRemarkFileName(it->path()) && it->is_regular_file(kind)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Copies files into a folder, overwriting; false at the first that fails.
bool CopyInto(const std::vector<fs::path>& files, const std::string& folder) {
  for (const fs::path& file : files) {
    std::error_code ec;
    fs::copy_file(file, fs::path(folder) / file.filename(), fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
  }
  return true;
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
}

// The rollback journal of a file the store made for its own work and no other program knows.
void RemoveJournalOf(const std::string& databasePath) {
  std::error_code ec;
  fs::remove(databasePath + "-journal", ec);
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

// Keeps writers of other programs (any SQLite program, not only ours) off a database that is
// about to be replaced or copied: a transaction that reserves the file, taken after SQLite has
// rolled back a journal a crashed writer left. A database that no longer opens has no writer;
// a journal beside it that no connection holds is nobody's and must not reach the file that
// replaces it. False, with the message, when another program is using the file.
bool HoldWriters(SqliteConnection& hold, const std::string& path, std::string& message) {
  if (!base::FileExists(path)) return true;
  std::string error;
  if (hold.Open(path, false, error) && hold.Execute("begin immediate; select count(*) from sqlite_master;", error)) {
    return true;
  }
  hold.Close();
  if (SqliteFileInUse(path)) {
    message = kLibraryBusyForWhole;
    return false;
  }
  RemoveJournalOf(path);
  return true;
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

// A random part for the name of a new staging file or folder.
std::string RandomSuffix() {
  std::random_device device;
  char text[17];
  std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(device()), static_cast<unsigned>(device()));
  return text;
}

// A folder created by this call (never one that was there) under parent, with a trailing
// separator; empty when none can be created.
std::string NewStagingFolder(const std::string& parent, std::string_view prefix) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string folder = parent + std::string(prefix) + RandomSuffix();
    std::error_code ec;
    if (fs::create_directory(folder, ec)) return folder + "/";
    if (ec) return {};
  }
  return {};
}

// A copy of source beside `beside` under a new name made for it (never a file that was
// there); empty when it cannot be made.
std::string NewStagedCopy(const std::string& source, const std::string& beside) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string copy = beside + ".restore-" + RandomSuffix();
    std::error_code ec;
    if (fs::exists(fs::symlink_status(copy, ec))) continue;
    if (fs::copy_file(source, copy, fs::copy_options::none, ec)) return copy;
    if (ec != std::errc::file_exists) return {};
  }
  return {};
}

// Renames that can be undone, newest first. A rename never replaces what is at its target.
class Moves {
 public:
  Moves() = default;
  Moves(const Moves&) = delete;
  Moves& operator=(const Moves&) = delete;

  bool Move(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return false;
    fs::rename(from, to, ec);
    if (ec) return false;
    done_.emplace_back(from, to);
    return true;
  }
  void Undo() {
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
      std::error_code ec;
      fs::rename(it->second, it->first, ec);
    }
    done_.clear();
  }

 private:
  std::vector<std::pair<fs::path, fs::path>> done_;
};

// Whether a name is the prefix, a random part as RandomSuffix makes it and the suffix.
bool IsStagingName(std::string_view name, std::string_view prefix, std::string_view suffix = {}) {
  if (!name.starts_with(prefix) || !name.ends_with(suffix) ||
      name.size() != prefix.size() + kRandomSuffixLength + suffix.size()) {
    return false;
  }
  const std::string_view random = name.substr(prefix.size(), kRandomSuffixLength);
  return std::all_of(random.begin(), random.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The entries of a folder named as staging of the given kind (never a link's target).
std::vector<fs::path> StagingEntriesIn(const std::string& folder, std::string_view prefix, bool folders,
                                       std::string_view suffix = {}) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (IsStagingName(it->path().filename().string(), prefix, suffix) && !it->is_symlink(kind) &&
        (folders ? it->is_directory(kind) : it->is_regular_file(kind))) {
      found.push_back(it->path());
    }
  }
  return found;
}

std::vector<fs::path> StagingFoldersIn(const std::string& folder, std::string_view prefix) {
  return StagingEntriesIn(folder, prefix, true);
}

// Finishes what an interrupted import left in its staging folders. A staged remark that a
// stored case names and the remark folder lacks belonged to a committed import and moves
// in; every other one belonged to cases that were never committed and goes with its folder.
void SettleInterruptedImports(const std::string& remarks, const std::unordered_set<std::string>& storedNames) {
  bool moved = false;
  for (const fs::path& staging : StagingFoldersIn(remarks, kImportStagingPrefix)) {
    for (const fs::path& file : RemarkFilesIn(staging.string())) {
      if (storedNames.contains(file.stem().string())) moved = Moves().Move(file, fs::path(remarks) / file.filename()) || moved;
    }
    RemoveQuietly(staging.string());
  }
  if (moved) base::SyncDirectory(remarks);
}

// The remark names that files of the remark folder hold (any entry named like a remark file).
std::unordered_set<std::string> RemarkNamesOfFiles(const std::string& folder) {
  std::unordered_set<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsRemarkFileName(it->path())) names.insert(it->path().stem().string());
  }
  return names;
}

// The remark names every stored case holds, from one scan; nullopt when the scan fails.
// A file without the column stores no names.
std::optional<std::unordered_set<std::string>> StoredRemarkNames(SqliteConnection& store) {
  std::unordered_set<std::string> names;
  std::string error;
  SqliteStatement* read = store.Prepare(kStoredRemarkNames, error);
  if (!read) return names;
  for (;;) {
    switch (read->Next()) {
      case SqliteStatement::Step::kError: read->Reset(); return std::nullopt;
      case SqliteStatement::Step::kDone: read->Reset(); return names;
      case SqliteStatement::Step::kRow: names.emplace(read->Text(0)); break;
    }
  }
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
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
      list_ = remarks_ + std::string(kImportStagingPrefix) + RandomSuffix() + std::string(kImportListSuffix);
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
  bool Write(const std::string& name, std::string_view plainText) {
    if (fd_ < 0) return false;
    pending_.emplace_back(name, std::string(plainText));
    return pending_.size() < kNamesPerListWrite || Flush();
  }
  bool Sync() { return Flush() && base::SyncFileSystemOf(remarks_) && base::SyncDirectory(remarks_); }
  void Committed() { committed_ = true; }
  std::string FinalPath(const std::string& name) const { return remarks_ + name + ".rtf"; }
  // The file that could not be written, after a failed Write or Sync.
  const std::string& Failure() const { return failure_; }

 private:
  // Names reach the list in one write per group, always before their files exist.
  static constexpr std::size_t kNamesPerListWrite = 256;

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

// Finishes what an interrupted import left in its lists: a listed remark file that no stored case
// names belonged to cases never committed. A name cut short by the kill was never made.
void SettleImportLists(const std::string& remarks, const std::unordered_set<std::string>& storedNames) {
  for (const fs::path& list : StagingEntriesIn(remarks, kImportStagingPrefix, false, kImportListSuffix)) {
    const std::string bytes = base::ReadFileBytes(list.string()).value_or("");
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
      const std::string name = bytes.substr(start, end - start);
      if (storedNames.contains(name)) continue;
      if (const auto path = RemarkFilePath(remarks, name)) ::unlink(path->c_str());
    }
    std::error_code ec;
    fs::remove(list, ec);
  }
  base::SyncDirectory(remarks);
}

// Room for every column but the remark in a row of the value-length limit.
constexpr std::size_t kMaxOtherColumnBytes = 64u << 10;

// Opens an import source for reading only, as this format's file: case_data a table, and
// case_extra, when present, a table of the same base type. A file whose case_extra went
// missing still counts; its cases are reachable. The refusal's message, "" when accepted.
std::string OpenImportSource(SqliteConnection& source, const std::string& path) {
  std::string error;
  if (!source.OpenReadOnly(path, error)) return std::string(kUnreadableSource);
  // A larger value is refused by SQLite before it is read into memory.
  source.LimitValueLength(kMaxRemarkBytes + kMaxOtherColumnBytes);
  const auto cases = PresenceOf(source, "case_data", error);
  if (!cases) return std::string(kUnreadableSource);
  if (*cases != Presence::kPlainTable) return std::string(kNotCaseDatabase);
  // The shape the import reads, checked now: prepared statements stay with the connection.
  if (!source.Prepare(kSourceCases, error) || !source.Prepare(kSourceCaseCount, error)) {
    return std::string(kNotCaseDatabase);
  }
  const auto extra = PresenceOf(source, "case_extra", error);
  if (!extra) return std::string(kUnreadableSource);
  if (*extra == Presence::kMissing) return {};
  if (*extra != Presence::kPlainTable) return std::string(kNotCaseDatabase);
  SqliteStatement* type = source.Prepare(kSourceBaseType, error);
  const bool same = type && type->Next() == SqliteStatement::Step::kRow &&
                    type->Text(type->ColumnIndex("baseType")) == kBaseType;
  if (type) type->Reset();
  return same ? std::string() : std::string(kNotCaseDatabase);
}

// Hands each case row of a checked source to `each`, in id order, until it returns false.
// SQLite's message when reading fails, "" otherwise.
std::string ForEachSourceRow(SqliteConnection& source, const std::function<bool(const SqliteStatement& row)>& each) {
  std::string error;
  SqliteStatement* rows = source.Prepare(kSourceCases, error);
  if (!rows) return error;
  for (;;) {
    switch (rows->Next()) {
      case SqliteStatement::Step::kError: error = source.Message(); break;
      case SqliteStatement::Step::kDone: break;
      case SqliteStatement::Step::kRow:
        if (each(*rows)) continue;
        break;
    }
    rows->Reset();
    return error;
  }
}

// The number of cases an import will walk (for its progress line); 0 when unknown.
int SourceCaseCount(SqliteConnection& source) {
  std::string error;
  SqliteStatement* count = source.Prepare(kSourceCaseCount, error);
  if (!count) return 0;
  const int n = count->Next() == SqliteStatement::Step::kRow
                    ? static_cast<int>(std::clamp<std::int64_t>(ParseCaseInteger(count->Text(0)).value_or(0), 0, INT_MAX))
                    : 0;
  count->Reset();
  return n;
}

// What a restore is about to do, written down before anything moves.
struct RestorePlan {
  std::string stagedDatabase;         // the backup's database, copied beside the library's
  std::string staging;                // the folder holding new/ (the backup's remarks) and old/
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
  RestorePlan plan{fields[0], fields[1], {fields.begin() + 2, fields.end()}};
  return plan;
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

void RemoveStagedCopy(const std::string& staged) {
  RemoveQuietly(staged);
  RemoveJournalOf(staged);
}

// The message naming a case of an import source.
std::string SourceCaseName(int id, std::string_view name) {
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

// SQLite's quick check of a whole file: a database copied short fails it.
bool PassesQuickCheck(SqliteConnection& connection) {
  std::string error;
  SqliteStatement* check = connection.Prepare("pragma quick_check;", error);
  const bool ok = check && check->Next() == SqliteStatement::Step::kRow && check->Text(0) == "ok";
  if (check) check->Reset();
  return ok;
}

// Whether a remark file of a backup is whole: not empty, and an RTF one ends its outermost group.
bool IsWholeRemarkFile(const fs::path& file) {
  const auto size = base::FileSize(file.string());
  if (!size || *size == 0 || *size > kMaxRemarkBytes) return false;
  const auto bytes = base::ReadFileBytes(file.string());
  return bytes && (!base::LooksLikeRtf(*bytes) || base::IsCompleteRtf(*bytes));
}

}  // namespace

void MRecordBase::SettleInterruptedWork() {
  const std::string remarks = RemarkFolder();
  bool rebuild = false;
  const std::string planPath = PlanPathOf(path_);
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
      RemoveQuietly(plan->staging);
    }
    std::error_code ec;
    fs::remove(planPath, ec);
  }
  // Staging a restore left before it wrote its plan: nothing of it had moved.
  for (const fs::path& staging : StagingFoldersIn(remarks, kRestoreStagingPrefix)) RemoveQuietly(staging.string());
  const fs::path database(path_);
  for (const fs::path& staged :
       StagingEntriesIn(database.parent_path().string(), database.filename().string() + std::string(kStagedCopyInfix), false)) {
    RemoveStagedCopy(staged.string());
  }
  SqliteConnection connection;
  std::string error;
  if (connection.Open(path_, false, error)) {
    if (const auto names = StoredRemarkNames(connection)) {
      SettleInterruptedImports(remarks, *names);
      SettleImportLists(remarks, *names);
    }
  }
  if (rebuild) RebuildRemarkFiles();
}

bool MRecordBase::Backup(const std::string& destination) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  std::string target = destination;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  std::error_code ec;
  if (fs::exists(target, ec) && !fs::is_empty(target, ec)) return Fail("当前时间的文件夹已经存在，请稍后再备份！");
  const fs::path parent = fs::path(target).parent_path();
  const std::string unfinished =
      NewStagingFolder(base::WithTrailingSeparator(parent.string()), fs::path(target).filename().string() + std::string(kUnfinishedBackupInfix));
  if (unfinished.empty()) return Fail("无法建立备份文件夹" + target + "！");
  auto refuse = [&](std::string message) {
    RemoveQuietly(unfinished);
    return Fail(std::move(message));
  };
  {
    SqliteConnection hold;  // a copy taken while a writer is at work would be torn
    std::string message;
    if (!HoldWriters(hold, path_, message)) return refuse(message);
    fs::copy_file(path_, unfinished + std::string(kDatabaseWord) + ".db", ec);
    if (ec) return refuse("无法复制db文件！");
  }
  const std::string remarks = RemarkFolderOf(unfinished);
  if (!base::EnsureDirectory(remarks)) return refuse("无法创建目的评语文件夹！");
  const auto files = RemarkFilesIn(RemarkFolder());
  if (files.empty()) return refuse("找不到评语文件！");
  for (const fs::path& file : files) {
    fs::copy_file(file, fs::path(remarks) / file.filename(), ec);
    if (ec) return refuse("无法复制评语文件！");
    Step("backup:copied");
  }
  // Everything is on disk before the marker says the backup is whole, and the marker before the name.
  if (!base::SyncFileSystemOf(unfinished) || !base::SyncDirectory(remarks) || !base::SyncDirectory(unfinished)) {
    return refuse("无法复制评语文件！");
  }
  if (!base::AtomicWriteFile(remarks + "save.txt", "save\r\n")) return refuse("无法写入备份标记文件！");
  Step("backup:marked");
  std::string finished = unfinished;
  finished.pop_back();
  if (::rename(finished.c_str(), target.c_str()) != 0) return refuse("无法建立备份文件夹" + target + "！");
  base::SyncDirectory(parent.string());
  return true;
}

bool MRecordBase::Restore(const std::string& source) {
  lastError_.clear();
  remarkWriteFailures_ = 0;
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  const std::string folder = base::WithTrailingSeparator(source);
  const std::string sourceDb = folder + std::string(kDatabaseWord) + ".db";
  const std::string sourceRemarks = RemarkFolderOf(folder);
  if (!base::FileExists(sourceDb)) return Fail("没有源db文件！");
  if (!base::DirectoryExists(sourceRemarks)) return Fail("没有源评语文件夹！");
  const auto sourceFiles = RemarkFilesIn(sourceRemarks);
  if (sourceFiles.empty()) return Fail("找不到源评语文件！");
  // A backup is whole only once its marker is written; one cut short has none, or a cut file.
  if (!base::FileExists(sourceRemarks + "save.txt")) return Fail("备份不完整（没有标记文件save.txt），无法还原！");
  for (const fs::path& file : sourceFiles) {
    if (!IsWholeRemarkFile(file)) return Fail("备份中的评语文件不完整，无法还原：" + file.filename().string());
  }

  // Everything is copied aside under names made for this restore and checked before the
  // current data is touched; only those copies are ever removed.
  const std::string remarks = RemarkFolder();
  if (!base::EnsureDirectory(remarks)) return Fail("无法复制评语文件！");
  const std::string staging = NewStagingFolder(remarks, kRestoreStagingPrefix);
  if (staging.empty()) return Fail("无法复制评语文件！");
  const std::string stagedDb = NewStagedCopy(sourceDb, path_);
  auto cleanUp = [&] {
    RemoveQuietly(staging);
    if (!stagedDb.empty()) RemoveStagedCopy(stagedDb);
  };
  auto refuse = [&](std::string message) {
    cleanUp();
    return Fail(std::move(message));
  };
  if (stagedDb.empty()) return refuse("无法复制db文件！");
  {
    MRecordBase check;
    SqliteConnection whole;
    std::string error;
    if (!check.OpenScratch(stagedDb) || !check.HasBaseType(kBaseType) || !whole.Open(stagedDb, false, error) ||
        !PassesQuickCheck(whole)) {
      return refuse("源db文件不是案例数据库，无法还原！");
    }
  }
  const std::string incoming = staging + "new/";
  const std::string outgoing = staging + "old/";
  if (!base::EnsureDirectory(incoming) || !base::EnsureDirectory(outgoing) || !CopyInto(sourceFiles, incoming) ||
      !base::SyncFileSystemOf(incoming)) {
    return refuse("无法复制评语文件！");
  }

  SqliteConnection hold;
  std::string busy;
  if (!HoldWriters(hold, path_, busy)) return refuse(busy);
  RestorePlan plan{stagedDb, staging, {}};
  for (const fs::path& file : sourceFiles) plan.fileNames.push_back(file.filename().string());
  const std::string planPath = PlanPathOf(path_);
  if (!base::AtomicWriteFile(planPath, EncodePlan(plan))) return refuse("无法复制db文件！");
  Step("restore:planned");
  auto undo = [&](std::string message) {
    UndoRestoreMoves(plan, remarks);
    std::error_code ignored;
    fs::remove(planPath, ignored);
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
      Step("restore:moved");
    }
    fs::rename(fs::path(incoming) / name, current, ec);
    if (ec) return undo("无法替换评语文件夹！");
    Step("restore:moved");
  }
  base::SyncDirectory(remarks);
  base::SyncDirectory(outgoing);
  std::error_code ec;
  fs::rename(stagedDb, path_, ec);
  if (ec) return undo("无法复制db文件！");
  base::SyncDirectory(fs::path(path_).parent_path().string());
  Step("restore:renamed");
  hold.Close();
  RemoveQuietly(staging);  // now holds the replaced remark files
  RemoveJournalOf(stagedDb);
  fs::remove(planPath, ec);
  if (coordinated_ && lock_.AdvanceGeneration()) generation_ = lock_.Generation();

  // A remark the backup lacks is written from the stored text; one that cannot be is a failure.
  RebuildRemarkFiles();
  return true;
}

bool MRecordBase::RebuildRemarkFiles() {
  lastError_.clear();
  remarkWriteFailures_ = 0;
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  const std::optional<int> counter = ReadPrimaryId();
  if (!counter) return false;
  counter_ = *counter;
  const std::string folder = RemarkFolder();
  base::EnsureDirectory(folder);
  std::string firstFailure;
  const bool read = ReadRange(1, INT_MAX, [&](TRecordData& record) {
    const auto path = RemarkFilePath(folder, record.remarkFile);
    std::error_code ec;
    if (path && !fs::exists(*path, ec) && !WriteRemarkFromPlainText(*path, record.remarkText)) {
      if (remarkWriteFailures_++ == 0) firstFailure = *path;
    }
    return true;
  });
  if (!read) return false;
  if (remarkWriteFailures_ > 0) return Fail("无法写入评语文件：" + firstFailure);
  return true;
}

bool MRecordBase::DeleteAll() {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return false;
  {
    SqliteConnection hold;
    std::string busy;
    if (!HoldWriters(hold, path_, busy)) return Fail(busy);
    std::error_code ec;
    fs::remove(path_, ec);
    if (ec) return Fail("无法删除db文件！");
  }
  if (coordinated_ && lock_.AdvanceGeneration()) generation_ = lock_.Generation();
  counter_ = 0;
  bool ok = true;
  std::error_code ec;
  for (const fs::path& file : RemarkFilesIn(RemarkFolder())) {
    if (!fs::remove(file, ec) || ec) ok = false;
  }
  return ok || Fail("无法删除评语文件！");
}

std::optional<int> MRecordBase::ImportFrom(const std::string& path, const ProgressCallback& progress) {
  lastError_.clear();
  remarkWriteFailures_ = 0;
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return std::nullopt;
  std::error_code ec;
  if (fs::equivalent(path, path_, ec)) return FailWith("不能导入正在使用的数据库！");
  SqliteConnection source;
  if (const std::string refusal = OpenImportSource(source, path); !refusal.empty()) return FailWith(refusal);
  std::vector<std::string> categories;
  if (!GetClassNames(categories)) return std::nullopt;
  if (!BeginBatch()) return std::nullopt;
  // Closing the batch without its commit undoes every row of the import.
  const int counterBefore = counter_;
  auto undo = [&](std::string message) {
    batch_.Close();
    counter_ = counterBefore;
    return FailWith(std::move(message));
  };
  auto storedNames = StoredRemarkNames(batch_);
  if (!storedNames) return undo(batch_.Message());
  const std::string folder = RemarkFolder();
  base::EnsureDirectory(folder);
  SettleInterruptedImports(folder, *storedNames);
  SettleImportLists(folder, *storedNames);
  RemarkNamer namer(std::move(*storedNames));
  for (const std::string& name : RemarkNamesOfFiles(folder)) namer.TryClaim(name);
  ImportRemarks remarks(folder);

  ProgressLine line(progress, "导入进度：", SourceCaseCount(source));
  calendar::MYiDateEx date;
  int count = 0;
  int lastId = 0;
  std::string refusal;
  const std::string readError = ForEachSourceRow(source, [&](const SqliteStatement& row) {
    const int id = static_cast<int>(row.Integer(row.ColumnIndex("id")).value_or(0));
    if (!RowHoldsValidText(row)) {
      refusal = SourceCaseName(id, row.Text(row.ColumnIndex("name"))) + "含有不是UTF-8编码的文字，无法导入！";
      return false;
    }
    TRecordData record = RecordOfRow(row);
    // What the chart would refuse is not stored: the case could never be opened.
    if (const calendar::Outcome checked = chart::CheckChartRequest(record, date); !checked.ok) {
      refusal = SourceCaseName(id, record.name) + "无法导入：" + checked.message;
      return false;
    }
    const bool keepName = !IsPlaceholderRemarkName(record.remarkFile) && RemarkFilePath(folder, record.remarkFile) &&
                          namer.TryClaim(record.remarkFile);
    if (!keepName) record.remarkFile = namer.Claim(RemarkBaseName(record));
    if (!InsertInBatch(record)) {
      refusal = lastError_;
      return false;
    }
    if (!remarks.Write(record.remarkFile, record.remarkText)) {
      refusal = "无法写入评语文件：" + remarks.Failure();
      return false;
    }
    Step("import:case");
    lastId = id;
    ++count;
    AddCategory(categories, record.className);
    line.Update(count);
    return true;
  });
  if (!readError.empty()) {
    if (source.ErrorCode() != SQLITE_TOOBIG) return undo(readError);
    // The value too large to read belongs to the case after the last one read; its id and name are small.
    std::string error;
    SqliteStatement* next = source.Prepare(kSourceCaseAfter, error);
    int id = lastId + 1;
    std::string name;
    if (next) {
      next->Bind(1, static_cast<std::int64_t>(lastId));
      if (next->Next() == SqliteStatement::Step::kRow) {
        id = static_cast<int>(next->Integer(0).value_or(id));
        name = std::string(next->Text(1));
      }
      next->Reset();
    }
    return undo(SourceCaseName(id, name) + "的评语超过" + std::to_string(kMaxRemarkBytes >> 20) + "MB，无法导入！");
  }
  if (!refusal.empty()) return undo(refusal);
  if (count > 0 && !SetClassNames(categories)) return undo(lastError_);
  // The remarks are on disk before the cases that name them are committed.
  if (count > 0 && !remarks.Sync()) return undo("无法写入评语文件：" + remarks.Failure());
  Step("import:written");
  if (!EndBatch()) {
    counter_ = counterBefore;  // nothing was committed
    return std::nullopt;
  }
  remarks.Committed();
  Step("import:committed");
  if (count == 0) return FailWith("导入的数据库中没有案例！");
  return count;
}

std::optional<int> MRecordBase::ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                         bool exportAll, const ProgressCallback& progress) {
  lastError_.clear();
  MRecordBase target;
  if (!target.OpenScratch(path) || !target.BeginBatch()) return FailWith(target.lastError());
  if (!BeginBatch()) {
    target.EndBatch();
    return std::nullopt;
  }
  ProgressLine line(progress, "导出进度：", CountCases().value_or(0));
  std::vector<std::string> used;
  int count = 0;
  bool stored = true;
  const bool read = ReadRange(0, INT_MAX, [&](TRecordData& record) {
    if (!exportAll && !ContainsCategory(categories, record.className)) return true;
    stored = target.InsertInBatch(record).has_value();
    if (!stored) return false;
    ++count;
    AddCategory(used, record.className);
    line.Update(count);
    return true;
  });
  const std::string readError = lastError_;
  EndBatch();  // only read: nothing to commit
  // A file that lacks some of the chosen cases is no export: its batch is dropped.
  if (read && stored && count > 0) stored = target.SetClassNames(used);
  if (!read || !stored) {
    target.batch_.Close();
    return FailWith(read ? target.lastError() : readError);
  }
  if (!target.EndBatch()) return FailWith(target.lastError());
  if (count > 0) line.Show(100);
  return count;
}

std::optional<int> MRecordBase::Compact(const ProgressCallback& progress) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kExclusive);
  if (!scope.Ok()) return std::nullopt;
  const std::string backPath =
      (fs::path(path_).parent_path() / (std::string(kDatabaseWord) + "_back.db")).string();
  // A compaction file left by an interrupted run holds nothing the database lacks.
  auto cleanUp = [&] {
    RemoveQuietly(backPath);
    RemoveJournalOf(backPath);
  };
  auto refuse = [&](std::string message) {
    EndBatch();
    cleanUp();
    return FailWith(std::move(message));
  };
  cleanUp();
  // The library is read in a transaction that keeps every writer off it until the compacted
  // file has taken its place: no case saved meanwhile can go into the file being replaced.
  if (!BeginBatchWith("begin immediate;")) return std::nullopt;
  int count = 0;
  std::vector<std::string> used;
  {
    MRecordBase back;
    if (!back.OpenScratch(backPath) || !back.BeginBatch()) return refuse(back.lastError());
    ProgressLine line(progress, "整理进度：", CountCases().value_or(0));
    bool stored = true;
    const bool read = ReadRange(1, INT_MAX, [&](TRecordData& record) {
      stored = back.InsertInBatch(record).has_value();
      if (!stored) return false;
      ++count;
      AddCategory(used, record.className);
      line.Update(count);
      return true;
    });
    // A case that did not make it into the new file keeps the old one in place.
    if (!read || !stored) {
      const std::string message = read ? back.lastError() : lastError_;
      back.batch_.Close();
      return refuse(message);
    }
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
  Step("compact:checked");
  std::error_code ec;
  fs::rename(backPath, path_, ec);
  if (ec) return refuse("无法更改文件名！");
  base::SyncDirectory(fs::path(path_).parent_path().string());
  EndBatch();  // the old file's transaction: nothing to commit
  if (coordinated_ && lock_.AdvanceGeneration()) generation_ = lock_.Generation();
  counter_ = count;
  if (progress) progress("整理进度：100％");
  return count;
}

}  // namespace quorin::cases

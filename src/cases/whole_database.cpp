// Backup, restore, delete all, import, export and compaction of the case store.
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
#include "cases/case_text.h"
#include "cases/record_codec.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

// Folders of the store's own work in progress, inside the remark folder so that moving
// their files in never crosses a disk. The random part makes each one new: a folder the
// user made is never taken for one.
constexpr std::string_view kImportStagingPrefix = "~quorin-import-";
constexpr std::string_view kRestoreStagingPrefix = "~quorin-restore-";

constexpr std::string_view kNotCaseDatabase = "不是相同的数据库类型，无法导入！";
constexpr std::string_view kUnreadableSource = "无法打开导入的数据库文件！";
constexpr std::string_view kSourceBaseType = "select baseType from case_extra;";
constexpr std::string_view kSourceCases = "select * from case_data where id>=1 order by id;";
constexpr std::string_view kSourceCaseCount = "select count(*) from case_data where id>=1;";
constexpr std::string_view kStoredRemarkNames = "select remarkFile from case_data;";

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

// A rollback journal left by a crash belongs to the file it sat beside; it must not
// be applied to the file that replaces it.
void RemoveJournalOf(const std::string& databasePath) {
  std::error_code ec;
  fs::remove(databasePath + "-journal", ec);
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

// The staging folders of the given kind in a folder (real folders only, never a link's target).
std::vector<fs::path> StagingFoldersIn(const std::string& folder, std::string_view prefix) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (it->path().filename().string().starts_with(prefix) && it->is_directory(kind) && !it->is_symlink(kind)) {
      found.push_back(it->path());
    }
  }
  return found;
}

// Finishes what an interrupted import left in its staging folders. A staged remark that a
// stored case names and the remark folder lacks belonged to a committed import and moves
// in; every other one belonged to cases that were never committed and goes with its folder.
void SettleInterruptedImports(const std::string& remarks, const std::unordered_set<std::string>& storedNames) {
  for (const fs::path& staging : StagingFoldersIn(remarks, kImportStagingPrefix)) {
    for (const fs::path& file : RemarkFilesIn(staging.string())) {
      if (storedNames.contains(file.stem().string())) Moves().Move(file, fs::path(remarks) / file.filename());
    }
    RemoveQuietly(staging.string());
  }
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

// The remark files of one import, written into a staging folder of their own and moved into
// the remark folder only once the cases are committed, so an interruption leaves no file that
// no case names. The folder goes with the object.
class ImportStaging {
 public:
  explicit ImportStaging(std::string remarks)
      : remarks_(std::move(remarks)), folder_(NewStagingFolder(remarks_, kImportStagingPrefix)) {}
  ~ImportStaging() {
    if (!folder_.empty()) RemoveQuietly(folder_);
  }
  ImportStaging(const ImportStaging&) = delete;
  ImportStaging& operator=(const ImportStaging&) = delete;

  bool Write(const std::string& name, std::string_view plainText) {
    if (folder_.empty() || !WriteRemarkFromPlainText(folder_ + name + ".rtf", plainText)) return false;
    names_.push_back(name);
    return true;
  }
  // Moves the staged remarks in, never over a file that appeared meanwhile; the paths that
  // could not be filled.
  std::vector<std::string> MoveIn() {
    std::vector<std::string> failed;
    for (const std::string& name : names_) {
      const std::string target = remarks_ + name + ".rtf";
      if (!Moves().Move(folder_ + name + ".rtf", target)) failed.push_back(target);
    }
    names_.clear();
    return failed;
  }
  std::string FinalPath(const std::string& name) const { return remarks_ + name + ".rtf"; }

 private:
  std::string remarks_;
  std::string folder_;
  std::vector<std::string> names_;
};

// Opens an import source for reading only, as this format's file: case_data a table, and
// case_extra, when present, a table of the same base type. A file whose case_extra went
// missing still counts; its cases are reachable. The refusal's message, "" when accepted.
std::string OpenImportSource(SqliteConnection& source, const std::string& path) {
  std::string error;
  if (!source.OpenReadOnly(path, error)) return std::string(kUnreadableSource);
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

}  // namespace

bool MRecordBase::Backup(const std::string& destination) {
  lastError_.clear();
  const std::string folder = base::WithTrailingSeparator(destination);
  std::error_code ec;
  fs::copy_file(path_, folder + std::string(kDatabaseWord) + ".db", fs::copy_options::overwrite_existing, ec);
  if (ec) return Fail("无法复制db文件！");
  const std::string remarks = RemarkFolderOf(folder);
  if (!base::DirectoryExists(remarks) && !base::EnsureDirectory(remarks)) return Fail("无法创建目的评语文件夹！");
  const auto files = RemarkFilesIn(RemarkFolder());
  if (files.empty()) return Fail("找不到评语文件！");
  if (!CopyInto(files, remarks)) return Fail("无法复制评语文件！");
  if (!base::AtomicWriteFile(remarks + "save.txt", "save\r\n")) return Fail("无法写入备份标记文件！");
  return true;
}

bool MRecordBase::Restore(const std::string& source) {
  lastError_.clear();
  const std::string folder = base::WithTrailingSeparator(source);
  const std::string sourceDb = folder + std::string(kDatabaseWord) + ".db";
  const std::string sourceRemarks = RemarkFolderOf(folder);
  if (!base::FileExists(sourceDb)) return Fail("没有源db文件！");
  if (!base::DirectoryExists(sourceRemarks)) return Fail("没有源评语文件夹！");
  const auto sourceFiles = RemarkFilesIn(sourceRemarks);
  if (sourceFiles.empty()) return Fail("找不到源评语文件！");

  // Everything is copied aside under names made for this restore and checked before the
  // current data is touched; only those copies are ever removed.
  const std::string remarks = RemarkFolder();
  if (!base::EnsureDirectory(remarks)) return Fail("无法复制评语文件！");
  const std::string staging = NewStagingFolder(remarks, kRestoreStagingPrefix);
  if (staging.empty()) return Fail("无法复制评语文件！");
  const std::string stagedDb = NewStagedCopy(sourceDb, path_);
  auto cleanUp = [&] {
    RemoveQuietly(staging);
    if (stagedDb.empty()) return;
    RemoveQuietly(stagedDb);
    RemoveJournalOf(stagedDb);
  };
  auto refuse = [&](std::string message) {
    cleanUp();
    return Fail(std::move(message));
  };
  if (stagedDb.empty()) return refuse("无法复制db文件！");
  {
    MRecordBase check;
    if (!check.Open(stagedDb) || !check.HasBaseType(kBaseType)) return refuse("源db文件不是案例数据库，无法还原！");
  }
  const std::string incoming = staging + "new/";
  const std::string outgoing = staging + "old/";
  if (!base::EnsureDirectory(incoming) || !base::EnsureDirectory(outgoing) || !CopyInto(sourceFiles, incoming)) {
    return refuse("无法复制评语文件！");
  }

  // Swap in: the current remark files step aside and the backup's take their place (anything
  // else in the remark folder stays), then the database is replaced by one atomic rename.
  Moves moves;
  bool moved = true;
  for (const fs::path& file : RemarkFilesIn(remarks)) moved = moved && moves.Move(file, outgoing / file.filename());
  for (const fs::path& file : RemarkFilesIn(incoming)) moved = moved && moves.Move(file, remarks / file.filename());
  if (!moved) {
    moves.Undo();
    return refuse("无法替换评语文件夹！");
  }
  RemoveJournalOf(path_);
  std::error_code ec;
  fs::rename(stagedDb, path_, ec);
  if (ec) {
    moves.Undo();
    return refuse("无法复制db文件！");
  }
  RemoveQuietly(staging);  // now holds the replaced remark files
  RemoveJournalOf(stagedDb);

  RebuildRemarkFiles();  // a remark that cannot be written is counted and named in lastError; the restore is done
  return true;
}

bool MRecordBase::RebuildRemarkFiles() {
  lastError_.clear();
  remarkWriteFailures_ = 0;
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
  std::error_code ec;
  fs::remove(path_, ec);
  if (ec) return Fail("无法删除db文件！");
  RemoveJournalOf(path_);
  counter_ = 0;
  bool ok = true;
  for (const fs::path& file : RemarkFilesIn(RemarkFolder())) {
    if (!fs::remove(file, ec) || ec) ok = false;
  }
  return ok || Fail("无法删除评语文件！");
}

std::optional<int> MRecordBase::ImportFrom(const std::string& path, const ProgressCallback& progress) {
  lastError_.clear();
  remarkWriteFailures_ = 0;
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
  RemarkNamer namer(std::move(*storedNames));
  for (const std::string& name : RemarkNamesOfFiles(folder)) namer.TryClaim(name);
  ImportStaging staging(folder);

  ProgressLine line(progress, "导入进度：", SourceCaseCount(source));
  int count = 0;
  bool stored = true;
  std::string firstFailure;
  const std::string readError = ForEachSourceRow(source, [&](const SqliteStatement& row) {
    TRecordData record = RecordOfRow(row);
    const bool keepName = !IsPlaceholderRemarkName(record.remarkFile) && RemarkFilePath(folder, record.remarkFile) &&
                          namer.TryClaim(record.remarkFile);
    if (!keepName) record.remarkFile = namer.Claim(RemarkBaseName(record));
    stored = InsertInBatch(record).has_value();
    if (!stored) return false;
    ++count;
    AddCategory(categories, record.className);
    if (!staging.Write(record.remarkFile, record.remarkText) && remarkWriteFailures_++ == 0) {
      firstFailure = staging.FinalPath(record.remarkFile);
    }
    line.Update(count);
    return true;
  });
  if (!readError.empty()) return undo(readError);
  if (!stored || (count > 0 && !SetClassNames(categories))) return undo(lastError_);
  if (!EndBatch()) {
    counter_ = counterBefore;  // nothing was committed
    return std::nullopt;
  }

  for (const std::string& failure : staging.MoveIn()) {
    if (remarkWriteFailures_++ == 0) firstFailure = failure;
  }
  if (count == 0) return FailWith("导入的数据库中没有案例！");
  if (remarkWriteFailures_ > 0) lastError_ = "无法写入评语文件：" + firstFailure;
  return count;
}

std::optional<int> MRecordBase::ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                         bool exportAll, const ProgressCallback& progress) {
  lastError_.clear();
  MRecordBase target;
  if (!target.Open(path) || !target.BeginBatch()) return FailWith(target.lastError());
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
  const std::string backPath =
      (fs::path(path_).parent_path() / (std::string(kDatabaseWord) + "_back.db")).string();
  // A compaction file left by an interrupted run holds nothing the database lacks.
  auto cleanUp = [&] {
    RemoveQuietly(backPath);
    RemoveJournalOf(backPath);
  };
  auto refuse = [&](std::string message) {
    cleanUp();
    return FailWith(std::move(message));
  };
  cleanUp();
  int count = 0;
  std::vector<std::string> used;
  {
    MRecordBase back;
    if (!back.Open(backPath) || !back.BeginBatch()) return refuse(back.lastError());
    if (!BeginBatch()) {
      back.EndBatch();
      cleanUp();
      return std::nullopt;
    }
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
    const std::string readError = lastError_;
    EndBatch();  // only read: nothing to commit
    // A case that did not make it into the new file keeps the old one in place.
    if (!read || !stored) {
      back.batch_.Close();
      return refuse(read ? back.lastError() : readError);
    }
    if (!back.EndBatch() || !back.SetClassNames(used)) return refuse(back.lastError());
  }
  {
    // The new file replaces the old one only once it reads back complete.
    MRecordBase check;
    if (!check.Open(backPath) || check.GetPrimaryId() != count || check.CountCases() != count ||
        !check.HasBaseType(kBaseType)) {
      return refuse("整理后的数据库校验失败，原数据库没有改动！");
    }
  }
  RemoveJournalOf(path_);
  std::error_code ec;
  fs::rename(backPath, path_, ec);
  if (ec) return refuse("无法更改文件名！");
  counter_ = count;
  if (progress) progress("整理进度：100％");
  return count;
}

}  // namespace quorin::cases

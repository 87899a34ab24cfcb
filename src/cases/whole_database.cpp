// Backup, restore, delete all, import, export and compaction of the case store.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/files.h"
#include "cases/case_text.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"

namespace quorin::cases {
namespace {

namespace fs = std::filesystem;

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

// The regular files of a folder whose name is or is not a remark file name.
std::vector<fs::path> FilesIn(const std::string& folder, bool remarks) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (IsRemarkFileName(it->path()) == remarks && it->is_regular_file(kind)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> RemarkFilesIn(const std::string& folder) { return FilesIn(folder, true); }

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

}  // namespace

bool MRecordBase::Backup(const std::string& destination) {
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
  const std::string folder = base::WithTrailingSeparator(source);
  const std::string sourceDb = folder + std::string(kDatabaseWord) + ".db";
  const std::string sourceRemarks = RemarkFolderOf(folder);
  if (!base::FileExists(sourceDb)) return Fail("没有源db文件！");
  if (!base::DirectoryExists(sourceRemarks)) return Fail("没有源评语文件夹！");
  const auto sourceFiles = RemarkFilesIn(sourceRemarks);
  if (sourceFiles.empty()) return Fail("找不到源评语文件！");

  // Everything is copied aside and checked before the current data is touched.
  const std::string stagedDb = path_ + ".restoring";
  const std::string remarks = RemarkFolder();
  const std::string liveRemarks = remarks.substr(0, remarks.size() - 1);
  const std::string stagedRemarks = liveRemarks + ".restoring";
  const std::string oldRemarks = liveRemarks + ".old";
  auto cleanUp = [&] {
    RemoveQuietly(stagedDb);
    RemoveJournalOf(stagedDb);
    RemoveQuietly(stagedRemarks);
  };
  cleanUp();
  RemoveQuietly(oldRemarks);

  std::error_code ec;
  fs::copy_file(sourceDb, stagedDb, fs::copy_options::overwrite_existing, ec);
  if (ec) return cleanUp(), Fail("无法复制db文件！");
  {
    MRecordBase check;
    if (check.Open(stagedDb) != 0 || !check.HasBaseType(kBaseType)) {
      cleanUp();
      return Fail("源db文件不是案例数据库，无法还原！");
    }
  }
  // Files of the remark folder other than remarks stay, as a deletion of the remarks would leave them.
  if (!base::EnsureDirectory(stagedRemarks)) return cleanUp(), Fail("无法复制评语文件！");
  if (!CopyInto(FilesIn(remarks, false), stagedRemarks) || !CopyInto(sourceFiles, stagedRemarks)) {
    return cleanUp(), Fail("无法复制评语文件！");
  }

  // Swap in: remark folder first, then the database by one atomic rename.
  const bool hadRemarks = base::DirectoryExists(liveRemarks);
  if (hadRemarks) {
    fs::rename(liveRemarks, oldRemarks, ec);
    if (ec) return cleanUp(), Fail("无法替换评语文件夹！");
  }
  fs::rename(stagedRemarks, liveRemarks, ec);
  if (ec) {
    std::error_code back;
    if (hadRemarks) fs::rename(oldRemarks, liveRemarks, back);
    return cleanUp(), Fail("无法替换评语文件夹！");
  }
  RemoveJournalOf(path_);
  fs::rename(stagedDb, path_, ec);
  if (ec) {
    std::error_code back;
    fs::rename(liveRemarks, stagedRemarks, back);
    if (hadRemarks) fs::rename(oldRemarks, liveRemarks, back);
    return cleanUp(), Fail("无法复制db文件！");
  }
  RemoveQuietly(oldRemarks);
  RemoveJournalOf(stagedDb);

  RebuildRemarkFiles();  // a remark that cannot be written is counted; the restore itself is done
  return true;
}

bool MRecordBase::RebuildRemarkFiles() {
  remarkWriteFailures_ = 0;
  const int counter = ReadPrimaryId();
  if (counter < 0) return false;
  counter_ = counter;
  const std::string folder = RemarkFolder();
  base::EnsureDirectory(folder);
  if (!BeginBatch()) return false;
  std::string firstFailure;
  for (int id = 1; id <= counter; ++id) {
    TRecordData record;
    if (!ReadInBatch(id, record)) continue;
    const auto path = RemarkFilePath(folder, record.remarkFile);
    std::error_code ec;
    if (!path || fs::exists(*path, ec)) continue;
    if (!WriteRemarkFromPlainText(*path, record.remarkText)) {
      if (remarkWriteFailures_++ == 0) firstFailure = *path;
    }
  }
  EndBatch();
  if (remarkWriteFailures_ > 0) return Fail("无法写入评语文件：" + firstFailure);
  return true;
}

bool MRecordBase::DeleteAll() {
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

int MRecordBase::ImportFrom(const std::string& path, const ProgressCallback& progress) {
  remarkWriteFailures_ = 0;
  std::error_code ec;
  if (fs::equivalent(path, path_, ec)) return Fail("不能导入正在使用的数据库！"), 0;
  MRecordBase source;
  if (source.Open(path) != 0) return Fail("无法打开导入的数据库文件！"), 0;
  if (!source.HasBaseType(kBaseType)) return Fail("不是相同的数据库类型，无法导入！"), 0;
  std::vector<std::string> categories;
  if (!GetClassNames(categories)) {
    if (lastError_.empty()) lastError_ = "无法读取案例类别！";
    return 0;
  }
  if (!source.BeginBatch()) return Fail(source.lastError()), 0;
  if (!BeginBatch()) return source.EndBatch(), 0;

  const std::string folder = RemarkFolder();
  base::EnsureDirectory(folder);
  const int total = source.GetPrimaryId();
  ProgressLine line(progress, "导入进度：", total);
  int count = 0;
  std::string firstFailure;
  for (int id = 1; id <= total; ++id) {
    TRecordData record;
    if (!source.ReadInBatch(id, record)) continue;
    if (InsertInBatch(record) >= 0) {
      ++count;
      AddCategory(categories, record.className);
      auto remarkPath = RemarkFilePath(folder, record.remarkFile);
      if (IsPlaceholderRemarkName(record.remarkFile) || !remarkPath || fs::exists(*remarkPath, ec)) {
        const RemarkName fresh = FreeRemarkName(record, false);
        record.remarkFile = fresh.baseName;
        UpdateInBatch(record.id, record);
        remarkPath = fresh.fullPath;
      }
      if (!WriteRemarkFromPlainText(*remarkPath, record.remarkText)) {
        if (remarkWriteFailures_++ == 0) firstFailure = *remarkPath;
      }
    }
    line.Update(count);
  }
  source.EndBatch();
  if (!EndBatch()) return 0;  // nothing was committed
  if (count > 0) SetClassNames(categories);
  if (count == 0 && lastError_.empty()) lastError_ = "导入的数据库中没有案例！";
  if (remarkWriteFailures_ > 0) lastError_ = "无法写入评语文件：" + firstFailure;
  return count;
}

int MRecordBase::ExportTo(const std::string& path, const std::vector<std::string>& categories, bool exportAll,
                          const ProgressCallback& progress) {
  MRecordBase target;
  if (target.Open(path) != 0) return Fail(target.lastError()), 0;
  if (!target.BeginBatch()) return Fail(target.lastError()), 0;
  if (!BeginBatch()) return target.EndBatch(), 0;
  ProgressLine line(progress, "导出进度：", counter_);
  std::vector<std::string> used;
  int count = 0;
  for (int id = 0; id <= counter_; ++id) {
    TRecordData record;
    if (!ReadInBatch(id, record)) continue;
    if (!exportAll && !ContainsCategory(categories, record.className)) continue;
    if (target.InsertInBatch(record) >= 0) {
      ++count;
      AddCategory(used, record.className);
    }
    line.Update(count);
  }
  EndBatch();
  if (!target.EndBatch()) return Fail(target.lastError()), 0;
  if (count > 0) {
    target.SetClassNames(used);
    line.Show(100);
  }
  return count;
}

int MRecordBase::Compact(const ProgressCallback& progress) {
  const std::string backPath =
      (fs::path(path_).parent_path() / (std::string(kDatabaseWord) + "_back.db")).string();
  // A compaction file left by an interrupted run holds nothing the database lacks.
  auto cleanUp = [&] {
    RemoveQuietly(backPath);
    RemoveJournalOf(backPath);
  };
  cleanUp();
  int count = 0;
  std::vector<std::string> used;
  {
    MRecordBase back;
    if (back.Open(backPath) != 0) return cleanUp(), Fail(back.lastError()), 0;
    if (!back.BeginBatch()) return cleanUp(), Fail(back.lastError()), 0;
    if (!BeginBatch()) return back.EndBatch(), cleanUp(), 0;
    ProgressLine line(progress, "整理进度：", counter_);
    for (int id = 1; id <= counter_; ++id) {
      TRecordData record;
      if (!ReadInBatch(id, record)) continue;
      if (back.InsertInBatch(record) >= 0) {
        ++count;
        AddCategory(used, record.className);
      }
      line.Update(count);
    }
    EndBatch();
    if (!back.EndBatch() || !back.SetClassNames(used)) return cleanUp(), Fail(back.lastError()), 0;
  }
  {
    // The new file replaces the old one only once it reads back complete.
    MRecordBase check;
    if (check.Open(backPath) != 0 || check.GetPrimaryId() != count || check.CountCases() != count ||
        !check.HasBaseType(kBaseType)) {
      cleanUp();
      return Fail("整理后的数据库校验失败，原数据库没有改动！"), 0;
    }
  }
  RemoveJournalOf(path_);
  std::error_code ec;
  fs::rename(backPath, path_, ec);
  if (ec) return cleanUp(), Fail("无法更改文件名！"), 0;
  counter_ = count;
  if (progress) progress("整理进度：100％");
  return count;
}

}  // namespace quorin::cases

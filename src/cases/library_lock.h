// SPDX-License-Identifier: GPL-3.0-or-later
// Coordinates the programs that share one case library: the window, quorin-cli, a second window.
//
// A lock file beside the database carries an advisory lock and the library's generation.
// Ordinary writes (a save, a delete, a move, the category list) hold the lock shared, so they run
// side by side and SQLite orders them; whole-library operations (compaction, restore, import,
// backup, the remark rebuild, deleting all) hold it exclusively, so no save falls between their
// reading and their replacing of files. The lock goes with the process: a killed program never
// leaves the library locked.
//
// The generation counts the operations that renumber or replace the cases (compaction, restore,
// deleting all). A program that read its case ids under an older generation must not write by
// those ids any more: they may now name other cases.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace quorin::cases {

class LibraryLock {
 public:
  enum class Mode { kShared, kExclusive };

  LibraryLock() = default;
  explicit LibraryLock(std::string path) : path_(std::move(path)) {}
  ~LibraryLock();
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;

  // The lock file of a database: "Orlune.db" → "Orlune.db.lock".
  static std::string PathFor(const std::string& databasePath) { return databasePath + ".lock"; }

  // Takes the lock, waiting at most `patience` for other programs to let go. A lock file that
  // cannot be made (a read-only or missing folder, where nothing can be written) counts as taken.
  // False when another program held it all that time.
  [[nodiscard]] bool Acquire(Mode mode, std::chrono::milliseconds patience);
  // Without waiting.
  [[nodiscard]] bool TryAcquire(Mode mode) { return Acquire(mode, std::chrono::milliseconds(0)); }
  void Release();
  // Lets go and points at another lock file.
  void Reset(std::string path) {
    Release();
    path_ = std::move(path);
  }
  bool Held() const { return held_; }
  Mode HeldMode() const { return mode_; }

  // The generation stored in the lock file, 0 for a new library; nullopt without a lock file.
  // Read while the lock is held.
  [[nodiscard]] std::optional<std::int64_t> Generation() const;
  // Counts one more renumbering or replacing operation; only under the exclusive lock.
  [[nodiscard]] bool AdvanceGeneration();

 private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
  Mode mode_ = Mode::kShared;
};

// How long an ordinary save waits for a whole-library operation of another program, and how long
// such an operation waits for saves in progress, before saying what is happening.
inline constexpr std::chrono::milliseconds kSavePatience{5000};
inline constexpr std::chrono::milliseconds kWholeLibraryPatience{10000};

inline constexpr const char* kLibraryBusyForSave =
    "另一个程序正在整理、还原、导入或备份案例库，请稍后再保存。";
inline constexpr const char* kLibraryBusyForWhole = "另一个程序正在使用案例库，请等它完成后再试。";
inline constexpr const char* kLibraryChanged =
    "案例库已被另一个程序整理、还原或删除，案例编号已经改变，请刷新显示或重新打开软件后再试。";

}  // namespace quorin::cases

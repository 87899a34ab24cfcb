// SPDX-License-Identifier: GPL-3.0-or-later
// Operations on a whole case library — backup, restore, import, export, compaction, the remark
// rebuild, deleting all — and settling what a killed program left half done.
//
// The archive works through the store it is given (its connection, lock and counter) and fails
// as the store does: false or nullopt, with the message in the store's lastError(). Each
// operation holds the library lock exclusively while it runs, and one that moves files writes
// down what it will do first, so that the next program to open the library can finish or undo it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cases/record_base.h"

namespace quorin::cases {

class LibraryArchive {
 public:
  explicit LibraryArchive(MRecordBase& store) : store_(store) {}

  // The operations of the same names of MRecordBase, which hands them here.
  [[nodiscard]] bool Backup(const std::string& destination);
  [[nodiscard]] bool Restore(const std::string& source);
  [[nodiscard]] bool RebuildRemarkFiles();
  [[nodiscard]] bool DeleteAll();
  [[nodiscard]] std::optional<int> ImportFrom(const std::string& path, const ProgressCallback& progress);
  [[nodiscard]] std::optional<int> ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                            bool exportAll, const ProgressCallback& progress);
  [[nodiscard]] std::optional<int> Compact(const ProgressCallback& progress);

  // Finishes or undoes a restore or an import that a killed program left half done, and removes
  // the work files of those that had not begun to move anything. Under the exclusive lock.
  void SettleInterruptedWork();

 private:
  // The one loop that copies the library's cases, every stored one in id order, into another
  // store's batch: those `wanted` accepts. `counted` hears the number copied so far. The number
  // copied; nothing, with the message in the store, when a case cannot be read or stored.
  [[nodiscard]] std::optional<int> CopyCases(MRecordBase& target, const std::function<bool(const TRecordData&)>& wanted,
                                             const std::function<void(const TRecordData&, int count)>& counted);
  // Opens the source of an import for reading only, as this format's file: case_data a plain
  // table and case_extra, when present, one of the same base type. A file whose case_extra went
  // missing still counts; its cases are reachable. Values too large to read are refused by the
  // source's scans before they are read.
  [[nodiscard]] bool OpenImportSource(MRecordBase& source, const std::string& path);
  // Keeps writers of other programs off the database while it is copied or replaced; false, with
  // the store's message, when another program is using the file.
  [[nodiscard]] bool HoldWriters(SqliteConnection& hold);
  void AdvanceGeneration();

  MRecordBase& store_;
};

}  // namespace quorin::cases

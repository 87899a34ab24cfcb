// SPDX-License-Identifier: GPL-3.0-or-later
// The case library as the windows use it, whichever it is: the local one (MRecordBase, a database
// file with a folder of remark files) or the shared one of a practice (SharedLibrary, in
// PostgreSQL). Both keep the same cases, categories and remarks; only the shared one has versions,
// other users and roles that may only read.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cases/case_reader.h"
#include "chart/record_data.h"

namespace quorin::cases {

struct CaseSearchCriteria;

// A case with its remark (RTF or plain text bytes; empty for none) and the version it was read at
// (always 0 in the local library, which has none).
struct StoredCase {
  TRecordData record;
  std::string remarkRtf;
  int version = 0;
};

// How a save or removal by id ended.
enum class CaseSave { kSaved, kChangedByAnother, kMissing, kFailed };

// Opens a reader of its own on the same library, for a worker thread; null with `error` set when
// it cannot.
using CaseReaderOpener = std::function<std::unique_ptr<CaseReader>(std::string& error)>;

class CaseStore : public CaseReader {
 public:
  // Why the last call failed; empty after one that succeeded.
  virtual const std::string& lastError() const = 0;
  // What the window's title names: the database file, or user@server/database.
  virtual std::string Description() const = 0;
  virtual bool IsShared() const = 0;
  // Whether this user may change the library (nullopt when that cannot be asked).
  [[nodiscard]] virtual std::optional<bool> CanWrite() = 0;

  // The id counter: the last id given. Stale() tells that another program renumbered the cases
  // since the store last looked; Resync() takes the library as it is now.
  virtual int GetPrimaryId() const = 0;
  [[nodiscard]] virtual bool Stale() = 0;
  [[nodiscard]] virtual bool Resync() = 0;

  [[nodiscard]] virtual bool GetClassNames(std::vector<std::string>& names) = 0;
  [[nodiscard]] virtual bool SetClassNames(const std::vector<std::string>& names) = 0;

  // The case with its remark, or nullopt: missing (lastError() empty) or a failure.
  [[nodiscard]] virtual std::optional<StoredCase> ReadStored(int id) = 0;
  // Stores a new case with its remark; its id (also set in `record`, with its remark name).
  [[nodiscard]] virtual std::optional<int> InsertCase(TRecordData& record, std::string_view remarkRtf) = 0;
  // Rewrites the case and its remark when it still has `version` (then the new one).
  [[nodiscard]] virtual CaseSave UpdateCase(int id, const TRecordData& record, std::string_view remarkRtf,
                                            int& version) = 0;
  // Deletes the case and its remark when it still has `version`.
  [[nodiscard]] virtual CaseSave RemoveCase(int id, int version) = 0;
  // Deletes the cases (a category's); the ids that could not be deleted (the shared library deletes
  // all or none).
  [[nodiscard]] virtual std::vector<int> RemoveCases(const std::vector<int>& ids) = 0;
  // Moves the cases to the category in one transaction; the ids moved.
  [[nodiscard]] virtual std::optional<std::vector<int>> MoveCasesToCategory(const std::vector<int>& ids,
                                                                           const std::string& category) = 0;

  // Gives every case of the category `from` the name `to`, a new one, in one transaction (also the
  // cases other users add meanwhile); the ids renamed, increasing.
  [[nodiscard]] virtual std::optional<std::vector<int>> RenameCategory(const std::string& from, const std::string& to) = 0;
  // The ids of the category's cases, in increasing order.
  [[nodiscard]] virtual std::optional<std::vector<int>> CategoryCaseIds(const std::string& category) = 0;

  // Searches over every case; ids in increasing order.
  [[nodiscard]] virtual std::optional<std::vector<int>> FuzzySearch(const std::vector<std::string>& keywords) = 0;
  [[nodiscard]] virtual std::optional<std::vector<int>> Search(const CaseSearchCriteria& criteria) = 0;

  // How a worker thread reads the same library through a connection of its own.
  virtual CaseReaderOpener ReaderOpener() const = 0;
};

}  // namespace quorin::cases

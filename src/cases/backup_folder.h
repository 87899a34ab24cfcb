// SPDX-License-Identifier: GPL-3.0-or-later
// The backup folder every library writes and restores from, the local and the shared one alike:
// the database file, the remark folder with the remark files, and save.txt in it, written last.
// It is made under its final name plus ".未完成-" and a random part, and takes its name when whole.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorin::cases {

// The database file of a backup folder (`folder` ends in '/').
std::string BackupDatabasePath(const std::string& folder);

// A backup folder being made.
struct UnfinishedBackup {
  std::string target;  // the final name, without a trailing separator
  std::string folder;  // the folder written meanwhile, ending in '/'
};

// Makes the folder for a backup to `destination`; nothing, with the refusal in `refusal`, when the
// destination is taken or no folder can be made there.
std::optional<UnfinishedBackup> BeginBackupFolder(const std::string& destination, std::string& refusal);
// Puts everything on disk, writes the marker (then calls `marked`) and gives the folder its final
// name; the refusal, or empty. The caller removes the folder after a refusal.
std::string FinishBackupFolder(const UnfinishedBackup& backup, const std::function<void()>& marked = {});

// The remark files of a whole backup folder (`folder` ends in '/'); nothing, with the refusal in
// `refusal`, for a folder that is not one: no database, no remark folder or file, no marker, or a
// remark file cut short.
std::optional<std::vector<std::filesystem::path>> WholeBackupRemarks(const std::string& folder, std::string& refusal);

}  // namespace quorin::cases

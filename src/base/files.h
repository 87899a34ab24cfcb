// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::base {

// The folder of the user's data, always ending in '/'. Every data path (dat/, skins/,
// Orlune_f/) is built from it. It is the executable's folder unless UseDataLocation
// (data_location.h) or SetProgramFolder points it elsewhere.
std::string ProgramFolder();
// Points the program at another folder (tests, `quorin-cli --program-dir`).
void SetProgramFolder(std::string folder);
// The folder of the running executable, ending in '/'.
std::string ExecutableFolder();
// The folder with a trailing separator added when missing.
std::string WithTrailingSeparator(std::string folder);

[[nodiscard]] std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so readers see either the old or the new file, never a half-written one; the
// folder is flushed too, so the new name survives a power cut. On failure the old file is
// untouched and `error` says why.
[[nodiscard]] bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Creates a file that must not exist yet and writes it without flushing: for many files that
// one SyncFileSystemOf then makes durable together.
[[nodiscard]] bool WriteNewFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);
// Flushes everything written to the file system that holds `path`.
[[nodiscard]] bool SyncFileSystemOf(const std::string& path);
// Flushes a folder's entries (names created, renamed or removed in it). Where a later step does
// not depend on it, a failure only means the entries reach the disk later.
bool SyncDirectory(const std::string& folder);
// The size of a regular file; nullopt when it cannot be read.
[[nodiscard]] std::optional<std::uintmax_t> FileSize(const std::string& path);

// Work files and folders: a name made of a prefix, RandomName() and a suffix is new each time,
// so a file or folder the user made is never taken for one.
inline constexpr std::size_t kRandomNameLength = 16;
// Sixteen lowercase hexadecimal digits from the system's random source.
std::string RandomName();
// Whether `name` is prefix + a RandomName + suffix.
bool IsRandomlyNamed(std::string_view name, std::string_view prefix, std::string_view suffix = {});
// A folder made by this call (never one that was there) named prefix + RandomName() in `parent`
// (which ends in '/'); its path ending in '/', empty when none can be made.
[[nodiscard]] std::string NewRandomlyNamedFolder(const std::string& parent, std::string_view prefix);
// A copy of `source` made by this call at pathPrefix + RandomName(); its path, empty when none
// can be made.
[[nodiscard]] std::string NewRandomlyNamedCopy(const std::string& source, const std::string& pathPrefix);
// The entries of a folder named IsRandomlyNamed(prefix, suffix): its folders, or its regular
// files; never a link.
std::vector<std::filesystem::path> RandomlyNamedEntries(const std::string& folder, std::string_view prefix,
                                                        std::string_view suffix, bool folders);
// The regular files of a folder whose extension is `extension` (".rtf") in any case of its
// letters, as Windows matches a pattern; in name order.
std::vector<std::filesystem::path> FilesWithExtension(const std::string& folder, std::string_view extension);
// Copies files into a folder, replacing files of the same name; false at the first that fails.
[[nodiscard]] bool CopyFilesInto(const std::vector<std::filesystem::path>& files, const std::string& folder);
// Renames, never over anything at the target (one atomic step).
[[nodiscard]] bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Removes a file, or a folder with all it holds, saying nothing of what could not go.
void RemoveQuietly(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
[[nodiscard]] bool EnsureDirectory(const std::string& path);

}  // namespace quorin::base

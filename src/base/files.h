// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so readers see either the old or the new file, never a half-written one; the
// folder is flushed too, so the new name survives a power cut. On failure the old file is
// untouched and `error` says why.
bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Creates a file that must not exist yet and writes it without flushing: for many files that
// one SyncFileSystemOf then makes durable together.
bool WriteNewFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);
// Flushes everything written to the file system that holds `path`.
bool SyncFileSystemOf(const std::string& path);
// Flushes a folder's entries (names created, renamed or removed in it).
bool SyncDirectory(const std::string& folder);
// The size of a regular file; nullopt when it cannot be read.
std::optional<std::uintmax_t> FileSize(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& path);

}  // namespace quorin::base

// The program folder and whole-file reads and writes.
#pragma once

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
// `path`, so readers see either the old or the new file, never a half-written one.
// On failure the old file is untouched and `error` says why.
bool AtomicWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and its parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& path);

}  // namespace quorin::base

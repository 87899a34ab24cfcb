// SPDX-License-Identifier: GPL-3.0-or-later
// INI files as Windows writes them: GBK text, [section] headers, key=value lines.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorin::base {

// Reads and writes one INI file. Names of sections and keys compare without regard
// to ASCII case; keys keep their order in the file. A missing file, section or key
// yields the caller's default. Every write goes to disk at once, through a
// temporary file and a rename, and keeps every other line of the file as it was.
class IniFile {
 public:
  explicit IniFile(std::string path);
  // Reads `readWhileMissing` as long as `path` does not exist (the shipped defaults of a file
  // the user's folder lacks); writes always go to `path`, which then holds those lines too.
  IniFile(std::string path, std::string readWhileMissing);

  const std::string& Path() const { return path_; }
  // Reads the file again (another program or object may have written it).
  void Reload();

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // ParseIntOrHex of the value (so "$FFFFFFFF" is -1); anything else yields the default.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // ParseNumber of the value; anything else yields the default.
  double ReadFloat(std::string_view section, std::string_view key, double fallback) const;
  // Stored as an integer: non-zero is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(std::string_view section) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  // Each returns false when the text cannot be written in GBK or the file cannot
  // be written; LastError() then says why and the file on disk is unchanged.
  [[nodiscard]] bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  [[nodiscard]] bool WriteInteger(std::string_view section, std::string_view key, int value);
  [[nodiscard]] bool WriteFloat(std::string_view section, std::string_view key, double value);
  [[nodiscard]] bool WriteBool(std::string_view section, std::string_view key, bool value);
  [[nodiscard]] bool DeleteKey(std::string_view section, std::string_view key);
  [[nodiscard]] bool EraseSection(std::string_view section);

  const std::string& LastError() const { return lastError_; }

 private:
  struct Line {
    std::string raw;      // GBK bytes as in the file, without the line break
    std::string section;  // lower-cased UTF-8 name for a header line
    std::string key;      // lower-cased UTF-8 key for a key line
    bool isHeader = false;
    bool isKey = false;
  };
  struct Located {
    int header = -1;    // line of the section header, -1 when missing
    int end = -1;       // one past the last key line of the section
    int keyLine = -1;   // line of the key, -1 when missing
  };

  void Parse(std::string_view bytes);
  static void Classify(Line& line);
  Located Locate(std::string_view section, std::string_view key) const;
  const Line* FindKey(std::string_view section, std::string_view key) const;
  bool Save();
  bool Fail(std::string message);

  std::string path_;
  std::string readWhileMissing_;
  std::vector<Line> lines_;
  bool crlf_ = true;  // Windows line breaks unless the file has its own
  std::string lastError_;
};

}  // namespace quorin::base

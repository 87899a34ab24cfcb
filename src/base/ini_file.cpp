// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "base/files.h"
#include "base/gbk.h"
#include "base/text_parse.h"

namespace quorin::base {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Value text of a key line: trimmed, with one pair of surrounding quotes removed.
std::string_view ValueOf(std::string_view raw) {
  const auto eq = raw.find('=');
  std::string_view value = Trim(raw.substr(eq + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view KeyOf(std::string_view raw) { return Trim(raw.substr(0, raw.find('='))); }

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) { Reload(); }

IniFile::IniFile(std::string path, std::string readWhileMissing)
    : path_(std::move(path)), readWhileMissing_(std::move(readWhileMissing)) {
  Reload();
}

void IniFile::Reload() {
  auto bytes = ReadFileBytes(path_);
  if (!bytes && !readWhileMissing_.empty() && !FileExists(path_)) bytes = ReadFileBytes(readWhileMissing_);
  Parse(bytes ? *bytes : std::string());
}

void IniFile::Parse(std::string_view bytes) {
  lines_.clear();
  crlf_ = true;
  const auto firstBreak = bytes.find('\n');
  if (firstBreak != std::string_view::npos && (firstBreak == 0 || bytes[firstBreak - 1] != '\r')) {
    crlf_ = false;
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    auto end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view text = bytes.substr(start, end - start);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    Line line{std::string(text), {}, {}, false, false};
    Classify(line);
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

void IniFile::Classify(Line& line) {
  const std::string_view text = Trim(line.raw);
  line.isHeader = line.isKey = false;
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[') {
    const auto close = text.find(']');
    if (close == std::string_view::npos) return;
    line.isHeader = true;
    line.section = Lower(GbkToUtf8(Trim(text.substr(1, close - 1))));
    return;
  }
  if (text.find('=') == std::string_view::npos) return;
  line.isKey = true;
  line.key = Lower(GbkToUtf8(KeyOf(text)));
}

// Finds the first section of that name (as Windows does) and the key inside it.
IniFile::Located IniFile::Locate(std::string_view section, std::string_view key) const {
  Located where;
  const std::string wantSection = Lower(section);
  const std::string wantKey = Lower(key);
  const int count = static_cast<int>(lines_.size());
  for (int i = 0; i < count; ++i) {
    if (lines_[i].isHeader && lines_[i].section == wantSection) {
      where.header = i;
      where.end = i + 1;
      for (int j = i + 1; j < count && !lines_[j].isHeader; ++j) {
        if (!lines_[j].isKey) continue;
        where.end = j + 1;
        if (where.keyLine < 0 && lines_[j].key == wantKey) where.keyLine = j;
      }
      break;
    }
  }
  return where;
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
  const Located where = Locate(section, key);
  return where.keyLine >= 0 ? &lines_[where.keyLine] : nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const Line* line = FindKey(section, key);
  return line ? GbkToUtf8(ValueOf(line->raw)) : std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const Line* line = FindKey(section, key);
  return line ? ParseIntOrHex(ValueOf(line->raw)).value_or(fallback) : fallback;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  const Line* line = FindKey(section, key);
  return line ? ParseNumber(ValueOf(line->raw)).value_or(fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (!line.isHeader) continue;
    const std::string_view text = Trim(line.raw);
    names.push_back(GbkToUtf8(Trim(text.substr(1, text.find(']') - 1))));
  }
  return names;
}

std::vector<std::string> IniFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  for (auto& [key, value] : ReadSectionValues(section)) keys.push_back(std::move(key));
  return keys;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> values;
  const Located where = Locate(section, {});
  if (where.header < 0) return values;
  for (int i = where.header + 1; i < where.end; ++i) {
    if (lines_[i].isKey) {
      const std::string_view text = Trim(lines_[i].raw);
      values.emplace_back(GbkToUtf8(KeyOf(text)), GbkToUtf8(ValueOf(text)));
    }
  }
  return values;
}

bool IniFile::SectionExists(std::string_view section) const { return Locate(section, {}).header >= 0; }

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string error;
  const auto gbkSection = Utf8ToGbk(section, &error);
  const auto gbkKey = gbkSection ? Utf8ToGbk(key, &error) : std::nullopt;
  const auto gbkValue = gbkKey ? Utf8ToGbk(value, &error) : std::nullopt;
  if (!gbkValue) return Fail(error);
  if (gbkKey->empty() || gbkKey->find_first_of("=\r\n") != std::string::npos ||
      gbkSection->find_first_of("[]\r\n") != std::string::npos || gbkValue->find_first_of("\r\n") != std::string::npos) {
    return Fail("设置项名称或内容含有不能写入的字符");
  }
  Reload();  // keep what others wrote since we read the file
  Line line{*gbkKey + "=" + *gbkValue, {}, {}, false, false};
  Classify(line);
  const Located where = Locate(section, key);
  if (where.keyLine >= 0) {
    // Keep the key as the file spells it.
    line.raw = std::string(KeyOf(lines_[where.keyLine].raw)) + "=" + *gbkValue;
    lines_[where.keyLine] = std::move(line);
  } else if (where.header >= 0) {
    lines_.insert(lines_.begin() + where.end, std::move(line));
  } else {
    Line header{"[" + *gbkSection + "]", {}, {}, false, false};
    Classify(header);
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
  }
  return Save();
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return WriteString(section, key, buffer);
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
  Reload();
  const Located where = Locate(section, key);
  if (where.keyLine < 0) return true;
  lines_.erase(lines_.begin() + where.keyLine);
  return Save();
}

bool IniFile::EraseSection(std::string_view section) {
  Reload();
  const Located where = Locate(section, {});
  if (where.header < 0) return true;
  int end = where.header + 1;
  while (end < static_cast<int>(lines_.size()) && !lines_[end].isHeader) ++end;
  lines_.erase(lines_.begin() + where.header, lines_.begin() + end);
  return Save();
}

bool IniFile::Save() {
  std::string bytes;
  for (const Line& line : lines_) {
    bytes += line.raw;
    bytes += crlf_ ? "\r\n" : "\n";
  }
  std::string error;
  if (!AtomicWriteFile(path_, bytes, &error)) {
    Reload();  // the file on disk is unchanged; so is our copy
    return Fail(error);
  }
  lastError_.clear();
  return true;
}

bool IniFile::Fail(std::string message) {
  lastError_ = std::move(message);
  return false;
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/remark_files.h"

#include <cstdio>

#include "base/files.h"
#include "base/gbk.h"
#include "base/rtf_reader.h"
#include "base/rtf_writer.h"

namespace quorin::cases {

std::string RemarkFolderOf(const std::string& programFolder) {
  return base::WithTrailingSeparator(programFolder) + std::string(kDatabaseWord) + "_f/";
}

std::optional<std::string> RemarkFilePath(const std::string& remarkFolder, std::string_view remarkFile) {
  if (remarkFile.empty() || remarkFile == "." || remarkFile == ".." ||
      remarkFile.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) {
    return std::nullopt;
  }
  return remarkFolder + std::string(remarkFile) + ".rtf";
}

std::string RemarkBaseName(const TRecordData& record) {
  // Only characters that would make the name a path are dropped; names are cleaned before they are stored.
  std::string name;
  for (const char c : record.name) {
    if (c != '/' && c != '\\' && c != '\0') name += c;
  }
  char moment[64];
  std::snprintf(moment, sizeof moment, "_%04d%02d%02d%02d%02d", record.year, record.month, record.day, record.hour,
                record.minute);
  return name + moment;
}

bool IsPlaceholderRemarkName(std::string_view remarkFile) {
  return remarkFile == "n" || remarkFile.find_first_not_of(' ') == std::string_view::npos;
}

base::RichCharFormat DefaultRemarkFormat() { return base::RichCharFormat{}; }

std::string RemarkRtfFromPlainText(std::string_view plainText) {
  return base::WriteRtf(base::RichDocument::FromPlainText(plainText, DefaultRemarkFormat()));
}

bool WriteRemarkFromPlainText(const std::string& path, std::string_view plainText) {
  return base::AtomicWriteFile(path, RemarkRtfFromPlainText(plainText));
}

std::string RemarkTooLargeMessage(std::string_view caseName, const std::string& path) {
  return "案例“" + std::string(caseName) + "”的评语文件超过" + std::to_string(kMaxRemarkBytes >> 20) +
         "MB，不予读取：" + path;
}

std::optional<std::string> ReadRemarkPlainText(const std::string& path) {
  if (base::FileSize(path).value_or(0) > kMaxRemarkBytes) return std::nullopt;
  const auto bytes = base::ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return RemarkPlainText(*bytes);
}

std::string RemarkPlainText(std::string_view bytes) {
  if (const auto document = base::ReadRtf(bytes)) return document->PlainText();
  const std::string text = base::GbkToUtf8(bytes);
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // Windows line ends
    lines += text[i];
  }
  return lines;
}

}  // namespace quorin::cases

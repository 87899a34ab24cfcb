// SPDX-License-Identifier: GPL-3.0-or-later
// The remark files of cases: one RTF file per case in the remark folder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/rich_text.h"
#include "chart/record_data.h"

namespace quorin::cases {

inline constexpr std::string_view kDatabaseWord = "Orlune";  // dat/Orlune.db, Orlune_f/, Orlune_back.db
inline constexpr std::string_view kRemarkExtension = ".rtf";  // of every remark file

// The remark folder inside a program folder ("…/Orlune_f/").
std::string RemarkFolderOf(const std::string& programFolder);

// The full path of a remark file in the folder, or nullopt when the stored base name
// could leave the folder or name no file (empty, "." or "..", a path separator, NUL):
// such names come only from damaged or hostile databases.
std::optional<std::string> RemarkFilePath(const std::string& remarkFolder, std::string_view remarkFile);

// The remark name a case starts from: its name and moment ("张三_201005060708"), before
// a suffix makes it free.
std::string RemarkBaseName(const TRecordData& record);

// Whether a stored remark name is the placeholder of a record never saved ("n" or blank),
// which stands for no file of the case's own.
bool IsPlaceholderRemarkName(std::string_view remarkFile);

// The format remarks made from plain text get: what a new remark editor shows.
base::RichCharFormat DefaultRemarkFormat();

// Plain text as the RTF of a remark made from it.
std::string RemarkRtfFromPlainText(std::string_view plainText);
// Writes plain text as an RTF remark file (replacing it atomically); false when it cannot.
[[nodiscard]] bool WriteRemarkFromPlainText(const std::string& path, std::string_view plainText);

// Far above any remark a person writes (a long one is some tens of kilobytes); a larger remark
// file or text is refused before it is read whole.
inline constexpr std::size_t kMaxRemarkBytes = 16u << 20;
// The refusal of a remark file over kMaxRemarkBytes, naming the case.
std::string RemarkTooLargeMessage(std::string_view caseName, const std::string& path);

// The plain text of a remark file: RTF through the reader, anything else as GBK text. Nothing
// for a file that cannot be read or is larger than kMaxRemarkBytes (its size is looked at first).
[[nodiscard]] std::optional<std::string> ReadRemarkPlainText(const std::string& path);
// The same of a remark's bytes (a shared library keeps them in the database).
std::string RemarkPlainText(std::string_view bytes);

}  // namespace quorin::cases

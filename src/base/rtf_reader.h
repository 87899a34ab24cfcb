// SPDX-License-Identifier: GPL-3.0-or-later
// Reads Rich Text Format into the rich-text model. Built for the files a Windows
// rich-edit control writes (code page 936, \'hh GBK bytes, \uN escapes), and for
// hostile input: it never fails on malformed RTF, never recurses, and every step
// consumes input, so it cannot crash or hang; whatever text can be recovered is kept.
#pragma once

#include <optional>
#include <string_view>

#include "base/rich_text.h"

namespace quorin::base {

// True when the bytes begin (after white space) with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// True when RTF bytes end their outermost group: a file cut short (a copy or a write that was
// interrupted) does not.
bool IsCompleteRtf(std::string_view bytes);

// The document held by the RTF bytes; nullopt when the bytes are not RTF at all.
// Unknown destinations (\*, pictures, objects, style sheet, document info, field
// instructions) are skipped; font and colour tables are read for the runs' formats.
// Control characters other than the tab are dropped, as the writer drops them.
[[nodiscard]] std::optional<RichDocument> ReadRtf(std::string_view bytes);

}  // namespace quorin::base

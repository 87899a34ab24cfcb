// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a rich-text document as Rich Text Format in the dialect of a Windows
// rich-edit control: code page 936, fonts with charset 134, text as \'hh GBK
// bytes, \uN for characters GBK lacks, one \par after every paragraph.
#pragma once

#include <string>

#include "base/rich_text.h"

namespace quorin::base {

// The RTF bytes of the document (7-bit ASCII throughout).
std::string WriteRtf(const RichDocument& document);

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' names for the rich-text conversions, which live in qtdraw so that
// quorin-cli reads remarks without the window library.
#pragma once

#include "qtdraw/rich_text_document.h"

namespace quorin::ui {

using qtdraw::FillTextDocument;
using qtdraw::PlainTextWithCrLf;
using qtdraw::ToRichDocument;

}  // namespace quorin::ui

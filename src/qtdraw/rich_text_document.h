// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text model of remark files and saved texts, to and from a Qt text document
// (Qt Gui only: the windows and quorin-cli's date sheet share it).
#pragma once

#include <QTextCharFormat>

#include "base/rich_text.h"

class QTextDocument;

namespace quorin::qtdraw {

// The document's paragraphs and runs with their attributes. Characters without their
// own size take `defaultPointSize`.
base::RichDocument ToRichDocument(const QTextDocument& document, double defaultPointSize);

// Replaces the document's content with `rich`; runs keep their own attributes, and
// runs without a colour take `defaults`' colour.
void FillTextDocument(QTextDocument& document, const base::RichDocument& rich, const QTextCharFormat& defaults);

// Plain text as a Windows editor saves it: "\r\n" between lines.
QString PlainTextWithCrLf(const QTextDocument& document);

}  // namespace quorin::qtdraw

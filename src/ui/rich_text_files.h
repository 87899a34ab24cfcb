// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text editors' files: RTF written from an editor, and RTF or GBK plain
// text read into one.
#pragma once

#include <QTextCharFormat>
#include <string>

class QTextEdit;

namespace quorin::ui {

// The editor's content as an RTF file's bytes.
std::string EditorRtf(const QTextEdit& editor);

// Adds a file's text to the editor at its end: as rich text when it holds RTF, as GBK
// plain text otherwise; text without its own attributes takes `defaults`. False when
// the file cannot be read.
bool LoadTextFile(QTextEdit& editor, const std::string& path, const QTextCharFormat& defaults);
// The same for a remark's bytes as the library keeps them.
bool LoadRemarkText(QTextEdit& editor, const std::string& bytes, const QTextCharFormat& defaults);

}  // namespace quorin::ui

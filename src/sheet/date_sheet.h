// SPDX-License-Identifier: GPL-3.0-or-later
// The date sheet (日课单): the chart on screen as a printed document for the client —
// title, header lines, the chart picture drawn as vector text and lines, 日课分析 in
// its colours, 常用神煞, the remark, and a footer with the date of issue and the page
// numbers. Qt Gui only, so quorin-cli writes the same sheet as the window.
#pragma once

#include <QDate>
#include <string>

class QPagedPaintDevice;
class QTextDocument;

namespace quorin::chart {
class MQuorinDay;
}

namespace quorin::sheet {

// What goes on the sheet besides the chart itself.
struct DateSheetExtras {
  const QTextDocument* remark = nullptr;  // nothing, or an empty text: no remark section
  QDate issued;                           // the date of issue in the footer
};

// A4 portrait with print margins; a printer keeps the paper its dialog chose.
void UseDateSheetPage(QPagedPaintDevice& device, bool keepPaper = false);

// Lays the sheet of the engine's chart out on the device's pages: the picture as it
// stands, selection and line flips included; the engine itself is left untouched.
// False when the device cannot be painted on.
bool PaintDateSheet(QPagedPaintDevice& device, const chart::MQuorinDay& engine, const DateSheetExtras& extras);

// Writes the sheet as a PDF file (fonts embedded), replacing the file only once it
// is complete. False, with `error` saying why, when the file cannot be written.
bool WriteDateSheetPdf(const std::string& path, const chart::MQuorinDay& engine, const DateSheetExtras& extras,
                       std::string* error);

// A remark file as the remark editor reads it: RTF, or plain text (UTF-8, else GBK as
// the program saves it). False when the file cannot be read.
bool ReadRemarkFile(const std::string& path, QTextDocument& into);

}  // namespace quorin::sheet

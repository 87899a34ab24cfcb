// SPDX-License-Identifier: GPL-3.0-or-later
// The date sheet (日课单) commands of the main window: export as PDF and print.
#pragma once

namespace quorin::ui {

class TFrmMain;

// "导出日课单(PDF)...": asks for a file (".pdf" added when missing), asks before
// replacing one, and writes the sheet of the chart on screen with the remark.
void ExportDateSheet(TFrmMain& window);
// "打印日课单...": the print dialog, then the same sheet on the printer.
void PrintDateSheet(TFrmMain& window);

}  // namespace quorin::ui

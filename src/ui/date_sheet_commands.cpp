// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/date_sheet_commands.h"

#include <QPrinter>
#include <QTextEdit>
#include <filesystem>

#include "chart/quorin_day.h"
#include "sheet/date_sheet.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_text.h"

namespace quorin::ui {

namespace {

// Both commands print the chart on screen; without one there is nothing to hand out.
bool HasChart(TFrmMain& window) {
  if (window.ChartShown()) return true;
  Tell(&window, UiText::tr("请先排一个正确的盘！"), UiText::tr("先排盘"), Icon::Information);
  return false;
}

sheet::DateSheetExtras Extras(TFrmMain& window) { return {&window.RemarkDocument(), QDate::currentDate()}; }

}  // namespace

void ExportDateSheet(TFrmMain& window) {
  if (!HasChart(window)) return;
  const FileRequest request{UiText::tr("导出日课单"), {{UiText::tr("PDF文件"), QStringLiteral("*.pdf")}}, 0};
  const std::optional<FileChoice> choice = Prompts().SaveFile(&window, request);
  if (!choice) return;
  QString name = choice->path;
  if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += QStringLiteral(".pdf");
  const std::string path = ToUtf8(name);
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !AskYesNo(&window, UiText::tr("%1 已存在，要替换它吗？").arg(name),
                                                     UiText::tr("导出日课单"), Icon::Warning, Answer::No)) {
    return;
  }
  std::string error;
  if (!sheet::WriteDateSheetPdf(path, window.Engine(), Extras(window), &error)) {
    Tell(&window, UiText::tr("无法保存文件%1：%2").arg(name, ToQString(error)), UiText::tr("错误"), Icon::Error);
    return;
  }
  Tell(&window, UiText::tr("已保存！"));
}

void PrintDateSheet(TFrmMain& window) {
  if (!HasChart(window)) return;
  QPrinter printer(QPrinter::HighResolution);
  sheet::UseDateSheetPage(printer);
  if (!Prompts().SetUpPrinter(&window, printer)) return;
  printer.setDocName(ToQString(window.Engine().Request().name) + UiText::tr(" 日课单"));
  // The dialog may have chosen other paper; the margins stay those of the sheet.
  sheet::UseDateSheetPage(printer, true);
  if (!sheet::PaintDateSheet(printer, window.Engine(), Extras(window)) || printer.printerState() == QPrinter::Error) {
    Tell(&window, UiText::tr("请检查打印机能否正常工作！"), UiText::tr("打印错误"), Icon::Error);
  }
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/save_prompts.h"

#include <filesystem>

#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_text.h"

namespace quorin::ui {

QString SavedMessage() { return UiText::tr("已保存！"); }

void ReportWriteFailure(QWidget* parent, const std::string& path, const std::string& error) {
  Tell(parent, UiText::tr("无法保存文件%1：%2").arg(ToQString(path), ToQString(error)), UiText::tr("错误"),
       Icon::Error);
}

bool MayWrite(QWidget* parent, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  return AskYesNo(parent, UiText::tr("%1 已存在，要替换它吗？").arg(ToQString(path)), UiText::tr("另存为"),
                  Icon::Warning, Answer::No);
}

}  // namespace quorin::ui

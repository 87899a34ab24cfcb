// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_prompter.h"

#include <QDebug>

namespace quorin::testing {

ScriptedPrompter::ScriptedPrompter() { ui::InstallPrompter(this); }
ScriptedPrompter::~ScriptedPrompter() { ui::InstallPrompter(nullptr); }

QStringList ScriptedPrompter::Texts() const {
  QStringList texts;
  for (const ui::Message& m : shown) texts << m.text;
  return texts;
}

void ScriptedPrompter::Clear() {
  shown.clear();
  inputPrompts.clear();
  fileRequests.clear();
  folderPrompts.clear();
  foldersShown.clear();
  unexpected = 0;
}

ui::Answer ScriptedPrompter::Ask(QWidget*, const ui::Message& message) {
  shown.append(message);
  if (message.buttons == ui::Buttons::Ok) return ui::Answer::Ok;
  if (answers.isEmpty()) {
    ++unexpected;
    qWarning() << "unscripted question:" << message.caption << message.text;
    return message.buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Cancel;
  }
  return answers.dequeue();
}

int ScriptedPrompter::Choose(QWidget*, const ui::Message& message, const QStringList&) {
  shown.append(message);
  if (choices.isEmpty()) {
    ++unexpected;
    return -1;
  }
  return choices.dequeue();
}

std::optional<QString> ScriptedPrompter::Input(QWidget*, const QString& caption, const QString& prompt,
                                               const QString&) {
  inputPrompts.append(caption + QLatin1Char('|') + prompt);
  if (inputs.isEmpty() && inputFunction) return inputFunction(caption, prompt);
  if (inputs.isEmpty()) {
    ++unexpected;
    return std::nullopt;
  }
  return inputs.dequeue();
}

std::optional<QString> ScriptedPrompter::ChooseFolder(QWidget*, const QString& prompt) {
  folderPrompts.append(prompt);
  return folders.isEmpty() ? std::nullopt : folders.dequeue();
}

void ScriptedPrompter::ShowFolder(const QString& folder) { foldersShown.append(folder); }

std::optional<ui::FileChoice> ScriptedPrompter::OpenFile(QWidget*, const ui::FileRequest& request) {
  fileRequests.append(request);
  return files.isEmpty() ? std::nullopt : files.dequeue();
}

std::optional<ui::FileChoice> ScriptedPrompter::SaveFile(QWidget*, const ui::FileRequest& request) {
  fileRequests.append(request);
  return files.isEmpty() ? std::nullopt : files.dequeue();
}

std::optional<QFont> ScriptedPrompter::ChooseFont(QWidget*, const QFont& initial) {
  lastFontAsked = initial;
  return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
}

std::optional<QColor> ScriptedPrompter::ChooseColor(QWidget*, const QColor&) {
  return colors.isEmpty() ? std::nullopt : colors.dequeue();
}

bool ScriptedPrompter::SetUpPrinter(QWidget*, QPrinter& printer) { return printSetup && printSetup(printer); }

}  // namespace quorin::testing

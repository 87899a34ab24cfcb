// SPDX-License-Identifier: GPL-3.0-or-later
// A prompter that answers from a script and records every box it was shown.
#pragma once

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>

#include "ui/prompter.h"

namespace quorin::testing {

class ScriptedPrompter final : public ui::Prompter {
 public:
  // Installs itself for the program and restores the screen prompter when it goes.
  ScriptedPrompter();
  ~ScriptedPrompter() override;

  // Answers for the coming boxes, in order. Boxes with only an OK button take no
  // answer from the queue; a Yes/No box with an empty queue is answered No and
  // counted as unexpected.
  QQueue<ui::Answer> answers;
  QQueue<std::optional<QString>> inputs;          // input boxes; empty = cancel
  QQueue<int> choices;                            // boxes of choices; empty = closed
  // Answers input boxes from their caption and prompt when `inputs` is empty.
  std::function<std::optional<QString>(const QString& caption, const QString& prompt)> inputFunction;
  QQueue<std::optional<QString>> folders;         // folder browsers; empty = cancel
  QQueue<std::optional<ui::FileChoice>> files;    // open and save dialogs
  QQueue<std::optional<QFont>> fonts;
  QQueue<std::optional<QColor>> colors;
  // The print dialog: given the printer, set it up (e.g. PDF output) and return true to print.
  std::function<bool(QPrinter&)> printSetup;

  QList<ui::Message> shown;               // every message box, in order
  QList<QString> inputPrompts;            // caption + "|" + prompt of every input box
  QList<ui::FileRequest> fileRequests;
  QStringList folderPrompts;              // the prompt of every folder browser
  QStringList foldersShown;               // folders handed to the file browser
  QFont lastFontAsked;
  int unexpected = 0;

  // The texts of the message boxes shown so far, and the last one.
  QStringList Texts() const;
  QString LastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
  void Clear();

  ui::Answer Ask(QWidget* parent, const ui::Message& message) override;
  int Choose(QWidget* parent, const ui::Message& message, const QStringList& choices) override;
  std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& initial) override;
  std::optional<ui::FileChoice> OpenFile(QWidget* parent, const ui::FileRequest& request) override;
  std::optional<ui::FileChoice> SaveFile(QWidget* parent, const ui::FileRequest& request) override;
  std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) override;
  std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) override;
  void ShowFolder(const QString& folder) override;
};

}  // namespace quorin::testing

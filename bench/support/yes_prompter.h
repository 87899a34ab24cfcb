// SPDX-License-Identifier: GPL-3.0-or-later
// A prompter for the window benchmarks: every question is answered Yes, so windows
// close without a person; every other box is cancelled.
#pragma once

#include "ui/prompter.h"

namespace quorin::bench {

class YesPrompter final : public ui::Prompter {
 public:
  ui::Answer Ask(QWidget*, const ui::Message& m) override {
    return m.buttons == ui::Buttons::YesNo ? ui::Answer::Yes : ui::Answer::Ok;
  }
  int Choose(QWidget*, const ui::Message&, const QStringList&) override { return -1; }
  std::optional<QString> Input(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<ui::FileChoice> OpenFile(QWidget*, const ui::FileRequest&) override { return {}; }
  std::optional<ui::FileChoice> SaveFile(QWidget*, const ui::FileRequest&) override { return {}; }
  std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return {}; }
  std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return {}; }
  bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
  std::optional<QString> ChooseFolder(QWidget*, const QString&) override { return {}; }
  void ShowFolder(const QString&) override {}
};

}  // namespace quorin::bench

// SPDX-License-Identifier: GPL-3.0-or-later
// "软件帮助": the user guide and the release notes on two read-only pages; and the help
// document that "玄空择日" opens with the system's viewer.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QTabWidget;

namespace quorin::ui {

class TFrmTxtHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmTxtHelp(QWidget* parent = nullptr);

  // The menu command: created, shown modally and destroyed when it closes.
  static void ShowModal(QWidget* owner);

 private:
  QTabWidget* pages_;
  QWidget* guidePage_;                // 使用说明
  QWidget* historyPage_;              // 升级改进历史
  QPlainTextEdit* guideText_;         // the guide
  QPlainTextEdit* releaseNotesText_;  // the release notes
};

// dat/Quorin.html of the shipped files.
QString HelpDocumentPath();
// "玄空择日": opens the help document with the system's browser; does nothing when the file is
// missing. When no browser takes it (nothing to start one, or xdg-open giving up), the user is
// told, with the address to open by hand; xdg-open's answer may come after this returns.
void OpenHelpDocument(QWidget* parent);

}  // namespace quorin::ui

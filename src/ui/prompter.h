// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box, input box and standard dialog of the windows goes through one
// injectable prompter, so the window tests can answer them without a screen.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

namespace quorin::ui {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
  QString caption;
  QString text;
  Buttons buttons = Buttons::Ok;
  Answer defaultButton = Answer::Ok;  // for Yes/No boxes without a stated default: Yes
  Icon icon = Icon::None;
  // Captions of the Yes and No buttons when they are choices rather than yes and no.
  QString yesText;
  QString noText;
};

// One entry of a file dialog's filter list ("Rtf格式" with pattern "*.rtf").
struct FileFilter {
  QString label;
  QString pattern;
};
// Splits the "label|pattern|label|pattern" form the program's filters are written in.
QList<FileFilter> ParseFilterList(const QString& pipeSeparated);

struct FileRequest {
  QString title;
  QList<FileFilter> filters;
  int selectedFilter = 0;  // 0-based
};
struct FileChoice {
  QString path;     // exactly as chosen: no extension added
  int filter = 0;   // 0-based index of the filter entry in use
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual Answer Ask(QWidget* parent, const Message& message) = 0;
  // A box with a button per choice (the message's buttons unused): the chosen one's index, or -1
  // when the box was closed.
  virtual int Choose(QWidget* parent, const Message& message, const QStringList& choices) = 0;
  // The text entered, or nothing when the user cancels.
  virtual std::optional<QString> Input(QWidget* parent, const QString& caption, const QString& prompt,
                                       const QString& initial) = 0;
  virtual std::optional<FileChoice> OpenFile(QWidget* parent, const FileRequest& request) = 0;
  // The save dialog does not ask before replacing a file: the caller asks, once, about the
  // file it will write.
  virtual std::optional<FileChoice> SaveFile(QWidget* parent, const FileRequest& request) = 0;
  virtual std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial) = 0;
  virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;
  // The print dialog on `printer`; true when the user confirms.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
  // The folder browser: the chosen folder, or nothing when the user cancels.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) = 0;
  // Shows a folder in the system's file browser.
  virtual void ShowFolder(const QString& folder) = 0;
};

// The prompter in use: the on-screen one unless a test installed its own.
Prompter& Prompts();
// Installs `prompter` (not owned) for the program; nullptr restores the on-screen one.
void InstallPrompter(Prompter* prompter);

// Short forms for the common boxes.
void Tell(QWidget* parent, const QString& text, const QString& caption = {}, Icon icon = Icon::None);
bool AskYesNo(QWidget* parent, const QString& text, const QString& caption, Icon icon,
              Answer defaultButton = Answer::Yes);
// The folder the user picks under `prompt`, always with a trailing '/'; nothing on cancel.
std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt);

}  // namespace quorin::ui

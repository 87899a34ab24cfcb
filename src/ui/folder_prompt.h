// The folder browser and the file browser of the case commands. The folder browser
// goes through the installed prompter when it can choose folders, so window tests
// answer it like every other box.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace quorin::ui {

// A prompter that can also choose a folder.
class FolderPrompter {
 public:
  virtual ~FolderPrompter() = default;
  // The chosen folder, or nothing when the user cancels.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) = 0;
  // Shows a folder in the system's file browser.
  virtual void ShowFolder(const QString& folder) = 0;
};

// The folder the user picks under `prompt`, always with a trailing '/'; nothing on cancel.
std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt);
// Opens the folder in the system's file browser.
void ShowFolderInFileBrowser(const QString& folder);

}  // namespace quorin::ui

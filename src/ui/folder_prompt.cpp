#include "ui/folder_prompt.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "ui/prompter.h"

namespace quorin::ui {

std::optional<QString> ChooseFolder(QWidget* parent, const QString& prompt) {
  std::optional<QString> folder;
  if (auto* prompter = dynamic_cast<FolderPrompter*>(&Prompts())) {
    folder = prompter->ChooseFolder(parent, prompt);
  } else {
    const QString chosen = QFileDialog::getExistingDirectory(parent, prompt);
    if (!chosen.isEmpty()) folder = chosen;
  }
  if (!folder || folder->isEmpty()) return std::nullopt;
  if (!folder->endsWith(QLatin1Char('/'))) folder->append(QLatin1Char('/'));
  return folder;
}

void ShowFolderInFileBrowser(const QString& folder) {
  if (auto* prompter = dynamic_cast<FolderPrompter*>(&Prompts())) {
    prompter->ShowFolder(folder);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The library the main window works with: the local one, or a practice's shared one on a
// PostgreSQL server, chosen in the file menu and remembered for the user; the shared library's
// changes by other users, and its server going away and coming back.
#include <QTextEdit>

#include "cases/record_base.h"
#include "cases/shared_library.h"
#include "ui/case_tree_panel.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_main.h"
#include "ui/library_choice.h"
#include "ui/library_watcher.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/shared_library_dialog.h"

namespace quorin::ui {

bool TFrmMain::UsingSharedLibrary() const { return sharedLibrary_ && caseStore_ == sharedLibrary_.get(); }

void TFrmMain::ShowLibraryInTitle() {
  if (!UsingSharedLibrary()) {
    setWindowTitle(QStringLiteral("Quorin 2.3 "));
    return;
  }
  QString title = QStringLiteral("Quorin 2.3 ") + tr("共享案例库：") + ToQString(sharedLibrary_->Description());
  if (readOnlyLibrary_) title += tr("（只读）");
  if (connectionLost_) title += tr("（连接中断）");
  if (saveWaitsForServer_) title += tr("（有案例等待保存）");
  setWindowTitle(title);
}

void TFrmMain::UseStore(cases::CaseStore* store) {
  // The open case belongs to the library it came from: a save would go to another one by its id.
  ForgetOpenCase();
  saveWaitsForServer_ = false;
  connectionLost_ = false;
  delete watcher_;
  watcher_ = nullptr;
  caseStore_ = store;
  readOnlyLibrary_ = false;
  if (UsingSharedLibrary()) {
    readOnlyLibrary_ = !sharedLibrary_->CanWrite().value_or(true);
    static_cast<void>(sharedLibrary_->Resync());
    watcher_ = new LibraryWatcher(sharedLibrary_->ConnectionTarget(), sharedLibrary_->ConnectionPassword(), this);
    // Other users' changes reach the tree without the user asking; the place in it stays.
    connect(watcher_, &LibraryWatcher::Changed, this, [this] { caseTree_->Refresh(true); });
    connect(watcher_, &LibraryWatcher::Lost, this, &TFrmMain::LibraryConnectionLost);
    connect(watcher_, &LibraryWatcher::Back, this, &TFrmMain::LibraryConnectionBack);
  }
  caseTree_->SetStore(store);
  ShowLibraryInTitle();
}

void TFrmMain::OpenRememberedLibrary() {
  const LibraryChoice choice = RememberedLibraryChoice();
  if (!choice.shared) return;
  QString why;
  const QString password = KeptPassword(KeyringEntry(choice.address), why).value_or(QString());
  auto shared = std::make_unique<cases::SharedLibrary>();
  if (!shared->ConnectToLibrary(cases::ConnectionString(choice.address), ToUtf8(password))) {
    // The local library serves meanwhile; the user connects again from the file menu.
    Tell(this, tr("无法连接上次使用的共享案例库，现在使用本机案例库。\r\n%1").arg(ToQString(shared->lastError())),
         tr("提示"), Icon::Warning);
    return;
  }
  sharedLibrary_ = std::move(shared);
  UseStore(sharedLibrary_.get());
}

void TFrmMain::ConnectSharedLibrary() {
  if (caseTree_->RefuseWhileLoading() || !OfferToSaveOpenRemark()) return;
  LibraryChoice choice = RememberedLibraryChoice();
  QString why;
  // Nothing to look up before the first connection.
  const QString kept = choice.address.database.empty()
                           ? QString()
                           : KeptPassword(KeyringEntry(choice.address), why).value_or(QString());
  SharedLibraryDialog dialog(choice.address, kept, this);
  if (dialog.exec() != QDialog::Accepted) return;
  choice.address = dialog.Address();
  auto shared = std::make_unique<cases::SharedLibrary>();
  if (!shared->ConnectToLibrary(cases::ConnectionString(choice.address), ToUtf8(dialog.Password()))) {
    Tell(this, ToQString(shared->lastError()), tr("错误"), Icon::Error);
    return;
  }
  if (dialog.KeepPasswordInKeyring() && !dialog.Password().isEmpty() &&
      !KeepPassword(KeyringEntry(choice.address), dialog.Password(), why)) {
    Tell(this, tr("无法在系统密钥环中记住密码，下次连接时需要再输入。\r\n%1").arg(why), tr("提示"), Icon::Warning);
  }
  choice.shared = true;
  RememberLibraryChoice(choice);
  // The old shared library goes only once the tree and its watcher have let go of it.
  std::unique_ptr<cases::SharedLibrary> previous = std::move(sharedLibrary_);
  sharedLibrary_ = std::move(shared);
  UseStore(sharedLibrary_.get());
}

void TFrmMain::UseLocalLibrary() {
  if (!UsingSharedLibrary() || caseTree_->RefuseWhileLoading() || !OfferToSaveOpenRemark()) return;
  LibraryChoice choice = RememberedLibraryChoice();
  choice.shared = false;
  RememberLibraryChoice(choice);
  UseStore(localStore_);
  sharedLibrary_.reset();
}

void TFrmMain::LibraryConnectionLost(const QString& why) {
  // Nothing the user typed goes: the chart and the remark stay, and a save waits for the server.
  connectionLost_ = true;
  lostBecause_ = why;
  ShowLibraryInTitle();
}

void TFrmMain::LibraryConnectionBack() {
  if (!UsingSharedLibrary()) return;
  if (sharedLibrary_->ConnectionLost() && !sharedLibrary_->Reconnect()) return;  // the watcher tells again
  static_cast<void>(sharedLibrary_->Resync());
  connectionLost_ = false;
  if (saveWaitsForServer_) {
    // The save the user asked for, now that the server takes it.
    if (caseOpen_) SaveOpenCase(*caseStore_, true);
    else SaveNewCase(*caseStore_, true);
  }
  ShowLibraryInTitle();
}

}  // namespace quorin::ui

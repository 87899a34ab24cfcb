// SPDX-License-Identifier: GPL-3.0-or-later
// A main window with the program's case store on a fresh program folder, and the
// helpers the case tests share: stored cases made in bulk, modal dialogs answered.
#pragma once

#include <QApplication>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "cases/record_base.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "ui/case_tree_panel.h"

class QTreeWidget;

namespace quorin::testing {

// A case as the tests store it: a Gregorian moment, a place, a person, a category.
TRecordData SampleCase(const std::string& name, int year, int month, int day, int hour, int minute,
                       const std::string& category = "开业", bool male = true);

// The case with this id as dat/Orlune.db holds it now (an empty record when none).
TRecordData StoredCase(int id);
// Replaces the editor's text as typing does, which marks it modified.
void TypeRemark(QTextEdit* editor, const QString& text);

struct CaseWindowFixture {
  // Installs the store; shows the window (start-up opens dat/Orlune.db) unless `show` is false.
  explicit CaseWindowFixture(bool show = true);
  ~CaseWindowFixture();

  // Shows the window and waits for the tree of the newest cases.
  void Show();
  // A new window on the same program folder, as the next start of the program.
  void Restart();
  // Closes the window as the user would, answering "确定要关闭软件吗？" with Yes.
  void Close();

  // Stores cases in dat/Orlune.db through a store of their own (before the window opens it).
  std::vector<int> StoreCases(const std::vector<TRecordData>& cases);
  // Stores `count` cases named 甲0, 甲1 … with moments a day apart, in one batch.
  void StoreManyCases(int count, const std::string& category = "开业");

  // Charts the window's inputs at this moment for this person; true when a chart is shown.
  bool PaiFor(const QString& name, int year, int month, int day, int hour, int minute);
  // Presses SbtoSave for a new case, picking `category` in the category dialog.
  void SaveNew(const QString& category);
  // Selects a case node in the tree.
  bool SelectCase(int id);
  // Selects the case and opens it with "查看课例".
  bool OpenCase(int id);
  // Right-clicks the selected node and reads the items of "移动到" / picks one of them.
  QStringList MoveTargets();
  void MoveSelectedCaseTo(const QString& category);
  // Waits until the tree is no longer loading.
  bool WaitForTree(int timeoutMs = 30000);
  // Triggers the menu item and waits for the tree it may rebuild.
  void TriggerAndWait(const char* item);

  cases::MRecordBase store;
  // The store is the program's before the window is made: the window takes it at construction.
  struct InstalledStore {
    explicit InstalledStore(cases::MRecordBase* store);
    ~InstalledStore();
  } installed{&store};
  MainWindowFixture main{false};
  ui::TFrmMain& window() { return *main.window; }
  ui::CaseTreePanel& tree() { return main.window->CaseTree(); }
  QTreeWidget* treeWidget();
  QTextEdit* remarks() { return main.Remarks(); }
  ScriptedPrompter& prompter() { return main.prompter; }
  ProgramFolder& folder() { return main.folder; }
};

// Runs `act` on the next modal dialog of type Dialog once it is shown (a few tries
// while another event loop is running first).
template <typename Dialog>
void WhenDialogShows(std::function<void(Dialog&)> act, int tries = 50) {
  QTimer::singleShot(0, [act = std::move(act), tries]() mutable {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      // A dialog left open (a refusal, a failed check) fails the test instead of hanging it.
      QTimer::singleShot(3000, dialog, [dialog] {
        if (dialog->isVisible()) dialog->reject();
      });
      act(*dialog);
    } else if (tries > 0) {
      WhenDialogShows<Dialog>(std::move(act), tries - 1);
    }
  });
}

}  // namespace quorin::testing

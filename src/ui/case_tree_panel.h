// SPDX-License-Identifier: GPL-3.0-or-later
// The case tree at the left of the main window: the cases of the library in the chosen
// display style and order, read on a worker thread, and its popup (display style and order,
// the case commands, "移动到", 显示全部课例, 刷新显示, the case count). The commands that
// concern the open case belong to the window; the popup asks for them by signals.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cases/case_tree.h"
#include "chart/record_data.h"

class QActionGroup;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorin::cases {
class CaseStore;
}

namespace quorin::ui {

// The newest cases the tree shows at start and after another program renumbered the cases; the
// rest load on request (显示全部课例), so a large library opens at once.
inline constexpr int kCasesShownAtStart = 1000;

// One loading pass on a worker thread, reading through a store of its own on the database
// file, so the window's store is never shared between threads. Its progress and its result
// arrive as signals on the thread that made it; a pass deleted before it ends reports nothing.
class CaseLoadingWorker : public QObject {
  Q_OBJECT

 public:
  explicit CaseLoadingWorker(QObject* parent = nullptr);
  ~CaseLoadingWorker() override;  // stops the pass and waits for it

  // False when the pass could not start.
  bool Start(cases::CaseReaderOpener open, std::vector<int> ids, cases::CaseOrder order);
  // Asks the pass to stop at its next case.
  void RequestStop() { pass_.RequestStop(); }

 signals:
  // Cases read so far of `total`, every 50 cases.
  void Progress(int done, int total);
  // The end of the pass: the items in tree order, or the store's error.
  void Finished(const quorin::cases::CaseLoadResult& result);

 private:
  cases::CaseLoadingPass pass_;
};

class CaseTreePanel : public QWidget {
  Q_OBJECT

 public:
  // What the tree is doing. While it loads, the commands that use the case store wait.
  enum class State {
    kIdle,
    kRebuilding,  // a list of cases is read and placed: start, refresh, display, found cases
    kLoadingAll,  // 显示全部课例 reads the whole library
  };

  // Works with `store` (null: no case library), which outlives the panel.
  explicit CaseTreePanel(cases::CaseStore* store, QWidget* parent = nullptr);
  // Another library: the tree shows its newest cases.
  void SetStore(cases::CaseStore* store);
  ~CaseTreePanel() override;

  State CurrentState() const { return state_; }
  bool Loading() const { return state_ != State::kIdle; }
  // While the tree loads, tells the user to wait and returns true; a refresh of other users'
  // changes is put off instead.
  bool RefuseWhileLoading();

  // The display style (0 by category, 1 list) and order (0 none, 1..4) as init.ini keeps them;
  // the popup's marks follow.
  void SetDisplay(int showStyle, int sort);
  int ShowStyle() const { return showStyle_; }
  int Sort() const { return sort_; }

  // Reads the cases of the ids on a worker thread and rebuilds the tree with them in the
  // display style and order (a library that cannot be read is told and leaves the tree as it
  // is); `afterwards` runs at the end of the pass, unless the pass was stopped.
  void ShowCases(std::vector<int> ids, std::function<void()> afterwards = {});
  // The newest kCasesShownAtStart cases, as at start.
  void ShowNewestCases();
  // "显示全部课例": the whole library as it is now.
  void ShowAllCases();
  // "刷新显示": the cases shown, and those other programs added since. The selection, the open
  // categories and the place in the tree stay. Quietly: a library that cannot be read is not told
  // (the shared library's own changes, which come without the user asking).
  void Refresh(bool quietly = false);
  // Ends a loading pass at once; the tree stays as it was.
  void StopLoading();

  // The ids of all case nodes, in tree order.
  std::vector<int> CaseIds() const;
  QTreeWidgetItem* FindCaseNode(int id) const;
  // The id of the selected node when it is a case node, else -1.
  int SelectedCaseId() const;
  // The selected case nodes' ids in tree order (Ctrl and Shift select several).
  std::vector<int> SelectedCaseIds() const;
  // The text of the selected node.
  QString SelectedNodeText() const;
  // Makes the node of the case current, with the focus on the tree; false when none shows it.
  bool SelectCase(int id);
  // The top-level nodes with their texts, in tree order; empty in the list display.
  std::vector<std::pair<QString, QTreeWidgetItem*>> CategoryNodes() const;

  // A case just saved: its node goes where the order puts it, and the count rises.
  void AddCaseNode(const TRecordData& record, int id);
  // The open case was saved: its node shows the new text and sex; false when no node shows it.
  bool ShowSavedCase(int id, const TRecordData& record);
  // The selected case was deleted: its node goes, and the count falls.
  void RemoveSelectedCaseNode();
  // The number of cases shown in "案例总数".
  int CaseCount() const { return caseCount_; }

 signals:
  // The case commands of the popup (查看课例 also by a double-click).
  void OpenCaseRequested();
  void DeleteCaseRequested();
  void CompareCasesRequested();  // 对比所选日课
  void EditCategoriesRequested();
  void FuzzySearchRequested();
  void ConditionalSearchRequested();
  // "移动到" moved the case to another category.
  void CaseMoved(int id, const std::string& category);
  // Another program renumbered the cases: an id kept from before may name another case now.
  void LibraryRenumbered();
  // A loading pass began, has `remaining` cases still to read, or ended; `wholeLibrary` when
  // 显示全部课例 came to its end (not when it was stopped).
  void LoadingStarted();
  void LoadingProgress(int remaining);
  void LoadingEnded(bool wholeLibrary);

 private:
  void BuildPopup();
  // Rebuilds the tree with the ids, keeping the user's place: the selection, the current case, the
  // open categories and how far down the tree is scrolled.
  void ShowKeepingPlace(std::vector<int> ids, bool quietly);
  // The shared library's categories open as the user opens them: a category node not yet whole
  // gets every case of its category.
  bool CategoriesFillOnOpening() const;
  void FillCategory(QTreeWidgetItem* node);
  // In that display, the listed categories without a case shown yet, as nodes that can be opened.
  void AddUnfilledCategories();
  void StartPass(std::vector<int> ids, State state, std::function<void()> afterwards);
  void TakeLoadResult(const cases::CaseLoadResult& result);
  // Stops and lets go of the worker of the pass; the tree is idle afterwards.
  void EndPass();
  void PlaceItems(const cases::CaseLoadResult& result);
  void SetCaseCount(int count);
  void DisplayChosen();
  void SyncDisplayMarks();
  void FillMoveMenu();
  void MoveSelectedCaseTo(const QString& category);
  bool CategoryDisplay() const { return showStyle_ == 0; }
  cases::CaseOrder Order() const;
  QTreeWidgetItem* SelectedNode() const;
  QTreeWidgetItem* CategoryNodeFor(const QString& name);

  cases::CaseStore* store_;
  QTreeWidget* tree_;
  QMenu* popup_ = nullptr;
  QMenu* moveMenu_ = nullptr;        // "移动到": one item per other category node
  QActionGroup* styleItems_ = nullptr;
  QActionGroup* orderItems_ = nullptr;
  State state_ = State::kIdle;
  CaseLoadingWorker* pass_ = nullptr;  // the running pass
  std::function<void()> afterwards_;   // what waits for the end of the running pass
  bool quietPass_ = false;             // a refresh nobody asked for: a failure is not told
  bool refreshWaits_ = false;          // a change came during a pass: the tree refreshes after it
  QStringList wholeCategories_;        // categories whose every case the tree holds
  bool keepingWhole_ = false;          // the coming list keeps the tree's cases
  int showStyle_ = 1;
  int sort_ = 0;
  int caseCount_ = 0;
};

}  // namespace quorin::ui

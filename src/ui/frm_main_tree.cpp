// SPDX-License-Identifier: GPL-3.0-or-later
// The case tree of the main window: building it from case ids, the background
// loading pass of "显示全部课例", refreshing, the case count and moving a case to
// another category.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <unordered_map>

#include "cases/case_text.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "ui/case_tree_view.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/program_objects.h"
#include "ui/prompter.h"

namespace quorin::ui {

namespace {

constexpr int kPlaceStep = 50;  // the window handles its messages this often
const QString kReadyCaption = QStringLiteral("Quorin 2.3 ");
const QString kWorkingCaption = QStringLiteral("数据处理.....");

cases::CaseOrder OrderOf(int sort) {
  return sort >= 0 && sort <= 4 ? static_cast<cases::CaseOrder>(sort) : cases::CaseOrder::kNone;
}

}  // namespace

bool TFrmMain::RefuseWhileLoading() {
  if (!treeLoading_) return false;
  Tell(this, QStringLiteral("请等待案例加载完毕！"));
  return true;
}

void TFrmMain::ShowCases(const std::vector<int>& ids) {
  cases::MRecordBase* store = ProgramCaseStore();
  if (!store || treeLoading_) return;
  // The store is in a batch until the cases are read: nothing else may use it meanwhile.
  treeLoading_ = true;
  rebuildOnStack_ = true;
  stopTreeWork_ = false;
  setWindowTitle(kWorkingCaption);
  QApplication::processEvents();
  std::stop_source stop;
  const cases::CaseLoadResult result =
      cases::LoadCaseItems(*store, ids, OrderOf(treeSort_), stop.get_token(), [&](int, int) {
        QApplication::processEvents();
        if (stopTreeWork_) stop.request_stop();
      });
  TakeLoadResult(result);
  FinishTreeWork();
}

void TFrmMain::TakeLoadResult(const cases::CaseLoadResult& result) {
  if (result.cancelled || stopTreeWork_) return;
  if (result.error.empty()) {
    PlaceItems(result);
  } else {
    Tell(this, ToQString(result.error));
  }
}

void TFrmMain::PlaceItems(const cases::CaseLoadResult& result) {
  const bool byCategory = treeShowStyle_ == 0;
  Tree->setUpdatesEnabled(false);
  Tree->clear();
  std::unordered_map<std::string, QTreeWidgetItem*> categories;
  const auto addCategory = [&](const std::string& name) {
    QTreeWidgetItem* node = NewCategoryNode(ToQString(name));
    Tree->addTopLevelItem(node);
    categories.emplace(name, node);
    return node;
  };
  if (byCategory) {
    for (const std::string& name : result.listedCategories) addCategory(name);
  }

  // The nodes are made apart from the tree and added at once at the end: added in
  // steps, each look at the messages would lay out every node placed so far again.
  std::unordered_map<QTreeWidgetItem*, QList<QTreeWidgetItem*>> children;
  QList<QTreeWidgetItem*> topLevel;
  const int total = static_cast<int>(result.items.size());
  int placed = 0;
  for (const cases::TCusTreeItem& item : result.items) {
    if (placed % kPlaceStep == 0) {
      setWindowTitle(QString::number(total - placed));
      QApplication::processEvents();
      if (stopTreeWork_) break;
    }
    QTreeWidgetItem* node = NewCaseNode(item);
    if (byCategory) {
      auto it = categories.find(item.className);
      children[it != categories.end() ? it->second : addCategory(item.className)].append(node);
    } else {
      topLevel.append(node);
    }
    ++placed;
  }
  for (auto& [parent, nodes] : children) parent->addChildren(nodes);
  Tree->addTopLevelItems(topLevel);
  Tree->setUpdatesEnabled(true);
  SetCaseCount(placed);
}

void TFrmMain::FinishTreeWork() {
  treeLoading_ = false;
  rebuildOnStack_ = false;
  setWindowTitle(kReadyCaption);
  if (closeAfterStop_) {
    closeAfterStop_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void TFrmMain::ShowAllCasesClick() {
  if (RefuseWhileLoading()) return;
  cases::MRecordBase* store = ProgramCaseStore();
  if (!store) return;
  // The library as it is now: other programs may have added cases since the start.
  if (store->Stale()) ForgetOpenCase();
  if (!store->Resync()) {
    Tell(this, ToQString(store->lastError()));
    return;
  }
  const int counter = store->GetPrimaryId();
  if (counter == 0) {
    Tell(this, QStringLiteral("没有记录，无从查找。"));
    return;
  }
  treeLoading_ = true;
  stopTreeWork_ = false;
  setWindowTitle(QStringLiteral("加载....."));
  QApplication::processEvents();
  setWindowTitle(kWorkingCaption);
  const int generation = ++loadGeneration_;
  // The worker reads through a store and connection of its own; its result comes
  // back to this thread, which places the nodes.
  loadingPass_->Wait();
  loadingPass_->Start(store->path(), cases::NewestCaseIds(counter, counter), OrderOf(treeSort_),
                      [this, generation](cases::CaseLoadResult result) {
                        auto shared = std::make_shared<const cases::CaseLoadResult>(std::move(result));
                        QMetaObject::invokeMethod(
                            this, [this, generation, shared] { LoadingPassFinished(generation, *shared); },
                            Qt::QueuedConnection);
                      });
}

void TFrmMain::LoadingPassFinished(int generation, const cases::CaseLoadResult& result) {
  if (generation != loadGeneration_) return;
  rebuildOnStack_ = true;
  TakeLoadResult(result);
  // The window state that start-up kept for after loading.
  if (!stopTreeWork_ && pendingState_ != -1) {
    if (pendingState_ == 1) setWindowState(windowState() | Qt::WindowMinimized);
    if (pendingState_ == 2) setWindowState(windowState() | Qt::WindowMaximized);
    pendingState_ = -1;
  }
  FinishTreeWork();
}

void TFrmMain::RefreshTree() {
  if (RefuseWhileLoading()) return;
  cases::MRecordBase* store = ProgramCaseStore();
  if (!store) return;
  // The library as it is now: cases other programs added since this window last read it come
  // first; after another program renumbered the cases, the tree starts afresh.
  const int known = store->GetPrimaryId();
  const bool renumbered = store->Stale();
  if (!store->Resync()) {
    Tell(this, ToQString(store->lastError()));
    return;
  }
  if (renumbered) {
    ForgetOpenCase();
    ShowCases(cases::NewestCaseIds(store->GetPrimaryId(), kCasesShownAtStart));
    return;
  }
  std::vector<int> ids = cases::NewestCaseIds(store->GetPrimaryId(), store->GetPrimaryId() - known);
  const std::vector<int> shown = CurrentCaseIds();
  ids.insert(ids.end(), shown.begin(), shown.end());
  ShowCases(ids);
}

void TFrmMain::ForgetOpenCase() {
  // Its id may name another case now: a save would overwrite that one.
  if (!caseOpen_) return;
  caseOpen_ = false;
  Inputs->SetSaveButtonOpen(false);
}

void TFrmMain::PlaceNewCaseNode(const TRecordData& record, int id) {
  TRecordData stored = record;
  stored.id = id;
  const cases::CaseOrder order = OrderOf(treeSort_);
  cases::TCusTreeItem item = cases::CaseItemOf(stored, order).value_or(cases::TCusTreeItem{});
  item.id = id;
  item.text = cases::CaseNodeText(stored);
  item.male = stored.male;
  QTreeWidgetItem* node = NewCaseNode(item);
  std::vector<const QTreeWidgetItem*> siblings;
  if (treeShowStyle_ == 0) {
    QTreeWidgetItem* category = CategoryNodeFor(ToQString(record.className));
    for (int i = 0; i < category->childCount(); ++i) siblings.push_back(category->child(i));
    category->insertChild(InsertionIndex(siblings, item, order), node);
    category->setExpanded(true);
  } else {
    for (int i = 0; i < Tree->topLevelItemCount(); ++i) siblings.push_back(Tree->topLevelItem(i));
    Tree->insertTopLevelItem(InsertionIndex(siblings, item, order), node);
  }
}

std::vector<int> TFrmMain::CurrentCaseIds() const { return CaseIdsInTreeOrder(*Tree); }

QTreeWidgetItem* TFrmMain::FindCaseNode(int id) const { return FindCaseNodeIn(*Tree, id); }

QTreeWidgetItem* TFrmMain::SelectedNode() const {
  const QList<QTreeWidgetItem*> selected = Tree->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

int TFrmMain::SelectedCaseId() const {
  QTreeWidgetItem* node = SelectedNode();
  return IsCaseNode(node, treeShowStyle_ == 0) ? CaseIdOf(node) : -1;
}

std::vector<std::pair<QString, QTreeWidgetItem*>> TFrmMain::CategoryNodes() const {
  std::vector<std::pair<QString, QTreeWidgetItem*>> nodes;
  if (treeShowStyle_ != 0) return nodes;
  for (int i = 0; i < Tree->topLevelItemCount(); ++i) nodes.emplace_back(Tree->topLevelItem(i)->text(0), Tree->topLevelItem(i));
  return nodes;
}

QTreeWidgetItem* TFrmMain::CategoryNodeFor(const QString& name) {
  if (QTreeWidgetItem* node = FindCategoryNodeIn(*Tree, name)) return node;
  QTreeWidgetItem* node = NewCategoryNode(name);
  Tree->addTopLevelItem(node);
  return node;
}

void TFrmMain::SetCaseCount(int count) {
  caseCount_ = count;
  if (QAction* item = MenuAction(QStringLiteral("pMenuRecord"))) item->setText(ToQString(cases::CaseCountText(count)));
}

void TFrmMain::PrepareTreePopup() {
  pop_ming_move->clear();
  QTreeWidgetItem* node = SelectedNode();
  if (treeShowStyle_ != 0 || !IsCaseNode(node, true)) return;
  for (const auto& [name, category] : CategoryNodes()) {
    if (category != node->parent()) pop_ming_move->addAction(name);
  }
}

void TFrmMain::MoveCaseTo(const QString& category) {
  if (RefuseWhileLoading()) return;
  cases::MRecordBase* store = ProgramCaseStore();
  QTreeWidgetItem* node = SelectedNode();
  if (!store || treeShowStyle_ != 0 || !IsCaseNode(node, true)) return;
  const int id = CaseIdOf(node);
  const std::string className = ToUtf8(category);
  const auto moved = store->MoveCasesToCategory({id}, className);
  if (!moved || moved->empty()) {
    Tell(this, ToQString(store->lastError()));
    return;
  }
  // The open case keeps its new category, or its next save would move it back.
  if (caseOpen_ && id == currentCaseId_) {
    record_.className = className;
    savedRecord_.className = className;
  }
  node->parent()->removeChild(node);
  CategoryNodeFor(category)->addChild(node);
  Tree->setCurrentItem(node);
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/case_tree_panel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "base/layout_prefs.h"
#include "cases/case_text.h"
#include "cases/case_store.h"
#include "qtdraw/shown_text.h"
#include "ui/case_tree_view.h"
#include "ui/menu_table.h"
#include "ui/program_files.h"
#include "ui/prompter.h"

namespace quorin::ui {

namespace {

constexpr const char* kWaitForLoading = QT_TRANSLATE_NOOP("quorin::ui::CaseTreePanel", "请等待案例加载完毕！");

}  // namespace

CaseLoadingWorker::CaseLoadingWorker(QObject* parent) : QObject(parent) {}

CaseLoadingWorker::~CaseLoadingWorker() {
  // The pass posts to this object: it ends before the object goes.
  pass_.RequestStop();
  pass_.Wait();
}

bool CaseLoadingWorker::Start(cases::CaseReaderOpener open, std::vector<int> ids, cases::CaseOrder order) {
  // The callbacks run on the worker thread; the signals are sent from this object's thread.
  return pass_.Start(
      std::move(open), std::move(ids), order,
      [this](cases::CaseLoadResult result) {
        auto shared = std::make_shared<const cases::CaseLoadResult>(std::move(result));
        QMetaObject::invokeMethod(this, [this, shared] { emit Finished(*shared); }, Qt::QueuedConnection);
      },
      [this](int done, int total) {
        QMetaObject::invokeMethod(this, [this, done, total] { emit Progress(done, total); }, Qt::QueuedConnection);
      });
}

CaseTreePanel::CaseTreePanel(cases::CaseStore* store, QWidget* parent) : QWidget(parent), store_(store) {
  setObjectName(QStringLiteral("CaseTreePanel"));
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("Tree"));
  tree_->setHeaderHidden(true);
  tree_->setMinimumWidth(base::LayoutPrefs::kMinTreeWidth);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  // Ctrl and Shift choose several cases for 对比所选日课; the other commands act on the current one.
  tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tree_->setUniformRowHeights(true);  // a hundred thousand nodes lay out at once
  // The tree fills the panel: the splitter's handle is its edge.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_);
  BuildPopup();
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { emit OpenCaseRequested(); });
  connect(tree_, &QTreeWidget::itemExpanded, this, &CaseTreePanel::FillCategory);
}

CaseTreePanel::~CaseTreePanel() = default;

void CaseTreePanel::BuildPopup() {
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopGuaLi"));
  styleItems_ = new QActionGroup(this);
  orderItems_ = new QActionGroup(this);
  AddMenuRows(
      *popup_,
      {
          Submenu("pMenuShowStyle", QT_TRANSLATE_NOOP("Menu", "显示样式"),
                  {
                      CheckItem(styleItems_, "N11", QT_TRANSLATE_NOOP("Menu", "分类显示"), 0),
                      CheckItem(styleItems_, "N12", QT_TRANSLATE_NOOP("Menu", "列表显示"), 1),
                      Separator(),
                      CheckItem(orderItems_, "N14", QT_TRANSLATE_NOOP("Menu", "时间降序（近-远）"), 1),
                      CheckItem(orderItems_, "N15", QT_TRANSLATE_NOOP("Menu", "时间升序（远-近）"), 2),
                      CheckItem(orderItems_, "az1", QT_TRANSLATE_NOOP("Menu", "姓氏升序（a-z）"), 3),
                      CheckItem(orderItems_, "za1", QT_TRANSLATE_NOOP("Menu", "姓氏降序（z-a）"), 4),
                      CheckItem(orderItems_, "N16", QT_TRANSLATE_NOOP("Menu", "无"), 0),
                  }),
          Separator(),
          Item("pop_ming_pai", QT_TRANSLATE_NOOP("Menu", "查看课例"), [this] { emit OpenCaseRequested(); }),
          Submenu("pop_ming_move", QT_TRANSLATE_NOOP("Menu", "移动到")),
          Item("pop_ming_delete", QT_TRANSLATE_NOOP("Menu", "删除课例"), [this] { emit DeleteCaseRequested(); }),
          Item("pop_compare", QT_TRANSLATE_NOOP("Menu", "对比所选日课"), [this] { emit CompareCasesRequested(); }),
          Separator(),
          Item("N23", QT_TRANSLATE_NOOP("Menu", "编辑类别"), [this] { emit EditCategoriesRequested(); }),
          Item("N25", QT_TRANSLATE_NOOP("Menu", "模糊查找"), [this] { emit FuzzySearchRequested(); }),
          Item("pop_search", QT_TRANSLATE_NOOP("Menu", "条件查找"), [this] { emit ConditionalSearchRequested(); }),
          Item("pop_s_full", QT_TRANSLATE_NOOP("Menu", "显示全部课例"), [this] { ShowAllCases(); }),
          Item("N24", QT_TRANSLATE_NOOP("Menu", "刷新显示"), [this] { Refresh(); }),
          Item("pMenuRecord", QT_TRANSLATE_NOOP("Menu", "案例总数")),
      },
      *this);
  moveMenu_ = popup_->findChild<QMenu*>(QStringLiteral("pop_ming_move"));
  connect(moveMenu_, &QMenu::triggered, this, [this](QAction* item) { MoveSelectedCaseTo(item->text()); });
  connect(styleItems_, &QActionGroup::triggered, this, &CaseTreePanel::DisplayChosen);
  connect(orderItems_, &QActionGroup::triggered, this, &CaseTreePanel::DisplayChosen);
  connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    FillMoveMenu();
    popup_->popup(tree_->viewport()->mapToGlobal(at));
  });
}

bool CaseTreePanel::RefuseWhileLoading() {
  if (!Loading()) return false;
  if (quietPass_) {
    // A refresh nobody asked for gives way to what the user asks, and comes again a moment later.
    StopLoading();
    QTimer::singleShot(1000, this, [this] { Refresh(true); });
    return false;
  }
  Tell(window(), tr(kWaitForLoading));
  return true;
}

// --- Display style and order.

void CaseTreePanel::SetDisplay(int showStyle, int sort) {
  showStyle_ = showStyle;
  sort_ = sort;
  SyncDisplayMarks();
}

void CaseTreePanel::SyncDisplayMarks() {
  for (QAction* item : styleItems_->actions()) item->setChecked(item->data().toInt() == showStyle_);
  for (QAction* item : orderItems_->actions()) item->setChecked(item->data().toInt() == sort_);
}

void CaseTreePanel::DisplayChosen() {
  if (Loading()) {
    SyncDisplayMarks();  // the marks go back to the style and order in use
    Tell(window(), tr(kWaitForLoading));
    return;
  }
  if (const QAction* style = styleItems_->checkedAction()) showStyle_ = style->data().toInt();
  if (const QAction* order = orderItems_->checkedAction()) sort_ = order->data().toInt();
  ShowCases(CaseIds());
}

cases::CaseOrder CaseTreePanel::Order() const {
  return sort_ >= 0 && sort_ <= 4 ? static_cast<cases::CaseOrder>(sort_) : cases::CaseOrder::kNone;
}

// --- Loading.

void CaseTreePanel::ShowCases(std::vector<int> ids, std::function<void()> afterwards) {
  if (Loading()) return;
  // Another list of cases: no category is known to be whole in it, unless it keeps the tree's.
  if (!std::exchange(keepingWhole_, false)) wholeCategories_.clear();
  StartPass(std::move(ids), State::kRebuilding, std::move(afterwards));
}

void CaseTreePanel::SetStore(cases::CaseStore* store) {
  StopLoading();
  refreshWaits_ = false;
  wholeCategories_.clear();
  store_ = store;
  tree_->clear();
  SetCaseCount(0);
  ShowNewestCases();
}

void CaseTreePanel::ShowNewestCases() {
  if (store_) ShowCases(cases::NewestCaseIds(store_->GetPrimaryId(), kCasesShownAtStart));
}

void CaseTreePanel::ShowAllCases() {
  if (RefuseWhileLoading() || !store_) return;
  // The library as it is now: other programs may have added cases since the start.
  if (store_->Stale()) emit LibraryRenumbered();
  if (!store_->Resync()) {
    Tell(window(), ToQString(store_->lastError()));
    return;
  }
  const int counter = store_->GetPrimaryId();
  if (counter == 0) {
    Tell(window(), tr("没有记录，无从查找。"));
    return;
  }
  StartPass(cases::NewestCaseIds(counter, counter), State::kLoadingAll, {});
}

void CaseTreePanel::Refresh(bool quietly) {
  if (quietly && Loading()) {
    refreshWaits_ = true;  // the change is not lost: the tree refreshes once the pass ends
    return;
  }
  if (!quietly && RefuseWhileLoading()) return;
  if (!store_) return;
  // The library as it is now: cases other programs added since this window last read it come
  // first; after another program renumbered the cases, the tree starts afresh.
  const int known = store_->GetPrimaryId();
  const bool renumbered = store_->Stale();
  if (!store_->Resync()) {
    if (!quietly) Tell(window(), ToQString(store_->lastError()));
    return;
  }
  if (renumbered) {
    emit LibraryRenumbered();
    ShowNewestCases();
    return;
  }
  std::vector<int> ids = cases::NewestCaseIds(store_->GetPrimaryId(), store_->GetPrimaryId() - known);
  const std::vector<int> shown = CaseIds();
  ids.insert(ids.end(), shown.begin(), shown.end());
  ShowKeepingPlace(std::move(ids), quietly);
}

void CaseTreePanel::ShowKeepingPlace(std::vector<int> ids, bool quietly) {
  const std::vector<int> selected = SelectedCaseIds();
  const int current = SelectedCaseId();
  QStringList open;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    if (tree_->topLevelItem(i)->isExpanded()) open << tree_->topLevelItem(i)->text(0);
  }
  const int scrolled = tree_->verticalScrollBar()->value();
  keepingWhole_ = true;
  ShowCases(std::move(ids), [this, selected, current, open, scrolled] {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
      if (open.contains(tree_->topLevelItem(i)->text(0))) tree_->topLevelItem(i)->setExpanded(true);
    }
    if (QTreeWidgetItem* node = FindCaseNode(current)) tree_->setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
    for (const int id : selected) {
      if (QTreeWidgetItem* node = FindCaseNode(id)) node->setSelected(true);
    }
    tree_->verticalScrollBar()->setValue(scrolled);
  });
  quietPass_ = quietly && Loading();  // the result comes later, through the event loop
}

bool CaseTreePanel::CategoriesFillOnOpening() const { return store_ && store_->IsShared() && CategoryDisplay(); }

void CaseTreePanel::FillCategory(QTreeWidgetItem* node) {
  if (!CategoriesFillOnOpening() || !node || node->parent() || Loading()) return;
  const QString name = node->text(0);
  if (wholeCategories_.contains(name)) return;
  const std::optional<std::vector<int>> ids = store_->CategoryCaseIds(ToUtf8(name));
  if (!ids) {
    Tell(window(), ToQString(store_->lastError()));
    return;
  }
  wholeCategories_ << name;
  std::vector<int> shown = CaseIds();
  shown.insert(shown.end(), ids->begin(), ids->end());
  std::sort(shown.begin(), shown.end(), std::greater<>());  // newest first, as the tree starts
  shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
  ShowKeepingPlace(std::move(shown), false);
}

void CaseTreePanel::AddUnfilledCategories() {
  std::vector<std::string> listed;
  if (!store_->GetClassNames(listed)) return;
  for (const std::string& name : listed) {
    QTreeWidgetItem* node = CategoryNodeFor(ToQString(name));
    if (!wholeCategories_.contains(node->text(0))) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
}

void CaseTreePanel::StartPass(std::vector<int> ids, State state, std::function<void()> afterwards) {
  // Without an opened library there is nothing to read.
  if (!store_ || store_->Description().empty()) return;
  state_ = state;
  afterwards_ = std::move(afterwards);
  pass_ = new CaseLoadingWorker(this);
  connect(pass_, &CaseLoadingWorker::Progress, this, [this](int done, int total) { emit LoadingProgress(total - done); });
  connect(pass_, &CaseLoadingWorker::Finished, this, &CaseTreePanel::TakeLoadResult);
  emit LoadingStarted();
  if (!pass_->Start(store_->ReaderOpener(), std::move(ids), Order())) StopLoading();
}

void CaseTreePanel::TakeLoadResult(const cases::CaseLoadResult& result) {
  // The nodes are placed, or the error told, while the commands still wait.
  if (result.error.empty()) {
    PlaceItems(result);
  } else if (!quietPass_) {
    Tell(window(), ToQString(result.error));
    if (!Loading()) return;  // the window was closed while the message was up
  }
  const bool wholeLibrary = state_ == State::kLoadingAll;
  const std::function<void()> afterwards = std::move(afterwards_);
  EndPass();
  emit LoadingEnded(wholeLibrary);
  if (afterwards) afterwards();
  if (std::exchange(refreshWaits_, false)) QTimer::singleShot(0, this, [this] { Refresh(true); });
}

void CaseTreePanel::StopLoading() {
  if (!Loading()) return;
  EndPass();
  emit LoadingEnded(false);
}

void CaseTreePanel::EndPass() {
  // A result on its way goes with the worker, which may be sending the signal that ends the pass.
  pass_->disconnect(this);
  pass_->RequestStop();
  pass_->deleteLater();
  pass_ = nullptr;
  afterwards_ = {};
  quietPass_ = false;
  state_ = State::kIdle;
}

void CaseTreePanel::PlaceItems(const cases::CaseLoadResult& result) {
  // The nodes are made apart from the tree and added at once: the tree lays them out once.
  QList<QTreeWidgetItem*> topLevel;
  if (CategoryDisplay()) {
    for (const cases::CaseCategoryGroup& group : cases::GroupByCategory(result)) {
      QTreeWidgetItem* category = NewCategoryNode(ToQString(group.name));
      QList<QTreeWidgetItem*> children;
      for (const int index : group.items) children.append(NewCaseNode(result.items[static_cast<std::size_t>(index)]));
      category->addChildren(children);
      topLevel.append(category);
    }
  } else {
    for (const cases::TCusTreeItem& item : result.items) topLevel.append(NewCaseNode(item));
  }
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  tree_->addTopLevelItems(topLevel);
  if (CategoriesFillOnOpening()) AddUnfilledCategories();
  tree_->setUpdatesEnabled(true);
  SetCaseCount(static_cast<int>(result.items.size()));
}

// --- Nodes.

std::vector<int> CaseTreePanel::CaseIds() const { return CaseIdsInTreeOrder(*tree_); }

QTreeWidgetItem* CaseTreePanel::FindCaseNode(int id) const { return FindCaseNodeIn(*tree_, id); }

QTreeWidgetItem* CaseTreePanel::SelectedNode() const {
  QTreeWidgetItem* current = tree_->currentItem();
  if (current && current->isSelected()) return current;
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

std::vector<int> CaseTreePanel::SelectedCaseIds() const {
  std::vector<int> ids;
  for (QTreeWidgetItemIterator it(tree_, QTreeWidgetItemIterator::Selected); *it; ++it) {
    if (IsCaseNode(*it, CategoryDisplay())) ids.push_back(CaseIdOf(*it));
  }
  return ids;
}

int CaseTreePanel::SelectedCaseId() const {
  QTreeWidgetItem* node = SelectedNode();
  return IsCaseNode(node, CategoryDisplay()) ? CaseIdOf(node) : -1;
}

QString CaseTreePanel::SelectedNodeText() const {
  const QTreeWidgetItem* node = SelectedNode();
  return node ? node->text(0) : QString();
}

bool CaseTreePanel::SelectCase(int id) {
  QTreeWidgetItem* node = FindCaseNode(id);
  if (!node) return false;
  tree_->setFocus();
  tree_->setCurrentItem(node);
  return true;
}

std::vector<std::pair<QString, QTreeWidgetItem*>> CaseTreePanel::CategoryNodes() const {
  std::vector<std::pair<QString, QTreeWidgetItem*>> nodes;
  if (!CategoryDisplay()) return nodes;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) nodes.emplace_back(tree_->topLevelItem(i)->text(0), tree_->topLevelItem(i));
  return nodes;
}

QTreeWidgetItem* CaseTreePanel::CategoryNodeFor(const QString& name) {
  if (QTreeWidgetItem* node = FindCategoryNodeIn(*tree_, name)) return node;
  QTreeWidgetItem* node = NewCategoryNode(name);
  tree_->addTopLevelItem(node);
  return node;
}

void CaseTreePanel::AddCaseNode(const TRecordData& record, int id) {
  SetCaseCount(caseCount_ + 1);
  TRecordData stored = record;
  stored.id = id;
  const cases::CaseOrder order = Order();
  cases::TCusTreeItem item = cases::CaseItemOf(stored, order).value_or(cases::TCusTreeItem{});
  item.id = id;
  item.text = cases::CaseNodeText(stored);
  item.male = stored.male;
  QTreeWidgetItem* node = NewCaseNode(item);
  std::vector<const QTreeWidgetItem*> siblings;
  if (CategoryDisplay()) {
    QTreeWidgetItem* category = CategoryNodeFor(ToQString(record.className));
    for (int i = 0; i < category->childCount(); ++i) siblings.push_back(category->child(i));
    category->insertChild(InsertionIndex(siblings, item, order), node);
    category->setExpanded(true);
  } else {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) siblings.push_back(tree_->topLevelItem(i));
    tree_->insertTopLevelItem(InsertionIndex(siblings, item, order), node);
  }
}

bool CaseTreePanel::ShowSavedCase(int id, const TRecordData& record) {
  QTreeWidgetItem* node = FindCaseNode(id);
  if (!node) return false;
  node->setText(0, ToQString(cases::CaseNodeText(record)));
  node->setIcon(0, CaseNodeIcon(record.male));
  if (node->parent()) node->parent()->setExpanded(true);
  return true;
}

void CaseTreePanel::RemoveSelectedCaseNode() {
  QTreeWidgetItem* node = SelectedNode();
  if (!IsCaseNode(node, CategoryDisplay())) return;
  delete node;
  SetCaseCount(caseCount_ - 1);
}

void CaseTreePanel::SetCaseCount(int count) {
  caseCount_ = count;
  if (QAction* item = popup_->findChild<QAction*>(QStringLiteral("pMenuRecord"))) {
    item->setText(qtdraw::ShownQString(cases::CaseCountText(count)));
  }
}

// --- "移动到".

void CaseTreePanel::FillMoveMenu() {
  // Runs on every right click: the other category nodes of the selected case.
  moveMenu_->clear();
  QTreeWidgetItem* node = SelectedNode();
  if (!CategoryDisplay() || !IsCaseNode(node, true)) return;
  for (const auto& [name, category] : CategoryNodes()) {
    if (category != node->parent()) moveMenu_->addAction(name);
  }
}

void CaseTreePanel::MoveSelectedCaseTo(const QString& category) {
  if (RefuseWhileLoading()) return;
  QTreeWidgetItem* node = SelectedNode();
  if (!store_ || !CategoryDisplay() || !IsCaseNode(node, true)) return;
  const int id = CaseIdOf(node);
  const std::string className = ToUtf8(category);
  const auto moved = store_->MoveCasesToCategory({id}, className);
  if (!moved || moved->empty()) {
    Tell(window(), ToQString(store_->lastError()));
    return;
  }
  emit CaseMoved(id, className);
  node->parent()->removeChild(node);
  CategoryNodeFor(category)->addChild(node);
  tree_->setCurrentItem(node);
}

}  // namespace quorin::ui

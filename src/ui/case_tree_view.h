// SPDX-License-Identifier: GPL-3.0-or-later
// The nodes of the case tree: their images, the id a case node carries, and the
// look-ups the case commands need. The tree holds category nodes with case nodes
// below them (category display) or case nodes only (list display).
#pragma once

#include <QIcon>
#include <QString>
#include <vector>

#include "cases/case_tree.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace quorin::ui {

// The images of the tree: a woman's case, a man's case, a category; a selected case
// node shows the selection image.
const QIcon& CaseNodeIcon(bool male);
const QIcon& CategoryNodeIcon();

QTreeWidgetItem* NewCaseNode(const QString& text, bool male, int id);
// The case node of a loaded tree item, carrying its order keys for later insertions.
QTreeWidgetItem* NewCaseNode(const cases::TCusTreeItem& item);
// Puts a case node among `siblings` (the children of a category, or the top level) where the
// order puts it: after the equal ones; first of all when the order is none (the newest first).
// Returns the index to insert at.
int InsertionIndex(const std::vector<const QTreeWidgetItem*>& siblings, const cases::TCusTreeItem& item,
                   cases::CaseOrder order);
QTreeWidgetItem* NewCategoryNode(const QString& name);

// True for a node that carries a case: level 1 in the category display, level 0 in the
// list display.
bool IsCaseNode(const QTreeWidgetItem* node, bool categoryDisplay);
// The id a case node carries; -1 for other nodes.
int CaseIdOf(const QTreeWidgetItem* node);

// The ids of all case nodes, in tree order.
std::vector<int> CaseIdsInTreeOrder(const QTreeWidget& tree);
// The case node that carries the id, or nullptr.
QTreeWidgetItem* FindCaseNodeIn(const QTreeWidget& tree, int id);
// The top-level node whose text is exactly `name`, or nullptr.
QTreeWidgetItem* FindCategoryNodeIn(const QTreeWidget& tree, const QString& name);

}  // namespace quorin::ui

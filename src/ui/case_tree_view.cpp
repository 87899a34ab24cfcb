// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/case_tree_view.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace quorin::ui {

namespace {

constexpr int kIconSize = 16;
// The icons are drawn for ordinary screens and for screens of twice the pixel density.
constexpr std::array<qreal, 2> kIconRatios{1.0, 2.0};
constexpr int kCaseIdRole = Qt::UserRole;
constexpr int kTimeKeyRole = Qt::UserRole + 1;
constexpr int kSurnameKeyRole = Qt::UserRole + 2;

QPixmap BlankPixmap(qreal ratio) {
  QPixmap pixmap(qRound(kIconSize * ratio), qRound(kIconSize * ratio));
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A small person: head and shoulders in the colour of the sex.
QPixmap PersonPixmap(const QColor& colour, qreal ratio) {
  QPixmap pixmap = BlankPixmap(ratio);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(colour.darker(150));
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(5, 1.5, 6, 6));
  QPainterPath body;
  body.moveTo(2.5, 15);
  body.cubicTo(2.5, 9, 13.5, 9, 13.5, 15);
  body.closeSubpath();
  painter.drawPath(body);
  return pixmap;
}

QPixmap FolderPixmap(qreal ratio) {
  QPixmap pixmap = BlankPixmap(ratio);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor paper(232, 184, 64);
  painter.setPen(paper.darker(160));
  painter.setBrush(paper.darker(115));
  painter.drawRect(QRectF(1.5, 3.5, 6, 3));
  painter.setBrush(paper);
  painter.drawRect(QRectF(1.5, 5.5, 13, 9));
  return pixmap;
}

// The selection image: a bright marker over the person, so the open choice stands out.
QPixmap SelectedPixmap(const QColor& colour, qreal ratio) {
  QPixmap pixmap = PersonPixmap(colour.lighter(130), ratio);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 150, 0), 2));
  painter.drawLine(QPointF(8, 12), QPointF(10.5, 14.5));
  painter.drawLine(QPointF(10.5, 14.5), QPointF(15, 8.5));
  return pixmap;
}

QIcon CaseIcon(const QColor& colour) {
  QIcon icon;
  for (const qreal ratio : kIconRatios) {
    icon.addPixmap(PersonPixmap(colour, ratio));
    icon.addPixmap(SelectedPixmap(colour, ratio), QIcon::Selected);
  }
  return icon;
}

QIcon FolderIcon() {
  QIcon icon;
  for (const qreal ratio : kIconRatios) icon.addPixmap(FolderPixmap(ratio));
  return icon;
}

}  // namespace

const QIcon& CaseNodeIcon(bool male) {
  static const QIcon man = CaseIcon(QColor(40, 90, 200));
  static const QIcon woman = CaseIcon(QColor(210, 60, 90));
  return male ? man : woman;
}

const QIcon& CategoryNodeIcon() {
  static const QIcon folder = FolderIcon();
  return folder;
}

QTreeWidgetItem* NewCaseNode(const QString& text, bool male, int id) {
  auto* node = new QTreeWidgetItem(QStringList{text});
  node->setIcon(0, CaseNodeIcon(male));
  node->setData(0, kCaseIdRole, id);
  return node;
}

QTreeWidgetItem* NewCaseNode(const cases::TCusTreeItem& item) {
  QTreeWidgetItem* node = NewCaseNode(QString::fromStdString(item.text), item.male, item.id);
  node->setData(0, kTimeKeyRole, item.timeKey);
  node->setData(0, kSurnameKeyRole, item.surnameKey);
  return node;
}

int InsertionIndex(const std::vector<const QTreeWidgetItem*>& siblings, const cases::TCusTreeItem& item,
                   cases::CaseOrder order) {
  if (order == cases::CaseOrder::kNone) return 0;
  // The first sibling the new item goes before, as the sorted load puts later equal items after.
  const auto after = std::upper_bound(siblings.begin(), siblings.end(), item,
                                      [order](const cases::TCusTreeItem& a, const QTreeWidgetItem* node) {
                                        cases::TCusTreeItem b;
                                        b.timeKey = node->data(0, kTimeKeyRole).toDouble();
                                        b.surnameKey = node->data(0, kSurnameKeyRole).toInt();
                                        return cases::CaseItemBefore(order, a, b);
                                      });
  return static_cast<int>(after - siblings.begin());
}

QTreeWidgetItem* NewCategoryNode(const QString& name) {
  auto* node = new QTreeWidgetItem(QStringList{name});
  node->setIcon(0, CategoryNodeIcon());
  return node;
}

bool IsCaseNode(const QTreeWidgetItem* node, bool categoryDisplay) {
  if (!node || !node->data(0, kCaseIdRole).isValid()) return false;
  const bool topLevel = node->parent() == nullptr;
  return categoryDisplay ? !topLevel && node->parent()->parent() == nullptr : topLevel;
}

int CaseIdOf(const QTreeWidgetItem* node) {
  if (!node) return -1;
  const QVariant id = node->data(0, kCaseIdRole);
  return id.isValid() ? id.toInt() : -1;
}

std::vector<int> CaseIdsInTreeOrder(const QTreeWidget& tree) {
  std::vector<int> ids;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    const QTreeWidgetItem* top = tree.topLevelItem(i);
    if (const int id = CaseIdOf(top); id >= 0) ids.push_back(id);
    for (int j = 0; j < top->childCount(); ++j) {
      if (const int id = CaseIdOf(top->child(j)); id >= 0) ids.push_back(id);
    }
  }
  return ids;
}

QTreeWidgetItem* FindCaseNodeIn(const QTreeWidget& tree, int id) {
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = tree.topLevelItem(i);
    if (CaseIdOf(top) == id) return top;
    for (int j = 0; j < top->childCount(); ++j) {
      if (CaseIdOf(top->child(j)) == id) return top->child(j);
    }
  }
  return nullptr;
}

QTreeWidgetItem* FindCategoryNodeIn(const QTreeWidget& tree, const QString& name) {
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = tree.topLevelItem(i);
    if (CaseIdOf(top) < 0 && top->text(0) == name) return top;
  }
  return nullptr;
}

}  // namespace quorin::ui

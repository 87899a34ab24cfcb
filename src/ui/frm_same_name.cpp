// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_same_name.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {

TFrmSameName::TFrmSameName(const QStringList& lines, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmSameName"));
  setWindowTitle(tr("同名案例"));
  auto* column = new QVBoxLayout(this);
  caseList_ = new QListWidget(this);
  caseList_->setObjectName(QStringLiteral("LstRecord"));
  caseList_->addItems(lines);
  column->addWidget(caseList_, 1);

  auto* checks = new QHBoxLayout;
  showAllBox_ = new QCheckBox(tr("全部显示到列表"), this);
  showAllBox_->setObjectName(QStringLiteral("ChkShow"));
  clearListBox_ = new QCheckBox(tr("清空现有列表 "), this);
  clearListBox_->setObjectName(QStringLiteral("ChkClear"));
  checks->addWidget(showAllBox_);
  checks->addWidget(clearListBox_);
  checks->addStretch(1);
  column->addLayout(checks);

  auto* buttons = new QHBoxLayout;
  openButton_ = new QPushButton(tr("查看案例"), this);
  openButton_->setObjectName(QStringLiteral("BtnSee"));
  openButton_->setDefault(true);
  backButton_ = new QPushButton(tr("返回"), this);
  backButton_->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addStretch(1);
  buttons->addWidget(openButton_);
  buttons->addWidget(backButton_);
  column->addLayout(buttons);
  resize(380, 320);

  connect(openButton_, &QPushButton::clicked, this, &TFrmSameName::AcceptSelected);
  connect(caseList_, &QListWidget::itemDoubleClicked, this, &TFrmSameName::AcceptSelected);
  connect(backButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSameName::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    setWindowTitle(tr("%1个案例").arg(caseList_->count()));
    if (caseList_->count() > 0) {
      caseList_->setCurrentRow(0);
      caseList_->setFocus();
    }
  }
  QDialog::showEvent(event);
}

int TFrmSameName::SelectedLine() const {
  const QList<QListWidgetItem*> selected = caseList_->selectedItems();
  return selected.isEmpty() ? -1 : caseList_->row(selected.first());
}

bool TFrmSameName::ShowAllInTree() const { return showAllBox_->isChecked(); }

bool TFrmSameName::ClearTreeFirst() const { return clearListBox_->isChecked(); }

void TFrmSameName::AcceptSelected() {
  if (SelectedLine() < 0) {
    Tell(this, tr("请点击选择要查看的案例！"));
    return;
  }
  accept();
}

}  // namespace quorin::ui

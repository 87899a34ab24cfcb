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
  setWindowTitle(QStringLiteral("同名案例"));
  auto* column = new QVBoxLayout(this);
  LstRecord = new QListWidget(this);
  LstRecord->setObjectName(QStringLiteral("LstRecord"));
  LstRecord->addItems(lines);
  column->addWidget(LstRecord, 1);

  auto* checks = new QHBoxLayout;
  ChkShow = new QCheckBox(QStringLiteral("全部显示到列表"), this);
  ChkShow->setObjectName(QStringLiteral("ChkShow"));
  ChkClear = new QCheckBox(QStringLiteral("清空现有列表 "), this);
  ChkClear->setObjectName(QStringLiteral("ChkClear"));
  checks->addWidget(ChkShow);
  checks->addWidget(ChkClear);
  checks->addStretch(1);
  column->addLayout(checks);

  auto* buttons = new QHBoxLayout;
  BtnSee = new QPushButton(QStringLiteral("查看案例"), this);
  BtnSee->setObjectName(QStringLiteral("BtnSee"));
  BtnSee->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("返回"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addStretch(1);
  buttons->addWidget(BtnSee);
  buttons->addWidget(BitBtn2);
  column->addLayout(buttons);
  resize(380, 320);

  connect(BtnSee, &QPushButton::clicked, this, &TFrmSameName::BtnSeeClick);
  connect(LstRecord, &QListWidget::itemDoubleClicked, this, &TFrmSameName::BtnSeeClick);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSameName::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    setWindowTitle(QStringLiteral("%1个案例").arg(LstRecord->count()));
    if (LstRecord->count() > 0) {
      LstRecord->setCurrentRow(0);
      LstRecord->setFocus();
    }
  }
  QDialog::showEvent(event);
}

int TFrmSameName::SelectedLine() const {
  const QList<QListWidgetItem*> selected = LstRecord->selectedItems();
  return selected.isEmpty() ? -1 : LstRecord->row(selected.first());
}

void TFrmSameName::BtnSeeClick() {
  if (SelectedLine() < 0) {
    Tell(this, QStringLiteral("请点击选择要查看的案例！"));
    return;
  }
  accept();
}

}  // namespace quorin::ui

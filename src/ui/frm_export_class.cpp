// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_export_class.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {

TFrmExportClass::TFrmExportClass(const QStringList& categories, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmExportClass"));
  setWindowTitle(QStringLiteral("选择导出类别："));
  auto* column = new QVBoxLayout(this);
  LstClass = new QListWidget(this);
  LstClass->setObjectName(QStringLiteral("LstClass"));
  for (const QString& name : categories) {
    auto* item = new QListWidgetItem(name, LstClass);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  column->addWidget(LstClass, 1);

  auto* buttons = new QHBoxLayout;
  ChkAll = new QCheckBox(QStringLiteral("全部 "), this);
  ChkAll->setObjectName(QStringLiteral("ChkAll"));
  BitBtn1 = new QPushButton(QStringLiteral("确定导出"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("返回"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addWidget(ChkAll);
  buttons->addStretch(1);
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  column->addLayout(buttons);
  resize(260, 320);

  connect(ChkAll, &QCheckBox::clicked, this, &TFrmExportClass::ChkAllClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmExportClass::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmExportClass::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    ChkAll->setChecked(true);
    CheckAll(true);
  }
  QDialog::showEvent(event);
}

void TFrmExportClass::CheckAll(bool checked) {
  for (int i = 0; i < LstClass->count(); ++i) LstClass->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFrmExportClass::ChkAllClick() { CheckAll(ChkAll->isChecked()); }

QStringList TFrmExportClass::CheckedCategories() const {
  QStringList names;
  for (int i = 0; i < LstClass->count(); ++i) {
    if (LstClass->item(i)->checkState() == Qt::Checked) names << LstClass->item(i)->text();
  }
  return names;
}

bool TFrmExportClass::AllChecked() const { return CheckedCategories().size() == LstClass->count(); }

void TFrmExportClass::BitBtn1Click() {
  if (LstClass->count() == 0 || CheckedCategories().isEmpty()) {
    Tell(this, QStringLiteral("没有选择要导出的类别！"));
    return;
  }
  accept();
}

}  // namespace quorin::ui

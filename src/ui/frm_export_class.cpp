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
  setWindowTitle(tr("选择导出类别："));
  auto* column = new QVBoxLayout(this);
  categoryList_ = new QListWidget(this);
  categoryList_->setObjectName(QStringLiteral("LstClass"));
  for (const QString& name : categories) {
    auto* item = new QListWidgetItem(name, categoryList_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  column->addWidget(categoryList_, 1);

  auto* buttons = new QHBoxLayout;
  allBox_ = new QCheckBox(tr("全部 "), this);
  allBox_->setObjectName(QStringLiteral("ChkAll"));
  exportButton_ = new QPushButton(tr("确定导出"), this);
  exportButton_->setObjectName(QStringLiteral("BitBtn1"));
  exportButton_->setDefault(true);
  backButton_ = new QPushButton(tr("返回"), this);
  backButton_->setObjectName(QStringLiteral("BitBtn2"));
  buttons->addWidget(allBox_);
  buttons->addStretch(1);
  buttons->addWidget(exportButton_);
  buttons->addWidget(backButton_);
  column->addLayout(buttons);
  resize(260, 320);

  connect(allBox_, &QCheckBox::clicked, this, &TFrmExportClass::FollowAllBox);
  connect(exportButton_, &QPushButton::clicked, this, &TFrmExportClass::AcceptIfAnyChosen);
  connect(backButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmExportClass::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    allBox_->setChecked(true);
    CheckAll(true);
  }
  QDialog::showEvent(event);
}

void TFrmExportClass::CheckAll(bool checked) {
  for (int i = 0; i < categoryList_->count(); ++i)
    categoryList_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TFrmExportClass::FollowAllBox() { CheckAll(allBox_->isChecked()); }

QStringList TFrmExportClass::CheckedCategories() const {
  QStringList names;
  for (int i = 0; i < categoryList_->count(); ++i) {
    if (categoryList_->item(i)->checkState() == Qt::Checked) names << categoryList_->item(i)->text();
  }
  return names;
}

bool TFrmExportClass::AllChecked() const { return CheckedCategories().size() == categoryList_->count(); }

void TFrmExportClass::AcceptIfAnyChosen() {
  if (categoryList_->count() == 0 || CheckedCategories().isEmpty()) {
    Tell(this, tr("没有选择要导出的类别！"));
    return;
  }
  accept();
}

}  // namespace quorin::ui

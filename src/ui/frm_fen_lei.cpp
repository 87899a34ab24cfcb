// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_fen_lei.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "cases/case_text.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {

namespace {

// The box takes as many characters as the original program's did; only a category that exists
// is accepted, so the limit only stops runaway typing.
constexpr int kTypedCategoryLength = 13;

}  // namespace

TFrmFenLei::TFrmFenLei(const QStringList& categories, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmFenLei"));
  setWindowTitle(tr("分类保存"));
  auto* column = new QVBoxLayout(this);
  auto* line = new QHBoxLayout;
  auto* categoryLabel = new QLabel(tr("保存类别"), this);
  categoryLabel->setObjectName(QStringLiteral("Label1"));
  categoryBox_ = new QComboBox(this);
  categoryBox_->setObjectName(QStringLiteral("CboFenLei"));
  categoryBox_->setEditable(true);
  categoryBox_->setInsertPolicy(QComboBox::NoInsert);
  categoryBox_->lineEdit()->setMaxLength(kTypedCategoryLength);
  categoryBox_->setMaxVisibleItems(16);
  categoryBox_->setMinimumWidth(160);
  QPalette blue = categoryBox_->palette();
  blue.setColor(QPalette::Text, Qt::blue);
  categoryBox_->setPalette(blue);
  categoryBox_->addItems(categories);
  categoryLabel->setBuddy(categoryBox_);
  line->addWidget(categoryLabel);
  line->addWidget(categoryBox_, 1);
  column->addLayout(line);

  auto* buttons = new QHBoxLayout;
  okButton_ = new QPushButton(tr("确定"), this);
  okButton_->setObjectName(QStringLiteral("Btnok"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(tr("取消"), this);
  cancelButton_->setObjectName(QStringLiteral("Btnno"));
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  column->addLayout(buttons);

  connect(okButton_, &QPushButton::clicked, this, &TFrmFenLei::AcceptKnownCategory);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmFenLei::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    if (categoryBox_->count() > 0) categoryBox_->setCurrentIndex(0);
  }
  QDialog::showEvent(event);
}

void TFrmFenLei::AcceptKnownCategory() {
  const QString typed = categoryBox_->currentText().trimmed();
  // Only existing categories are offered; Latin letters match in either case.
  bool known = false;
  for (int i = 0; i < categoryBox_->count() && !known; ++i) {
    known = cases::EqualIgnoringAsciiCase(ToUtf8(categoryBox_->itemText(i)), ToUtf8(typed));
  }
  if (!known) {
    Tell(this, tr("请输入已经存在的类别名！如果要增加一个新的类别，请到案例列表上按鼠标右键-编辑类别！"), tr("错误"),
         Icon::Error);
    return;
  }
  result_ = typed;
  accept();
}

}  // namespace quorin::ui

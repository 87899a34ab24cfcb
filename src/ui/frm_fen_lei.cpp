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

TFrmFenLei::TFrmFenLei(const QStringList& categories, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmFenLei"));
  setWindowTitle(QStringLiteral("分类保存"));
  auto* column = new QVBoxLayout(this);
  auto* line = new QHBoxLayout;
  Label1 = new QLabel(QStringLiteral("保存类别"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  CboFenLei = new QComboBox(this);
  CboFenLei->setObjectName(QStringLiteral("CboFenLei"));
  CboFenLei->setEditable(true);
  CboFenLei->setInsertPolicy(QComboBox::NoInsert);
  CboFenLei->lineEdit()->setMaxLength(13);
  CboFenLei->setMaxVisibleItems(16);
  CboFenLei->setMinimumWidth(160);
  QPalette blue = CboFenLei->palette();
  blue.setColor(QPalette::Text, Qt::blue);
  CboFenLei->setPalette(blue);
  CboFenLei->addItems(categories);
  Label1->setBuddy(CboFenLei);
  line->addWidget(Label1);
  line->addWidget(CboFenLei, 1);
  column->addLayout(line);

  auto* buttons = new QHBoxLayout;
  Btnok = new QPushButton(QStringLiteral("确定"), this);
  Btnok->setObjectName(QStringLiteral("Btnok"));
  Btnok->setDefault(true);
  Btnno = new QPushButton(QStringLiteral("取消"), this);
  Btnno->setObjectName(QStringLiteral("Btnno"));
  buttons->addStretch(1);
  buttons->addWidget(Btnok);
  buttons->addWidget(Btnno);
  column->addLayout(buttons);

  connect(Btnok, &QPushButton::clicked, this, &TFrmFenLei::BtnokClick);
  connect(Btnno, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmFenLei::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ApplyProgramUiFont(this);
    if (CboFenLei->count() > 0) CboFenLei->setCurrentIndex(0);
  }
  QDialog::showEvent(event);
}

void TFrmFenLei::BtnokClick() {
  const QString typed = CboFenLei->currentText().trimmed();
  // Only existing categories are offered; Latin letters match in either case.
  bool known = false;
  for (int i = 0; i < CboFenLei->count() && !known; ++i) {
    known = cases::EqualIgnoringAsciiCase(ToUtf8(CboFenLei->itemText(i)), ToUtf8(typed));
  }
  if (!known) {
    Tell(this,
         QStringLiteral("请输入已经存在的类别名！如果要增加一个新的类别，请到案例列表上按鼠标右键-编辑类别！"),
         QStringLiteral("错误"), Icon::Error);
    return;
  }
  result_ = typed;
  accept();
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_num_combin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "chart/search.h"
#include "qtdraw/fonts.h"
#include "ui/labeled_edit.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

TFrmNumCombin::TFrmNumCombin(const QString& caption, chart::DigitGroup& group, QWidget* parent)
    : QDialog(parent), group_(group) {
  setObjectName(QStringLiteral("FrmNumCombin"));
  setWindowTitle(caption);
  setFont(qtdraw::SongFont(10.5));
  const int guo = fontMetrics().horizontalAdvance(QStringLiteral("国"));

  BoxBto = new QGroupBox(QStringLiteral("点击选择数字"), this);
  BoxBto->setObjectName(QStringLiteral("BoxBto"));
  BoxBto->setFixedSize(guo * 24, guo * 4);
  for (int i = 0; i < 9; ++i) {
    auto* button = new QPushButton(QString::number(i + 1), BoxBto);
    button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
    connect(button, &QPushButton::clicked, this, [this, i] { DigitClick(i + 1); });
    DigitButtons[static_cast<std::size_t>(i)] = button;
  }
  const LabeledEdit edit = MakeLabeledEdit(QStringLiteral("EdtNum"), QStringLiteral("数字组"), this);
  EdtNum = edit.edit;
  SpeedButton1 = new QToolButton(this);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->setText(QStringLiteral("X"));
  SpeedButton1->setToolTip(QStringLiteral("删除"));
  ChkOrder = new QCheckBox(QStringLiteral("数字相连 "), this);
  ChkOrder->setObjectName(QStringLiteral("ChkOrder"));
  BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(BoxBto, 0, 0, 1, 3);
  grid->addWidget(edit.box, 1, 0);
  grid->addWidget(SpeedButton1, 1, 1, Qt::AlignBottom);
  grid->addWidget(ChkOrder, 1, 2, Qt::AlignBottom);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  grid->addLayout(buttons, 2, 0, 1, 3);

  connect(SpeedButton1, &QToolButton::clicked, this, &TFrmNumCombin::SpeedButton1Click);
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmNumCombin::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  ApplyProgramUiFont(this);
  FixSizeAndCentre(this);
}

void TFrmNumCombin::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFrmNumCombin::LayOutDigitButtons() {
  // One row of nine equal cells inside the box's client area.
  const QRect client = BoxBto->contentsRect();
  const int a = client.width() / 9;
  const int width = static_cast<int>(a * 0.8);
  const int height = static_cast<int>(0.6 * client.height());
  const int top = client.top() + (client.height() - height) / 2 + height / 6;
  for (int i = 0; i < 9; ++i) {
    DigitButtons[static_cast<std::size_t>(i)]->setGeometry(client.left() + (a - width) / 2 + i * a, top, width, height);
  }
}

void TFrmNumCombin::FormShow() {
  LayOutDigitButtons();
  EdtNum->setText(ToQString(chart::DigitGroupText(group_)));
  ChkOrder->setChecked(group_.adjacent);
  EdtNum->setFocus();
}

void TFrmNumCombin::DigitClick(int digit) {
  QString text = EdtNum->text().trimmed();
  if (text.size() > kLongestTextBeforeDigit) {
    Tell(this, QStringLiteral("最多只支持6个数字！"));
    return;
  }
  if (!text.isEmpty()) text += QLatin1Char(' ');
  text += QString::number(digit);
  EdtNum->setText(text);
}

void TFrmNumCombin::SpeedButton1Click() { EdtNum->clear(); }

void TFrmNumCombin::BitBtn1Click() {
  group_ = chart::DigitGroupFromText(ToUtf8(EdtNum->text().trimmed()), ChkOrder->isChecked());
  accept();
}

}  // namespace quorin::ui

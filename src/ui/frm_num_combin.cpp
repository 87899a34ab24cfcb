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
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

TFrmNumCombin::TFrmNumCombin(const QString& caption, chart::DigitGroup& group, QWidget* parent)
    : QDialog(parent), group_(group) {
  setObjectName(QStringLiteral("FrmNumCombin"));
  setWindowTitle(caption);
  setFont(qtdraw::SongFont(kProgramFontPoints));
  const int guo = fontMetrics().horizontalAdvance(QStringLiteral("国"));

  digitBox_ = new QGroupBox(tr("点击选择数字"), this);
  digitBox_->setObjectName(QStringLiteral("BoxBto"));
  digitBox_->setFixedSize(guo * 24, guo * 4);
  for (int i = 0; i < kDigitCount; ++i) {
    auto* button = new QPushButton(QString::number(i + 1), digitBox_);
    button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
    connect(button, &QPushButton::clicked, this, [this, i] { AppendDigit(i + 1); });
    digitButtons_[static_cast<std::size_t>(i)] = button;
  }
  const LabeledEdit edit = MakeLabeledEdit(QStringLiteral("EdtNum"), tr("数字组"), this);
  digitsEdit_ = edit.edit;
  clearButton_ = new QToolButton(this);
  clearButton_->setObjectName(QStringLiteral("SpeedButton1"));
  clearButton_->setText(QStringLiteral("X"));
  clearButton_->setToolTip(tr("删除"));
  adjacentBox_ = new QCheckBox(tr("数字相连 "), this);
  adjacentBox_->setObjectName(QStringLiteral("ChkOrder"));
  okButton_ = new QPushButton(tr("确定"), this);
  okButton_->setObjectName(QStringLiteral("BitBtn1"));
  cancelButton_ = new QPushButton(tr("取消"), this);
  cancelButton_->setObjectName(QStringLiteral("BitBtn2"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(digitBox_, 0, 0, 1, 3);
  grid->addWidget(edit.box, 1, 0);
  grid->addWidget(clearButton_, 1, 1, Qt::AlignBottom);
  grid->addWidget(adjacentBox_, 1, 2, Qt::AlignBottom);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  grid->addLayout(buttons, 2, 0, 1, 3);

  connect(clearButton_, &QToolButton::clicked, digitsEdit_, &QLineEdit::clear);
  connect(okButton_, &QPushButton::clicked, this, &TFrmNumCombin::AcceptDigits);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyProgramUiFont(this);
  FixSizeAndCentre(this);
}

void TFrmNumCombin::showEvent(QShowEvent* event) {
  ShowGroup();
  QDialog::showEvent(event);
}

void TFrmNumCombin::LayOutDigitButtons() {
  // One row of nine equal cells inside the box's client area; a button takes four fifths of its
  // cell's width and three fifths of the box's height.
  constexpr double kWidthShare = 0.8;
  constexpr double kHeightShare = 0.6;
  const QRect client = digitBox_->contentsRect();
  const int a = client.width() / kDigitCount;
  const int width = static_cast<int>(a * kWidthShare);
  const int height = static_cast<int>(kHeightShare * client.height());
  const int top = client.top() + (client.height() - height) / 2 + height / 6;
  for (int i = 0; i < kDigitCount; ++i) {
    digitButtons_[static_cast<std::size_t>(i)]->setGeometry(client.left() + (a - width) / 2 + i * a, top, width,
                                                            height);
  }
}

void TFrmNumCombin::ShowGroup() {
  LayOutDigitButtons();
  digitsEdit_->setText(ToQString(chart::DigitGroupText(group_)));
  adjacentBox_->setChecked(group_.adjacent);
  digitsEdit_->setFocus();
}

void TFrmNumCombin::AppendDigit(int digit) {
  QString text = digitsEdit_->text().trimmed();
  if (text.size() > kLongestTextBeforeDigit) {
    Tell(this, tr("最多只支持6个数字！"));
    return;
  }
  if (!text.isEmpty()) text += QLatin1Char(' ');
  text += QString::number(digit);
  digitsEdit_->setText(text);
}

void TFrmNumCombin::AcceptDigits() {
  group_ = chart::DigitGroupFromText(ToUtf8(digitsEdit_->text().trimmed()), adjacentBox_->isChecked());
  accept();
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_set.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/data_location.h"
#include "qtdraw/fonts.h"
#include "ui/labeled_edit.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/radio_group.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {
constexpr const char* kSection = "set";
}

TFrmSet::TFrmSet(QWidget* parent, int screenWidth) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmSet"));
  setWindowTitle(QStringLiteral("软件设置"));
  setFont(qtdraw::SongFont(10.5));

  CboDate = new QComboBox(this);
  CboDate->setObjectName(QStringLiteral("CboDate"));
  CboDate->addItems({QStringLiteral("北京时间"), QStringLiteral("真太阳时"), QStringLiteral("地方时")});
  auto* dateLabel = new QLabel(QStringLiteral("使用时间"), this);
  dateLabel->setBuddy(CboDate);

  RdoJiaZi = new RadioGroup(QStringLiteral("四干支配卦"), {QStringLiteral("乾-坤-离-坎"), QStringLiteral("姤-复-革-蒙")}, this);
  RdoJiaZi->setObjectName(QStringLiteral("RdoJiaZi"));
  const LabeledEdit leftPos = MakeLabeledEdit(QStringLiteral("LedtLeftPos"), QStringLiteral("文本左边距离"), this, 3);
  LedtLeftPos = leftPos.edit;
  RdoShanShow = new RadioGroup(QStringLiteral("坐山卦显示"), {QStringLiteral("二十四山名"), QStringLiteral("对应的干支")}, this);
  RdoShanShow->setObjectName(QStringLiteral("RdoShanShow"));
  ChkRiGua = new QCheckBox(QStringLiteral("节气分配4日卦  "), this);
  ChkRiGua->setObjectName(QStringLiteral("ChkRiGua"));

  auto* uiGroup = new QGroupBox(QStringLiteral("界面字体(需重启) "), this);
  ChkMenuSize = new QCheckBox(QStringLiteral("同时更改菜单字体 "), uiGroup);
  ChkMenuSize->setObjectName(QStringLiteral("ChkMenuSize"));
  CboUiSize = new QComboBox(uiGroup);
  CboUiSize->setObjectName(QStringLiteral("CboUiSize"));
  CboUiSize->setEditable(true);
  CboUiSize->setMaxVisibleItems(15);
  auto* uiLayout = new QVBoxLayout(uiGroup);
  uiLayout->addWidget(ChkMenuSize);
  uiLayout->addWidget(CboUiSize);

  BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmSet::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(dateLabel);
  dateRow->addWidget(CboDate, 1);
  grid->addLayout(dateRow, 0, 0);
  grid->addWidget(leftPos.box, 0, 1);
  grid->addWidget(RdoJiaZi, 1, 0);
  grid->addWidget(RdoShanShow, 1, 1);
  grid->addWidget(ChkRiGua, 2, 0);
  grid->addWidget(uiGroup, 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  grid->addLayout(buttons, 4, 0, 1, 2);

  ApplyProgramUiFont(this);
  ini_ = std::make_unique<base::IniFile>(SetIniPath(), base::ShippedDataFile("set.ini"));
  CboDate->setCurrentIndex(-1);
  const int idate = ini_->ReadInteger(kSection, "idate", 0);
  if (idate >= 0 && idate < CboDate->count()) CboDate->setCurrentIndex(idate);
  RdoJiaZi->SetItemIndex(ini_->ReadInteger(kSection, "ijiazi", 0));
  LedtLeftPos->setText(QString::number(ini_->ReadInteger(kSection, "leftpos", 0)));
  RdoShanShow->SetItemIndex(ini_->ReadInteger(kSection, "iShanShow", 0));
  ChkRiGua->setChecked(ini_->ReadBool(kSection, "bRiGua", ChkRiGua->isChecked()));
  FillUiSizes(screenWidth);
  ChkMenuSize->setChecked(ini_->ReadBool(kSection, "bChangeMenuSize", false));

  FixSizeAndCentre(this);
}

void TFrmSet::FillUiSizes(int screenWidth) {
  for (int i = 10; i >= 1; --i) CboUiSize->addItem(QStringLiteral("+%1").arg(i));
  CboUiSize->addItem(QStringLiteral("0(默认)"));
  for (int i = -1; i >= -10; --i) CboUiSize->addItem(QString::number(i));

  const int recommended = screenWidth > 0 ? MUiFont::RecommendedChange(font(), screenWidth)
                                          : MUiFont::RecommendedChange(this);
  if (recommended >= -10 && recommended <= 10) {
    const int row = 10 - recommended;  // +10 is row 0, 0 row 10, -10 row 20
    CboUiSize->setItemText(row, CboUiSize->itemText(row) + QStringLiteral("(推荐)"));
  } else {
    CboUiSize->addItem(QStringLiteral("%1(推荐)").arg(recommended));
  }

  const int stored = ini_->ReadInteger(kSection, "iFontSizeVar", 0);
  for (int i = 0; i < CboUiSize->count(); ++i) {
    if (LeadingItemNumber(CboUiSize->itemText(i)) == stored) {
      CboUiSize->setCurrentIndex(i);
      return;
    }
  }
  CboUiSize->addItem(QString::number(stored));
  CboUiSize->setCurrentIndex(CboUiSize->count() - 1);
}

void TFrmSet::BitBtn1Click() {
  const std::optional<int> leftPos = TypedInteger(LedtLeftPos->text());
  if (!leftPos || *leftPos < 0 || *leftPos > 500) {
    Tell(this, QStringLiteral("文本左边距离在0-500之间"), QStringLiteral("输入错误"), Icon::Error);
    LedtLeftPos->setFocus();
    return;
  }
  if (!WriteSettings(*leftPos)) {
    // The settings stay in the dialog so that nothing typed is lost.
    Tell(this, QStringLiteral("无法写入设置文件%1：%2").arg(ToQString(ini_->Path()), ToQString(ini_->LastError())),
         QStringLiteral("错误"), Icon::Error);
    return;
  }
  accept();
}

bool TFrmSet::WriteSettings(int leftPos) {
  return ini_->WriteInteger(kSection, "leftpos", leftPos) &&
         ini_->WriteInteger(kSection, "idate", CboDate->currentIndex()) &&
         ini_->WriteInteger(kSection, "ijiazi", RdoJiaZi->ItemIndex()) &&
         ini_->WriteInteger(kSection, "iShanShow", RdoShanShow->ItemIndex()) &&
         ini_->WriteBool(kSection, "bRiGua", ChkRiGua->isChecked()) &&
         ini_->WriteInteger(kSection, "iFontSizeVar", LeadingItemNumber(CboUiSize->currentText())) &&
         ini_->WriteBool(kSection, "bChangeMenuSize", ChkMenuSize->isChecked());
}

}  // namespace quorin::ui

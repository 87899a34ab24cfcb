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
#include <algorithm>

#include "base/data_location.h"
#include "base/script_text.h"
#include "qtdraw/fonts.h"
#include "ui/labeled_edit.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/radio_group.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {
constexpr const char* kSection = "set";
// The text indent is 0 to 500 pixels, as the original program allowed: three digits.
constexpr int kLargestIndent = 500;
constexpr int kIndentDigits = 3;
// The interface font can grow or shrink by up to ten points.
constexpr int kLargestFontChange = 10;
}  // namespace

TFrmSet::TFrmSet(QWidget* parent, int screenWidth) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmSet"));
  setWindowTitle(tr("软件设置"));
  setFont(qtdraw::SongFont(kProgramFontPoints));

  timeBasisBox_ = new QComboBox(this);
  timeBasisBox_->setObjectName(QStringLiteral("CboDate"));
  timeBasisBox_->addItems({tr("北京时间"), tr("真太阳时"), tr("地方时")});
  auto* dateLabel = new QLabel(tr("使用时间"), this);
  dateLabel->setBuddy(timeBasisBox_);

  jiaziGuaGroup_ = new RadioGroup(tr("四干支配卦"), {tr("乾-坤-离-坎"), tr("姤-复-革-蒙")}, this);
  jiaziGuaGroup_->setObjectName(QStringLiteral("RdoJiaZi"));
  const LabeledEdit leftPos = MakeLabeledEdit(QStringLiteral("LedtLeftPos"), tr("文本左边距离"), this, kIndentDigits);
  indentEdit_ = leftPos.edit;
  mountainDisplayGroup_ = new RadioGroup(tr("坐山卦显示"), {tr("二十四山名"), tr("对应的干支")}, this);
  mountainDisplayGroup_->setObjectName(QStringLiteral("RdoShanShow"));
  dayGuaBox_ = new QCheckBox(tr("节气分配4日卦  "), this);
  dayGuaBox_->setObjectName(QStringLiteral("ChkRiGua"));

  auto* uiGroup = new QGroupBox(tr("界面字体(需重启) "), this);
  menuFontBox_ = new QCheckBox(tr("同时更改菜单字体 "), uiGroup);
  menuFontBox_->setObjectName(QStringLiteral("ChkMenuSize"));
  fontChangeBox_ = new QComboBox(uiGroup);
  fontChangeBox_->setObjectName(QStringLiteral("CboUiSize"));
  fontChangeBox_->setEditable(true);
  fontChangeBox_->setMaxVisibleItems(15);
  auto* uiLayout = new QVBoxLayout(uiGroup);
  uiLayout->addWidget(menuFontBox_);
  uiLayout->addWidget(fontChangeBox_);

  // Each script is named in its own characters, as a reader looks for it.
  scriptBox_ = new QComboBox(this);
  scriptBox_->setObjectName(QStringLiteral("CboScript"));
  for (const base::Script script : base::kAllScripts) {
    const std::string_view caption = base::ScriptCaption(script);
    scriptBox_->addItem(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
  }
  auto* scriptLabel = new QLabel(tr("文字"), this);
  scriptLabel->setBuddy(scriptBox_);
  auto* scriptNote = new QLabel(tr("图表和文本立即换用；菜单和窗口文字在重新启动后换用。"), this);

  okButton_ = new QPushButton(tr("确定"), this);
  okButton_->setObjectName(QStringLiteral("BitBtn1"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(tr("取消"), this);
  cancelButton_->setObjectName(QStringLiteral("BitBtn2"));
  connect(okButton_, &QPushButton::clicked, this, &TFrmSet::WriteAndClose);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  auto* dateRow = new QHBoxLayout;
  dateRow->addWidget(dateLabel);
  dateRow->addWidget(timeBasisBox_, 1);
  grid->addLayout(dateRow, 0, 0);
  grid->addWidget(leftPos.box, 0, 1);
  grid->addWidget(jiaziGuaGroup_, 1, 0);
  grid->addWidget(mountainDisplayGroup_, 1, 1);
  grid->addWidget(dayGuaBox_, 2, 0);
  grid->addWidget(uiGroup, 3, 0, 1, 2);
  auto* scriptRow = new QHBoxLayout;
  scriptRow->addWidget(scriptLabel);
  scriptRow->addWidget(scriptBox_, 1);
  scriptRow->addWidget(scriptNote);
  grid->addLayout(scriptRow, 4, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  grid->addLayout(buttons, 5, 0, 1, 2);

  ApplyProgramUiFont(this);
  ini_ = std::make_unique<base::IniFile>(SetIniPath(), base::ShippedDataFile("set.ini"));
  timeBasisBox_->setCurrentIndex(-1);
  const int idate = ini_->ReadInteger(kSection, "idate", 0);
  if (idate >= 0 && idate < timeBasisBox_->count()) timeBasisBox_->setCurrentIndex(idate);
  jiaziGuaGroup_->SetItemIndex(ini_->ReadInteger(kSection, "ijiazi", 0));
  indentEdit_->setText(QString::number(ini_->ReadInteger(kSection, "leftpos", 0)));
  mountainDisplayGroup_->SetItemIndex(ini_->ReadInteger(kSection, "iShanShow", 0));
  dayGuaBox_->setChecked(ini_->ReadBool(kSection, "bRiGua", dayGuaBox_->isChecked()));
  FillUiSizes(screenWidth);
  menuFontBox_->setChecked(ini_->ReadBool(kSection, "bChangeMenuSize", false));
  const base::Script script = base::ReadScriptSetting(*ini_);
  scriptBox_->setCurrentIndex(
      static_cast<int>(std::find(base::kAllScripts.begin(), base::kAllScripts.end(), script) - base::kAllScripts.begin()));

  FixSizeAndCentre(this);
}

void TFrmSet::FillUiSizes(int screenWidth) {
  for (int i = kLargestFontChange; i >= 1; --i) fontChangeBox_->addItem(QStringLiteral("+%1").arg(i));
  fontChangeBox_->addItem(tr("0(默认)"));
  for (int i = -1; i >= -kLargestFontChange; --i) fontChangeBox_->addItem(QString::number(i));

  const int recommended = screenWidth > 0 ? MUiFont::RecommendedChange(font(), screenWidth)
                                          : MUiFont::RecommendedChange(this);
  if (recommended >= -kLargestFontChange && recommended <= kLargestFontChange) {
    const int row = kLargestFontChange - recommended;  // +10 is row 0, 0 row 10, -10 row 20
    fontChangeBox_->setItemText(row, fontChangeBox_->itemText(row) + tr("(推荐)"));
  } else {
    fontChangeBox_->addItem(tr("%1(推荐)").arg(recommended));
  }

  const int stored = ini_->ReadInteger(kSection, "iFontSizeVar", 0);
  for (int i = 0; i < fontChangeBox_->count(); ++i) {
    if (LeadingItemNumber(fontChangeBox_->itemText(i)) == stored) {
      fontChangeBox_->setCurrentIndex(i);
      return;
    }
  }
  fontChangeBox_->addItem(QString::number(stored));
  fontChangeBox_->setCurrentIndex(fontChangeBox_->count() - 1);
}

void TFrmSet::WriteAndClose() {
  const std::optional<int> leftPos = TypedInteger(indentEdit_->text());
  if (!leftPos || *leftPos < 0 || *leftPos > kLargestIndent) {
    Tell(this, tr("文本左边距离在0-500之间"), tr("输入错误"), Icon::Error);
    indentEdit_->setFocus();
    return;
  }
  if (!WriteSettings(*leftPos)) {
    // The settings stay in the dialog so that nothing typed is lost.
    Tell(this, tr("无法写入设置文件%1：%2").arg(ToQString(ini_->Path()), ToQString(ini_->LastError())), tr("错误"),
         Icon::Error);
    return;
  }
  accept();
}

bool TFrmSet::WriteSettings(int leftPos) {
  return ini_->WriteInteger(kSection, "leftpos", leftPos) &&
         ini_->WriteInteger(kSection, "idate", timeBasisBox_->currentIndex()) &&
         ini_->WriteInteger(kSection, "ijiazi", jiaziGuaGroup_->ItemIndex()) &&
         ini_->WriteInteger(kSection, "iShanShow", mountainDisplayGroup_->ItemIndex()) &&
         ini_->WriteBool(kSection, "bRiGua", dayGuaBox_->isChecked()) &&
         ini_->WriteInteger(kSection, "iFontSizeVar", LeadingItemNumber(fontChangeBox_->currentText())) &&
         ini_->WriteBool(kSection, "bChangeMenuSize", menuFontBox_->isChecked()) && WriteScript();
}

bool TFrmSet::WriteScript() {
  const base::Script chosen = ChosenScript();
  // A file without the key reads as simplified Chinese: keeping that choice leaves the file as it was.
  if (chosen == base::Script::kSimplified && !ini_->ValueExists(kSection, base::kScriptKey)) return true;
  return ini_->WriteString(kSection, base::kScriptKey, std::string(base::ScriptName(chosen)));
}

base::Script TFrmSet::ChosenScript() const {
  const int row = scriptBox_->currentIndex();
  return row >= 0 && row < static_cast<int>(base::kAllScripts.size()) ? base::kAllScripts[static_cast<std::size_t>(row)]
                                                              : base::Script::kSimplified;
}

}  // namespace quorin::ui

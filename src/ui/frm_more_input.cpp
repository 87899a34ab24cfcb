// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_more_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "chart/domain_tables.h"
#include "qtdraw/fonts.h"
#include "ui/chart_inputs.h"
#include "ui/mountain_lists.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/ui_text.h"
#include "ui/window_placement.h"

namespace quorin::ui {
namespace {

QComboBox* MountainList(const QString& name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setMaxVisibleItems(chart::kMountainCount);
  FillMountainList(list);
  return list;
}

QComboBox* GuaList(const QString& name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setMinimumContentsLength(5);
  return list;
}

QPushButton* DegreeButton(const QString& name, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral(">"), parent);
  button->setObjectName(name);
  button->setToolTip(UiText::tr("周天度求山卦"));
  button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("国")) * 2);
  return button;
}

QCheckBox* Check(const QString& name, const QString& caption, QWidget* parent) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(name);
  return check;
}

}  // namespace

TFrmMoreInput::TFrmMoreInput(TRecordData& record, QWidget* parent) : QDialog(parent), record_(record) {
  setObjectName(QStringLiteral("FrmMoreInput"));
  setWindowTitle(tr("选择龙、水、向卦"));
  setFont(qtdraw::SongFont(kProgramFontPoints));

  dragonBox_ = Check(QStringLiteral("ChkLong"), tr("显示龙卦 "), this);
  dragonDegreesButton_ = DegreeButton(QStringLiteral("BtoLong"), this);
  dragonMountainBox_ = MountainList(QStringLiteral("CboLongShan"), this);
  dragonGuaBox_ = GuaList(QStringLiteral("CboLongGua"), this);
  waterBox_ = Check(QStringLiteral("ChkShui"), tr("显示水卦 "), this);
  waterDegreesButton_ = DegreeButton(QStringLiteral("BtoShui"), this);
  waterMountainBox_ = MountainList(QStringLiteral("CboShuiShan"), this);
  waterGuaBox_ = GuaList(QStringLiteral("CboShuiGua"), this);
  facingBox_ = Check(QStringLiteral("ChkXiang"), tr("显示向卦  "), this);
  okButton_ = new QPushButton(tr("选定"), this);
  okButton_->setObjectName(QStringLiteral("BitBtn1"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(tr("取消"), this);
  cancelButton_->setObjectName(QStringLiteral("BitBtn2"));

  auto* grid = new QGridLayout(this);
  int row = 0;
  for (const Position& p : {Dragon(), Water()}) {
    grid->addWidget(p.check, row, 0);
    grid->addWidget(p.degrees, row, 1);
    grid->addWidget(p.mountain, row, 2);
    grid->addWidget(p.gua, row, 3);
    ++row;
  }
  grid->addWidget(facingBox_, row++, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  grid->addLayout(buttons, row, 0, 1, 4);

  // The dragon and the water work alike, each on its own controls.
  for (const auto position : {&TFrmMoreInput::Dragon, &TFrmMoreInput::Water}) {
    const Position p = (this->*position)();
    connect(p.mountain, &QComboBox::activated, this, [p] { FillGuaList(p); });
    connect(p.check, &QCheckBox::clicked, this, [p] { EnablePosition(p); });
    connect(p.degrees, &QPushButton::clicked, this, [this, p] { AskDegrees(p); });
  }
  connect(okButton_, &QPushButton::clicked, this, &TFrmMoreInput::AcceptChoice);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyProgramUiFont(this);
  FixSizeAndCentre(this);
}

void TFrmMoreInput::showEvent(QShowEvent* event) {
  ShowRecord();
  QDialog::showEvent(event);
}

void TFrmMoreInput::FillGuaList(const Position& p) { ui::FillGuaList(p.gua, p.mountain->currentIndex()); }

void TFrmMoreInput::EnablePosition(const Position& p) {
  const bool on = p.check->isChecked();
  p.degrees->setEnabled(on);
  p.mountain->setEnabled(on);
  p.gua->setEnabled(on);
}

void TFrmMoreInput::ShowPosition(const Position& p, int mountain, int gua) {
  p.mountain->setCurrentIndex(0);
  FillGuaList(p);
  p.check->setChecked(mountain != -1);
  // A stored case may hold a position the lists do not offer: show 壬 then.
  if (mountain >= 0 && mountain < chart::kMountainCount) {
    p.mountain->setCurrentIndex(mountain);
    FillGuaList(p);
    if (gua >= 0 && gua < p.gua->count()) p.gua->setCurrentIndex(gua);
  }
  EnablePosition(p);
}

void TFrmMoreInput::ShowRecord() {
  ShowPosition(Dragon(), record_.dragonMountain, record_.dragonGua);
  ShowPosition(Water(), record_.waterMountain, record_.waterGua);
  facingBox_->setChecked(record_.showFacing);
}

void TFrmMoreInput::AskDegrees(const Position& p) {
  const std::optional<chart::MountainAndGua> found =
      AskCompassDegrees(this, tr("输入周天度"), tr("周天度数：     "), true);
  if (!found) return;
  p.mountain->setCurrentIndex(found->mountain);
  FillGuaList(p);
  p.gua->setCurrentIndex(found->guaPosition);
}

void TFrmMoreInput::AcceptChoice() {
  // Checked first, written after: a refusal leaves the record as it was.
  for (const auto& [p, message] : {std::pair{Dragon(), tr("请选择龙卦！")}, std::pair{Water(), tr("请选择水卦！")}}) {
    if (p.check->isChecked() && (p.mountain->currentIndex() < 0 || p.gua->currentIndex() < 0)) {
      Tell(this, message);
      p.mountain->setFocus();
      return;
    }
  }
  const auto store = [](const Position& p, std::int16_t& mountain, std::int16_t& gua) {
    if (!p.check->isChecked()) {
      mountain = -1;
      return;
    }
    mountain = static_cast<std::int16_t>(p.mountain->currentIndex());
    gua = static_cast<std::int16_t>(p.gua->currentIndex());
  };
  store(Dragon(), record_.dragonMountain, record_.dragonGua);
  store(Water(), record_.waterMountain, record_.waterGua);
  record_.showFacing = facingBox_->isChecked();
  accept();
}

}  // namespace quorin::ui

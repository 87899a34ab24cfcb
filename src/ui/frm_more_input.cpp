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
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {
namespace {

QComboBox* MountainList(const QString& name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setMaxVisibleItems(24);
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
  button->setToolTip(QStringLiteral("周天度求山卦"));
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
  setWindowTitle(QStringLiteral("选择龙、水、向卦"));
  setFont(qtdraw::SongFont(10.5));

  ChkLong = Check(QStringLiteral("ChkLong"), QStringLiteral("显示龙卦 "), this);
  BtoLong = DegreeButton(QStringLiteral("BtoLong"), this);
  CboLongShan = MountainList(QStringLiteral("CboLongShan"), this);
  CboLongGua = GuaList(QStringLiteral("CboLongGua"), this);
  ChkShui = Check(QStringLiteral("ChkShui"), QStringLiteral("显示水卦 "), this);
  BtoShui = DegreeButton(QStringLiteral("BtoShui"), this);
  CboShuiShan = MountainList(QStringLiteral("CboShuiShan"), this);
  CboShuiGua = GuaList(QStringLiteral("CboShuiGua"), this);
  ChkXiang = Check(QStringLiteral("ChkXiang"), QStringLiteral("显示向卦  "), this);
  BitBtn1 = new QPushButton(QStringLiteral("选定"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

  auto* grid = new QGridLayout(this);
  int row = 0;
  for (const Position& p : {Dragon(), Water()}) {
    grid->addWidget(p.check, row, 0);
    grid->addWidget(p.degrees, row, 1);
    grid->addWidget(p.mountain, row, 2);
    grid->addWidget(p.gua, row, 3);
    ++row;
  }
  grid->addWidget(ChkXiang, row++, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  grid->addLayout(buttons, row, 0, 1, 4);

  connect(CboLongShan, &QComboBox::activated, this, &TFrmMoreInput::CboLongShanChange);
  connect(CboShuiShan, &QComboBox::activated, this, &TFrmMoreInput::CboShuiShanChange);
  connect(ChkLong, &QCheckBox::clicked, this, &TFrmMoreInput::ChkLongClick);
  connect(ChkShui, &QCheckBox::clicked, this, &TFrmMoreInput::ChkShuiClick);
  connect(BtoLong, &QPushButton::clicked, this, &TFrmMoreInput::BtoLongClick);
  connect(BtoShui, &QPushButton::clicked, this, &TFrmMoreInput::BtoShuiClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmMoreInput::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  ApplyProgramUiFont(this);
  FixSizeAndCentre(this);
}

void TFrmMoreInput::showEvent(QShowEvent* event) {
  FormShow();
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

void TFrmMoreInput::FormShow() {
  ShowPosition(Dragon(), record_.dragonMountain, record_.dragonGua);
  ShowPosition(Water(), record_.waterMountain, record_.waterGua);
  ChkXiang->setChecked(record_.showFacing);
}

void TFrmMoreInput::CboLongShanChange() { FillGuaList(Dragon()); }
void TFrmMoreInput::CboShuiShanChange() { FillGuaList(Water()); }
void TFrmMoreInput::ChkLongClick() { EnablePosition(Dragon()); }
void TFrmMoreInput::ChkShuiClick() { EnablePosition(Water()); }
void TFrmMoreInput::BtoLongClick() { AskDegrees(Dragon()); }
void TFrmMoreInput::BtoShuiClick() { AskDegrees(Water()); }

void TFrmMoreInput::AskDegrees(const Position& p) {
  const std::optional<chart::MountainAndGua> found =
      AskCompassDegrees(this, QStringLiteral("输入周天度"), QStringLiteral("周天度数：     "), true);
  if (!found) return;
  p.mountain->setCurrentIndex(found->mountain);
  FillGuaList(p);
  p.gua->setCurrentIndex(found->guaPosition);
}

void TFrmMoreInput::BitBtn1Click() {
  // Checked first, written after: a refusal leaves the record as it was.
  for (const auto& [p, message] : {std::pair{Dragon(), QStringLiteral("请选择龙卦！")},
                                   std::pair{Water(), QStringLiteral("请选择水卦！")}}) {
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
  record_.showFacing = ChkXiang->isChecked();
  accept();
}

}  // namespace quorin::ui

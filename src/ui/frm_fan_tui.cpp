// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_fan_tui.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/pillar_search.h"
#include "calendar/yi_date_ex.h"
#include "chart/domain_tables.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "ui/chart_inputs.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"
#include "ui/up_down.h"
#include "ui/window_placement.h"

namespace quorin::ui {

using calendar::BuiltPillars;
using calendar::CivilDateTime;
using calendar::FourPillars;
using calendar::PillarChoice;

namespace {

constexpr int kRowHeight = 26;
constexpr int kRowPitch = 34;
// Where a search starts until the user picks another year.
constexpr int kDefaultStartYear = 1950;

}  // namespace

TFrmFanTui::TFrmFanTui(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmFanTui"));
  setWindowTitle(tr("四柱排盘"));
  setFont(qtdraw::SongFont(kProgramFontPoints));
  resize(475, 198);

  pillarPanel_ = new QFrame(this);
  pillarPanel_->setObjectName(QStringLiteral("Panel1"));
  pillarPanel_->setFrameShape(QFrame::StyledPanel);
  pillarPanel_->setGeometry(6, 6, 168, 186);
  const auto list = [&](const QString& name, int left, int row) {
    auto* box = new QComboBox(pillarPanel_);
    box->setObjectName(name);
    box->setGeometry(left, 6 + row * kRowPitch, 52, kRowHeight);
    return box;
  };
  const QStringList captions{tr("年柱"), tr("月支"), tr("日柱"), tr("时支"), tr("性别")};
  for (int row = 0; row < captions.size(); ++row) {
    auto* label = new QLabel(captions[row], pillarPanel_);
    label->setGeometry(8, 6 + row * kRowPitch, 40, kRowHeight);
  }
  yearStemBox_ = list(QStringLiteral("cbotian0"), 50, 0);
  yearBranchBox_ = list(QStringLiteral("cbodi0"), 108, 0);
  monthBranchBox_ = list(QStringLiteral("cbodi1"), 50, 1);
  dayStemBox_ = list(QStringLiteral("cbotian2"), 50, 2);
  dayBranchBox_ = list(QStringLiteral("cbodi2"), 108, 2);
  hourBranchBox_ = list(QStringLiteral("cbodi3"), 50, 3);
  maleButton_ = new QRadioButton(tr("男"), pillarPanel_);
  maleButton_->setObjectName(QStringLiteral("Rdona1"));
  maleButton_->setGeometry(50, 6 + 4 * kRowPitch, 52, kRowHeight);
  femaleButton_ = new QRadioButton(tr("女"), pillarPanel_);
  femaleButton_->setObjectName(QStringLiteral("Rdonv1"));
  femaleButton_->setGeometry(108, 6 + 4 * kRowPitch, 52, kRowHeight);
  maleButton_->setChecked(true);

  foundText_ = new QPlainTextEdit(this);
  foundText_->setObjectName(QStringLiteral("Memo1"));
  foundText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  foundText_->setGeometry(180, 6, 289, 150);

  startYearLabel_ = new QLabel(tr("起始年 "), this);
  startYearLabel_->setObjectName(QStringLiteral("Label6"));
  startYearLabel_->setStyleSheet(QStringLiteral("QLabel#Label6 { color: red; }"));
  startYearLabel_->setGeometry(180, 162, 56, kRowHeight);
  startYearEdit_ = new QLineEdit(QString::number(kDefaultStartYear), this);
  startYearEdit_->setObjectName(QStringLiteral("Edtyear"));
  startYearEdit_->setMaxLength(kYearInputLength);
  startYearEdit_->setGeometry(236, 162, 58, kRowHeight);
  startYearArrows_ = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, this);
  startYearArrows_->setObjectName(QStringLiteral("Upyear"));
  startYearArrows_->setGeometry(294, 164, 16, 22);
  findButton_ = new QPushButton(tr("反推"), this);
  findButton_->setObjectName(QStringLiteral("Btncha"));
  findButton_->setDefault(true);
  findButton_->setGeometry(318, 160, 72, 30);
  chartButton_ = new QPushButton(tr("大卦盘"), this);
  chartButton_->setObjectName(QStringLiteral("Btnpai"));
  chartButton_->setAutoDefault(false);
  chartButton_->setGeometry(396, 160, 73, 30);

  connect(findButton_, &QPushButton::clicked, this, &TFrmFanTui::FindMoment);
  connect(chartButton_, &QPushButton::clicked, this, &TFrmFanTui::ChartFoundMoment);
  connect(startYearArrows_, &UpDown::Clicked, this, &TFrmFanTui::ShowStartYearOfArrows);

  FillLists();
  chartButton_->setEnabled(false);
  ApplyProgramUiFont(this);
  setFixedSize(size());
}

std::optional<FanTuiResult> TFrmFanTui::Run(QWidget* owner, const FourPillars& remembered, bool male) {
  TFrmFanTui dialog(owner);
  dialog.Prepare(remembered, male);
  CentreOnScreen(&dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

void TFrmFanTui::FillLists() {
  const auto fill = [](QComboBox* box, const auto& names, int count) {
    for (int i = 0; i < count; ++i) box->addItem(ToQString(std::string(names.at((i + 1) % count))));
  };
  for (QComboBox* stems : {yearStemBox_, dayStemBox_}) fill(stems, calendar::kStemNames, calendar::kStemCount);
  for (QComboBox* branches : {yearBranchBox_, monthBranchBox_, dayBranchBox_, hourBranchBox_})
    fill(branches, calendar::kBranchNames, calendar::kBranchCount);
}

void TFrmFanTui::Prepare(const FourPillars& pillars, bool male) {
  chartButton_->setEnabled(false);
  startYearArrows_->SetPosition(kDefaultStartYear);
  const PillarChoice choice = calendar::ChoiceOfPillars(pillars);
  yearStemBox_->setCurrentIndex(choice.yearStem);
  yearBranchBox_->setCurrentIndex(choice.yearBranch);
  monthBranchBox_->setCurrentIndex(choice.monthBranch);
  dayStemBox_->setCurrentIndex(choice.dayStem);
  dayBranchBox_->setCurrentIndex(choice.dayBranch);
  hourBranchBox_->setCurrentIndex(choice.hourBranch);
  male_ = male;
  (male ? maleButton_ : femaleButton_)->setChecked(true);
}

FanTuiResult TFrmFanTui::Result() const { return {found_, male_, foundPillars_}; }

void TFrmFanTui::FindMoment() {
  const std::optional<int> start = ReadYearInput(
      this, startYearEdit_,
      tr("起始年必须在-4713到9999年之间，并且没有公元0年\n注意：公元前用负数，比如公元前120年，就输入-120"),
      tr("年份错误"));
  if (!start) return;
  chartButton_->setEnabled(false);
  const BuiltPillars built = calendar::BuildPillars({yearStemBox_->currentIndex(), yearBranchBox_->currentIndex(),
                                                     monthBranchBox_->currentIndex(), dayStemBox_->currentIndex(),
                                                     dayBranchBox_->currentIndex(), hourBranchBox_->currentIndex()});
  if (built.invalidPillar >= 0) {
    Tell(this, tr("不存在这个%1柱！").arg(qtdraw::ShownQString(chart::PillarLabel(built.invalidPillar))),
         tr("无效的四柱"), Icon::Error);
    return;
  }
  startYearArrows_->SetPosition(*start);

  calendar::MYiDateEx date;
  const std::optional<CivilDateTime> found = calendar::FindPillarMoment(date, built.pillars, *start);
  if (!found) {
    foundText_->setPlainText(tr("没有符合的四柱，改变起始年反推，或许可以找到。\n\n"));
    return;
  }
  foundText_->moveCursor(QTextCursor::End);
  foundText_->insertPlainText(tr("符合四柱：\n%1年 %2月 %3日 %4时 %5分\n\n")
                                  .arg(calendar::HistoricalYear(found->year))
                                  .arg(found->month)
                                  .arg(found->day)
                                  .arg(found->hour)
                                  .arg(found->minute));
  foundText_->moveCursor(QTextCursor::End);
  found_ = *found;
  foundPillars_ = built.pillars;
  chartButton_->setEnabled(true);
}

void TFrmFanTui::ChartFoundMoment() {
  male_ = maleButton_->isChecked();
  accept();
}

void TFrmFanTui::ShowStartYearOfArrows() {
  startYearEdit_->setText(QString::number(calendar::HistoricalYear(startYearArrows_->Position())));
}

}  // namespace quorin::ui

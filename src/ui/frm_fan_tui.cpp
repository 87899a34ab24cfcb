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
#include "ui/chart_inputs.h"
#include "ui/program_files.h"
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
  setWindowTitle(QStringLiteral("四柱排盘"));
  setFont(qtdraw::SongFont(10.5));  // 14 pixels at 96 dpi
  resize(475, 198);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setGeometry(6, 6, 168, 186);
  const auto list = [&](const QString& name, int left, int row) {
    auto* box = new QComboBox(Panel1);
    box->setObjectName(name);
    box->setGeometry(left, 6 + row * kRowPitch, 52, kRowHeight);
    return box;
  };
  const QStringList captions{QStringLiteral("年柱"), QStringLiteral("月支"), QStringLiteral("日柱"),
                             QStringLiteral("时支"), QStringLiteral("性别")};
  for (int row = 0; row < captions.size(); ++row) {
    auto* label = new QLabel(captions[row], Panel1);
    label->setGeometry(8, 6 + row * kRowPitch, 40, kRowHeight);
  }
  cbotian0 = list(QStringLiteral("cbotian0"), 50, 0);
  cbodi0 = list(QStringLiteral("cbodi0"), 108, 0);
  cbodi1 = list(QStringLiteral("cbodi1"), 50, 1);
  cbotian2 = list(QStringLiteral("cbotian2"), 50, 2);
  cbodi2 = list(QStringLiteral("cbodi2"), 108, 2);
  cbodi3 = list(QStringLiteral("cbodi3"), 50, 3);
  Rdona1 = new QRadioButton(QStringLiteral("男"), Panel1);
  Rdona1->setObjectName(QStringLiteral("Rdona1"));
  Rdona1->setGeometry(50, 6 + 4 * kRowPitch, 52, kRowHeight);
  Rdonv1 = new QRadioButton(QStringLiteral("女"), Panel1);
  Rdonv1->setObjectName(QStringLiteral("Rdonv1"));
  Rdonv1->setGeometry(108, 6 + 4 * kRowPitch, 52, kRowHeight);
  Rdona1->setChecked(true);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setGeometry(180, 6, 289, 150);

  Label6 = new QLabel(QStringLiteral("起始年 "), this);
  Label6->setObjectName(QStringLiteral("Label6"));
  Label6->setStyleSheet(QStringLiteral("QLabel#Label6 { color: red; }"));
  Label6->setGeometry(180, 162, 56, kRowHeight);
  Edtyear = new QLineEdit(QString::number(kDefaultStartYear), this);
  Edtyear->setObjectName(QStringLiteral("Edtyear"));
  Edtyear->setMaxLength(5);
  Edtyear->setGeometry(236, 162, 58, kRowHeight);
  Upyear = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, this);
  Upyear->setObjectName(QStringLiteral("Upyear"));
  Upyear->setGeometry(294, 164, 16, 22);
  Btncha = new QPushButton(QStringLiteral("反推"), this);
  Btncha->setObjectName(QStringLiteral("Btncha"));
  Btncha->setDefault(true);
  Btncha->setGeometry(318, 160, 72, 30);
  Btnpai = new QPushButton(QStringLiteral("大卦盘"), this);
  Btnpai->setObjectName(QStringLiteral("Btnpai"));
  Btnpai->setAutoDefault(false);
  Btnpai->setGeometry(396, 160, 73, 30);

  connect(Btncha, &QPushButton::clicked, this, &TFrmFanTui::BtnchaClick);
  connect(Btnpai, &QPushButton::clicked, this, &TFrmFanTui::BtnpaiClick);
  connect(Upyear, &UpDown::Clicked, this, &TFrmFanTui::UpyearClick);

  FillLists();
  Btnpai->setEnabled(false);
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
  for (QComboBox* stems : {cbotian0, cbotian2}) fill(stems, calendar::kStemNames, calendar::kStemCount);
  for (QComboBox* branches : {cbodi0, cbodi1, cbodi2, cbodi3})
    fill(branches, calendar::kBranchNames, calendar::kBranchCount);
}

void TFrmFanTui::Prepare(const FourPillars& pillars, bool male) {
  Btnpai->setEnabled(false);
  Upyear->SetPosition(kDefaultStartYear);
  const PillarChoice choice = calendar::ChoiceOfPillars(pillars);
  cbotian0->setCurrentIndex(choice.yearStem);
  cbodi0->setCurrentIndex(choice.yearBranch);
  cbodi1->setCurrentIndex(choice.monthBranch);
  cbotian2->setCurrentIndex(choice.dayStem);
  cbodi2->setCurrentIndex(choice.dayBranch);
  cbodi3->setCurrentIndex(choice.hourBranch);
  male_ = male;
  (male ? Rdona1 : Rdonv1)->setChecked(true);
}

FanTuiResult TFrmFanTui::Result() const { return {found_, male_, foundPillars_}; }

void TFrmFanTui::BtnchaClick() {
  const std::optional<int> start = ReadYearInput(
      this, Edtyear,
      QStringLiteral("起始年必须在-4713到9999年之间，并且没有公元0年\n注意：公元前用负数，比如公元前120年，就输入-120"),
      QStringLiteral("年份错误"));
  if (!start) return;
  Btnpai->setEnabled(false);
  const BuiltPillars built =
      calendar::BuildPillars({cbotian0->currentIndex(), cbodi0->currentIndex(), cbodi1->currentIndex(),
                              cbotian2->currentIndex(), cbodi2->currentIndex(), cbodi3->currentIndex()});
  if (built.invalidPillar >= 0) {
    Tell(this, QStringLiteral("不存在这个%1柱！").arg(ToQString(std::string(chart::PillarLabel(built.invalidPillar)))),
         QStringLiteral("无效的四柱"), Icon::Error);
    return;
  }
  Upyear->SetPosition(*start);

  calendar::MYiDateEx date;
  const std::optional<CivilDateTime> found = calendar::FindPillarMoment(date, built.pillars, *start);
  if (!found) {
    Memo1->setPlainText(QStringLiteral("没有符合的四柱，改变起始年反推，或许可以找到。\n\n"));
    return;
  }
  Memo1->moveCursor(QTextCursor::End);
  Memo1->insertPlainText(QStringLiteral("符合四柱：\n%1年 %2月 %3日 %4时 %5分\n\n")
                             .arg(calendar::HistoricalYear(found->year))
                             .arg(found->month)
                             .arg(found->day)
                             .arg(found->hour)
                             .arg(found->minute));
  Memo1->moveCursor(QTextCursor::End);
  found_ = *found;
  foundPillars_ = built.pillars;
  Btnpai->setEnabled(true);
}

void TFrmFanTui::BtnpaiClick() {
  male_ = Rdona1->isChecked();
  accept();
}

void TFrmFanTui::UpyearClick() { Edtyear->setText(QString::number(calendar::HistoricalYear(Upyear->Position()))); }

}  // namespace quorin::ui

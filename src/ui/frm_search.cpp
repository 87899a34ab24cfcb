// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_search.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/gbk.h"
#include "base/places.h"
#include "calendar/historical_year.h"
#include "cases/record_base.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/radio_group.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"

namespace quorin::ui {

namespace {

constexpr int kFirstYear = -850;
constexpr int kLastYear = 2100;

QLineEdit* Edit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  return edit;
}

// The text of an input as the criteria keep it: trimmed, within the byte limit.
std::string Kept(const QString& text, int maxBytes) { return base::TruncateToGbkBytes(ToUtf8(text.trimmed()), maxBytes); }

}  // namespace

TFrmSearch::TFrmSearch(cases::MRecordBase& store, cases::CaseSearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), store_(store), criteria_(criteria) {
  setObjectName(QStringLiteral("FrmSearch"));
  setWindowTitle(QStringLiteral("查找案例"));
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  column->addLayout(grid);
  int row = 0;
  const auto label = [&](const QString& caption, QWidget* buddy, int r, int c) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    grid->addWidget(l, r, c);
  };

  EdtName = Edit("EdtName", 20, this);
  ChkName = new QCheckBox(QStringLiteral("全字匹配"), this);
  ChkName->setObjectName(QStringLiteral("ChkName"));
  label(QStringLiteral("姓名"), EdtName, row, 0);
  grid->addWidget(EdtName, row, 1, 1, 2);
  grid->addWidget(ChkName, row++, 3);

  CboClass = new QComboBox(this);
  CboClass->setObjectName(QStringLiteral("CboClass"));
  CboClass->setEditable(true);
  CboClass->setInsertPolicy(QComboBox::NoInsert);
  CboClass->setMaxVisibleItems(16);
  CboClass->lineEdit()->setMaxLength(20);
  ChkClass = new QCheckBox(QStringLiteral("全字匹配"), this);
  ChkClass->setObjectName(QStringLiteral("ChkClass"));
  label(QStringLiteral("类别"), CboClass, row, 0);
  grid->addWidget(CboClass, row, 1, 1, 2);
  grid->addWidget(ChkClass, row++, 3);

  LedtY1 = Edit("LedtY1", 4, this);
  LedtY2 = Edit("LedtY2", 4, this);
  label(QStringLiteral("起课年从"), LedtY1, row, 0);
  grid->addWidget(LedtY1, row, 1);
  label(QStringLiteral("到"), LedtY2, row, 2);
  grid->addWidget(LedtY2, row++, 3);

  RdoSex = new RadioGroup(QStringLiteral("性别"), {QStringLiteral("无"), QStringLiteral("男"), QStringLiteral("女")}, this);
  RdoSex->setObjectName(QStringLiteral("RdoSex"));
  grid->addWidget(RdoSex, row++, 0, 1, 4);

  CboProv = new QComboBox(this);
  CboProv->setObjectName(QStringLiteral("CboProv"));
  CboProv->setMaxVisibleItems(25);
  CboProv->addItem(QStringLiteral("全部省份"));
  for (std::string_view province : base::ProvinceNames()) CboProv->addItem(ToQString(std::string(province)));
  label(QStringLiteral("省份"), CboProv, row, 0);
  grid->addWidget(CboProv, row++, 1, 1, 3);

  EdtComment = Edit("EdtComment", 40, this);
  label(QStringLiteral("评语"), EdtComment, row, 0);
  grid->addWidget(EdtComment, row++, 1, 1, 3);
  EdtEvent = Edit("EdtEvent", 200, this);
  label(QStringLiteral("占问事宜"), EdtEvent, row, 0);
  grid->addWidget(EdtEvent, row++, 1, 1, 3);

  Animate1 = new QProgressBar(this);
  Animate1->setObjectName(QStringLiteral("Animate1"));
  Animate1->setRange(0, 0);
  Animate1->setTextVisible(false);
  Animate1->hide();
  column->addWidget(Animate1);

  auto* buttons = new QHBoxLayout;
  BtoAll = new QPushButton(QStringLiteral("清空"), this);
  BtoAll->setObjectName(QStringLiteral("BtoAll"));
  BtoAll->setAutoDefault(false);
  BtnSearch = new QPushButton(QStringLiteral("查找"), this);
  BtnSearch->setObjectName(QStringLiteral("BtnSearch"));
  BtnSearch->setDefault(true);
  BtoCancel = new QPushButton(QStringLiteral("关闭"), this);
  BtoCancel->setObjectName(QStringLiteral("BtoCancel"));
  BtoCancel->setAutoDefault(false);
  buttons->addWidget(BtoAll);
  buttons->addStretch(1);
  buttons->addWidget(BtnSearch);
  buttons->addWidget(BtoCancel);
  column->addLayout(buttons);

  connect(BtoAll, &QPushButton::clicked, this, &TFrmSearch::BtoAllClick);
  connect(BtnSearch, &QPushButton::clicked, this, &TFrmSearch::BtnSearchClick);
  connect(BtoCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSearch::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

void TFrmSearch::FormShow() {
  ApplyProgramUiFont(this);
  std::vector<std::string> categories;
  // Without the list the category box is only typed into; the user hears why.
  if (!store_.GetClassNames(categories)) Tell(this, ToQString(store_.lastError()));
  CboClass->addItems(ToQStrings(categories));

  const cases::CaseSearchCriteria& c = criteria_;
  CboProv->setCurrentIndex(c.province + 1 >= 0 && c.province + 1 < CboProv->count() ? c.province + 1 : 0);
  RdoSex->SetItemIndex(c.sexSet ? (c.male ? 1 : 2) : 0);
  LedtY1->setText(c.yearsSet ? QString::number(calendar::HistoricalYear(c.yearFrom)) : QString());
  LedtY2->setText(c.yearsSet ? QString::number(calendar::HistoricalYear(c.yearTo)) : QString());
  ChkName->setChecked(c.nameMode == cases::CaseSearchCriteria::kEquals);
  EdtName->setText(!c.name.empty() && c.nameMode != cases::CaseSearchCriteria::kNoCondition ? ToQString(c.name)
                                                                                             : QString());
  ChkClass->setChecked(c.classMode == cases::CaseSearchCriteria::kEquals);
  CboClass->setEditText(!c.className.empty() && c.classMode != cases::CaseSearchCriteria::kNoCondition
                            ? ToQString(c.className)
                            : QString());
  EdtComment->setText(c.remarkSet ? ToQString(c.remark) : QString());
  EdtEvent->setText(c.eventSet ? ToQString(c.event) : QString());
}

void TFrmSearch::BtoAllClick() {
  if (!AskYesNo(this, QStringLiteral("这将清除所有输入的条件参数，确定吗？"), QStringLiteral("提示"),
                Icon::Information)) {
    return;
  }
  for (QLineEdit* edit : {EdtName, LedtY1, LedtY2, EdtComment, EdtEvent}) edit->clear();
  CboClass->setEditText(QString());
  RdoSex->SetItemIndex(0);
  CboProv->setCurrentIndex(0);
  ChkName->setChecked(false);
  ChkClass->setChecked(false);
}

bool TFrmSearch::CollectInputs() {
  cases::CaseSearchCriteria& c = criteria_;
  c.province = static_cast<std::int16_t>(CboProv->currentIndex() - 1);
  c.sexSet = RdoSex->ItemIndex() == 1 || RdoSex->ItemIndex() == 2;
  c.male = RdoSex->ItemIndex() == 1;

  if (LedtY1->text().isEmpty() && LedtY2->text().isEmpty()) {
    c.yearsSet = false;
  } else {
    const std::optional<int> fromYear = TypedInteger(LedtY1->text());
    const std::optional<int> toYear = TypedInteger(LedtY2->text());
    const auto valid = [](std::optional<int> y) { return y && *y >= kFirstYear && *y <= kLastYear && *y != 0; };
    if (!valid(fromYear) || !valid(toYear)) {
      Tell(this,
           QStringLiteral("年份必须在-850到2100年之间，并且没有公元0年\r\n注意：公元前用负数，比如公元前120年，就输入-120"),
           QStringLiteral("年份错误"), Icon::Warning);
      return false;
    }
    const int from = *fromYear;
    const int to = *toYear;
    if (to < from) {
      Tell(this, QStringLiteral("结束年必须大于或等于起始年"), QStringLiteral("年份错误"), Icon::Warning);
      return false;
    }
    c.yearsSet = true;
    c.yearFrom = static_cast<std::int16_t>(calendar::AstronomicalYear(from));
    c.yearTo = static_cast<std::int16_t>(calendar::AstronomicalYear(to));
  }

  const auto textCondition = [](const QString& text, bool whole, int maxBytes, std::string& kept, std::uint8_t& mode) {
    kept = Kept(text, maxBytes);
    if (kept.empty()) {
      mode = cases::CaseSearchCriteria::kNoCondition;
    } else {
      mode = whole ? cases::CaseSearchCriteria::kEquals : cases::CaseSearchCriteria::kContains;
    }
  };
  textCondition(EdtName->text(), ChkName->isChecked(), 20, c.name, c.nameMode);
  textCondition(CboClass->currentText(), ChkClass->isChecked(), 20, c.className, c.classMode);
  c.remark = Kept(EdtComment->text(), 40);
  c.remarkSet = !c.remark.empty();
  c.event = Kept(EdtEvent->text(), 200);
  c.eventSet = !c.event.empty();
  return true;
}

void TFrmSearch::SetSearching(bool searching) {
  for (QPushButton* b : {BtoAll, BtnSearch, BtoCancel}) b->setEnabled(!searching);
  Animate1->setVisible(searching);
  if (searching) Animate1->repaint();
}

void TFrmSearch::BtnSearchClick() {
  if (!CollectInputs()) return;
  if (store_.GetPrimaryId() == 0) {
    Tell(this, QStringLiteral("没有记录，无从查找。"));
    return;
  }
  SetSearching(true);
  std::optional<std::vector<int>> found = store_.Search(criteria_);
  SetSearching(false);
  if (!found) {
    Tell(this, ToQString(store_.lastError()));
    return;
  }
  if (found->empty()) {
    Tell(this, QStringLiteral("没有找到符合条件的案例。"), QStringLiteral("信息"), Icon::Information);
    return;
  }
  results_ = std::move(*found);
  accept();
}

}  // namespace quorin::ui

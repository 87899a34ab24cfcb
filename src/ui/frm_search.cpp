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

#include "base/places.h"
#include "calendar/historical_year.h"
#include "cases/case_store.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/radio_group.h"
#include "ui/ui_font.h"
#include "ui/ui_text.h"

namespace quorin::ui {

namespace {

// The items of the sex choice and the first one of the province list.
enum SexItem { kEitherSex = 0, kMaleItem = 1, kFemaleItem = 2 };
constexpr int kAllProvincesItem = 0;  // "全部省份"; province p is item p + 1
constexpr int kYearCharacters = 4;    // "-850" and "2100" fit
constexpr int kCategoriesShown = 16;  // rows of the category drop-down
constexpr int kProvincesShown = 25;   // rows of the province drop-down

QLineEdit* Edit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  return edit;
}

QCheckBox* WholeMatchCheck(const char* name, QWidget* parent) {
  auto* check = new QCheckBox(UiText::tr("全字匹配"), parent);
  check->setObjectName(QString::fromLatin1(name));
  return check;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

TFrmSearch::TFrmSearch(cases::CaseStore& store, cases::CaseSearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), store_(store), criteria_(criteria) {
  setObjectName(QStringLiteral("FrmSearch"));
  setWindowTitle(tr("查找案例"));
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  column->addLayout(grid);
  int row = 0;
  const auto label = [&](const QString& caption, QWidget* buddy, int r, int c) {
    auto* l = new QLabel(caption, this);
    l->setBuddy(buddy);
    grid->addWidget(l, r, c);
  };

  // The boxes take as many characters as the criteria keep GBK bytes.
  nameEdit_ = Edit("EdtName", cases::kSearchNameBytes, this);
  nameWholeCheck_ = WholeMatchCheck("ChkName", this);
  label(tr("姓名"), nameEdit_, row, 0);
  grid->addWidget(nameEdit_, row, 1, 1, 2);
  grid->addWidget(nameWholeCheck_, row++, 3);

  categoryCombo_ = new QComboBox(this);
  categoryCombo_->setObjectName(QStringLiteral("CboClass"));
  categoryCombo_->setEditable(true);
  categoryCombo_->setInsertPolicy(QComboBox::NoInsert);
  categoryCombo_->setMaxVisibleItems(kCategoriesShown);
  categoryCombo_->lineEdit()->setMaxLength(cases::kSearchCategoryBytes);
  categoryWholeCheck_ = WholeMatchCheck("ChkClass", this);
  label(tr("类别"), categoryCombo_, row, 0);
  grid->addWidget(categoryCombo_, row, 1, 1, 2);
  grid->addWidget(categoryWholeCheck_, row++, 3);

  fromYearEdit_ = Edit("LedtY1", kYearCharacters, this);
  toYearEdit_ = Edit("LedtY2", kYearCharacters, this);
  label(tr("起课年从"), fromYearEdit_, row, 0);
  grid->addWidget(fromYearEdit_, row, 1);
  label(tr("到"), toYearEdit_, row, 2);
  grid->addWidget(toYearEdit_, row++, 3);

  sexGroup_ = new RadioGroup(tr("性别"), {tr("无"), tr("男"), tr("女")}, this);
  sexGroup_->setObjectName(QStringLiteral("RdoSex"));
  grid->addWidget(sexGroup_, row++, 0, 1, 4);

  provinceCombo_ = new QComboBox(this);
  provinceCombo_->setObjectName(QStringLiteral("CboProv"));
  provinceCombo_->setMaxVisibleItems(kProvincesShown);
  provinceCombo_->addItem(tr("全部省份"));
  for (std::string_view province : base::ProvinceNames()) provinceCombo_->addItem(qtdraw::ShownQString(province));
  label(tr("省份"), provinceCombo_, row, 0);
  grid->addWidget(provinceCombo_, row++, 1, 1, 3);

  remarkEdit_ = Edit("EdtComment", cases::kSearchRemarkBytes, this);
  label(tr("评语"), remarkEdit_, row, 0);
  grid->addWidget(remarkEdit_, row++, 1, 1, 3);
  eventEdit_ = Edit("EdtEvent", cases::kSearchEventBytes, this);
  label(tr("占问事宜"), eventEdit_, row, 0);
  grid->addWidget(eventEdit_, row++, 1, 1, 3);

  busyBar_ = new QProgressBar(this);
  busyBar_->setObjectName(QStringLiteral("Animate1"));
  busyBar_->setRange(0, 0);
  busyBar_->setTextVisible(false);
  busyBar_->hide();
  column->addWidget(busyBar_);

  auto* buttons = new QHBoxLayout;
  clearButton_ = Button("BtoAll", tr("清空"), this);
  clearButton_->setAutoDefault(false);
  searchButton_ = Button("BtnSearch", tr("查找"), this);
  searchButton_->setDefault(true);
  closeButton_ = Button("BtoCancel", tr("关闭"), this);
  closeButton_->setAutoDefault(false);
  buttons->addWidget(clearButton_);
  buttons->addStretch(1);
  buttons->addWidget(searchButton_);
  buttons->addWidget(closeButton_);
  column->addLayout(buttons);

  connect(clearButton_, &QPushButton::clicked, this, &TFrmSearch::ClearConditions);
  connect(searchButton_, &QPushButton::clicked, this, &TFrmSearch::SearchCases);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSearch::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    ShowLastConditions();
  }
  QDialog::showEvent(event);
}

void TFrmSearch::ShowLastConditions() {
  ApplyProgramUiFont(this);
  std::vector<std::string> categories;
  // Without the list the category box is only typed into; the user hears why.
  if (!store_.GetClassNames(categories)) Tell(this, ToQString(store_.lastError()));
  categoryCombo_->addItems(ToQStrings(categories));

  const cases::CaseSearchCriteria& c = criteria_;
  const int provinceItem = c.province + 1;
  provinceCombo_->setCurrentIndex(provinceItem >= 0 && provinceItem < provinceCombo_->count() ? provinceItem
                                                                                              : kAllProvincesItem);
  sexGroup_->SetItemIndex(c.sexSet ? (c.male ? kMaleItem : kFemaleItem) : kEitherSex);
  fromYearEdit_->setText(c.yearsSet ? QString::number(calendar::HistoricalYear(c.yearFrom)) : QString());
  toYearEdit_->setText(c.yearsSet ? QString::number(calendar::HistoricalYear(c.yearTo)) : QString());
  nameWholeCheck_->setChecked(c.nameMode == cases::CaseSearchCriteria::kEquals);
  nameEdit_->setText(!c.name.empty() && c.nameMode != cases::CaseSearchCriteria::kNoCondition ? ToQString(c.name)
                                                                                               : QString());
  categoryWholeCheck_->setChecked(c.classMode == cases::CaseSearchCriteria::kEquals);
  categoryCombo_->setEditText(!c.className.empty() && c.classMode != cases::CaseSearchCriteria::kNoCondition
                                  ? ToQString(c.className)
                                  : QString());
  remarkEdit_->setText(c.remarkSet ? ToQString(c.remark) : QString());
  eventEdit_->setText(c.eventSet ? ToQString(c.event) : QString());
}

void TFrmSearch::ClearConditions() {
  if (!AskYesNo(this, tr("这将清除所有输入的条件参数，确定吗？"), tr("提示"), Icon::Information)) {
    return;
  }
  for (QLineEdit* edit : {nameEdit_, fromYearEdit_, toYearEdit_, remarkEdit_, eventEdit_}) edit->clear();
  categoryCombo_->setEditText(QString());
  sexGroup_->SetItemIndex(kEitherSex);
  provinceCombo_->setCurrentIndex(kAllProvincesItem);
  nameWholeCheck_->setChecked(false);
  categoryWholeCheck_->setChecked(false);
}

bool TFrmSearch::CollectConditions() {
  cases::TypedCaseConditions typed;
  typed.name = ToUtf8(nameEdit_->text());
  typed.nameWhole = nameWholeCheck_->isChecked();
  typed.className = ToUtf8(categoryCombo_->currentText());
  typed.classWhole = categoryWholeCheck_->isChecked();
  typed.fromYear = ToUtf8(fromYearEdit_->text());
  typed.toYear = ToUtf8(toYearEdit_->text());
  if (sexGroup_->ItemIndex() == kMaleItem || sexGroup_->ItemIndex() == kFemaleItem) {
    typed.male = sexGroup_->ItemIndex() == kMaleItem;
  }
  typed.province = provinceCombo_->currentIndex() - 1;
  typed.remark = ToUtf8(remarkEdit_->text());
  typed.event = ToUtf8(eventEdit_->text());
  const calendar::Outcome read = cases::ReadTypedConditions(typed, criteria_);
  if (!read.ok) {
    Tell(this, qtdraw::ShownQString(read.message).replace(QLatin1Char('\n'), QStringLiteral("\r\n")), tr("年份错误"),
         Icon::Warning);
  }
  return read.ok;
}

void TFrmSearch::SetSearching(bool searching) {
  for (QPushButton* b : {clearButton_, searchButton_, closeButton_}) b->setEnabled(!searching);
  busyBar_->setVisible(searching);
  if (searching) busyBar_->repaint();
}

void TFrmSearch::SearchCases() {
  if (!CollectConditions()) return;
  if (store_.GetPrimaryId() == 0 && !store_.IsShared()) {
    Tell(this, tr("没有记录，无从查找。"));
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
    Tell(this, tr("没有找到符合条件的案例。"), tr("信息"), Icon::Information);
    return;
  }
  results_ = std::move(*found);
  accept();
}

}  // namespace quorin::ui

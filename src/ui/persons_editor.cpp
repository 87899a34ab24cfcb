// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/persons_editor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendar/historical_year.h"
#include "ui/chart_inputs.h"
#include "ui/labeled_edit.h"
#include "ui/prompter.h"
#include "ui/program_files.h"

namespace quorin::ui {
namespace {

// Rows the list shows before it scrolls: it stands in a crowded column.
constexpr int kShownRows = 2;
// A name as a case stores it: ten characters.
constexpr int kNameLength = 10;

}  // namespace

QString PersonLineText(const OtherPerson& person) {
  return ToQString(person.name) + (person.male ? QStringLiteral("　男　") : QStringLiteral("　女　")) +
         QString::number(calendar::HistoricalYear(person.masterYear));
}

PersonDialog::PersonDialog(const OtherPerson& person, QWidget* parent) : QDialog(parent), person_(person) {
  setObjectName(QStringLiteral("FrmPerson"));
  setWindowTitle(tr("其他人"));
  nameEdit_ = new QLineEdit(ToQString(person.name), this);
  nameEdit_->setObjectName(QStringLiteral("EdtPersonName"));
  nameEdit_->setMaxLength(kNameLength);
  nameEdit_->setPlaceholderText(tr("称谓或姓名，如配偶、长子"));
  yearEdit_ = new QLineEdit(QString::number(calendar::HistoricalYear(person.masterYear)), this);
  yearEdit_->setObjectName(QStringLiteral("EdtPersonYear"));
  yearEdit_->setMaxLength(kYearInputLength);
  maleButton_ = new QRadioButton(tr("男"), this);
  maleButton_->setObjectName(QStringLiteral("RdoPersonMale"));
  femaleButton_ = new QRadioButton(tr("女"), this);
  femaleButton_->setObjectName(QStringLiteral("RdoPersonFemale"));
  (person.male ? maleButton_ : femaleButton_)->setChecked(true);
  auto* sex = new QHBoxLayout;
  sex->addWidget(maleButton_);
  sex->addWidget(femaleButton_);
  sex->addStretch();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &PersonDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PersonDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(tr("称谓"), nameEdit_);
  form->addRow(tr("性别"), sex);
  form->addRow(tr("生年"), yearEdit_);
  form->addRow(buttons);
}

void PersonDialog::accept() {
  const CleanedName cleaned = CleanName(nameEdit_->text());
  if (nameEdit_->text().trimmed().isEmpty()) {
    Tell(this, tr("请输入称谓或姓名！"), tr("其他人"), Icon::Warning);
    nameEdit_->setFocus();
    return;
  }
  const std::optional<int> year = ReadYearInput(this, yearEdit_, YearRangeMessage(tr("生年")), tr("年份错误"));
  if (!year) return;
  if (cleaned.changed) Tell(this, tr("姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！"));
  person_.name = ToUtf8(cleaned.name);
  person_.male = maleButton_->isChecked();
  person_.masterYear = *year;
  QDialog::accept();
}

PersonsEditor::PersonsEditor(const QString& suffix, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Persons") + suffix);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("ListPersons") + suffix);
  list_->setToolTip(tr("和主命一起看的其他人，最多7人；双击修改"));
  list_->setMaximumHeight(list_->fontMetrics().height() * kShownRows + 2 * list_->frameWidth() + 4);
  addButton_ = MakeToolButton(QStringLiteral("BtoAddPerson") + suffix, tr("添加"), this);
  editButton_ = MakeToolButton(QStringLiteral("BtoEditPerson") + suffix, tr("修改"), this);
  removeButton_ = MakeToolButton(QStringLiteral("BtoRemovePerson") + suffix, tr("删除"), this);
  addButton_->setToolTip(tr("添加其他人，如配偶、子女"));
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(1);
  for (QToolButton* button : {addButton_, editButton_, removeButton_}) {
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  connect(addButton_, &QToolButton::clicked, this, &PersonsEditor::Add);
  connect(editButton_, &QToolButton::clicked, this, &PersonsEditor::EditSelected);
  connect(removeButton_, &QToolButton::clicked, this, &PersonsEditor::RemoveSelected);
  connect(list_, &QListWidget::itemDoubleClicked, this, &PersonsEditor::EditSelected);
  connect(list_, &QListWidget::currentRowChanged, this, &PersonsEditor::Show);
  Show();
}

void PersonsEditor::SetPersons(const std::vector<OtherPerson>& persons) {
  if (persons == persons_) return;
  persons_ = persons;
  Show();
  emit Changed();
}

void PersonsEditor::Add() {
  if (persons_.size() + 1 >= static_cast<std::size_t>(kMaxPersons)) return;
  // A new person starts as the last one was entered, the usual case being a household's next child.
  OtherPerson person = persons_.empty() ? OtherPerson{"", true, kDefaultBirthYear} : persons_.back();
  person.name.clear();
  PersonDialog dialog(person, window());
  if (dialog.exec() != QDialog::Accepted) return;
  persons_.push_back(dialog.Person());
  Show();
  list_->setCurrentRow(static_cast<int>(persons_.size()) - 1);
  emit Changed();
}

void PersonsEditor::EditSelected() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(persons_.size())) return;
  PersonDialog dialog(persons_[static_cast<std::size_t>(row)], window());
  if (dialog.exec() != QDialog::Accepted) return;
  persons_[static_cast<std::size_t>(row)] = dialog.Person();
  Show();
  list_->setCurrentRow(row);
  emit Changed();
}

void PersonsEditor::RemoveSelected() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(persons_.size())) return;
  persons_.erase(persons_.begin() + row);
  Show();
  list_->setCurrentRow(std::min(row, static_cast<int>(persons_.size()) - 1));
  emit Changed();
}

void PersonsEditor::Show() {
  // Called by the list's own row change too: refill only when the texts changed.
  QStringList texts;
  for (const OtherPerson& person : persons_) texts << PersonLineText(person);
  QStringList shown;
  for (int i = 0; i < list_->count(); ++i) shown << list_->item(i)->text();
  if (shown != texts) {
    const QSignalBlocker quiet(list_);
    list_->clear();
    list_->addItems(texts);
  }
  const bool selected = list_->currentRow() >= 0;
  addButton_->setEnabled(persons_.size() + 1 < static_cast<std::size_t>(kMaxPersons));
  editButton_->setEnabled(selected);
  removeButton_->setEnabled(selected);
}

}  // namespace quorin::ui

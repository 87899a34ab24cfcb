// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/own_places_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/files.h"
#include "base/world_zones.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/ui_font.h"

namespace quorin::ui {

namespace {

// The mainland's clock times with their summer times, as the place lists of China offer it.
constexpr const char* kMainlandZone = "Asia/Shanghai";

QDoubleSpinBox* DegreesBox(const QString& name, double limit, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setRange(-limit, limit);
  box->setDecimals(4);
  box->setSingleStep(0.1);
  return box;
}

}  // namespace

std::string OwnPlacesPath() { return DataFolder() + std::string(base::kOwnPlacesFile); }

std::vector<ZoneChoice> ZoneChoices() {
  std::vector<ZoneChoice> choices;
  choices.push_back({QObject::tr("北京时间（不按时区）"), {}});
  choices.push_back({QObject::tr("中国（按当时钟表时间，含1986–1991年夏令时）"), kMainlandZone});
  for (const base::WorldCountry& country : base::WorldCountries(base::ShownScript()))
    for (const base::ZonedPlace& place : country.places)
      choices.push_back({ToQString(country.shownName + " " + place.shownName + "（" + place.zone + "）"), place.zone});
  return choices;
}

OwnPlacesDialog::OwnPlacesDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmOwnPlaces"));
  setWindowTitle(tr("自定地点"));
  setFont(qtdraw::SongFont(kProgramFontPoints));

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("LstOwnPlaces"));
  list_->setMinimumWidth(160);
  nameEdit_ = new QLineEdit(this);
  nameEdit_->setObjectName(QStringLiteral("EdtPlaceName"));
  longitudeBox_ = DegreesBox(QStringLiteral("SpnLongitude"), 180, this);
  latitudeBox_ = DegreesBox(QStringLiteral("SpnLatitude"), 90, this);
  zoneBox_ = new QComboBox(this);
  zoneBox_->setObjectName(QStringLiteral("CboPlaceZone"));
  zoneBox_->setMaxVisibleItems(20);
  for (const ZoneChoice& choice : ZoneChoices()) zoneBox_->addItem(choice.text, ToQString(choice.zone));
  addButton_ = new QPushButton(tr("添加"), this);
  addButton_->setObjectName(QStringLiteral("BtnAddPlace"));
  changeButton_ = new QPushButton(tr("修改"), this);
  changeButton_->setObjectName(QStringLiteral("BtnChangePlace"));
  removeButton_ = new QPushButton(tr("删除"), this);
  removeButton_->setObjectName(QStringLiteral("BtnRemovePlace"));
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* form = new QFormLayout;
  form->addRow(tr("地名"), nameEdit_);
  form->addRow(tr("经度（东经为正）"), longitudeBox_);
  form->addRow(tr("纬度（北纬为正）"), latitudeBox_);
  form->addRow(tr("时区"), zoneBox_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(addButton_);
  buttons->addWidget(changeButton_);
  buttons->addWidget(removeButton_);
  auto* right = new QVBoxLayout;
  right->addLayout(form);
  right->addLayout(buttons);
  right->addWidget(new QLabel(tr("输入的时间按所选时区的当地钟表时间计算（含夏令时）。"), this));
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addWidget(list_);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(close);

  connect(list_, &QListWidget::currentRowChanged, this, &OwnPlacesDialog::ShowChosenPlace);
  connect(addButton_, &QPushButton::clicked, this, &OwnPlacesDialog::AddPlace);
  connect(changeButton_, &QPushButton::clicked, this, &OwnPlacesDialog::ChangePlace);
  connect(removeButton_, &QPushButton::clicked, this, &OwnPlacesDialog::RemovePlace);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

  places_ = base::ReadOwnPlaces(OwnPlacesPath());
  ShowPlaces();
}

void OwnPlacesDialog::ShowPlaces() {
  const int row = list_->currentRow();
  list_->clear();
  for (const base::ZonedPlace& place : places_) list_->addItem(ToQString(place.name));
  list_->setCurrentRow(std::min(row, list_->count() - 1));
  const bool chosen = list_->currentRow() >= 0;
  changeButton_->setEnabled(chosen);
  removeButton_->setEnabled(chosen);
}

void OwnPlacesDialog::ShowChosenPlace() {
  const int row = list_->currentRow();
  const bool chosen = row >= 0 && row < static_cast<int>(places_.size());
  changeButton_->setEnabled(chosen);
  removeButton_->setEnabled(chosen);
  if (!chosen) return;
  const base::ZonedPlace& place = places_[static_cast<std::size_t>(row)];
  nameEdit_->setText(ToQString(place.name));
  longitudeBox_->setValue(place.longitude);
  latitudeBox_->setValue(place.latitude);
  const int zone = zoneBox_->findData(ToQString(place.zone));
  zoneBox_->setCurrentIndex(zone >= 0 ? zone : 0);
}

std::optional<base::ZonedPlace> OwnPlacesDialog::FormPlace() {
  base::ZonedPlace place;
  place.name = ToUtf8(nameEdit_->text().trimmed());
  place.shownName = place.name;
  place.longitude = longitudeBox_->value();
  place.latitude = latitudeBox_->value();
  place.zone = ToUtf8(zoneBox_->currentData().toString());
  const std::string problem = base::OwnPlaceProblem(place);
  if (!problem.empty()) {
    Tell(this, qtdraw::ShownQString(problem), tr("错误"), Icon::Warning);
    return std::nullopt;
  }
  return place;
}

void OwnPlacesDialog::AddPlace() {
  const std::optional<base::ZonedPlace> place = FormPlace();
  if (!place) return;
  for (const base::ZonedPlace& p : places_) {
    if (p.name == place->name) {
      Tell(this, tr("已经有这个地名：%1，请换一个名字，或选中它再修改。").arg(ToQString(place->name)), tr("错误"),
           Icon::Warning);
      return;
    }
  }
  std::vector<base::ZonedPlace> places = places_;
  places.push_back(*place);
  if (Keep(std::move(places))) list_->setCurrentRow(list_->count() - 1);
}

void OwnPlacesDialog::ChangePlace() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(places_.size())) return;
  const std::optional<base::ZonedPlace> place = FormPlace();
  if (!place) return;
  for (int i = 0; i < static_cast<int>(places_.size()); ++i) {
    if (i != row && places_[static_cast<std::size_t>(i)].name == place->name) {
      Tell(this, tr("已经有这个地名：%1，请换一个名字。").arg(ToQString(place->name)), tr("错误"), Icon::Warning);
      return;
    }
  }
  std::vector<base::ZonedPlace> places = places_;
  places[static_cast<std::size_t>(row)] = *place;
  Keep(std::move(places));
}

void OwnPlacesDialog::RemovePlace() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(places_.size())) return;
  if (!AskYesNo(this, tr("确定要删除地点：%1 吗？").arg(ToQString(places_[static_cast<std::size_t>(row)].name)),
                tr("注意了"), Icon::Warning))
    return;
  std::vector<base::ZonedPlace> places = places_;
  places.erase(places.begin() + row);
  Keep(std::move(places));
}

bool OwnPlacesDialog::Keep(std::vector<base::ZonedPlace> places) {
  std::string error;
  if (!base::AtomicWriteFile(OwnPlacesPath(), base::OwnPlacesText(places), &error)) {
    Tell(this, tr("无法写入地点文件%1：%2").arg(ToQString(OwnPlacesPath()), ToQString(error)), tr("错误"), Icon::Error);
    return false;
  }
  places_ = std::move(places);
  ShowPlaces();
  return true;
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_dili.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/data_location.h"
#include "base/places.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {

// The boxes take as many characters as the original program's did: three for the degrees of
// longitude, two for the others.
constexpr int kLongitudeDegreeChars = 3;
constexpr int kOtherChars = 2;

QLineEdit* NumberEdit(const QString& name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  edit->setFixedWidth(48);
  return edit;
}

}  // namespace

TFrmDiLi::TFrmDiLi(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmDiLi"));
  setWindowTitle(tr("经纬度修改"));
  setFont(qtdraw::SongFont(kProgramFontPoints));

  provinceBox_ = new QComboBox(this);
  provinceBox_->setObjectName(QStringLiteral("CboSheng"));
  provinceBox_->setMaxVisibleItems(18);
  cityBox_ = new QComboBox(this);
  cityBox_->setObjectName(QStringLiteral("CboShi"));
  cityBox_->setMaxVisibleItems(18);
  cityBox_->setMinimumContentsLength(8);
  longitudeDegreesEdit_ = NumberEdit(QStringLiteral("LedtJingDu"), kLongitudeDegreeChars, this);
  longitudeMinutesEdit_ = NumberEdit(QStringLiteral("LedtJingFen"), kOtherChars, this);
  latitudeDegreesEdit_ = NumberEdit(QStringLiteral("LedtWeiDu"), kOtherChars, this);
  latitudeMinutesEdit_ = NumberEdit(QStringLiteral("LedtWeiFen"), kOtherChars, this);
  changeButton_ = new QPushButton(tr("修改"), this);
  changeButton_->setObjectName(QStringLiteral("BtoEdit"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(provinceBox_, 0, 0, 1, 2);
  grid->addWidget(cityBox_, 0, 2, 1, 3);
  const auto row = [&](int r, const QString& caption, QLineEdit* degrees, QLineEdit* minutes) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(degrees);
    grid->addWidget(label, r, 0);
    grid->addWidget(degrees, r, 1);
    grid->addWidget(new QLabel(tr("度"), this), r, 2);
    grid->addWidget(minutes, r, 3);
    grid->addWidget(new QLabel(tr("分"), this), r, 4);
  };
  row(1, tr("经度"), longitudeDegreesEdit_, longitudeMinutesEdit_);
  row(2, tr("纬度"), latitudeDegreesEdit_, latitudeMinutesEdit_);
  grid->addWidget(changeButton_, 3, 3, 1, 2);

  ApplyProgramUiFont(this);
  ini_ = std::make_unique<base::IniFile>(DiliIniPath(), base::ShippedDataFile("dili.ini"));
  for (int i = 0; i < base::kUnknownProvince; ++i)
    // Shown in the program's script; the file's own names (its keys) ride along.
    provinceBox_->addItem(qtdraw::ShownQString(base::ProvinceNames()[i]), ToQString(std::string(base::ProvinceNames()[i])));
  connect(provinceBox_, &QComboBox::currentIndexChanged, this, &TFrmDiLi::ShowCitiesOfProvince);
  connect(cityBox_, &QComboBox::currentIndexChanged, this, &TFrmDiLi::ShowCoordinatesOfCity);
  connect(changeButton_, &QPushButton::clicked, this, &TFrmDiLi::WriteCoordinates);
  provinceBox_->setCurrentIndex(0);
  ShowCitiesOfProvince();

  FixSizeAndCentre(this);
}

void TFrmDiLi::ShowCitiesOfProvince() {
  const QSignalBlocker blocker(cityBox_);
  cityBox_->clear();
  if (provinceBox_->currentIndex() < 0) return;
  for (const std::string& key : ini_->ReadSectionKeys(ToUtf8(provinceBox_->currentData().toString())))
    cityBox_->addItem(qtdraw::ShownQString(key), ToQString(key));
  if (cityBox_->count() > 0) {
    cityBox_->setCurrentIndex(0);
    ShowCoordinatesOfCity();
  }
}

void TFrmDiLi::ShowCoordinatesOfCity() {
  if (cityBox_->currentIndex() < 0) return;
  std::string value =
      ini_->ReadString(ToUtf8(provinceBox_->currentData().toString()), ToUtf8(cityBox_->currentData().toString()), "");
  if (value.empty()) value = std::string(base::kDefaultPlaceValue);
  const base::PlaceValueParts parts = base::SplitPlaceValue(value);
  longitudeDegreesEdit_->setText(ToQString(parts.longitudeDegrees));
  longitudeMinutesEdit_->setText(ToQString(parts.longitudeMinutes));
  latitudeDegreesEdit_->setText(ToQString(parts.latitudeDegrees));
  latitudeMinutesEdit_->setText(ToQString(parts.latitudeMinutes));
}

void TFrmDiLi::WriteCoordinates() {
  if (cityBox_->currentIndex() < 0) return;
  const QString province = provinceBox_->currentData().toString();
  const QString city = cityBox_->currentData().toString();
  if (!AskYesNo(this, tr("确定要修改：%1%2 的经纬度数据吗？").arg(province, city), tr("注意了"), Icon::Warning,
                Answer::No)) {
    return;
  }
  const std::optional<int> longitude = TypedInteger(longitudeDegreesEdit_->text());
  const std::optional<int> longitudeMinutes = TypedInteger(longitudeMinutesEdit_->text());
  if (!longitude || !longitudeMinutes ||
      !(*longitude > -180 && *longitude < 180 && *longitudeMinutes >= 0 && *longitudeMinutes < 60)) {
    Tell(this, tr("经度在-180到180之间，分数在0-60之间"), tr("输入错误"), Icon::Error);
    return;
  }
  const std::optional<int> latitude = TypedInteger(latitudeDegreesEdit_->text());
  const std::optional<int> latitudeMinutes = TypedInteger(latitudeMinutesEdit_->text());
  if (!latitude || !latitudeMinutes ||
      !(*latitude > -90 && *latitude < 90 && *latitudeMinutes >= 0 && *latitudeMinutes < 60)) {
    Tell(this, tr("纬度在-90到90之间，分数在0-60之间"), tr("输入错误"), Icon::Error);
    return;
  }
  const std::string value = base::FormatPlaceValue(*longitude, *longitudeMinutes, *latitude, *latitudeMinutes);
  if (!ini_->WriteString(ToUtf8(province), ToUtf8(city), value)) {
    Tell(this, tr("无法写入经纬度文件%1：%2").arg(ToQString(ini_->Path()), ToQString(ini_->LastError())), tr("错误"),
         Icon::Error);
    return;
  }
  Tell(this, tr("完成"));
}

}  // namespace quorin::ui

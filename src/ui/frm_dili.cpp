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
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {

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
  setWindowTitle(QStringLiteral("经纬度修改"));
  setFont(qtdraw::SongFont(10.5));

  CboSheng = new QComboBox(this);
  CboSheng->setObjectName(QStringLiteral("CboSheng"));
  CboSheng->setMaxVisibleItems(18);
  CboShi = new QComboBox(this);
  CboShi->setObjectName(QStringLiteral("CboShi"));
  CboShi->setMaxVisibleItems(18);
  CboShi->setMinimumContentsLength(8);
  LedtJingDu = NumberEdit(QStringLiteral("LedtJingDu"), 3, this);
  LedtJingFen = NumberEdit(QStringLiteral("LedtJingFen"), 2, this);
  LedtWeiDu = NumberEdit(QStringLiteral("LedtWeiDu"), 2, this);
  LedtWeiFen = NumberEdit(QStringLiteral("LedtWeiFen"), 2, this);
  BtoEdit = new QPushButton(QStringLiteral("修改"), this);
  BtoEdit->setObjectName(QStringLiteral("BtoEdit"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(CboSheng, 0, 0, 1, 2);
  grid->addWidget(CboShi, 0, 2, 1, 3);
  const auto row = [&](int r, const QString& caption, QLineEdit* degrees, QLineEdit* minutes) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(degrees);
    grid->addWidget(label, r, 0);
    grid->addWidget(degrees, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("度"), this), r, 2);
    grid->addWidget(minutes, r, 3);
    grid->addWidget(new QLabel(QStringLiteral("分"), this), r, 4);
  };
  row(1, QStringLiteral("经度"), LedtJingDu, LedtJingFen);
  row(2, QStringLiteral("纬度"), LedtWeiDu, LedtWeiFen);
  grid->addWidget(BtoEdit, 3, 3, 1, 2);

  ApplyProgramUiFont(this);
  ini_ = std::make_unique<base::IniFile>(DiliIniPath(), base::ShippedDataFile("dili.ini"));
  for (int i = 0; i < base::kUnknownProvince; ++i) CboSheng->addItem(ToQString(std::string(base::ProvinceNames()[i])));
  connect(CboSheng, &QComboBox::currentIndexChanged, this, &TFrmDiLi::CboShengChange);
  connect(CboShi, &QComboBox::currentIndexChanged, this, &TFrmDiLi::CboShiChange);
  connect(BtoEdit, &QPushButton::clicked, this, &TFrmDiLi::BtoEditClick);
  CboSheng->setCurrentIndex(0);
  CboShengChange();

  FixSizeAndCentre(this);
}

void TFrmDiLi::CboShengChange() {
  const QSignalBlocker blocker(CboShi);
  CboShi->clear();
  if (CboSheng->currentIndex() < 0) return;
  for (const std::string& key : ini_->ReadSectionKeys(ToUtf8(CboSheng->currentText()))) CboShi->addItem(ToQString(key));
  if (CboShi->count() > 0) {
    CboShi->setCurrentIndex(0);
    CboShiChange();
  }
}

void TFrmDiLi::CboShiChange() {
  if (CboShi->currentIndex() < 0) return;
  std::string value = ini_->ReadString(ToUtf8(CboSheng->currentText()), ToUtf8(CboShi->currentText()), "");
  if (value.empty()) value = std::string(base::kDefaultPlaceValue);
  const base::PlaceValueParts parts = base::SplitPlaceValue(value);
  LedtJingDu->setText(ToQString(parts.longitudeDegrees));
  LedtJingFen->setText(ToQString(parts.longitudeMinutes));
  LedtWeiDu->setText(ToQString(parts.latitudeDegrees));
  LedtWeiFen->setText(ToQString(parts.latitudeMinutes));
}

void TFrmDiLi::BtoEditClick() {
  if (CboShi->currentIndex() < 0) return;
  const QString province = CboSheng->currentText();
  const QString city = CboShi->currentText();
  if (!AskYesNo(this, QStringLiteral("确定要修改：%1%2 的经纬度数据吗？").arg(province, city), QStringLiteral("注意了"),
                Icon::Warning, Answer::No)) {
    return;
  }
  const std::optional<int> longitude = TypedInteger(LedtJingDu->text());
  const std::optional<int> longitudeMinutes = TypedInteger(LedtJingFen->text());
  if (!longitude || !longitudeMinutes ||
      !(*longitude > -180 && *longitude < 180 && *longitudeMinutes >= 0 && *longitudeMinutes < 60)) {
    Tell(this, QStringLiteral("经度在-180到180之间，分数在0-60之间"), QStringLiteral("输入错误"), Icon::Error);
    return;
  }
  const std::optional<int> latitude = TypedInteger(LedtWeiDu->text());
  const std::optional<int> latitudeMinutes = TypedInteger(LedtWeiFen->text());
  if (!latitude || !latitudeMinutes ||
      !(*latitude > -90 && *latitude < 90 && *latitudeMinutes >= 0 && *latitudeMinutes < 60)) {
    Tell(this, QStringLiteral("纬度在-90到90之间，分数在0-60之间"), QStringLiteral("输入错误"), Icon::Error);
    return;
  }
  const std::string value = base::FormatPlaceValue(*longitude, *longitudeMinutes, *latitude, *latitudeMinutes);
  if (!ini_->WriteString(ToUtf8(province), ToUtf8(city), value)) {
    Tell(this, QStringLiteral("无法写入经纬度文件%1：%2").arg(ToQString(ini_->Path()), ToQString(ini_->LastError())),
         QStringLiteral("错误"), Icon::Error);
    return;
  }
  Tell(this, QStringLiteral("完成"));
}

}  // namespace quorin::ui

// The chart inputs of the main window: fixed lists, mountain and gua, date and time,
// province and city.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QCheckBox>
#include <algorithm>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "calendar/historical_year.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "ui/frm_main.h"
#include "ui/mountain_lists.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/up_down.h"

namespace quorin::ui {

void TFrmMain::FillFixedLists() {
  FillMountainList(CboShan);
  for (int i = 1; i <= 12; ++i) cbom->addItem(QStringLiteral("%1月").arg(i));
  for (int i = 1; i <= 31; ++i) cbod->addItem(QStringLiteral("%1日").arg(i));
  for (int i = 0; i < 24; ++i) cbos->addItem(HourItemText(i));
  for (int i = 0; i < 60; ++i) cbomin->addItem(QStringLiteral("%1分").arg(i));
  for (const std::string_view name : ProvinceNames()) cbodiZ->addItem(ToQString(std::string(name)));
  connect(EdtYear, &QLineEdit::textEdited, this, [this](const QString& text) {
    // A typed year moves the arrows with it, so they step from what is shown.
    const int year = IntegerOrDefault(text, 0);
    if (calendar::IsValidHistoricalYear(year)) UpDyear->SetPosition(calendar::AstronomicalYear(year));
  });
}

void TFrmMain::CboShanChange() { FillGuaList(CboGua, CboShan->currentIndex()); }

void TFrmMain::SelectMountainAndGua(int mountain, int guaPosition) {
  CboShan->setCurrentIndex(mountain);
  CboShanChange();
  CboGua->setCurrentIndex(guaPosition);
}

void TFrmMain::SetYearInputs(int astronomicalYear) {
  UpDyear->SetPosition(astronomicalYear);
  EdtYear->setText(QString::number(calendar::HistoricalYear(astronomicalYear)));
}

void TFrmMain::SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute) {
  SetYearInputs(astronomicalYear);
  cbom->setCurrentIndex(month - 1);
  cbod->setCurrentIndex(day - 1);
  cbos->setCurrentIndex(hour);
  cbomin->setCurrentIndex(minute);
  Rdogl->setChecked(true);
  Chkrun->setChecked(false);
}

void TFrmMain::SetDateInputsToNow(int yearCap) {
  const QDateTime now = LocalNow();
  const int year = std::min(now.date().year(), yearCap);
  SetMomentInputs(year, now.date().month(), now.date().day(), now.time().hour(), now.time().minute());
}

void TFrmMain::SpeedButton1Click() { SetDateInputsToNow(3000); }

void TFrmMain::UpDyearClick() { EdtYear->setText(QString::number(calendar::HistoricalYear(UpDyear->Position()))); }

void TFrmMain::cbodiZClick() {
  const int province = cbodiZ->currentIndex();
  if (province < 0) return;
  cityCoordinates_.clear();
  cbodiC->clear();
  if (province == kUnknownProvince) {
    cbodiC->addItem(ToQString(std::string(kUnknownPlace)));
    cityCoordinates_.push_back(Coordinates{});
    cbodiC->setCurrentIndex(0);
    return;
  }
  const base::IniFile dili(DiliIniPath());
  QStringList malformed;
  for (const City& city : ReadCities(dili, ProvinceNames()[static_cast<std::size_t>(province)])) {
    cbodiC->addItem(ToQString(city.name));
    cityCoordinates_.push_back(city.coordinates);
    if (city.malformed) malformed << ToQString(city.name);
  }
  cbodiC->setCurrentIndex(cbodiC->count() > 0 ? 0 : -1);
  if (!malformed.isEmpty()) {
    Tell(this,
         QStringLiteral("经纬度文件%1中%2的这些地名数据格式不对，暂按经度120、纬度30计算：\r\n%3")
             .arg(ToQString(DiliIniPath()), cbodiZ->currentText(), malformed.join(QStringLiteral("、"))),
         QStringLiteral("错误"), Icon::Warning);
  }
}

void TFrmMain::SpeedButton2Click() {
  const std::optional<QString> typed =
      Prompts().Input(this, QStringLiteral("输入"), QStringLiteral("输入县、市、区名："), QString());
  if (!typed || typed->isEmpty()) return;
  const std::string wanted = ToUtf8(*typed);
  const int wantedBytes = base::GbkByteLength(wanted);
  for (int i = 0; i < cbodiC->count(); ++i) {
    const std::string city = ToUtf8(cbodiC->itemText(i));
    if (city.find(wanted) != std::string::npos && base::GbkByteLength(city) <= wantedBytes + 2) {
      cbodiC->setCurrentIndex(i);
      return;
    }
  }
  Tell(this, QStringLiteral("没有这个地名，可以简化输入地名重新查找，或者选择邻近的县市。"));
}

void TFrmMain::SpeedButton7Click() {
  const std::optional<chart::MountainAndGua> found =
      AskCompassDegrees(this, QStringLiteral("周天度->坐山"), QStringLiteral("输入周天度数：     "), false);
  if (found) SelectMountainAndGua(found->mountain, found->guaPosition);
}

}  // namespace quorin::ui

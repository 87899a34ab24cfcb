// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chart_inputs_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/data_location.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "calendar/historical_year.h"
#include "base/world_zones.h"
#include "base/zoned_places.h"
#include "chart/domain_tables.h"
#include "chart/header_parts.h"
#include "qtdraw/shown_text.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "ui/labeled_edit.h"
#include "ui/mountain_lists.h"
#include "ui/own_places_dialog.h"
#include "ui/persons_editor.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/up_down.h"

namespace quorin::ui {

namespace {

// The inputs were laid out 110 pixels wide for the 14-pixel "国" of the program's font; another
// interface font widens or narrows them alike, and they are never narrower than their controls.
constexpr int kPanelWidth = 110;
constexpr int kDesignGuoWidth = 14;
constexpr int kPanelMargin = 3;
// As many characters as a stored name keeps.
constexpr int kNameLength = 10;

// What a province list item holds: the provinces of China (and 未知地), the user's own places, or
// a country of the world (its code as the item's data).
constexpr int kPlaceKindRole = Qt::UserRole + 1;
enum PlaceKind { kChinesePlaces = 0, kOwnPlaces = 1, kWorldPlaces = 2 };

// The scrolling column of inputs: as wide as the inputs need at their font, with room for the
// scroll bar, so that no interface font cuts their right side off.
class InputsScroll final : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

  QSize sizeHint() const override { return {ColumnWidth(), QScrollArea::sizeHint().height()}; }
  QSize minimumSizeHint() const override { return {ColumnWidth(), QScrollArea::minimumSizeHint().height()}; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // New fonts change what the inputs need: the window lays the column out again.
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
  }

 private:
  int ColumnWidth() const {
    const QWidget* inputs = widget();
    if (!inputs) return 0;
    const int designed = kPanelWidth * QFontMetrics(inputs->font()).horizontalAdvance(QChar(0x56FD)) / kDesignGuoWidth;
    return std::max(designed, inputs->minimumSizeHint().width()) + verticalScrollBar()->sizeHint().width() +
           2 * frameWidth();
  }
};

// The inputs are laid out one under another; these add a line to that column.
void AddLabel(QVBoxLayout* column, QWidget* control, const QString& caption) {
  auto* label = new QLabel(caption, control->parentWidget());
  label->setBuddy(control);
  column->addWidget(label);
}

void AddPair(QVBoxLayout* column, QWidget* left, QWidget* right) {
  auto* line = new QHBoxLayout;
  line->setSpacing(2);
  line->addWidget(left, 1);
  line->addWidget(right, 0);
  column->addLayout(line);
}

QComboBox* NamedList(const QString& name, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  return combo;
}

// Two radio buttons side by side, the first checked.
QWidget* RadioPair(QRadioButton*& first, const QString& firstName, const QString& firstCaption,
                   QRadioButton*& second, const QString& secondName, const QString& secondCaption,
                   QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  first = new QRadioButton(firstCaption, box);
  first->setObjectName(firstName);
  second = new QRadioButton(secondCaption, box);
  second->setObjectName(secondName);
  first->setChecked(true);
  row->addWidget(first);
  row->addWidget(second);
  return box;
}

}  // namespace

ChartInputsPanel::ChartInputsPanel(QWidget* parent) : QWidget(parent) {
  // The inputs scroll when the window is too low to show them all; 存新 and 排盘 stay
  // below them, so a large interface font never hides them.
  setObjectName(QStringLiteral("Panel2Column"));
  auto* inputsLayout = new QVBoxLayout(this);
  inputsLayout->setContentsMargins(0, 0, 0, 0);
  inputsLayout->setSpacing(0);
  auto* inputsScroll = new InputsScroll(this);
  inputsScroll->setObjectName(QStringLiteral("Panel2Scroll"));
  inputsScroll->setFrameShape(QFrame::NoFrame);
  inputsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  inputsScroll->setWidgetResizable(true);
  inputsColumn_ = new QWidget;
  inputsColumn_->setObjectName(QStringLiteral("Panel2"));
  inputsScroll->setWidget(inputsColumn_);
  inputsLayout->addWidget(inputsScroll, 1);
  buttonStrip_ = new QWidget(this);
  buttonStrip_->setObjectName(QStringLiteral("Panel2Buttons"));
  inputsLayout->addWidget(buttonStrip_, 0);

  inputsScroll->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  BuildInputs();

  auto* buttons = new QVBoxLayout(buttonStrip_);
  buttons->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
  buttons->setSpacing(kPanelMargin);
  saveButton_ = new QPushButton(tr("存新"), buttonStrip_);
  saveButton_->setObjectName(QStringLiteral("SbtoSave"));
  saveButton_->setToolTip(tr("保存八字"));
  buttons->addWidget(saveButton_);
  chartButton_ = new QPushButton(tr("排盘"), buttonStrip_);
  chartButton_->setObjectName(QStringLiteral("BtnPai"));
  buttons->addWidget(chartButton_);

  // Long lists must not widen the fixed panel.
  for (QComboBox* combo : inputsColumn_->findChildren<QComboBox*>()) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(3);
  }

  // What these buttons start belongs to the window: the panel passes their clicks on.
  for (const auto& [button, request] :
       {std::pair{chartButton_, &ChartInputsPanel::ChartRequested},
        std::pair{newButton_, &ChartInputsPanel::NewRequested},
        std::pair{saveButton_, &ChartInputsPanel::SaveRequested},
        std::pair{dragonWaterFacingButton_, &ChartInputsPanel::DragonWaterFacingRequested}}) {
    connect(button, &QPushButton::clicked, this, request);
  }
  connect(mountainBox_, &QComboBox::activated, this, &ChartInputsPanel::RefillGuaList);
  connect(provinceBox_, &QComboBox::activated, this, &ChartInputsPanel::ShowCitiesOfProvince);
  connect(cityBox_, &QComboBox::currentIndexChanged, this, &ChartInputsPanel::ShowZoneOfCity);
  // The small buttons beside the inputs fill them in.
  for (const auto& [button, fill] : {std::pair{nowButton_, &ChartInputsPanel::SetMomentToNow},
                                     std::pair{findCityButton_, &ChartInputsPanel::FindCityByName},
                                     std::pair{degreesButton_, &ChartInputsPanel::ChooseMountainByDegrees}}) {
    connect(button, &QToolButton::clicked, this, fill);
  }
  connect(yearArrows_, &UpDown::Clicked, this, &ChartInputsPanel::ShowYearOfArrows);
}

// The controls are made in the order the focus moves through them.
void ChartInputsPanel::BuildInputs() {
  auto* column = new QVBoxLayout(inputsColumn_);
  column->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
  column->setSpacing(kPanelMargin);

  newButton_ = new QPushButton(tr("新建"), inputsColumn_);
  newButton_->setObjectName(QStringLiteral("BtoNew"));
  newButton_->setToolTip(tr("新建日课"));
  column->addWidget(newButton_);

  nameEdit_ = new QLineEdit(tr("某人"), inputsColumn_);
  nameEdit_->setObjectName(QStringLiteral("EdtName"));
  nameEdit_->setMaxLength(kNameLength);
  AddLabel(column, nameEdit_, tr("主命姓名"));
  column->addWidget(nameEdit_);
  masterYearEdit_ = new QLineEdit(QString::number(kDefaultBirthYear), inputsColumn_);
  masterYearEdit_->setObjectName(QStringLiteral("LedtZhuYear"));
  AddLabel(column, masterYearEdit_, tr("主命生年"));
  column->addWidget(masterYearEdit_);
  column->addWidget(RadioPair(maleButton_, QStringLiteral("Rdona"), tr("男"), femaleButton_, QStringLiteral("Rdonv"),
                              tr("女"), inputsColumn_));
  personsEditor_ = new PersonsEditor(QString(), inputsColumn_);
  AddLabel(column, personsEditor_, tr("其他人"));
  column->addWidget(personsEditor_);

  mountainBox_ = new QComboBox(inputsColumn_);
  mountainBox_->setObjectName(QStringLiteral("CboShan"));
  mountainBox_->setMaxVisibleItems(chart::kMountainCount);
  AddLabel(column, mountainBox_, tr("山家"));
  degreesButton_ = MakeToolButton(QStringLiteral("SpeedButton7"), QStringLiteral(">"), inputsColumn_);
  degreesButton_->setToolTip(tr("周天度求山卦"));
  AddPair(column, mountainBox_, degreesButton_);
  guaBox_ = new QComboBox(inputsColumn_);
  guaBox_->setObjectName(QStringLiteral("CboGua"));
  column->addWidget(guaBox_);
  dragonWaterFacingButton_ = new QPushButton(tr("龙-水-向"), inputsColumn_);
  dragonWaterFacingButton_->setObjectName(QStringLiteral("Button1"));
  dragonWaterFacingButton_->setToolTip(tr("选择龙-水-向"));
  column->addWidget(dragonWaterFacingButton_);

  auto* yearBox = new QWidget(inputsColumn_);
  auto* yearRow = new QHBoxLayout(yearBox);
  yearRow->setContentsMargins(0, 0, 0, 0);
  yearRow->setSpacing(1);
  nowButton_ = MakeToolButton(QStringLiteral("SpeedButton1"), QString(), yearBox);
  nowButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  nowButton_->setToolTip(tr("现在时间"));
  yearEdit_ = new QLineEdit(yearBox);
  yearEdit_->setObjectName(QStringLiteral("EdtYear"));
  yearEdit_->setMaxLength(kYearInputLength);
  yearEdit_->setToolTip(tr("年份在-850至2100"));
  QFont bold = yearEdit_->font();
  bold.setBold(true);
  yearEdit_->setFont(bold);
  yearArrows_ = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, yearBox);
  yearArrows_->setObjectName(QStringLiteral("UpDyear"));
  yearRow->addWidget(nowButton_);
  yearRow->addWidget(yearEdit_, 1);
  yearRow->addWidget(yearArrows_);
  column->addWidget(yearBox);

  momentLists_ = {NamedList(QStringLiteral("cbom"), inputsColumn_), NamedList(QStringLiteral("cbod"), inputsColumn_),
                  NamedList(QStringLiteral("cbos"), inputsColumn_), NamedList(QStringLiteral("cbomin"), inputsColumn_)};
  for (QComboBox* list : {momentLists_.month, momentLists_.day, momentLists_.hour, momentLists_.minute}) {
    column->addWidget(list);
  }

  column->addWidget(RadioPair(gregorianButton_, QStringLiteral("Rdogl"), tr("公历"), lunarButton_,
                              QStringLiteral("Rdonl"), tr("农历"), inputsColumn_));
  leapMonthBox_ = new QCheckBox(tr("农历闰月"), inputsColumn_);
  leapMonthBox_->setObjectName(QStringLiteral("Chkrun"));
  column->addWidget(leapMonthBox_);

  provinceBox_ = NamedList(QStringLiteral("cbodiZ"), inputsColumn_);
  provinceBox_->setToolTip(tr("真太阳时可在菜单\"选项->排盘设置\"里设定"));
  provinceBox_->setMaxVisibleItems(20);
  column->addWidget(provinceBox_);
  cityBox_ = NamedList(QStringLiteral("cbodiC"), inputsColumn_);
  cityBox_->setToolTip(tr("选择邻近城市"));
  cityBox_->setMaxVisibleItems(20);
  findCityButton_ = MakeToolButton(QStringLiteral("SpeedButton2"), QStringLiteral(">"), inputsColumn_);
  findCityButton_->setToolTip(tr("输入县市名"));
  AddPair(column, cityBox_, findCityButton_);
  zoneBox_ = NamedList(QStringLiteral("cboZone"), inputsColumn_);
  zoneBox_->setToolTip(tr("输入的时间按哪里的钟表：中国各地为北京时间，海外和自定地点为当地钟表时间（含夏令时）"));
  column->addWidget(zoneBox_);

  column->addStretch(1);
}

void ChartInputsPanel::paintEvent(QPaintEvent*) {
  QStyleOption option;
  option.initFrom(this);
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void ChartInputsPanel::FillFixedLists() {
  FillMountainList(mountainBox_);
  momentLists_.Fill(HourItemText);
  // Shown in the script of the program; the names themselves (stored with a case) ride along.
  for (const std::string_view name : base::ProvinceNames())
    provinceBox_->addItem(qtdraw::ShownQString(name), ToQString(std::string(name)));
  // After the places of China: the user's own places, then the countries of the world.
  provinceBox_->addItem(tr("自定地点"));
  provinceBox_->setItemData(provinceBox_->count() - 1, kOwnPlaces, kPlaceKindRole);
  for (const base::WorldCountry& country : base::WorldCountries(base::ShownScript())) {
    // ICU's names are in the script already.
    provinceBox_->addItem(ToQString(country.shownName), ToQString(country.code));
    provinceBox_->setItemData(provinceBox_->count() - 1, kWorldPlaces, kPlaceKindRole);
  }
  connect(yearEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // A typed year moves the arrows with it, so they step from what is shown.
    const std::optional<int> year = TypedInteger(text);
    if (year && calendar::IsValidHistoricalYear(*year)) yearArrows_->SetPosition(calendar::AstronomicalYear(*year));
  });
}

bool ChartInputsPanel::ReadInto(TRecordData& record) {
  const CleanedName cleaned = CleanName(nameEdit_->text());
  if (cleaned.changed) {
    Tell(window(), tr("姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！"));
    nameEdit_->setText(cleaned.name);
  }

  const std::optional<int> year = ReadYearInput(window(), yearEdit_, YearRangeMessage(QString()), tr("年份错误"));
  if (!year) return false;
  const std::optional<int> masterYear =
      ReadYearInput(window(), masterYearEdit_, YearRangeMessage(QStringLiteral("主命")), tr("年份错误"));
  if (!masterYear) return false;

  record.masterYear = *masterYear;
  record.male = maleButton_->isChecked();
  record.otherPersons = personsEditor_->Persons();
  record.mountain = mountainBox_->currentIndex();
  record.mountainGua = guaBox_->currentIndex();
  yearArrows_->SetPosition(*year);
  const calendar::CivilDateTime moment = momentLists_.Selected(*year);
  record.year = moment.year;
  record.month = moment.month;
  record.day = moment.day;
  record.hour = moment.hour;
  record.minute = moment.minute;
  record.isLunar = lunarButton_->isChecked();
  record.isLeapMonth = leapMonthBox_->isChecked();
  record.name = ToUtf8(nameEdit_->text());
  ReadPlaceInto(record);
  return true;
}

void ChartInputsPanel::ReadPlaceInto(TRecordData& record) const {
  const int city = cityBox_->currentIndex();
  const bool listed = city >= 0 && city < static_cast<int>(cityCoordinates_.size());
  // A place missing from the lists (no city, or an index beyond them) counts as the
  // place not given.
  const base::Coordinates place = listed ? cityCoordinates_[static_cast<std::size_t>(city)] : base::Coordinates{};
  record.longitude = place.longitude;
  record.latitude = place.latitude;
  record.fold = 0;
  const int kind = PlaceKindAt(provinceBox_->currentIndex());
  if (kind != kChinesePlaces) {
    // Own and world places stand as the place not given for readers that know only the
    // provinces; their name and zone say where they are.
    record.province = static_cast<std::int16_t>(base::kUnknownProvince);
    record.city = 0;
    record.addrName = listed ? ToUtf8(cityBox_->currentData().toString()) : std::string(base::kUnknownPlace);
    record.zone = listed ? cityZones_[static_cast<std::size_t>(city)] : std::string();
    return;
  }
  record.province = static_cast<std::int16_t>(provinceBox_->currentIndex());
  record.city = static_cast<std::int16_t>(city);
  const QString address = provinceBox_->currentIndex() == base::kUnknownProvince || provinceBox_->currentIndex() < 0
                              ? ToQString(std::string(base::kUnknownPlace))
                              : provinceBox_->currentData().toString() + cityBox_->currentData().toString();
  record.addrName = ToUtf8(address);
  record.zone = ToUtf8(zoneBox_->currentData().toString());
}

void ChartInputsPanel::ShowPlace(int province, int city, const std::string& name, const std::string& zone) {
  // Own and world places are found again by their name and zone.
  if (province == base::kUnknownProvince && !name.empty() && name != base::kUnknownPlace) {
    const std::vector<base::ZonedPlace> own = base::ReadOwnPlaces(OwnPlacesPath());
    for (std::size_t i = 0; i < own.size(); ++i) {
      if (own[i].name == name && own[i].zone == zone) {
        SelectListedPlace(provinceBox_->findData(kOwnPlaces, kPlaceKindRole), static_cast<int>(i));
        return;
      }
    }
    if (!zone.empty()) {
      std::optional<std::pair<int, int>> byZone;
      const std::vector<base::WorldCountry>& countries = base::WorldCountries(base::ShownScript());
      for (const base::WorldCountry& country : countries) {
        for (std::size_t i = 0; i < country.places.size(); ++i) {
          if (country.places[i].zone != zone) continue;
          const int item = provinceBox_->findData(ToQString(country.code));
          if (country.places[i].name == name) {
            SelectListedPlace(item, static_cast<int>(i));
            return;
          }
          if (!byZone) byZone = std::pair{item, static_cast<int>(i)};
        }
      }
      if (byZone) {
        SelectListedPlace(byZone->first, byZone->second);
        return;
      }
    }
  }
  provinceBox_->setCurrentIndex(province >= 0 && province < base::kProvinceCount ? province : base::kUnknownProvince);
  ShowCitiesOfProvince();
  cityBox_->setCurrentIndex(city >= 0 && city < cityBox_->count() ? city : (cityBox_->count() > 0 ? 0 : -1));
  // A Chinese place read in a zone (the mainland's clock times, or one a script gave).
  int zoneItem = zoneBox_->findData(ToQString(zone));
  if (zoneItem < 0) {
    zoneBox_->addItem(ZoneItemText(zone), ToQString(zone));
    zoneItem = zoneBox_->count() - 1;
  }
  zoneBox_->setCurrentIndex(zoneItem);
}

void ChartInputsPanel::SelectListedPlace(int provinceItem, int city) {
  provinceBox_->setCurrentIndex(provinceItem);
  ShowCitiesOfProvince();
  cityBox_->setCurrentIndex(city >= 0 && city < cityBox_->count() ? city : (cityBox_->count() > 0 ? 0 : -1));
}

int ChartInputsPanel::PlaceKindAt(int provinceItem) const {
  if (provinceItem < 0 || provinceItem >= provinceBox_->count()) return kChinesePlaces;
  return provinceBox_->itemData(provinceItem, kPlaceKindRole).toInt();
}

void ChartInputsPanel::ShowZoneOfCity() {
  const bool chinese = PlaceKindAt(provinceBox_->currentIndex()) == kChinesePlaces;
  if (chinese) {
    // Beijing time as always, or the mainland's clock times with their summer times.
    if (zoneBox_->count() < 2 || zoneBox_->itemData(1).toString() != QLatin1String(chart::kMainlandZone)) {
      zoneBox_->clear();
      zoneBox_->addItem(tr("北京时间"), QString());
      zoneBox_->addItem(tr("中国（按当时钟表时间，含1986–1991年夏令时）"), QString::fromLatin1(chart::kMainlandZone));
    }
    zoneBox_->setToolTip(tr("输入的时间按哪里的钟表：中国各地为北京时间，海外和自定地点为当地钟表时间（含夏令时）"));
    zoneBox_->setEnabled(true);
    return;
  }
  zoneBox_->clear();
  const int city = cityBox_->currentIndex();
  const std::string zone =
      city >= 0 && city < static_cast<int>(cityZones_.size()) ? cityZones_[static_cast<std::size_t>(city)] : std::string();
  zoneBox_->addItem(zone.empty() ? tr("北京时间") : ZoneItemText(zone), ToQString(zone));
  zoneBox_->setToolTip(zone.empty() ? zoneBox_->itemText(0) : zoneBox_->itemText(0) + QStringLiteral("（%1）").arg(ToQString(zone)));
  // The place's own zone: chosen with the place.
  zoneBox_->setEnabled(false);
}

QString ChartInputsPanel::ZoneItemText(const std::string& zone) {
  return tr("%1时间").arg(ToQString(base::ZoneCityName(zone, base::ShownScript())));
}

void ChartInputsPanel::ShowRecord(const TRecordData& r) {
  SetMomentInputs(r.year, r.month, r.day, r.hour, r.minute);
  (r.isLunar ? lunarButton_ : gregorianButton_)->setChecked(true);
  leapMonthBox_->setChecked(r.isLeapMonth);
  ShowPlace(r.province, r.city, r.addrName, r.zone);
  nameEdit_->setText(ToQString(r.name));
  SetMale(r.male);
  masterYearEdit_->setText(QString::number(calendar::HistoricalYear(r.masterYear)));
  personsEditor_->SetPersons(r.otherPersons);
  SelectMountainAndGua(r.mountain, r.mountainGua);
}

void ChartInputsPanel::RestorePlace(int province, int city, const std::string& name, const std::string& zone) {
  cityCoordinates_.assign(1, base::Coordinates{});
  cityZones_.assign(1, std::string());
  if (!zone.empty() || (!name.empty() && name != base::kUnknownPlace)) {
    ShowPlace(province, city, name, zone);
    return;
  }
  provinceBox_->setCurrentIndex(province >= 0 && province < base::kProvinceCount ? province : -1);
  ShowCitiesOfProvince();
  cityBox_->setCurrentIndex(city >= 0 && city < cityBox_->count() ? city : (cityBox_->count() > 0 ? 0 : -1));
  ShowZoneOfCity();
}

std::string ChartInputsPanel::PlaceName() const {
  if (PlaceKindAt(provinceBox_->currentIndex()) == kChinesePlaces) return {};
  TRecordData r;
  ReadPlaceInto(r);
  return r.addrName;
}

std::string ChartInputsPanel::Zone() const {
  TRecordData r;
  ReadPlaceInto(r);
  return r.zone;
}

void ChartInputsPanel::RefillGuaList() { FillGuaList(guaBox_, mountainBox_->currentIndex()); }

void ChartInputsPanel::SelectMountainAndGua(int mountain, int guaPosition) {
  mountainBox_->setCurrentIndex(mountain);
  RefillGuaList();
  guaBox_->setCurrentIndex(guaPosition);
}

void ChartInputsPanel::SetYearInputs(int astronomicalYear) {
  yearArrows_->SetPosition(astronomicalYear);
  yearEdit_->setText(QString::number(calendar::HistoricalYear(astronomicalYear)));
}

void ChartInputsPanel::SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute) {
  SetYearInputs(astronomicalYear);
  momentLists_.Select(month, day, hour, minute);
  gregorianButton_->setChecked(true);
  leapMonthBox_->setChecked(false);
}

ChartInputsPanel::MomentInputs ChartInputsPanel::CurrentMomentInputs() const {
  const MomentLists& lists = momentLists_;
  return {yearEdit_->text(),         yearArrows_->Position(),    lists.month->currentIndex(),
          lists.day->currentIndex(), lists.hour->currentIndex(), lists.minute->currentIndex(),
          lunarButton_->isChecked(), leapMonthBox_->isChecked()};
}

void ChartInputsPanel::RestoreMomentInputs(const MomentInputs& inputs) {
  yearEdit_->setText(inputs.yearText);
  yearArrows_->SetPosition(inputs.yearPosition);
  momentLists_.Select(inputs.month + 1, inputs.day + 1, inputs.hour, inputs.minute);
  (inputs.lunar ? lunarButton_ : gregorianButton_)->setChecked(true);
  leapMonthBox_->setChecked(inputs.leapMonth);
}

void ChartInputsPanel::SetDateInputsToNow(int yearCap) {
  const QDateTime now = LocalNow();
  const int year = std::min(now.date().year(), yearCap);
  SetMomentInputs(year, now.date().month(), now.date().day(), now.time().hour(), now.time().minute());
}

calendar::CivilDateTime ChartInputsPanel::ShownMoment() const { return momentLists_.Selected(yearArrows_->Position()); }

void ChartInputsPanel::SetMasterYearText(const QString& year) { masterYearEdit_->setText(year); }
void ChartInputsPanel::SetOtherPersons(const std::vector<OtherPerson>& persons) { personsEditor_->SetPersons(persons); }

bool ChartInputsPanel::Male() const { return maleButton_->isChecked(); }

void ChartInputsPanel::SetMale(bool male) { (male ? maleButton_ : femaleButton_)->setChecked(true); }

int ChartInputsPanel::Province() const {
  return PlaceKindAt(provinceBox_->currentIndex()) == kChinesePlaces ? provinceBox_->currentIndex() : base::kUnknownProvince;
}

int ChartInputsPanel::City() const {
  return PlaceKindAt(provinceBox_->currentIndex()) == kChinesePlaces ? cityBox_->currentIndex() : 0;
}

void ChartInputsPanel::SetSaveButtonOpen(bool open) {
  saveButton_->setText(open ? tr("存旧") : tr("存新"));
  QPalette palette = saveButton_->palette();
  palette.setColor(QPalette::ButtonText, open ? QColor(0, 0, 255) : QColor(Qt::black));
  saveButton_->setPalette(palette);
}

void ChartInputsPanel::SetMomentToNow() { SetDateInputsToNow(kNowYearCap); }

void ChartInputsPanel::ShowYearOfArrows() {
  yearEdit_->setText(QString::number(calendar::HistoricalYear(yearArrows_->Position())));
}

void ChartInputsPanel::ShowCitiesOfProvince() {
  const int province = provinceBox_->currentIndex();
  if (province < 0) return;
  const QSignalBlocker quiet(cityBox_);
  cityCoordinates_.clear();
  cityZones_.clear();
  cityBox_->clear();
  const int kind = PlaceKindAt(province);
  if (kind != kChinesePlaces) {
    std::vector<base::ZonedPlace> places;
    if (kind == kOwnPlaces) {
      places = base::ReadOwnPlaces(OwnPlacesPath());
    } else {
      const QString code = provinceBox_->currentData().toString();
      for (const base::WorldCountry& country : base::WorldCountries(base::ShownScript()))
        if (ToQString(country.code) == code) places = country.places;
    }
    for (const base::ZonedPlace& place : places) {
      cityBox_->addItem(ToQString(place.shownName), ToQString(place.name));
      cityCoordinates_.push_back({static_cast<float>(place.longitude), static_cast<float>(place.latitude)});
      cityZones_.push_back(place.zone);
    }
    cityBox_->setCurrentIndex(cityBox_->count() > 0 ? 0 : -1);
    ShowZoneOfCity();
    return;
  }
  ShowZoneOfCity();
  if (province == base::kUnknownProvince) {
    cityBox_->addItem(qtdraw::ShownQString(base::kUnknownPlace), ToQString(std::string(base::kUnknownPlace)));
    cityCoordinates_.push_back(base::Coordinates{});
    cityZones_.emplace_back();
    cityBox_->setCurrentIndex(0);
    return;
  }
  const std::string diliPath = base::ReadableDataFile("dili.ini");
  const base::IniFile dili(diliPath);
  QStringList malformed;
  for (const base::City& city : base::ReadCities(dili, base::ProvinceNames()[static_cast<std::size_t>(province)])) {
    cityBox_->addItem(qtdraw::ShownQString(city.name), ToQString(city.name));
    cityCoordinates_.push_back(city.coordinates);
    cityZones_.emplace_back();
    if (city.malformed) malformed << ToQString(city.name);
  }
  cityBox_->setCurrentIndex(cityBox_->count() > 0 ? 0 : -1);
  if (!malformed.isEmpty()) {
    Tell(window(),
         tr("经纬度文件%1中%2的这些地名数据格式不对，暂按经度120、纬度30计算：\r\n%3")
             .arg(ToQString(diliPath), provinceBox_->currentText(), malformed.join(QStringLiteral("、"))),
         tr("错误"), Icon::Warning);
  }
}

void ChartInputsPanel::FindCityByName() {
  const std::optional<QString> typed = Prompts().Input(window(), tr("输入"), tr("输入县、市、区名："), QString());
  if (!typed || typed->isEmpty()) return;
  const std::string wanted = ToUtf8(*typed);
  if (PlaceKindAt(provinceBox_->currentIndex()) == kChinesePlaces) {
    for (int i = 0; i < cityBox_->count(); ++i) {
      if (base::CityMatchesTypedName(ToUtf8(cityBox_->itemData(i).toString()), wanted)) {
        cityBox_->setCurrentIndex(i);
        return;
      }
    }
  }
  // The world's cities by their Chinese or English names, and the user's own places.
  if (const std::optional<base::ZonedPlace> place = base::FindPlaceByName(wanted, base::ReadOwnPlaces(OwnPlacesPath()))) {
    ShowPlace(base::kUnknownProvince, 0, place->name, place->zone);
    return;
  }
  Tell(window(), tr("没有这个地名，可以简化输入地名重新查找，或者选择邻近的县市。"));
}

void ChartInputsPanel::ChooseMountainByDegrees() {
  const std::optional<chart::MountainAndGua> found =
      AskCompassDegrees(window(), tr("周天度->坐山"), tr("输入周天度数：     "), false);
  if (found) SelectMountainAndGua(found->mountain, found->guaPosition);
}

}  // namespace quorin::ui

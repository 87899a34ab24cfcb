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
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/data_location.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "calendar/historical_year.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "ui/labeled_edit.h"
#include "ui/mountain_lists.h"
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
// Five characters hold every year of the span, -4713 included: a shorter limit would
// also cut the years the program itself writes into the box.
constexpr int kYearLength = 5;
// The 现在时间 button takes the clock's year up to this one.
constexpr int kNowButtonYearCap = 3000;
// A name typed into the city search may match a city name two GBK bytes longer (县, 市, 区).
constexpr int kCitySuffixBytes = 2;

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
  Panel2 = new QWidget;
  Panel2->setObjectName(QStringLiteral("Panel2"));
  inputsScroll->setWidget(Panel2);
  inputsLayout->addWidget(inputsScroll, 1);
  Panel2Buttons = new QWidget(this);
  Panel2Buttons->setObjectName(QStringLiteral("Panel2Buttons"));
  inputsLayout->addWidget(Panel2Buttons, 0);

  inputsScroll->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  BuildInputs();

  auto* buttons = new QVBoxLayout(Panel2Buttons);
  buttons->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
  buttons->setSpacing(kPanelMargin);
  SbtoSave = new QPushButton(QStringLiteral("存新"), Panel2Buttons);
  SbtoSave->setObjectName(QStringLiteral("SbtoSave"));
  SbtoSave->setToolTip(QStringLiteral("保存八字"));
  buttons->addWidget(SbtoSave);
  BtnPai = new QPushButton(QStringLiteral("排盘"), Panel2Buttons);
  BtnPai->setObjectName(QStringLiteral("BtnPai"));
  buttons->addWidget(BtnPai);

  // Long lists must not widen the fixed panel.
  for (QComboBox* combo : Panel2->findChildren<QComboBox*>()) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(3);
  }

  connect(BtnPai, &QPushButton::clicked, this, &ChartInputsPanel::ChartRequested);
  connect(CboShan, &QComboBox::activated, this, &ChartInputsPanel::CboShanChange);
  connect(cbodiZ, &QComboBox::activated, this, &ChartInputsPanel::cbodiZClick);
  connect(SpeedButton1, &QToolButton::clicked, this, &ChartInputsPanel::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &ChartInputsPanel::SpeedButton2Click);
  connect(SpeedButton7, &QToolButton::clicked, this, &ChartInputsPanel::SpeedButton7Click);
  connect(UpDyear, &UpDown::Clicked, this, &ChartInputsPanel::UpDyearClick);
  connect(BtoNew, &QPushButton::clicked, this, &ChartInputsPanel::NewRequested);
  connect(SbtoSave, &QPushButton::clicked, this, &ChartInputsPanel::SaveRequested);
  connect(Button1, &QPushButton::clicked, this, &ChartInputsPanel::DragonWaterFacingRequested);
}

// The controls are made in the order the focus moves through them.
void ChartInputsPanel::BuildInputs() {
  auto* column = new QVBoxLayout(Panel2);
  column->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
  column->setSpacing(kPanelMargin);

  BtoNew = new QPushButton(QStringLiteral("新建"), Panel2);
  BtoNew->setObjectName(QStringLiteral("BtoNew"));
  BtoNew->setToolTip(QStringLiteral("新建日课"));
  column->addWidget(BtoNew);

  EdtName = new QLineEdit(QStringLiteral("某人"), Panel2);
  EdtName->setObjectName(QStringLiteral("EdtName"));
  EdtName->setMaxLength(kNameLength);
  AddLabel(column, EdtName, QStringLiteral("主命姓名"));
  column->addWidget(EdtName);
  LedtZhuYear = new QLineEdit(QStringLiteral("1978"), Panel2);
  LedtZhuYear->setObjectName(QStringLiteral("LedtZhuYear"));
  AddLabel(column, LedtZhuYear, QStringLiteral("主命生年"));
  column->addWidget(LedtZhuYear);
  column->addWidget(RadioPair(Rdona, QStringLiteral("Rdona"), QStringLiteral("男"), Rdonv, QStringLiteral("Rdonv"),
                              QStringLiteral("女"), Panel2));

  CboShan = new QComboBox(Panel2);
  CboShan->setObjectName(QStringLiteral("CboShan"));
  CboShan->setMaxVisibleItems(24);
  AddLabel(column, CboShan, QStringLiteral("山家"));
  SpeedButton7 = MakeToolButton(QStringLiteral("SpeedButton7"), QStringLiteral(">"), Panel2);
  SpeedButton7->setToolTip(QStringLiteral("周天度求山卦"));
  AddPair(column, CboShan, SpeedButton7);
  CboGua = new QComboBox(Panel2);
  CboGua->setObjectName(QStringLiteral("CboGua"));
  column->addWidget(CboGua);
  Button1 = new QPushButton(QStringLiteral("龙-水-向"), Panel2);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setToolTip(QStringLiteral("选择龙-水-向"));
  column->addWidget(Button1);

  auto* yearBox = new QWidget(Panel2);
  auto* yearRow = new QHBoxLayout(yearBox);
  yearRow->setContentsMargins(0, 0, 0, 0);
  yearRow->setSpacing(1);
  SpeedButton1 = MakeToolButton(QStringLiteral("SpeedButton1"), QString(), yearBox);
  SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  SpeedButton1->setToolTip(QStringLiteral("现在时间"));
  EdtYear = new QLineEdit(yearBox);
  EdtYear->setObjectName(QStringLiteral("EdtYear"));
  EdtYear->setMaxLength(kYearLength);
  EdtYear->setToolTip(QStringLiteral("年份在-850至2100"));
  QFont bold = EdtYear->font();
  bold.setBold(true);
  EdtYear->setFont(bold);
  UpDyear = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, yearBox);
  UpDyear->setObjectName(QStringLiteral("UpDyear"));
  yearRow->addWidget(SpeedButton1);
  yearRow->addWidget(EdtYear, 1);
  yearRow->addWidget(UpDyear);
  column->addWidget(yearBox);

  cbom = NamedList(QStringLiteral("cbom"), Panel2);
  cbod = NamedList(QStringLiteral("cbod"), Panel2);
  cbos = NamedList(QStringLiteral("cbos"), Panel2);
  cbomin = NamedList(QStringLiteral("cbomin"), Panel2);
  column->addWidget(cbom);
  column->addWidget(cbod);
  column->addWidget(cbos);
  column->addWidget(cbomin);

  column->addWidget(RadioPair(Rdogl, QStringLiteral("Rdogl"), QStringLiteral("公历"), Rdonl, QStringLiteral("Rdonl"),
                              QStringLiteral("农历"), Panel2));
  Chkrun = new QCheckBox(QStringLiteral("农历闰月"), Panel2);
  Chkrun->setObjectName(QStringLiteral("Chkrun"));
  column->addWidget(Chkrun);

  cbodiZ = NamedList(QStringLiteral("cbodiZ"), Panel2);
  cbodiZ->setToolTip(QStringLiteral("真太阳时可在菜单\"选项->排盘设置\"里设定"));
  cbodiZ->setMaxVisibleItems(20);
  column->addWidget(cbodiZ);
  cbodiC = NamedList(QStringLiteral("cbodiC"), Panel2);
  cbodiC->setToolTip(QStringLiteral("选择邻近城市"));
  cbodiC->setMaxVisibleItems(20);
  SpeedButton2 = MakeToolButton(QStringLiteral("SpeedButton2"), QStringLiteral(">"), Panel2);
  SpeedButton2->setToolTip(QStringLiteral("输入县市名"));
  AddPair(column, cbodiC, SpeedButton2);

  column->addStretch(1);
}

void ChartInputsPanel::paintEvent(QPaintEvent*) {
  QStyleOption option;
  option.initFrom(this);
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void ChartInputsPanel::FillFixedLists() {
  FillMountainList(CboShan);
  for (int i = 1; i <= 12; ++i) cbom->addItem(QStringLiteral("%1月").arg(i));
  for (int i = 1; i <= 31; ++i) cbod->addItem(QStringLiteral("%1日").arg(i));
  for (int i = 0; i < 24; ++i) cbos->addItem(HourItemText(i));
  for (int i = 0; i < 60; ++i) cbomin->addItem(QStringLiteral("%1分").arg(i));
  for (const std::string_view name : base::ProvinceNames()) cbodiZ->addItem(ToQString(std::string(name)));
  connect(EdtYear, &QLineEdit::textEdited, this, [this](const QString& text) {
    // A typed year moves the arrows with it, so they step from what is shown.
    const std::optional<int> year = TypedInteger(text);
    if (year && calendar::IsValidHistoricalYear(*year)) UpDyear->SetPosition(calendar::AstronomicalYear(*year));
  });
}

bool ChartInputsPanel::ReadInto(TRecordData& record) {
  const CleanedName cleaned = CleanName(EdtName->text());
  if (cleaned.changed) {
    Tell(window(), QStringLiteral("姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！"));
    EdtName->setText(cleaned.name);
  }

  const std::optional<int> year =
      ReadYearInput(window(), EdtYear, YearRangeMessage(QString()), QStringLiteral("年份错误"));
  if (!year) return false;
  const std::optional<int> masterYear =
      ReadYearInput(window(), LedtZhuYear, YearRangeMessage(QStringLiteral("主命")), QStringLiteral("年份错误"));
  if (!masterYear) return false;

  record.masterYear = *masterYear;
  record.male = Rdona->isChecked();
  record.mountain = CboShan->currentIndex();
  record.mountainGua = CboGua->currentIndex();
  UpDyear->SetPosition(*year);
  record.year = static_cast<std::int16_t>(*year);
  record.month = static_cast<std::int16_t>(cbom->currentIndex() + 1);
  record.day = static_cast<std::int16_t>(cbod->currentIndex() + 1);
  record.hour = static_cast<std::int16_t>(cbos->currentIndex());
  record.minute = static_cast<std::int16_t>(cbomin->currentIndex());
  record.isLunar = Rdonl->isChecked();
  record.isLeapMonth = Chkrun->isChecked();
  record.province = static_cast<std::int16_t>(cbodiZ->currentIndex());
  record.city = static_cast<std::int16_t>(cbodiC->currentIndex());
  record.name = ToUtf8(EdtName->text());
  // A place missing from the lists (no city, or an index beyond them) counts as the
  // place not given.
  const int city = cbodiC->currentIndex();
  const base::Coordinates place = city >= 0 && city < static_cast<int>(cityCoordinates_.size())
                                      ? cityCoordinates_[static_cast<std::size_t>(city)]
                                      : base::Coordinates{};
  record.longitude = place.longitude;
  record.latitude = place.latitude;
  const QString address = cbodiZ->currentIndex() == base::kUnknownProvince || cbodiZ->currentIndex() < 0
                              ? ToQString(std::string(base::kUnknownPlace))
                              : cbodiZ->currentText() + cbodiC->currentText();
  record.addrName = ToUtf8(address);
  return true;
}

void ChartInputsPanel::ShowRecord(const TRecordData& r) {
  SetMomentInputs(r.year, r.month, r.day, r.hour, r.minute);
  (r.isLunar ? Rdonl : Rdogl)->setChecked(true);
  Chkrun->setChecked(r.isLeapMonth);
  const int province = r.province >= 0 && r.province < cbodiZ->count() ? r.province : base::kUnknownProvince;
  cbodiZ->setCurrentIndex(province);
  cbodiZClick();
  cbodiC->setCurrentIndex(r.city >= 0 && r.city < cbodiC->count() ? r.city : (cbodiC->count() > 0 ? 0 : -1));
  EdtName->setText(ToQString(r.name));
  SetMale(r.male);
  LedtZhuYear->setText(QString::number(calendar::HistoricalYear(r.masterYear)));
  SelectMountainAndGua(r.mountain, r.mountainGua);
}

void ChartInputsPanel::RestorePlace(int province, int city) {
  cityCoordinates_.assign(1, base::Coordinates{});
  cbodiZ->setCurrentIndex(province >= 0 && province < cbodiZ->count() ? province : -1);
  cbodiZClick();
  cbodiC->setCurrentIndex(city >= 0 && city < cbodiC->count() ? city : (cbodiC->count() > 0 ? 0 : -1));
}

void ChartInputsPanel::CboShanChange() { FillGuaList(CboGua, CboShan->currentIndex()); }

void ChartInputsPanel::SelectMountainAndGua(int mountain, int guaPosition) {
  CboShan->setCurrentIndex(mountain);
  CboShanChange();
  CboGua->setCurrentIndex(guaPosition);
}

void ChartInputsPanel::SetYearInputs(int astronomicalYear) {
  UpDyear->SetPosition(astronomicalYear);
  EdtYear->setText(QString::number(calendar::HistoricalYear(astronomicalYear)));
}

void ChartInputsPanel::SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute) {
  SetYearInputs(astronomicalYear);
  cbom->setCurrentIndex(month - 1);
  cbod->setCurrentIndex(day - 1);
  cbos->setCurrentIndex(hour);
  cbomin->setCurrentIndex(minute);
  Rdogl->setChecked(true);
  Chkrun->setChecked(false);
}

ChartInputsPanel::MomentInputs ChartInputsPanel::CurrentMomentInputs() const {
  return {EdtYear->text(),       UpDyear->Position(),   cbom->currentIndex(), cbod->currentIndex(),
          cbos->currentIndex(),  cbomin->currentIndex(), Rdonl->isChecked(),  Chkrun->isChecked()};
}

void ChartInputsPanel::RestoreMomentInputs(const MomentInputs& inputs) {
  EdtYear->setText(inputs.yearText);
  UpDyear->SetPosition(inputs.yearPosition);
  cbom->setCurrentIndex(inputs.month);
  cbod->setCurrentIndex(inputs.day);
  cbos->setCurrentIndex(inputs.hour);
  cbomin->setCurrentIndex(inputs.minute);
  (inputs.lunar ? Rdonl : Rdogl)->setChecked(true);
  Chkrun->setChecked(inputs.leapMonth);
}

void ChartInputsPanel::SetDateInputsToNow(int yearCap) {
  const QDateTime now = LocalNow();
  const int year = std::min(now.date().year(), yearCap);
  SetMomentInputs(year, now.date().month(), now.date().day(), now.time().hour(), now.time().minute());
}

calendar::CivilDateTime ChartInputsPanel::ShownMoment() const {
  calendar::CivilDateTime moment;
  moment.year = static_cast<std::int16_t>(UpDyear->Position());
  moment.month = static_cast<std::int16_t>(cbom->currentIndex() + 1);
  moment.day = static_cast<std::int16_t>(cbod->currentIndex() + 1);
  moment.hour = static_cast<std::int16_t>(cbos->currentIndex());
  moment.minute = static_cast<std::int16_t>(cbomin->currentIndex());
  return moment;
}

void ChartInputsPanel::SetMasterYearText(const QString& year) { LedtZhuYear->setText(year); }

bool ChartInputsPanel::Male() const { return Rdona->isChecked(); }

void ChartInputsPanel::SetMale(bool male) { (male ? Rdona : Rdonv)->setChecked(true); }

int ChartInputsPanel::Province() const { return cbodiZ->currentIndex(); }

int ChartInputsPanel::City() const { return cbodiC->currentIndex(); }

void ChartInputsPanel::SetSaveButtonOpen(bool open) {
  SbtoSave->setText(open ? QStringLiteral("存旧") : QStringLiteral("存新"));
  QPalette palette = SbtoSave->palette();
  palette.setColor(QPalette::ButtonText, open ? QColor(0, 0, 255) : QColor(Qt::black));
  SbtoSave->setPalette(palette);
}

void ChartInputsPanel::SpeedButton1Click() { SetDateInputsToNow(kNowButtonYearCap); }

void ChartInputsPanel::UpDyearClick() {
  EdtYear->setText(QString::number(calendar::HistoricalYear(UpDyear->Position())));
}

void ChartInputsPanel::cbodiZClick() {
  const int province = cbodiZ->currentIndex();
  if (province < 0) return;
  cityCoordinates_.clear();
  cbodiC->clear();
  if (province == base::kUnknownProvince) {
    cbodiC->addItem(ToQString(std::string(base::kUnknownPlace)));
    cityCoordinates_.push_back(base::Coordinates{});
    cbodiC->setCurrentIndex(0);
    return;
  }
  const std::string diliPath = base::ReadableDataFile("dili.ini");
  const base::IniFile dili(diliPath);
  QStringList malformed;
  for (const base::City& city : base::ReadCities(dili, base::ProvinceNames()[static_cast<std::size_t>(province)])) {
    cbodiC->addItem(ToQString(city.name));
    cityCoordinates_.push_back(city.coordinates);
    if (city.malformed) malformed << ToQString(city.name);
  }
  cbodiC->setCurrentIndex(cbodiC->count() > 0 ? 0 : -1);
  if (!malformed.isEmpty()) {
    Tell(window(),
         QStringLiteral("经纬度文件%1中%2的这些地名数据格式不对，暂按经度120、纬度30计算：\r\n%3")
             .arg(ToQString(diliPath), cbodiZ->currentText(), malformed.join(QStringLiteral("、"))),
         QStringLiteral("错误"), Icon::Warning);
  }
}

void ChartInputsPanel::SpeedButton2Click() {
  const std::optional<QString> typed =
      Prompts().Input(window(), QStringLiteral("输入"), QStringLiteral("输入县、市、区名："), QString());
  if (!typed || typed->isEmpty()) return;
  const std::string wanted = ToUtf8(*typed);
  const int wantedBytes = base::GbkByteLength(wanted);
  for (int i = 0; i < cbodiC->count(); ++i) {
    const std::string city = ToUtf8(cbodiC->itemText(i));
    if (city.find(wanted) != std::string::npos && base::GbkByteLength(city) <= wantedBytes + kCitySuffixBytes) {
      cbodiC->setCurrentIndex(i);
      return;
    }
  }
  Tell(window(), QStringLiteral("没有这个地名，可以简化输入地名重新查找，或者选择邻近的县市。"));
}

void ChartInputsPanel::SpeedButton7Click() {
  const std::optional<chart::MountainAndGua> found =
      AskCompassDegrees(window(), QStringLiteral("周天度->坐山"), QStringLiteral("输入周天度数：     "), false);
  if (found) SelectMountainAndGua(found->mountain, found->guaPosition);
}

}  // namespace quorin::ui

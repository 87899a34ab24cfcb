// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_wnl.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QToolButton>

#include "base/gbk.h"
#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "calendar/month_page.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/clock.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"
#include "ui/up_down.h"
#include "ui/window_placement.h"

namespace quorin::ui {

using calendar::CivilDateTime;

namespace {

const QColor kBackground(255, 255, 200);
const QColor kWorkdayGreen(0, 128, 0);
constexpr int kDotsPerMeterAt96Dpi = 3780;  // the page's point sizes read as on a 96-dpi screen
constexpr int kLongLunarBytes = 10;
constexpr double kLongLunarSize = 8;

QPointer<TFrmWnl>& Current() {
  static QPointer<TFrmWnl> window;
  return window;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const QString& name, const QString& colours) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->document()->setDocumentMargin(2);
  memo->setStyleSheet(QStringLiteral("QPlainTextEdit#%1 { %2 }").arg(name, colours));
  return memo;
}

// Point sizes of the original form, whose fonts were given in pixels at 96 dpi.
constexpr double PointsOfPixels(int pixels) { return pixels * 0.75; }

}  // namespace

void ClickableImage::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event->button(), event->position().toPoint());
  QLabel::mousePressEvent(event);
}

TFrmWnl::TFrmWnl(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrmWnl"));
  setWindowTitle(QStringLiteral("Quorin万年历"));
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_StyledBackground);
  setStyleSheet(QStringLiteral("#FrmWnl { background-color: rgb(255, 255, 200); }"));
  setFont(qtdraw::SongFont(PointsOfPixels(12)));
  resize(542, 408);

  MeoTitle = MakeMemo(this, QStringLiteral("MeoTitle"), QStringLiteral("background-color: silver; color: blue;"));
  MeoTitle->setFont(qtdraw::SongFont(PointsOfPixels(16), true));
  MeoTitle->setGeometry(2, 4, 538, 44);

  const auto button = [&](const QString& name, const QString& hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
  };
  BitBtn2 = button(QStringLiteral("BitBtn2"), QStringLiteral("上一月"));
  BitBtn2->setArrowType(Qt::LeftArrow);
  BitBtn2->setGeometry(4, 52, 24, 24);
  LabShow = new QLabel(this);
  LabShow->setObjectName(QStringLiteral("LabShow"));
  // On the window's own paper the label keeps its ink whatever the skin gives other labels.
  LabShow->setStyleSheet(QStringLiteral("QLabel#LabShow { color: black; }"));
  LabShow->setFont(qtdraw::SongFont(PointsOfPixels(16), true));
  LabShow->setAlignment(Qt::AlignCenter);
  LabShow->setGeometry(28, 52, 104, 24);
  BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral("下一月"));
  BitBtn1->setArrowType(Qt::RightArrow);
  BitBtn1->setGeometry(132, 52, 24, 24);
  BtoNow = button(QStringLiteral("BtoNow"), QStringLiteral("当前时间"));
  BtoNow->setText(QStringLiteral("今"));
  BtoNow->setGeometry(160, 52, 24, 24);

  EdtYear = new QLineEdit(QStringLiteral("1900"), this);
  EdtYear->setObjectName(QStringLiteral("EdtYear"));
  EdtYear->setMaxLength(5);
  EdtYear->setFont(qtdraw::SongFont(PointsOfPixels(13), true));
  EdtYear->setGeometry(190, 52, 52, 24);
  UpYear = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, this);
  UpYear->setObjectName(QStringLiteral("UpYear"));
  UpYear->setGeometry(242, 53, 16, 22);

  const auto list = [&](const QString& name, int left, int width) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setGeometry(left, 52, width, 24);
    return box;
  };
  CboM = list(QStringLiteral("CboM"), 264, 66);
  CboD = list(QStringLiteral("CboD"), 333, 66);
  CboH = list(QStringLiteral("CboH"), 402, 66);
  CboMinute = list(QStringLiteral("CboMinute"), 471, 67);

  Img = new ClickableImage(this);
  Img->setObjectName(QStringLiteral("Img"));
  Img->setFixedSize(450, 330);
  Img->move(2, 78);

  MeoJie = MakeMemo(this, QStringLiteral("MeoJie"), QStringLiteral("color: red;"));
  MeoJie->setGeometry(455, 78, 85, 190);
  MeoJie->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MeoGanZhi = MakeMemo(this, QStringLiteral("MeoGanZhi"), QStringLiteral("color: blue;"));
  MeoGanZhi->setFont(qtdraw::SongFont(PointsOfPixels(15)));
  MeoGanZhi->setGeometry(455, 272, 85, 134);
  MeoGanZhi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  connect(UpYear, &UpDown::Clicked, this, &TFrmWnl::UpYearClick);
  connect(BitBtn1, &QToolButton::clicked, this, &TFrmWnl::BitBtn1Click);
  connect(BitBtn2, &QToolButton::clicked, this, &TFrmWnl::BitBtn2Click);
  connect(BtoNow, &QToolButton::clicked, this, &TFrmWnl::BtoNowClick);
  connect(EdtYear, &QLineEdit::returnPressed, this, &TFrmWnl::EdtYearKeyPress);
  connect(CboM, &QComboBox::activated, this, &TFrmWnl::CboMChange);
  connect(CboD, &QComboBox::activated, this, &TFrmWnl::CboDChange);
  connect(CboH, &QComboBox::activated, this, &TFrmWnl::CboHChange);
  connect(CboMinute, &QComboBox::activated, this, &TFrmWnl::CboMinuteChange);
  connect(Img, &ClickableImage::MouseDown, this, &TFrmWnl::ImgMouseDown);

  FillLists();
  ApplyProgramUiFont(this);
  setFixedSize(size());
}

TFrmWnl::~TFrmWnl() = default;

TFrmWnl* TFrmWnl::ShowInstance(QWidget* owner, const CivilDateTime& historical) {
  if (!Current()) {
    Current() = new TFrmWnl(owner);
    Current()->setAttribute(Qt::WA_DeleteOnClose);
  }
  Current()->Open(historical);
  BringToFront(Current());
  return Current();
}

TFrmWnl* TFrmWnl::Instance() { return Current(); }

calendar::MYiDateEx& TFrmWnl::Date() {
  static calendar::MYiDateEx date;
  return date;
}

void TFrmWnl::FillLists() {
  const auto fill = [](QComboBox* box, int first, int last, const QString& unit) {
    for (int i = first; i <= last; ++i) box->addItem(QString::number(i) + unit);
  };
  fill(CboM, 1, 12, QStringLiteral("月"));
  fill(CboD, 1, 31, QStringLiteral("日"));
  fill(CboH, 0, 23, QStringLiteral("时"));
  fill(CboMinute, 0, 59, QStringLiteral("分"));
}

void TFrmWnl::Open(const CivilDateTime& historical) {
  CivilDateTime moment = historical;
  CivilDateTime astronomical = moment;
  astronomical.year = static_cast<std::int16_t>(calendar::AstronomicalYear(moment.year));
  moment.day = static_cast<std::int16_t>(calendar::OpeningDay(Date(), astronomical));
  SetYear(moment.year);
  CboM->setCurrentIndex(moment.month - 1);
  CboD->setCurrentIndex(moment.day - 1);
  CboH->setCurrentIndex(moment.hour);
  CboMinute->setCurrentIndex(moment.minute);
  Redraw();
}

void TFrmWnl::SetYear(int historical) {
  EdtYear->setText(QString::number(historical));
  UpYear->SetPosition(calendar::AstronomicalYear(historical));
}

CivilDateTime TFrmWnl::SelectedMoment() const {
  const int year = TypedInteger(EdtYear->text()).value_or(0);
  return {static_cast<std::int16_t>(calendar::AstronomicalYear(year)), static_cast<std::int16_t>(CboM->currentIndex() + 1),
          static_cast<std::int16_t>(CboD->currentIndex() + 1), static_cast<std::int16_t>(CboH->currentIndex()),
          static_cast<std::int16_t>(CboMinute->currentIndex())};
}

// The term list follows the year drawn, so the marked term days never come from another year.
void TFrmWnl::EnsureTermsOf(int year) {
  if (termsYear_ == year) return;
  yearTerms_ = Date().SolarTermsOfYear(year);
  termsYear_ = year;
}

void TFrmWnl::Redraw() {
  const std::optional<int> year = TypedInteger(EdtYear->text());
  if (!year || !calendar::IsValidHistoricalYear(*year)) {
    Tell(this, QStringLiteral("年份在-4713 到 9999年之间，并且没有公元0年"), QStringLiteral("年份不对"), Icon::Error);
    return;
  }
  const CivilDateTime selected = SelectedMoment();
  const int length = calendar::MonthLength(Date(), selected);
  if (length == 0) {
    Tell(this, QStringLiteral("不存在这个日期，请重新输入！"), QStringLiteral("日期不对"), Icon::Information);
    return;
  }
  UpYear->SetPosition(selected.year);
  EnsureTermsOf(selected.year);
  DrawPage(selected, length);
  ShowPillars(selected);
}

int TFrmWnl::BaseFontSize() const { return static_cast<int>(font().pointSizeF() + 0.5); }

void TFrmWnl::DrawPage(const CivilDateTime& selected, int length) {
  const int width = Img->width();
  const int height = Img->height();
  const int w = width / 7;
  const int h = height / 7;
  const int base = BaseFontSize();
  const std::vector<calendar::SolarTermRecord> monthTerms = calendar::TermsOfMonth(yearTerms_, selected.month);
  firstColumn_ = calendar::FirstColumn(Date(), selected.year, selected.month);
  monthLength_ = length;
  drawnYear_ = selected.year;
  drawnMonth_ = selected.month;

  // Drawn at the screen's pixel density, so the grid's text is as sharp as the window's.
  picture_ = qtdraw::ScreenPicture(QSize(width, height), Img->devicePixelRatioF());
  picture_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  picture_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  picture_.fill(kBackground);
  QPainter painter(&picture_);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 1; i <= 6; ++i) {
    painter.drawLine(0, i * h, width, i * h);
    painter.drawLine(i * w, 0, i * w, height);
  }

  painter.setFont(qtdraw::SongFont(base + 3));
  for (int column = 0; column < 7; ++column) {
    const int weekday = (column + 1) % 7;  // Monday first, Sunday last
    painter.setPen(column < 5 ? kWorkdayGreen : QColor(Qt::red));
    painter.drawText(QRect(column * w, 0, w, h), Qt::AlignCenter,
                     QStringLiteral("星期") + ToQString(std::string(calendar::kWeekdayNames.at(weekday))));
  }

  for (const calendar::MonthDayCell& cell :
       calendar::MonthCells(Date(), selected.year, selected.month, length, firstColumn_, monthTerms)) {
    const int x = cell.column * w;
    const int y = cell.row * h;
    const bool termDay = !cell.term.empty();
    const QColor colour = termDay ? QColor(Qt::red) : QColor(Qt::blue);
    painter.setPen(colour);
    painter.setFont(qtdraw::SongFont(termDay ? base + 1 : base + 5));
    const std::string number = termDay ? cell.number + " " + cell.term : cell.number;
    painter.drawText(QRect(x, y, w, h / 2), Qt::AlignCenter, ToQString(number));
    painter.setFont(qtdraw::SongFont(base::GbkByteLength(cell.lunar) > kLongLunarBytes ? kLongLunarSize : base));
    painter.drawText(QRect(x, y + h / 2, w, h - h / 2), Qt::AlignCenter, ToQString(cell.lunar));
    if (cell.day == selected.day) {
      painter.setPen(QPen(Qt::red, 3));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(x, y, w, h);
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(kBackground);
    }
  }
  painter.end();
  Img->setPixmap(QPixmap::fromImage(picture_));
  MeoJie->setPlainText(ToQString(calendar::TermLinesText(monthTerms)));
}

void TFrmWnl::ShowPillars(const CivilDateTime& selected) {
  const calendar::PillarTexts texts = calendar::PillarTextsOf(Date(), selected);
  LabShow->setText(ToQString(texts.monthLabel));
  MeoTitle->setPlainText(ToQString(texts.title));
  MeoGanZhi->setPlainText(ToQString(texts.pillars));
}

void TFrmWnl::UpYearClick() {
  SetYear(calendar::HistoricalYear(UpYear->Position()));
  Redraw();
}

void TFrmWnl::StepMonth(int step) {
  const int year = TypedInteger(EdtYear->text()).value_or(1900);
  const std::optional<calendar::HistoricalMonth> next = calendar::NeighbourMonth(year, CboM->currentIndex() + 1, step);
  if (!next) return;
  // The year box is rewritten only when the year changes, so a year being typed stays as typed.
  if (next->year != year) SetYear(next->year);
  CboM->setCurrentIndex(next->month - 1);
  CboD->setCurrentIndex(0);
  Redraw();
}

void TFrmWnl::BitBtn2Click() { StepMonth(-1); }
void TFrmWnl::BitBtn1Click() { StepMonth(1); }

void TFrmWnl::BtoNowClick() {
  const QDateTime now = LocalNow();
  SetYear(now.date().year());
  CboM->setCurrentIndex(now.date().month() - 1);
  CboD->setCurrentIndex(now.date().day() - 1);
  CboH->setCurrentIndex(now.time().hour());
  CboMinute->setCurrentIndex(now.time().minute());
  Redraw();
}

void TFrmWnl::EdtYearKeyPress() {
  const std::optional<int> year = TypedInteger(EdtYear->text());
  if (!year || !calendar::IsValidHistoricalYear(*year)) {
    Tell(this, QStringLiteral("年份在-4713 到 9999之间"), QStringLiteral("错误"), Icon::Error);
    EdtYear->setFocus();
    return;
  }
  Redraw();
}

void TFrmWnl::CboMChange() { Redraw(); }
void TFrmWnl::CboDChange() { Redraw(); }
void TFrmWnl::CboHChange() { Redraw(); }
void TFrmWnl::CboMinuteChange() { Redraw(); }

void TFrmWnl::ImgMouseDown(Qt::MouseButton button, QPoint position) {
  if (button != Qt::LeftButton || monthLength_ == 0) return;
  const int w = Img->width() / 7;
  const int h = Img->height() / 7;
  const int column = position.x() / w;
  const int row = position.y() / h;
  // The strip right of and below the seven columns and rows belongs to no cell.
  if (position.x() < 0 || position.y() < 0 || column > 6 || row > 6) return;
  const std::optional<int> index =
      calendar::DayIndexOfCell(row * 7 + column - 7, firstColumn_, monthLength_, drawnYear_, drawnMonth_);
  if (!index) return;
  CboD->setCurrentIndex(*index);
  Redraw();
}

}  // namespace quorin::ui

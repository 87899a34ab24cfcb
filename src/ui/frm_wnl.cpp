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
#include "qtdraw/shown_text.h"
#include "ui/chart_inputs.h"
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
// A lunar date longer than five Chinese characters (10 GBK bytes) is written smaller to fit its cell.
constexpr int kLongLunarBytes = 10;
constexpr double kLongLunarSize = 8;
// The page is a grid of seven columns, Monday to Sunday, and seven rows: the weekday names and
// the six weeks a month can touch; five workdays come first.
constexpr int kGridLines = 7;
constexpr int kWorkdays = 5;
// The year the box shows before the window is opened on a moment.
constexpr int kFirstShownYear = 1900;

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
  setWindowTitle(tr("Quorin万年历"));
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_StyledBackground);
  setStyleSheet(QStringLiteral("#FrmWnl { background-color: rgb(255, 255, 200); }"));
  setFont(qtdraw::SongFont(PointsOfPixels(12)));
  resize(542, 408);

  titleText_ = MakeMemo(this, QStringLiteral("MeoTitle"), QStringLiteral("background-color: silver; color: blue;"));
  titleText_->setFont(qtdraw::SongFont(PointsOfPixels(16), true));
  titleText_->setGeometry(2, 4, 538, 44);

  const auto button = [&](const QString& name, const QString& hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
  };
  previousMonthButton_ = button(QStringLiteral("BitBtn2"), tr("上一月"));
  previousMonthButton_->setArrowType(Qt::LeftArrow);
  previousMonthButton_->setGeometry(4, 52, 24, 24);
  monthLabel_ = new QLabel(this);
  monthLabel_->setObjectName(QStringLiteral("LabShow"));
  // On the window's own paper the label keeps its ink whatever the skin gives other labels.
  monthLabel_->setStyleSheet(QStringLiteral("QLabel#LabShow { color: black; }"));
  monthLabel_->setFont(qtdraw::SongFont(PointsOfPixels(16), true));
  monthLabel_->setAlignment(Qt::AlignCenter);
  monthLabel_->setGeometry(28, 52, 104, 24);
  nextMonthButton_ = button(QStringLiteral("BitBtn1"), tr("下一月"));
  nextMonthButton_->setArrowType(Qt::RightArrow);
  nextMonthButton_->setGeometry(132, 52, 24, 24);
  nowButton_ = button(QStringLiteral("BtoNow"), tr("当前时间"));
  nowButton_->setText(tr("今"));
  nowButton_->setGeometry(160, 52, 24, 24);

  yearEdit_ = new QLineEdit(QString::number(kFirstShownYear), this);
  yearEdit_->setObjectName(QStringLiteral("EdtYear"));
  yearEdit_->setMaxLength(kYearInputLength);
  yearEdit_->setFont(qtdraw::SongFont(PointsOfPixels(13), true));
  yearEdit_->setGeometry(190, 52, 52, 24);
  yearArrows_ = new UpDown(calendar::kFirstCalendarYear, calendar::kLastCalendarYear, this);
  yearArrows_->setObjectName(QStringLiteral("UpYear"));
  yearArrows_->setGeometry(242, 53, 16, 22);

  const auto list = [&](const QString& name, int left, int width) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setGeometry(left, 52, width, 24);
    return box;
  };
  momentLists_ = {list(QStringLiteral("CboM"), 264, 66), list(QStringLiteral("CboD"), 333, 66),
                  list(QStringLiteral("CboH"), 402, 66), list(QStringLiteral("CboMinute"), 471, 67)};

  monthPage_ = new ClickableImage(this);
  monthPage_->setObjectName(QStringLiteral("Img"));
  monthPage_->setFixedSize(450, 330);
  monthPage_->move(2, 78);

  termsText_ = MakeMemo(this, QStringLiteral("MeoJie"), QStringLiteral("color: red;"));
  termsText_->setGeometry(455, 78, 85, 190);
  termsText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pillarsText_ = MakeMemo(this, QStringLiteral("MeoGanZhi"), QStringLiteral("color: blue;"));
  pillarsText_->setFont(qtdraw::SongFont(PointsOfPixels(15)));
  pillarsText_->setGeometry(455, 272, 85, 134);
  pillarsText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  connect(yearArrows_, &UpDown::Clicked, this, &TFrmWnl::ShowYearOfArrows);
  connect(nextMonthButton_, &QToolButton::clicked, this, [this] { StepMonth(1); });
  connect(previousMonthButton_, &QToolButton::clicked, this, [this] { StepMonth(-1); });
  connect(nowButton_, &QToolButton::clicked, this, &TFrmWnl::ShowNow);
  connect(yearEdit_, &QLineEdit::returnPressed, this, &TFrmWnl::RedrawTypedYear);
  for (QComboBox* list : {momentLists_.month, momentLists_.day, momentLists_.hour, momentLists_.minute}) {
    connect(list, &QComboBox::activated, this, &TFrmWnl::Redraw);
  }
  connect(monthPage_, &ClickableImage::MouseDown, this, &TFrmWnl::SelectClickedDay);

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
  momentLists_.Fill([](int hour) { return tr("%1时").arg(hour); });
}

void TFrmWnl::Open(const CivilDateTime& historical) {
  CivilDateTime moment = historical;
  CivilDateTime astronomical = moment;
  astronomical.year = static_cast<std::int16_t>(calendar::AstronomicalYear(moment.year));
  moment.day = static_cast<std::int16_t>(calendar::OpeningDay(Date(), astronomical));
  SetYear(moment.year);
  momentLists_.Select(moment.month, moment.day, moment.hour, moment.minute);
  Redraw();
}

void TFrmWnl::SetYear(int historical) {
  yearEdit_->setText(QString::number(historical));
  yearArrows_->SetPosition(calendar::AstronomicalYear(historical));
}

CivilDateTime TFrmWnl::SelectedMoment() const {
  return momentLists_.Selected(calendar::AstronomicalYear(TypedInteger(yearEdit_->text()).value_or(0)));
}

// The term list follows the year drawn, so the marked term days never come from another year.
void TFrmWnl::EnsureTermsOf(int year) {
  if (termsYear_ == year) return;
  yearTerms_ = Date().SolarTermsOfYear(year);
  termsYear_ = year;
}

void TFrmWnl::Redraw() {
  const std::optional<int> year = TypedInteger(yearEdit_->text());
  if (!year || !calendar::IsValidHistoricalYear(*year)) {
    Tell(this, tr("年份在-4713 到 9999年之间，并且没有公元0年"), tr("年份不对"), Icon::Error);
    return;
  }
  const CivilDateTime selected = SelectedMoment();
  const int length = calendar::MonthLength(Date(), selected);
  if (length == 0) {
    Tell(this, tr("不存在这个日期，请重新输入！"), tr("日期不对"), Icon::Information);
    return;
  }
  yearArrows_->SetPosition(selected.year);
  EnsureTermsOf(selected.year);
  DrawPage(selected, length);
  ShowPillars(selected);
}

int TFrmWnl::BaseFontSize() const { return static_cast<int>(font().pointSizeF() + 0.5); }

void TFrmWnl::DrawPage(const CivilDateTime& selected, int length) {
  const int width = monthPage_->width();
  const int height = monthPage_->height();
  const int w = width / kGridLines;
  const int h = height / kGridLines;
  const int base = BaseFontSize();
  const std::vector<calendar::SolarTermRecord> monthTerms = calendar::TermsOfMonth(yearTerms_, selected.month);
  firstColumn_ = calendar::FirstColumn(Date(), selected.year, selected.month);
  monthLength_ = length;
  drawnYear_ = selected.year;
  drawnMonth_ = selected.month;

  // Drawn at the screen's pixel density, so the grid's text is as sharp as the window's.
  picture_ = qtdraw::ScreenPicture(QSize(width, height), monthPage_->devicePixelRatioF());
  picture_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  picture_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  picture_.fill(kBackground);
  QPainter painter(&picture_);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 1; i < kGridLines; ++i) {
    painter.drawLine(0, i * h, width, i * h);
    painter.drawLine(i * w, 0, i * w, height);
  }

  painter.setFont(qtdraw::SongFont(base + 3));
  for (int column = 0; column < kGridLines; ++column) {
    const int weekday = (column + 1) % kGridLines;  // Monday first, Sunday last
    painter.setPen(column < kWorkdays ? kWorkdayGreen : QColor(Qt::red));
    painter.drawText(QRect(column * w, 0, w, h), Qt::AlignCenter,
                     tr("星期") + qtdraw::ShownQString(calendar::kWeekdayNames.at(weekday)));
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
    painter.drawText(QRect(x, y + h / 2, w, h - h / 2), Qt::AlignCenter, qtdraw::ShownQString(cell.lunar));
    if (cell.day == selected.day) {
      painter.setPen(QPen(Qt::red, 3));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(x, y, w, h);
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(kBackground);
    }
  }
  painter.end();
  monthPage_->setPixmap(QPixmap::fromImage(picture_));
  termsText_->setPlainText(qtdraw::ShownQString(calendar::TermLinesText(monthTerms)));
}

void TFrmWnl::ShowPillars(const CivilDateTime& selected) {
  const calendar::PillarTexts texts = calendar::PillarTextsOf(Date(), selected);
  monthLabel_->setText(qtdraw::ShownQString(texts.monthLabel));
  titleText_->setPlainText(qtdraw::ShownQString(texts.title));
  pillarsText_->setPlainText(qtdraw::ShownQString(texts.pillars));
}

void TFrmWnl::ShowYearOfArrows() {
  SetYear(calendar::HistoricalYear(yearArrows_->Position()));
  Redraw();
}

void TFrmWnl::StepMonth(int step) {
  const int year = TypedInteger(yearEdit_->text()).value_or(kFirstShownYear);
  const std::optional<calendar::HistoricalMonth> next =
      calendar::NeighbourMonth(year, momentLists_.month->currentIndex() + 1, step);
  if (!next) return;
  // The year box is rewritten only when the year changes, so a year being typed stays as typed.
  if (next->year != year) SetYear(next->year);
  momentLists_.month->setCurrentIndex(next->month - 1);
  momentLists_.day->setCurrentIndex(0);
  Redraw();
}

void TFrmWnl::ShowNow() {
  const QDateTime now = LocalNow();
  SetYear(now.date().year());
  momentLists_.Select(now.date().month(), now.date().day(), now.time().hour(), now.time().minute());
  Redraw();
}

void TFrmWnl::RedrawTypedYear() {
  const std::optional<int> year = TypedInteger(yearEdit_->text());
  if (!year || !calendar::IsValidHistoricalYear(*year)) {
    Tell(this, tr("年份在-4713 到 9999之间"), tr("错误"), Icon::Error);
    yearEdit_->setFocus();
    return;
  }
  Redraw();
}

void TFrmWnl::SelectClickedDay(Qt::MouseButton button, QPoint position) {
  if (button != Qt::LeftButton || monthLength_ == 0) return;
  const int w = monthPage_->width() / kGridLines;
  const int h = monthPage_->height() / kGridLines;
  const int column = position.x() / w;
  const int row = position.y() / h;
  // The strip right of and below the seven columns and rows belongs to no cell.
  if (position.x() < 0 || position.y() < 0 || column >= kGridLines || row >= kGridLines) return;
  const std::optional<int> index =
      calendar::DayIndexOfCell((row - 1) * kGridLines + column, firstColumn_, monthLength_, drawnYear_, drawnMonth_);
  if (!index) return;
  momentLists_.day->setCurrentIndex(*index);
  Redraw();
}

}  // namespace quorin::ui

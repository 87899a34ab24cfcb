// 排盘 and the moves of the chart's moment; the chart image in its scroll box.
#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextEdit>

#include "chart/quorin_day.h"
#include "chart/search.h"
#include "qtdraw/image_canvas.h"
#include "ui/frm_main_search.h"
#include "ui/chart_inputs.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/up_down.h"

namespace quorin::ui {

void TFrmMain::BtnPaiClick() {
  chartShown_ = false;

  const CleanedName cleaned = CleanName(EdtName->text());
  if (cleaned.changed) {
    Tell(this, QStringLiteral("姓名中包含：\"、*、<、>、?、\\、/、|、'、：等字符。已经处理为合适的文本！"));
    EdtName->setText(cleaned.name);
  }

  const std::optional<int> year =
      ReadYearInput(this, EdtYear, YearRangeMessage(QString()), QStringLiteral("年份错误"));
  if (!year) return;
  const std::optional<int> masterYear =
      ReadYearInput(this, LedtZhuYear, YearRangeMessage(QStringLiteral("主命")), QStringLiteral("年份错误"));
  if (!masterYear) return;

  record_.masterYear = *masterYear;
  record_.male = Rdona->isChecked();
  record_.mountain = CboShan->currentIndex();
  record_.mountainGua = CboGua->currentIndex();
  UpDyear->SetPosition(*year);
  record_.year = static_cast<std::int16_t>(*year);
  record_.month = static_cast<std::int16_t>(cbom->currentIndex() + 1);
  record_.day = static_cast<std::int16_t>(cbod->currentIndex() + 1);
  record_.hour = static_cast<std::int16_t>(cbos->currentIndex());
  record_.minute = static_cast<std::int16_t>(cbomin->currentIndex());
  record_.isLunar = Rdonl->isChecked();
  record_.isLeapMonth = Chkrun->isChecked();
  record_.province = static_cast<std::int16_t>(cbodiZ->currentIndex());
  record_.city = static_cast<std::int16_t>(cbodiC->currentIndex());
  record_.name = ToUtf8(EdtName->text());
  // A place missing from the lists (no city, or an index beyond them) counts as the
  // place not given.
  const int city = cbodiC->currentIndex();
  const Coordinates place =
      city >= 0 && city < static_cast<int>(cityCoordinates_.size()) ? cityCoordinates_[static_cast<std::size_t>(city)]
                                                                      : Coordinates{};
  record_.longitude = place.longitude;
  record_.latitude = place.latitude;
  const QString address = cbodiZ->currentIndex() == kUnknownProvince || cbodiZ->currentIndex() < 0
                              ? ToQString(std::string(kUnknownPlace))
                              : cbodiZ->currentText() + cbodiC->currentText();
  record_.addrName = ToUtf8(address);

  ComputeChart();
}

bool TFrmMain::ComputeChart() {
  if (PageMain->currentWidget() == PageSearch) PageMain->setCurrentIndex(0);
  // The picture's background follows the analysis text's.
  engine_->SetImageBackground(qtdraw::FromQColor(RedtOut->palette().color(QPalette::Base)));
  canvas_->SetDevicePixelRatio(devicePixelRatioF());
  if (!engine_->Compute(record_)) {
    Tell(this, ToQString(engine_->ErrorText()), QStringLiteral("错误"), Icon::Error);
    return false;
  }
  chartShown_ = true;
  ShowChartImage();
  CentreChartImage();
  return true;
}

void TFrmMain::ChartSearchResult(int year, int month, int day, int hour) {
  // The line holds the astronomical year; the year box shows the historical one, so a
  // year before 1 AD charts the year the search found.
  SetMomentInputs(year, month, day, hour, chart::kSearchMinute);
  LedtZhuYear->setText(PageSearch->LedtYearS->text());
  SelectMountainAndGua(PageSearch->CboShanS->currentIndex(), PageSearch->CboGuaS->currentIndex());
  const chart::SearchRequest& request = PageSearch->Request();
  chart::CopyDragonWaterFacing(request, record_);
  PageMain->setCurrentIndex(0);
  BtnPaiClick();
}

void TFrmMain::StepMoment(double days) {
  if (!chartShown_) {
    Tell(this, QStringLiteral("请先排一个正确的盘！"), QStringLiteral("先排盘"), Icon::Information);
    return;
  }
  // Five seconds more keep a step from landing a hair before the minute it aims at.
  const calendar::JulianDay target = engine_->GetMoment().beijingJD + days + 5.0 / 86400.0;
  const calendar::CivilDateTime d = engine_->DateFromJD(target);
  SetMomentInputs(d.year, d.month, d.day, d.hour, d.minute);
  BtnPaiClick();
}

void TFrmMain::StepHourBack() { StepMoment(-1.0 / 12.0); }
void TFrmMain::StepHourForward() { StepMoment(1.0 / 12.0); }
void TFrmMain::StepDayBack() { StepMoment(-1.0); }
void TFrmMain::StepDayForward() { StepMoment(1.0); }

const QImage& TFrmMain::ChartImage() const { return canvas_->Image(); }

void TFrmMain::ShowChartImage() {
  const QImage& image = canvas_->Image();
  // Before a chart (at start, after 新建) the canvas holds no picture, only its empty
  // surface: nothing is shown rather than a blank block.
  if (!chartShown_) {
    ImgPan->hide();
    return;
  }
  ImgPan->setPixmap(QPixmap::fromImage(canvas_->ScreenImage()));
  ImgPan->resize(image.size());
  ImgPan->show();
}

void TFrmMain::CentreChartImage() {
  const QSize client = BoxPanel->viewport()->size();
  const int left = std::max(3, (client.width() - ImgPan->width()) / 2);
  const int top = std::max(3, (client.height() - ImgPan->height()) / 2);
  ImgPan->move(left, top);
  FitScrollSurface();
}

void TFrmMain::FitScrollSurface() {
  // The scroll range reaches to the image wherever it has been dragged.
  const QSize client = BoxPanel->viewport()->size();
  const QRect image = ImgPan->isVisible() ? ImgPan->geometry() : QRect();
  BoxPanel->widget()->resize(std::max(client.width(), image.right() + 1), std::max(client.height(), image.bottom() + 1));
}

void TFrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  CentreChartImage();
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == BoxPanel->viewport() && event->type() == QEvent::Resize) {
    CentreChartImage();
  } else if (watched == ImgPan) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress && chartShown_) {
      dragging_ = true;
      dragStart_ = mouse->position().toPoint();
      return true;
    }
    if (mouse && event->type() == QEvent::MouseMove && dragging_) {
      ImgPan->move(ImgPan->pos() + mouse->position().toPoint() - dragStart_);
      FitScrollSurface();
      return true;
    }
    if (mouse && mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonRelease) {
      dragging_ = false;
      if (chartShown_) PassClickToChart(mouse->position().toPoint());
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::PassClickToChart(QPoint at) {
  if (engine_->Click(at.x(), at.y())) ShowChartImage();
}

void TFrmMain::N9Click() { StepChartFont(+1); }
void TFrmMain::N10Click() { StepChartFont(-1); }

void TFrmMain::StepChartFont(int delta) {
  // The engine keeps the font within 10..35 points and refuses a step beyond.
  if (chartShown_ && engine_->StepImageFont(delta)) BtnPaiClick();
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// 排盘 and the moves of the chart's moment; clicks on the picture and its font size.
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>

#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/zoned_clock.h"
#include "qtdraw/shown_text.h"
#include "qtdraw/image_canvas.h"
#include "ui/chart_inputs_panel.h"
#include "ui/chart_view.h"
#include "ui/frm_main.h"
#include "ui/search_page.h"
#include "ui/program_files.h"
#include "ui/prompter.h"

namespace quorin::ui {

void TFrmMain::ChartFromInputsWithFold(int fold) {
  SetChartShown(false);
  TRecordData read = record_;
  if (!Inputs->ReadInto(read)) return;
  read.fold = static_cast<std::int8_t>(fold);
  if (fold == 0 && !ChooseRepeatedClockTime(read)) return;
  record_ = read;
  ComputeChart();
}

bool TFrmMain::ChooseRepeatedClockTime(TRecordData& r) {
  if (r.zone.empty() || r.isLunar) return true;
  const chart::ZonedClockReading reading = chart::ReadZonedClock({r.year, r.month, r.day, r.hour, r.minute}, r.zone, 0);
  if (reading.kind != calendar::ClockTimeKind::kRepeated) return true;
  Message question;
  question.caption = tr("钟点出现两次");
  question.text = qtdraw::ShownQString(reading.problem) + tr("\r\n请选择是哪一次：");
  question.buttons = Buttons::YesNoCancel;
  question.defaultButton = Answer::Yes;
  question.icon = Icon::Question;
  question.yesText = tr("第一次（%1）").arg(qtdraw::ShownQString(chart::OffsetChoiceText(reading.offsets[0])));
  question.noText = tr("第二次（%1）").arg(qtdraw::ShownQString(chart::OffsetChoiceText(reading.offsets[1])));
  const Answer answer = Prompts().Ask(this, question);
  if (answer == Answer::Cancel) return false;
  r.fold = answer == Answer::Yes ? 1 : 2;
  return true;
}

void TFrmMain::SetChartShown(bool shown) {
  chartShown_ = shown;
  chartView_->SetInteractive(shown);
}

bool TFrmMain::ComputeChart() {
  if (pages_->currentWidget() == searchPage_) pages_->setCurrentIndex(0);
  // The picture's background follows the analysis text's.
  engine_->SetImageBackground(qtdraw::FromQColor(chartTextView_->palette().color(QPalette::Base)));
  canvas_->SetDevicePixelRatio(devicePixelRatioF());
  if (!engine_->Compute(record_)) {
    Tell(this, ToQString(engine_->ErrorText()), tr("错误"), Icon::Error);
    return false;
  }
  SetChartShown(true);
  ShowChartImage();
  CentreChartImage();
  return true;
}

void TFrmMain::ChartSearchResult(int year, int month, int day, int hour) {
  // The line holds the astronomical year; the year box shows the historical one, so a
  // year before 1 AD charts the year the search found.
  Inputs->SetMomentInputs(year, month, day, hour, chart::kSearchMinute);
  Inputs->SetMasterYearText(searchPage_->MasterYearText());
  Inputs->SetOtherPersons(searchPage_->OtherPersons());
  Inputs->SelectMountainAndGua(searchPage_->Mountain(), searchPage_->MountainGua());
  const chart::SearchRequest& request = searchPage_->Request();
  chart::CopyDragonWaterFacing(request, record_);
  pages_->setCurrentIndex(0);
  // A zoned search's moments are clock times of its place, and one that came twice was tested
  // at its first occurrence.
  if (!request.zone.empty()) {
    const TRecordData& place = searchPage_->SearchedPlace();
    Inputs->RestorePlace(place.province, place.city, place.addrName, place.zone);
  }
  ChartFromInputsWithFold(request.zone.empty() ? 0 : 1);
}

void TFrmMain::StepMoment(double days) {
  if (!chartShown_) {
    Tell(this, tr("请先排一个正确的盘！"), tr("先排盘"), Icon::Information);
    return;
  }
  const calendar::CivilDateTime d = engine_->SteppedMoment(days);
  const ChartInputsPanel::MomentInputs before = Inputs->CurrentMomentInputs();
  Inputs->SetMomentInputs(d.year, d.month, d.day, d.hour, d.minute);
  TRecordData stepped = record_;
  if (!Inputs->ReadInto(stepped) || !ChooseRepeatedClockTime(stepped)) {
    // A step past the first or last year of the calendar is refused (the year error was
    // told): the inputs go back to the chart on screen, which stays, so the next command
    // still works on it.
    Inputs->RestoreMomentInputs(before);
    return;
  }
  const TRecordData charted = record_;
  record_ = stepped;
  SetChartShown(false);
  if (ComputeChart()) return;
  // The engine refused the moment (its message was told): back to the chart that was shown.
  Inputs->RestoreMomentInputs(before);
  record_ = charted;
  if (engine_->Compute(record_)) {
    SetChartShown(true);
    ShowChartImage();
  }
}

void TFrmMain::StepHourBack() { StepMoment(-1.0 / 12.0); }
void TFrmMain::StepHourForward() { StepMoment(1.0 / 12.0); }
void TFrmMain::StepDayBack() { StepMoment(-1.0); }
void TFrmMain::StepDayForward() { StepMoment(1.0); }

const QImage& TFrmMain::ChartImage() const { return canvas_->Image(); }

void TFrmMain::ShowChartImage() { chartView_->ShowPicture(chartShown_); }

void TFrmMain::CentreChartImage() { chartView_->Centre(); }

void TFrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  CentreChartImage();
}

void TFrmMain::PassClickToChart(QPoint at) {
  if (engine_->Click(at.x(), at.y())) ShowChartImage();
}

void TFrmMain::EnlargeChartFont() { StepChartFont(+1); }
void TFrmMain::ShrinkChartFont() { StepChartFont(-1); }

void TFrmMain::StepChartFont(int delta) {
  // The engine keeps the font within 10..35 points and refuses a step beyond.
  if (chartShown_ && engine_->StepImageFont(delta)) ChartFromInputs();
}

}  // namespace quorin::ui

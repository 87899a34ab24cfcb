// SPDX-License-Identifier: GPL-3.0-or-later
// The options menu (text preferences, chart settings, places) and the commands whose
// windows belong to other parts of the program.
#include <QTextEdit>

#include "calendar/historical_year.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_dili.h"
#include "ui/frm_fan_tui.h"
#include "ui/frm_more_input.h"
#include "ui/frm_txt_help.h"
#include "ui/frm_wnl.h"
#include "ui/frm_zhou_yi.h"
#include "ui/own_places_dialog.h"
#include "ui/frm_main.h"
#include "ui/frm_set.h"
#include "ui/program_start.h"
#include "ui/prompter.h"

namespace quorin::ui {

void TFrmMain::ResetChartTextLook() {
  chartTextView_->setFont(qtdraw::SongFont(12));
  QPalette palette = chartTextView_->palette();
  palette.setColor(QPalette::Base, qtdraw::ToQColor(16777215));
  chartTextView_->setPalette(palette);
  Tell(this, tr("字体大小、背景颜色已经恢复默认，请重新排盘！"));
}

void TFrmMain::ChooseChartTextFont() {
  const std::optional<QFont> chosen = Prompts().ChooseFont(this, chartTextView_->font());
  if (!chosen) return;
  QFont font = chartTextView_->font();
  font.setFamily(chosen->family());
  if (chosen->pointSize() > 0) font.setPointSize(chosen->pointSize());
  chartTextView_->setFont(font);
  Tell(this, tr("设置完成"));
}

void TFrmMain::ChooseChartTextBackground() {
  const std::optional<QColor> chosen = Prompts().ChooseColor(this, chartTextView_->palette().color(QPalette::Base));
  if (!chosen) return;
  QPalette palette = chartTextView_->palette();
  palette.setColor(QPalette::Base, *chosen);
  chartTextView_->setPalette(palette);
  Tell(this, tr("设置完成"));
}

void TFrmMain::OpenChartSettings() {
  TFrmSet dialog(this);
  if (dialog.exec() != QDialog::Accepted || dialog.ChosenScript() == base::ShownScript()) return;
  // A new script shows from the next drawing on: the chart now, the menus after a restart.
  UseScript(dialog.ChosenScript());
  if (chartShown_) ChartFromInputs();
}

void TFrmMain::EditPlaceCoordinates() {
  TFrmDiLi dialog(this);
  dialog.exec();
}

void TFrmMain::EditOwnPlaces() {
  OwnPlacesDialog dialog(this);
  dialog.exec();
  // The lists show the places as they now are; the place chosen stays when it still exists.
  Inputs->RestorePlace(Inputs->Province(), Inputs->City(), Inputs->PlaceName(), Inputs->Zone());
}

void TFrmMain::EditDragonWaterFacing() {
  TFrmMoreInput dialog(record_, this);
  if (dialog.exec() == QDialog::Accepted && chartShown_) ChartFromInputs();
}

void TFrmMain::ReversePillarSearch() {
  const std::optional<FanTuiResult> found = TFrmFanTui::Run(this, rememberedPillars_, Inputs->Male());
  if (!found) return;
  rememberedPillars_ = found->pillars;
  Inputs->SetMale(found->male);
  Inputs->SetMomentInputs(found->moment.year, found->moment.month, found->moment.day, found->moment.hour, 0);
  ChartFromInputs();
}

void TFrmMain::ShowPerpetualCalendar() {
  // The calendar window takes the year as users write it.
  calendar::CivilDateTime moment = Inputs->ShownMoment();
  moment.year = static_cast<std::int16_t>(calendar::HistoricalYear(moment.year));
  TFrmWnl::ShowInstance(this, moment);
}

void TFrmMain::ShowIChingTexts() { TFrmZhouYi::ShowInstance(this); }
void TFrmMain::ShowProgramHelp() { TFrmTxtHelp::ShowModal(this); }
void TFrmMain::ShowHelpDocument() { OpenHelpDocument(this); }

}  // namespace quorin::ui

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
#include "ui/frm_main.h"
#include "ui/frm_set.h"
#include "ui/prompter.h"

namespace quorin::ui {

void TFrmMain::OsetmoClick() {
  RedtOut->setFont(qtdraw::SongFont(12));
  QPalette palette = RedtOut->palette();
  palette.setColor(QPalette::Base, qtdraw::ToQColor(16777215));
  RedtOut->setPalette(palette);
  Tell(this, QStringLiteral("字体大小、背景颜色已经恢复默认，请重新排盘！"));
}

void TFrmMain::OmnusetfontClick() {
  const std::optional<QFont> chosen = Prompts().ChooseFont(this, RedtOut->font());
  if (!chosen) return;
  QFont font = RedtOut->font();
  font.setFamily(chosen->family());
  if (chosen->pointSize() > 0) font.setPointSize(chosen->pointSize());
  RedtOut->setFont(font);
  Tell(this, QStringLiteral("设置完成"));
}

void TFrmMain::OmnusetcolorClick() {
  const std::optional<QColor> chosen = Prompts().ChooseColor(this, RedtOut->palette().color(QPalette::Base));
  if (!chosen) return;
  QPalette palette = RedtOut->palette();
  palette.setColor(QPalette::Base, *chosen);
  RedtOut->setPalette(palette);
  Tell(this, QStringLiteral("设置完成"));
}

void TFrmMain::OmenuSetClick() {
  TFrmSet dialog(this);
  dialog.exec();
}

void TFrmMain::N2Click() {
  TFrmDiLi dialog(this);
  dialog.exec();
}

void TFrmMain::DragonWaterFacingClick() {
  TFrmMoreInput dialog(record_, this);
  if (dialog.exec() == QDialog::Accepted && chartShown_) BtnPaiClick();
}

void TFrmMain::ReversePillarSearchClick() {
  const std::optional<FanTuiResult> found = TFrmFanTui::Run(this, rememberedPillars_, Inputs->Male());
  if (!found) return;
  rememberedPillars_ = found->pillars;
  Inputs->SetMale(found->male);
  Inputs->SetMomentInputs(found->moment.year, found->moment.month, found->moment.day, found->moment.hour, 0);
  BtnPaiClick();
}

void TFrmMain::PerpetualCalendarClick() {
  // The calendar window takes the year as users write it.
  calendar::CivilDateTime moment = Inputs->ShownMoment();
  moment.year = static_cast<std::int16_t>(calendar::HistoricalYear(moment.year));
  TFrmWnl::ShowInstance(this, moment);
}

void TFrmMain::IChingTextClick() { TFrmZhouYi::ShowInstance(this); }
void TFrmMain::HelpTextClick() { TFrmTxtHelp::ShowModal(this); }
void TFrmMain::OpenHelpFileClick() { OpenHelpDocument(this); }

}  // namespace quorin::ui

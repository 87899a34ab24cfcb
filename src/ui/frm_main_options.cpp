// The options menu (text preferences, chart settings, places) and the commands whose
// windows belong to other parts of the program.
#include <QTextEdit>

#include "ui/frm_dili.h"
#include "ui/frm_main.h"
#include "ui/frm_set.h"
#include "ui/image_canvas.h"
#include "ui/prompter.h"

namespace quorin::ui {

void TFrmMain::OsetmoClick() {
  QFont font(QStringLiteral("宋体"));
  font.setPointSize(12);
  RedtOut->setFont(font);
  QPalette palette = RedtOut->palette();
  palette.setColor(QPalette::Base, ToQColor(16777215));
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

// The commands below belong to the case windows, the calendar windows, the I Ching
// window, the help and the dragon-water-facing dialog. Their menu items and buttons
// stay disabled until those windows are built and fill these slots.
void TFrmMain::SaveCaseClick() {}
void TFrmMain::NewCaseClick() {}
void TFrmMain::RestoreCasesClick() {}
void TFrmMain::BackUpCasesClick() {}
void TFrmMain::DeleteAllCasesClick() {}
void TFrmMain::CompactCasesClick() {}
void TFrmMain::ImportCasesClick() {}
void TFrmMain::ExportCasesClick() {}
void TFrmMain::OpenHelpFileClick() {}
void TFrmMain::ReversePillarSearchClick() {}
void TFrmMain::IChingTextClick() {}
void TFrmMain::PerpetualCalendarClick() {}
void TFrmMain::HelpTextClick() {}
void TFrmMain::DragonWaterFacingClick() {}
void TFrmMain::RefreshTree() {}

}  // namespace quorin::ui

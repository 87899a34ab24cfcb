// quorin: the desktop program.
#include <QApplication>

#include "cases/record_base.h"
#include "qtdraw/fonts.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/program_objects.h"
#include "ui/ui_font.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quorin::qtdraw::InstallFontSubstitutions();
  // The program-wide objects live until the program ends; the scaler reads set.ini once.
  quorin::cases::MRecordBase caseStore;
  quorin::ui::SetProgramCaseStore(&caseStore);
  quorin::ui::MUiFont uiFont(quorin::ui::SetIniPath());
  quorin::ui::SetProgramUiFont(&uiFont);
  QApplication::setApplicationName(QStringLiteral("Quorin 2.3"));
  QFont font(quorin::qtdraw::kSongFont);
  font.setPointSizeF(10.5);
  QApplication::setFont(font);

  quorin::ui::TFrmMain window;
  window.show();
  const int result = app.exec();
  quorin::ui::SetProgramUiFont(nullptr);
  quorin::ui::SetProgramCaseStore(nullptr);
  return result;
}

// quorin: the desktop program.
#include <QApplication>
#include <QIcon>

#include "base/data_location.h"
#include "cases/record_base.h"
#include "ui/frm_main.h"
#include "ui/program_files.h"
#include "ui/program_objects.h"
#include "ui/program_start.h"
#include "ui/ui_font.h"

namespace {

// The compass dial of the desktop entry, at the sizes window managers ask for; every window
// takes it from the application.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/quorin-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt's own texts (dialog buttons, file dialogs) in Chinese from the first message on.
  quorin::ui::PrepareProgramApplication();
  // Portable beside the executable, or installed with the user's data in the user's folder.
  // A data folder that cannot be made is reported by the main window, which names it.
  quorin::base::UseDataLocation();
  // The program-wide objects live until the program ends; the scaler reads set.ini once.
  quorin::cases::MRecordBase caseStore;
  quorin::ui::SetProgramCaseStore(&caseStore);
  quorin::ui::MUiFont uiFont(quorin::base::ReadableDataFile("set.ini"));
  quorin::ui::SetProgramUiFont(&uiFont);
  QGuiApplication::setDesktopFileName(QStringLiteral("quorin"));
  QApplication::setWindowIcon(ProgramIcon());

  quorin::ui::TFrmMain window;
  window.show();
  const int result = app.exec();
  quorin::ui::SetProgramUiFont(nullptr);
  quorin::ui::SetProgramCaseStore(nullptr);
  return result;
}

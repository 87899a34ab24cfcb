// SPDX-License-Identifier: GPL-3.0-or-later
// quorin: the desktop program.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "base/data_location.h"
#include "base/script_text.h"
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

// --help and --version, GNU fashion: answered before Qt looks for a display, and touching no
// data folder. Other arguments are Qt's (such as -platform offscreen).
bool AnsweredInfoOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("Quorin " QUORIN_VERSION "\n", stdout);
      return true;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(
          "Usage: quorin [--help | --version]\n"
          "Starts Quorin, the desktop program for Chinese date selection (玄空大卦择日).\n\n"
          "  --help     print this help and exit\n"
          "  --version  print the program's name and version and exit\n\n"
          "The settings and cases are kept beside the program when its folder holds a writable\n"
          "dat/, otherwise in $XDG_DATA_HOME/quorin (by default ~/.local/share/quorin).\n"
          "Charts, calendars, searches and cases from a shell: quorin-cli --help.\n",
          stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredInfoOption(argc, argv)) return 0;
  QApplication app(argc, argv);
  // Qt's own texts (dialog buttons, file dialogs) in Chinese from the first message on.
  quorin::ui::PrepareProgramApplication();
  // Portable beside the executable, or installed with the user's data in the user's folder.
  // A data folder that cannot be made is reported by the main window, which names it.
  quorin::base::UseDataLocation();
  // The script the user chose: the engine's texts, the windows' and Qt's own.
  quorin::ui::UseScript(quorin::base::ReadScriptSetting(quorin::base::ReadableDataFile("set.ini")));
  // The program-wide objects live until the program ends; the scaler reads set.ini once.
  quorin::cases::MRecordBase caseStore;
  quorin::ui::SetProgramCaseStore(&caseStore);
  quorin::ui::MUiFont uiFont(quorin::base::ReadableDataFile("set.ini"));
  quorin::ui::SetProgramUiFont(&uiFont);
  QApplication::setApplicationName(QStringLiteral("Quorin " QUORIN_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("quorin"));
  QApplication::setWindowIcon(ProgramIcon());

  quorin::ui::TFrmMain window;
  window.show();
  const int result = app.exec();
  quorin::ui::SetProgramUiFont(nullptr);
  quorin::ui::SetProgramCaseStore(nullptr);
  return result;
}

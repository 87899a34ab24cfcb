// quorin: the desktop program.
#include <QApplication>

#include "ui/fonts.h"
#include "ui/frm_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorin 2.3"));
  quorin::ui::InstallFontSubstitutions();
  QApplication::setFont(QFont(quorin::ui::kSongFont, 9));
  quorin::ui::TFrmMain window;
  window.show();
  return app.exec();
}

#include "ui/frm_main.h"

#include <QApplication>

namespace quorin::ui {

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowTitle(QApplication::applicationName());
  resize(1024, 700);
}

}  // namespace quorin::ui

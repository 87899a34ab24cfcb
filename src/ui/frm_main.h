// The program's main window.
#pragma once

#include <QMainWindow>

namespace quorin::ui {

class TFrmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrmMain(QWidget* parent = nullptr);
};

}  // namespace quorin::ui

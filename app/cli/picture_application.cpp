// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_application.h"

#ifdef QUORIN_CLI_PNG
#include <iostream>

#include "qtdraw/fonts.h"

namespace quorin::cli {

std::unique_ptr<QGuiApplication> MakePictureApplication() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notes about the missing desktop session (runtime folder, offscreen
  // platform) say nothing about the chart; errors still reach stderr.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
  });
  static int argc = 1;
  static char name[] = "quorin-cli";
  static char* argv[] = {name, nullptr};
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  qtdraw::InstallFontSubstitutions();
  return app;
}

}  // namespace quorin::cli
#endif

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_start.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "qtdraw/fonts.h"

namespace quorin::ui {

namespace {

// The program speaks Chinese whatever the system's language, and so do Qt's dialogs.
constexpr const char* kQtChineseTexts = "qtbase_zh_CN";

}  // namespace

bool InstallQtChineseTexts() {
  static QTranslator* installed = nullptr;
  if (installed) return true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QString::fromLatin1(kQtChineseTexts), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

void PrepareProgramApplication() {
  QApplication::setApplicationName(QStringLiteral("Quorin 2.3"));
  InstallQtChineseTexts();
  qtdraw::InstallFontSubstitutions();
  QFont font(qtdraw::kSongFont);
  font.setPointSizeF(kProgramFontPoints);
  QApplication::setFont(font);
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_start.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "base/data_location.h"
#include "qtdraw/fonts.h"

namespace quorin::ui {

namespace {

// The program speaks Chinese whatever the system's language, and so do Qt's dialogs: Qt's
// simplified texts, or its traditional ones (Qt has one traditional translation, Taiwan's).
constexpr const char* kQtSimplifiedTexts = "qtbase_zh_CN";
constexpr const char* kQtTraditionalTexts = "qtbase_zh_TW";

// The translator installed for Qt's texts and the one for the windows' own, replaced when
// the script changes.
QTranslator* qtTexts = nullptr;
QTranslator* windowTexts = nullptr;
const char* qtTextsLoaded = nullptr;  // the name of Qt's translation installed

void Uninstall(QTranslator*& translator) {
  if (!translator) return;
  QCoreApplication::removeTranslator(translator);
  delete translator;
  translator = nullptr;
}

bool Install(QTranslator*& slot, const QString& name, const QString& folder) {
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  if (!translator->load(name, folder)) return false;
  Uninstall(slot);
  slot = translator.release();
  QCoreApplication::installTranslator(slot);
  return true;
}

// Qt's translation of one script; the one already installed is not loaded again (start-up
// installs the simplified one before the settings are read).
bool InstallQtTexts(const char* name) {
  if (qtTextsLoaded == name) return true;
  if (!Install(qtTexts, QString::fromLatin1(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  qtTextsLoaded = name;
  return true;
}

}  // namespace

bool InstallQtChineseTexts() { return InstallQtTexts(kQtSimplifiedTexts); }

QString WindowTranslationFile(base::Script script) {
  const char* name = script == base::Script::kTraditionalHongKong ? "quorin_zh_HK.qm" : "quorin_zh_TW.qm";
  return QString::fromStdString(base::ShippedFolder()) + QStringLiteral("translations/") + QString::fromLatin1(name);
}

bool UseScript(base::Script script) {
  base::SetShownScript(script);
  const bool simplified = script == base::Script::kSimplified;
  bool complete = InstallQtTexts(simplified ? kQtSimplifiedTexts : kQtTraditionalTexts);
  if (simplified) {
    // The source texts are the simplified ones.
    Uninstall(windowTexts);
  } else {
    complete = Install(windowTexts, WindowTranslationFile(script), QString()) && complete;
  }
  return complete;
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

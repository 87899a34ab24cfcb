// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "base/files.h"
#include "base/gbk.h"
#include "ui/program_start.h"

namespace quorin::testing {

namespace {

QtMessageHandler& StandardHandler() {
  static QtMessageHandler handler = nullptr;
  return handler;
}

// The offscreen platform cannot pass size hints to a window manager; that note is noise.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  if (StandardHandler()) StandardHandler()(type, context, message);
}

}  // namespace

void PrepareApplication() {
  if (!StandardHandler()) StandardHandler() = qInstallMessageHandler(QuietOffscreenNotes);
  ui::PrepareProgramApplication();
}

ProgramFolder::ProgramFolder(bool withPlaces) {
  QDir(dir_.path()).mkpath(QStringLiteral("dat"));
  QDir(dir_.path()).mkpath(QStringLiteral("skins"));
  if (withPlaces) {
    QFile::copy(QStringLiteral(QUORIN_SOURCE_DIR "/data/dat/dili.ini"), Dat(QStringLiteral("dili.ini")));
  }
  base::SetProgramFolder(Path().toStdString());
}

ProgramFolder::~ProgramFolder() = default;

QString ProgramFolder::Path() const { return dir_.path() + QLatin1Char('/'); }
QString ProgramFolder::Dat(const QString& name) const { return Path() + QStringLiteral("dat/") + name; }

void ProgramFolder::WriteGbk(const QString& relative, const std::string& utf8) const {
  if (!base::AtomicWriteFile((Path() + relative).toStdString(), base::Utf8ToGbkLossy(utf8))) {
    qFatal("cannot write the test file %s", qPrintable(relative));
  }
}

std::string ProgramFolder::ReadGbk(const QString& relative) const {
  return base::GbkToUtf8(base::ReadFileBytes((Path() + relative).toStdString()).value_or(""));
}

}  // namespace quorin::testing

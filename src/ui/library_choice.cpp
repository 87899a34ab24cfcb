// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/library_choice.h"

#include <QEventLoop>
#include <QSettings>
#include <qt6keychain/keychain.h>

#include "ui/program_files.h"

namespace quorin::ui {
namespace {

const QString kKeyringService = QStringLiteral("Quorin 共享案例库");

// The user's own settings file (~/.config/Quorin/quorin.conf), apart from the program folder's
// files, which every user of the computer shares.
QSettings UserSettings() { return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quorin"), QStringLiteral("quorin")); }

// Runs a keyring job to its end; the keyring answers through the event loop.
bool RunJob(QKeychain::Job& job, QString& why) {
  job.setAutoDelete(false);
  job.setInsecureFallback(false);  // a password goes to a keyring or nowhere
  QEventLoop loop;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
  job.start();
  loop.exec();
  if (job.error() == QKeychain::NoError) return true;
  if (job.error() != QKeychain::EntryNotFound) why = job.errorString();
  return false;
}

}  // namespace

LibraryChoice RememberedLibraryChoice() {
  QSettings settings = UserSettings();
  settings.beginGroup(QStringLiteral("library"));
  LibraryChoice choice;
  choice.shared = settings.value(QStringLiteral("shared"), false).toBool();
  cases::LibraryAddress& a = choice.address;
  a.host = ToUtf8(settings.value(QStringLiteral("host")).toString());
  a.port = ToUtf8(settings.value(QStringLiteral("port")).toString());
  a.database = ToUtf8(settings.value(QStringLiteral("database")).toString());
  a.user = ToUtf8(settings.value(QStringLiteral("user")).toString());
  a.sslMode = ToUtf8(settings.value(QStringLiteral("sslmode"), QStringLiteral("prefer")).toString());
  a.rootCertificate = ToUtf8(settings.value(QStringLiteral("sslrootcert")).toString());
  return choice;
}

void RememberLibraryChoice(const LibraryChoice& choice) {
  QSettings settings = UserSettings();
  settings.beginGroup(QStringLiteral("library"));
  settings.setValue(QStringLiteral("shared"), choice.shared);
  const cases::LibraryAddress& a = choice.address;
  settings.setValue(QStringLiteral("host"), ToQString(a.host));
  settings.setValue(QStringLiteral("port"), ToQString(a.port));
  settings.setValue(QStringLiteral("database"), ToQString(a.database));
  settings.setValue(QStringLiteral("user"), ToQString(a.user));
  settings.setValue(QStringLiteral("sslmode"), ToQString(a.sslMode));
  settings.setValue(QStringLiteral("sslrootcert"), ToQString(a.rootCertificate));
}

QString KeyringEntry(const cases::LibraryAddress& address) {
  return ToQString(address.user + "@" + address.host + ":" + address.port + "/" + address.database);
}

std::optional<QString> KeptPassword(const QString& entry, QString& why) {
  why.clear();
  QKeychain::ReadPasswordJob job(kKeyringService);
  job.setKey(entry);
  if (!RunJob(job, why)) return std::nullopt;
  return job.textData();
}

bool KeepPassword(const QString& entry, const QString& password, QString& why) {
  why.clear();
  QKeychain::WritePasswordJob job(kKeyringService);
  job.setKey(entry);
  job.setTextData(password);
  return RunJob(job, why);
}

}  // namespace quorin::ui

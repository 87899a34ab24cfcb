// SPDX-License-Identifier: GPL-3.0-or-later
// "连接共享案例库": where a practice's shared library is (server, port, database, user, TLS mode and
// the practice's own certificate) and the password, which the keyring may keep.
#pragma once

#include <QDialog>

#include "cases/library_address.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quorin::ui {

class SharedLibraryDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts from the address last used.
  SharedLibraryDialog(const cases::LibraryAddress& address, const QString& password, QWidget* parent = nullptr);

  cases::LibraryAddress Address() const;
  QString Password() const;
  bool KeepPasswordInKeyring() const;

 private:
  void ChooseCertificate();
  // OK: only with a database and a user.
  void AcceptFilledIn();

  QLineEdit* host_;
  QLineEdit* port_;
  QLineEdit* database_;
  QLineEdit* user_;
  QComboBox* sslMode_;
  QLineEdit* rootCertificate_;
  QLineEdit* password_;
  QCheckBox* keepPassword_;
};

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// A throw-away program folder for window tests, and the application set-up they share.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace quorin::testing {

// The program's own start-up: fonts ("宋体" mapped to an installed face) and Qt's Chinese texts.
void PrepareApplication();

class ProgramFolder {
 public:
  // A new folder with dat/ and skins/; with `withPlaces` the shipped dili.ini is copied.
  explicit ProgramFolder(bool withPlaces = true);
  ~ProgramFolder();

  QString Path() const;               // ends in '/'
  QString Dat(const QString& name) const;  // <folder>/dat/<name>
  // Writes a file of the folder as GBK bytes of the UTF-8 text given.
  void WriteGbk(const QString& relative, const std::string& utf8) const;
  std::string ReadGbk(const QString& relative) const;  // as UTF-8

 private:
  QTemporaryDir dir_;
};

}  // namespace quorin::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// Tests reach a window's controls as skins do: by their object names, the original program's
// component names.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace quorin::testing {

// The control of type T named `name` below `root`; a control that is not there ends the test
// program, since every later step would fail on it.
template <typename T>
T* Named(const QObject* root, const QString& name) {
  T* control = root->findChild<T*>(name);
  if (!control) qFatal("no control %s below %s", qPrintable(name), qPrintable(root->objectName()));
  return control;
}
template <typename T>
T* Named(const QObject* root, const char* name) {
  return Named<T>(root, QString::fromLatin1(name));
}
template <typename T>
T* Named(const QObject& root, const char* name) {
  return Named<T>(&root, QString::fromLatin1(name));
}

// A control of the chart inputs at the right of the main window `window` (cbodiZ, BtnPai …).
template <typename T>
T* ChartInput(const QObject* window, const char* name) {
  return Named<T>(Named<QObject>(window, "Panel2Column"), name);
}

}  // namespace quorin::testing

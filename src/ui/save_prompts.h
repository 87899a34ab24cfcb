// SPDX-License-Identifier: GPL-3.0-or-later
// The questions and reports around writing a file the user named in a save dialog.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace quorin::ui {

// "已保存！", told after a save.
QString SavedMessage();
// Tells that `path` could not be written, and why.
void ReportWriteFailure(QWidget* parent, const std::string& path, const std::string& error);
// The dialog confirmed the name as typed; the file written carries an appended extension, so
// an existing file of that name is only replaced when the user says so.
bool MayWrite(QWidget* parent, const std::string& path);

}  // namespace quorin::ui

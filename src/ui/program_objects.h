// SPDX-License-Identifier: GPL-3.0-or-later
// The program-wide case store, created by the program before its first window.
#pragma once

#include <string>

namespace quorin::cases {
class MRecordBase;
}

namespace quorin::ui {

// The one case store of the program (null until the program installs one). The main window
// takes it when it is made and hands it to its parts.
cases::MRecordBase* ProgramCaseStore();
void SetProgramCaseStore(cases::MRecordBase* store);

// dat/Orlune.db of the program folder.
std::string CaseDatabasePath();

}  // namespace quorin::ui

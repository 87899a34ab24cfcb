// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/program_objects.h"

#include "base/files.h"

namespace quorin::ui {

namespace {
cases::MRecordBase*& Installed() {
  static cases::MRecordBase* store = nullptr;
  return store;
}
}  // namespace

cases::MRecordBase* ProgramCaseStore() { return Installed(); }
void SetProgramCaseStore(cases::MRecordBase* store) { Installed() = store; }

std::string CaseDatabasePath() { return base::ProgramFolder() + "dat/" + "Orlune" + ".db"; }

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the help window (generated from data/help, like the help document).
#pragma once

#include <string>

namespace quorin::ui {

// Page "使用说明": the user guide, one paragraph per line.
const std::string& HelpGuideText();
// Page "升级改进历史": the release notes, newest first.
const std::string& HelpReleaseNotesText();

}  // namespace quorin::ui

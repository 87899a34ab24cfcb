// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt application that commands drawing pictures or PDF files need (Qt Gui only); only in builds
// with pictures (QUORIN_CLI_PNG).
#pragma once

#ifdef QUORIN_CLI_PNG
#include <QGuiApplication>
#include <memory>

namespace quorin::cli {

// Qt draws only inside an application object; a shell has no display, so the offscreen platform
// serves unless the caller chose one. The program's font substitutions are installed.
std::unique_ptr<QGuiApplication> MakePictureApplication();

}  // namespace quorin::cli
#endif

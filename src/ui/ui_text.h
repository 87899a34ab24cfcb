// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the windows written outside a window's own class (free functions, helpers shared by
// several windows): UiText::tr("...") translates them under the one context "Quorin", where
// lupdate finds them as it finds a window's tr("...").
#pragma once

#include <QCoreApplication>

namespace quorin::ui {

struct UiText {
  Q_DECLARE_TR_FUNCTIONS(Quorin)
};

}  // namespace quorin::ui

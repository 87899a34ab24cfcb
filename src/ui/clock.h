// SPDX-License-Identifier: GPL-3.0-or-later
// The local date and time the windows start from; tests set their own.
#pragma once

#include <QDateTime>
#include <functional>

namespace quorin::ui {

QDateTime LocalNow();
// Replaces the clock (an empty function restores the system's).
void SetClock(std::function<QDateTime()> clock);

}  // namespace quorin::ui

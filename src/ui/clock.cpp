// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/clock.h"

namespace quorin::ui {

namespace {
std::function<QDateTime()>& Installed() {
  static std::function<QDateTime()> clock;
  return clock;
}
}  // namespace

QDateTime LocalNow() { return Installed() ? Installed()() : QDateTime::currentDateTime(); }
void SetClock(std::function<QDateTime()> clock) { Installed() = std::move(clock); }

}  // namespace quorin::ui

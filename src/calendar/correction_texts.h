// SPDX-License-Identifier: GPL-3.0-or-later
// The compressed day corrections of the official calendar for 619–1959 (letters stand for runs of digits).
#pragma once

#include <string_view>

namespace quorin::calendar {

extern const std::string_view kNewMoonCorrections;
extern const std::string_view kSolarTermCorrections;

}  // namespace quorin::calendar

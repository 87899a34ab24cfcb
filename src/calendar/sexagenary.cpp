// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/sexagenary.h"

namespace quorin::calendar {

std::string Jiazi::Name() const { return std::string(StemPart().Name()) + std::string(BranchPart().Name()); }

}  // namespace quorin::calendar

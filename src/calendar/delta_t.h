// SPDX-License-Identifier: GPL-3.0-or-later
// ΔT = TT − UT, the drift of the Earth's rotation against dynamical time.
#pragma once

namespace quorin::calendar {

// ΔT in seconds for a decimal year (2024.5 is mid-2024); extrapolates before −4000 and after 2115.
double DeltaT(double year);
// ΔT in days for a TT day offset from J2000.
double DeltaTDays(double dayOffset);

}  // namespace quorin::calendar

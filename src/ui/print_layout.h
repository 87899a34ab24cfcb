// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chart image goes on a printed page.
#pragma once

#include <QRect>
#include <QSize>

namespace quorin::ui {

// A tall image is printed no taller than 1.35 times its width.
inline constexpr float kMaxPrintRatio = 1.35f;

// 90% of the page width, 5% from the left, a 40th of the page height from the top,
// with the image's height-to-width ratio (capped). Page sizes in printer pixels.
QRect ChartPrintRect(QSize image, int pageWidth, int pageHeight);

}  // namespace quorin::ui

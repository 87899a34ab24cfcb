// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print_layout.h"

namespace quorin::ui {

QRect ChartPrintRect(QSize image, int pageWidth, int pageHeight) {
  float ratio = image.width() > 0 ? static_cast<float>(image.height()) / static_cast<float>(image.width()) : 0.0f;
  if (ratio > kMaxPrintRatio) ratio = kMaxPrintRatio;
  const int width = static_cast<int>(0.9 * pageWidth);
  const int height = static_cast<int>(static_cast<float>(width) * ratio);
  const int left = static_cast<int>(0.05 * pageWidth);
  const int top = pageHeight / 40;
  return QRect(left, top, width, height);
}

}  // namespace quorin::ui

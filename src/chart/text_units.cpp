// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/text_units.h"

#include "base/gbk.h"
#include "base/utf8.h"

namespace quorin::chart {

UnitRange GbkRangeToUnits(std::string_view text, int byteStart, int byteLength) {
  const int byteEnd = byteStart + byteLength;
  int bytes = 0;
  int units = 0;
  int startUnit = -1;
  int endUnit = -1;
  for (std::size_t pos = 0; pos < text.size();) {
    int width = 0;
    int unitCount = 1;
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
      width = 2;
      pos += 2;
    } else {
      const char32_t cp = base::NextCodePoint(text, pos);
      width = base::GbkByteLength(cp);
      unitCount = cp > 0xFFFF ? 2 : 1;
    }
    if (startUnit < 0 && bytes + width > byteStart) startUnit = units;
    if (endUnit < 0 && bytes >= byteEnd) endUnit = units;
    bytes += width;
    units += unitCount;
  }
  if (startUnit < 0) startUnit = units;
  if (endUnit < 0) endUnit = units;
  return {startUnit, endUnit > startUnit ? endUnit - startUnit : 0};
}

std::string WithPlainLineBreaks(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      plain += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/sheet_contents.h"

#include "chart/header_parts.h"

namespace quorin::chart {

MQuorinDay AttachedCopy(const MQuorinDay& engine, RichTextSink* text, draw::Canvas* image) {
  MQuorinDay copy = engine;
  copy.SetImageBackground(draw::kWhite);
  copy.Attach(text, image);
  for (int line = 0; line < 6; ++line)
    copy.SetChangedLine(line, engine.ChangedLines()[static_cast<std::size_t>(line)] != 0);
  return copy;
}

std::vector<std::string> SheetHeaderLines(const MQuorinDay& engine) {
  MQuorinDay copy = AttachedCopy(engine, nullptr, nullptr);
  const std::array<std::string, 4> picture = copy.ImageHeaderLines();
  std::vector<std::string> lines(picture.begin(), picture.end());
  const std::string persons = OtherPersonsLine(copy.Request().otherPersons, ":", "(", ")", ",");
  if (!persons.empty()) lines.insert(lines.begin() + 1, persons);
  return lines;
}

std::set<std::string> SheetOwnLines(const MQuorinDay& engine) {
  MQuorinDay copy = AttachedCopy(engine, nullptr, nullptr);
  std::set<std::string> lines;
  for (const std::string& line : copy.ImageHeaderLines()) lines.insert(line);
  lines.insert("常用神煞");
  for (const std::string& line : copy.ShenshaLines()) lines.insert(line);
  return lines;
}

SheetPictureRows SheetPictureRowsOf(const ChartImageState& state, int pictureHeight) {
  const int top = state.table.IsSet() ? state.table.top : 0;
  // Below the table only the six-line chart and its line bar, at the right.
  const int bottom = state.sixLineShown || !state.table.IsSet() ? pictureHeight : state.table.bottom + 2;
  return {top, bottom};
}

}  // namespace quorin::chart

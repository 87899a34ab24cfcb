// SPDX-License-Identifier: GPL-3.0-or-later
// The relation paragraphs after the day analysis: the person against the
// mountain, and each of 龙 水 主 山 向 against the four pillars.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "chart/chart_slot.h"

namespace quorin::chart {

// The sections of one position X (label 龙, 水, 主, 山 or 向) paired with each
// pillar, "　　卦气交通：…" to the closing "\r\n\r\n", without a heading.
std::string PositionAgainstPillarsText(const ChartSlot& x, std::string_view label,
                                       const std::array<ChartSlot, 4>& pillars);

// The whole 主命和山家关系 paragraph, heading included.
std::string MasterAgainstMountainText(const ChartSlot& master, const ChartSlot& mountain);
// The same paragraph for any person: "<name>和山家关系：" and, in 伏吟反吟, the person's column label
// before 山 ("伏吟(配山)").
std::string PersonAgainstMountainText(const ChartSlot& person, const ChartSlot& mountain, std::string_view name,
                                      std::string_view label);

// A paragraph with its bold blue heading: the text starts with the heading.
struct HeadedParagraph {
  std::string text;
  std::string heading;
};
// "%s龙和日课的关系：" / "%s水和日课的关系：" / "主命和日课关系：" / "山家和日课关系：" /
// "朝向和日课关系：" followed by "\r\n" and the sections of the position.
HeadedParagraph PositionParagraph(std::string heading, const ChartSlot& x, std::string_view label,
                                  const std::array<ChartSlot, 4>& pillars);

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/position_relations.h"

#include <vector>

#include "chart/relation_sections.h"
#include "chart/relations.h"

namespace quorin::chart {

std::string PositionAgainstPillarsText(const ChartSlot& x, std::string_view label,
                                       const std::array<ChartSlot, 4>& pillars) {
  const LabeledSlot self{label, &x};
  std::vector<LabeledSlot> sources;
  std::vector<LabeledPair> pairs;
  bool sameQi = true;
  bool sameYun = true;
  for (int i = 0; i < 4; ++i) {
    const ChartSlot& p = pillars[static_cast<std::size_t>(i)];
    sources.push_back({PillarLabel(i), &p});
    pairs.push_back({self, sources.back()});
    sameQi = sameQi && p.guaQi == x.guaQi;
    sameYun = sameYun && p.guaYun == x.guaYun;
  }
  return RelationSectionsText(sameQi, sameYun, pairs, sources, self);
}

std::string MasterAgainstMountainText(const ChartSlot& master, const ChartSlot& mountain) {
  return PersonAgainstMountainText(master, mountain, "主命", "主");
}

std::string PersonAgainstMountainText(const ChartSlot& master, const ChartSlot& mountain, std::string_view name,
                                      std::string_view label) {
  auto words = [&](bool useQi) {
    const PairRelationResult r = PairRelation(master, mountain, useQi);
    std::string found;
    if (r.heShu != -1) found.append(SumRelationName(r.heShu)).append("、");
    if (r.heSheng != -1) found.append(GenerationRelationName(r.heSheng)).append("、");
    if (r.xiangTong != -1) found.append("相通、");
    return SectionText(found);
  };
  std::string text = std::string(name) + "和山家关系：\r\n　　卦气交通：";
  text += words(true);
  text += "\r\n　　卦运交通：";
  text += words(false);
  text += "\r\n　　亲缘交通：";
  const FamilyRolePair roles = FamilyRoles(master.gua, mountain.gua);
  if (roles.a > 0 && roles.b > 0) {
    text.append(FamilyRoleName(roles.a)).append("-").append(FamilyRoleName(roles.b));
  } else {
    text += "无";
  }
  text += "\r\n　　七星打劫：";
  text += IsRobbery(master.gua, mountain.gua) ? "存在打劫" : "无";
  text += "\r\n　　伏吟反吟：";
  switch (RepeatRelation(master.gua, mountain.gua)) {
    case 1: text.append("伏吟(").append(label).append("山)"); break;
    case 2: text.append("反吟(").append(label).append("山)"); break;
    default: text += "无"; break;
  }
  text += "\r\n\r\n";
  return text;
}

HeadedParagraph PositionParagraph(std::string heading, const ChartSlot& x, std::string_view label,
                                  const std::array<ChartSlot, 4>& pillars) {
  HeadedParagraph p;
  p.text = heading + "\r\n" + PositionAgainstPillarsText(x, label, pillars);
  p.heading = std::move(heading);
  return p;
}

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/relation_sections.h"

#include "chart/relations.h"

namespace quorin::chart {
namespace {

std::string PairItem(const LabeledPair& p, std::string_view word, std::string_view end) {
  std::string item;
  item.append(p.first.label).append(p.second.label).append(word).append(end);
  return item;
}

// The 合数 and 合生成 lists (and 相通 for 卦运) of the pairs.
std::string NumberLists(const std::vector<LabeledPair>& pairs, bool useQi) {
  FindingList sums("合数(");
  FindingList generation("合生成(");
  FindingList through("相通(");
  for (const auto& p : pairs) {
    const PairRelationResult r = PairRelation(*p.first.slot, *p.second.slot, useQi);
    if (r.heShu != -1) sums.Add(PairItem(p, SumRelationName(r.heShu), "、"));
    if (r.heSheng != -1) generation.Add(PairItem(p, GenerationRelationName(r.heSheng), "、"));
    if (r.xiangTong != -1) through.Add(PairItem(p, "通", "、"));
  }
  return sums.Close() + generation.Close() + through.Close();
}

}  // namespace

void FindingList::Add(std::string_view item) {
  text_.append(item);
  any_ = true;
}

std::string FindingList::Close() const {
  if (!any_) return {};
  std::string closed = text_;
  DropLastCharacter(closed);
  return closed + ")，";
}

void DropLastCharacter(std::string& text) {
  if (text.empty()) return;
  std::size_t end = text.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.erase(end);
}

std::string SectionText(std::string findings) {
  if (findings.empty()) return "无";
  DropLastCharacter(findings);
  return findings;
}

std::string QiSection(bool pure, const std::vector<LabeledPair>& pairs) {
  return SectionText((pure ? std::string("一卦纯清，") : std::string()) + NumberLists(pairs, true));
}

std::string YunSection(bool sameYun, const std::vector<LabeledPair>& pairs) {
  return SectionText((sameYun ? std::string("同运吉格，") : std::string()) + NumberLists(pairs, false));
}

std::string FamilySection(const std::vector<LabeledPair>& pairs) {
  std::string findings;
  for (const auto& p : pairs) {
    const FamilyRolePair roles = FamilyRoles(p.first.slot->gua, p.second.slot->gua);
    if (roles.a > 0 && roles.b > 0) {
      findings.append(p.first.label).append(p.second.label).append("(");
      findings.append(FamilyRoleName(roles.a)).append("-").append(FamilyRoleName(roles.b)).append(")，");
    }
  }
  return SectionText(findings);
}

std::string RobberySection(const std::vector<LabeledPair>& pairs) {
  std::string findings;
  for (const auto& p : pairs) {
    if (IsRobbery(p.first.slot->gua, p.second.slot->gua)) findings += PairItem(p, "打劫", "，");
  }
  return SectionText(findings);
}

std::string AdvanceRetreatSection(const std::vector<LabeledSlot>& sources, const LabeledSlot& target) {
  FindingList advance("进神(");
  FindingList retreat("退神(");
  for (const auto& s : sources) {
    const int r = ElementRelation(s.slot->guaQi, target.slot->guaQi);
    if (r == 0) continue;
    std::string item;
    item.append(s.label).append(ElementRelationName(r)).append(target.label).append("、");
    (r >= 3 ? advance : retreat).Add(item);
  }
  return SectionText(advance.Close() + retreat.Close());
}

std::string RepeatSection(const std::vector<LabeledPair>& pairs) {
  FindingList same("伏吟(");
  FindingList opposite("反吟(");
  for (const auto& p : pairs) {
    const int r = RepeatRelation(p.first.slot->gua, p.second.slot->gua);
    if (r == 1) same.Add(PairItem(p, "", "、"));
    if (r == 2) opposite.Add(PairItem(p, "", "、"));
  }
  return SectionText(same.Close() + opposite.Close());
}

std::string RelationSectionsText(bool pure, bool sameYun, const std::vector<LabeledPair>& pairs,
                                 const std::vector<LabeledSlot>& sources, const LabeledSlot& target) {
  std::string text = "　　卦气交通：";
  text += QiSection(pure, pairs);
  text += "\r\n　　卦运交通：";
  text += YunSection(sameYun, pairs);
  text += "\r\n　　亲缘交通：";
  text += FamilySection(pairs);
  text += "\r\n　　七星打劫：";
  text += RobberySection(pairs);
  text += "\r\n　　生克进退：";
  text += AdvanceRetreatSection(sources, target);
  text += "\r\n　　伏吟反吟：";
  text += RepeatSection(pairs);
  text += "\r\n\r\n";
  return text;
}

}  // namespace quorin::chart

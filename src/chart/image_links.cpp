// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/image_links.h"

#include "chart/relations.h"

namespace quorin::chart {
namespace {

constexpr const char* kSumTexts[] = {"合5", "合10", "合15"};

// 合数 and 合生成 of one comparison, each followed by "-".
std::string NumberParts(const PairRelationResult& r) {
  std::string text;
  if (r.heShu >= 0) text += std::string(kSumTexts[r.heShu]) + "-";
  if (r.heSheng >= 0) text += std::string(GenerationRelationName(r.heSheng)) + "-";
  return text;
}

void DropLastDash(std::string& text) {
  if (!text.empty() && text.back() == '-') text.pop_back();
}

}  // namespace

LinkTexts ImageLinkTexts(const ChartSlot& selected, const ChartSlot& other) {
  LinkTexts t;
  t.qi = NumberParts(PairRelation(selected, other, true));
  if (BranchesClash(selected.jiazi, other.jiazi)) t.qi += "相冲-";
  DropLastDash(t.qi);

  const PairRelationResult yun = PairRelation(selected, other, false);
  t.yun = NumberParts(yun);
  if (yun.xiangTong >= 0) t.yun += "相通-";
  switch (RepeatRelation(selected.gua, other.gua)) {
    case 1: t.yun += "伏吟-"; break;
    case 2: t.yun += "反吟-"; break;
    default: break;
  }
  DropLastDash(t.yun);
  return t;
}

std::pair<std::string, std::string> SplitAtFirstDash(std::string_view text) {
  const auto dash = text.find('-');
  if (dash == std::string_view::npos) return {std::string(text), ""};
  return {std::string(text.substr(0, dash)), std::string(text.substr(dash + 1))};
}

}  // namespace quorin::chart

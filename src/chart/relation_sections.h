// SPDX-License-Identifier: GPL-3.0-or-later
// The labelled sections (卦气交通 … 伏吟反吟) that the day analysis and the
// relation paragraphs build from pairs of chart positions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_slot.h"

namespace quorin::chart {

// A list such as "合数(年月合十、年日合五)，": the opening text, the items, and the
// closing ")，" in place of the last item's "、"; empty when no item was added.
class FindingList {
 public:
  explicit FindingList(std::string_view opening) : text_(opening) {}
  void Add(std::string_view item);
  std::string Close() const;

 private:
  std::string text_;
  bool any_ = false;
};

// "无" when a section found nothing, otherwise its findings without the trailing "，".
std::string SectionText(std::string findings);
// Removes the last character (not byte) of a UTF-8 text.
void DropLastCharacter(std::string& text);

struct LabeledSlot {
  std::string_view label;
  const ChartSlot* slot;
};
struct LabeledPair {
  LabeledSlot first;
  LabeledSlot second;
};

// 卦气交通: "一卦纯清，" when `pure`, then the 合数 and 合生成 lists of the 卦气 numbers.
std::string QiSection(bool pure, const std::vector<LabeledPair>& pairs);
// 卦运交通: "同运吉格，" when `sameYun`, then 合数, 合生成 and 相通 of the 卦运 numbers.
std::string YunSection(bool sameYun, const std::vector<LabeledPair>& pairs);
// 亲缘交通: "年日(父-子)，" for every pair with both family roles.
std::string FamilySection(const std::vector<LabeledPair>& pairs);
// 七星打劫: "年月打劫，" for every robbing pair.
std::string RobberySection(const std::vector<LabeledPair>& pairs);
// 生克进退: each source's 卦气 element against the target's: "年生日、" into 进神
// (克 and 生), "月泄日、" into 退神 (泄 and 耗); 比 is not reported.
std::string AdvanceRetreatSection(const std::vector<LabeledSlot>& sources, const LabeledSlot& target);
// 伏吟反吟: "年月、" into 伏吟 for the same hexagram, into 反吟 for opposite ones.
std::string RepeatSection(const std::vector<LabeledPair>& pairs);

// The six sections in order, from "　　卦气交通：" to the closing "\r\n\r\n": the pairs
// for the number, family, robbery and repeat sections, the sources and target for
// 生克进退; `pure` and `sameYun` as for QiSection and YunSection.
std::string RelationSectionsText(bool pure, bool sameYun, const std::vector<LabeledPair>& pairs,
                                 const std::vector<LabeledSlot>& sources, const LabeledSlot& target);

}  // namespace quorin::chart

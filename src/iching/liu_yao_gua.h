// SPDX-License-Identifier: GPL-3.0-or-later
// The six-line (纳甲) chart of one hexagram: palace and generation, 世 and 应, the
// stem, branch and kinship of every line, hidden spirits, six spirits and the void
// branches of the day. The chart image draws it; the day chart uses ChangedGua to
// follow line flips of the mountain hexagram.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_types.h"
#include "draw/canvas.h"

namespace quorin::iching {

// Stems and branches use the sixty-cycle numbering: stem 0 = 癸, 1 = 甲 … 9 = 壬;
// branch 0 = 亥, 1 = 子 … 11 = 戌. Elements: 0 水, 1 木, 2 火, 3 土, 4 金.
struct YaoLine {
  int stem = 0;
  int branch = 0;
  int kinship = 0;  // 0 兄弟, 1 子孙, 2 妻财, 3 官鬼, 4 父母
};

// A kinship missing from the hexagram, borrowed from the palace's pure hexagram.
struct HiddenSpirit {
  int lineFromTop = 1;  // 1..6
  int stem = 0;
  int branch = 0;
  int kinship = 0;
};

struct GuaClassification {
  int palace = 0;      // trigram index of the palace, 0..7
  int generation = 1;  // 1 本宫 … 6 五世, 7 游魂, 8 归魂
  int shiLine = 0;     // 世, 0..5 from the bottom
  int yingLine = 0;    // 应, 0..5 from the bottom
};

class MLiuYaoGua {
 public:
  MLiuYaoGua();

  // Lays out the chart of a hexagram for the given pillars (the day pillar sets
  // the six spirits and the void branches).
  void Compute(int gua, const calendar::FourPillars& pillars);
  // Computes the chart of a hexagram and draws it into an area of the picture: eight
  // rows between `top` and `bottom`, every text starting at `left` (the area's width
  // is the caller's concern: the chart needs about 21 characters of 12 points).
  // Leaves the brush as `background`.
  void DrawChart(draw::Canvas& image, int left, int top, int width, int bottom, int gua,
                 const calendar::FourPillars& pillars, draw::Color background = draw::kWhite);
  // The texts DrawChart writes: the pillars, the title, then per line from the top
  // the text before its figure and the text after it.
  std::array<std::string, 2> TitleRows() const;
  std::string TextBeforeFigure(int lineFromTop) const;
  std::string TextAfterFigure(int lineFromTop) const;

  // The hexagram reached by flipping every line whose flag is 1 (flags[0] = bottom line).
  int ChangedGua(int gua, const std::array<std::uint8_t, 6>& flags);

  // Six characters, top line first: '1' yang, '2' yin.
  std::string GuaCode(int gua) const;
  // Palace, generation, 世 and 应 of a code ('3' and '4', moving lines, read as
  // '1' and '2'); nullopt for a text that is not a hexagram code.
  std::optional<GuaClassification> Classify(std::string_view code) const;
  // Code of a trigram, top line first (乾 "111", 兑 "211" … 坤 "222").
  const std::string& TrigramCode(int trigram) const { return trigramCodes_.at(static_cast<std::size_t>(trigram)); }

  // Results of the last Compute.
  int Gua() const { return gua_; }
  const std::string& Code() const { return code_; }
  const calendar::FourPillars& Pillars() const { return pillars_; }
  const GuaClassification& Classification() const { return classification_; }
  int PalaceElement() const { return palaceElement_; }
  // Lines from the bottom (index 0) to the top.
  const std::array<YaoLine, 6>& Lines() const { return lines_; }
  const std::vector<HiddenSpirit>& HiddenSpirits() const { return hidden_; }
  // Six-spirit index (see SpiritName) of a line counted 0..5 from the bottom.
  int SpiritOfLine(int lineFromBottom) const;
  // The two void branches (空亡) of the day.
  std::array<int, 2> VoidBranches() const;
  // Stems are shown in the chart (always set by Compute).
  bool StemsShown() const { return stemsShown_; }

  static std::string_view KinshipName(int kinship);  // 兄弟 子孙 妻财 官鬼 父母
  static std::string_view SpiritName(int spirit);    // 玄武 青龙 朱雀 勾陈 螣蛇 白虎
  static std::string_view ElementName(int element);  // 水 木 火 土 金
  static int BranchElement(int branch);
  static int TrigramPalaceElement(int trigram);

 private:
  int KinshipOf(int branch) const;

  std::array<std::string, 8> trigramCodes_;
  calendar::FourPillars pillars_{};
  int gua_ = 0;
  std::string code_;
  GuaClassification classification_{};
  int palaceElement_ = 4;
  std::array<YaoLine, 6> lines_{};
  std::vector<HiddenSpirit> hidden_;
  bool stemsShown_ = true;
};

}  // namespace quorin::iching

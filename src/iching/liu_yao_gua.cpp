// SPDX-License-Identifier: GPL-3.0-or-later
#include "iching/liu_yao_gua.h"

#include <array>

#include "iching/hexagrams.h"

namespace quorin::iching {
namespace {

// Per trigram: palace element, stem and branches (bottom to top) as the inner
// (lower) trigram, then as the outer (upper) one.
struct TrigramRow {
  int element;
  int innerStem;
  std::array<int, 3> innerBranches;
  int outerStem;
  std::array<int, 3> outerBranches;
};
constexpr std::array<TrigramRow, 8> kTrigramRows{{
    {4, 1, {1, 3, 5}, 9, {7, 9, 11}},   // 乾 甲 子寅辰 壬 午申戌
    {4, 4, {6, 4, 2}, 4, {0, 10, 8}},   // 兑 丁 巳卯丑 丁 亥酉未
    {2, 6, {4, 2, 0}, 6, {10, 8, 6}},   // 离 己 卯丑亥 己 酉未巳
    {1, 7, {1, 3, 5}, 7, {7, 9, 11}},   // 震 庚 子寅辰 庚 午申戌
    {1, 8, {2, 0, 10}, 8, {8, 6, 4}},   // 巽 辛 丑亥酉 辛 未巳卯
    {0, 5, {3, 5, 7}, 5, {9, 11, 1}},   // 坎 戊 寅辰午 戊 申戌子
    {3, 3, {5, 7, 9}, 3, {11, 1, 3}},   // 艮 丙 辰午申 丙 戌子寅
    {3, 2, {8, 6, 4}, 0, {2, 0, 10}},   // 坤 乙 未巳卯 癸 丑亥酉
}};

// By branch 亥 子 丑 寅 卯 辰 巳 午 未 申 酉 戌.
constexpr std::array<int, 12> kBranchElements{0, 0, 3, 1, 1, 3, 2, 2, 3, 4, 4, 3};
// 世 line (from the bottom, 0-based) by generation 1..8.
constexpr std::array<int, 9> kShiLine{0, 5, 0, 1, 2, 3, 4, 3, 2};

constexpr std::array<std::string_view, 5> kKinshipNames{"兄弟", "子孙", "妻财", "官鬼", "父母"};
constexpr std::array<std::string_view, 6> kSpiritNames{"玄武", "青龙", "朱雀", "勾陈", "螣蛇", "白虎"};
constexpr std::array<std::string_view, 5> kElementNames{"水", "木", "火", "土", "金"};

// Index in the code string of line n (1..6) counted from the bottom.
constexpr std::size_t CodeIndexOfLine(int n) { return static_cast<std::size_t>(6 - n); }

void Flip(std::string& code, int lineFromBottom) {
  char& c = code[CodeIndexOfLine(lineFromBottom)];
  c = c == '1' ? '2' : '1';
}

}  // namespace

MLiuYaoGua::MLiuYaoGua() {
  for (int j = 0; j < 8; ++j) {
    std::string code(3, '2');
    for (int k = 0; k < 3; ++k) {
      if ((7 - j) & (1 << k)) code[static_cast<std::size_t>(k)] = '1';
    }
    trigramCodes_[static_cast<std::size_t>(j)] = code;
  }
}

std::string MLiuYaoGua::GuaCode(int gua) const {
  const std::string_view name = HexagramName(gua);
  // Each Chinese character is three bytes of UTF-8.
  std::string_view upper = name.substr(0, 3);
  std::string_view lower = name.substr(3, 3);
  if (gua % 8 == 0) upper = lower = name.substr(name.size() - 3);
  return TrigramCode(TrigramOfImage(upper)) + TrigramCode(TrigramOfImage(lower));
}

std::optional<GuaClassification> MLiuYaoGua::Classify(std::string_view raw) const {
  if (raw.size() != 6) return std::nullopt;
  std::string code(raw);
  for (char& c : code) {
    if (c == '3') c = '1';
    else if (c == '4') c = '2';
    else if (c != '1' && c != '2') return std::nullopt;
  }
  int k = -1;
  for (int j = 0; j < 8; ++j) {
    if (code.compare(0, 3, TrigramCode(j)) == 0) k = j;
  }
  for (int step = 0; step < 4; ++step) {
    const int palace = (k + 2 * step) % 8;
    const std::string& pure = TrigramCode(palace);
    std::string probe = pure + pure;
    int generation = 0;
    auto matches = [&](int g) {
      if (probe == code) generation = g;
      return generation != 0;
    };
    if (!matches(1)) {
      for (int line = 1; line <= 5 && generation == 0; ++line) {
        Flip(probe, line);
        matches(line + 1);
      }
    }
    if (generation == 0) {
      Flip(probe, 4);
      if (!matches(7)) {
        probe.replace(3, 3, pure);
        matches(8);
      }
    }
    if (generation != 0) {
      GuaClassification result;
      result.palace = palace;
      result.generation = generation;
      result.shiLine = kShiLine[static_cast<std::size_t>(generation)];
      result.yingLine = (result.shiLine + 3) % 6;
      return result;
    }
  }
  return std::nullopt;  // unreachable for a six-line code: every one lies in some palace
}

int MLiuYaoGua::KinshipOf(int branch) const { return (BranchElement(branch) - palaceElement_ + 5) % 5; }

void MLiuYaoGua::Compute(int gua, const calendar::FourPillars& pillars) {
  pillars_ = pillars;
  gua_ = gua;
  stemsShown_ = true;
  code_ = GuaCode(gua);
  classification_ = *Classify(code_);
  palaceElement_ = TrigramPalaceElement(classification_.palace);

  int upper = 0, lower = 0;
  for (int j = 0; j < 8; ++j) {
    if (code_.compare(0, 3, TrigramCode(j)) == 0) upper = j;
    if (code_.compare(3, 3, TrigramCode(j)) == 0) lower = j;
  }
  const TrigramRow& inner = kTrigramRows[static_cast<std::size_t>(lower)];
  const TrigramRow& outer = kTrigramRows[static_cast<std::size_t>(upper)];
  for (std::size_t i = 0; i < 3; ++i) {
    lines_[i] = {inner.innerStem, inner.innerBranches[i], KinshipOf(inner.innerBranches[i])};
    lines_[i + 3] = {outer.outerStem, outer.outerBranches[i], KinshipOf(outer.outerBranches[i])};
  }

  hidden_.clear();
  const int palace = classification_.palace;
  const TrigramRow& home = kTrigramRows[static_cast<std::size_t>(palace)];
  for (int kinship = 0; kinship < 5; ++kinship) {
    bool carried = false;
    for (const auto& line : lines_) carried = carried || line.kinship == kinship;
    if (carried) continue;
    for (int i = 0; i < 6 && hidden_.size() < 2; ++i) {
      const auto index = static_cast<std::size_t>(i % 3);
      const int branch = i < 3 ? home.innerBranches[index] : home.outerBranches[index];
      if (KinshipOf(branch) != kinship) continue;
      const int lineFromTop = 6 - i;
      // 乾 and 坤 carry another stem on their inner trigram (lines 4..6 from the top).
      const bool innerOfQianKun = (palace == 0 || palace == 7) && lineFromTop >= 4;
      hidden_.push_back({lineFromTop, innerOfQianKun ? home.innerStem : home.outerStem, branch, kinship});
    }
  }
}

int MLiuYaoGua::ChangedGua(int gua, const std::array<std::uint8_t, 6>& flags) {
  pillars_ = {};
  std::string code = GuaCode(gua);
  for (int i = 0; i < 6; ++i) {
    if (flags[static_cast<std::size_t>(i)] == 1) Flip(code, i + 1);
  }
  const GuaClassification c = *Classify(code);
  return c.palace * 8 + c.generation - 1;
}

int MLiuYaoGua::SpiritOfLine(int lineFromBottom) const {
  // The top line takes s (甲乙 0 … 壬癸 5), each lower line the one before it.
  static constexpr std::array<int, 10> kTopSpirit{5, 0, 0, 1, 1, 2, 3, 4, 4, 5};  // by stem 癸 甲 … 壬
  const int stem = pillars_.day % 10;
  const int top = kTopSpirit[static_cast<std::size_t>(stem)];
  return (top + 1 + lineFromBottom) % 6;
}

std::array<int, 2> MLiuYaoGua::VoidBranches() const {
  // Each 旬 of ten days from a 甲 day leaves two branches void: 戌 (11) and 亥 for 甲子 … 癸酉, and
  // two branches earlier for each later 旬.
  const int pillar = pillars_.day == 0 ? 60 : pillars_.day;
  const int xun = (pillar - 1) / 10;  // 0 for the 旬 of 甲子
  const int firstVoid = 11 - 2 * xun;
  return {firstVoid % 12, (firstVoid + 1) % 12};
}

std::string_view MLiuYaoGua::KinshipName(int kinship) { return kKinshipNames.at(static_cast<std::size_t>(kinship)); }
std::string_view MLiuYaoGua::SpiritName(int spirit) { return kSpiritNames.at(static_cast<std::size_t>(spirit)); }
std::string_view MLiuYaoGua::ElementName(int element) { return kElementNames.at(static_cast<std::size_t>(element)); }
int MLiuYaoGua::BranchElement(int branch) { return kBranchElements.at(static_cast<std::size_t>(branch)); }
int MLiuYaoGua::TrigramPalaceElement(int trigram) {
  return kTrigramRows.at(static_cast<std::size_t>(trigram)).element;
}

}  // namespace quorin::iching

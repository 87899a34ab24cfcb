// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/shensha.h"

#include "chart/domain_tables.h"

namespace quorin::chart {
namespace {

using calendar::Branch;

std::string_view BranchName(int branch) { return Branch(branch).Name(); }

// 山家三煞 by mountain: 亥壬子癸丑 寅午戌, 寅甲卯乙辰 巳酉丑, 巳丙午丁未 申子辰,
// 申庚酉辛戌 亥卯未; the four corner mountains 艮巽坤乾 have none.
std::array<int, 3> MountainKillings(MountainIndex m) {
  if (m == 23 || (m >= 0 && m <= 3)) return {3, 7, 11};
  if (m >= 5 && m <= 9) return {6, 10, 2};
  if (m >= 11 && m <= 15) return {9, 1, 5};
  if (m >= 17 && m <= 21) return {0, 4, 8};
  return {-1, -1, -1};
}

std::string Join3(const std::array<int, 3>& branches) {
  std::string text;
  text.append(BranchName(branches[0])).append("、").append(BranchName(branches[1]));
  text.append("、").append(BranchName(branches[2]));
  return text;
}

}  // namespace

AvoidInfo ComputeAvoidInfo(MountainIndex mountain, const ChartSlot& master, const ChartSlot& mountainSlot) {
  AvoidInfo avoid{};
  avoid[kAvoidClashMountain] = -1;
  // Only the twelve branch mountains have a branch to clash with.
  for (int b = 0; b < calendar::kBranchCount; ++b) {
    if (BranchName(b) == MountainName(mountain)) avoid[kAvoidClashMountain] = Branch(b).Clash().Number();
  }
  const auto killings = MountainKillings(mountain);
  for (std::size_t i = 0; i < 3; ++i) avoid[kAvoidMountainKillings + i] = killings[i];
  avoid[kAvoidClashMaster] = Branch(BranchOf(master.jiazi)).Clash().Number();
  avoid[kAvoidMountainGua] = mountainSlot.gua;
  avoid[kAvoidFacingGua] = OppositeGua(mountainSlot.gua);
  return avoid;
}

std::array<int, 3> ThreeKillings(int branch) {
  // The 三合 groups 亥卯未, 子辰申, 丑巳酉, 寅午戌 are the branches of equal index mod 4.
  switch (branch % 4) {
    case 0: return {6, 10, 2};  // 巳 酉 丑
    case 1: return {3, 7, 11};  // 寅 午 戌
    case 2: return {0, 4, 8};   // 亥 卯 未
    default: return {9, 1, 5};  // 申 子 辰
  }
}

std::array<std::string, 5> ShenshaLines(const AvoidInfo& avoid, int yearPillar, int monthPillar) {
  std::array<std::string, 5> lines;
  std::string& first = lines[0];
  first = "1:冲山-";
  if (avoid[kAvoidClashMountain] >= 0) {
    first.append(BranchName(avoid[kAvoidClashMountain])).append("。");
  } else {
    first += "无。";
  }
  first += "山家三煞-";
  if (avoid[kAvoidMountainKillings] >= 0) {
    first += Join3({avoid[1], avoid[2], avoid[3]}) + "。";
  } else {
    first += "无。";
  }
  const Branch year = calendar::Jiazi(yearPillar).BranchPart();
  const Branch month = calendar::Jiazi(monthPillar).BranchPart();
  lines[1] = "2:太岁-" + std::string(year.Name()) + "，岁破-" + std::string(year.Clash().Name()) + "。";
  lines[2] = "3:月破-" + std::string(month.Clash().Name()) + "。";
  lines[3] = "4:年三煞-" + Join3(ThreeKillings(year.Number())) + "方。";
  lines[4] = "5:月三煞-" + Join3(ThreeKillings(month.Number())) + "方。";
  return lines;
}

std::string ShenshaText(const std::array<std::string, 5>& lines) {
  std::string text = "常用神煞：\r\n";
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quorin::chart

#include "chart/shensha.h"

#include "chart/domain_tables.h"

namespace quorin::chart {
namespace {

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
  for (Branch b = 0; b < 12; ++b) {
    if (BranchName(b) == MountainName(mountain)) avoid[kAvoidClashMountain] = (b + 6) % 12;
  }
  const auto killings = MountainKillings(mountain);
  for (std::size_t i = 0; i < 3; ++i) avoid[kAvoidMountainKillings + i] = killings[i];
  avoid[kAvoidClashMaster] = (BranchOf(master.jiazi) + 6) % 12;
  avoid[kAvoidMountainGua] = mountainSlot.gua;
  avoid[kAvoidFacingGua] = OppositeGua(mountainSlot.gua);
  return avoid;
}

std::array<Branch, 3> ThreeKillings(Branch branch) {
  // The 三合 groups 亥卯未, 子辰申, 丑巳酉, 寅午戌 are the branches of equal index mod 4.
  switch (branch % 4) {
    case 0: return {6, 10, 2};  // 巳 酉 丑
    case 1: return {3, 7, 11};  // 寅 午 戌
    case 2: return {0, 4, 8};   // 亥 卯 未
    default: return {9, 1, 5};  // 申 子 辰
  }
}

std::array<std::string, 5> ShenshaLines(const AvoidInfo& avoid, Jiazi yearPillar, Jiazi monthPillar) {
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
  const Branch year = BranchOf(yearPillar);
  const Branch month = BranchOf(monthPillar);
  lines[1] = "2:太岁-" + std::string(BranchName(year)) + "，岁破-" + std::string(BranchName((year + 6) % 12)) + "。";
  lines[2] = "3:月破-" + std::string(BranchName((month + 6) % 12)) + "。";
  lines[3] = "4:年三煞-" + Join3(ThreeKillings(year)) + "方。";
  lines[4] = "5:月三煞-" + Join3(ThreeKillings(month)) + "方。";
  return lines;
}

std::string ShenshaText(const std::array<std::string, 5>& lines) {
  std::string text = "常用神煞：\r\n";
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quorin::chart

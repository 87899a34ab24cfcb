// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed tables of the day chart: the pillars' hexagrams, the sixty-four hexagrams
// with their 玄空 numbers, the twenty-four mountains, and the word tables.
// Pillars, stems and branches are numbered as in calendar/sexagenary.h (1 = 甲子, 0 = 癸亥).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "calendar/sexagenary.h"

namespace quorin::chart {

using GuaIndex = int;       // 0..63 in eight-palace order, 0 = 乾为天
using MountainIndex = int;  // 0..23 from 壬, 1 = 子 … 23 = 亥

inline constexpr int kGuaCount = 64;
inline constexpr int kMountainCount = 24;
inline constexpr int kMountainColumns = 4;
inline constexpr int kFamilyCount = 8;
inline constexpr int kFamilySize = 14;

// The numbers the method attaches to a hexagram.
struct GuaInfo {
  std::uint8_t jiazi;      // the pillar it stands for on the sixty-pillar ring
  std::uint8_t guaQi;      // 卦气: number of the upper trigram
  std::uint8_t lowerNum;   // number of the lower trigram
  std::uint8_t guaYun;     // 卦运
  std::uint8_t palaceNum;  // number of the palace trigram
  std::uint8_t yuanChen;   // 元辰: pillar of the palace's 世 line
};

const GuaInfo& GuaInfoOf(GuaIndex gua);
std::string_view GuaName(GuaIndex gua);       // full name, e.g. 天风姤
std::string_view GuaShortName(GuaIndex gua);  // name in charts, e.g. 姤
// The hexagram turned upside down (综卦), -1 for the eight that are their own.
GuaIndex InvertedGua(GuaIndex gua);
int CirclePosition(GuaIndex gua);
GuaIndex GuaAtCirclePosition(int position);
// The trigram (palace order 乾 兑 离 震 巽 坎 艮 坤) of a 卦气 or lowerNum number.
int TrigramOfNumber(int number);

// The branch number of a pillar number, as the tables store pillars.
inline constexpr int BranchOf(int pillar) { return calendar::Jiazi(pillar).BranchPart().Number(); }
// True when the branches of two pillar numbers clash (stand six apart).
inline constexpr bool BranchesClash(int pillar, int other) {
  return calendar::Jiazi(pillar).BranchPart().Clash() == calendar::Jiazi(other).BranchPart();
}

// Hexagram in a mountain's column 0..3, -1 for an empty column and for a mountain
// or column out of range.
GuaIndex GuaForMountain(MountainIndex mountain, int column);
// Hexagram of a pillar; `alternate` picks 复, 革, 姤, 蒙 instead of the pure
// hexagram for the four pillars two hexagrams share (甲子, 庚寅, 甲午, 庚申).
GuaIndex GuaForJiazi(int pillar, bool alternate);
// The hexagram across the circle: every line inverted.
GuaIndex OppositeGua(GuaIndex gua);
// Member `column` (0 父, 1 母, 2..7 子, 8..13 女) of family 0..7 (一家骨肉).
GuaIndex FamilyMember(int family, int column);

// Name tables. Numbers of the mod-9 tables may be any positive value.
std::string_view MountainName(MountainIndex m);
std::string_view ElementName(int element);       // 0 水, 1 木, 2 火, 3 土, 4 金
std::string_view WeekdayName(int weekday);       // 0 日, 1 一 … 6 六
std::string_view TrigramName(int trigram);       // 乾 兑 离 震 巽 坎 艮 坤
std::string_view PositionLabel(int position);    // 龙 水 主 山 向 年 月 日 时
std::string_view PillarLabel(int pillar);        // 年 月 日 时
std::string_view NinePalaceName(int number);     // by number mod 9: 离 坎 坤 震 巽 中 乾 兑 艮
std::string_view NumeralName(int number);        // by number mod 9: 九 一 … 八
std::string_view FullWidthDigit(int number);     // by number mod 9: ９ １ … ８
int RiverChartElement(int number);               // element of a number by mod 9
std::string_view SumRelationName(int kind);      // 合五 合十 合十五
std::string_view GenerationRelationName(int kind);  // 共宗 为朋 同道 归中 为友
std::string_view FamilyRoleName(int role);       // "" 父 母 子 女
std::string_view ElementRelationName(int kind);  // 比 泄 耗 克 生

}  // namespace quorin::chart

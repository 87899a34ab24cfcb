// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/domain_tables.h"

#include "iching/hexagrams.h"

namespace quorin::chart {
namespace {

// jiazi, guaQi, lowerNum, guaYun, palaceNum, yuanChen, by GuaIndex.
constexpr std::array<GuaInfo, kGuaCount> kGuaInfo{{
    {31, 9, 9, 1, 6, 59}, {31, 9, 2, 8, 6, 1},   {22, 9, 6, 4, 6, 51}, {47, 9, 1, 9, 6, 41},  // 乾 姤 遁 否
    {36, 2, 1, 2, 6, 19}, {0, 6, 1, 6, 6, 9},    {12, 3, 1, 3, 6, 19}, {18, 3, 9, 7, 6, 41},  // 观 剥 晋 大有
    {53, 4, 4, 1, 7, 44}, {20, 4, 7, 8, 7, 54},  {59, 4, 1, 4, 7, 4},  {34, 4, 6, 9, 7, 14},  // 兑 困 萃 咸
    {11, 7, 6, 2, 7, 24}, {35, 1, 6, 6, 7, 34},  {58, 8, 6, 3, 7, 24}, {40, 8, 4, 7, 7, 14},  // 蹇 谦 小过 归妹
    {27, 3, 3, 1, 9, 6},  {46, 3, 6, 8, 9, 16},  {55, 3, 2, 4, 9, 26}, {21, 3, 7, 9, 9, 36},  // 离 旅 鼎 未济
    {57, 6, 7, 2, 9, 46}, {45, 2, 7, 6, 9, 56},  {8, 9, 7, 3, 9, 46},  {39, 9, 3, 7, 9, 36},  // 蒙 涣 讼 同人
    {49, 8, 8, 1, 3, 47}, {24, 8, 1, 8, 3, 37},  {33, 8, 7, 4, 3, 27}, {7, 8, 2, 9, 3, 17},   // 震 豫 解 恒
    {56, 1, 2, 2, 3, 7},  {32, 7, 2, 6, 3, 57},  {43, 4, 2, 3, 3, 7},  {14, 4, 8, 7, 3, 17},  // 升 井 大过 随
    {19, 2, 2, 1, 4, 28}, {54, 2, 9, 8, 4, 38},  {3, 2, 3, 4, 4, 48},  {37, 2, 8, 9, 4, 58},  // 巽 小畜 家人 益
    {26, 9, 8, 2, 4, 8},  {2, 3, 8, 6, 4, 18},   {13, 6, 8, 3, 4, 8},  {44, 6, 2, 7, 4, 58},  // 无妄 噬嗑 颐 蛊
    {57, 7, 7, 1, 1, 25}, {16, 7, 4, 8, 1, 15},  {25, 7, 8, 4, 1, 5},  {51, 7, 3, 9, 1, 55},  // 坎 节 屯 既济
    {27, 4, 3, 2, 1, 45}, {15, 8, 3, 6, 1, 35},  {38, 1, 3, 3, 1, 45}, {9, 1, 7, 7, 1, 55},   // 革 丰 明夷 师
    {23, 6, 6, 1, 8, 3},  {50, 6, 3, 8, 8, 53},  {29, 6, 9, 4, 8, 43}, {4, 6, 4, 9, 8, 33},   // 艮 贲 大畜 损
    {41, 3, 4, 2, 8, 23}, {5, 9, 4, 6, 8, 13},   {28, 2, 4, 3, 8, 23}, {10, 2, 6, 7, 8, 33},  // 睽 履 中孚 渐
    {1, 1, 1, 1, 2, 10},  {1, 1, 8, 8, 2, 32},   {52, 1, 4, 4, 2, 42}, {17, 1, 9, 9, 2, 52},  // 坤 复 临 泰
    {6, 8, 9, 2, 2, 50},  {30, 4, 9, 6, 2, 0},   {42, 7, 9, 3, 2, 50}, {48, 7, 1, 7, 2, 52},  // 大壮 夬 需 比
}};

constexpr std::array<int, kGuaCount> kInverted{
    -1, 61, 60, 59, 58, 57, 46, 23, 32, 29, 28, 27, 26, 25, -1, 55,  //
    -1, 45, 44, 43, 42, 41, 62, 7,  48, 13, 12, 11, 10, 9,  -1, 39,  //
    8,  53, 52, 51, 50, 49, -1, 31, -1, 21, 20, 19, 18, 17, 6,  63,  //
    24, 37, 36, 35, 34, 33, -1, 15, -1, 5,  4,  3,  2,  1,  22, 47};

// GuaIndex at each circle position 0..63 (复 颐 屯 … 剥 坤).
constexpr std::array<int, kGuaCount> kCircle{
    57, 38, 42, 35, 24, 37, 31, 36, 46, 49, 43, 34, 45, 16, 44, 23,  //
    58, 51, 41, 54, 15, 52, 8,  53, 59, 50, 62, 33, 60, 7,  61, 0,   //
    1,  30, 18, 27, 32, 29, 39, 28, 22, 9,  19, 26, 21, 40, 20, 47,  //
    2,  11, 17, 14, 55, 12, 48, 13, 3,  10, 6,  25, 4,  63, 5,  56};

constexpr std::array<int, kGuaCount> kCirclePosition{
    31, 32, 48, 56, 60, 62, 58, 29, 22, 41, 57, 49, 53, 55, 51, 20,  //
    13, 50, 34, 42, 46, 44, 40, 15, 4,  59, 43, 35, 39, 37, 33, 6,   //
    36, 27, 11, 3,  7,  5,  1,  38, 45, 18, 2,  10, 14, 12, 8,  47,  //
    54, 9,  25, 17, 21, 23, 19, 52, 63, 0,  16, 24, 28, 30, 26, 61};

// Every hexagram whose circle arc overlaps the mountain's 15°, in compass order.
constexpr std::array<std::array<int, kMountainColumns>, kMountainCount> kMountainGua{{
    {4, 63, 5, -1},    // 壬
    {5, 56, 57, 38},   // 子
    {38, 42, 35, -1},  // 癸
    {24, 37, 31, -1},  // 丑
    {31, 36, 46, 49},  // 艮
    {49, 43, 34, -1},  // 寅
    {45, 16, 44, -1},  // 甲
    {44, 23, 58, 51},  // 卯
    {51, 41, 54, -1},  // 乙
    {15, 52, 8, -1},   // 辰
    {8, 53, 59, 50},   // 巽
    {50, 62, 33, -1},  // 巳
    {60, 7, 61, -1},   // 丙
    {61, 0, 1, 30},    // 午
    {30, 18, 27, -1},  // 丁
    {32, 29, 39, -1},  // 未
    {39, 28, 22, 9},   // 坤
    {9, 19, 26, -1},   // 申
    {21, 40, 20, -1},  // 庚
    {20, 47, 2, 11},   // 酉
    {11, 17, 14, -1},  // 辛
    {55, 12, 48, -1},  // 戌
    {48, 13, 3, 10},   // 乾
    {10, 6, 25, -1},   // 亥
}};

// Hexagram of each pillar; the four shared pillars hold the pure hexagram.
constexpr std::array<int, 60> kJiaziGua{
    5,  56, 37, 34, 51, 53, 60, 27, 22, 47, 55, 12, 6,  38, 31, 45, 41, 59, 7,  32,  //
    9,  19, 2,  48, 25, 42, 36, 16, 54, 50, 61, 0,  29, 26, 11, 13, 4,  35, 46, 23,  //
    15, 52, 62, 30, 39, 21, 17, 3,  63, 24, 49, 43, 58, 8,  33, 18, 28, 40, 14, 10};

// 父, 母, six sons, six daughters. Family 6 keeps 临 as its second son: that is
// the table as handed down, not a derivation (which would give 中孚).
constexpr std::array<std::array<int, kFamilySize>, kFamilyCount> kFamilies{{
    {0, 56, 57, 47, 13, 25, 63, 5, 1, 23, 53, 33, 7, 61},      // 乾 坤
    {40, 16, 17, 7, 37, 49, 23, 45, 41, 63, 29, 9, 47, 21},    // 坎 离
    {24, 32, 33, 55, 21, 1, 39, 29, 25, 15, 45, 57, 31, 37},   // 震 巽
    {48, 8, 9, 31, 61, 41, 15, 53, 49, 39, 5, 17, 55, 13},     // 艮 兑
    {3, 59, 28, 46, 58, 60, 62, 50, 36, 22, 2, 4, 6, 10},      // 否 泰
    {43, 19, 52, 6, 18, 20, 22, 26, 12, 62, 42, 44, 46, 34},   // 既济 未济
    {27, 35, 4, 58, 34, 36, 38, 42, 60, 14, 26, 28, 30, 18},   // 恒 益
    {51, 11, 44, 30, 10, 12, 14, 2, 20, 38, 50, 52, 54, 58},   // 损 咸
}};

constexpr std::array<std::string_view, kMountainCount> kMountains{
    "壬", "子", "癸", "丑", "艮", "寅", "甲", "卯", "乙", "辰", "巽", "巳",
    "丙", "午", "丁", "未", "坤", "申", "庚", "酉", "辛", "戌", "乾", "亥"};
constexpr std::array<std::string_view, 5> kElements{"水", "木", "火", "土", "金"};
constexpr std::array<std::string_view, 7> kWeekdays{"日", "一", "二", "三", "四", "五", "六"};
constexpr std::array<std::string_view, 9> kPositionLabels{"龙", "水", "主", "山", "向", "年", "月", "日", "时"};
constexpr std::array<std::string_view, 4> kPillarLabels{"年", "月", "日", "时"};
constexpr std::array<std::string_view, 9> kNinePalaces{"离", "坎", "坤", "震", "巽", "中", "乾", "兑", "艮"};
constexpr std::array<std::string_view, 9> kNumerals{"九", "一", "二", "三", "四", "五", "六", "七", "八"};
constexpr std::array<std::string_view, 9> kFullWidthDigits{"９", "１", "２", "３", "４", "５", "６", "７", "８"};
constexpr std::array<int, 9> kRiverChart{4, 0, 2, 1, 4, 3, 0, 2, 1};
constexpr std::array<std::string_view, 3> kSumRelations{"合五", "合十", "合十五"};
constexpr std::array<std::string_view, 5> kGenerationRelations{"共宗", "为朋", "同道", "归中", "为友"};
constexpr std::array<std::string_view, 5> kFamilyRoles{"", "父", "母", "子", "女"};
constexpr std::array<std::string_view, 5> kElementRelations{"比", "泄", "耗", "克", "生"};
// Trigram (palace order) of each number 1..9; 5 has none.
constexpr std::array<int, 10> kTrigramOfNumber{-1, 7, 4, 2, 1, -1, 6, 5, 3, 0};

template <typename Table>
auto At(const Table& table, int index) {
  return table.at(static_cast<std::size_t>(index));
}

}  // namespace

const GuaInfo& GuaInfoOf(GuaIndex gua) { return kGuaInfo.at(static_cast<std::size_t>(gua)); }
std::string_view GuaName(GuaIndex gua) { return iching::HexagramName(gua); }
std::string_view GuaShortName(GuaIndex gua) { return iching::HexagramShortName(gua); }
GuaIndex InvertedGua(GuaIndex gua) { return At(kInverted, gua); }
int CirclePosition(GuaIndex gua) { return At(kCirclePosition, gua); }
GuaIndex GuaAtCirclePosition(int position) { return At(kCircle, position); }
int TrigramOfNumber(int number) { return At(kTrigramOfNumber, number); }

GuaIndex GuaForMountain(MountainIndex mountain, int column) {
  if (mountain < 0 || mountain >= kMountainCount || column < 0 || column >= kMountainColumns) return -1;
  return kMountainGua[static_cast<std::size_t>(mountain)][static_cast<std::size_t>(column)];
}

GuaIndex GuaForJiazi(int pillar, bool alternate) {
  if (alternate) {
    switch (pillar) {
      case 1: return 57;   // 甲子 → 复
      case 27: return 44;  // 庚寅 → 革
      case 31: return 1;   // 甲午 → 姤
      case 57: return 20;  // 庚申 → 蒙
      default: break;
    }
  }
  return At(kJiaziGua, pillar);
}

GuaIndex OppositeGua(GuaIndex gua) { return GuaAtCirclePosition((CirclePosition(gua) + 32) % 64); }

GuaIndex FamilyMember(int family, int column) {
  return kFamilies.at(static_cast<std::size_t>(family)).at(static_cast<std::size_t>(column));
}

std::string_view MountainName(MountainIndex m) { return At(kMountains, m); }
std::string_view ElementName(int element) { return At(kElements, element); }
std::string_view WeekdayName(int weekday) { return At(kWeekdays, weekday); }
std::string_view TrigramName(int trigram) { return iching::TrigramName(trigram); }
std::string_view PositionLabel(int position) { return At(kPositionLabels, position); }
std::string_view PillarLabel(int pillar) { return At(kPillarLabels, pillar); }
std::string_view NinePalaceName(int number) { return At(kNinePalaces, number % 9); }
std::string_view NumeralName(int number) { return At(kNumerals, number % 9); }
std::string_view FullWidthDigit(int number) { return At(kFullWidthDigits, number % 9); }
int RiverChartElement(int number) { return At(kRiverChart, number % 9); }
std::string_view SumRelationName(int kind) { return At(kSumRelations, kind); }
std::string_view GenerationRelationName(int kind) { return At(kGenerationRelations, kind); }
std::string_view FamilyRoleName(int role) { return At(kFamilyRoles, role); }
std::string_view ElementRelationName(int kind) { return At(kElementRelations, kind); }

}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
// The conditions of the search (查找吉课) over a year or a range of days, filled by the
// main window's search page and its two dialogs, read by the engine's `SearchRange`.
#pragma once

#include <array>
#include <string>
#include <vector>
#include <cstdint>

#include "chart/record_data.h"

namespace quorin::chart {

// One digit group (卦气 or 卦运): up to six digits 1..9 that the numbers of the
// examined positions must contain, side by side when `adjacent` (数字相连).
struct DigitGroup {
  static constexpr int kMaxDigits = 6;
  std::array<std::uint8_t, kMaxDigits> digits{};
  std::uint8_t count = 0;  // digits in use, 0..6
  bool adjacent = false;
  bool operator==(const DigitGroup&) const = default;
};

// Indices of the condition arrays, in the order of the search page's check lists (the
// table in search_conditions.h names them).
enum QiCondition : int { kQiSame = 0, kQiFive, kQiTen, kQiFifteen, kQiGeneration, kQiConditionCount };
enum YunCondition : int {
  kYunSame = 0,
  kYunFive,
  kYunTen,
  kYunFifteen,
  kYunGeneration,
  kYunThrough,  // 相通
  kYunConditionCount
};
enum AvoidCondition : int {
  kAvoidClashMountainFlag = 0,  // 冲山
  kAvoidMountainKillingsFlag,   // 坐山三煞
  kAvoidClashMasterFlag,        // 冲主命
  kAvoidMountainRepeatFlag,     // 坐山伏吟
  kAvoidMountainOppositeFlag,   // 坐山反吟
  kAvoidConditionCount
};

struct SearchRequest {
  std::array<bool, kQiConditionCount> qi{};  // 卦气同数 合五 合十 合十五 合生成
  DigitGroup qiDigits;
  std::uint8_t qiConditionCount = 0;  // ticked items, plus one when qiDigits holds a digit
  std::array<bool, kYunConditionCount> yun{};  // 卦运同数 合五 合十 合十五 合生成 相通
  DigitGroup yunDigits;
  std::uint8_t yunConditionCount = 0;
  bool shengRuKeRu = false;  // 生入克入
  bool familyLink = false;   // 亲缘交通
  // 纳入: the positions examined besides the four pillars.
  bool includeMaster = false;
  bool includeMountain = false;
  bool includeDragon = false;
  bool includeWater = false;
  bool includeFacing = false;
  std::array<bool, kAvoidConditionCount> avoid{};  // 避开年月日时
  std::int32_t masterYear = 0;   // astronomical
  std::int32_t mountain = 0;     // MountainIndex
  std::int32_t mountainGua = 0;  // column of the mountain's hexagram
  std::int32_t year = 0;         // the year searched, astronomical
  std::int16_t dragonMountain = -1;  // -1 none
  std::int16_t dragonGua = -1;
  std::int16_t waterMountain = -1;   // -1 none
  std::int16_t waterGua = -1;
  bool showFacing = false;
  // The time zone whose clock times are tested (an IANA name); empty: Beijing time, as always.
  std::string zone;
  // 显示差一条的日课: after the moments that meet every ticked condition, those that miss one.
  bool nearMisses = false;
  // After 主命, in the order given: the conditions that read the person (主命纳入, 冲主命) must hold
  // for each, as in a search with that person as 主命.
  std::vector<OtherPerson> otherPersons;

  bool operator==(const SearchRequest&) const = default;

  // The condition count the page derives: ticked items plus one for a digit group.
  static std::uint8_t CountOf(const bool* first, int n, const DigitGroup& digits) {
    int count = digits.count > 0 ? 1 : 0;
    for (int i = 0; i < n; ++i) count += first[i] ? 1 : 0;
    return static_cast<std::uint8_t>(count);
  }
  void UpdateConditionCounts() {
    qiConditionCount = CountOf(qi.data(), kQiConditionCount, qiDigits);
    yunConditionCount = CountOf(yun.data(), kYunConditionCount, yunDigits);
  }
};

// Copies the choice of the dragon and water dialog (龙, 水 and 向) from one request to
// another: the search request and the chart request (TRecordData) both carry it in
// these five fields.
template <typename From, typename To>
void CopyDragonWaterFacing(const From& from, To& to) {
  to.dragonMountain = from.dragonMountain;
  to.dragonGua = from.dragonGua;
  to.waterMountain = from.waterMountain;
  to.waterGua = from.waterGua;
  to.showFacing = from.showFacing;
}

}  // namespace quorin::chart

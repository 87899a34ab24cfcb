// SPDX-License-Identifier: GPL-3.0-or-later
// The chart request, and with its case part one stored case. The chart part feeds
// the engine; the case library stores the whole and builds on the chart library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorin {

// The person's birth year when none is given: the one a fresh chart window shows, and what a
// stored case without one reads as.
inline constexpr int kDefaultBirthYear = 1978;

// A person after 主命 whom the moment also concerns. The name is what the user typed: a name, or a
// role such as 配偶 or 长子.
struct OtherPerson {
  std::string name;  // at most TRecordData::kNameBytes GBK bytes
  bool male = true;
  std::int32_t masterYear = 0;  // astronomical numbering
  bool operator==(const OtherPerson&) const = default;
};
// 主命 and up to seven more.
inline constexpr int kMaxPersons = 8;

struct TRecordData {
  // Chart part: the moment as entered, the place, the person, the positions.
  bool isLunar = false;
  bool isLeapMonth = false;
  std::int16_t year = 0;  // astronomical numbering (0 = 1 BC)
  std::int16_t month = 0;
  std::int16_t day = 0;
  std::int16_t hour = 0;
  std::int16_t minute = 0;
  std::int16_t province = 0;
  std::int16_t city = 0;
  float longitude = 0;
  float latitude = 0;
  std::string addrName;  // at most kAddrNameBytes GBK bytes
  std::string name;      // at most kNameBytes GBK bytes
  bool male = false;
  std::int32_t masterYear = 0;  // astronomical numbering
  std::int32_t mountain = 0;
  std::int32_t mountainGua = 0;
  std::int16_t dragonMountain = 0;  // -1 none
  std::int16_t dragonGua = 0;
  std::int16_t waterMountain = 0;  // -1 none
  std::int16_t waterGua = 0;
  bool showFacing = false;
  // The place's time zone (an IANA name) when the moment is its clock time; empty: the moment
  // is Beijing time, as for every place of China.
  std::string zone;
  std::int8_t fold = 0;  // of a clock time that came twice: 1 the first, 2 the second, 0 not said
  std::vector<OtherPerson> otherPersons;  // after 主命, in the order given

  // Case part.
  std::int32_t id = 0;  // 0 for a record never stored
  std::string className;
  std::string remarkText;
  std::string remarkFile;
  std::array<std::int32_t, 5> extra{-1, -1, -1, -1, -1};

  static constexpr int kAddrNameBytes = 300;
  static constexpr int kNameBytes = 20;

  // The chart part zero or empty, id 0, and the texts a new case starts with.
  void ResetRecord() {
    *this = TRecordData{};
    className = "临时保存";
    remarkText = "自己的评语";
    remarkFile = "n";
  }
  void CopyRecord(const TRecordData& other) { *this = other; }
};

}  // namespace quorin

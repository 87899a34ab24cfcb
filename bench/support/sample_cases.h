// SPDX-License-Identifier: GPL-3.0-or-later
// Plausible cases for the benchmarks of the case store and the case tree.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "chart/record_data.h"

namespace quorin::bench {

// Mostly Gregorian dates, one in ten lunar, common surnames; `i` makes the remark
// file name unique.
inline TRecordData MakeCase(std::mt19937& random, int i) {
  static const char* kSurnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄", "周", "吴", "欧阳", "Smith"};
  static const char* kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇"};
  static const char* kCategories[] = {"开业", "进宅", "结婚", "阳宅风水", "阴宅", "求财", "催丁", "临时保存"};
  TRecordData r;
  r.ResetRecord();
  r.name = std::string(kSurnames[random() % 12]) + kGiven[random() % 10] + kGiven[i % 10];
  r.year = static_cast<std::int16_t>(1900 + random() % 130);
  r.month = static_cast<std::int16_t>(1 + random() % 12);
  r.day = static_cast<std::int16_t>(1 + random() % 28);
  r.hour = static_cast<std::int16_t>(random() % 24);
  r.minute = static_cast<std::int16_t>(random() % 60);
  r.isLunar = random() % 10 == 0;
  r.male = random() % 2 == 0;
  r.className = kCategories[random() % 8];
  r.addrName = "广东广州";
  r.province = 18;
  r.longitude = 113.25f;
  r.latitude = 23.1f;
  r.dragonMountain = -1;
  r.waterMountain = -1;
  r.masterYear = 1970;
  r.remarkFile = r.name + "_" + std::to_string(i);
  r.remarkText = "输入自己的评语：此课用于" + std::string(r.className) + "，效果良好。";
  return r;
}

}  // namespace quorin::bench

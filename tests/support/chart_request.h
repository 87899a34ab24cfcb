// SPDX-License-Identifier: GPL-3.0-or-later
// Chart requests for the engine tests, filled the way the main window fills them.
#pragma once

#include <cstdint>

#include "chart/record_data.h"

namespace quorin::testing {

// At 未知地 (120°E, 30°N) for 某人, male, born 1978, without dragon or water; years
// astronomical, as the window stores them.
inline TRecordData ChartRequest(int year, int month, int day, int hour, int minute, int mountain, int column) {
  TRecordData r;
  r.ResetRecord();
  r.year = static_cast<std::int16_t>(year);
  r.month = static_cast<std::int16_t>(month);
  r.day = static_cast<std::int16_t>(day);
  r.hour = static_cast<std::int16_t>(hour);
  r.minute = static_cast<std::int16_t>(minute);
  r.province = 34;
  r.longitude = 120;
  r.latitude = 30;
  r.addrName = "未知地";
  r.name = "某人";
  r.male = true;
  r.masterYear = 1978;
  r.mountain = mountain;
  r.mountainGua = column;
  r.dragonMountain = r.waterMountain = -1;
  r.dragonGua = r.waterGua = -1;
  return r;
}

// 2024-03-15 10:30 on a chosen mountain for 张三, born 1980. On 子山 column 1 (坤) it
// is the chart of the golden text zi_mountain_2024.txt.
inline TRecordData ZhangSanRequest(int mountain, int column) {
  TRecordData r = ChartRequest(2024, 3, 15, 10, 30, mountain, column);
  r.name = "张三";
  r.masterYear = 1980;
  return r;
}

}  // namespace quorin::testing

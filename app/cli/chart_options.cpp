// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_options.h"

#include <cstdio>

#include "base/files.h"
#include "base/gbk.h"
#include "base/places.h"
#include "base/script_text.h"
#include "base/world_zones.h"
#include "calendar/historical_year.h"
#include "calendar/zone_time.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "command.h"

namespace quorin::cli {

std::optional<int> AstronomicalYear(int historical) {
  if (!calendar::IsValidHistoricalYear(historical)) return std::nullopt;
  return calendar::AstronomicalYear(historical);
}

int MountainFromText(const std::string& text, const std::string& option) {
  std::string name = text;
  if (name.size() > 3 && name.ends_with("山")) name.resize(name.size() - 3);
  for (int m = 0; m < chart::kMountainCount; ++m) {
    if (chart::MountainName(m) == name) return m;
  }
  const int index = ParseInteger(text, option);
  if (index < 0 || index >= chart::kMountainCount) throw UsageError(option + " 应为山名（壬、子 … 亥）或 0..23：" + text);
  return index;
}

std::pair<int, int> MountainAndColumn(const std::string& text, const std::string& option) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos) throw UsageError(option + " 应写作 山:列，例如 子:1");
  return {MountainFromText(text.substr(0, colon), option), ParseInteger(text.substr(colon + 1), option)};
}

void UseSettingsOption(const Arguments& a, chart::MQuorinDay& engine) {
  if (!a.Has("settings")) return;
  if (!base::FileExists(*a.Value("settings"))) throw UsageError("找不到设置文件：" + *a.Value("settings"));
  engine.SetSettingsPath(*a.Value("settings"));
}

RequestOrRefusal ChartRequestFromOptions(const Arguments& a, const calendar::CivilDateTime& moment,
                                         const RequestForms& forms) {
  RequestOrRefusal out;
  TRecordData& r = out.request;
  r.ResetRecord();
  const std::string birthOption = "--" + forms.birthOption;
  const auto birth = a.Has(forms.birthOption) ? AstronomicalYear(ParseInteger(*a.Value(forms.birthOption), birthOption))
                                              : std::optional<int>(forms.defaultBirthYear);
  if (!birth) {
    out.refusal = YearRangeMessage("主命");
    return out;
  }
  r.masterYear = *birth;
  r.isLunar = a.Has("lunar");
  r.isLeapMonth = a.Has("leap");
  r.year = moment.year;
  r.month = moment.month;
  r.day = moment.day;
  r.hour = moment.hour;
  r.minute = moment.minute;
  r.name = "某人";
  r.male = !a.Has("female");

  if (forms.mountainByName) {
    r.mountain = a.Has("mountain") ? MountainFromText(*a.Value("mountain"), "--mountain") : 0;
  } else {
    r.mountain = a.Integer("mountain").value_or(0);
  }
  r.mountainGua = a.Integer("gua").value_or(0);
  r.dragonMountain = r.waterMountain = -1;
  if (a.Has("dragon")) {
    const auto [mountain, column] = MountainAndColumn(*a.Value("dragon"), "--dragon");
    r.dragonMountain = static_cast<std::int16_t>(mountain);
    r.dragonGua = static_cast<std::int16_t>(column);
  }
  if (a.Has("water")) {
    const auto [mountain, column] = MountainAndColumn(*a.Value("water"), "--water");
    r.waterMountain = static_cast<std::int16_t>(mountain);
    r.waterGua = static_cast<std::int16_t>(column);
  }
  r.showFacing = a.Has("facing");

  r.province = static_cast<std::int16_t>(base::kUnknownProvince);  // unless a place is given
  r.city = 0;
  r.longitude = static_cast<float>(a.Number("lon").value_or(base::kDefaultLongitude));
  r.latitude = static_cast<float>(a.Number("lat").value_or(base::kDefaultLatitude));
  r.addrName = base::TruncateToGbkBytes(a.Value("place").value_or(std::string(base::kUnknownPlace)),
                                        TRecordData::kAddrNameBytes);
  return out;
}

namespace {

std::string ClockText(const calendar::CivilDateTime& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%d年%d月%d日%d时%02d分", calendar::HistoricalYear(t.year), t.month, t.day, t.hour,
                t.minute);
  return text;
}

}  // namespace

ZonedMoment ReadZoneOptions(const Arguments& a, const calendar::CivilDateTime& moment) {
  ZonedMoment out{moment, std::nullopt, {}};
  if (!a.Has("zone")) {
    if (a.Has("fold")) throw UsageError("--fold 需要和 --zone 一起使用");
    return out;
  }
  const std::string zone = *a.Value("zone");
  if (!calendar::IsKnownZone(zone)) throw UsageError("没有这个时区：" + zone + "（时区名见 quorin-cli zones）");
  if (a.Has("lunar")) throw UsageError("--zone 的时间是当地的钟表时间，请用公历日期");
  std::optional<int> fold;
  if (a.Has("fold")) {
    fold = ParseInteger(*a.Value("fold"), "--fold");
    if (*fold != 1 && *fold != 2) throw UsageError("--fold 应为 1（第一次）或 2（第二次）");
  }
  const calendar::ClockTimeReading reading = *calendar::ReadClockTime(zone, moment);
  const std::string city = base::ZoneCityName(zone, base::ShownScript());
  const auto& [earlier, later] = reading.offsets;
  const std::string change = "从" + calendar::UtcOffsetText(earlier.seconds) + "拨到" + calendar::UtcOffsetText(later.seconds);
  calendar::ZoneOffset used = earlier;
  switch (reading.kind) {
    case calendar::ClockTimeKind::kSkipped:
      out.refusal = city + "当地没有" + ClockText(moment) + "这个钟点：时钟在这时" + change + "，拨快了，这段时间被跳过。";
      return out;
    case calendar::ClockTimeKind::kRepeated:
      if (!fold) {
        out.refusal = city + "当地的" + ClockText(moment) + "出现了两次：时钟在这时" + change +
                      "，拨回了。请用 --fold 1 指第一次（" + calendar::UtcOffsetText(earlier.seconds) + "），--fold 2 指第二次（" +
                      calendar::UtcOffsetText(later.seconds) + "）。";
        return out;
      }
      used = *fold == 1 ? earlier : later;
      break;
    case calendar::ClockTimeKind::kUnique:
      if (fold) throw UsageError("这个钟点只出现一次，不需要 --fold");
      break;
  }
  out.beijing = calendar::BeijingTimeOfClock(moment, used);
  out.clock = chart::LocalClock{moment, city, used.seconds, used.summerTime};
  return out;
}

}  // namespace quorin::cli

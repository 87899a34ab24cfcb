// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_options.h"

#include <cstdio>

#include "base/files.h"
#include "base/gbk.h"
#include "base/places.h"
#include "base/script_text.h"
#include "base/data_location.h"
#include "base/text_parse.h"
#include "base/zoned_places.h"
#include "calendar/historical_year.h"
#include "cases/case_text.h"
#include "calendar/zone_time.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/zoned_clock.h"
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

std::optional<base::ZonedPlace> NamedPlace(const Arguments& a) {
  if (!a.Has("place") || a.Has("lon") || a.Has("lat")) return std::nullopt;
  const std::string ownPlaces = base::ReadableDataFile(std::string(base::kOwnPlacesFile));
  return base::FindPlaceByName(*a.Value("place"), base::ReadOwnPlaces(ownPlaces));
}

namespace {

// The zone of --zone, else that of the place --place named.
std::string ZoneOption(const Arguments& a, const std::optional<base::ZonedPlace>& named) {
  if (a.Has("zone")) return *a.Value("zone");
  return named ? named->zone : std::string();
}

// --person NAME,男|女,YEAR (repeatable): the persons after 主命 whom the moment also concerns.
std::vector<OtherPerson> ReadPersons(const Arguments& a) {
  std::vector<OtherPerson> persons;
  for (const std::string& text : a.Values("person")) {
    std::vector<std::string> fields;
    std::stringstream items(text);
    for (std::string item; std::getline(items, item, ',');) fields.push_back(item);
    if (fields.size() != 3 || fields[0].empty() || (fields[1] != "男" && fields[1] != "女")) {
      throw UsageError("--person 应写作 称谓,男|女,出生年，例如 配偶,女,1982：" + text);
    }
    const auto year = AstronomicalYear(ParseInteger(fields[2], "--person"));
    if (!year) throw UsageError("--person 的出生年应在-4713到9999之间，没有公元0年：" + text);
    const cases::CleanedName name = cases::CleanChartName(base::TrimTyped(fields[0]));
    if (name.name.empty()) throw UsageError("--person 的称谓不能为空：" + text);
    persons.push_back({name.name, fields[1] == "男", *year});
  }
  if (persons.size() + 1 > static_cast<std::size_t>(kMaxPersons)) {
    throw UsageError("最多" + std::to_string(kMaxPersons) + "个人：主命和另外" +
                     std::to_string(kMaxPersons - 1) + "人");
  }
  return persons;
}

}  // namespace

std::string ZoneOption(const Arguments& a) { return ZoneOption(a, NamedPlace(a)); }

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
  r.otherPersons = ReadPersons(a);

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
  const std::optional<base::ZonedPlace> named = NamedPlace(a);
  if (named) {
    r.longitude = static_cast<float>(named->longitude);
    r.latitude = static_cast<float>(named->latitude);
    r.addrName = base::TruncateToGbkBytes(named->name, TRecordData::kAddrNameBytes);
  }
  r.zone = ZoneOption(a, named);
  if (!r.zone.empty() && a.Has("fold")) r.fold = static_cast<std::int8_t>(ParseInteger(*a.Value("fold"), "--fold"));
  return out;
}

ZonedMoment ReadZoneOptions(const Arguments& a, const calendar::CivilDateTime& moment) {
  ZonedMoment out{moment, {}};
  const std::string zone = ZoneOption(a);
  if (zone.empty()) {
    if (a.Has("fold")) throw UsageError("--fold 需要和 --zone 一起使用");
    return out;
  }
  if (!calendar::IsKnownZone(zone)) throw UsageError("没有这个时区：" + zone + "（时区名见 quorin-cli zones）");
  if (a.Has("lunar")) throw UsageError("--zone 的时间是当地的钟表时间，请用公历日期");
  int fold = 0;
  if (a.Has("fold")) {
    fold = ParseInteger(*a.Value("fold"), "--fold");
    if (fold != 1 && fold != 2) throw UsageError("--fold 应为 1（第一次）或 2（第二次）");
  }
  const chart::ZonedClockReading reading = chart::ReadZonedClock(moment, zone, fold);
  if (reading.kind == calendar::ClockTimeKind::kUnique && fold != 0) throw UsageError("这个钟点只出现一次，不需要 --fold");
  if (!reading.clock) {
    out.refusal = reading.problem;
    if (reading.kind == calendar::ClockTimeKind::kRepeated)
      out.refusal += "请用 --fold 1 指第一次（" + calendar::UtcOffsetText(reading.offsets[0].seconds) + "），--fold 2 指第二次（" +
                     calendar::UtcOffsetText(reading.offsets[1].seconds) + "）。";
    return out;
  }
  out.beijing = reading.beijing;
  return out;
}

}  // namespace quorin::cli

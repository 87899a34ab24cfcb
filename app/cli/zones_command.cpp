// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <iostream>

#include "base/script_text.h"
#include "base/world_zones.h"
#include "command.h"

namespace quorin::cli {
namespace {

std::string Degrees(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  return text;
}

int ListZones(const std::vector<std::string>& args) {
  const Arguments a(args, {});
  if (a.Positionals().size() > 1) throw UsageError("多余的参数：" + a.Positionals()[1]);
  const std::string country = a.Positionals().empty() ? std::string() : a.Positionals().front();
  const std::vector<base::WorldZone> zones = base::ReadWorldZones();
  if (zones.empty()) return Refuse(std::string("无法读取时区表：") + base::kZoneTablePath);
  const base::Script script = base::ShownScript();
  int listed = 0;
  for (const base::WorldZone& z : zones) {
    if (!country.empty() && z.countryCode != country) continue;
    std::cout << z.countryCode << '\t' << base::CountryName(z.countryCode, script) << '\t' << z.zone << '\t'
              << base::ZoneCityName(z.zone, script) << '\t' << Degrees(z.longitude) << '\t' << Degrees(z.latitude)
              << "\n";
    ++listed;
  }
  if (listed == 0) return Refuse("时区表里没有这个国家或地区代码：" + country);
  return 0;
}

const RegisterCommand kZones{{
    "zones",
    "the world's time zones with their Chinese names and coordinates",
    "Usage: quorin-cli zones [COUNTRY-CODE]\n"
    "  Lists every time zone of the system's zone table (tzdata's zone1970.tab) under each country\n"
    "  it serves, or those of one country (ISO code such as US, MY, AU): one line each with the\n"
    "  country code, the country's name, the zone, its principal city's name, and that city's\n"
    "  longitude and latitude in degrees (east and north positive), separated by tabs. Names are\n"
    "  ICU's, in the script of --script or of the settings.\n",
    ListZones,
}};

}  // namespace
}  // namespace quorin::cli

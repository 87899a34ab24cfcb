// SPDX-License-Identifier: GPL-3.0-or-later
// The world's cities and countries named by ICU.
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/unistr.h>

#include <memory>

#include "base/world_zones.h"

namespace quorin::base {

namespace {

const char* IcuLocale(Script script) {
  switch (script) {
    case Script::kTraditionalTaiwan: return "zh_Hant_TW";
    case Script::kTraditionalHongKong: return "zh_Hant_HK";
    case Script::kSimplified: break;
  }
  return "zh_Hans_CN";
}

std::string Utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

std::string ZoneCityName(std::string_view zone, Script script) {
  UErrorCode error = U_ZERO_ERROR;
  const icu::UnicodeString id = icu::UnicodeString::fromUTF8(icu::StringPiece(zone.data(), static_cast<int32_t>(zone.size())));
  // ICU names cities by its canonical ids (America/Buenos_Aires for America/Argentina/Buenos_Aires).
  icu::UnicodeString canonical;
  icu::TimeZone::getCanonicalID(id, canonical, error);
  if (U_FAILURE(error)) canonical = id;
  error = U_ZERO_ERROR;
  const std::unique_ptr<icu::TimeZoneNames> names(icu::TimeZoneNames::createInstance(icu::Locale(IcuLocale(script)), error));
  icu::UnicodeString city;
  if (names && U_SUCCESS(error)) names->getExemplarLocationName(canonical, city);
  if (!city.isEmpty()) return Utf8(city);
  // The last part of the id, as English writes it.
  std::string english(zone.substr(zone.rfind('/') + 1));
  for (char& c : english)
    if (c == '_') c = ' ';
  return english;
}

std::string CountryName(std::string_view countryCode, Script script) {
  icu::UnicodeString name;
  icu::Locale("", std::string(countryCode).c_str()).getDisplayCountry(icu::Locale(IcuLocale(script)), name);
  return Utf8(name);
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/moment_text.h"

#include <algorithm>
#include <cstdint>

#include "base/text_parse.h"
#include "calendar/historical_year.h"

namespace quorin::calendar {
namespace {

constexpr std::size_t kFieldDigits = 2;  // month, day, hour and minute: "3" or "03", never "003"

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One or two digits in [first, last].
std::optional<int> Field(std::string_view text, int first, int last) {
  if (text.size() > kFieldDigits || !AllDigits(text)) return std::nullopt;
  const std::optional<int> value = base::ParseInt(text);
  if (!value || *value < first || *value > last) return std::nullopt;
  return value;
}

}  // namespace

std::optional<TypedMoment> ParseDateText(std::string_view text) {
  const std::size_t signLength = text.starts_with('-') ? 1 : 0;
  const std::size_t yearEnd = text.find('-', signLength);
  if (yearEnd == std::string_view::npos) return std::nullopt;
  const std::size_t monthEnd = text.find('-', yearEnd + 1);
  if (monthEnd == std::string_view::npos) return std::nullopt;
  if (!AllDigits(text.substr(signLength, yearEnd - signLength))) return std::nullopt;
  const std::optional<int> year = base::ParseInt(text.substr(0, yearEnd));  // nullopt beyond an int
  const std::optional<int> month = Field(text.substr(yearEnd + 1, monthEnd - yearEnd - 1), 1, 12);
  const std::optional<int> day = Field(text.substr(monthEnd + 1), 1, 31);
  if (!year || !month || !day) return std::nullopt;
  return TypedMoment{*year, *month, *day, 0, 0};
}

std::optional<TypedMoment> ParseMomentText(std::string_view text) {
  const std::size_t dateEnd = text.find_first_of(" T");
  std::optional<TypedMoment> moment = ParseDateText(text.substr(0, dateEnd));
  if (!moment || dateEnd == std::string_view::npos) return moment;
  const std::size_t timeStart = text[dateEnd] == 'T' ? dateEnd + 1 : text.find_first_not_of(' ', dateEnd);
  if (timeStart == std::string_view::npos) return std::nullopt;
  const std::string_view time = text.substr(timeStart);
  const std::size_t colon = time.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<int> hour = Field(time.substr(0, colon), 0, 23);
  const std::optional<int> minute = Field(time.substr(colon + 1), 0, 59);
  if (!hour || !minute) return std::nullopt;
  moment->hour = *hour;
  moment->minute = *minute;
  return moment;
}

std::optional<CivilDateTime> AstronomicalMoment(const TypedMoment& typed) {
  if (!IsValidHistoricalYear(typed.year)) return std::nullopt;
  return CivilDateTime{static_cast<std::int16_t>(AstronomicalYear(typed.year)), static_cast<std::int16_t>(typed.month),
                       static_cast<std::int16_t>(typed.day), static_cast<std::int16_t>(typed.hour),
                       static_cast<std::int16_t>(typed.minute)};
}

}  // namespace quorin::calendar

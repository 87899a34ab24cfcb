// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/record_codec.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <tuple>

#include "base/gbk.h"
#include "base/text_parse.h"
#include "calendar/calendar_types.h"

namespace quorin::cases {
namespace {

std::string FormatCoordinate(float value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%1.6f", static_cast<double>(value));
  return buffer;
}

// The integer of a text when it is one and fits the field; the default otherwise.
template <typename T>
T TextOr(std::string_view text, T fallback) {
  const auto value = base::ParseInt64(text);
  if (!value || *value < std::numeric_limits<T>::min() || *value > std::numeric_limits<T>::max()) return fallback;
  return static_cast<T>(*value);
}

template <typename T>
T PartOr(const std::vector<std::string>& parts, std::size_t index, T fallback) {
  return index < parts.size() ? TextOr<T>(parts[index], fallback) : fallback;
}

// A flag part is true unless it is a number other than 1.
bool FlagPart(std::string_view part) {
  const auto value = base::ParseInt64(part);
  return !value || *value == 1;
}

// "a_b": the numbers before and after the first underscore, 0 where missing or not a number.
template <typename T>
std::pair<T, T> UnderscorePair(const std::vector<std::string>& parts, std::size_t index) {
  if (index >= parts.size()) return {0, 0};
  const std::string& part = parts[index];
  const auto bar = part.find('_');
  const std::string before = part.substr(0, bar);
  const std::string after = bar == std::string::npos ? std::string() : part.substr(bar + 1);
  return {TextOr<T>(before, 0), TextOr<T>(after, 0)};
}

// "lon lat 8", and for a place read in a time zone its name and, for a clock time that came
// twice, which of the two: "-74.006401 40.714199 8 America/New_York 2". Readers that know only the
// first two numbers stop there, and read the moment as Beijing time.
std::string PlaceNumbers(const TRecordData& r) {
  std::string text = FormatCoordinate(r.longitude) + " " + FormatCoordinate(r.latitude) + " 8";
  if (IsZoneName(r.zone)) {
    text += " " + r.zone;
    if (r.fold == 1 || r.fold == 2) text += " " + std::to_string(r.fold);
  }
  return text;
}

// The persons after 主命 in the tag1 column, which readers before them leave alone:
// "0 1982 配偶|1 2010 长子" (sex, birth year, name), " " without any, as always.
std::string PersonsText(const std::vector<OtherPerson>& persons) {
  std::string text;
  for (const OtherPerson& person : persons) {
    if (!text.empty()) text += "|";
    text += std::string(person.male ? "1" : "0") + " " + std::to_string(person.masterYear) + " " + person.name;
  }
  return text.empty() ? " " : text;
}

// What PersonsText wrote; an entry that is not one (a column some other program used) is passed over.
std::vector<OtherPerson> ReadPersons(std::string_view text) {
  std::vector<OtherPerson> persons;
  while (!text.empty() && persons.size() + 1 < static_cast<std::size_t>(kMaxPersons)) {
    const std::size_t bar = text.find('|');
    const std::string_view entry = text.substr(0, bar);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    const std::size_t first = entry.find(' ');
    const std::size_t second = first == std::string_view::npos ? first : entry.find(' ', first + 1);
    if (second == std::string_view::npos) continue;
    const auto sex = base::ParseInt64(entry.substr(0, first));
    const auto year = base::ParseInt64(entry.substr(first + 1, second - first - 1));
    const std::string name = base::TruncateToGbkBytes(entry.substr(second + 1), TRecordData::kNameBytes);
    if ((sex != 0 && sex != 1) || !year || *year < calendar::kFirstCalendarYear || *year > calendar::kLastCalendarYear || name.empty()) continue;
    persons.push_back({name, sex == 1, static_cast<std::int32_t>(*year)});
  }
  return persons;
}

}  // namespace

bool IsZoneName(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  for (const char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/' && c != '_' && c != '-' && c != '+') return false;
  return true;
}

std::vector<std::string> SplitCaseText(std::string_view text) {
  std::vector<std::string> items;
  // Only a first space after the first character splits; a leading space ends the splitting.
  for (std::size_t space; (space = text.find(' ')) != std::string_view::npos && space > 0;) {
    items.emplace_back(text.substr(0, space));
    text.remove_prefix(space + 1);
  }
  if (!text.empty()) items.emplace_back(text);
  return items;
}

std::array<ColumnValue, kCaseColumnCount> EncodeRecord(const TRecordData& r) {
  auto number = [](std::int64_t n) { return ColumnValue{true, n, {}}; };
  auto text = [](std::string s) { return ColumnValue{false, 0, std::move(s)}; };
  // The decoder reads each position on its own, so every position up to the last one in use is
  // written, an unused one in between as -1; trailing unused ones are left out as before.
  std::size_t used = r.extra.size();
  while (used > 0 && r.extra[used - 1] == -1) --used;
  std::string addrInd = std::to_string(r.province) + " " + std::to_string(r.city);
  for (std::size_t i = 0; i < used; ++i) addrInd += " " + std::to_string(r.extra[i]);
  const std::string shanGua = std::to_string(r.mountain) + "_" + std::to_string(r.mountainGua) + " " +
                              std::to_string(r.dragonMountain) + "_" + std::to_string(r.dragonGua) + " " +
                              std::to_string(r.waterMountain) + "_" + std::to_string(r.waterGua) + " " +
                              (r.showFacing ? "1" : "0");
  return {
      number(r.id),
      text(r.name),
      number(r.male ? 1 : 0),
      text(r.className),
      number(r.year),
      text(std::to_string(r.month) + " " + std::to_string(r.day) + " " + std::to_string(r.hour) + " " +
           std::to_string(r.minute)),
      text(std::string(r.isLunar ? "1" : "0") + " " + (r.isLeapMonth ? "1" : "0")),
      text(addrInd),
      text(r.addrName),
      text(PlaceNumbers(r)),
      text(r.remarkFile),
      text(PersonsText(r.otherPersons)),
      text(" "),
      text(shanGua),
      text(" "),
      text(std::to_string(r.masterYear)),
      text(r.remarkText),
  };
}

TRecordData DecodeRecord(const std::array<std::string_view, kCaseColumnCount>& c) {
  TRecordData r;
  r.id = TextOr<std::int32_t>(c[0], 0);
  r.name = base::TruncateToGbkBytes(c[1], TRecordData::kNameBytes);
  r.male = c[2].empty() || FlagPart(c[2]);
  r.className = c[3].empty() ? std::string(kDefaultClassName) : std::string(c[3]);
  r.year = TextOr<std::int16_t>(c[4], 1900);

  const auto dateNum = SplitCaseText(c[5]);
  r.month = PartOr<std::int16_t>(dateNum, 0, 1);
  r.day = PartOr<std::int16_t>(dateNum, 1, 1);
  r.hour = PartOr<std::int16_t>(dateNum, 2, 1);
  r.minute = PartOr<std::int16_t>(dateNum, 3, 1);

  if (!c[6].empty()) {
    const auto style = SplitCaseText(c[6]);
    r.isLunar = !style.empty() && FlagPart(style[0]);
    r.isLeapMonth = style.size() > 1 && FlagPart(style[1]);
  }

  const auto addrInd = SplitCaseText(c[7]);
  r.province = PartOr<std::int16_t>(addrInd, 0, 0);
  r.city = PartOr<std::int16_t>(addrInd, 1, 0);
  for (std::size_t i = 0; i < r.extra.size(); ++i) r.extra[i] = PartOr<std::int32_t>(addrInd, i + 2, -1);

  r.addrName = base::TruncateToGbkBytes(c[8], TRecordData::kAddrNameBytes);

  const auto addrNum = SplitCaseText(c[9]);
  auto coordinate = [&](std::size_t i, float fallback) {
    const auto value = i < addrNum.size() ? base::ParseNumber(addrNum[i]) : std::nullopt;
    return value && std::abs(*value) <= std::numeric_limits<float>::max() ? static_cast<float>(*value) : fallback;
  };
  r.longitude = coordinate(0, 120);
  r.latitude = coordinate(1, 30);
  if (addrNum.size() > 3 && IsZoneName(addrNum[3])) {
    r.zone = addrNum[3];
    const auto fold = addrNum.size() > 4 ? base::ParseInt64(addrNum[4]) : std::nullopt;
    if (fold == 1 || fold == 2) r.fold = static_cast<std::int8_t>(*fold);
  }

  r.remarkFile = c[10].empty() ? std::string(" ") : std::string(c[10]);
  r.otherPersons = ReadPersons(c[11]);

  if (c[13].empty()) {
    r.mountain = 0;
    r.mountainGua = 0;
    r.dragonMountain = -1;
    r.dragonGua = 0;
    r.waterMountain = -1;
    r.waterGua = 0;
    r.showFacing = false;
  } else {
    const auto parts = SplitCaseText(c[13]);
    std::tie(r.mountain, r.mountainGua) = UnderscorePair<std::int32_t>(parts, 0);
    std::tie(r.dragonMountain, r.dragonGua) = UnderscorePair<std::int16_t>(parts, 1);
    std::tie(r.waterMountain, r.waterGua) = UnderscorePair<std::int16_t>(parts, 2);
    r.showFacing = parts.size() > 3 && base::ParseInt64(parts[3]) == 1;
  }

  r.masterYear = TextOr<std::int32_t>(c[15], kDefaultBirthYear);
  r.remarkText = c[16].empty() ? std::string(kDefaultRemarkText) : std::string(c[16]);
  return r;
}

}  // namespace quorin::cases

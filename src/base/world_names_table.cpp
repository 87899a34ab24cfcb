// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/world_names_table.h"

#include <algorithm>
#include <vector>

#include "base/files.h"

namespace quorin::base {

namespace {

std::size_t ScriptIndex(Script script) {
  return static_cast<std::size_t>(std::find(kAllScripts.begin(), kAllScripts.end(), script) - kAllScripts.begin());
}

NamesInScripts SameInEveryScript(const std::string& name) { return {name, name, name}; }

// "C<TAB>zone<TAB>names" for a city, "N<TAB>code<TAB>names" for a country, the names in the order
// of kAllScripts.
bool AppendLines(std::string& text, char kind, const std::map<std::string, NamesInScripts>& names,
                 NamesInScripts (*fallback)(std::string_view), std::string& problem) {
  for (const auto& [id, inScripts] : names) {
    if (inScripts == fallback(id)) continue;
    std::string line = std::string(1, kind) + '\t' + id;
    for (const std::string& name : inScripts) line += '\t' + name;
    if (std::count(line.begin(), line.end(), '\t') != 1 + static_cast<long>(inScripts.size()) ||
        line.find('\n') != std::string::npos) {
      problem = "无法记录名称：" + id;
      return false;
    }
    text += line + '\n';
  }
  return true;
}

NamesInScripts CityFallback(std::string_view zone) { return SameInEveryScript(EnglishCityName(zone)); }
NamesInScripts CountryFallback(std::string_view code) { return SameInEveryScript(std::string(code)); }

constexpr std::string_view kFileHeader =
    "# The world's cities (C, by zone) and countries (N, by ISO 3166 code) in simplified Chinese and\n"
    "# traditional Chinese of Taiwan and of Hong Kong, tab-separated, recorded from ICU by\n"
    "# tools/web_tables; do not edit. A city missing is its English name, a country its code.\n";

}  // namespace

std::string EnglishCityName(std::string_view zone) {
  std::string english(zone.substr(zone.rfind('/') + 1));
  std::replace(english.begin(), english.end(), '_', ' ');
  return english;
}

std::optional<WorldNamesTable> WorldNamesTable::Parse(std::string_view text, std::string& problem) {
  WorldNamesTable table;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    // The kind, the id and a name in each script.
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      fields.emplace_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    const bool whole = fields.size() == 2 + kAllScripts.size();
    auto* into = fields[0] == "C" ? &table.cities_ : fields[0] == "N" ? &table.countries_ : nullptr;
    if (!whole || !into || fields[1].empty() ||
        !into->emplace(fields[1], NamesInScripts{fields[2], fields[3], fields[4]}).second) {
      problem = "第" + std::to_string(lineNumber) + "行";
      return std::nullopt;
    }
  }
  return table;
}

std::string WorldNamesTable::CityName(std::string_view zone, Script script) const {
  const auto found = cities_.find(zone);
  return found == cities_.end() ? EnglishCityName(zone) : found->second[ScriptIndex(script)];
}

std::string WorldNamesTable::CountryName(std::string_view countryCode, Script script) const {
  const auto found = countries_.find(countryCode);
  return found == countries_.end() ? std::string(countryCode) : found->second[ScriptIndex(script)];
}

std::optional<WorldNamesTable> ReadWorldNames(const std::string& path, std::string& problem) {
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    problem = "无法读取世界地名表（" + path + "）";
    return std::nullopt;
  }
  std::string where;
  std::optional<WorldNamesTable> table = WorldNamesTable::Parse(*text, where);
  if (!table) problem = "世界地名表有误（" + path + "，" + where + "）";
  return table;
}

std::optional<std::string> WorldNamesText(const std::map<std::string, NamesInScripts>& cities,
                                          const std::map<std::string, NamesInScripts>& countries,
                                          std::string& problem) {
  std::string text(kFileHeader);
  if (!AppendLines(text, 'C', cities, CityFallback, problem) || !AppendLines(text, 'N', countries, CountryFallback, problem))
    return std::nullopt;
  return text;
}

}  // namespace quorin::base

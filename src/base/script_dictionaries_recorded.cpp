// SPDX-License-Identifier: GPL-3.0-or-later
// The scripts' dictionaries of the web edition: OpenCC's, recorded into the shipped tables folder
// when the edition is built (script_tables.h).
#include <optional>
#include <string>

#include "base/data_location.h"
#include "base/script_dictionaries.h"
#include "base/script_tables.h"

namespace quorin::base {

namespace {

std::string TablesFolder() { return ShippedFolder() + "tables/"; }

struct StockDictionariesRead {
  std::optional<RecordedStockDictionaries> dictionaries;
  std::string problem;
};

// Read once and kept: both traditional scripts convert with the same phrases. Until the page has
// put the files in place they are looked for again at each question.
const StockDictionariesRead& StockDictionaries() {
  static StockDictionariesRead read;
  if (!read.dictionaries) read.dictionaries = ReadRecordedStockDictionaries(TablesFolder(), read.problem);
  return read;
}

}  // namespace

std::optional<ScriptConversions> LoadScriptConversions(Script script, std::string& problem) {
  const StockDictionariesRead& read = StockDictionaries();
  if (!read.dictionaries) {
    problem = read.problem;
    return std::nullopt;
  }
  return RecordedScriptConversions(*read.dictionaries, script);
}

std::unordered_map<char32_t, char32_t> LoadSimplifyingCharacters() {
  return ReadRecordedSimplifyingCharacters(TablesFolder());
}

std::unordered_set<char32_t> LoadSimplifiedOnlyCharacters() {
  return ReadRecordedSimplifiedOnlyCharacters(TablesFolder());
}

}  // namespace quorin::base

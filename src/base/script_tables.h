// SPDX-License-Identifier: GPL-3.0-or-later
// The scripts' dictionaries as recorded text files, and OpenCC's way of converting with them: what
// the web edition, which has no OpenCC, converts with. The recording tool (tools/web_tables) writes
// the files from OpenCC's own dictionaries; the tests check that both convert alike.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/script_dictionaries.h"

namespace quorin::base {

// One dictionary: each key with its values, the usual one first.
class ScriptDictionary {
 public:
  // The recorded format, OpenCC's own text format: "key<TAB>value value…" a line, values apart by
  // spaces. Nullopt, with the line in `problem`, for a line that is not one.
  static std::optional<ScriptDictionary> FromRecordedText(std::string text, std::string& problem);
  // The field's phrases (script_text.h): '#' starts a comment line, lines without a tab are skipped,
  // and everything after the first tab is the one value, as the desktop programs read them.
  static ScriptDictionary FromFieldText(std::string_view text);

  struct Match {
    std::size_t keyLength = 0;  // in bytes
    std::string_view value;     // the usual value
  };
  // The longest key `text` starts with, whole characters only; nullopt when none does.
  std::optional<Match> LongestPrefix(std::string_view text) const;
  std::size_t size() const { return values_.size(); }

 private:
  ScriptDictionary() = default;
  void Add(std::string_view key, std::string_view usualValue);

  std::shared_ptr<const std::string> text_;  // the lines the keys and values point into
  std::unordered_map<std::string_view, std::string_view> values_;
  std::size_t longestKey_ = 0;  // in bytes
};

// Dictionaries read together: the first that has a key starting the text decides, with its own
// longest key, even where a later one has a longer key (OpenCC's groups do so).
using ScriptDictionaryGroup = std::vector<std::shared_ptr<const ScriptDictionary>>;

// OpenCC's conversion: the text is cut into segments, each a longest word of `segmentation` or a
// run of characters none starts; then every step converts each segment in turn, word by word
// (the longest key of the step's group at each place, its usual value), passing on characters no
// key starts. Thread-safe: nothing changes after building.
std::shared_ptr<const TextConversion> MakeDictionaryConversion(ScriptDictionaryGroup segmentation,
                                                               std::vector<ScriptDictionaryGroup> steps);

// OpenCC's stock dictionaries the conversions read, each recorded as "<name>.txt".
inline constexpr std::array<const char*, 5> kRecordedStockDictionaries{"STPhrases", "STCharacters", "TWVariants",
                                                                        "TWPhrases", "HKVariants"};
// The simplifying map ("繁<TAB>简" lines) and the simplified-only characters (one a line).
inline constexpr const char* kRecordedSimplifyingFile = "simplifying_characters.txt";
inline constexpr const char* kRecordedSimplifiedOnlyFile = "simplified_only_characters.txt";

struct RecordedStockDictionaries {
  std::shared_ptr<const ScriptDictionary> phrases;           // STPhrases
  std::shared_ptr<const ScriptDictionary> characters;        // STCharacters
  std::shared_ptr<const ScriptDictionary> taiwanVariants;    // TWVariants
  std::shared_ptr<const ScriptDictionary> taiwanPhrases;     // TWPhrases
  std::shared_ptr<const ScriptDictionary> hongKongVariants;  // HKVariants
};

// The stock dictionaries recorded in `folder` (ending in '/'); nullopt, with the program's message
// naming the file, when one cannot be read.
std::optional<RecordedStockDictionaries> ReadRecordedStockDictionaries(const std::string& folder, std::string& problem);

// The conversions of a traditional script with the same dictionaries, groups and steps as the
// desktop programs' OpenCC ones, the field's phrases first.
ScriptConversions RecordedScriptConversions(const RecordedStockDictionaries& dictionaries, Script script);

// The simplifying map and the simplified-only characters recorded in `folder`; empty when the file
// cannot be read or is broken (texts are then compared as typed, as without OpenCC's data).
std::unordered_map<char32_t, char32_t> ReadRecordedSimplifyingCharacters(const std::string& folder);
std::unordered_set<char32_t> ReadRecordedSimplifiedOnlyCharacters(const std::string& folder);

// The recorded files' texts, sorted so the same entries always give the same bytes. Nullopt, with
// the entry in `problem`, for an entry the format cannot hold (an empty key or value, a tab, space
// or line break inside one).
std::optional<std::string> RecordedDictionaryText(const std::map<std::string, std::vector<std::string>>& entries,
                                                  std::string& problem);
std::string RecordedSimplifyingText(const std::unordered_map<char32_t, char32_t>& characters);
std::string RecordedSimplifiedOnlyText(const std::unordered_set<char32_t>& characters);

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionaries behind the scripts. The desktop programs read OpenCC's own; the web edition,
// which has no OpenCC, reads the same entries from tables exported from them when it is built.
// What script_text.h builds on; nothing else reads these.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/script_text.h"

namespace quorin::base {

// One conversion of simplified Chinese, segment by segment with the longest words first.
class TextConversion {
 public:
  virtual ~TextConversion() = default;
  virtual std::string Convert(std::string_view text) const = 0;
};

// The two conversions of a traditional script.
struct ScriptConversions {
  std::shared_ptr<const TextConversion> words;       // with the region's words (Taiwan: 檔案 for 文件)
  std::shared_ptr<const TextConversion> characters;  // the same characters' words, character for character
};

// The conversions of a traditional script; nullopt, with what was missing in `problem`, when the
// dictionaries cannot be read.
std::optional<ScriptConversions> LoadScriptConversions(Script script, std::string& problem);

// Each traditional or regional character with its simplified form, one character each; empty
// without the dictionaries.
std::unordered_map<char32_t, char32_t> LoadSimplifyingCharacters();

// The characters only simplified Chinese writes; empty without the dictionaries.
std::unordered_set<char32_t> LoadSimplifiedOnlyCharacters();

}  // namespace quorin::base

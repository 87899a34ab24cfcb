// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/script_tables.h"

#include <algorithm>
#include <set>
#include <utility>

#include "base/files.h"
#include "base/utf8.h"

namespace quorin::base {

namespace {

// Calls `each` with every line of the text, without its '\n'.
template <typename Each>
void ForEachLine(std::string_view text, const Each& each) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    each(text.substr(start, end - start));
    start = end + 1;
  }
}

// The bytes of the character at `pos` as OpenCC steps over it: by its lead byte alone. A byte no
// character starts with passes on alone (OpenCC would stop there).
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if ((lead & 0xE0) == 0xC0) length = 2;
  else if ((lead & 0xF0) == 0xE0) length = 3;
  else if ((lead & 0xF8) == 0xF0) length = 4;
  return std::min(length, text.size() - pos);
}

std::optional<ScriptDictionary::Match> FirstMatch(const ScriptDictionaryGroup& group, std::string_view text) {
  for (const auto& dictionary : group)
    if (std::optional<ScriptDictionary::Match> match = dictionary->LongestPrefix(text)) return match;
  return std::nullopt;
}

// The segments OpenCC's maximal-match segmentation cuts the text into.
std::vector<std::string> Segments(const ScriptDictionaryGroup& group, std::string_view text) {
  std::vector<std::string> segments;
  std::size_t runStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (const std::optional<ScriptDictionary::Match> match = FirstMatch(group, text.substr(pos))) {
      if (runStart < pos) segments.emplace_back(text.substr(runStart, pos - runStart));
      segments.emplace_back(text.substr(pos, match->keyLength));
      pos += match->keyLength;
      runStart = pos;
    } else {
      pos += CharacterLength(text, pos);
    }
  }
  if (runStart < pos) segments.emplace_back(text.substr(runStart));
  return segments;
}

std::string ConvertSegment(const ScriptDictionaryGroup& group, std::string_view segment) {
  std::string converted;
  converted.reserve(segment.size());
  std::size_t pos = 0;
  while (pos < segment.size()) {
    if (const std::optional<ScriptDictionary::Match> match = FirstMatch(group, segment.substr(pos))) {
      converted += match->value;
      pos += match->keyLength;
    } else {
      const std::size_t length = CharacterLength(segment, pos);
      converted += segment.substr(pos, length);
      pos += length;
    }
  }
  return converted;
}

class DictionaryConversion final : public TextConversion {
 public:
  DictionaryConversion(ScriptDictionaryGroup segmentation, std::vector<ScriptDictionaryGroup> steps)
      : segmentation_(std::move(segmentation)), steps_(std::move(steps)) {}

  std::string Convert(std::string_view text) const override {
    std::vector<std::string> segments = Segments(segmentation_, text);
    for (const ScriptDictionaryGroup& step : steps_)
      for (std::string& segment : segments) segment = ConvertSegment(step, segment);
    std::string converted;
    for (const std::string& segment : segments) converted += segment;
    return converted;
  }

 private:
  ScriptDictionaryGroup segmentation_;
  std::vector<ScriptDictionaryGroup> steps_;
};

// A line of a recorded character file as its characters; empty for a line with a broken character.
std::u32string LineCharacters(std::string_view line) {
  if (!IsValidUtf8(line)) return {};
  return Utf8ToCodePoints(line);
}

bool FitsRecordedFormat(std::string_view text, std::string_view forbidden) {
  return !text.empty() && text.find_first_of(forbidden) == std::string_view::npos;
}

}  // namespace

std::optional<ScriptDictionary> ScriptDictionary::FromRecordedText(std::string text, std::string& problem) {
  ScriptDictionary dictionary;
  auto owned = std::make_shared<const std::string>(std::move(text));
  // An entry takes some 20 bytes: reserving once keeps the 50,000 phrases quick to load.
  dictionary.values_.reserve(owned->size() / 16);
  int lineNumber = 0;
  bool broken = false;
  ForEachLine(*owned, [&](std::string_view line) {
    ++lineNumber;
    if (broken) return;
    const std::size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size()) {
      problem = "第" + std::to_string(lineNumber) + "行";
      broken = true;
      return;
    }
    const std::string_view values = line.substr(tab + 1);
    dictionary.Add(line.substr(0, tab), values.substr(0, values.find(' ')));
  });
  if (broken) return std::nullopt;
  dictionary.text_ = std::move(owned);
  return dictionary;
}

ScriptDictionary ScriptDictionary::FromFieldText(std::string_view text) {
  ScriptDictionary dictionary;
  auto owned = std::make_shared<const std::string>(text);
  ForEachLine(*owned, [&](std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (line.empty() || line.front() == '#' || tab == std::string_view::npos) return;
    dictionary.Add(line.substr(0, tab), line.substr(tab + 1));
  });
  dictionary.text_ = std::move(owned);
  return dictionary;
}

void ScriptDictionary::Add(std::string_view key, std::string_view usualValue) {
  // Of a key written twice, the first line counts.
  values_.emplace(key, usualValue);
  longestKey_ = std::max(longestKey_, key.size());
}

std::optional<ScriptDictionary::Match> ScriptDictionary::LongestPrefix(std::string_view text) const {
  // Only where a character ends: a key is whole characters.
  for (std::size_t length = std::min(longestKey_, text.size()); length > 0; --length) {
    if (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) continue;
    if (const auto found = values_.find(text.substr(0, length)); found != values_.end()) return Match{length, found->second};
  }
  return std::nullopt;
}

std::shared_ptr<const TextConversion> MakeDictionaryConversion(ScriptDictionaryGroup segmentation,
                                                               std::vector<ScriptDictionaryGroup> steps) {
  return std::make_shared<DictionaryConversion>(std::move(segmentation), std::move(steps));
}

std::optional<RecordedStockDictionaries> ReadRecordedStockDictionaries(const std::string& folder, std::string& problem) {
  std::array<std::shared_ptr<const ScriptDictionary>, kRecordedStockDictionaries.size()> read;
  for (std::size_t i = 0; i < read.size(); ++i) {
    const std::string path = folder + kRecordedStockDictionaries[i] + ".txt";
    std::optional<std::string> text = ReadFileBytes(path);
    if (!text) {
      problem = "无法读取繁体字典（" + path + "）";
      return std::nullopt;
    }
    std::string where;
    std::optional<ScriptDictionary> dictionary = ScriptDictionary::FromRecordedText(std::move(*text), where);
    if (!dictionary) {
      problem = "繁体字典有误（" + path + "，" + where + "）";
      return std::nullopt;
    }
    read[i] = std::make_shared<const ScriptDictionary>(std::move(*dictionary));
  }
  return RecordedStockDictionaries{read[0], read[1], read[2], read[3], read[4]};
}

ScriptConversions RecordedScriptConversions(const RecordedStockDictionaries& dictionaries, Script script) {
  // The field's words come first, as in the desktop programs' groups.
  const auto field = std::make_shared<const ScriptDictionary>(ScriptDictionary::FromFieldText(FieldPhrases()));
  const ScriptDictionaryGroup segmentation{field, dictionaries.phrases};
  const ScriptDictionaryGroup toTraditional{field, dictionaries.phrases, dictionaries.characters};
  ScriptConversions conversions;
  if (script == Script::kTraditionalTaiwan) {
    const ScriptDictionaryGroup variants{dictionaries.taiwanVariants};
    conversions.words = MakeDictionaryConversion(segmentation, {toTraditional, {dictionaries.taiwanPhrases}, variants});
    conversions.characters = MakeDictionaryConversion(segmentation, {toTraditional, variants});
  } else {
    const auto hongKongField =
        std::make_shared<const ScriptDictionary>(ScriptDictionary::FromFieldText(HongKongFieldPhrases()));
    conversions.words =
        MakeDictionaryConversion(segmentation, {toTraditional, {dictionaries.hongKongVariants}, {hongKongField}});
    conversions.characters = conversions.words;
  }
  return conversions;
}

std::unordered_map<char32_t, char32_t> ReadRecordedSimplifyingCharacters(const std::string& folder) {
  const std::optional<std::string> text = ReadFileBytes(folder + kRecordedSimplifyingFile);
  std::unordered_map<char32_t, char32_t> characters;
  if (!text) return characters;
  bool broken = false;
  ForEachLine(*text, [&](std::string_view line) {
    const std::u32string pair = LineCharacters(line);
    if (pair.size() != 3 || pair[1] != U'\t') broken = true;
    else characters.emplace(pair[0], pair[2]);
  });
  if (broken) characters.clear();
  return characters;
}

std::unordered_set<char32_t> ReadRecordedSimplifiedOnlyCharacters(const std::string& folder) {
  const std::optional<std::string> text = ReadFileBytes(folder + kRecordedSimplifiedOnlyFile);
  std::unordered_set<char32_t> characters;
  if (!text) return characters;
  bool broken = false;
  ForEachLine(*text, [&](std::string_view line) {
    const std::u32string one = LineCharacters(line);
    if (one.size() != 1) broken = true;
    else characters.insert(one[0]);
  });
  if (broken) characters.clear();
  return characters;
}

std::optional<std::string> RecordedDictionaryText(const std::map<std::string, std::vector<std::string>>& entries,
                                                  std::string& problem) {
  std::string text;
  for (const auto& [key, values] : entries) {
    bool fits = FitsRecordedFormat(key, "\t\n") && !values.empty();
    for (const std::string& value : values) fits = fits && FitsRecordedFormat(value, " \t\n");
    if (!fits) {
      problem = "无法记录字典条目：" + key;
      return std::nullopt;
    }
    text += key;
    char separator = '\t';
    for (const std::string& value : values) {
      text += separator;
      text += value;
      separator = ' ';
    }
    text += '\n';
  }
  return text;
}

std::string RecordedSimplifyingText(const std::unordered_map<char32_t, char32_t>& characters) {
  const std::map<char32_t, char32_t> sorted(characters.begin(), characters.end());
  std::string text;
  for (const auto& [from, to] : sorted) {
    AppendUtf8(text, from);
    text += '\t';
    AppendUtf8(text, to);
    text += '\n';
  }
  return text;
}

std::string RecordedSimplifiedOnlyText(const std::unordered_set<char32_t>& characters) {
  const std::set<char32_t> sorted(characters.begin(), characters.end());
  std::string text;
  for (const char32_t c : sorted) {
    AppendUtf8(text, c);
    text += '\n';
  }
  return text;
}

}  // namespace quorin::base

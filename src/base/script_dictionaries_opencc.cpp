// SPDX-License-Identifier: GPL-3.0-or-later
// The scripts' dictionaries as OpenCC reads them, with the field's own words first.
#include "base/script_dictionaries.h"

#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/DictGroup.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MarisaDict.hpp>
#include <opencc/MaxMatchSegmentation.hpp>
#include <opencc/TextDict.hpp>

#include <algorithm>
#include <list>
#include <vector>

#include "base/utf8.h"

namespace quorin::base {

namespace {

// Debian's libopencc-data puts the dictionaries here.
constexpr const char* kOpenccDictionaryFolder = "/usr/share/opencc/";

opencc::DictPtr StockDictionary(const char* file) {
  return opencc::SerializableDict::NewFromFile<opencc::MarisaDict>(std::string(kOpenccDictionaryFolder) + file);
}

// The field's dictionary: "word<TAB>form" lines; '#' starts a comment line.
opencc::DictPtr FieldDictionary(std::string_view text) {
  auto lexicon = std::make_shared<opencc::Lexicon>();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t tab = line.find('\t');
    if (line.empty() || line.front() == '#' || tab == std::string_view::npos) continue;
    lexicon->Add(opencc::DictEntryFactory::New(std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))));
  }
  lexicon->Sort();
  return std::make_shared<opencc::TextDict>(lexicon);
}

opencc::DictPtr Group(std::list<opencc::DictPtr> dictionaries) {
  return std::make_shared<opencc::DictGroup>(dictionaries);
}

opencc::ConverterPtr MakeConverter(opencc::DictPtr segmentation, std::list<opencc::DictPtr> steps) {
  std::list<opencc::ConversionPtr> conversions;
  for (auto& step : steps) conversions.push_back(std::make_shared<opencc::Conversion>(step));
  return std::make_shared<opencc::Converter>("quorin", std::make_shared<opencc::MaxMatchSegmentation>(segmentation),
                                             std::make_shared<opencc::ConversionChain>(conversions));
}

std::string Run(const opencc::Converter& converter, std::string_view text) {
  return converter.Convert(std::string(text));
}

// Calls `each` with every entry of one of OpenCC's dictionaries whose key is one character.
template <typename Each>
void ForEachCharacterEntry(const char* file, const Each& each) {
  const opencc::DictPtr dictionary = StockDictionary(file);
  const opencc::LexiconPtr lexicon = dictionary->GetLexicon();
  for (const auto& entry : *lexicon) {
    const std::u32string key = Utf8ToCodePoints(entry->Key());
    if (key.size() == 1) each(key[0], *entry);
  }
}

class OpenccConversion final : public TextConversion {
 public:
  explicit OpenccConversion(opencc::ConverterPtr converter) : converter_(std::move(converter)) {}
  std::string Convert(std::string_view text) const override { return Run(*converter_, text); }

 private:
  opencc::ConverterPtr converter_;
};

std::shared_ptr<const TextConversion> Conversion(opencc::DictPtr segmentation, std::list<opencc::DictPtr> steps) {
  return std::make_shared<OpenccConversion>(MakeConverter(std::move(segmentation), std::move(steps)));
}

}  // namespace

std::optional<ScriptConversions> LoadScriptConversions(Script script, std::string& problem) {
  try {
    // The field's words come first: in a group the first dictionary with a word starting the text
    // decides, with its longest such word, even where a later one has a longer word.
    const opencc::DictPtr field = FieldDictionary(FieldPhrases());
    const opencc::DictPtr phrases = StockDictionary("STPhrases.ocd2");
    const opencc::DictPtr segmentation = Group({field, phrases});
    const opencc::DictPtr toTraditional = Group({field, phrases, StockDictionary("STCharacters.ocd2")});
    ScriptConversions conversions;
    if (script == Script::kTraditionalTaiwan) {
      const opencc::DictPtr variants = StockDictionary("TWVariants.ocd2");
      conversions.words = Conversion(segmentation, {toTraditional, StockDictionary("TWPhrases.ocd2"), variants});
      conversions.characters = Conversion(segmentation, {toTraditional, variants});
    } else {
      conversions.words = Conversion(segmentation, {toTraditional, StockDictionary("HKVariants.ocd2"),
                                                    FieldDictionary(HongKongFieldPhrases())});
      conversions.characters = conversions.words;
    }
    return conversions;
  } catch (const std::exception& e) {
    problem = std::string("无法读取OpenCC的字典（") + kOpenccDictionaryFolder + "）：" + e.what();
    return std::nullopt;
  }
}

std::unordered_map<char32_t, char32_t> LoadSimplifyingCharacters() {
  std::unordered_map<char32_t, char32_t> table;
  // Each one-character key with its usual one-character form.
  const auto readInto = [](const char* file, std::unordered_map<char32_t, char32_t>& into) {
    ForEachCharacterEntry(file, [&](char32_t key, const opencc::DictEntry& entry) {
      const std::u32string form = Utf8ToCodePoints(entry.GetDefault());
      if (form.size() == 1) into.emplace(key, form[0]);
    });
  };
  try {
    // Regional variants (裡, 衞) first become OpenCC's standard forms, then simplified ones.
    std::unordered_map<char32_t, char32_t> standard;
    for (const char* variants : {"TWVariantsRev.ocd2", "HKVariantsRev.ocd2"}) readInto(variants, standard);
    std::unordered_map<char32_t, char32_t> simplified;
    readInto("TSCharacters.ocd2", simplified);
    const auto toSimplified = [&](char32_t c) {
      const auto found = simplified.find(c);
      return found == simplified.end() ? c : found->second;
    };
    for (const auto& [from, to] : simplified) table.emplace(from, to);
    for (const auto& [from, to] : standard) table[from] = toSimplified(to);
  } catch (const std::exception&) {
    table.clear();  // without OpenCC's data, both sides are compared as typed
  }
  return table;
}

std::unordered_set<char32_t> LoadSimplifiedOnlyCharacters() {
  std::unordered_set<char32_t> characters;
  try {
    ForEachCharacterEntry("STCharacters.ocd2", [&](char32_t key, const opencc::DictEntry& entry) {
      const std::vector<std::string> forms = entry.Values();
      if (std::find(forms.begin(), forms.end(), entry.Key()) == forms.end()) characters.insert(key);
    });
  } catch (const std::exception&) {
    characters.clear();
  }
  return characters;
}

}  // namespace quorin::base

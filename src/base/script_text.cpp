// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/script_text.h"

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
#include <array>
#include <atomic>
#include <list>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/ini_file.h"
#include "base/utf8.h"

namespace quorin::base {

namespace {

// Each converter's number, for the threads' caches of runs.
std::atomic<std::uint64_t> lastConverterSerial{0};

// Debian's libopencc-data puts the dictionaries here.
constexpr const char* kOpenccDictionaryFolder = "/usr/share/opencc/";

struct ScriptNames {
  Script script;
  std::string_view name;
  std::string_view caption;
};
constexpr std::array<ScriptNames, 3> kScripts{{
    {Script::kSimplified, "zh-Hans", "简体中文"},
    {Script::kTraditionalTaiwan, "zh-Hant-TW", "繁體中文（台灣）"},
    {Script::kTraditionalHongKong, "zh-Hant-HK", "繁體中文（香港）"},
}};

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

}  // namespace

struct ScriptConverter::Engine {
  opencc::ConverterPtr words;       // with the region's words (Taiwan: 檔案 for 文件)
  opencc::ConverterPtr characters;  // the same characters' words, character for character
};

std::optional<Script> ScriptFromName(std::string_view name) {
  for (const auto& s : kScripts)
    if (s.name == name) return s.script;
  return std::nullopt;
}

std::string_view ScriptName(Script script) { return kScripts[static_cast<int>(script)].name; }
std::string_view ScriptCaption(Script script) { return kScripts[static_cast<int>(script)].caption; }

Script ReadScriptSetting(const IniFile& setIni) {
  return ScriptFromName(setIni.ReadString("set", kScriptKey, ScriptName(Script::kSimplified))).value_or(Script::kSimplified);
}

Script ReadScriptSetting(const std::string& iniPath) { return ReadScriptSetting(IniFile(iniPath)); }

ScriptConverter::ScriptConverter(Script script) : script_(script), serial_(++lastConverterSerial) {
  if (script == Script::kSimplified) return;
  try {
    // The field's words come first: in a group the longest match wins, and of equal ones the first.
    const opencc::DictPtr field = FieldDictionary(FieldPhrases());
    const opencc::DictPtr phrases = StockDictionary("STPhrases.ocd2");
    const opencc::DictPtr segmentation = Group({field, phrases});
    const opencc::DictPtr toTraditional = Group({field, phrases, StockDictionary("STCharacters.ocd2")});
    auto engine = std::make_unique<Engine>();
    if (script == Script::kTraditionalTaiwan) {
      const opencc::DictPtr variants = StockDictionary("TWVariants.ocd2");
      engine->words = MakeConverter(segmentation, {toTraditional, StockDictionary("TWPhrases.ocd2"), variants});
      engine->characters = MakeConverter(segmentation, {toTraditional, variants});
    } else {
      engine->words = MakeConverter(segmentation, {toTraditional, StockDictionary("HKVariants.ocd2"),
                                                   FieldDictionary(HongKongFieldPhrases())});
      engine->characters = engine->words;
    }
    engine_ = std::move(engine);
  } catch (const std::exception& e) {
    problem_ = std::string("无法读取OpenCC的字典（") + kOpenccDictionaryFolder + "）：" + e.what();
  }
}

ScriptConverter::~ScriptConverter() = default;

std::string ScriptConverter::ConvertWithRegionalWords(std::string_view text) const {
  if (!engine_ || text.empty()) return std::string(text);
  return Run(*engine_->words, text);
}

std::string ScriptConverter::Convert(std::string_view text) const {
  if (!engine_ || text.empty()) return std::string(text);
  // ASCII (digits, spaces, line ends) never changes and never stands inside a word, so only the
  // runs between it are converted; the engine's texts repeat the same runs (年, 月, 日课分析：)
  // endlessly, and each is converted once.
  std::string converted;
  converted.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    const bool ascii = static_cast<unsigned char>(text[pos]) < 0x80;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) < 0x80) == ascii) ++end;
    if (ascii) {
      converted.append(text.substr(pos, end - pos));
    } else {
      AppendRun(converted, text.substr(pos, end - pos));
    }
    pos = end;
  }
  return converted;
}

namespace {

// Runs are looked up by string_view, without a copy.
struct RunHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Each thread keeps the runs it converted, read without a lock: a long list converts the same
// few runs hundreds of thousands of times. Keyed by the converter's serial number, as a later
// converter may sit at a freed one's address. Long runs (an I Ching chapter, a remark) are
// seldom shown twice and are not kept; the cache stays small.
constexpr std::size_t kRememberedRuns = 4096;
constexpr std::size_t kLongestRememberedRun = 256;
struct ThreadRuns {
  std::uint64_t converter = 0;
  std::unordered_map<std::string, std::string, RunHash, std::equal_to<>> runs;
};

}  // namespace

void ScriptConverter::AppendRun(std::string& out, std::string_view text) const {
  thread_local ThreadRuns local;
  if (local.converter != serial_) {
    local.converter = serial_;
    local.runs.clear();
  }
  if (const auto found = local.runs.find(text); found != local.runs.end()) {
    out += found->second;
    return;
  }
  const std::string converted = ConvertRun(text);
  if (text.size() <= kLongestRememberedRun) {
    if (local.runs.size() >= kRememberedRuns) local.runs.clear();
    local.runs.emplace(text, converted);
  }
  out += converted;
}

std::string ScriptConverter::ConvertRun(std::string_view text) const {
  std::string converted = Run(*engine_->characters, text);
  if (CharacterCount(converted) == CharacterCount(text)) return converted;
  // A phrase of another length: character by character keeps every place.
  converted.clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    NextCodePoint(text, pos);
    const std::string one = Run(*engine_->characters, text.substr(start, pos - start));
    converted += CharacterCount(one) == 1 ? one : std::string(text.substr(start, pos - start));
  }
  return converted;
}

namespace {

std::atomic<Script> shownScript{Script::kSimplified};
std::mutex convertersMutex;
// Built once per script and kept to the end: texts are converted from worker threads too.
std::array<std::unique_ptr<ScriptConverter>, kScripts.size()> converters;

const ScriptConverter* ConverterOf(Script script) {
  if (script == Script::kSimplified) return nullptr;
  const std::lock_guard lock(convertersMutex);
  auto& slot = converters[static_cast<int>(script)];
  if (!slot) slot = std::make_unique<ScriptConverter>(script);
  return slot.get();
}

}  // namespace

void SetShownScript(Script script) {
  shownScript = script;
  (void)ConverterOf(script);
}

Script ShownScript() { return shownScript; }

const ScriptConverter* ShownScriptConverter() { return ConverterOf(shownScript); }

std::string ShownText(std::string_view text) {
  const ScriptConverter* converter = ShownScriptConverter();
  return converter ? converter->Convert(text) : std::string(text);
}

std::string SimplifiedForComparison(std::string_view text) {
  // Character by character: a search compares short names and keywords with whole remarks, and
  // a table lookup per character keeps that as fast as a plain search. Regional variants
  // (裡, 衞) first become OpenCC's standard forms, then simplified ones.
  static const std::unordered_map<char32_t, char32_t> fold = [] {
    std::unordered_map<char32_t, char32_t> table;
    // Each one-character key with its usual one-character form.
    const auto readInto = [](const char* file, std::unordered_map<char32_t, char32_t>& into) {
      ForEachCharacterEntry(file, [&](char32_t key, const opencc::DictEntry& entry) {
        const std::u32string form = Utf8ToCodePoints(entry.GetDefault());
        if (form.size() == 1) into.emplace(key, form[0]);
      });
    };
    try {
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
  }();
  std::string folded;
  folded.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (c < 0x80) {
      folded += static_cast<char>(c);
    } else if (const auto found = fold.find(c); found != fold.end()) {
      AppendUtf8(folded, found->second);
    } else {
      folded.append(text.substr(start, pos - start));
    }
  }
  return folded;
}

bool HasSimplifiedOnlyCharacters(std::string_view text) {
  static const std::unordered_set<char32_t> simplifiedOnly = [] {
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
  }();
  std::size_t pos = 0;
  while (pos < text.size())
    if (simplifiedOnly.contains(NextCodePoint(text, pos))) return true;
  return false;
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/script_text.h"


#include <algorithm>
#include <array>
#include <atomic>
#include <list>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/ini_file.h"
#include "base/script_dictionaries.h"
#include "base/utf8.h"

namespace quorin::base {

namespace {

// Each converter's number, for the threads' caches of runs.
std::atomic<std::uint64_t> lastConverterSerial{0};

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

}  // namespace

struct ScriptConverter::Engine : ScriptConversions {};

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
  if (std::optional<ScriptConversions> loaded = LoadScriptConversions(script, problem_)) {
    engine_ = std::make_unique<Engine>(Engine{std::move(*loaded)});
  }
}

ScriptConverter::~ScriptConverter() = default;

std::string ScriptConverter::ConvertWithRegionalWords(std::string_view text) const {
  if (!engine_ || text.empty()) return std::string(text);
  return engine_->words->Convert(text);
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
  std::string converted = engine_->characters->Convert(text);
  if (CharacterCount(converted) == CharacterCount(text)) return converted;
  // A phrase of another length: character by character keeps every place.
  converted.clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    NextCodePoint(text, pos);
    const std::string one = engine_->characters->Convert(text.substr(start, pos - start));
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
  static const std::unordered_map<char32_t, char32_t> fold = LoadSimplifyingCharacters();
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
  static const std::unordered_set<char32_t> simplifiedOnly = LoadSimplifiedOnlyCharacters();
  std::size_t pos = 0;
  while (pos < text.size())
    if (simplifiedOnly.contains(NextCodePoint(text, pos))) return true;
  return false;
}

}  // namespace quorin::base

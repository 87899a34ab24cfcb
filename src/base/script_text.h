// SPDX-License-Identifier: GPL-3.0-or-later
// The script the user reads: simplified Chinese (the program's own texts) or traditional
// Chinese as written in Taiwan or Hong Kong. Texts are written and stored in simplified
// Chinese; they are converted only where they reach a screen, a file or a terminal.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::base {

enum class Script { kSimplified, kTraditionalTaiwan, kTraditionalHongKong };
// Every script, in the order the settings offer them.
inline constexpr std::array<Script, 3> kAllScripts{Script::kSimplified, Script::kTraditionalTaiwan,
                                                   Script::kTraditionalHongKong};

// "zh-Hans", "zh-Hant-TW", "zh-Hant-HK": the names of the command line and of set.ini.
std::optional<Script> ScriptFromName(std::string_view name);
std::string_view ScriptName(Script script);
// What the settings dialog offers: "简体中文", "繁體中文（台灣）", "繁體中文（香港）".
std::string_view ScriptCaption(Script script);

class IniFile;

// set.ini's [set] Script; a file without it (older versions) reads as simplified Chinese.
Script ReadScriptSetting(const IniFile& setIni);
Script ReadScriptSetting(const std::string& iniPath);
inline constexpr const char* kScriptKey = "Script";

// Converts simplified Chinese into one script with OpenCC's dictionaries and the program's
// own dictionary of the field's words, which comes first. Building one loads dictionaries
// (tens of milliseconds): build it once and keep it.
class ScriptConverter {
 public:
  explicit ScriptConverter(Script script);
  ~ScriptConverter();
  ScriptConverter(const ScriptConverter&) = delete;
  ScriptConverter& operator=(const ScriptConverter&) = delete;

  Script script() const { return script_; }
  // Empty when the dictionaries could be read; else what was missing (the texts then stay
  // simplified).
  const std::string& problem() const { return problem_; }
  // The text in the script, character for character: the engine's texts (chart, calendar,
  // I Ching) keep their words and every character's place, since spans of the chart text are
  // counted and coloured by position.
  std::string Convert(std::string_view text) const;
  // The text with the region's own words as well (Taiwan: 檔案 for 文件, 軟體 for 软件): the
  // windows' captions and messages, where a reader expects the words of their own software.
  std::string ConvertWithRegionalWords(std::string_view text) const;

 private:
  struct Engine;
  void AppendRun(std::string& out, std::string_view text) const;
  std::string ConvertRun(std::string_view text) const;

  Script script_;
  std::uint64_t serial_;  // tells the threads' caches of runs apart
  std::unique_ptr<Engine> engine_;
  std::string problem_;
};

// The program's shown script, set once at start (from the settings or --script) and again
// when the user changes it. Every text the engine writes passes ShownText where it is shown.
void SetShownScript(Script script);
Script ShownScript();
// The converter of the shown script, built at the first use; null for simplified Chinese.
const ScriptConverter* ShownScriptConverter();
// The text in the shown script, character for character (ScriptConverter::Convert);
// simplified Chinese passes unchanged, at no cost.
std::string ShownText(std::string_view text);

// Either script to simplified Chinese character by character, for comparing what the user
// types with what is stored (臺北 finds 台北, 張三 finds 张三). The table is built at the
// first use; malformed UTF-8 is kept as it is.
std::string SimplifiedForComparison(std::string_view text);

// Whether the text holds a character only simplified Chinese writes (国, 韵): one OpenCC maps
// to other characters and never gives as a form of its own. What checks that a text shown
// in a traditional script was converted or translated.
bool HasSimplifiedOnlyCharacters(std::string_view text);

// The program's own dictionary of the field's words (OpenCC's text format: a simplified
// word, a tab, its traditional form), as shipped with the program.
std::string_view FieldPhrases();
// Hong Kong's standard forms where OpenCC's Hong Kong variants leave another (恆 → 恒).
std::string_view HongKongFieldPhrases();

}  // namespace quorin::base

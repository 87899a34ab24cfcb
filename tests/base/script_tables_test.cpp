// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/script_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/files.h"
#include "support/temp_dir.h"
#include "web_tables_recording.h"

namespace quorin::base {
namespace {

ScriptDictionary Dictionary(const std::string& text) {
  std::string problem;
  std::optional<ScriptDictionary> dictionary = ScriptDictionary::FromRecordedText(text, problem);
  EXPECT_TRUE(dictionary) << problem;
  return dictionary ? *dictionary : ScriptDictionary::FromFieldText("");
}

std::shared_ptr<const ScriptDictionary> Shared(const std::string& text) {
  return std::make_shared<const ScriptDictionary>(Dictionary(text));
}

// OpenCC's conversion on small dictionaries: what decides where the recorded tables must convert
// as OpenCC does, right or not.
TEST(DictionaryConversion, ConvertsAsOpenccDoes) {
  const auto a = Shared("a\t1\nxy\t7\n");
  const auto ab = Shared("ab\t2 3\n");
  const auto bc = Shared("bc\tX\n");
  const struct {
    ScriptDictionaryGroup segmentation;
    std::vector<ScriptDictionaryGroup> steps;
    const char* text;
    const char* converted;
  } rows[] = {
      // In a group the first dictionary with any key starting the text decides, even with a shorter key.
      {{}, {{a, ab}}, "abc", "1bc"},
      {{}, {{ab, a}}, "abc", "2c"},
      // The usual (first) value.
      {{}, {{ab}}, "ab", "2"},
      // A later step converts each segment of the cut alone: no key across a cut ...
      {{ab}, {{bc}}, "abc", "abc"},
      // ... but across the characters of a run no word of the cut starts.
      {{ab}, {{bc}}, "zbc", "zX"},
      // Steps follow each other on the converted segments.
      {{}, {{ab}, {Shared("2\tb\n")}, {bc}}, "abc", "X"},
      {{}, {{a}}, "", ""},
      // Characters of any length pass as they are.
      {{}, {{a}}, "é中😀a", "é中😀1"},
  };
  for (const auto& r : rows) EXPECT_EQ(MakeDictionaryConversion(r.segmentation, r.steps)->Convert(r.text), r.converted) << r.text;
}

TEST(DictionaryConversion, FieldTextReadsAsTheDesktopPrograms) {
  // Comments and lines without a tab are skipped; the rest of a line after its first tab is the value.
  const ScriptDictionary field = ScriptDictionary::FromFieldText("# 冲\t衝\n冲\t沖\nbroken\n克\t剋 克\n\n");
  EXPECT_EQ(field.size(), 2u);
  ASSERT_TRUE(field.LongestPrefix("克服"));
  EXPECT_EQ(field.LongestPrefix("克服")->value, "剋 克");
  EXPECT_FALSE(field.LongestPrefix("#"));

  std::string problem;
  for (const char* broken : {"a\n", "\ta\n", "a\t\n", "a\t1\nb"}) {
    EXPECT_FALSE(ScriptDictionary::FromRecordedText(broken, problem)) << broken;
  }
  EXPECT_EQ(problem, "第2行");
}

// The tables recorded once for the whole test program, and OpenCC's conversions beside them.
struct RecordedScripts {
  testing::TempDir folder;
  std::string failed = web_tables::RecordScriptTables(folder.Path());
  std::string problem;
  std::optional<RecordedStockDictionaries> dictionaries = ReadRecordedStockDictionaries(folder.Path(), problem);
};

const RecordedScripts& Recorded() {
  static const RecordedScripts recorded;
  return recorded;
}

// The keys of a recorded dictionary file.
std::vector<std::string> RecordedKeys(const std::string& file) {
  std::vector<std::string> keys;
  const std::string text = testing::ReadBytes(Recorded().folder.File(file));
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    keys.push_back(text.substr(start, text.find('\t', start) - start));
    start = end + 1;
  }
  return keys;
}

// The field's dictionaries, the program's texts (help, I Ching), keys of every dictionary sampled
// with a fixed seed, and random strings of keys and other characters: line by line.
std::vector<std::string> Corpus() {
  std::vector<std::string> lines;
  const auto addLines = [&](const std::string& text, bool keysOnly) {
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      lines.push_back(keysOnly ? line.substr(0, line.find('\t')) : line);
      start = end + 1;
    }
  };
  for (const char* file : {"data/script/field_phrases.txt", "data/script/field_phrases_hk.txt"})
    addLines(testing::ReadBytes(testing::SourcePath(file)), true);
  for (const char* file : {"data/help/guide.txt", "data/help/release_notes.txt", "data/iching/zhouyi.tsv"})
    addLines(testing::ReadBytes(testing::SourcePath(file)), false);

  std::mt19937 random(20240315);
  std::vector<std::string> keys;
  for (const char* name : kRecordedStockDictionaries) {
    const std::vector<std::string> all = RecordedKeys(std::string(name) + ".txt");
    std::sample(all.begin(), all.end(), std::back_inserter(keys), 1500, random);
  }
  lines.insert(lines.end(), keys.begin(), keys.end());
  const std::vector<std::string> between{"", "", "", "，", "A", "1 ", "的", "冲", "克", "后", "干", "于", "里"};
  for (int i = 0; i < 3000; ++i) {
    std::string mix;
    for (int n = std::uniform_int_distribution(2, 6)(random); n > 0; --n) {
      mix += keys[std::uniform_int_distribution<std::size_t>(0, keys.size() - 1)(random)];
      mix += between[std::uniform_int_distribution<std::size_t>(0, between.size() - 1)(random)];
    }
    lines.push_back(mix);
  }
  return lines;
}

TEST(RecordedScripts, ConvertLikeOpencc) {
  ASSERT_EQ(Recorded().failed, "");
  ASSERT_TRUE(Recorded().dictionaries) << Recorded().problem;
  const std::vector<std::string> corpus = Corpus();
  ASSERT_GT(corpus.size(), 5000u);
  for (const Script script : {Script::kTraditionalTaiwan, Script::kTraditionalHongKong}) {
    std::string problem;
    const std::optional<ScriptConversions> opencc = LoadScriptConversions(script, problem);
    ASSERT_TRUE(opencc) << problem;
    const ScriptConversions recorded = RecordedScriptConversions(*Recorded().dictionaries, script);
    int differences = 0;
    for (const std::string& line : corpus) {
      const std::string words = opencc->words->Convert(line);
      const std::string characters = opencc->characters->Convert(line);
      EXPECT_EQ(recorded.words->Convert(line), words) << line;
      EXPECT_EQ(recorded.characters->Convert(line), characters) << line;
      differences += words != line;
      if (HasFailure()) return;
    }
    EXPECT_GT(differences, 3000) << "the corpus hardly tells converting from copying";
  }
}

TEST(RecordedScripts, SimplifyingTablesAreOpenccs) {
  ASSERT_EQ(Recorded().failed, "");
  const auto simplifying = ReadRecordedSimplifyingCharacters(Recorded().folder.Path());
  EXPECT_GT(simplifying.size(), 3000u);
  EXPECT_TRUE(simplifying == LoadSimplifyingCharacters());
  const auto simplifiedOnly = ReadRecordedSimplifiedOnlyCharacters(Recorded().folder.Path());
  EXPECT_GT(simplifiedOnly.size(), 1000u);
  EXPECT_TRUE(simplifiedOnly == LoadSimplifiedOnlyCharacters());
}

TEST(RecordedScripts, MissingOrBrokenFilesSayWhich) {
  const testing::TempDir empty;
  std::string problem;
  EXPECT_FALSE(ReadRecordedStockDictionaries(empty.Path(), problem));
  EXPECT_EQ(problem, "无法读取繁体字典（" + empty.Path() + "STPhrases.txt）");
  EXPECT_TRUE(ReadRecordedSimplifyingCharacters(empty.Path()).empty());
  EXPECT_TRUE(ReadRecordedSimplifiedOnlyCharacters(empty.Path()).empty());

  ASSERT_EQ(Recorded().failed, "");
  const testing::TempDir broken;
  for (const auto& entry : std::filesystem::directory_iterator(Recorded().folder.Path()))
    std::filesystem::copy(entry.path(), broken.Path());
  testing::WriteBytes(broken.File("TWPhrases.txt"), "台\t臺\n无值\n");
  EXPECT_FALSE(ReadRecordedStockDictionaries(broken.Path(), problem));
  EXPECT_EQ(problem, "繁体字典有误（" + broken.Path() + "TWPhrases.txt，第2行）");
  testing::WriteBytes(broken.File(kRecordedSimplifyingFile), "臺\t台\n臺台\n");
  EXPECT_TRUE(ReadRecordedSimplifyingCharacters(broken.Path()).empty());
}

}  // namespace
}  // namespace quorin::base

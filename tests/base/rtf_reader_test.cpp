// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "base/rtf_writer.h"
#include "base/utf8.h"

namespace quorin::base {
namespace {

std::string Plain(std::string_view rtf) {
  const auto doc = ReadRtf(rtf);
  EXPECT_TRUE(doc.has_value()) << rtf;
  return doc ? doc->PlainText() : std::string("<not rtf>");
}

// As a Windows rich-edit control (Msftedit) saves a formatted remark.
constexpr std::string_view kRichEditSample =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18\\'d5\\'c5\\'c8\\'fd "
    "\\b\\'bc\\'aa\\b0\\par\r\n"
    "\\cf1\\i\\f1\\fs24 red italic\\cf0\\i0\\f0\\fs18\\par\r\n"
    "\\pard\\qc\\ul\\'be\\'d3\\'d6\\'d0\\ulnone\\line next\\tab x\\par\r\n"
    "\\pard\\fi-420\\li420\\cf2\\strike\\f2\\'ba\\'da\\strike0\\cf0\\f0\\par\r\n"
    "}\r\n";

TEST(RtfReader, ReadsARichEditFileWithItsFormats) {
  const auto doc = ReadRtf(kRichEditSample);
  ASSERT_TRUE(doc.has_value());
  ASSERT_EQ(doc->paragraphs.size(), 4u);
  EXPECT_EQ(doc->PlainText(), "张三 吉\nred italic\n居中\nnext\tx\n黑");

  const auto& first = doc->paragraphs[0].runs;
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].text, "张三 ");
  EXPECT_EQ(first[0].format.fontName, "宋体");
  EXPECT_EQ(first[0].format.pointSize, 9);
  EXPECT_FALSE(first[0].format.bold);
  EXPECT_TRUE(first[1].format.bold);

  const RichRun& red = doc->paragraphs[1].runs.at(0);
  EXPECT_EQ(red.format.fontName, "Arial");
  EXPECT_EQ(red.format.pointSize, 12);
  EXPECT_TRUE(red.format.italic);
  EXPECT_EQ(red.format.color, (RichColor{255, 0, 0}));

  const RichParagraph& centred = doc->paragraphs[2];
  EXPECT_EQ(centred.alignment, RichAlignment::kCenter);
  EXPECT_TRUE(centred.runs.at(0).format.underline);
  EXPECT_FALSE(centred.runs.back().format.underline);

  const RichParagraph& indented = doc->paragraphs[3];
  EXPECT_EQ(indented.alignment, RichAlignment::kLeft);
  EXPECT_EQ(indented.firstLineIndentTwips, -420);
  EXPECT_EQ(indented.leftIndentTwips, 420);
  EXPECT_EQ(indented.runs.at(0).format.fontName, "黑体");
  EXPECT_TRUE(indented.runs.at(0).format.strike);
  EXPECT_EQ(indented.runs.at(0).format.color, (RichColor{0, 0, 255}));
}

TEST(RtfReader, DecodesEscapesAndSpecialCharacters) {
  const struct {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1\\uc1\\u20320?\\u22909?}", "你好"},
      {"{\\rtf1\\uc1 \\u-10179?\\u-8704?!}", "😀!"},                 // surrogate pair as signed values
      {"{\\rtf1\\uc2\\u20320\\'c4\\'e3\\u22909\\'ba\\'c3}", "你好"},  // GBK fallback skipped
      {"{\\rtf1\\uc0\\u20320\\'c4\\'e3}", "你你"},                    // no fallback to skip
      {"{\\rtf1{\\uc1\\u8364 ?}?}", "€?"},                             // group end stops skipping
      {"{\\rtf1 a\\~b\\_c\\-d\\{\\}\\\\}", "a\u00A0b\u2011cd{}\\"},
      {"{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}", "—–‘’“”•"},
      {"{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f1\\fcharset0 Arial;}}\\f1 caf\\'e9 \\'80}", "café €"},
      {"{\\rtf1\\ansi\\ansicpg1252 na\\'efve}", "naïve"},
      {"{\\rtf1 a\\'d5}", "a\uFFFD"},  // a lone lead byte is shown, not dropped
      {"{\\rtf1 line\\\nnext}", "line\nnext"},
      {"{\\rtf1 one\r\ntwo}", "onetwo"},
      {"{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\nc"},
  };
  for (const auto& c : cases) EXPECT_EQ(Plain(c.rtf), c.text) << c.rtf;
}

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
  const struct {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1{\\*\\unknown junk {nested}}visible}", "visible"},
      {"{\\rtf1{\\pict\\wmetafile8\\picw100 0102abcdef}after}", "after"},
      {"{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}body}", "body"},
      {"{\\rtf1{\\info{\\title 标题}{\\author me}}body}", "body"},
      {"{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result shown}}x}", "x"},
      {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} end}", "link end"},
      {"{\\rtf1 a{\\*\\bkmkstart b}c}", "ac"},
      {"{\\rtf1 {\\pntext\\f0 1.\\tab}item}", "1.\titem"},
      {"{\\rtf1 bin:\\bin5 {}\\x\\ done}", "bin: done"},
      {"{\\rtf1 text} trailing text is not part of the document", "text"},
      {"{\\rtf1{\\header page header}{\\footer f}body}", "body"},
  };
  for (const auto& c : cases) EXPECT_EQ(Plain(c.rtf), c.text) << c.rtf;
}

TEST(RtfReader, TrailingParagraphMarkIsAbsorbed) {
  EXPECT_EQ(ReadRtf("{\\rtf1 a\\par}")->paragraphs.size(), 1u);
  EXPECT_EQ(ReadRtf("{\\rtf1 a\\par\\par}")->paragraphs.size(), 2u);
  EXPECT_EQ(ReadRtf("{\\rtf1 a}")->paragraphs.size(), 1u);
  EXPECT_EQ(ReadRtf("{\\rtf1}")->paragraphs.size(), 1u);
}

TEST(RtfReader, RefusesWhatIsNotRtf) {
  EXPECT_FALSE(ReadRtf("").has_value());
  EXPECT_FALSE(ReadRtf("输入自己的评语：").has_value());
  EXPECT_FALSE(ReadRtf("{\\rt").has_value());
  EXPECT_TRUE(ReadRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}").has_value());
}

TEST(RtfReader, MalformedInputNeitherCrashesNorHangs) {
  const std::string deep = "{\\rtf1 " + std::string(200000, '{') + "deep" + std::string(200000, '}') + "}";
  EXPECT_EQ(Plain(deep), "deep");
  const std::string cases[] = {
      "{\\rtf1",
      "{\\rtf1 abc",
      "{\\rtf1 \\'",
      "{\\rtf1 \\'4",
      "{\\rtf1 \\'zz ok}",
      "{\\rtf1 x}}}}}}",
      "{\\rtf1 \\bin999999999999 x",
      "{\\rtf1 \\bin-5 x}",
      "{\\rtf1 \\u99999999999999999 \\u-99999999999 x}",
      "{\\rtf1 \\uc99999999 \\u20320 abc}",
      "{\\rtf1 \\fs-5 \\fs99999999999 \\f-3 \\cf999 \\fi-999999999999 x}",
      "{\\rtf1 \\" + std::string(10000, 'a') + "99999999999999999999 x}",
      "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb",
      "{\\rtf1{\\colortbl\\red999\\green-1;\\blue;}\\cf1 x}",
      "{\\rtf1 \\u-10179?}",  // high surrogate without its partner
      "{\\rtf1 \\u-8704?}",   // low surrogate alone
      std::string("{\\rtf1 nul\0byte}", 16),
      "{\\rtf1 \\*}",
      "{\\rtf1 \\",
  };
  for (const std::string& rtf : cases) {
    const auto doc = ReadRtf(rtf);
    EXPECT_TRUE(doc.has_value()) << rtf.substr(0, 60);
  }
  EXPECT_EQ(Plain("{\\rtf1 \\'zz ok}"), "zz ok");
  EXPECT_EQ(Plain(std::string("{\\rtf1 nul\0byte}", 16)), "nulbyte");
}

std::vector<std::string> FontNamesOfRuns(const RichDocument& doc) {
  std::vector<std::string> names;
  for (const RichParagraph& paragraph : doc.paragraphs) {
    for (const RichRun& run : paragraph.runs) names.push_back(run.format.fontName);
  }
  return names;
}

// Many font tables, as a crafted remark may hold: each is read once, and a later
// definition of a font number replaces the earlier one.
std::string ManyFontTables(int count) {
  std::string tables;
  for (int i = 0; i < count; ++i) tables += "{\\fonttbl{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}}";
  return tables;
}

TEST(RtfReader, AFontNameComesFromItsLatestDefinitionAndIsCleaned) {
  const struct {
    std::string rtf;
    std::vector<std::string> fontNames;
  } cases[] = {
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\fonttbl{\\f0 Courier;}}\\f0 x}", {"Courier"}},
      {"{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f0 Courier;}}\\f0 x}", {"Courier"}},
      {"{\\rtf1{\\fonttbl{\\f0 Arial  ;}\\generator me;}\\f0 x}", {"Arial"}},  // a table that became a skipped group
      {"{\\rtf1\\uc1{\\fonttbl{\\f0 A\\u59?B\\u9?C\\'01D\\u8232?E ;}}\\f0 x}", {"ABCDE"}},
      {"{\\rtf1{\\fonttbl{\\f0 " + std::string(100000, 'A') + ";}}\\f0 x}", {std::string(256, 'A')}},
      {"{\\rtf1" + ManyFontTables(30000) + "{\\fonttbl{\\f0 Z;}}\\f29999 a\\f0 b\\f12345 c}", {"F29999", "Z", "F12345"}},
  };
  for (const auto& c : cases) {
    const auto doc = ReadRtf(c.rtf);
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(FontNamesOfRuns(*doc), c.fontNames) << c.rtf.substr(0, 80);
  }
}

// Font names are capped at 256 bytes of the name read, however the file spells its characters:
// a name written with \\'hh escapes and the same name written back as \\uN read alike.
TEST(RtfReader, AFontNameCapCountsTheNameReadWhateverItsEscapes) {
  std::string hexEscapes;
  for (int i = 0; i < 90; ++i) hexEscapes += "\\'ff";
  std::string unicodeEscapes;
  for (int i = 0; i < 90; ++i) unicodeEscapes += "\\u24352?";
  for (const std::string& name : {hexEscapes, unicodeEscapes, "\\'d5\\'c5" + unicodeEscapes + hexEscapes}) {
    const auto doc = ReadRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset134 " + name + ";}}\\f0 x}");
    ASSERT_TRUE(doc.has_value());
    const std::string read = FontNamesOfRuns(*doc).at(0);
    EXPECT_LE(read.size(), 256u) << name.substr(0, 40);
    EXPECT_TRUE(IsValidUtf8(read));
    EXPECT_EQ(ReadRtf(WriteRtf(*doc)), doc) << name.substr(0, 40);
  }
}

// What the reader returns is what a save writes back: read, write and read again
// gives the same document, text and formats alike.
TEST(RtfReader, RandomMutationsOfARealFileReadBackUnchangedAfterASave) {
  std::mt19937 random(20240607);
  const std::string sample(kRichEditSample);
  const char alphabet[] = "{}\\'0123456789abcdefu-;* \r\n\xd5\xc5";
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = sample;
    const int edits = 1 + static_cast<int>(random() % 20);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % mutated.size();
      switch (random() % 3) {
        case 0: mutated[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
        case 1: mutated.erase(at, 1 + random() % 8); break;
        default: mutated.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]); break;
      }
      if (mutated.empty()) mutated = "{";
    }
    const auto doc = ReadRtf(mutated);  // must return; sanitizers catch any bad access
    if (!doc) continue;                  // the header itself was mutated away
    ASSERT_EQ(ReadRtf(WriteRtf(*doc)), doc) << "round " << round << ": " << doc->PlainText() << "\nfrom " << mutated;
  }
}

}  // namespace
}  // namespace quorin::base

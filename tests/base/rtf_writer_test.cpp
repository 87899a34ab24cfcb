// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/rtf_writer.h"

#include <gtest/gtest.h>

#include "base/rtf_reader.h"

namespace quorin::base {
namespace {

RichDocument RoundTrip(const RichDocument& doc) {
  const auto back = ReadRtf(WriteRtf(doc));
  EXPECT_TRUE(back.has_value());
  return back.value_or(RichDocument{});
}

TEST(RtfWriter, WritesTheRichEditDialectInSevenBitAscii) {
  const std::string rtf = WriteRtf(RichDocument::FromPlainText("张三 {a}\\b\n第二行"));
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg936\\deff0"));
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\'d5\\'c5\\'c8\\'fd \\{a\\}\\\\b\\par"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\fs18"), std::string::npos);
  for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfWriter, PlainTextSurvivesLineByLine) {
  const char* texts[] = {"", "一行", "输入自己的评语：", "a\r\nb\rc\nd", "末尾换行\n", "\n\n两个空行在前",
                         "tab\there", "  leading spaces and trailing  ", "{\\rtf1 not a header}", "符号：①㈠ⅫЖ€"};
  for (const char* text : texts) {
    std::string expected = text;
    for (std::size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.replace(at, 2, "\n");
    for (char& c : expected) c = c == '\r' ? '\n' : c;
    EXPECT_EQ(RoundTrip(RichDocument::FromPlainText(text)).PlainText(), expected) << text;
  }
}

TEST(RtfWriter, FormattedDocumentRoundTripsExactly) {
  RichCharFormat plain;
  RichCharFormat bold = plain;
  bold.bold = true;
  RichCharFormat red = plain;
  red.color = RichColor{255, 0, 0};
  red.italic = true;
  red.pointSize = 14.5;
  RichCharFormat arial = plain;
  arial.fontName = "Arial";
  arial.underline = true;
  arial.strike = true;
  arial.color = RichColor{0, 0, 255};
  RichCharFormat kai = plain;
  kai.fontName = "楷体";
  kai.pointSize = 20;

  RichDocument doc;
  doc.paragraphs.push_back({{{"张三", plain}, {"吉", bold}, {"红色", red}}, RichAlignment::kLeft, 0, 0});
  doc.paragraphs.push_back({{{"Arial text\tafter tab", arial}}, RichAlignment::kCenter, 0, 0});
  doc.paragraphs.push_back({}); // an empty line
  doc.paragraphs.push_back({{{std::string("line one") + std::string(kLineSeparator) + "line two", kai}},
                            RichAlignment::kRight, -420, 420});
  doc.paragraphs.push_back({{{"한국 😀 é ü", plain}}, RichAlignment::kJustify, 200, 0});
  EXPECT_EQ(RoundTrip(doc), doc);
}

// A remark read and saved again keeps its text and formats: the reader returns only
// what the writer can write. Control characters other than the tab are dropped both ways.
TEST(RtfWriter, ReadWriteReadKeepsTheDocument) {
  const struct {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1\\uc1 a\\'01b\\u5?c\\'7fd\\u127?e\\u0?f\\'1fg}", "abcdefg"},
      {"{\\rtf1\\uc1 a\\'0ab\\'0dc\\u10?d\\u13?e}", "abcde"},
      {"{\\rtf1\\uc1 a\\'09b\\u9?c\\tab d\\u8232?e}", "a\tb\tc\td\ne"},
      {"{\\rtf1\\ansi\\ansicpg1252\\uc1 a\\'81b\\u133?c}", "a\u0081b\u0085c"},  // C1 characters are kept both ways
      {"{\\rtf1\\uc1{\\fonttbl{\\f0 A\\'01\\u59?;}{\\f1\\fcharset134 \\'ba\\'da\\'cc\\'e5;}{\\f2 B\\u9?;}}"
       "{\\colortbl;\\red1;\\red2;;}\\f2\\cf2 x\\f1\\cf1 y\\f0\\cf3 z\\f2\\cf2 w\\par\\qc\\par}",
       "xyzw\n"},
  };
  for (const auto& c : cases) {
    const auto doc = ReadRtf(c.rtf);
    ASSERT_TRUE(doc.has_value()) << c.rtf;
    EXPECT_EQ(doc->PlainText(), c.text) << c.rtf;
    EXPECT_EQ(RoundTrip(*doc), *doc) << c.rtf;
  }
}

TEST(RtfWriter, EmptyDocumentReadsAsOneEmptyParagraph) {
  const RichDocument back = RoundTrip(RichDocument{});
  ASSERT_EQ(back.paragraphs.size(), 1u);
  EXPECT_TRUE(back.paragraphs[0].runs.empty());
  EXPECT_EQ(RoundTrip(RichDocument::FromPlainText("")), RichDocument::FromPlainText(""));
}

}  // namespace
}  // namespace quorin::base

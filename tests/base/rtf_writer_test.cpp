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

TEST(RtfWriter, EmptyDocumentReadsAsOneEmptyParagraph) {
  const RichDocument back = RoundTrip(RichDocument{});
  ASSERT_EQ(back.paragraphs.size(), 1u);
  EXPECT_TRUE(back.paragraphs[0].runs.empty());
  EXPECT_EQ(RoundTrip(RichDocument::FromPlainText("")), RichDocument::FromPlainText(""));
}

}  // namespace
}  // namespace quorin::base

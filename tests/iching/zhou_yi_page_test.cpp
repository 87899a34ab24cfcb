// SPDX-License-Identifier: GPL-3.0-or-later
#include "iching/zhou_yi_page.h"

#include <gtest/gtest.h>

#include <sstream>

#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"
#include "iching/zhou_yi_texts.h"

namespace quorin::iching {
namespace {

// The line headings of a memo in order, e.g. "初六 九二 六三 九四 九五 上六"; the 用 blocks
// (with a full-width colon) are not line headings.
std::string LineHeadings(const std::string& memo) {
  const std::string star = "★";
  const std::size_t headingBytes = 6;  // two characters of three UTF-8 bytes
  std::string headings;
  std::istringstream lines(memo);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(star, 0) != 0 || line.size() <= star.size() + headingBytes) continue;
    if (line[star.size() + headingBytes] != ':') continue;
    if (!headings.empty()) headings += ' ';
    headings += line.substr(star.size(), headingBytes);
  }
  return headings;
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

std::string Memo(int palace, int member) {
  const std::string name = PalaceHexagramNames(palace).at(static_cast<std::size_t>(member));
  return HexagramMemoText(palace, member, name, HexagramLinesOfName(name, member == 0));
}

TEST(ZhouYiPage, NamesComeFromTheEightByteFields) {
  const std::vector<std::string> dui = PalaceHexagramNames(1);
  ASSERT_EQ(dui.size(), 8u);
  EXPECT_EQ(dui[0], "兑为泽");
  EXPECT_EQ(dui[6], "雷山小过");
  EXPECT_EQ(dui[7], "雷泽归妹");
  EXPECT_TRUE(PalaceHexagramNames(8).empty());
  EXPECT_EQ(HexagramLinesOfName("天风姤", false), "111112");
  EXPECT_EQ(HexagramLinesOfName("震为雷", true), "221221");
  EXPECT_TRUE(HexagramLinesOfName("无名", false).empty());
}

// Every hexagram: its name, its lines as the six-line chart codes them, seven texts with both
// parts, and no separator left in the memo. The first name of a palace is its pure hexagram.
TEST(ZhouYiPage, EveryHexagramHasItsLinesAndTexts) {
  const MLiuYaoGua chart;
  for (int palace = 0; palace < kTrigramCount; ++palace) {
    const std::vector<std::string> names = PalaceHexagramNames(palace);
    ASSERT_EQ(names.size(), 8u);
    for (int member = 0; member < kTrigramCount; ++member) {
      const int gua = palace * kTrigramCount + member;
      const std::string& name = names[static_cast<std::size_t>(member)];
      SCOPED_TRACE(name);
      EXPECT_EQ(name, HexagramName(gua));
      const std::string lines = HexagramLinesOfName(name, member == 0);
      EXPECT_EQ(lines, chart.GuaCode(gua));
      const std::string memo = HexagramMemoText(palace, member, name, lines);
      EXPECT_EQ(memo.find_first_of("tx"), std::string::npos);
      EXPECT_EQ(Occurrences(LineHeadings(memo), " "), 5);
      EXPECT_EQ(Occurrences(memo, "象曰："), gua == 0 || gua == 56 ? 8 : 7);
      EXPECT_EQ(Occurrences(memo, "彖曰："), 1);
      for (int n = 0; n < 7; ++n) EXPECT_FALSE(ZhouYiText(100 + 56 * palace + 7 * member + n).empty());
    }
  }
  EXPECT_TRUE(ZhouYiText(99).empty());
  EXPECT_TRUE(ZhouYiText(548).empty());
}

TEST(ZhouYiPage, LineNamesFollowTheLines) {
  const std::tuple<int, int, const char*> cases[] = {
      {1, 1, "初六 九二 六三 九四 九五 上六"},  // 泽水困
      {0, 7, "初九 九二 九三 九四 六五 上九"},  // 火天大有
      {7, 0, "初六 六二 六三 六四 六五 上六"},  // 坤为地
      {7, 1, "初九 六二 六三 六四 六五 上六"},  // 地雷复
      {5, 0, "初六 九二 六三 六四 九五 上六"},  // 坎为水
  };
  for (const auto& [palace, member, headings] : cases) EXPECT_EQ(LineHeadings(Memo(palace, member)), headings);
}

// 乾为天 closes with 用九 (the window shows it first), 坤为地 with 用六, no other hexagram with either.
TEST(ZhouYiPage, UseBlocksOnlyForQianAndKun) {
  EXPECT_TRUE(Memo(7, 0).ends_with("\n\n★用六：利永贞。\n  象曰：用六永贞，以大终也。"));
  for (const auto& [palace, member] : {std::pair{7, 1}, std::pair{0, 1}, std::pair{1, 1}, std::pair{5, 0}}) {
    const std::string memo = Memo(palace, member);
    EXPECT_EQ(memo.find("★用"), std::string::npos) << palace << " " << member;
    EXPECT_TRUE(memo.ends_with("\n\n")) << palace << " " << member;
  }
}

}  // namespace
}  // namespace quorin::iching

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/gbk.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace quorin::base {
namespace {

TEST(Gbk, EveryDoubleByteCharacterRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string text = GbkToUtf8(bytes);
      if (text.find("\uFFFD") != std::string::npos) continue;  // no character at this code
      ++mapped;
      const auto back = Utf8ToGbk(text);
      ASSERT_TRUE(back.has_value()) << std::hex << lead << trail;
      EXPECT_EQ(*back, bytes) << std::hex << lead << " " << trail;
      EXPECT_EQ(GbkByteLength(text), 2);
    }
  }
  // GBK holds 21,003 hanzi besides its symbols; the PUA codes have no standard character.
  EXPECT_GT(mapped, 21700);
}

TEST(Gbk, KnownCharactersAndTheEuroSign) {
  EXPECT_EQ(*Utf8ToGbk("中国"), "\xD6\xD0\xB9\xFA");
  EXPECT_EQ(GbkToUtf8("\xBC\xD7\xD7\xD3"), "甲子");
  EXPECT_EQ(*Utf8ToGbk("　"), "\xA1\xA1");
  EXPECT_EQ(*Utf8ToGbk("€"), "\x80");
  EXPECT_EQ(GbkToUtf8("\x80"), "€");
  EXPECT_EQ(*Utf8ToGbk("abc=1\r\n"), "abc=1\r\n");
}

TEST(Gbk, InvalidBytesBecomeReplacementCharactersAndKeepTheRest) {
  EXPECT_EQ(GbkToUtf8("\x81"), "\uFFFD");                 // lead byte at the end
  EXPECT_EQ(GbkToUtf8("\xFF" "a"), "\uFFFD" "a");
  EXPECT_EQ(GbkToUtf8("\x81" "0x"), "\uFFFD" "0x");        // trail out of range: '0' kept
  EXPECT_EQ(GbkToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  std::string garbage;
  for (int i = 0; i < 256; ++i) garbage += static_cast<char>(i * 37 % 256);
  EXPECT_TRUE(IsValidUtf8(GbkToUtf8(garbage)));
}

TEST(Gbk, EncodingACharacterGbkLacksFailsWithAMessage) {
  std::string error;
  EXPECT_FALSE(Utf8ToGbk("甲가乙", &error).has_value());
  EXPECT_NE(error.find("가"), std::string::npos);
  EXPECT_FALSE(Utf8ToGbk("\xE4\xB8", &error).has_value());  // cut UTF-8
  EXPECT_EQ(Utf8ToGbkLossy("甲가😀乙"), "\xBC\xD7??\xD2\xD2");
}

TEST(Gbk, ByteLengthsCountAsWindowsWrites) {
  EXPECT_EQ(GbkByteLength(""), 0);
  EXPECT_EQ(GbkByteLength("年柱 ab"), 7);
  EXPECT_EQ(GbkByteLength("€"), 1);
  EXPECT_EQ(GbkByteLength("😀"), 1);  // written as '?'
  EXPECT_EQ(GbkByteLength("（１）"), 6);
}

TEST(Gbk, TruncationNeverSplitsACharacter) {
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 0), "");
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 1), "");
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 3), "甲");
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 5), "甲子a");
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 6), "甲子a");
  EXPECT_EQ(TruncateToGbkBytes("甲子a乙", 99), "甲子a乙");
  EXPECT_EQ(PadToGbkBytes("甲", 4), "甲  ");
  EXPECT_EQ(PadToGbkBytes("甲子乙", 4), "甲子乙");
}

TEST(Gbk, CharacterIndexOfAByteOffset) {
  // 甲 is bytes 0-1, 'a' byte 2, 乙 bytes 3-4.
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 0), 0);
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 1), 0);
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 2), 1);
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 3), 2);
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 5), 3);
  EXPECT_EQ(CharacterIndexAtGbkByte("甲a乙", 50), 3);
}

TEST(Utf8, MalformedInputAdvancesAndIsReplaced) {
  const std::string bad = "a\xC0\xAF" "b\xED\xA0\x80" "c\xF4\x90\x80\x80";  // overlong, surrogate, > U+10FFFF
  std::u32string cps = Utf8ToCodePoints(bad);
  EXPECT_EQ(cps.front(), U'a');
  EXPECT_EQ(std::count(cps.begin(), cps.end(), U'\uFFFD'), 9);
  EXPECT_FALSE(IsValidUtf8(bad));
  EXPECT_TRUE(IsValidUtf8("甲\uFFFD"));
  EXPECT_EQ(Utf8Substring("甲乙丙丁", 1, 2), "乙丙");
  EXPECT_EQ(Utf8Substring("甲乙", 1, 9), "乙");
  EXPECT_EQ(Utf16Length("a😀甲"), 4);
}

}  // namespace
}  // namespace quorin::base

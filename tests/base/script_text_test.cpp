// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/script_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/utf8.h"

namespace quorin::base {
namespace {

// The field's words as Taiwan and Hong Kong write them, from the field's traditional usage:
// 沖 (not 衝) of 沖山, 剋 of 生剋, a lone 丑 and 干, 遯 for the 33rd hexagram; Taiwan writes 兌
// 恆 洩 where Hong Kong's standard forms are 兑 恒 泄.
struct Term {
  const char* simplified;
  const char* taiwan;
  const char* hongKong;
};

const std::vector<Term>& Glossary() {
  static const std::vector<Term> terms{
      // The 64 hexagrams by their full names.
      {"乾为天", "乾為天", "乾為天"}, {"天风姤", "天風姤", "天風姤"}, {"天山遁", "天山遯", "天山遯"},
      {"天地否", "天地否", "天地否"}, {"风地观", "風地觀", "風地觀"}, {"山地剥", "山地剝", "山地剝"},
      {"火地晋", "火地晉", "火地晉"}, {"火天大有", "火天大有", "火天大有"}, {"兑为泽", "兌為澤", "兑為澤"},
      {"泽水困", "澤水困", "澤水困"}, {"泽地萃", "澤地萃", "澤地萃"}, {"泽山咸", "澤山咸", "澤山咸"},
      {"水山蹇", "水山蹇", "水山蹇"}, {"地山谦", "地山謙", "地山謙"}, {"雷山小过", "雷山小過", "雷山小過"},
      {"雷泽归妹", "雷澤歸妹", "雷澤歸妹"}, {"离为火", "離為火", "離為火"}, {"火山旅", "火山旅", "火山旅"},
      {"火风鼎", "火風鼎", "火風鼎"}, {"火水未济", "火水未濟", "火水未濟"}, {"山水蒙", "山水蒙", "山水蒙"},
      {"风水涣", "風水渙", "風水渙"}, {"天水讼", "天水訟", "天水訟"}, {"天火同人", "天火同人", "天火同人"},
      {"震为雷", "震為雷", "震為雷"}, {"雷地豫", "雷地豫", "雷地豫"}, {"雷水解", "雷水解", "雷水解"},
      {"雷风恒", "雷風恆", "雷風恒"}, {"地风升", "地風升", "地風升"}, {"水风井", "水風井", "水風井"},
      {"泽风大过", "澤風大過", "澤風大過"}, {"泽雷随", "澤雷隨", "澤雷隨"}, {"巽为风", "巽為風", "巽為風"},
      {"风天小畜", "風天小畜", "風天小畜"}, {"风火家人", "風火家人", "風火家人"}, {"风雷益", "風雷益", "風雷益"},
      {"天雷无妄", "天雷無妄", "天雷無妄"}, {"火雷噬嗑", "火雷噬嗑", "火雷噬嗑"}, {"山雷颐", "山雷頤", "山雷頤"},
      {"山风蛊", "山風蠱", "山風蠱"}, {"坎为水", "坎為水", "坎為水"}, {"水泽节", "水澤節", "水澤節"},
      {"水雷屯", "水雷屯", "水雷屯"}, {"水火既济", "水火既濟", "水火既濟"}, {"泽火革", "澤火革", "澤火革"},
      {"雷火丰", "雷火豐", "雷火豐"}, {"地火明夷", "地火明夷", "地火明夷"}, {"地水师", "地水師", "地水師"},
      {"艮为山", "艮為山", "艮為山"}, {"山火贲", "山火賁", "山火賁"}, {"山天大畜", "山天大畜", "山天大畜"},
      {"山泽损", "山澤損", "山澤損"}, {"火泽睽", "火澤睽", "火澤睽"}, {"天泽履", "天澤履", "天澤履"},
      {"风泽中孚", "風澤中孚", "風澤中孚"}, {"风山渐", "風山漸", "風山漸"}, {"坤为地", "坤為地", "坤為地"},
      {"地雷复", "地雷復", "地雷復"}, {"地泽临", "地澤臨", "地澤臨"}, {"地天泰", "地天泰", "地天泰"},
      {"雷天大壮", "雷天大壯", "雷天大壯"}, {"泽天夬", "澤天夬", "澤天夬"}, {"水天需", "水天需", "水天需"},
      {"水地比", "水地比", "水地比"},
      // Short names where a character stands alone in the table.
      {"遁", "遯", "遯"}, {"咸", "咸", "咸"}, {"蒙", "蒙", "蒙"}, {"复", "復", "復"}, {"丰", "豐", "豐"},
      {"升", "升", "升"}, {"困", "困", "困"}, {"蛊", "蠱", "蠱"}, {"随", "隨", "隨"}, {"恒", "恆", "恒"},
      // The 8 trigrams and their images.
      {"乾", "乾", "乾"}, {"兑", "兌", "兑"}, {"离", "離", "離"}, {"震", "震", "震"}, {"巽", "巽", "巽"},
      {"坎", "坎", "坎"}, {"艮", "艮", "艮"}, {"坤", "坤", "坤"}, {"泽", "澤", "澤"}, {"风", "風", "風"},
      // The 24 solar terms.
      {"小寒", "小寒", "小寒"}, {"大寒", "大寒", "大寒"}, {"立春", "立春", "立春"}, {"雨水", "雨水", "雨水"},
      {"惊蛰", "驚蟄", "驚蟄"}, {"春分", "春分", "春分"}, {"清明", "清明", "清明"}, {"谷雨", "穀雨", "穀雨"},
      {"立夏", "立夏", "立夏"}, {"小满", "小滿", "小滿"}, {"芒种", "芒種", "芒種"}, {"夏至", "夏至", "夏至"},
      {"小暑", "小暑", "小暑"}, {"大暑", "大暑", "大暑"}, {"立秋", "立秋", "立秋"}, {"处暑", "處暑", "處暑"},
      {"白露", "白露", "白露"}, {"秋分", "秋分", "秋分"}, {"寒露", "寒露", "寒露"}, {"霜降", "霜降", "霜降"},
      {"立冬", "立冬", "立冬"}, {"小雪", "小雪", "小雪"}, {"大雪", "大雪", "大雪"}, {"冬至", "冬至", "冬至"},
      // Lunar months and days, the calendar's words.
      {"正月", "正月", "正月"}, {"十一月", "十一月", "十一月"}, {"十二月", "十二月", "十二月"},
      {"闰四月", "閏四月", "閏四月"}, {"初一", "初一", "初一"}, {"初十", "初十", "初十"}, {"廿九", "廿九", "廿九"},
      {"三十", "三十", "三十"}, {"农历", "農曆", "農曆"}, {"公历", "公曆", "公曆"}, {"万年历", "萬年曆", "萬年曆"},
      {"北京时间", "北京時間", "北京時間"}, {"真太阳时", "真太陽時", "真太陽時"}, {"地方时", "地方時", "地方時"},
      {"丑时", "丑時", "丑時"}, {"元辰", "元辰", "元辰"}, {"年号", "年號", "年號"},
      // Search conditions and ready patterns.
      {"同数", "同數", "同數"}, {"合五", "合五", "合五"}, {"合十", "合十", "合十"}, {"合十五", "合十五", "合十五"},
      {"合生成", "合生成", "合生成"}, {"相通", "相通", "相通"}, {"数字相连", "數字相連", "數字相連"},
      {"主命", "主命", "主命"}, {"坐山", "坐山", "坐山"}, {"龙", "龍", "龍"}, {"朝向", "朝向", "朝向"},
      {"纳入", "納入", "納入"}, {"避开年月日时", "避開年月日時", "避開年月日時"}, {"冲山", "沖山", "沖山"},
      {"坐山三煞", "坐山三煞", "坐山三煞"}, {"冲主命", "沖主命", "沖主命"}, {"坐山伏吟", "坐山伏吟", "坐山伏吟"},
      {"坐山反吟", "坐山反吟", "坐山反吟"}, {"生入克入", "生入剋入", "生入剋入"}, {"亲缘交通", "親緣交通", "親緣交通"},
      {"【现成吉格】", "【現成吉格】", "【現成吉格】"}, {"一卦纯清", "一卦純清", "一卦純清"},
      {"四大格局", "四大格局", "四大格局"}, {"合生成格", "合生成格", "合生成格"}, {"卦不出位", "卦不出位", "卦不出位"},
      {"挨星合十", "挨星合十", "挨星合十"}, {"一家骨肉", "一家骨肉", "一家骨肉"}, {"查找吉课", "查找吉課", "查找吉課"},
      // Section titles and relation words of the chart text.
      {"日课分析：", "日課分析：", "日課分析："}, {"卦气交通", "卦氣交通", "卦氣交通"}, {"卦运交通", "卦運交通", "卦運交通"},
      {"七星打劫", "七星打劫", "七星打劫"}, {"生克进退", "生剋進退", "生剋進退"}, {"伏吟反吟", "伏吟反吟", "伏吟反吟"},
      {"进神", "進神", "進神"}, {"退神", "退神", "退神"}, {"主命和山家关系：", "主命和山家關係：", "主命和山家關係："},
      {"主命和日课关系：", "主命和日課關係：", "主命和日課關係："}, {"山家和日课关系：", "山家和日課關係：", "山家和日課關係："},
      {"朝向和日课关系：", "朝向和日課關係：", "朝向和日課關係："}, {"合数", "合數", "合數"}, {"共宗", "共宗", "共宗"},
      {"为朋", "為朋", "為朋"}, {"同道", "同道", "同道"}, {"归中", "歸中", "歸中"}, {"为友", "為友", "為友"},
      {"比", "比", "比"}, {"泄", "洩", "泄"}, {"耗", "耗", "耗"}, {"克", "剋", "剋"}, {"生", "生", "生"},
      {"年克日", "年剋日", "年剋日"}, {"日泄水", "日洩水", "日泄水"}, {"天干地支", "天干地支", "天干地支"},
      {"月干", "月干", "月干"}, {"干支", "干支", "干支"}, {"相冲", "相沖", "相沖"}, {"地支相冲", "地支相沖", "地支相沖"},
      // Harmful stars.
      {"常用神煞：", "常用神煞：", "常用神煞："}, {"太岁", "太歲", "太歲"}, {"岁破", "歲破", "歲破"},
      {"月破", "月破", "月破"}, {"年三煞", "年三煞", "年三煞"}, {"月三煞", "月三煞", "月三煞"},
      {"山家三煞", "山家三煞", "山家三煞"},
      // Words the general dictionaries take for others: the clock, 吉凶, the I Ching's 克 and 丑.
      {"时钟", "時鐘", "時鐘"}, {"吉凶", "吉凶", "吉凶"}, {"征凶", "征凶", "征凶"}, {"弗克攻", "弗克攻", "弗克攻"},
      {"亦可丑也", "亦可醜也", "亦可醜也"}, {"干父之蛊", "幹父之蠱", "幹父之蠱"}, {"鸿渐于干", "鴻漸于干", "鴻漸于干"},
      {"七日来复", "七日來復", "七日來復"}, {"日中见斗", "日中見斗", "日中見斗"}, {"后以施命诰四方", "后以施命誥四方", "后以施命誥四方"},
  };
  return terms;
}

TEST(ScriptText, GlossaryOfTheFieldInTaiwanAndHongKong) {
  const ScriptConverter taiwan(Script::kTraditionalTaiwan);
  const ScriptConverter hongKong(Script::kTraditionalHongKong);
  ASSERT_EQ(taiwan.problem(), "");
  ASSERT_EQ(hongKong.problem(), "");
  std::vector<Term> terms = Glossary();
  // The 60 stem-branch names and the 24 mountains have no character that changes.
  const std::array<const char*, 10> stems{"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
  const std::array<const char*, 12> branches{"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
  std::vector<std::string> unchanged;
  for (int i = 0; i < 60; ++i) unchanged.push_back(std::string(stems[i % 10]) + branches[i % 12]);
  for (const char* mountain : {"壬", "子", "癸", "丑", "艮", "寅", "甲", "卯", "乙", "辰", "巽", "巳", "丙", "午", "丁",
                               "未", "坤", "申", "庚", "酉", "辛", "戌", "乾", "亥"})
    unchanged.push_back(mountain);
  for (const std::string& name : unchanged) terms.push_back({name.c_str(), name.c_str(), name.c_str()});
  EXPECT_GE(terms.size(), 150u + 84u);
  for (const Term& t : terms) {
    EXPECT_EQ(taiwan.Convert(t.simplified), t.taiwan) << t.simplified;
    EXPECT_EQ(hongKong.Convert(t.simplified), t.hongKong) << t.simplified;
  }
}

TEST(ScriptText, EngineTextsKeepEveryCharactersPlaceAndSimplifiedPassesAsItIs) {
  const ScriptConverter taiwan(Script::kTraditionalTaiwan);
  // The region's words would change lengths (卸载 → 解除安裝); the engine's conversion never does.
  const std::string text = "卸载软件后，公历2024年3月5日10时0分(北京时间)的日课分析：生克进退";
  const std::string converted = taiwan.Convert(text);
  EXPECT_EQ(CharacterCount(converted), CharacterCount(text));
  EXPECT_EQ(converted, "卸載軟件後，公曆2024年3月5日10時0分(北京時間)的日課分析：生剋進退");
  EXPECT_EQ(taiwan.ConvertWithRegionalWords("卸载软件"), "解除安裝軟體");
  // Converting twice (the second from the remembered runs) gives the same.
  EXPECT_EQ(taiwan.Convert(text), converted);

  SetShownScript(Script::kSimplified);
  EXPECT_EQ(ShownScriptConverter(), nullptr);
  EXPECT_EQ(ShownText(text), text);
}

TEST(ScriptText, ComparisonsMeetInSimplifiedWhicheverScriptWasTyped) {
  EXPECT_EQ(SimplifiedForComparison("臺北"), SimplifiedForComparison("台北"));
  EXPECT_EQ(SimplifiedForComparison("張三"), "张三");
  EXPECT_EQ(SimplifiedForComparison("张三"), "张三");
  EXPECT_EQ(SimplifiedForComparison("abc 12"), "abc 12");
}

TEST(ScriptText, CharactersOnlySimplifiedChineseWrites) {
  EXPECT_TRUE(HasSimplifiedOnlyCharacters("古韵"));
  EXPECT_TRUE(HasSimplifiedOnlyCharacters("abc国"));
  // 里, 台 and 干 are traditional characters too; 韻 and 國 are not simplified.
  EXPECT_FALSE(HasSimplifiedOnlyCharacters("廈門湖里區 台北 天干 古韻 國"));
  EXPECT_FALSE(HasSimplifiedOnlyCharacters("abc 12"));
}

TEST(ScriptText, NamesOfTheCommandLineAndTheSettings) {
  for (const Script s : {Script::kSimplified, Script::kTraditionalTaiwan, Script::kTraditionalHongKong})
    EXPECT_EQ(ScriptFromName(ScriptName(s)), s);
  EXPECT_EQ(ScriptFromName("zh-Hant"), std::nullopt);
  EXPECT_EQ(ScriptCaption(Script::kTraditionalHongKong), "繁體中文（香港）");
}

}  // namespace
}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
// The six-line chart as drawn into the chart picture. It lives with the chart
// tests because the recording canvas belongs to the chart library.
#include <gtest/gtest.h>

#include <map>

#include "draw/canvas.h"
#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"

namespace quorin::iching {
namespace {

using draw::RecordingCanvas;
using Kind = RecordingCanvas::Operation::Kind;

// 甲辰年 丁卯月 甲子日 丙寅时.
constexpr calendar::FourPillars kJiaziDay{41, 4, 1, 3};

// The area the chart picture gives at 12 points: right of the table, from half to
// 0.92 of the height. Eight rows of 32 pixels, the first at 308 + (32 - 16) / 2.
constexpr int kLeft = 528, kTop = 308, kWidth = 352, kBottom = 566;
constexpr int kFirstRow = 316, kPitch = 32;

int GuaByName(std::string_view name) {
  for (int g = 0; g < kHexagramCount; ++g) {
    if (HexagramName(g) == name) return g;
  }
  return -1;
}

struct Drawn {
  std::vector<RecordingCanvas::Operation> texts;
  std::vector<RecordingCanvas::Operation> bars;
};

Drawn Draw(MLiuYaoGua& g, int gua, const calendar::FourPillars& pillars) {
  RecordingCanvas canvas(880, 616);
  canvas.SetBrush(0xEEEEEE, draw::BrushStyle::kSolid);
  g.DrawChart(canvas, kLeft, kTop, kWidth, kBottom, gua, pillars, 0xEEEEEE);
  Drawn d;
  for (const auto& op : canvas.Operations()) {
    (op.kind == Kind::kText ? d.texts : d.bars).push_back(op);
  }
  return d;
}

TEST(LiuYaoDrawing, QianWeiTianOnAJiaziDay) {
  MLiuYaoGua g;
  const Drawn d = Draw(g, 0, kJiaziDay);
  ASSERT_EQ(d.texts.size(), 14u);  // two title rows, two texts per line
  EXPECT_EQ(d.texts[0].text, "甲辰年  丁卯月  甲子日  丙寅时");
  EXPECT_EQ(d.texts[1].text, "乾为天(乾宫) [空亡:戌、亥]");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(d.texts[static_cast<std::size_t>(i)].fontColor, draw::kDarkRed);
    EXPECT_EQ(d.texts[static_cast<std::size_t>(i)].x1, kLeft);
    EXPECT_EQ(d.texts[static_cast<std::size_t>(i)].y1, kFirstRow + i * kPitch);
    EXPECT_EQ(d.texts[static_cast<std::size_t>(i)].fontSize, 12);
  }
  // From the top line down: spirit (甲 day: 玄武 on top, 青龙 at the bottom), no
  // hidden spirit, the figure, then kinship, stem, branch, element and 世 or 应.
  const std::vector<std::pair<std::string, std::string>> lines{
      {"玄武　　", "父母壬戌土 世   "}, {"白虎　　", "兄弟壬申金      "}, {"螣蛇　　", "官鬼壬午火      "},
      {"勾陈　　", "父母甲辰土 应   "}, {"朱雀　　", "妻财甲寅木      "}, {"青龙　　", "子孙甲子水      "}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& before = d.texts[2 + 2 * i];
    const auto& after = d.texts[3 + 2 * i];
    const int rowTop = kFirstRow + static_cast<int>(i + 2) * kPitch;
    EXPECT_EQ(before.text, lines[i].first);
    EXPECT_EQ(after.text, lines[i].second);
    EXPECT_EQ(before.fontColor, draw::kBlack);
    EXPECT_EQ(before.y1, rowTop);
    // "玄武　　" is 64 pixels; the figure box is "━━━　" (64) less 16 / 5 at each end.
    const auto& bar = d.bars[i];
    EXPECT_EQ(bar.kind, Kind::kFillRect);
    EXPECT_EQ(bar.brushColor, draw::kBlack);
    EXPECT_EQ(bar.x1, kLeft + 64 + 3);
    EXPECT_EQ(bar.x2, kLeft + 128 - 3);
    EXPECT_EQ(bar.y1, rowTop + 5);
    EXPECT_EQ(bar.y2, rowTop + 10);
    EXPECT_EQ(after.x1, bar.x2 + 8);
    // The brush is back to the background for the text after the figure.
    EXPECT_EQ(after.brushColor, 0xEEEEEEu);
  }
}

TEST(LiuYaoDrawing, YinLinesAreTwoBars) {
  MLiuYaoGua g;
  const Drawn d = Draw(g, GuaByName("坤为地"), kJiaziDay);
  ASSERT_EQ(d.bars.size(), 12u);
  for (std::size_t i = 0; i < 12; i += 2) {
    // Thirds of the 58-pixel box: 19 pixels each, the middle left open.
    EXPECT_EQ(d.bars[i].x1, kLeft + 67);
    EXPECT_EQ(d.bars[i].x2, kLeft + 67 + 19);
    EXPECT_EQ(d.bars[i + 1].x1, kLeft + 125 - 19);
    EXPECT_EQ(d.bars[i + 1].x2, kLeft + 125);
  }
  EXPECT_EQ(d.texts[1].text, "坤为地(坤宫) [空亡:戌、亥]");
}

TEST(LiuYaoDrawing, HiddenSpiritsAndWanderingTitles) {
  MLiuYaoGua g;
  struct Case {
    const char* name;
    calendar::FourPillars pillars;
    std::string title;
    int hiddenLine;  // from the top
    std::string hiddenText;
  };
  // 壬申 day (9): 玄武 at the bottom; 癸亥 day (0 read as 60): void 子 and 丑.
  const std::vector<Case> cases{
      {"天风姤", kJiaziDay, "天风姤(乾宫) [空亡:戌、亥]", 5, "朱雀 妻财甲寅木 "},
      {"火地晋", {41, 4, 9, 3}, "火地晋(乾宫-游魂) [空亡:戌、亥]", 6, "玄武 子孙甲子水 "},
      {"火天大有", {41, 4, 0, 3}, "火天大有(乾宫-归魂) [空亡:子、丑]", 0, ""},
  };
  for (const Case& c : cases) {
    const Drawn d = Draw(g, GuaByName(c.name), c.pillars);
    EXPECT_EQ(d.texts[1].text, c.title);
    for (int line = 1; line <= 6; ++line) {
      const std::string& before = d.texts[static_cast<std::size_t>(2 * line)].text;
      if (line == c.hiddenLine) {
        EXPECT_EQ(before, c.hiddenText) << c.name;
      } else if (c.hiddenLine > 0) {
        EXPECT_TRUE(before.ends_with("　　　　　　")) << c.name << " line " << line;
      } else {
        EXPECT_TRUE(before.ends_with("　　") && before.size() == 12) << c.name << " line " << line;
      }
    }
    // Every figure starts at the same x, after the widest text.
    std::map<int, int> leftmostByRow;
    for (const auto& bar : d.bars) {
      auto [it, added] = leftmostByRow.emplace(bar.y1, bar.x1);
      if (!added) it->second = std::min(it->second, bar.x1);
    }
    ASSERT_EQ(leftmostByRow.size(), 6u);
    for (const auto& [row, x] : leftmostByRow) EXPECT_EQ(x, kLeft + 8 * (c.hiddenLine > 0 ? 16 : 8) + 3) << c.name;
  }
  // 火天大有: 世 on the third line from the bottom.
  EXPECT_TRUE(g.TextAfterFigure(4).ends_with("世   "));
  EXPECT_TRUE(g.TextAfterFigure(1).ends_with("应   "));
}

}  // namespace
}  // namespace quorin::iching

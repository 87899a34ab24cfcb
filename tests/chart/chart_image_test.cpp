// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture through the recording canvas: 12 points are 16 pixels, a GBK
// character is 16 pixels wide and every text 16 pixels high, so the picture is
// 880 × 616 and the header ends at y = 83.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/image_links.h"
#include "chart/quorin_day.h"
#include "iching/hexagrams.h"
#include "support/chart_request.h"
#include "support/temp_dir.h"

namespace quorin::chart {
namespace {

using draw::BrushStyle;
using draw::kBlack;
using draw::kBlue;
using draw::kDarkRed;
using draw::kGreen;
using draw::kHighlight;
using draw::kRed;
using draw::PenStyle;
using draw::RecordingCanvas;
using Kind = RecordingCanvas::Operation::Kind;
using Op = RecordingCanvas::Operation;
using testing::ZhangSanRequest;

// The 子 mountain chart of 2024-03-15 10:30: 主 山 年 月 日 时 with 山 = 坤.
TRecordData ZiChart() { return ZhangSanRequest(1, 1); }

class ChartImage : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(dir.File("set.ini"), "[set]\r\n");
    engine.SetSettingsPath(dir.File("set.ini"));
    engine.Attach(&text, &canvas);
  }
  void Compute(const TRecordData& r) {
    ASSERT_TRUE(engine.Compute(r)) << engine.ErrorText();
    canvas.ClearOperations();
  }
  std::vector<Op> Ops(Kind kind) const {
    std::vector<Op> found;
    for (const Op& op : canvas.Operations()) {
      if (op.kind == kind) found.push_back(op);
    }
    return found;
  }
  // Centre of a shown column and the middle of one of its click bands.
  int ColumnX(int column) const {
    const ChartTableArea& t = engine.ImageState().table;
    return column * t.columnWidth + t.columnWidth / 2;
  }
  int BandY(int band) const {
    const auto b = engine.ImageState().table.Bands()[static_cast<std::size_t>(band)];
    return (b.top + b.bottom) / 2;
  }
  bool HasText(const std::string& wanted) const {
    for (const auto& t : canvas.Texts()) {
      if (t == wanted) return true;
    }
    return false;
  }

  testing::TempDir dir;
  MQuorinDay engine;
  RecordingRichTextSink text;
  RecordingCanvas canvas;
};

TEST_F(ChartImage, FontStepsStayBetweenTenAndThirtyFive) {
  EXPECT_EQ(engine.ImageFontSize(), 12);
  EXPECT_EQ(canvas.Width(), 880);
  EXPECT_EQ(canvas.Height(), 616);
  struct Step {
    double start;
    double delta;
    bool accepted;
    double size;
    int width;  // 55 ems of the whole points
  };
  const std::vector<Step> steps{
      {35, +1, false, 35, 55 * 47}, {10, -1, false, 10, 55 * 13}, {12, +1, true, 13, 55 * 17},
      {12, -1, true, 11, 55 * 15},  {34, +1, true, 35, 55 * 47},  {11, -1, true, 10, 55 * 13},
      {12.5, +0, true, 12.5, 880},
  };
  for (const Step& s : steps) {
    engine.SetImageFont(s.start);
    const int width = canvas.Width();
    const int height = canvas.Height();
    canvas.ClearOperations();
    EXPECT_EQ(engine.StepImageFont(s.delta), s.accepted) << s.start << " " << s.delta;
    EXPECT_EQ(engine.ImageFontSize(), s.size);
    EXPECT_EQ(canvas.Width(), s.width);
    EXPECT_EQ(canvas.Height(), static_cast<int>(0.7 * s.width));
    if (!s.accepted) {
      EXPECT_EQ(canvas.Width(), width);
      EXPECT_EQ(canvas.Height(), height);
      EXPECT_TRUE(canvas.Operations().empty()) << "a refused step leaves the picture alone";
    } else {
      // Resized, then cleared with the background.
      ASSERT_EQ(canvas.Operations().size(), 2u);
      EXPECT_EQ(canvas.Operations()[1].kind, Kind::kFillRect);
      EXPECT_EQ(canvas.Operations()[1].x2, s.width);
    }
  }
}

TEST_F(ChartImage, StoredFontSizesOutsideTheRangeAreBroughtIntoIt) {
  const std::vector<std::pair<double, double>> cases{{50, 35}, {3, 10}, {std::nan(""), 12}, {20, 20}};
  for (const auto& [stored, used] : cases) {
    engine.SetImageFont(stored);
    EXPECT_EQ(engine.ImageFontSize(), used) << stored;
    EXPECT_EQ(canvas.Width(), 55 * ((static_cast<int>(used) * 96 + 36) / 72)) << stored;
  }
}

TEST_F(ChartImage, HeaderLinesFollowTheTimeBasis) {
  Compute(ZiChart());
  const std::array<std::string, 4> zi{"主命:张三(1980年-男命),子山(甲子)未知地", "公历:2024-3-15 10:30(北京时间),星期五",
                                      "农历:二○二四年 二月 初六日 巳时", "元辰:癸酉(２　渐卦　七　火　艮)"};
  EXPECT_EQ(engine.ImageHeaderLines(), zi);

  testing::WriteBytes(dir.File("set.ini"), "[set]\r\nidate=2\r\n");
  TRecordData r = ZhangSanRequest(22, 1);
  r.year = 1995, r.month = 8, r.day = 20, r.hour = 13, r.minute = 5;
  r.name = "李四";
  r.male = false;
  r.masterYear = -119;
  r.longitude = 116.5f;
  r.latitude = 39.9f;
  r.addrName = "北京";
  Compute(r);
  const std::array<std::string, 4> local{
      "主命:李四(-120年-女命),乾山(戊戌)北京,经度-116:30,纬度-39:54",
      "公历:1995-8-20 13:5(北京时间)公历:1995-8-20 12:51(地方时),星期日", "农历:一九九五年 七月 廿五日 午时",
      "元辰:丁酉(４　咸卦　九　金　兑)"};
  EXPECT_EQ(engine.ImageHeaderLines(), local);

  // Drawn black and regular from (3, 3), one line every 16 + 4 pixels.
  engine.DrawChartImage();
  const auto texts = Ops(Kind::kText);
  for (int i = 0; i < 4; ++i) {
    const Op& op = texts[static_cast<std::size_t>(i)];
    EXPECT_EQ(op.text, local[static_cast<std::size_t>(i)]);
    EXPECT_EQ(op.x1, 3);
    EXPECT_EQ(op.y1, 3 + 20 * i);
    EXPECT_EQ(op.fontColor, kBlack);
    EXPECT_FALSE(op.bold);
    EXPECT_EQ(op.fontFamily, "宋体");
    EXPECT_EQ(op.fontSize, 12);
  }
}

TEST_F(ChartImage, TableColumnsAndColours) {
  struct Case {
    int columns;
    int columnWidth;  // trunc(0.6 × 880) div columns
  };
  for (const Case c : {Case{6, 88}, Case{7, 75}, Case{8, 66}, Case{9, 58}}) {
    TRecordData r = ZiChart();
    r.showFacing = c.columns >= 7;
    if (c.columns >= 8) r.dragonMountain = 5, r.dragonGua = 0;
    if (c.columns >= 9) r.waterMountain = 6, r.waterGua = 2;
    Compute(r);
    engine.DrawChartImage();
    const ChartTableArea& t = engine.ImageState().table;
    EXPECT_EQ(t.left, 0);
    EXPECT_EQ(t.right, 528);
    EXPECT_EQ(t.top, 83);
    EXPECT_EQ(t.bottom, 452);  // trunc(83 + 0.6 × 616)
    EXPECT_EQ(t.rowGap, 17);   // (369 - 13 × 16) div 9
    EXPECT_EQ(t.columnWidth, c.columnWidth);

    std::vector<Op> cells;
    for (const Op& op : Ops(Kind::kText)) {
      if (op.bold) cells.push_back(op);
    }
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(9 * c.columns));
    // Item tops: label, stem over branch, 卦气, the two name characters, 卦运, element, palace.
    const std::array<int, 9> tops{100, 133, 149, 182, 215, 231, 264, 297, 330};
    for (int column = 0; column < c.columns; ++column) {
      const auto expected = engine.ColumnCells(engine.ShownPosition(column));
      for (int item = 0; item < 9; ++item) {
        const Op& op = cells[static_cast<std::size_t>(column * 9 + item)];
        EXPECT_EQ(op.text, expected[static_cast<std::size_t>(item)]);
        EXPECT_EQ(op.x1, column * c.columnWidth + (c.columnWidth - 16) / 2);
        EXPECT_EQ(op.y1, tops[static_cast<std::size_t>(item)]);
        EXPECT_EQ(op.fontColor, column < c.columns - 4 ? kRed : kBlue) << c.columns << " columns, column " << column;
      }
    }
  }
}

TEST_F(ChartImage, ShenshaAtTheBottomLeft) {
  Compute(ZiChart());
  engine.DrawChartImage();
  const auto texts = Ops(Kind::kText);
  ASSERT_GE(texts.size(), 6u);
  const auto lines = engine.ShenshaLines();
  for (std::size_t i = 0; i < 6; ++i) {
    const Op& op = texts[texts.size() - 6 + i];
    EXPECT_EQ(op.text, i == 0 ? std::string("常用神煞") : lines[i - 1]);
    EXPECT_EQ(op.fontColor, i == 0 ? kGreen : kBlack);
    EXPECT_FALSE(op.bold);
    EXPECT_EQ(op.x1, 3);
    // 616 - 6 × (16 + 17 div 2), one line every 24 pixels.
    EXPECT_EQ(op.y1, 472 + 24 * static_cast<int>(i));
  }
}

TEST(ChartTableArea, BandsColumnsAndTheirEdges) {
  const ChartTableArea t = TableAreaFor({880, 616}, 83, 16, 16, 12, 6);
  const std::vector<std::pair<int, int>> bands{{132, -1}, {133, 0}, {164, 0}, {165, -1}, {173, -1}, {174, 1},
                                               {206, 1},  {207, -1}, {214, -1}, {215, 2}, {246, 2},  {247, -1},
                                               {255, -1}, {256, 3},  {288, 3},  {289, -1}, {452, -1}};
  for (const auto& [y, band] : bands) EXPECT_EQ(t.BandAt(y), band) << "y = " << y;
  // Each drawn row lies inside its band.
  EXPECT_EQ(t.BandAt(t.ItemTop(1)), 0);
  EXPECT_EQ(t.BandAt(t.ItemTop(2) + 15), 0);
  EXPECT_EQ(t.BandAt(t.ItemTop(3)), 1);
  EXPECT_EQ(t.BandAt(t.ItemTop(4)), 2);
  EXPECT_EQ(t.BandAt(t.ItemTop(5) + 15), 2);
  EXPECT_EQ(t.BandAt(t.ItemTop(6)), 3);
  EXPECT_EQ(t.QiRowMiddle(), t.ItemTop(3) + 8);
  EXPECT_EQ(t.YunRowMiddle(), t.ItemTop(6) + 8);

  const std::vector<std::pair<int, int>> columns{{0, 0}, {87, 0}, {88, 1}, {439, 4}, {440, 5}, {527, 5}, {528, 5}};
  for (const auto& [x, column] : columns) EXPECT_EQ(t.ColumnAt(x), column) << "x = " << x;
  EXPECT_TRUE(t.Contains(528, 452));
  EXPECT_FALSE(t.Contains(529, 200));
  EXPECT_FALSE(t.Contains(100, 82));

  const LineBarArea bar = LineBarAreaFor(t, {880, 616});
  EXPECT_EQ(bar, (LineBarArea{528, 576, 880, 606}));
  EXPECT_EQ(bar.CellWidth(), 50);
  EXPECT_FALSE(bar.Contains(528, 590));  // the left edge is outside
  EXPECT_TRUE(bar.Contains(529, 576));
  EXPECT_TRUE(bar.Contains(880, 606));
  EXPECT_EQ(bar.CellAt(529), 0);
  EXPECT_EQ(bar.CellAt(578), 1);
  EXPECT_EQ(bar.CellAt(827), 5);
  EXPECT_EQ(bar.CellAt(878), 6);
  EXPECT_EQ(bar.CellAt(880), 6);  // the last pixels belong to 抽6, not to 原卦
}

// Which links each band shows, from the 年 column of the 子 chart.
TEST_F(ChartImage, EachBandShowsItsLinks) {
  Compute(ZiChart());
  const int year = 2;
  int qiLinks = 0;
  int yunLinks = 0;
  for (int other = 0; other < engine.ShownCount(); ++other) {
    if (other == year) continue;
    const LinkTexts t = ImageLinkTexts(engine.Slot(kSlotYear), engine.Slot(kSlotOfPosition[engine.ShownPosition(other)]));
    qiLinks += t.qi.empty() ? 0 : 1;
    yunLinks += t.yun.empty() ? 0 : 1;
  }
  ASSERT_GT(qiLinks, 0);
  ASSERT_GT(yunLinks, 0);

  struct Case {
    int band;
    int qi;
    int yun;
  };
  for (const Case c : {Case{0, qiLinks, yunLinks}, Case{1, qiLinks, 0}, Case{2, 0, 0}, Case{3, 0, yunLinks}}) {
    engine.DrawChartImage();
    canvas.ClearOperations();
    EXPECT_TRUE(engine.Click(ColumnX(year), BandY(c.band)));
    EXPECT_EQ(engine.Selection(), (ChartSelection{year, c.band}));
    int red = 0, blackDotted = 0, darkRed = 0, greenDotted = 0;
    for (const Op& line : Ops(Kind::kLine)) {
      const bool solid = line.penStyle == PenStyle::kSolid;
      red += line.penColor == kRed && solid;
      blackDotted += line.penColor == kBlack && line.penStyle == PenStyle::kDotted;
      darkRed += line.penColor == kDarkRed && solid;
      greenDotted += line.penColor == kGreen && line.penStyle == PenStyle::kDotted;
      if (solid) {
        EXPECT_EQ(line.x1, ColumnX(year));
      }
    }
    EXPECT_EQ(red, c.qi) << "band " << c.band;
    EXPECT_EQ(blackDotted, c.qi) << "band " << c.band;
    EXPECT_EQ(darkRed, c.yun) << "band " << c.band;
    EXPECT_EQ(greenDotted, c.yun) << "band " << c.band;
    EXPECT_EQ(Ops(Kind::kLine).size(), static_cast<std::size_t>(2 * (c.qi + c.yun)));
    // The six-line chart of the year hexagram, whatever the band.
    EXPECT_TRUE(engine.ImageState().sixLineShown);
    EXPECT_EQ(engine.ImageState().sixLineGua, engine.Slot(kSlotYear).gua);
    EXPECT_FALSE(engine.ImageState().lineBarActive);
    bool title = false;
    for (const Op& op : Ops(Kind::kText)) {
      title = title || (op.text.starts_with(iching::HexagramName(engine.Slot(kSlotYear).gua)) && op.x1 == 528 &&
                        op.fontColor == kDarkRed);
    }
    EXPECT_TRUE(title) << "band " << c.band;
  }
}

TEST_F(ChartImage, LinksMeetBelowTheTableWithTheirTexts) {
  Compute(ZiChart());
  engine.Click(ColumnX(2), BandY(0));
  const ChartTableArea& t = engine.ImageState().table;
  // 卦气 lines leave the middle of the 卦气 row (83 + 3 × 17 + 3 × 16 + 8) for
  // 83 + 9 × 16 + 8 × 17; 卦运 lines the middle of the 卦运 row (83 + 5 × 17 + 6 × 16 + 8)
  // for trunc(83 + 8 × 17 + 11.5 × 16).
  ASSERT_EQ(t.QiRowMiddle(), 190);
  ASSERT_EQ(t.QiMeetingY(), 363);
  ASSERT_EQ(t.YunRowMiddle(), 272);
  ASSERT_EQ(t.YunMeetingY(), 403);
  std::vector<Op> links;
  for (const Op& op : canvas.Operations()) {
    if (op.kind == Kind::kLine || (op.kind == Kind::kText && op.fontSize == 11)) links.push_back(op);
  }
  // Per other column: solid line, dotted line, then the text (in one or two parts).
  for (std::size_t i = 0; i < links.size();) {
    const Op& solid = links[i];
    const Op& dotted = links[i + 1];
    ASSERT_EQ(solid.kind, Kind::kLine);
    ASSERT_EQ(dotted.kind, Kind::kLine);
    const bool qi = solid.penColor == kRed;
    EXPECT_EQ(solid.x1, ColumnX(2));
    EXPECT_EQ(solid.y1, qi ? 190 : 272);
    EXPECT_EQ(dotted.y1, solid.y1);
    EXPECT_EQ(solid.x2, dotted.x2);
    EXPECT_EQ(solid.x2, MeetingX(solid.x1, dotted.x1));
    EXPECT_EQ(solid.y2, qi ? 363 : 403);
    i += 2;
    const Op& first = links[i++];
    ASSERT_EQ(first.kind, Kind::kText);
    EXPECT_EQ(first.fontColor, qi ? kBlack : kGreen);
    EXPECT_EQ(first.y1, solid.y2);
    EXPECT_EQ(first.x1, solid.x2 - (first.x2 - first.x1) / 2);
    if (i < links.size() && links[i].kind == Kind::kText) {
      // The part after the first "-", 1.1 or 1.2 lines of 15 pixels lower.
      EXPECT_EQ(links[i].y1, solid.y2 + (qi ? 16 : 18));
      ++i;
    }
  }
}

TEST_F(ChartImage, SecondClickOnTheSameCellLeavesThePlainChart) {
  Compute(ZiChart());
  engine.DrawChartImage();
  const auto plain = canvas.Operations();
  canvas.ClearOperations();

  engine.Click(ColumnX(3), BandY(1));
  EXPECT_TRUE(engine.ImageState().sixLineShown);
  canvas.ClearOperations();
  engine.Click(ColumnX(3) + 5, BandY(1) + 1);
  EXPECT_EQ(engine.Selection(), (ChartSelection{3, -1}));
  EXPECT_FALSE(engine.ImageState().sixLineShown);
  ASSERT_EQ(canvas.Operations().size(), plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(canvas.Operations()[i].text, plain[i].text);
    EXPECT_EQ(canvas.Operations()[i].kind, plain[i].kind);
  }

  // Another band of the same column switches the details; a click beside the
  // bands shows none; a click outside the table changes nothing.
  engine.Click(ColumnX(3), BandY(3));
  EXPECT_EQ(engine.Selection(), (ChartSelection{3, 3}));
  engine.Click(ColumnX(3), BandY(0));
  EXPECT_EQ(engine.Selection(), (ChartSelection{3, 0}));
  engine.Click(ColumnX(4), engine.ImageState().table.top + 2);
  EXPECT_EQ(engine.Selection(), (ChartSelection{4, -1}));
  EXPECT_FALSE(engine.ImageState().sixLineShown);
  canvas.ClearOperations();
  EXPECT_FALSE(engine.Click(700, 100));
  EXPECT_FALSE(engine.Click(ColumnX(1), 500));
  EXPECT_TRUE(canvas.Operations().empty());
  EXPECT_EQ(engine.Selection(), (ChartSelection{4, -1}));
}

TEST_F(ChartImage, LineBarFlipsTheMountainAndRestoresIt) {
  Compute(ZiChart());
  const int base = engine.Slot(kSlotMountain).gua;  // 坤
  ASSERT_EQ(GuaShortName(base), "坤");

  // The 山 column's name rows: six-line chart of 坤 and the line bar with 原卦 chosen.
  engine.Click(ColumnX(1), BandY(2));
  ASSERT_TRUE(engine.ImageState().lineBarActive);
  EXPECT_EQ(engine.ImageState().sixLinePosition, kPositionMountain);
  EXPECT_EQ(engine.ImageState().lineBar, (LineBarArea{528, 576, 880, 606}));
  auto highlighted = [&] {
    std::vector<int> cells;
    for (const Op& op : Ops(Kind::kFillRect)) {
      if (op.brushColor == kHighlight) {
        EXPECT_EQ(op.y1, 577);
        EXPECT_EQ(op.y2, 605);
        cells.push_back((op.x1 - 529) / 50);
      }
    }
    return cells;
  };
  EXPECT_EQ(highlighted(), std::vector<int>{0});
  for (const char* label : kLineBarLabels) EXPECT_TRUE(HasText(label)) << label;

  // 抽1 flips the bottom line: 坤 becomes 复, the header says so, 抽1 is chosen.
  canvas.ClearOperations();
  EXPECT_TRUE(engine.Click(528 + 50 + 25, 590));
  EXPECT_EQ(engine.ChangedLines(), (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
  const int flipped = engine.Slot(kSlotMountain).gua;
  EXPECT_EQ(GuaShortName(flipped), "复");
  EXPECT_EQ(engine.ImageHeaderLines()[3].substr(engine.ImageHeaderLines()[3].size() - 9), "(坤抽1)");
  EXPECT_NE(text.Text().find("(坤抽1)\n"), std::string::npos);
  EXPECT_EQ(engine.Selection(), (ChartSelection{1, 2}));
  EXPECT_EQ(engine.ImageState().sixLineGua, flipped);
  EXPECT_TRUE(HasText("元辰:" + std::string("乙未(７　井卦　六　火　震)(坤抽1)")));
  EXPECT_EQ(highlighted(), std::vector<int>{1});

  // 抽3 as well, then 抽1 again: only line 3 stays flipped.
  engine.Click(528 + 3 * 50 + 1, 576);
  canvas.ClearOperations();
  engine.Click(528 + 50 + 49, 606);
  EXPECT_EQ(engine.ChangedLines(), (std::array<std::uint8_t, 6>{0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(highlighted(), std::vector<int>{3});
  EXPECT_TRUE(engine.ImageHeaderLines()[3].ends_with("(坤抽3)"));

  // 原卦 restores the hexagram of the request.
  canvas.ClearOperations();
  engine.Click(540, 590);
  EXPECT_EQ(engine.ChangedLines(), (std::array<std::uint8_t, 6>{}));
  EXPECT_EQ(engine.Slot(kSlotMountain).gua, base);
  EXPECT_EQ(engine.Request().mountain, 1);
  EXPECT_EQ(engine.Request().mountainGua, 1);
  EXPECT_EQ(engine.ImageHeaderLines()[3], "元辰:癸酉(２　渐卦　七　火　艮)");
  EXPECT_EQ(highlighted(), std::vector<int>{0});

  // Without the 山 column selected the bar is gone and a click there does nothing.
  engine.Click(ColumnX(2), BandY(2));
  EXPECT_FALSE(engine.ImageState().lineBarActive);
  EXPECT_FALSE(engine.Click(603, 590));
  EXPECT_EQ(engine.ChangedLines(), (std::array<std::uint8_t, 6>{}));
}

TEST_F(ChartImage, ComputeDrawsWithoutSelectionAndFailureKeepsThePicture) {
  Compute(ZiChart());
  engine.Click(ColumnX(1), BandY(2));
  ASSERT_TRUE(engine.ImageState().lineBarActive);
  TRecordData r = ZiChart();
  ASSERT_TRUE(engine.Compute(r));
  EXPECT_EQ(engine.Selection(), ChartSelection{});
  EXPECT_FALSE(engine.ImageState().sixLineShown);
  EXPECT_FALSE(engine.ImageState().lineBarActive);
  EXPECT_TRUE(engine.ImageState().table.IsSet());

  canvas.ClearOperations();
  r.year = 1582, r.month = 10, r.day = 10;
  EXPECT_FALSE(engine.Compute(r));
  EXPECT_TRUE(canvas.Operations().empty());
  EXPECT_TRUE(engine.ImageState().table.IsSet());
}

TEST_F(ChartImage, BackgroundFillsThePictureAndTheTextCells) {
  engine.SetImageBackground(0xE0F0FF);
  Compute(ZiChart());
  engine.ClearImage();
  const auto fills = Ops(Kind::kFillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].brushColor, 0xE0F0FFu);
  EXPECT_EQ(fills[0].x2, 880);
  EXPECT_EQ(fills[0].y2, 616);
  canvas.ClearOperations();
  engine.Click(ColumnX(1), BandY(0));
  for (const Op& op : Ops(Kind::kText)) {
    const bool barLabel = op.y1 > 576 && op.x1 > 528;
    EXPECT_EQ(op.brushColor, 0xE0F0FFu) << op.text;
    EXPECT_EQ(op.brushStyle, barLabel ? BrushStyle::kTransparent : BrushStyle::kSolid) << op.text;
  }
}

TEST(ImageLinks, ClashingBranchesShowXiangChongOnly) {
  for (int a = 0; a < 64; ++a) {
    for (int b = 0; b < 64; ++b) {
      const ChartSlot x = FillSlot(a, kKindYear);
      const ChartSlot y = FillSlot(b, kKindHour);
      const bool clash = (BranchOf(x.jiazi) + 6) % 12 == BranchOf(y.jiazi);
      const LinkTexts t = ImageLinkTexts(x, y);
      if (clash) {
        EXPECT_EQ(t.qi, "相冲") << GuaName(a) << " " << GuaName(b);
      } else {
        EXPECT_EQ(t.qi.find("相冲"), std::string::npos);
      }
      EXPECT_EQ(t.yun.find("伏吟") != std::string::npos, a == b);
      EXPECT_EQ(t.yun.find("反吟") != std::string::npos, OppositeGua(a) == b);
      EXPECT_FALSE(t.qi.ends_with("-") || t.yun.ends_with("-"));
    }
  }
}

TEST(ImageLinks, RelationWordsJoinedByDashes) {
  auto slot = [](int jiazi, int qi, int yun, int gua) {
    ChartSlot s;
    s.jiazi = static_cast<std::uint8_t>(jiazi);
    s.guaQi = static_cast<std::uint8_t>(qi);
    s.guaYun = static_cast<std::uint8_t>(yun);
    s.gua = static_cast<std::uint8_t>(gua);
    return s;
  };
  struct Case {
    ChartSlot a, b;
    LinkTexts expected;
  };
  const std::vector<Case> cases{
      {slot(1, 1, 2, 0), slot(2, 9, 3, 5), {"合10", "合5"}},
      {slot(1, 1, 6, 0), slot(2, 6, 9, 5), {"共宗", "合15"}},
      {slot(1, 3, 1, 0), slot(2, 8, 3, 5), {"为朋", "相通"}},
      {slot(1, 2, 4, 0), slot(2, 7, 9, 5), {"同道", "为友"}},
      {slot(1, 5, 5, 9), slot(2, 5, 5, 9), {"合10", "合10-伏吟"}},
      // Clashing branches hide the number relations, not 伏吟 and 反吟.
      {slot(1, 4, 2, 0), slot(7, 6, 8, 56), {"相冲", "反吟"}},
      {slot(1, 1, 1, 0), slot(2, 1, 1, 5), {"", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageLinkTexts(c.a, c.b), c.expected) << c.expected.qi << "/" << c.expected.yun;

  EXPECT_EQ(SplitAtFirstDash("合10-伏吟"), (std::pair<std::string, std::string>{"合10", "伏吟"}));
  EXPECT_EQ(SplitAtFirstDash("合15-相通-反吟"), (std::pair<std::string, std::string>{"合15", "相通-反吟"}));
  EXPECT_EQ(SplitAtFirstDash("相冲"), (std::pair<std::string, std::string>{"相冲", ""}));
}

}  // namespace
}  // namespace quorin::chart

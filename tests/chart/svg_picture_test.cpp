// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture as SVG: the vector canvas measures text as the recording canvas does, so
// the picture is laid out alike (the same click areas) and carries every text drawn, in order,
// in the colours drawn; what the texts contain cannot break the document.
#include <gtest/gtest.h>

#include "chart/quorin_day.h"
#include "draw/svg_canvas.h"
#include "support/chart_request.h"
#include "support/temp_dir.h"

namespace quorin::chart {
namespace {

TEST(SvgPicture, LaidOutAsTheRecordingCanvasWithEveryTextInOrder) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("set.ini"), "[set]\r\n");
  draw::RecordingCanvas recorded;
  draw::SvgCanvas svg;
  MQuorinDay a, b;
  for (MQuorinDay* engine : {&a, &b}) engine->SetSettingsPath(dir.File("set.ini"));
  a.Attach(nullptr, &recorded);
  b.Attach(nullptr, &svg);
  const TRecordData r = testing::ZhangSanRequest(1, 1);
  ASSERT_TRUE(a.Compute(r));
  ASSERT_TRUE(b.Compute(r));
  // A click on the 主 column's stem row, then on the 山 column's hexagram rows.
  for (MQuorinDay* engine : {&a, &b}) {
    const ChartTableArea& t = engine->ImageState().table;
    const auto bands = t.Bands();
    engine->Click(t.columnWidth / 2, (bands[0].top + bands[0].bottom) / 2);
    engine->Click(t.columnWidth + t.columnWidth / 2, (bands[2].top + bands[2].bottom) / 2);
  }
  EXPECT_EQ(svg.Width(), recorded.Width());
  EXPECT_EQ(svg.Height(), recorded.Height());
  EXPECT_EQ(b.ImageState().table.left, a.ImageState().table.left);
  EXPECT_EQ(b.ImageState().table.columnWidth, a.ImageState().table.columnWidth);
  EXPECT_EQ(b.ImageState().sixLineGua, a.ImageState().sixLineGua);

  const std::string document = svg.Document();
  EXPECT_EQ(document.rfind("<?xml", 0), 0u);
  EXPECT_NE(document.find("viewBox=\"0 0 880 616\""), std::string::npos);
  // Every text since the last whole-picture fill, in order, each in its colour.
  std::size_t from = 0;
  std::size_t last = 0;
  for (std::size_t i = 0; i < recorded.Operations().size(); ++i)
    if (recorded.Operations()[i].kind == draw::RecordingCanvas::Operation::Kind::kFillRect &&
        recorded.Operations()[i].x1 == 0 && recorded.Operations()[i].y1 == 0 && recorded.Operations()[i].x2 >= 880)
      last = i;
  int texts = 0;
  for (std::size_t i = last; i < recorded.Operations().size(); ++i) {
    const auto& op = recorded.Operations()[i];
    if (op.kind != draw::RecordingCanvas::Operation::Kind::kText) continue;
    const std::string element = "fill=\"" + draw::SvgColor(op.fontColor) + "\" textLength=\"" +
                                std::to_string(op.x2 - op.x1) + "\" lengthAdjust=\"spacingAndGlyphs\">" +
                                draw::EscapeXml(op.text) + "</text>";
    const std::size_t at = document.find(element, from);
    ASSERT_NE(at, std::string::npos) << op.text;
    from = at + element.size();
    ++texts;
  }
  EXPECT_GT(texts, 60);
}

TEST(SvgPicture, TextsCannotBreakTheDocument) {
  draw::SvgCanvas svg(100, 40);
  svg.SetBrush(draw::kWhite, draw::BrushStyle::kTransparent);
  svg.TextOut(2, 2, "<主命 & \"某人\">");
  EXPECT_NE(svg.Document().find(">&lt;主命 &amp; &quot;某人&quot;&gt;</text>"), std::string::npos);
  EXPECT_EQ(draw::SvgColor(draw::kRed), "#ff0000");
  EXPECT_EQ(draw::SvgColor(draw::kBlue), "#0000ff");
}

}  // namespace
}  // namespace quorin::chart

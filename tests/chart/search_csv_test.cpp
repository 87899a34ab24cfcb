// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search_csv.h"

#include <gtest/gtest.h>

#include "chart/quorin_day.h"

namespace quorin::chart {
namespace {

TEST(SearchCsv, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
  struct Case {
    const char* text;
    const char* field;
  };
  for (const Case& c : {Case{"张三", "张三"}, Case{"", ""}, Case{"张,三", "\"张,三\""}, Case{"say \"hi\"", "\"say \"\"hi\"\"\""},
                        Case{"a\nb", "\"a\nb\""}, Case{"a\r\nb", "\"a\r\nb\""}, Case{"\"", "\"\"\"\""}}) {
    EXPECT_EQ(CsvField(c.text), c.field) << c.text;
  }
}

// One row per result, in order; the header names every examined position.
TEST(SearchCsv, OneRowPerResultWithTheExaminedPositions) {
  SearchRequest q;
  q.masterYear = 1978;
  q.mountain = 1;
  q.includeMaster = q.includeMountain = true;
  q.qi[kQiTen] = true;
  q.UpdateConditionCounts();
  MQuorinDay engine;
  engine.SetSettingsPath("/nonexistent/set.ini");
  RecordingSearchSink sink;
  const int found = engine.SearchRange(q, {{-1, 12, 20, 0, 0}, {1, 1, 10, 0, 0}}, sink);
  ASSERT_GT(found, 0);
  const std::string csv = SearchResultsCsv(q, sink.Results());
  ASSERT_TRUE(csv.starts_with(kUtf8ByteOrderMark));
  std::vector<std::string> rows;
  for (std::size_t at = kUtf8ByteOrderMark.size(); at < csv.size();) {
    const std::size_t end = csv.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    rows.push_back(csv.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(found) + 1);
  EXPECT_EQ(rows[0],
            "序号,公历日期,时间,农历,年柱,月柱,日柱,时柱,主卦气,主卦运,山卦气,山卦运,年卦气,年卦运,月卦气,月卦运,"
            "日卦气,日卦运,时卦气,时卦运");
  for (int i = 0; i < found; ++i) {
    const auto m = ParseSearchResultLine(sink.Lines()[static_cast<std::size_t>(i)]);
    ASSERT_TRUE(m);
    // Years as users write them: astronomical 0 is 1 BC.
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d,%d-%02d-%02d,%02d:05,", i + 1, m->year <= 0 ? m->year - 1 : m->year,
                  m->month, m->day, m->hour);
    EXPECT_TRUE(rows[static_cast<std::size_t>(i) + 1].starts_with(expected)) << rows[static_cast<std::size_t>(i) + 1];
  }
}

TEST(SearchCsv, FailedWriteNamesTheFile) {
  std::string message;
  EXPECT_FALSE(WriteSearchResultsCsv("/nonexistent/folder/out.csv", SearchRequest{}, {}, message));
  EXPECT_EQ(message, "无法写入文件：/nonexistent/folder/out.csv");
}

}  // namespace
}  // namespace quorin::chart

// SPDX-License-Identifier: GPL-3.0-or-later
// A chart for several persons: each person after 主命 is shown and judged exactly as 主命 is in the
// chart of that person alone, and without them the chart is what it always was.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "chart/quorin_day.h"
#include "support/chart_request.h"
#include "support/random_search.h"

namespace quorin::chart {
namespace {

using testing::Pick;

// The paragraph of the chart text that starts with `heading`, up to the next blank line.
std::string Paragraph(const std::string& text, const std::string& heading) {
  const std::size_t start = text.find(heading);
  if (start == std::string::npos) return "(none: " + heading + ")";
  return text.substr(start, text.find("\n\n", start) - start);
}

// Every "主" of a relation paragraph (a column label there) as `label`.
std::string Relabelled(std::string text, const std::string& label) {
  for (std::size_t at; (at = text.find("主")) != std::string::npos;) text.replace(at, std::string("主").size(), label);
  return text;
}

struct Charted {
  MQuorinDay engine;
  RecordingRichTextSink text;
  explicit Charted(const TRecordData& request) {
    engine.Attach(&text, nullptr);
    EXPECT_TRUE(engine.Compute(request)) << engine.ErrorText();
  }
};

TEST(ChartPersons, EachPersonIsJudgedAsMasterOfTheirOwnChart) {
  std::mt19937 random(25);
  std::vector<std::string> names{"配偶", "长子", "长女", "次子", "母亲", "Li"};
  for (int round = 0; round < 40; ++round) {
    TRecordData r = testing::ChartRequest(1900 + Pick(random, 200), 1 + Pick(random, 12), 1 + Pick(random, 28),
                                          Pick(random, 24), Pick(random, 60), 0, 0);
    testing::PickMountainAndColumn(random, r.mountain, r.mountainGua);
    if (Pick(random, 2)) testing::PickMountainAndColumn(random, r.dragonMountain, r.dragonGua);
    r.showFacing = Pick(random, 2) == 0;
    r.masterYear = 1900 + Pick(random, 120);
    std::shuffle(names.begin(), names.end(), random);
    for (int p = 0, n = 1 + Pick(random, 3); p < n; ++p)
      r.otherPersons.push_back({names[static_cast<std::size_t>(p)], Pick(random, 2) == 0, 1900 + Pick(random, 120)});

    const Charted all(r);
    TRecordData alone = r;
    alone.otherPersons.clear();
    const Charted master(alone);
    for (std::size_t p = 0; p < r.otherPersons.size(); ++p) {
      const OtherPerson& person = r.otherPersons[p];
      const std::string& label = all.engine.PersonLabels()[p];
      TRecordData own = alone;
      own.masterYear = person.masterYear;
      const Charted theirs(own);
      auto cells = theirs.engine.ColumnCells(2);
      cells[0] = label;
      EXPECT_EQ(all.engine.PersonColumnCells(static_cast<int>(p)), cells) << round << " person " << p;
      EXPECT_EQ(Paragraph(all.text.Text(), person.name + "和日课关系："),
                Relabelled(Paragraph(theirs.text.Text(), "主命和日课关系："), label).replace(0, std::string("主命").size(), person.name))
          << round << " person " << p;
      EXPECT_EQ(Paragraph(all.text.Text(), person.name + "和山家关系："),
                Relabelled(Paragraph(theirs.text.Text(), "主命和山家关系："), label).replace(0, std::string("主命").size(), person.name))
          << round << " person " << p;
    }
    // Without the persons' line, columns and paragraphs the chart is 主命's alone.
    std::string rest = all.text.Text();
    const std::size_t line = rest.find("其他人：");
    ASSERT_NE(line, std::string::npos);
    rest.erase(line, rest.find('\n', line) + 1 - line);
    for (const OtherPerson& person : r.otherPersons) {
      for (const std::string& heading : {person.name + "和日课关系：", person.name + "和山家关系："}) {
        const std::size_t at = rest.find(heading);
        if (at != std::string::npos) rest.erase(at, rest.find("\n\n\n", at) + 3 - at);
      }
    }
    auto lines = all.engine.TableLines();
    // Each column is a character and two spaces after the line's two leading spaces.
    const std::size_t column = std::string("主　　").size();
    const std::size_t personsAt = std::string("　　").size() + (r.dragonMountain >= 0 ? 2 : 1) * column;
    for (auto& l : lines)
      if (l.size() > personsAt) l.erase(personsAt, r.otherPersons.size() * column);
    EXPECT_EQ(lines, master.engine.TableLines()) << round;
    std::string masterText = master.text.Text();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string shown = all.engine.TableLines()[i];
      rest.replace(rest.find(shown), shown.size(), master.engine.TableLines()[i]);
    }
    EXPECT_EQ(rest, masterText) << round;
  }
}

TEST(ChartPersons, ColumnLabels) {
  const std::vector<OtherPerson> persons{{"配偶", false, 1982}, {"长子", true, 2010}, {"长女", false, 2012},
                                         {"主母", false, 1950}, {"Li", true, 1990},   {"年", true, 1990},
                                         {"Émile长女", false, 2014}};
  EXPECT_EQ(PersonColumnLabels(persons), (std::vector<std::string>{"配", "长", "女", "母", "６", "７", "８"}));
  EXPECT_TRUE(PersonColumnLabels({}).empty());
}

}  // namespace
}  // namespace quorin::chart

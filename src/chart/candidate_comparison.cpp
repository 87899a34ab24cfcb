// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/candidate_comparison.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "chart/domain_tables.h"
#include "chart/header_parts.h"
#include "chart/quorin_day.h"
#include "chart/relation_sections.h"
#include "chart/search_match.h"
#include "chart/sheet_contents.h"

namespace quorin::chart {
namespace {

// The count of moments refused: neither a choice nor more than fit side by side.
std::string CountRefusal() {
  return "请选择" + std::to_string(kMinComparedCandidates) + "到" + std::to_string(kMaxComparedCandidates) +
         "条日课进行对比。";
}

// One person the moment concerns, as a comparison names and labels them.
struct ComparedPerson {
  std::string name;          // 主命, or the name typed
  std::string label;         // 主, or the person's column label in the chart, before 年 月 日 时 in the sections
  std::string suffix;        // of the condition rows: "(主命)", "(配偶)"; none with 主命 alone
  std::int32_t masterYear;   // astronomical
};

std::vector<ComparedPerson> PersonsOf(const TRecordData& request) {
  const bool several = !request.otherPersons.empty();
  std::vector<ComparedPerson> persons{{"主命", "主", several ? "(主命)" : "", request.masterYear}};
  const std::vector<std::string> labels = PersonColumnLabels(request.otherPersons);
  for (std::size_t p = 0; p < request.otherPersons.size(); ++p) {
    const OtherPerson& other = request.otherPersons[p];
    persons.push_back({other.name, labels[p], "(" + other.name + ")", other.masterYear});
  }
  return persons;
}

// The conditions as the search judges them, with the chart request's positions and persons.
SearchRequest ConditionsFor(const TRecordData& request, SearchRequest conditions) {
  CopyDragonWaterFacing(request, conditions);
  conditions.masterYear = request.masterYear;
  conditions.mountain = request.mountain;
  conditions.mountainGua = request.mountainGua;
  conditions.otherPersons = request.otherPersons;
  return conditions;
}

// "６损 九": a position's 卦气 with its hexagram, and its 卦运, as the chart's table has them.
std::string NumbersText(const ChartSlot& slot) {
  return std::string(FullWidthDigit(slot.guaQi)) + std::string(GuaShortName(slot.gua)) + " " +
         std::string(NumeralName(slot.guaYun));
}

// The values of one charted moment, row by row; the rows are the same for every moment of a request.
class MomentColumn {
 public:
  MomentColumn(const MQuorinDay& chart, const SearchRequest& conditions, const std::vector<ComparedPerson>& persons)
      : chart_(chart), conditions_(conditions), persons_(persons) {}

  std::vector<ComparisonRow> Rows() {
    AddMoment();
    AddNumbers();
    AddConditions();
    AddPersons();
    AddShensha();
    return std::move(rows_);
  }

 private:
  void Add(std::string label, std::string value) { rows_.push_back({std::move(label), {std::move(value)}, false, section_}); }

  ChartSlot PersonSlot(const ComparedPerson& person) const {
    return MasterSlotOf(person.masterYear, chart_.Settings().ijiazi == 1);
  }
  // What the chart avoids with this person as 主命 (冲主命 reads it).
  AvoidInfo AvoidOf(const ChartSlot& person) const {
    return ComputeAvoidInfo(conditions_.mountain, person, chart_.Slot(kSlotMountain));
  }

  void AddMoment() {
    section_ = ComparisonSection::kMoment;
    const int basis = chart_.Settings().idate;
    if (basis != 0) Add("公历(北京时间)", ChartDateText(chart_.BeijingDate()));
    Add(basis == 0 ? "公历(北京时间)" : basis == 1 ? "公历(真太阳时)" : "公历(地方时)", ChartDateText(chart_.CorrectedDate()));
    Add("农历", LunarDateTimeText(chart_.LunarDate(), chart_.Request().isLeapMonth));
    const calendar::FourPillars& p = chart_.Pillars();
    Add("四柱", calendar::PillarName(p.year) + " " + calendar::PillarName(p.month) + " " + calendar::PillarName(p.day) +
                    " " + calendar::PillarName(p.hour));
  }

  // Every shown position in the table's order, then the other persons.
  void AddNumbers() {
    section_ = ComparisonSection::kNumbers;
    for (int position = 0; position < kPositionCount; ++position) {
      if (!chart_.Shown()[static_cast<std::size_t>(position)]) continue;
      Add(std::string(PositionLabel(position)) + " 卦气/卦运", NumbersText(chart_.SlotOfPosition(position)));
    }
    for (std::size_t p = 1; p < persons_.size(); ++p) {
      Add(persons_[p].name + " 卦气/卦运", NumbersText(PersonSlot(persons_[p])));
    }
  }

  // Each ticked condition as the search judges it, once for each person where it reads the person:
  // the verdicts of 主命's chart, and of the same chart with another person as 主命.
  void AddConditions() {
    section_ = ComparisonSection::kConditions;
    const MomentTest test(conditions_);
    const std::array<ChartSlot, 4> pillars = chart_.PillarSlots();
    std::vector<std::vector<ConditionVerdict>> verdicts;
    for (const ComparedPerson& person : persons_) {
      std::array<ChartSlot, kSlotCount> slots = chart_.Slots();
      slots[kSlotMaster] = PersonSlot(person);
      verdicts.push_back(test.Verdicts(BuildExaminedList(conditions_, slots), pillars, AvoidOf(slots[kSlotMaster])));
    }
    for (std::size_t c = 0; c < verdicts.front().size(); ++c) {
      for (std::size_t p = 0; p < persons_.size(); ++p) {
        const ConditionVerdict& v = verdicts[p][c];
        if (p > 0 && !v.condition.concernsThePerson) break;
        Add(v.condition.name + (v.condition.concernsThePerson ? persons_[p].suffix : std::string()),
            v.met ? kConditionMet : kConditionMissed);
      }
    }
  }

  // Each person against the four pillars: 卦气交通, 卦运交通, and the pillars that clash the person.
  void AddPersons() {
    section_ = ComparisonSection::kPersons;
    const std::array<ChartSlot, 4> pillars = chart_.PillarSlots();
    for (const ComparedPerson& person : persons_) {
      const ChartSlot self = PersonSlot(person);
      std::vector<LabeledPair> pairs;
      bool sameQi = true;
      bool sameYun = true;
      for (int i = 0; i < 4; ++i) {
        const ChartSlot& pillar = pillars[static_cast<std::size_t>(i)];
        pairs.push_back({{person.label, &self}, {PillarLabel(i), &pillar}});
        sameQi = sameQi && pillar.guaQi == self.guaQi;
        sameYun = sameYun && pillar.guaYun == self.guaYun;
      }
      Add(person.name + " 卦气交通", QiSection(sameQi, pairs));
      Add(person.name + " 卦运交通", YunSection(sameYun, pairs));
      // The pillars that clash the person, read as the search's 冲主命 reads them.
      std::string clashing;
      const int clashBranch = AvoidOf(self)[kAvoidClashMaster];
      for (int i = 0; i < 4; ++i) {
        if (BranchOf(pillars[static_cast<std::size_t>(i)].jiazi) != clashBranch) continue;
        clashing += (clashing.empty() ? "" : "、") + std::string(PillarLabel(i));
      }
      Add(person.name + " 被冲", clashing.empty() ? "无" : clashing + "冲");
    }
  }

  // 常用神煞, one row per line: "常用神煞1" for "1:冲山-午。山家三煞-寅、午、戌。", whose value drops "1:".
  void AddShensha() {
    section_ = ComparisonSection::kShensha;
    for (const std::string& line : chart_.ShenshaLines()) {
      const std::size_t colon = line.find(':');
      Add("常用神煞" + line.substr(0, colon), colon == std::string::npos ? line : line.substr(colon + 1));
    }
  }

  const MQuorinDay& chart_;
  const SearchRequest& conditions_;
  const std::vector<ComparedPerson>& persons_;
  ComparisonSection section_ = ComparisonSection::kMoment;
  std::vector<ComparisonRow> rows_;
};

// The first candidate's rows with the others' values beside them, and which rows differ.
std::vector<ComparisonRow> SideBySide(const std::vector<std::vector<ComparisonRow>>& columns) {
  std::vector<ComparisonRow> rows = columns.front();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 1; c < columns.size(); ++c) rows[r].values.push_back(columns[c][r].values.front());
    const std::vector<std::string>& values = rows[r].values;
    rows[r].differs = std::adjacent_find(values.begin(), values.end(), std::not_equal_to<>()) != values.end();
  }
  return rows;
}

// The same chart request but for its moment: person, persons, positions and place.
bool SameRequestBesidesTheMoment(const TRecordData& a, const TRecordData& b) {
  return a.masterYear == b.masterYear && a.male == b.male && a.otherPersons == b.otherPersons &&
         a.mountain == b.mountain && a.mountainGua == b.mountainGua && a.dragonMountain == b.dragonMountain &&
         (a.dragonMountain < 0 || a.dragonGua == b.dragonGua) && a.waterMountain == b.waterMountain &&
         (a.waterMountain < 0 || a.waterGua == b.waterGua) && a.showFacing == b.showFacing &&
         a.longitude == b.longitude && a.latitude == b.latitude && a.zone == b.zone;
}

}  // namespace

std::string CandidateCaption(const calendar::CivilDateTime& moment) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d", calendar::HistoricalYear(moment.year), moment.month,
                moment.day, moment.hour, moment.minute);
  return buffer;
}

std::vector<std::string> ComparisonRequestLines(const TRecordData& request) {
  std::string persons = "主命：" + request.name + "（" + std::to_string(calendar::HistoricalYear(request.masterYear)) +
                        (request.male ? "年-男命）" : "年-女命）");
  if (!request.otherPersons.empty()) persons += "　" + OtherPersonsLine(request.otherPersons, "：", "（", "）", "、");
  std::string positions = "坐山：" + std::string(MountainName(request.mountain)) + "山";
  if (request.dragonMountain >= 0) positions += "　龙：" + std::string(MountainName(request.dragonMountain));
  if (request.waterMountain >= 0) positions += "　水：" + std::string(MountainName(request.waterMountain));
  if (request.showFacing) positions += "　朝向：" + std::string(MountainName((request.mountain + kMountainCount / 2) % kMountainCount));
  std::string place = "地点：" + request.addrName;
  if (!request.zone.empty()) place += "（时间为" + request.zone + "当地钟表时间）";
  return {persons, positions, place};
}

CandidateComparison CompareCandidates(const MQuorinDay& engine, const TRecordData& request,
                                      const SearchRequest& conditions,
                                      const std::vector<calendar::CivilDateTime>& moments) {
  CandidateComparison out;
  if (moments.size() < static_cast<std::size_t>(kMinComparedCandidates) ||
      moments.size() > static_cast<std::size_t>(kMaxComparedCandidates)) {
    out.refusal = CountRefusal();
    return out;
  }
  const SearchRequest judged = ConditionsFor(request, conditions);
  const std::vector<ComparedPerson> persons = PersonsOf(request);
  // A copy writing and drawing nowhere: the caller's chart, text and picture stay as they are.
  MQuorinDay chart = AttachedCopy(engine, nullptr, nullptr);
  std::vector<std::vector<ComparisonRow>> columns;
  for (const calendar::CivilDateTime& moment : moments) {
    TRecordData r = request;
    r.isLunar = false;
    r.isLeapMonth = false;
    r.year = moment.year;
    r.month = moment.month;
    r.day = moment.day;
    r.hour = moment.hour;
    r.minute = moment.minute;
    // A clock time that came twice is read at its first occurrence unless the request chose.
    if (!r.zone.empty() && r.fold == 0) r.fold = 1;
    out.captions.push_back(CandidateCaption(moment));
    if (!chart.Compute(r)) {
      out.refusal = out.captions.back() + "：" + chart.ErrorText();
      out.captions.clear();
      return out;
    }
    columns.push_back(MomentColumn(chart, judged, persons).Rows());
  }
  out.rows = SideBySide(columns);
  return out;
}

CandidateComparison CompareCases(const MQuorinDay& engine, const std::vector<TRecordData>& cases,
                                 const SearchRequest& conditions) {
  CandidateComparison out;
  if (cases.size() < static_cast<std::size_t>(kMinComparedCandidates) ||
      cases.size() > static_cast<std::size_t>(kMaxComparedCandidates)) {
    out.refusal = CountRefusal();
    return out;
  }
  for (const TRecordData& c : cases) {
    if (!SameRequestBesidesTheMoment(cases.front(), c)) {
      out.refusal = kCasesDifferRefusal;
      return out;
    }
  }
  // A zoned case holds its Gregorian clock time; another holds Beijing time, perhaps as a lunar date.
  MQuorinDay chart = AttachedCopy(engine, nullptr, nullptr);
  std::vector<calendar::CivilDateTime> moments;
  for (const TRecordData& c : cases) {
    if (!c.zone.empty() || !c.isLunar) {
      moments.push_back({c.year, c.month, c.day, c.hour, c.minute});
    } else if (chart.Compute(c)) {
      moments.push_back(chart.BeijingDate());
    } else {
      out.refusal = c.name + "：" + chart.ErrorText();
      return out;
    }
  }
  return CompareCandidates(engine, cases.front(), conditions, moments);
}

}  // namespace quorin::chart

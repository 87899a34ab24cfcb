// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "base/text_parse.h"
#include "calendar/calendar_text.h"
#include "calendar/julian_day.h"
#include "calendar/zone_time.h"
#include "chart/quorin_day.h"
#include "chart/search_conditions.h"
#include "chart/search_match.h"

namespace quorin::chart {
namespace {

// The place searched when no chart has named one: on the zone meridian 120°E, where true solar
// and Beijing time differ least, at a middle latitude of the country.
constexpr float kUnknownPlaceLongitude = 120;
constexpr float kUnknownPlaceLatitude = 30;

// Days counted on the Julian day scale, so that the reform's gap and years BC count right.
int DayNumber(const calendar::CivilDateTime& day) {
  return static_cast<int>(std::lround(calendar::JulianDayFromDate(day.year, day.month, day.day + 0.5)));
}

// The day exists in the calendar: it comes back unchanged from its Julian day.
bool DayExists(const calendar::CivilDateTime& day) {
  if (day.month < 1 || day.month > 12 || day.day < 1 || day.day > 31) return false;
  const calendar::DateTimeParts back = calendar::DateFromJulianDay(DayNumber(day));
  return back.year == day.year && back.month == day.month && back.day == day.day;
}

// The numbers of a result line have at most this many characters (a year such as -4712 has five).
constexpr std::size_t kLongestLineNumber = 6;

// The number written between `from` and `to`, both found after `start`.
std::optional<int> NumberBetween(std::string_view line, std::string_view from, std::string_view to, std::size_t& start) {
  const std::size_t open = line.find(from, start);
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t first = open + from.size();
  const std::size_t close = line.find(to, first);
  if (close == std::string_view::npos || close == first || close - first > kLongestLineNumber) return std::nullopt;
  // The lines are written with "%d", which never puts a '+'.
  const std::string_view digits = line.substr(first, close - first);
  const std::optional<int> value = digits.starts_with('+') ? std::nullopt : base::ParseInt(digits);
  if (value) start = close;
  return value;
}

// The examined list and avoidance data of a moment's chart with another person as 主命.
struct PersonView {
  ExaminedList examined;
  AvoidInfo avoid;
};
PersonView ViewOfPerson(const SearchRequest& request, const OtherPerson& person,
                        std::array<ChartSlot, kSlotCount> slots, bool alternateJiaziGua) {
  slots[kSlotMaster] = MasterSlotOf(person.masterYear, alternateJiaziGua);
  return {BuildExaminedList(request, slots), ComputeAvoidInfo(request.mountain, slots[kSlotMaster], slots[kSlotMountain])};
}

}  // namespace

std::string SearchResultLine(int number, const calendar::CivilDateTime& moment) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%d：%d年%02d月%02d日%02d时", number, moment.year, moment.month, moment.day,
                moment.hour);
  return buffer;
}

std::optional<SearchResultMoment> ParseSearchResultLine(std::string_view line) {
  std::size_t at = 0;
  const auto year = NumberBetween(line, "：", "年", at);
  const auto month = year ? NumberBetween(line, "年", "月", at) : std::nullopt;
  const auto day = month ? NumberBetween(line, "月", "日", at) : std::nullopt;
  const auto hour = day ? NumberBetween(line, "日", "时", at) : std::nullopt;
  if (!hour) return std::nullopt;
  return SearchResultMoment{*year, *month, *day, *hour};
}

SearchDays WholeYear(int year) {
  return {{static_cast<std::int16_t>(year), 1, 1, 0, 0}, {static_cast<std::int16_t>(year), 12, 31, 0, 0}};
}

std::string SearchDaysProblem(const SearchDays& days) {
  for (const calendar::CivilDateTime& day : {days.first, days.last}) {
    if (day.year < calendar::kFirstCalendarYear || day.year > calendar::kLastCalendarYear) {
      return calendar::kConvertedYearOutOfRange;
    }
    if (!DayExists(day)) return calendar::kNoSuchDate;
  }
  if (DayNumber(days.last) < DayNumber(days.first)) return kReversedSearchDays;
  calendar::CivilDateTime limit = days.first;
  limit.year = static_cast<std::int16_t>(limit.year + kMaxSearchYears);
  if (DayNumber(days.last) >= DayNumber(limit)) return kTooLongSearchDays;
  return {};
}

std::string_view PositionName(int kind) {
  for (const SearchCondition& condition : SearchConditions()) {
    if (condition.group == ConditionGroup::kInclude && condition.position == kind) return condition.positionName;
  }
  static constexpr std::string_view kPillarNames[] = {"年", "月", "日", "时"};
  return kind >= kKindYear && kind <= kKindHour ? kPillarNames[kind - kKindYear] : std::string_view{};
}

std::string SearchResultDetail(const SearchResult& result) {
  const calendar::FourPillars& p = result.pillars;
  std::string text = calendar::PillarName(p.year) + " " + calendar::PillarName(p.month) + " " +
                     calendar::PillarName(p.day) + " " + calendar::PillarName(p.hour) + "　卦气";
  for (int i = 0; i < result.positionCount; ++i) {
    const ChartSlot& slot = result.positions[static_cast<std::size_t>(i)];
    text += " " + std::string(PositionName(slot.kind)) + std::to_string(slot.guaQi);
  }
  return text;
}

std::string SearchResultLine(const SearchResult& result) {
  const std::string line = SearchResultLine(result.number, result.moment);
  return result.missed.empty() ? line : line + "　差：" + result.missed;
}

std::string SearchSummary(int found, int nearMisses, bool nearMissesAsked) {
  std::string text = found > 0 ? "共找到" + std::to_string(found) + "条日课" : std::string("没有找到符合条件的日课");
  if (!nearMissesAsked) return found > 0 ? text : text + "，请改变查找条件。";
  if (nearMisses == 0) return text + "，也没有差一条的日课。";
  return text + "，另有" + std::to_string(nearMisses) + "条差一条的日课列在后面。";
}

void SearchSink::AppendResult(const SearchResult& result) { AppendLine(SearchResultLine(result)); }

int MQuorinDay::Search(const SearchRequest& request, SearchSink& sink) {
  return SearchRange(request, WholeYear(request.year), sink);
}

int MQuorinDay::SearchRange(const SearchRequest& request, const SearchDays& days, SearchSink& sink) {
  searchRequest_ = request;
  const MomentTest test(request);

  // A whole year keeps the progress of a leap year; any other range has a step per day.
  const std::string problem = SearchDaysProblem(days);
  const int progressEnd = days == WholeYear(days.first.year) || !problem.empty()
                              ? kSearchProgressEnd
                              : DayNumber(days.last) - DayNumber(days.first) + 1;
  sink.SetRange(0, progressEnd);
  sink.SetPosition(0);
  sink.Clear();
  int matches = 0;
  LoadSettings();

  // The place stays the last chart's; before any chart the engine has none, and a
  // corrected time basis then uses the longitude of an unknown place.
  if (request_.addrName.empty() && request_.longitude == 0 && request_.latitude == 0) {
    request_.longitude = kUnknownPlaceLongitude;
    request_.latitude = kUnknownPlaceLatitude;
  }
  request_.isLunar = false;
  request_.isLeapMonth = false;
  // The walk's moments are Beijing times already; the last chart's clock reading is not theirs.
  beijingOfClock_.reset();
  CopyDragonWaterFacing(request, request_);
  request_.masterYear = request.masterYear;
  // The search judges its own persons; the chart's need no slots at every moment.
  request_.otherPersons.clear();
  request_.mountain = request.mountain;
  request_.mountainGua = request.mountainGua;

  if (!problem.empty()) {
    errorText_ = problem;
    sink.SetPosition(progressEnd);
    return 0;
  }
  // The zone's clock times are read from the zone found once, not by its name at every moment.
  const std::optional<calendar::TimeZone> zone =
      request.zone.empty() ? std::nullopt : calendar::TimeZone::Find(request.zone);
  const int lastDay = DayNumber(days.last);
  calendar::CivilDateTime day{days.first.year, days.first.month, days.first.day, 0, kSearchMinute};
  const int threads = SearchThreadCount();
  if (threads > 1 && lastDay - DayNumber(day) + 1 > kDaysPerShare) {
    matches = SearchDaysOnThreads(request, test, zone, day, lastDay, threads, sink);
  } else {
    bool walking = true;
    std::vector<SearchResult> found, near;
    for (int dayNumber = DayNumber(day); walking && dayNumber <= lastDay && !sink.Cancelled(); ++dayNumber) {
      found.clear();
      walking = TestDay(request, test, zone, day, found, near);
      for (SearchResult& result : found) {
        result.number = ++matches;
        sink.AppendResult(result);
      }
      if (walking) sink.SetPosition(sink.Position() + 1);
      date_.NextDay(day);
    }
    AppendNearMisses(near, matches, sink);
  }
  // A cancelled walk leaves the progress where it stopped.
  if (!sink.Cancelled()) sink.SetPosition(progressEnd);
  return matches;
}

bool MQuorinDay::MissesOne(const SearchRequest& request, const MomentTest& test, const ExaminedList& examined,
                           const std::array<ChartSlot, 4>& pillars, bool personsMatter, std::string& missed) const {
  // 主命's failures, then each other person's of those that read the person, named after them
  // when there are several (冲主命(配偶)).
  int count = 0;
  const auto add = [&](const std::vector<FailedCondition>& failures, bool personsOnly, const std::string& whose) {
    for (const FailedCondition& f : failures) {
      if (personsOnly && !f.concernsThePerson) continue;
      if (++count == 1) missed = f.name + (f.concernsThePerson ? whose : std::string());
    }
  };
  add(test.Failures(examined, pillars, avoid_), false, request.otherPersons.empty() ? std::string() : "(主命)");
  for (std::size_t p = 0; count <= 1 && personsMatter && p < request.otherPersons.size(); ++p) {
    const PersonView person = ViewOfPerson(request, request.otherPersons[p], slots_, settings_.ijiazi == 1);
    add(test.Failures(person.examined, pillars, person.avoid), true, "(" + request.otherPersons[p].name + ")");
  }
  return count == 1;
}

void MQuorinDay::AppendNearMisses(std::vector<SearchResult>& near, int matches, SearchSink& sink) {
  // After every full match, in the days' order.
  for (SearchResult& result : near) {
    result.number = ++matches;
    sink.AppendResult(result);
  }
}

bool MQuorinDay::TestDay(const SearchRequest& request, const MomentTest& test,
                         const std::optional<calendar::TimeZone>& zone, const calendar::CivilDateTime& day,
                         std::vector<SearchResult>& found, std::vector<SearchResult>& near) {
  // The other persons change only what reads the person.
  const bool personsMatter =
      !request.otherPersons.empty() && (request.includeMaster || request.avoid[kAvoidClashMasterFlag]);
  calendar::CivilDateTime moment = day;
  for (int hour = 0; hour < 24; hour += 2) {
    moment.hour = static_cast<std::int16_t>(hour);
    // A zone's clock time: a skipped one is not tested, a repeated one at its first occurrence.
    calendar::CivilDateTime beijing = moment;
    if (!request.zone.empty()) {
      if (!zone) continue;  // a zone the database does not know has no clock times
      const calendar::ClockTimeReading reading = zone->Read(moment);
      if (reading.kind == calendar::ClockTimeKind::kSkipped) continue;
      beijing = calendar::BeijingTimeOfClock(moment, reading.offsets[0]);
    }
    request_.year = beijing.year;
    request_.month = beijing.month;
    request_.day = beijing.day;
    request_.hour = beijing.hour;
    request_.minute = beijing.minute;
    if (!ConvertDate()) return false;
    ClearChart();
    ComputePillars();
    if (!BuildSlots()) {
      errorText_ = kNoSuchPosition;
      return false;
    }
    ComputeAvoidInfo();
    const ExaminedList examined = BuildExaminedList(request, slots_);
    const std::array<ChartSlot, 4> pillars = PillarSlots();
    bool passes = test.Passes(examined, pillars, avoid_);
    for (std::size_t p = 0; passes && personsMatter && p < request.otherPersons.size(); ++p) {
      const PersonView person = ViewOfPerson(request, request.otherPersons[p], slots_, settings_.ijiazi == 1);
      passes = test.Passes(person.examined, pillars, person.avoid);
    }
    if (passes) {
      found.push_back({0, moment, beijing, lunarDate_, request_.isLeapMonth, pillars_, examined.slots, examined.count, {}});
    } else if (request.nearMisses) {
      std::string missed;
      if (MissesOne(request, test, examined, pillars, personsMatter, missed)) {
        near.push_back({0, moment, beijing, lunarDate_, request_.isLeapMonth, pillars_, examined.slots, examined.count,
                        std::move(missed)});
      }
    }
  }
  return true;
}

int MQuorinDay::SearchThreadCount() const {
#if defined(__EMSCRIPTEN__)
  return 1;  // the web edition's engine has no threads; its page runs the search in a worker
#else
  if (searchThreads_ > 0) return searchThreads_;
  return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
#endif
}

namespace {

// What one thread found in a share of the days: the results, how many fell on each day tested,
// and whether the walk must stop after the last day tested (a moment the calendar cannot convert).
struct DaysShare {
  std::vector<SearchResult> results, nearMisses;
  std::vector<int> resultsPerDay, nearMissesPerDay;
  bool stopped = false;
  bool done = false;
};

}  // namespace

int MQuorinDay::SearchDaysOnThreads(const SearchRequest& request, const MomentTest& test,
                                    const std::optional<calendar::TimeZone>& zone, calendar::CivilDateTime day,
                                    int lastDay, int threads, SearchSink& sink) {
  std::vector<calendar::CivilDateTime> dayList;
  for (int dayNumber = DayNumber(day); dayNumber <= lastDay; ++dayNumber) {
    dayList.push_back(day);
    date_.NextDay(day);
  }
  const std::size_t shareCount = (dayList.size() + kDaysPerShare - 1) / kDaysPerShare;
  std::vector<DaysShare> shares(shareCount);
  std::mutex mutex;
  std::condition_variable shareDone;
  std::atomic<std::size_t> nextShare{0};
  std::atomic<bool> stop{false};

  // Each thread walks shares in the order it takes them, on an engine of its own copied from this
  // one as the walk starts; what it finds goes to the sink only here, in the days' order.
  const MQuorinDay start = *this;
  const auto walk = [&] {
    MQuorinDay engine = start;
    std::vector<SearchResult> found, near;
    for (std::size_t index; !stop && (index = nextShare++) < shareCount;) {
      DaysShare share;
      const std::size_t end = std::min(dayList.size(), (index + 1) * kDaysPerShare);
      for (std::size_t d = index * kDaysPerShare; d < end && !stop; ++d) {
        found.clear();
        near.clear();
        const bool walking = engine.TestDay(request, test, zone, dayList[d], found, near);
        share.results.insert(share.results.end(), found.begin(), found.end());
        share.resultsPerDay.push_back(static_cast<int>(found.size()));
        share.nearMisses.insert(share.nearMisses.end(), near.begin(), near.end());
        share.nearMissesPerDay.push_back(static_cast<int>(near.size()));
        if (!walking) {
          share.stopped = true;
          break;
        }
      }
      const std::lock_guard lock(mutex);
      shares[index] = std::move(share);
      shares[index].done = true;
      shareDone.notify_all();
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back(walk);

  int matches = 0;
  std::vector<SearchResult> nearMisses;
  std::size_t lastTested = 0;  // the day the walk ended on, as a one-thread walk would leave it
  bool walking = true;
  for (std::size_t index = 0; walking && index < shareCount; ++index) {
    DaysShare share;
    {
      std::unique_lock lock(mutex);
      shareDone.wait(lock, [&] { return shares[index].done; });
      share = std::move(shares[index]);
    }
    std::size_t result = 0, nearMiss = 0;
    for (std::size_t d = 0; d < share.resultsPerDay.size(); ++d) {
      if (sink.Cancelled()) {
        walking = false;
        break;
      }
      lastTested = index * kDaysPerShare + d;
      for (int r = 0; r < share.resultsPerDay[d]; ++r) {
        SearchResult& found = share.results[result++];
        found.number = ++matches;
        sink.AppendResult(found);
      }
      for (int r = 0; r < share.nearMissesPerDay[d]; ++r) nearMisses.push_back(std::move(share.nearMisses[nearMiss++]));
      if (share.stopped && d + 1 == share.resultsPerDay.size()) {
        walking = false;
        break;
      }
      sink.SetPosition(sink.Position() + 1);
    }
  }
  stop = true;
  for (std::thread& thread : pool) thread.join();
  // This engine is left at the last moment examined, with its error, as by a walk on one thread.
  std::vector<SearchResult> ignored, ignoredNear;
  TestDay(request, test, zone, dayList[lastTested], ignored, ignoredNear);
  AppendNearMisses(nearMisses, matches, sink);
  return matches;
}

}  // namespace quorin::chart

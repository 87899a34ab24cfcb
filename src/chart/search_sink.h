// SPDX-License-Identifier: GPL-3.0-or-later
// Where the search reports to: a progress bar and a list of result lines.
// The window adapts its progress bar and list to this; the recording sink below
// serves tests and quorin-cli.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_types.h"
#include "chart/chart_slot.h"

namespace quorin::chart {

// One moment that passed, with what a practitioner compares candidates by.
struct SearchResult {
  int number = 0;                   // running number of its line, from 1
  calendar::CivilDateTime moment;   // the clock time tested (Beijing time unless zoned), astronomical year
  calendar::CivilDateTime beijing;  // the Beijing time the chart was computed for
  calendar::CivilDateTime lunar;    // the lunar date and hour the chart shows
  bool leapMonth = false;
  calendar::FourPillars pillars;
  // The positions judged, with their 卦气 and 卦运 (the search's examined list).
  std::array<ChartSlot, 9> positions{};
  int positionCount = 0;
  // A near miss: the one ticked condition it misses, as its check box reads; empty for a moment
  // that meets them all.
  std::string missed;
};

class SearchSink {
 public:
  virtual ~SearchSink() = default;

  // Progress bar.
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual int Position() const = 0;
  // Result list.
  virtual void Clear() = 0;
  virtual void AppendLine(std::string_view utf8) = 0;
  // A passing moment; sinks that keep only the lines need not look further.
  virtual void AppendResult(const SearchResult& result);
  // Asked once per day searched: true stops the walk, keeping what was found.
  virtual bool Cancelled() const { return false; }
};

// Keeps the lines, the results and the progress, and counts the progress updates.
class RecordingSearchSink final : public SearchSink {
 public:
  void SetRange(int minimum, int maximum) override {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  void SetPosition(int position) override {
    position_ = position;
    ++positionUpdates_;
  }
  int Position() const override { return position_; }
  void Clear() override {
    lines_.clear();
    results_.clear();
  }
  void AppendLine(std::string_view utf8) override { lines_.emplace_back(utf8); }
  void AppendResult(const SearchResult& result) override {
    SearchSink::AppendResult(result);
    results_.push_back(result);
  }

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<SearchResult>& Results() const { return results_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int PositionUpdates() const { return positionUpdates_; }

 private:
  std::vector<std::string> lines_;
  std::vector<SearchResult> results_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  int positionUpdates_ = 0;
};

}  // namespace quorin::chart

// Where the one-year search reports to: a progress bar and a list of result lines.
// The window adapts its progress bar and list to this; the recording sink below
// serves tests and quorin-cli.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorin::chart {

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
};

// Keeps the lines and the progress, and counts the progress updates.
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
  void Clear() override { lines_.clear(); }
  void AppendLine(std::string_view utf8) override { lines_.emplace_back(utf8); }

  const std::vector<std::string>& Lines() const { return lines_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int PositionUpdates() const { return positionUpdates_; }

 private:
  std::vector<std::string> lines_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  int positionUpdates_ = 0;
};

}  // namespace quorin::chart

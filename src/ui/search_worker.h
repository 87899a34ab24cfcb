// SPDX-License-Identifier: GPL-3.0-or-later
// The search (查找吉课) on a thread of its own, so that the window stays free while a long range
// of days is walked. What it finds and how far it got come back as signals a few times a
// second, the end as one last signal; cancelling is a flag the walk reads once per day.
#pragma once

#include <QObject>
#include <atomic>
#include <thread>
#include <vector>

#include "chart/quorin_day.h"
#include "chart/search.h"

namespace quorin::ui {

class SearchWorker : public QObject {
  Q_OBJECT

 public:
  explicit SearchWorker(QObject* parent = nullptr);
  ~SearchWorker() override;  // stops a walk still running

  // Walks `days` with a copy of `engine` (its settings and the place of its last chart).
  // Nothing happens while a walk runs.
  void Start(const chart::MQuorinDay& engine, const chart::SearchRequest& request, const chart::SearchDays& days);
  bool Running() const { return thread_.joinable(); }
  // The walk stops after the day it is on; what it found still arrives, then Finished.
  void Cancel() { cancelled_ = true; }
  // Stops the walk and waits for it: nothing more arrives, Finished neither.
  void Stop();

 signals:
  void RangeSet(int maximum);
  // The days walked so far and the moments found since the last report.
  void Progressed(int position, const std::vector<chart::SearchResult>& found);
  // The walk ended: how many moments it found, whether it was cancelled, the days walked.
  void Finished(int found, bool cancelled, int position);

 private:
  class ReportingSink;
  void Join();

  std::thread thread_;
  std::atomic<bool> cancelled_ = false;
};

}  // namespace quorin::ui

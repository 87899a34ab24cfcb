// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_worker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

namespace quorin::ui {

// The engine's sink on the walking thread. Every report is posted to the worker, which lives
// on the window's thread and emits it there; a report still waiting when the worker stops or
// ends is dropped with it.
class SearchWorker::ReportingSink final : public chart::SearchSink {
 public:
  ReportingSink(SearchWorker& worker, const std::atomic<bool>& cancelled) : worker_(worker), cancelled_(cancelled) {
    sinceReport_.start();
  }

  void SetRange(int, int maximum) override {
    maximum_ = maximum;
    Post([maximum](SearchWorker& worker) { emit worker.RangeSet(maximum); });
  }
  void SetPosition(int position) override {
    position_ = position;
    if (position == maximum_ || sinceReport_.elapsed() >= kReportInterval) Report();
  }
  int Position() const override { return position_; }
  // The page empties its list before it starts, and writes each line from its result.
  void Clear() override {}
  void AppendLine(std::string_view) override {}
  void AppendResult(const chart::SearchResult& result) override { found_.push_back(result); }
  bool Cancelled() const override { return cancelled_; }

  void Report() {
    Post([position = position_, found = std::move(found_)](SearchWorker& worker) {
      emit worker.Progressed(position, found);
    });
    found_.clear();
    sinceReport_.restart();
  }
  template <typename Emit>
  void Post(Emit emitOnWindowThread) {
    QMetaObject::invokeMethod(
        &worker_, [worker = &worker_, emitOnWindowThread] { emitOnWindowThread(*worker); }, Qt::QueuedConnection);
  }

 private:
  // Often enough for a moving bar, seldom enough that the lines arrive in batches.
  static constexpr qint64 kReportInterval = 40;  // milliseconds

  SearchWorker& worker_;
  const std::atomic<bool>& cancelled_;
  std::vector<chart::SearchResult> found_;
  int maximum_ = 0;
  int position_ = 0;
  QElapsedTimer sinceReport_;
};

SearchWorker::SearchWorker(QObject* parent) : QObject(parent) {}

SearchWorker::~SearchWorker() { Stop(); }

void SearchWorker::Start(const chart::MQuorinDay& engine, const chart::SearchRequest& request,
                         const chart::SearchDays& days) {
  if (Running()) return;
  cancelled_ = false;
  chart::MQuorinDay walker = engine;
  // The copy writes no text and draws nothing: the window's views stay the window's.
  walker.Attach(nullptr, nullptr);
  thread_ = std::thread([this, walker = std::move(walker), request, days]() mutable {
    ReportingSink sink(*this, cancelled_);
    const int found = walker.SearchRange(request, days, sink);
    sink.Report();
    sink.Post([found, cancelled = cancelled_.load(), position = sink.Position()](SearchWorker& worker) {
      worker.Join();
      emit worker.Finished(found, cancelled, position);
    });
  });
}

void SearchWorker::Stop() {
  cancelled_ = true;
  Join();
  QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
}

void SearchWorker::Join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace quorin::ui

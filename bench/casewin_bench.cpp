// SPDX-License-Identifier: GPL-3.0-or-later
// The case tree at 100,000 cases: a rebuild in time-descending order, start-up with
// the newest 1000 shown, and the background pass of "显示全部课例". Each reports how
// often the window repainted meanwhile (a timer asks for a repaint every 10 ms).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <random>

#include "base/files.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "ui/case_tree_panel.h"
#include "ui/frm_main.h"
#include "ui/program_objects.h"
#include "ui/prompter.h"
#include "support/sample_cases.h"
#include "support/yes_prompter.h"

namespace {

using quorin::TRecordData;
using quorin::bench::MakeCase;
using quorin::bench::YesPrompter;

constexpr int kCases = 100000;

// Counts the paints of a widget that a timer asks to repaint every 10 ms.
class RepaintCounter : public QObject {
 public:
  explicit RepaintCounter(QWidget* watched) : watched_(watched) {
    watched_->installEventFilter(this);
    QObject::connect(&timer_, &QTimer::timeout, watched_, [w = watched_] { w->update(); });
    timer_.start(10);
  }
  ~RepaintCounter() override { watched_->removeEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }

 private:
  QWidget* watched_;
  QTimer timer_;
};

// One program folder with 100,000 cases for every benchmark of the run.
class ProgramWith100kCases {
 public:
  ProgramWith100kCases() {
    quorin::base::SetProgramFolder(folder_.path().toStdString() + "/");
    quorin::cases::MRecordBase writer;
    if (!writer.Open(quorin::ui::CaseDatabasePath()) || !writer.BeginBatch()) std::abort();
    std::mt19937 random(7);
    for (int i = 0; i < kCases; ++i) {
      TRecordData r = MakeCase(random, i);
      if (!writer.InsertInBatch(r)) std::abort();
    }
    if (!writer.EndBatch()) std::abort();
    quorin::ui::InstallPrompter(&prompter_);
    quorin::ui::SetProgramCaseStore(&store_);
  }
  ~ProgramWith100kCases() {
    quorin::ui::SetProgramCaseStore(nullptr);
    quorin::ui::InstallPrompter(nullptr);
  }

 private:
  QTemporaryDir folder_;
  YesPrompter prompter_;
  quorin::cases::MRecordBase store_;
};

ProgramWith100kCases& Program() {
  static ProgramWith100kCases program;
  return program;
}

void WaitForTheTree(quorin::ui::TFrmMain& window) {
  while (window.CaseTree().Loading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void StartUpWith100kCases(benchmark::State& state) {
  Program();
  int shown = 0;
  for (auto _ : state) {
    quorin::ui::TFrmMain window;
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    WaitForTheTree(window);
    state.PauseTiming();
    shown = window.CaseTree().CaseCount();
    window.close();
    state.ResumeTiming();
  }
  state.counters["shown"] = shown;
}
BENCHMARK(StartUpWith100kCases)->Unit(benchmark::kMillisecond)->Iterations(5);

// Fills the tree of a window in time-descending order with `fill` and reports the
// cases shown and the repaints of the remarks editor meanwhile.
template <typename Fill>
void MeasureTreeFill(benchmark::State& state, Fill fill) {
  Program();
  quorin::ui::TFrmMain window;
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  WaitForTheTree(window);
  window.MenuAction(QStringLiteral("N14"))->trigger();  // 时间降序（近-远）
  WaitForTheTree(window);
  int paints = 0;
  int shown = 0;
  for (auto _ : state) {
    RepaintCounter counter(window.findChild<QTextEdit*>(QStringLiteral("RedtPingYu"))->viewport());
    fill(window);
    state.PauseTiming();
    paints = counter.paints;
    shown = window.CaseTree().CaseCount();
    state.ResumeTiming();
  }
  state.counters["shown"] = shown;
  state.counters["repaints"] = paints;
  window.close();
}

void RebuildOf100kTimeDescending(benchmark::State& state) {
  const std::vector<int> ids = quorin::cases::NewestCaseIds(kCases, kCases);
  MeasureTreeFill(state, [&ids](quorin::ui::TFrmMain& window) {
    window.CaseTree().ShowCases(ids);
    WaitForTheTree(window);
  });
}
BENCHMARK(RebuildOf100kTimeDescending)->Unit(benchmark::kMillisecond)->Iterations(3);

void ShowAllOf100kInTheBackground(benchmark::State& state) {
  MeasureTreeFill(state, [](quorin::ui::TFrmMain& window) {
    window.MenuAction(QStringLiteral("pop_s_full"))->trigger();  // 显示全部课例
    WaitForTheTree(window);
  });
}
BENCHMARK(ShowAllOf100kInTheBackground)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

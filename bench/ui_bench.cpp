// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window on an empty database and one 排盘 with its repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "base/data_location.h"
#include "base/files.h"
#include "base/script_text.h"
#include "cases/record_base.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_main.h"
#include "ui/program_objects.h"
#include "ui/program_start.h"
#include "ui/prompter.h"
#include "support/yes_prompter.h"

namespace {

using quorin::bench::YesPrompter;

// Argument: the script (0 simplified, 1 Taiwan, 2 Hong Kong); its converter is built before
// the timing (BuildScriptTranslations and chart_bench's BM_BuildScriptConverter time that).
void StartUpOnEmptyDatabase(benchmark::State& state) {
  YesPrompter prompter;
  quorin::ui::InstallPrompter(&prompter);
  quorin::base::SetShippedFolder(quorin::base::ExecutableFolder());
  if (!quorin::ui::UseScript(static_cast<quorin::base::Script>(state.range(0)))) state.SkipWithError("no translation");
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir folder;
    quorin::base::SetProgramFolder(folder.path().toStdString());
    quorin::cases::MRecordBase store;
    quorin::ui::SetProgramCaseStore(&store);
    state.ResumeTiming();
    {
      quorin::ui::TFrmMain window;
      window.show();
      (void)QTest::qWaitForWindowExposed(&window);
      QApplication::processEvents();
      state.PauseTiming();
      window.close();
    }
    quorin::ui::SetProgramCaseStore(nullptr);
    state.ResumeTiming();
  }
  quorin::ui::InstallPrompter(nullptr);
  (void)quorin::ui::UseScript(quorin::base::Script::kSimplified);
}
BENCHMARK(StartUpOnEmptyDatabase)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

// What a traditional script adds to a start-up besides the window: its converter (the first
// time in a process) and the windows' and Qt's translations.
void BuildScriptTranslations(benchmark::State& state) {
  quorin::base::SetShippedFolder(quorin::base::ExecutableFolder());
  const auto script = static_cast<quorin::base::Script>(state.range(0));
  for (auto _ : state) {
    const quorin::base::ScriptConverter converter(script);
    benchmark::DoNotOptimize(converter.problem().data());
    if (!quorin::ui::UseScript(script)) state.SkipWithError("no translation");
    state.PauseTiming();
    (void)quorin::ui::UseScript(quorin::base::Script::kSimplified);
    state.ResumeTiming();
  }
}
BENCHMARK(BuildScriptTranslations)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

void PaiAndRepaint(benchmark::State& state) {
  YesPrompter prompter;
  quorin::ui::InstallPrompter(&prompter);
  QTemporaryDir folder;
  quorin::base::SetProgramFolder(folder.path().toStdString());
  quorin::ui::TFrmMain window;
  window.show();
  (void)QTest::qWaitForWindowExposed(&window);
  auto* pai = window.findChild<QPushButton*>(QStringLiteral("BtnPai"));
  for (auto _ : state) {
    pai->click();
    window.findChild<QTextEdit*>(QStringLiteral("RedtOut"))->repaint();
    window.repaint();
  }
  window.close();
  quorin::ui::InstallPrompter(nullptr);
}
BENCHMARK(PaiAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

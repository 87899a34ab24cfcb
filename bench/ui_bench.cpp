// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window on an empty database and one 排盘 with its repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "base/files.h"
#include "cases/record_base.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_main.h"
#include "ui/program_objects.h"
#include "ui/prompter.h"
#include "support/yes_prompter.h"

namespace {

using quorin::bench::YesPrompter;

void StartUpOnEmptyDatabase(benchmark::State& state) {
  YesPrompter prompter;
  quorin::ui::InstallPrompter(&prompter);
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
}
BENCHMARK(StartUpOnEmptyDatabase)->Unit(benchmark::kMillisecond)->Iterations(10);

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

// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the window benchmarks: a Qt application set up as the program sets itself
// up (the Song face at 10.5 points, Qt's Chinese texts), as the windows see it at start-up.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/program_start.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quorin::ui::PrepareProgramApplication();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The main of the window benchmarks: a Qt application with the program's Song face
// at 10.5 points, as the windows see it at start-up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>

#include "qtdraw/fonts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quorin::qtdraw::InstallFontSubstitutions();
  QFont font(quorin::qtdraw::kSongFont);
  font.setPointSizeF(10.5);
  QApplication::setFont(font);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the day chart: one full computation with all its text must stay well
// under a millisecond, so 排盘, day and hour steps and line flips feel immediate.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "base/script_text.h"
#include "chart/quorin_day.h"

namespace {

using quorin::TRecordData;
using quorin::chart::MQuorinDay;
using quorin::chart::RecordingRichTextSink;

TRecordData FullRequest() {
  TRecordData r;
  r.ResetRecord();
  r.year = 2024;
  r.month = 3;
  r.day = 15;
  r.hour = 10;
  r.minute = 30;
  r.longitude = 116.5f;
  r.latitude = 39.9f;
  r.addrName = "北京";
  r.name = "某人";
  r.male = true;
  r.masterYear = 1978;
  r.mountain = 13;
  r.mountainGua = 1;
  r.dragonMountain = 1;
  r.dragonGua = 1;
  r.waterMountain = 7;
  r.waterGua = 2;
  r.showFacing = true;
  return r;
}

// A settings file with true solar time, the costliest time basis.
std::string SettingsFile() {
  const auto path = std::filesystem::temp_directory_path() / "quorin_chart_bench_set.ini";
  std::ofstream(path, std::ios::binary) << "[set]\r\nidate=1\r\nbRiGua=1\r\n";
  return path.string();
}

void BM_ComputeFullChart(benchmark::State& state) {
  MQuorinDay engine;
  RecordingRichTextSink text;
  engine.Attach(&text, nullptr);
  engine.SetSettingsPath(SettingsFile());
  TRecordData r = FullRequest();
  int minute = 0;
  for (auto _ : state) {
    // A different minute each time, so no calendar result is simply reused.
    r.minute = static_cast<std::int16_t>(minute++ % 60);
    if (!engine.Compute(r)) state.SkipWithError("compute failed");
    benchmark::DoNotOptimize(text.Text().data());
  }
}
BENCHMARK(BM_ComputeFullChart)->Unit(benchmark::kMicrosecond);

void BM_RecomputeWithChangedLines(benchmark::State& state) {
  MQuorinDay engine;
  RecordingRichTextSink text;
  engine.Attach(&text, nullptr);
  engine.SetSettingsPath(SettingsFile());
  if (!engine.Compute(FullRequest())) state.SkipWithError("compute failed");
  int flip = 0;
  for (auto _ : state) {
    engine.SetChangedLine(flip % 6, engine.ChangedLines()[static_cast<std::size_t>(flip % 6)] == 0);
    ++flip;
    if (!engine.RecomputeWithChangedLines()) state.SkipWithError("recompute failed");
    benchmark::DoNotOptimize(text.Text().data());
  }
}
BENCHMARK(BM_RecomputeWithChangedLines)->Unit(benchmark::kMicrosecond);

// Without a text view the engine only converts, builds the pillars, positions and
// avoidance data: about what the one-year search does for each of its ~4380 moments.
void BM_ComputeWithoutText(benchmark::State& state) {
  MQuorinDay engine;
  engine.SetSettingsPath(SettingsFile());
  TRecordData r = FullRequest();
  if (!engine.Compute(r)) state.SkipWithError("compute failed");
  double jd = engine.GetMoment().beijingJD;
  for (auto _ : state) {
    jd += 1.0 / 12;
    const auto moment = engine.DateFromJD(jd);
    r.year = moment.year;
    r.month = moment.month;
    r.day = moment.day;
    r.hour = moment.hour;
    r.minute = moment.minute;
    if (!engine.Compute(r)) state.SkipWithError("compute failed");
  }
}
BENCHMARK(BM_ComputeWithoutText)->Unit(benchmark::kMicrosecond);

// The chart picture's own work (texts, geometry, six-line chart, relation lines)
// without the cost of a real painter: a click must answer at once.
void BM_ClickSelectsAndRedraws(benchmark::State& state) {
  MQuorinDay engine;
  RecordingRichTextSink text;
  quorin::draw::RecordingCanvas canvas;
  engine.Attach(&text, &canvas);
  engine.SetSettingsPath(SettingsFile());
  if (!engine.Compute(FullRequest())) state.SkipWithError("compute failed");
  const auto& table = engine.ImageState().table;
  const auto bands = table.Bands();
  int column = 0;
  for (auto _ : state) {
    canvas.ClearOperations();
    // Band 0 of each column in turn: six-line chart and both kinds of links.
    const int x = (column++ % table.shownCount) * table.columnWidth + table.columnWidth / 2;
    engine.Click(x, bands[0].top);
    benchmark::DoNotOptimize(canvas.Operations().data());
  }
}
BENCHMARK(BM_ClickSelectsAndRedraws)->Unit(benchmark::kMicrosecond);

// Building the converter of a traditional script: what a start-up in that script adds.
void BM_BuildScriptConverter(benchmark::State& state) {
  const auto script = static_cast<quorin::base::Script>(state.range(0));
  for (auto _ : state) {
    const quorin::base::ScriptConverter converter(script);
    benchmark::DoNotOptimize(converter.problem().data());
  }
}
BENCHMARK(BM_BuildScriptConverter)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A whole chart text (header through 常用神煞) into traditional Chinese, a new moment each
// time (only the conversion is timed); range 1 Taiwan, 2 Hong Kong.
void BM_ConvertWholeChartText(benchmark::State& state) {
  const quorin::base::ScriptConverter converter(static_cast<quorin::base::Script>(state.range(0)));
  MQuorinDay engine;
  RecordingRichTextSink text;
  engine.Attach(&text, nullptr);
  engine.SetSettingsPath(SettingsFile());
  TRecordData r = FullRequest();
  int day = 0;
  for (auto _ : state) {
    state.PauseTiming();
    r.day = static_cast<std::int16_t>(1 + day++ % 28);
    r.hour = static_cast<std::int16_t>(day % 24);
    if (!engine.Compute(r)) state.SkipWithError("compute failed");
    state.ResumeTiming();
    benchmark::DoNotOptimize(converter.Convert(text.Text()).data());
  }
  state.counters["characters"] = static_cast<double>(text.Text().size() / 3);
}
BENCHMARK(BM_ConvertWholeChartText)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

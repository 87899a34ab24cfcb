// SPDX-License-Identifier: GPL-3.0-or-later
// Case store at 100,000 cases: one batch insert, reading all ordered by time, a keyword
// search over all, and the memory of the ordered list; reading a crafted remark file.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "base/files.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "support/sample_cases.h"

namespace {

using quorin::TRecordData;
using quorin::bench::MakeCase;
using quorin::cases::MRecordBase;

constexpr int kCases = 100000;

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorin-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern + "/";
}

struct Database {
  std::string folder = TempFolder();
  std::string path = folder + "dat/Orlune.db";
  Database() { quorin::base::SetProgramFolder(folder); }
  ~Database() { std::filesystem::remove_all(folder); }
};

// Stores `count` plausible cases, drawn from `seed`, in one batch.
void Fill(const std::string& path, int count, unsigned seed) {
  MRecordBase store;
  if (!store.Open(path) || !store.BeginBatch()) std::abort();
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    TRecordData r = MakeCase(random, i);
    if (!store.InsertInBatch(r)) std::abort();
  }
  if (!store.EndBatch()) std::abort();
}

Database& Filled() {
  static Database db;
  static const bool filled = (Fill(db.path, kCases, 1), true);
  (void)filled;
  return db;
}

void BM_InsertOneBatch(benchmark::State& state) {
  for (auto _ : state) {
    Database db;
    MRecordBase store;
    if (!store.Open(db.path)) std::abort();
    std::mt19937 random(1);
    if (!store.BeginBatch()) std::abort();
    for (int i = 0; i < kCases; ++i) {
      TRecordData r = MakeCase(random, i);
      benchmark::DoNotOptimize(store.InsertInBatch(r));
    }
    if (!store.EndBatch()) std::abort();
  }
  state.counters["cases"] = kCases;
}
BENCHMARK(BM_InsertOneBatch)->Unit(benchmark::kMillisecond)->Iterations(1);

// Importing another library of 20,000 cases into an empty one: every case checked, stored and
// given its remark file, made durable with one sync (target: under 3 s).
void BM_Import20000Cases(benchmark::State& state) {
  constexpr int kImported = 20000;
  Database source;
  Fill(source.path, kImported, 2);
  for (auto _ : state) {
    state.PauseTiming();
    auto target = std::make_unique<Database>();
    MRecordBase store;
    if (!store.Open(target->path)) std::abort();
    state.ResumeTiming();
    if (store.ImportFrom(source.path) != kImported) std::abort();
    state.PauseTiming();
    target.reset();
    state.ResumeTiming();
  }
  state.counters["cases"] = kImported;
}
BENCHMARK(BM_Import20000Cases)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_ReadAllOrderedByTimeDescending(benchmark::State& state) {
  Database& db = Filled();
  MRecordBase store;
  if (!store.Open(db.path)) std::abort();
  const auto ids = quorin::cases::NewestCaseIds(store.GetPrimaryId(), store.GetPrimaryId());
  for (auto _ : state) {
    auto result = quorin::cases::LoadCaseItems(store, ids, quorin::cases::CaseOrder::kTimeDescending);
    if (result.items.size() < kCases * 9 / 10) std::abort();
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ReadAllOrderedByTimeDescending)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FuzzySearchOverAll(benchmark::State& state) {
  Database& db = Filled();
  MRecordBase store;
  if (!store.Open(db.path)) std::abort();
  for (auto _ : state) {
    auto found = store.FuzzySearch({"张", "2010年", "子时"});
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FuzzySearchOverAll)->Unit(benchmark::kMillisecond)->Iterations(3);

// Bytes held by the ordered list of all cases (items and their strings), and the
// process's peak resident size after building it.
void BM_OrderedListMemory(benchmark::State& state) {
  Database& db = Filled();
  MRecordBase store;
  if (!store.Open(db.path)) std::abort();
  const auto ids = quorin::cases::NewestCaseIds(store.GetPrimaryId(), store.GetPrimaryId());
  double bytes = 0;
  for (auto _ : state) {
    const auto result = quorin::cases::LoadCaseItems(store, ids, quorin::cases::CaseOrder::kTimeDescending);
    bytes = static_cast<double>(result.items.capacity() * sizeof(quorin::cases::TCusTreeItem));
    for (const auto& item : result.items) {
      if (item.text.capacity() > 15) bytes += static_cast<double>(item.text.capacity() + 1);
      if (item.className.capacity() > 15) bytes += static_cast<double>(item.className.capacity() + 1);
    }
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["list_MB"] = bytes / 1e6;
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_OrderedListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

namespace {

void BM_ReadAllUnordered(benchmark::State& state) {
  Database& db = Filled();
  MRecordBase store;
  if (!store.Open(db.path)) std::abort();
  const auto ids = quorin::cases::NewestCaseIds(store.GetPrimaryId(), store.GetPrimaryId());
  for (auto _ : state) {
    auto result = quorin::cases::LoadCaseItems(store, ids, quorin::cases::CaseOrder::kNone);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ReadAllUnordered)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LunarTimeKey(benchmark::State& state) {
  quorin::calendar::MYiDateEx date;
  std::mt19937 random(3);
  for (auto _ : state) {
    TRecordData r = MakeCase(random, 0);
    r.isLunar = true;
    benchmark::DoNotOptimize(quorin::cases::TimeKey(date, r));
  }
}
BENCHMARK(BM_LunarTimeKey)->Unit(benchmark::kMicrosecond);

// A hostile remark of many small font tables (30,000 make about 650 KB): its read
// time must grow with the file, not with its square.
void BM_ReadRemarkWithManyFontTables(benchmark::State& state) {
  const std::string folder = TempFolder();
  const std::string path = folder + "remark.rtf";
  std::string rtf = "{\\rtf1\\ansi\\ansicpg936";
  for (int i = 0; i < state.range(0); ++i) rtf += "{\\fonttbl{\\f" + std::to_string(i) + " A;}}";
  rtf += "\\f0 x}";
  if (!quorin::base::AtomicWriteFile(path, rtf, nullptr)) std::abort();
  for (auto _ : state) {
    const auto text = quorin::cases::ReadRemarkPlainText(path);
    if (!text || *text != "x") std::abort();
    benchmark::DoNotOptimize(text);
  }
  state.counters["file_KB"] = static_cast<double>(rtf.size()) / 1000;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadRemarkWithManyFontTables)->Arg(30000)->Arg(60000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The shared library at 100,000 cases, on a throwaway local PostgreSQL server (started and stopped
// by the benchmark itself): pushing a local library into it, listing every id, reading a case.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/files.h"
#include "cases/pg_connection.h"
#include "cases/record_base.h"
#include "cases/shared_library.h"
#include "support/sample_cases.h"

namespace {

using quorin::TRecordData;
using quorin::cases::MRecordBase;
using quorin::cases::SharedLibrary;

constexpr int kCases = 100000;

std::string TempFolder(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

// The server, up for the whole run.
struct Server {
  std::string folder = TempFolder("quorin-pgb-");
  std::string script = std::string(QUORIN_SOURCE_DIR) + "/tests/support/pg_server.sh";
  Server() {
    if (std::system(("bash " + script + " start " + folder).c_str()) != 0) std::abort();
  }
  ~Server() {
    // Nothing is left to do when stopping fails at the end of the run.
    if (std::system(("bash " + script + " stop " + folder).c_str()) != 0) return;
  }
  std::string Target(const std::string& database) const {
    return "host=" + folder + " user=postgres dbname=" + database;
  }
};

Server& TheServer() {
  static Server server;
  return server;
}

// A new database holding an empty shared library.
std::string FreshLibrary() {
  static int made = 0;
  const std::string name = "bench_" + std::to_string(++made);
  quorin::cases::PgConnection admin;
  if (!admin.Open(TheServer().Target("postgres")) || !admin.Execute("create database " + name)) std::abort();
  SharedLibrary library;
  if (!library.Connect(TheServer().Target(name)) || !library.Initialize()) std::abort();
  return name;
}

// A local library of `kCases` plausible cases.
struct LocalLibrary {
  std::string folder = TempFolder("quorin-bench-") + "/";
  std::string path = folder + "dat/Orlune.db";
  LocalLibrary() {
    quorin::base::SetProgramFolder(folder);
    MRecordBase store;
    if (!store.Open(path) || !store.BeginBatch()) std::abort();
    std::mt19937 random(1);
    for (int i = 0; i < kCases; ++i) {
      TRecordData r = quorin::bench::MakeCase(random, i);
      if (!store.InsertInBatch(r)) std::abort();
    }
    if (!store.EndBatch()) std::abort();
  }
  ~LocalLibrary() { std::filesystem::remove_all(folder); }
};

LocalLibrary& Local() {
  static LocalLibrary local;
  return local;
}

// The library every reading benchmark reads: the local one pushed once.
const std::string& Pushed() {
  static const std::string name = [] {
    const std::string database = FreshLibrary();
    SharedLibrary library;
    MRecordBase local;
    if (!library.Connect(TheServer().Target(database)) || !local.OpenReadOnly(Local().path) || !library.Push(local)) {
      std::abort();
    }
    return database;
  }();
  return name;
}

void BM_PushHundredThousandCases(benchmark::State& state) {
  Local();
  for (auto _ : state) {
    state.PauseTiming();
    const std::string database = FreshLibrary();
    SharedLibrary library;
    MRecordBase local;
    if (!library.Connect(TheServer().Target(database)) || !local.OpenReadOnly(Local().path)) std::abort();
    state.ResumeTiming();
    const auto pushed = library.Push(local);
    if (!pushed || *pushed != kCases) std::abort();
  }
}
BENCHMARK(BM_PushHundredThousandCases)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EveryIdOfHundredThousand(benchmark::State& state) {
  SharedLibrary library;
  if (!library.Connect(TheServer().Target(Pushed()))) std::abort();
  for (auto _ : state) benchmark::DoNotOptimize(library.CaseIds());
}
BENCHMARK(BM_EveryIdOfHundredThousand)->Unit(benchmark::kMillisecond);

void BM_ReadOneCase(benchmark::State& state) {
  SharedLibrary library;
  if (!library.Connect(TheServer().Target(Pushed()))) std::abort();
  std::mt19937 random(2);
  for (auto _ : state) benchmark::DoNotOptimize(library.Read(1 + static_cast<int>(random() % kCases)));
}
BENCHMARK(BM_ReadOneCase)->Unit(benchmark::kMicrosecond);

}  // namespace

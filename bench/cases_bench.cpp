// Case store at 100,000 cases: one batch insert, reading all ordered by time, a keyword
// search over all, and the memory of the ordered list.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/files.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"

namespace {

using quorin::TRecordData;
using quorin::cases::MRecordBase;

constexpr int kCases = 100000;

std::string TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorin-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern + "/";
}

// A plausible case: mostly Gregorian dates, one in ten lunar, common surnames.
TRecordData MakeCase(std::mt19937& random, int i) {
  static const char* kSurnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄", "周", "吴", "欧阳", "Smith"};
  static const char* kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇"};
  static const char* kCategories[] = {"开业", "进宅", "结婚", "阳宅风水", "阴宅", "求财", "催丁", "临时保存"};
  TRecordData r;
  r.ResetRecord();
  r.name = std::string(kSurnames[random() % 12]) + kGiven[random() % 10] + kGiven[i % 10];
  r.year = static_cast<std::int16_t>(1900 + random() % 130);
  r.month = static_cast<std::int16_t>(1 + random() % 12);
  r.day = static_cast<std::int16_t>(1 + random() % 28);
  r.hour = static_cast<std::int16_t>(random() % 24);
  r.minute = static_cast<std::int16_t>(random() % 60);
  r.isLunar = random() % 10 == 0;
  r.male = random() % 2 == 0;
  r.className = kCategories[random() % 8];
  r.addrName = "广东广州";
  r.province = 18;
  r.longitude = 113.25f;
  r.latitude = 23.1f;
  r.dragonMountain = -1;
  r.waterMountain = -1;
  r.masterYear = 1970;
  r.remarkFile = r.name + "_" + std::to_string(i);
  r.remarkText = "输入自己的评语：此课用于" + std::string(r.className) + "，效果良好。";
  return r;
}

struct Database {
  std::string folder = TempFolder();
  std::string path = folder + "dat/Orlune.db";
  Database() { quorin::base::SetProgramFolder(folder); }
  ~Database() { std::filesystem::remove_all(folder); }
};

Database& Filled() {
  static Database db;
  static bool filled = [] {
    MRecordBase store;
    if (store.Open(db.path) != 0 || !store.BeginBatch()) std::abort();
    std::mt19937 random(1);
    for (int i = 0; i < kCases; ++i) {
      TRecordData r = MakeCase(random, i);
      if (store.InsertInBatch(r) < 0) std::abort();
    }
    return store.EndBatch();
  }();
  if (!filled) std::abort();
  return db;
}

void BM_InsertOneBatch(benchmark::State& state) {
  for (auto _ : state) {
    Database db;
    MRecordBase store;
    if (store.Open(db.path) != 0) std::abort();
    std::mt19937 random(1);
    store.BeginBatch();
    for (int i = 0; i < kCases; ++i) {
      TRecordData r = MakeCase(random, i);
      benchmark::DoNotOptimize(store.InsertInBatch(r));
    }
    if (!store.EndBatch()) std::abort();
  }
  state.counters["cases"] = kCases;
}
BENCHMARK(BM_InsertOneBatch)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadAllOrderedByTimeDescending(benchmark::State& state) {
  Database& db = Filled();
  MRecordBase store;
  if (store.Open(db.path) != 0) std::abort();
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
  if (store.Open(db.path) != 0) std::abort();
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
  if (store.Open(db.path) != 0) std::abort();
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
  if (store.Open(db.path) != 0) std::abort();
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

}  // namespace

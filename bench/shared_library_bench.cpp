// SPDX-License-Identifier: GPL-3.0-or-later
// The shared library on a throwaway local PostgreSQL server (started and stopped by the benchmark
// itself): at 100,000 cases, pushing and importing a local library, listing every id, reading a
// case; at 1,000,000 cases, the case tree's first level and the searches.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "base/files.h"
#include "cases/case_search.h"
#include "cases/case_tree.h"
#include "cases/pg_connection.h"
#include "cases/record_base.h"
#include "cases/record_codec.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "support/sample_cases.h"

namespace {

using quorin::TRecordData;
using quorin::cases::CaseSearchCriteria;
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

// Copies the local library of 100,000 cases into a fresh shared one by `copy`.
void CopyHundredThousandCases(benchmark::State& state, std::optional<int> (SharedLibrary::*copy)(MRecordBase&)) {
  Local();
  for (auto _ : state) {
    state.PauseTiming();
    const std::string database = FreshLibrary();
    SharedLibrary library;
    MRecordBase local;
    if (!library.Connect(TheServer().Target(database)) || !local.OpenReadOnly(Local().path)) std::abort();
    state.ResumeTiming();
    const auto copied = (library.*copy)(local);
    if (!copied || *copied != kCases) std::abort();
  }
}

void BM_PushHundredThousandCases(benchmark::State& state) { CopyHundredThousandCases(state, &SharedLibrary::Push); }
BENCHMARK(BM_PushHundredThousandCases)->Unit(benchmark::kMillisecond)->Iterations(1);

// The local import: every case checked, listed in its category and numbered anew.
void BM_ImportHundredThousandCases(benchmark::State& state) { CopyHundredThousandCases(state, &SharedLibrary::Import); }
BENCHMARK(BM_ImportHundredThousandCases)->Unit(benchmark::kMillisecond)->Iterations(1);

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

constexpr int kMillion = 1000000;

// The categories of the million cases, as the sample cases name them.
const std::vector<std::string> kMillionCategories{"开业", "进宅", "结婚", "阳宅风水", "阴宅", "求财", "催丁", "临时保存"};

// A sample case with a remark of its own words and a place among several, so that the searched
// texts differ as a practice's do.
TRecordData MillionCase(std::mt19937& random, int i) {
  static const char* kPlaces[] = {"广东广州", "北京", "上海", "臺北", "香港九龙", "四川成都", "浙江杭州", "湖南长沙"};
  static const char* kWords[] = {"财运亨通", "婚姻美满", "官非", "搬迁", "添丁", "生意兴隆", "病愈", "考试顺利",
                                 "口舌", "破财",     "升职",     "远行", "置业", "合伙",     "诉讼", "失物复得"};
  TRecordData r = quorin::bench::MakeCase(random, i);
  r.addrName = kPlaces[random() % 8];
  r.remarkText = "此课用于" + r.className + "，" + kWords[random() % 16] + "。";
  // A rarer remark, as most are: about one case in two hundred.
  if (random() % 200 == 0) r.remarkText += "应期在" + std::to_string(1 + random() % 12) + "月。";
  return r;
}

// COPY's text format: backslash, tab and line breaks escaped.
void AppendCopyText(std::string& line, std::string_view text) {
  for (const char c : text) {
    if (c == '\\') line += "\\\\";
    else if (c == '\t') line += "\\t";
    else if (c == '\n') line += "\\n";
    else if (c == '\r') line += "\\r";
    else line += c;
  }
}

// A library of a million cases, filled through COPY rather than case by case (only this setup
// does so): the columns as the library writes them, each case with its remark.
const std::string& Million() {
  static const std::string name = [] {
    const std::string database = FreshLibrary();
    SharedLibrary library;
    if (!library.Connect(TheServer().Target(database)) || !library.SetClassNames(kMillionCategories)) std::abort();
    quorin::cases::PgConnection connection;
    if (!connection.Open(TheServer().Target(database))) std::abort();
    const auto start = std::chrono::steady_clock::now();
    // The shared library's columns after id, and the local column each holds (shared_library.cpp).
    constexpr std::array<int, 16> kLocalColumn{3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    PGresult* begun = PQexec(connection.Raw(),
                             "copy quorin.cases (id, category, name, sex, date_year, date_num, date_style, addr_ind, "
                             "addr_name, addr_num, remark_file, tag1, tag2, shan_gua, event, master_date, remark_text, "
                             "remark) from stdin");
    if (PQresultStatus(begun) != PGRES_COPY_IN) std::abort();
    PQclear(begun);
    std::mt19937 random(3);
    std::string part;
    static const char* kHex = "0123456789abcdef";
    for (int i = 0; i < kMillion; ++i) {
      TRecordData r = MillionCase(random, i);
      r.id = i + 1;
      const auto columns = quorin::cases::EncodeRecord(r);
      part += std::to_string(r.id);
      for (const int local : kLocalColumn) {
        const auto& v = columns[static_cast<std::size_t>(local)];
        part += '\t';
        AppendCopyText(part, v.isInteger ? std::to_string(v.integer) : v.text);
      }
      part += "\t\\\\x";
      for (const unsigned char c : quorin::cases::RemarkRtfFromPlainText(r.remarkText)) {
        part += kHex[c >> 4];
        part += kHex[c & 15];
      }
      part += '\n';
      if (part.size() > (1 << 20) || i + 1 == kMillion) {
        if (PQputCopyData(connection.Raw(), part.data(), static_cast<int>(part.size())) != 1) std::abort();
        part.clear();
      }
    }
    if (PQputCopyEnd(connection.Raw(), nullptr) != 1) std::abort();
    PGresult* ended = PQgetResult(connection.Raw());
    if (PQresultStatus(ended) != PGRES_COMMAND_OK) {
      std::fprintf(stderr, "%s\n", PQresultErrorMessage(ended));
      std::abort();
    }
    PQclear(ended);
    while (PGresult* rest = PQgetResult(connection.Raw())) PQclear(rest);
    if (!connection.Run("select setval('quorin.case_ids', $1)", {kMillion}).Ok() ||
        !connection.Execute("vacuum analyze quorin.cases")) {
      std::abort();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "A million cases filled and indexed in %.1f s\n", seconds);
    return database;
  }();
  return name;
}

// The case tree's first level: the categories and the newest 1000 cases, newest first.
void BM_TreeFirstLevelOfMillion(benchmark::State& state) {
  SharedLibrary library;
  if (!library.Connect(TheServer().Target(Million()))) std::abort();
  std::size_t items = 0;
  for (auto _ : state) {
    if (!library.Resync()) std::abort();
    const auto categories = library.ClassNames();
    const auto loaded = quorin::cases::LoadCaseItems(
        library, quorin::cases::NewestCaseIds(library.GetPrimaryId(), 1000), quorin::cases::CaseOrder::kTimeDescending);
    if (!categories || !loaded.error.empty()) {
      std::fprintf(stderr, "%s\n", loaded.error.c_str());
      std::abort();
    }
    items = loaded.items.size();
  }
  state.SetLabel(std::to_string(items) + " items");
}
BENCHMARK(BM_TreeFirstLevelOfMillion)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The keyword search for: a name fragment, a whole name, a year as it reads, a remark word.
const std::vector<std::vector<std::string>> kKeywordSets{{"张伟"}, {"张伟敏"}, {"2020年"}, {"失物复得"}, {"应期在"}, {"广州", "2020年"}};

// Times a search of the million cases; the number it found.
std::size_t TimeSearchOfMillion(benchmark::State& state,
                                const std::function<std::optional<std::vector<int>>(SharedLibrary&)>& search) {
  SharedLibrary library;
  if (!library.Connect(TheServer().Target(Million()))) std::abort();
  std::size_t found = 0;
  for (auto _ : state) {
    const auto ids = search(library);
    if (!ids) {
      std::fprintf(stderr, "%s\n", library.lastError().c_str());
      std::abort();
    }
    found = ids->size();
  }
  return found;
}

void BM_FuzzySearchOfMillion(benchmark::State& state) {
  const std::vector<std::string>& keywords = kKeywordSets[static_cast<std::size_t>(state.range(0))];
  const std::size_t found = TimeSearchOfMillion(state, [&](SharedLibrary& library) { return library.FuzzySearch(keywords); });
  std::string label;
  for (const std::string& k : keywords) label += k + " ";
  state.SetLabel(label + "→ " + std::to_string(found));
}
BENCHMARK(BM_FuzzySearchOfMillion)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The conditional search by: a name, years, a category.
CaseSearchCriteria MillionCriteria(int which) {
  CaseSearchCriteria c;
  c.province = -1;
  if (which == 0) {
    c.nameMode = CaseSearchCriteria::kContains;
    c.name = "张伟敏";
  } else if (which == 1) {
    c.nameMode = CaseSearchCriteria::kContains;
    c.name = "张伟";
  } else if (which == 2) {
    c.yearsSet = true;
    c.yearFrom = 1985;
    c.yearTo = 1986;
  } else {
    c.classMode = CaseSearchCriteria::kEquals;
    c.className = "催丁";
  }
  return c;
}

void BM_SearchOfMillion(benchmark::State& state) {
  const CaseSearchCriteria criteria = MillionCriteria(static_cast<int>(state.range(0)));
  const std::size_t found = TimeSearchOfMillion(state, [&](SharedLibrary& library) { return library.Search(criteria); });
  state.SetLabel(std::to_string(found) + " found");
}
BENCHMARK(BM_SearchOfMillion)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli cases: the case database from a shell (add, list, show, search, find, export, import, compact,
// backup, restore).
// Years on the command line are historical (1 BC is -1, no year 0); inside they are astronomical.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/places.h"
#include "base/rich_text.h"
#include "base/rtf_writer.h"
#include "base/text_parse.h"
#include "calendar/historical_year.h"
#include "cases/case_search.h"
#include "cases/case_text.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "chart/request_check.h"
#include "command.h"

namespace quorin::cli {
namespace {

using cases::MRecordBase;

constexpr const char* kUsage =
    "Usage: quorin-cli cases [--db FILE] [--program-dir DIR] SUBCOMMAND [ARGUMENTS]\n"
    "  add --name NAME --date 'YYYY-MM-DD HH:MM' [--lunar] [--leap] [--female] [--class NAME]\n"
    "      [--text REMARK] [--master-year YEAR] [--mountain N --gua N]   store a new case\n"
    "  list [--order 0..4] [--style 0|1]   every case in tree order (style 0: under category headers)\n"
    "  show ID [--remark]                  every field of a case (--remark: its remark file's text)\n"
    "  search KEYWORD...                   keyword search (each keyword in a different field)\n"
    "  find [--name TEXT [--name-exact]] [--class TEXT [--class-exact]] [--from YEAR --to YEAR]\n"
    "       [--sex 男|女] [--province N] [--comment TEXT]   conditional search\n"
    "  export FILE [--class NAME]...       write the cases (of the named categories) to a new database\n"
    "  import FILE                         add the cases of another database\n"
    "  compact [--force]                   renumber the cases (refused below 500 without --force)\n"
    "  backup DIR                          copy the database and remark files into a new folder\n"
    "                                      DIR/Quorin_备份_<date and time>, as the file menu does\n"
    "  restore DIR                         replace the cases and remark files by those of a backup\n"
    "                                      folder DIR (asks nothing; a failure changes nothing)\n"
    "--db defaults to dat/Orlune.db in the program folder; --program-dir sets the folder whose\n"
    "Orlune_f holds the remark files. Orders: 0 none, 1 time descending, 2 time ascending,\n"
    "3 surname a-z, 4 surname z-a. Styles: 0 categories, 1 list.\n";

int Refuse(const std::string& message) {
  std::cerr << message << "\n";
  return kExitRefused;
}

std::string OneLine(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    if (text[i] == '\n') {
      out += "\\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Coordinate(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
  return buffer;
}

// Opens an existing database; a missing file is refused rather than created.
bool OpenExisting(MRecordBase& store, const std::string& path) {
  if (!base::FileExists(path)) {
    std::cerr << "没有这个数据库文件：" << path << "\n";
    return false;
  }
  if (!store.Open(path)) {
    std::cerr << store.lastError() << "\n";
    return false;
  }
  return true;
}

// "YYYY-MM-DD HH:MM" with a historical year (a leading '-' is a year BC). The form is checked
// here; the values are checked as the chart checks them.
struct TypedMoment {
  long long year = 0;
  int month = 0, day = 0, hour = 0, minute = 0;
};
std::optional<TypedMoment> ParseMoment(const std::string& text) {
  TypedMoment m;
  char end = 0;
  const bool bc = text.starts_with("-");
  if (std::sscanf(text.c_str() + (bc ? 1 : 0), "%lld-%d-%d %d:%d%c", &m.year, &m.month, &m.day, &m.hour, &m.minute,
                  &end) != 5 ||
      m.year <= 0) {
    return std::nullopt;
  }
  if (bc) m.year = -m.year;
  return m;
}

// Stores a case as the save command does: cleaned name, a free remark file written from the
// text, the place not given (未知地) as the window stores it. What the chart would refuse is
// refused with its message and stores nothing.
int Add(MRecordBase& store, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("add takes options only");
  TRecordData r;
  r.ResetRecord();
  r.dragonMountain = -1;
  r.waterMountain = -1;
  r.province = static_cast<std::int16_t>(base::kUnknownProvince);
  r.city = 0;
  r.addrName = std::string(base::kUnknownPlace);
  const base::Coordinates unknownPlace;
  r.longitude = unknownPlace.longitude;
  r.latitude = unknownPlace.latitude;
  r.masterYear = 1978;
  r.name = cases::CleanCaseName(args.Value("name").value_or(""));
  const auto moment = ParseMoment(args.Value("date").value_or(""));
  if (!moment) throw UsageError("--date 应为 YYYY-MM-DD HH:MM");
  if (moment->year < calendar::kFirstHistoricalYear || moment->year > calendar::kLastHistoricalYear) {
    return Refuse(chart::YearRangeMessage(""));
  }
  r.year = static_cast<std::int16_t>(calendar::AstronomicalYear(static_cast<int>(moment->year)));
  r.month = static_cast<std::int16_t>(std::clamp(moment->month, -1, 99));
  r.day = static_cast<std::int16_t>(std::clamp(moment->day, -1, 99));
  r.hour = static_cast<std::int16_t>(std::clamp(moment->hour, -1, 99));
  r.minute = static_cast<std::int16_t>(std::clamp(moment->minute, -1, 99));
  r.isLunar = args.Has("lunar");
  r.isLeapMonth = args.Has("leap");
  r.male = !args.Has("female");
  if (const auto c = args.Value("class")) r.className = cases::CleanCaseName(*c);
  if (const auto y = args.Integer("master-year")) {
    if (!calendar::IsValidHistoricalYear(*y)) return Refuse(chart::YearRangeMessage("主命"));
    r.masterYear = calendar::AstronomicalYear(*y);
  }
  r.mountain = args.Integer("mountain").value_or(0);
  r.mountainGua = args.Integer("gua").value_or(0);
  calendar::MYiDateEx date;
  if (const calendar::Outcome checked = chart::CheckChartRequest(r, date); !checked.ok) return Refuse(checked.message);
  const std::string text = args.Value("text").value_or("输入自己的评语：");
  if (text.size() > cases::kMaxRemarkBytes) return Refuse("评语超过" + std::to_string(cases::kMaxRemarkBytes >> 20) + "MB，无法保存！");
  r.remarkText = cases::RemoveApostrophes(text);
  const auto document = base::RichDocument::FromPlainText(text, cases::DefaultRemarkFormat());
  const std::optional<int> id = store.InsertWithRemark(r, base::WriteRtf(document));
  if (!id) return Refuse(store.lastError());
  std::cout << *id << "\n";
  return 0;
}

int List(MRecordBase& store, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("list takes no arguments");
  const int order = args.Integer("order").value_or(0);
  const int style = args.Integer("style").value_or(1);
  if (order < 0 || order > 4) throw UsageError("--order 应为 0 到 4");
  if (style != 0 && style != 1) throw UsageError("--style 应为 0 或 1");
  const auto result = cases::LoadCaseItems(store, cases::NewestCaseIds(store.GetPrimaryId(), store.GetPrimaryId()),
                                           static_cast<cases::CaseOrder>(order));
  if (!result.error.empty()) return Refuse(result.error);
  if (style == 1) {
    for (const auto& item : result.items) std::cout << item.id << "\t" << item.text << "\n";
    return 0;
  }
  for (const auto& group : cases::GroupByCategory(result)) {
    std::cout << group.name << "\n";
    for (const int i : group.items) std::cout << "  " << result.items[i].id << "\t" << result.items[i].text << "\n";
  }
  return 0;
}

int Show(MRecordBase& store, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("show takes one case id");
  const int id = ParseInteger(args.Positionals()[0], "ID");
  TRecordData r;
  if (!store.Read(id, r)) return Refuse(store.lastError().empty() ? "没有这个案例：" + std::to_string(id) : store.lastError());
  std::string extra;
  for (const int e : r.extra) extra += (extra.empty() ? "" : " ") + std::to_string(e);
  const std::vector<std::pair<std::string, std::string>> fields = {
      {"id", std::to_string(r.id)},
      {"name", r.name},
      {"male", r.male ? "1" : "0"},
      {"className", r.className},
      {"isLunar", r.isLunar ? "1" : "0"},
      {"isLeapMonth", r.isLeapMonth ? "1" : "0"},
      {"year", std::to_string(calendar::HistoricalYear(r.year))},
      {"month", std::to_string(r.month)},
      {"day", std::to_string(r.day)},
      {"hour", std::to_string(r.hour)},
      {"minute", std::to_string(r.minute)},
      {"province", std::to_string(r.province)},
      {"city", std::to_string(r.city)},
      {"addrName", r.addrName},
      {"longitude", Coordinate(r.longitude)},
      {"latitude", Coordinate(r.latitude)},
      {"masterYear", std::to_string(calendar::HistoricalYear(r.masterYear))},
      {"mountain", std::to_string(r.mountain)},
      {"mountainGua", std::to_string(r.mountainGua)},
      {"dragonMountain", std::to_string(r.dragonMountain)},
      {"dragonGua", std::to_string(r.dragonGua)},
      {"waterMountain", std::to_string(r.waterMountain)},
      {"waterGua", std::to_string(r.waterGua)},
      {"showFacing", r.showFacing ? "1" : "0"},
      {"extra", extra},
      {"remarkFile", r.remarkFile},
      {"remarkText", OneLine(r.remarkText)},
  };
  for (const auto& [name, value] : fields) std::cout << name << ": " << value << "\n";
  if (!args.Has("remark")) return 0;
  const auto path = cases::RemarkFilePath(store.RemarkFolder(), r.remarkFile);
  if (path && base::FileSize(*path).value_or(0) > cases::kMaxRemarkBytes) {
    return Refuse(cases::RemarkTooLargeMessage(r.name, *path));
  }
  const auto text = path ? cases::ReadRemarkPlainText(*path) : std::nullopt;
  if (!text) return Refuse("没有评语文件：" + (path ? *path : r.remarkFile));
  std::cout << "remark:\n" << *text << "\n";
  return 0;
}

int PrintResults(MRecordBase& store, const std::vector<int>& ids) {
  TRecordData r;
  for (const int id : ids) {
    if (store.Read(id, r)) std::cout << id << "\t" << cases::SearchResultLine(r) << "\n";
  }
  return 0;
}

int Search(MRecordBase& store, const Arguments& args) {
  std::vector<std::string> keywords;
  for (const std::string& arg : args.Positionals()) {
    for (std::string& k : cases::SplitKeywords(arg)) keywords.push_back(std::move(k));
  }
  if (keywords.empty()) throw UsageError("search needs at least one keyword");
  const auto ids = store.FuzzySearch(keywords);
  if (!ids) return Refuse(store.lastError());
  if (ids->empty()) {
    std::cout << "没有符合的案例！\n";
    return 0;
  }
  return PrintResults(store, *ids);
}

// Trimmed as the dialog trims its boxes, the ideographic space included.
std::string Trimmed(std::string_view text) { return std::string(base::TrimTyped(text)); }

int Find(MRecordBase& store, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("find takes options only");
  cases::CaseSearchCriteria c;
  c.province = static_cast<std::int16_t>(args.Integer("province").value_or(-1));
  if (const auto sex = args.Value("sex")) {
    if (*sex != "男" && *sex != "女") throw UsageError("--sex 应为 男 或 女");
    c.sexSet = true;
    c.male = *sex == "男";
  }
  if (args.Has("from") || args.Has("to")) {
    // As the dialog reads its two boxes: an empty or unreadable box is no year, which it refuses.
    auto year = [&](const char* option) {
      const auto text = args.Value(option);
      return text ? base::ParseInt(*text) : std::nullopt;
    };
    const auto valid = [](std::optional<int> y) { return y && *y >= -850 && *y <= 2100 && *y != 0; };
    const auto fromYear = year("from");
    const auto toYear = year("to");
    if (!valid(fromYear) || !valid(toYear)) {
      return Refuse("年份必须在-850到2100年之间，并且没有公元0年\n注意：公元前用负数，比如公元前120年，就输入-120");
    }
    const int from = *fromYear;
    const int to = *toYear;
    if (to < from) return Refuse("结束年必须大于或等于起始年");
    c.yearsSet = true;
    c.yearFrom = static_cast<std::int16_t>(calendar::AstronomicalYear(from));
    c.yearTo = static_cast<std::int16_t>(calendar::AstronomicalYear(to));
  }
  c.name = Trimmed(args.Value("name").value_or(""));
  if (!c.name.empty()) c.nameMode = args.Has("name-exact") ? c.kEquals : c.kContains;
  c.className = Trimmed(args.Values("class").empty() ? "" : args.Values("class").back());
  if (!c.className.empty()) c.classMode = args.Has("class-exact") ? c.kEquals : c.kContains;
  c.remark = Trimmed(args.Value("comment").value_or(""));
  c.remarkSet = !c.remark.empty();
  if (store.GetPrimaryId() == 0) return Refuse("没有记录，无从查找。");
  const auto ids = store.Search(c);
  if (!ids) return Refuse(store.lastError());
  if (ids->empty()) {
    std::cout << "没有找到符合条件的案例。\n";
    return 0;
  }
  return PrintResults(store, *ids);
}

int Export(MRecordBase& store, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("export takes one file name");
  const std::string file = args.Positionals()[0];
  if (base::FileExists(file)) return Refuse("导出文件已经存在：" + file);
  const auto categories = args.Values("class");
  const std::optional<int> count = store.ExportTo(file, categories, categories.empty());
  if (count.value_or(0) == 0) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);  // an empty export file would only mislead
    return Refuse("没有可以导出的案例，或者无法创建导出数据库，导出失败，请重启软件再次试试！");
  }
  std::cout << *count << " 个案例文件已经保存到：" << file << "\n";
  return 0;
}

int Import(MRecordBase& store, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("import takes one file name");
  // Run has refused a missing file before the database was opened (or created).
  const std::optional<int> count = store.ImportFrom(args.Positionals()[0]);
  if (!count) return Refuse(store.lastError());
  std::cout << "共导入 " << *count << " 个案例！\n";
  // Cases without their remarks are no success, though they are in.
  if (store.RemarkWriteFailures() > 0) return Refuse(store.lastError());
  return 0;
}

int Compact(MRecordBase& store, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("compact takes no arguments");
  if (store.GetPrimaryId() < 500 && !args.Has("force")) return Refuse("案例数据过少，无需整理！");
  const std::optional<int> count = store.Compact();
  if (!count) return Refuse(store.lastError());
  std::cout << " " << *count << " 个案例已经整理出来！\n";
  return 0;
}

// "2024年3月5日8时7分9秒": the local time without leading zeros, as backup folders are named.
std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%d年%d月%d日%d时%d分%d秒", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

int Backup(MRecordBase& store, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("backup takes one folder");
  const std::string parent = base::WithTrailingSeparator(args.Positionals()[0]);
  const std::string folder = parent + "Quorin_备份_" + TimeStamp();
  std::error_code ec;
  if (std::filesystem::exists(folder, ec)) return Refuse("当前时间的文件夹已经存在，请稍后再备份！");
  if (!base::EnsureDirectory(parent)) return Refuse("无法建立备份文件夹" + folder + "！");
  // The store makes the folder, under its final name only once the backup is whole.
  if (!store.Backup(folder)) return Refuse(store.lastError());
  std::cout << "成功备份，已保存到" << folder << "目录下\n";
  return 0;
}

// Restores from a backup folder, also over a database that no longer opens (what backups
// are for); on a new program folder the database created to restore into goes again when
// the restore fails.
int Restore(const std::string& db, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("restore takes one folder");
  const std::string source = base::WithTrailingSeparator(args.Positionals()[0]);
  if (!base::FileExists(source + std::string(cases::kDatabaseWord) + ".db")) return Refuse("没有要还原的的db数据文件！");
  if (!base::DirectoryExists(source + std::string(cases::kDatabaseWord) + "_f")) {
    return Refuse("没有要还原的评语文件夹！");
  }
  const bool existed = base::FileExists(db);
  MRecordBase store;
  if (!store.Open(db) && !existed) return Refuse(store.lastError());
  if (!store.Restore(source)) {
    std::error_code ignored;
    if (!existed) std::filesystem::remove(db, ignored);
    return Refuse(store.lastError() + "\n现有的案例数据没有改动。");
  }
  std::cout << "成功还原，请重新打开软件！\n";
  // The cases are back; remarks that could not be written from the stored text make it no success.
  if (store.RemarkWriteFailures() > 0) return Refuse(store.lastError());
  return 0;
}

// What the reading subcommands say of a library without cases (their usage checked as for one with).
int ReadEmptyLibrary(const std::string& subcommand, const Arguments& args) {
  if (subcommand == "list") {
    if (!args.Positionals().empty()) throw UsageError("list takes no arguments");
    return 0;
  }
  if (subcommand == "show") {
    if (args.Positionals().size() != 1) throw UsageError("show takes one case id");
    return Refuse("没有这个案例：" + std::to_string(ParseInteger(args.Positionals()[0], "ID")));
  }
  if (subcommand == "search") {
    if (args.Positionals().empty()) throw UsageError("search needs at least one keyword");
    std::cout << "没有符合的案例！\n";
    return 0;
  }
  if (!args.Positionals().empty()) throw UsageError("find takes options only");
  return Refuse("没有记录，无从查找。");
}

int Run(const std::vector<std::string>& all) {
  // The subcommand is the first word that is neither an option nor the value of --db or --program-dir.
  std::vector<std::string> rest;
  std::string subcommand;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if ((all[i] == "--db" || all[i] == "--program-dir") && i + 1 < all.size()) {
      rest.push_back(all[i]);
      rest.push_back(all[++i]);
    } else if (subcommand.empty() && !all[i].starts_with("--")) {
      subcommand = all[i];
    } else {
      rest.push_back(all[i]);
    }
  }
  std::set<std::string> values = {"db", "program-dir"};
  std::set<std::string> flags;
  std::set<std::string> repeatable;
  if (subcommand == "add") {
    values.insert({"name", "date", "class", "text", "master-year", "mountain", "gua"});
    flags.insert({"lunar", "leap", "female"});
  }
  if (subcommand == "list") values.insert({"order", "style"});
  if (subcommand == "show") flags.insert("remark");
  if (subcommand == "find") {
    values.insert({"name", "class", "from", "to", "sex", "province", "comment", "event"});
    flags.insert({"name-exact", "class-exact"});
  }
  if (subcommand == "export") {
    values.insert("class");
    repeatable.insert("class");
  }
  if (subcommand == "compact") flags.insert("force");
  const Arguments args(rest, values, flags, repeatable);

  if (const auto folder = args.Value("program-dir")) base::SetProgramFolder(*folder);
  const std::string db = args.Value("db").value_or(base::ProgramFolder() + "dat/Orlune.db");
  if (subcommand == "restore") return Restore(db, args);
  MRecordBase store;
  if (subcommand == "import" || subcommand == "add") {  // these may start a new database
    // A missing import file must not leave a new, empty database behind.
    const auto& files = args.Positionals();
    if (subcommand == "import" && files.size() == 1 && !base::FileExists(files[0])) {
      return Refuse("不存在这个数据库文件，无法导入！");
    }
    if (!store.Open(db)) return Refuse(store.lastError());
    return subcommand == "add" ? Add(store, args) : Import(store, args);
  }
  using Handler = int (*)(MRecordBase&, const Arguments&);
  const std::pair<const char*, Handler> handlers[] = {{"list", List},     {"show", Show},     {"search", Search},
                                                      {"find", Find},     {"export", Export}, {"compact", Compact},
                                                      {"backup", Backup}};
  for (const auto& [name, handler] : handlers) {
    if (subcommand != name) continue;
    // A library not made yet is an empty one: reading it finds nothing and creates nothing.
    if (!base::FileExists(db) && (subcommand == "list" || subcommand == "show" || subcommand == "search" ||
                                  subcommand == "find")) {
      return ReadEmptyLibrary(subcommand, args);
    }
    if (!OpenExisting(store, db)) return kExitRefused;
    return handler(store, args);
  }
  throw UsageError(subcommand.empty() ? "missing subcommand" : "unknown subcommand '" + subcommand + "'");
}

const RegisterCommand kCases{{"cases", "the case database: add, list, show, search, find, export, import, compact, backup, restore",
                              kUsage, Run}};

}  // namespace
}  // namespace quorin::cli

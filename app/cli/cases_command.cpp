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
#include "calendar/historical_year.h"
#include "cases/case_search.h"
#include "cases/case_text.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "chart/request_check.h"
#include "chart_options.h"
#include "command.h"
#include "library_options.h"

namespace quorin::cli {
namespace {

using cases::MRecordBase;

const std::string kUsage =
    "Usage: quorin-cli cases [--db FILE] [--program-dir DIR] [--library URI] SUBCOMMAND [ARGUMENTS]\n"
    "  add --name NAME --date 'YYYY-MM-DD HH:MM' [--lunar] [--leap] [--female] [--class NAME]\n"
    "      [--place NAME] [--zone ZONE [--fold 1|2]]   (a world or own place, a clock time of a zone)\n"
    "      [--text REMARK] [--master-year YEAR] [--mountain N --gua N]   store a new case\n"
    "      [--person NAME,男|女,YEAR]...   the persons after 主命 (up to 7)\n"
    "  list [--order 0..4] [--style 0|1]   every case in tree order (style 0: under category headers)\n"
    "  show ID [--remark]                  every field of a case (--remark: its remark file's text)\n"
    "  update ID [--name NAME] [--class NAME] [--text REMARK] [--version N]   change a case\n"
    "  search KEYWORD...                   keyword search (each keyword in a different field)\n"
    "  find [--name TEXT [--name-exact]] [--class TEXT [--class-exact]] [--from YEAR --to YEAR]\n"
    "       [--sex 男|女] [--province N] [--comment TEXT]   conditional search\n"
    "  export FILE [--class NAME]...       write the cases (of the named categories) to a new database\n"
    "  import FILE                         add the cases of another database\n"
    "  compact [--force]                   renumber the cases (refused below " +
    std::to_string(cases::kFewestCasesToCompact) + " without --force)\n"
    "  backup DIR                          copy the database and remark files into a new folder\n"
    "                                      DIR/Quorin_备份_<date and time>, as the file menu does\n"
    "  restore DIR                         replace the cases and remark files by those of a backup\n"
    "                                      folder DIR (asks nothing; a failure changes nothing)\n"
    "--library postgresql://USER@HOST/DATABASE (or QUORIN_LIBRARY) works on a shared library instead.\n"
    "There show adds the case's version, which update --version must name (a case another user\n"
    "changed since is not overwritten); compact keeps the ids, writes the missing remarks and tidies\n"
    "the server's tables (the administrator's; no threshold); export and backup write local files as\n"
    "above, and restore fills only a shared library that holds no case yet.\n"
    "--db defaults to dat/Orlune.db in the program folder; --program-dir sets the folder whose\n"
    "Orlune_f holds the remark files. Orders: 0 none, 1 time descending, 2 time ascending,\n"
    "3 surname a-z, 4 surname z-a. Styles: 0 categories, 1 list. Options may stand before or after\n"
    "SUBCOMMAND; the time of --date may be left out (00:00).\n";

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

// The case library a subcommand works on: the database file and its store.
struct CaseLibrary {
  std::string path;
  MRecordBase store;
  bool open = false;  // false for a library not made yet, or one its subcommand opens itself
};

// Opens an existing database; a missing file is refused rather than created.
[[nodiscard]] bool OpenExisting(MRecordBase& store, const std::string& path) {
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

// Opens the database for a subcommand that may make it; false after the refusal.
[[nodiscard]] bool OpenOrCreate(CaseLibrary& library) {
  library.open = library.store.Open(library.path);
  if (!library.open) std::cerr << library.store.lastError() << "\n";
  return library.open;
}

// The case `add` stores and its remark (RTF), or the refusal.
struct NewCase {
  TRecordData record;
  std::string remarkRtf;
  std::string refusal;
};
NewCase Refused(std::string why) {
  NewCase refused;
  refused.refusal = std::move(why);
  return refused;
}
NewCase NewCaseOf(const Arguments& args) {
  NewCase made;
  const calendar::TypedMoment typed = MomentArgument(args.Value("date").value_or(""), "--date ");
  const auto moment = calendar::AstronomicalMoment(typed);
  if (!moment) return Refused(chart::YearRangeMessage(""));
  if (const ZonedMoment zoned = ReadZoneOptions(args, *moment); !zoned.refusal.empty()) return Refused(zoned.refusal);
  RequestOrRefusal read =
      ChartRequestFromOptions(args, *moment, {.birthOption = "master-year", .mountainByName = false});
  if (!read.refusal.empty()) return Refused(read.refusal);
  TRecordData& r = read.request;
  r.name = cases::CleanCaseName(args.Value("name").value_or(""));
  if (const auto c = args.Value("class")) r.className = cases::CleanCaseName(*c);
  calendar::MYiDateEx date;
  if (const calendar::Outcome checked = chart::CheckChartRequest(r, date); !checked.ok) return Refused(checked.message);
  const std::string text = args.Value("text").value_or("输入自己的评语：");
  if (text.size() > cases::kMaxRemarkBytes) {
    return Refused("评语超过" + std::to_string(cases::kMaxRemarkBytes >> 20) + "MB，无法保存！");
  }
  r.remarkText = cases::RemoveApostrophes(text);
  made.remarkRtf = cases::RemarkRtfFromPlainText(text);
  made.record = std::move(r);
  return made;
}

// Stores a case as the save command does: cleaned name, a free remark file written from the
// text, the place not given (未知地) as the window stores it. What the chart would refuse is
// refused with its message and stores nothing; the library is made only for a case it takes.
int Add(CaseLibrary& library, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("add takes options only");
  NewCase made = NewCaseOf(args);
  if (!made.refusal.empty()) return Refuse(made.refusal);
  if (!OpenOrCreate(library)) return kExitRefused;
  const std::optional<int> id = library.store.InsertWithRemark(made.record, made.remarkRtf);
  if (!id) return Refuse(library.store.lastError());
  std::cout << *id << "\n";
  return 0;
}

// The list styles of --style: under category headers, or one list.
enum ListStyle { kByCategory = 0, kPlainList = 1 };

int PrintList(cases::CaseReader& reader, const std::vector<int>& ids, int order, int style);

// --order and --style of `list`, checked.
std::pair<int, int> ListOptions(const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("list takes no arguments");
  const int order = args.Integer("order").value_or(static_cast<int>(cases::CaseOrder::kNone));
  const int style = args.Integer("style").value_or(kPlainList);
  if (order < 0 || order > static_cast<int>(cases::CaseOrder::kSurnameDescending)) {
    throw UsageError("--order 应为 0 到 4");
  }
  if (style != kByCategory && style != kPlainList) throw UsageError("--style 应为 0 或 1");
  return {order, style};
}

int List(CaseLibrary& library, const Arguments& args) {
  const auto [order, style] = ListOptions(args);
  if (!library.open) return 0;  // a library not made yet holds nothing
  MRecordBase& store = library.store;
  return PrintList(store, cases::NewestCaseIds(store.GetPrimaryId(), store.GetPrimaryId()), order, style);
}

// The cases of the ids (newest first) in the order and style of `list`.
int PrintList(cases::CaseReader& reader, const std::vector<int>& ids, int order, int style) {
  const auto result = cases::LoadCaseItems(reader, ids, static_cast<cases::CaseOrder>(order));
  if (!result.error.empty()) return Refuse(result.error);
  if (style == kPlainList) {
    for (const auto& item : result.items) std::cout << item.id << "\t" << item.text << "\n";
    return 0;
  }
  for (const auto& group : cases::GroupByCategory(result)) {
    std::cout << group.name << "\n";
    for (const int i : group.items) std::cout << "  " << result.items[i].id << "\t" << result.items[i].text << "\n";
  }
  return 0;
}

// The id of `update` and the changes its options make to a case; the new remark (RTF) when --text
// gives one.
int UpdateId(const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("update takes one case id");
  if (!args.Has("name") && !args.Has("class") && !args.Has("text")) throw UsageError("update needs --name, --class or --text");
  return ParseInteger(args.Positionals()[0], "ID");
}
std::optional<std::string> ApplyChanges(const Arguments& args, TRecordData& r) {
  if (const auto name = args.Value("name")) r.name = cases::CleanCaseName(*name);
  if (const auto category = args.Value("class")) r.className = cases::CleanCaseName(*category);
  const auto text = args.Value("text");
  if (!text) return std::nullopt;
  if (text->size() > cases::kMaxRemarkBytes) throw UsageError("评语超过" + std::to_string(cases::kMaxRemarkBytes >> 20) + "MB");
  r.remarkText = cases::RemoveApostrophes(*text);
  return cases::RemarkRtfFromPlainText(*text);
}

// Rewrites a case's name, category or remark. On the local library the case is written as the
// window's 存旧 writes it; on the shared one only over the version the user read (see RunShared).
int Update(CaseLibrary& library, const Arguments& args) {
  const int id = UpdateId(args);
  if (args.Has("version")) throw UsageError("--version 只用于共享案例库（--library）");
  MRecordBase& store = library.store;
  TRecordData r;
  if (!store.Read(id, r)) return Refuse(store.lastError().empty() ? "没有这个案例：" + std::to_string(id) : store.lastError());
  const std::optional<std::string> remark = ApplyChanges(args, r);
  bool saved = false;
  if (remark) {
    // A case without a remark file of its own gets a free name, as a save of a new case does.
    if (cases::IsPlaceholderRemarkName(r.remarkFile)) {
      const auto name = store.UniqueRemarkName(r);
      if (!name) return Refuse(store.lastError());
      r.remarkFile = name->baseName;
    }
    const auto path = cases::RemarkFilePath(store.RemarkFolder(), r.remarkFile);
    if (!path) return Refuse("无法写入评语文件：" + r.remarkFile);
    saved = store.UpdateWithRemark(id, r, *path, *remark);
  } else {
    saved = store.Update(id, r);
  }
  if (!saved) return Refuse(store.lastError());
  std::cout << "已保存：" << id << "\n";
  return 0;
}

void PrintCaseFields(const TRecordData& r);

int Show(CaseLibrary& library, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("show takes one case id");
  const int id = ParseInteger(args.Positionals()[0], "ID");
  const std::string noSuchCase = "没有这个案例：" + std::to_string(id);
  if (!library.open) return Refuse(noSuchCase);
  MRecordBase& store = library.store;
  TRecordData r;
  if (!store.Read(id, r)) return Refuse(store.lastError().empty() ? noSuchCase : store.lastError());
  PrintCaseFields(r);
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

// Every field of a case, one "field: value" per line.
void PrintCaseFields(const TRecordData& r) {
  std::string extra;
  for (const int e : r.extra) extra += (extra.empty() ? "" : " ") + std::to_string(e);
  std::vector<std::pair<std::string, std::string>> fields = {
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
  // The persons after 主命, only when there are any: "配偶,女,1982;长子,男,2010".
  if (!r.otherPersons.empty()) {
    std::string persons;
    for (const OtherPerson& p : r.otherPersons)
      persons += (persons.empty() ? "" : ";") + p.name + (p.male ? ",男," : ",女,") +
                 std::to_string(calendar::HistoricalYear(p.masterYear));
    const auto master = std::find_if(fields.begin(), fields.end(), [](const auto& f) { return f.first == "masterYear"; });
    fields.insert(master + 1, {"persons", persons});
  }
  // A moment read in a time zone: the zone, and which of a clock time that came twice.
  if (!r.zone.empty()) {
    const auto latitude = std::find_if(fields.begin(), fields.end(), [](const auto& f) { return f.first == "latitude"; });
    fields.insert(latitude + 1, {{"zone", r.zone}, {"fold", std::to_string(r.fold)}});
  }
  for (const auto& [name, value] : fields) std::cout << name << ": " << value << "\n";
}

// The found cases, or `none` when there are none.
void PrintResults(MRecordBase& store, const std::vector<int>& ids, const char* none) {
  if (ids.empty()) std::cout << none << "\n";
  TRecordData r;
  for (const int id : ids) {
    if (store.Read(id, r)) std::cout << id << "\t" << cases::SearchResultLine(r) << "\n";
  }
}

// The keywords of `search`, each argument split at its blanks.
std::vector<std::string> SearchKeywords(const Arguments& args) {
  std::vector<std::string> keywords;
  for (const std::string& arg : args.Positionals()) {
    for (std::string& k : cases::SplitKeywords(arg)) keywords.push_back(std::move(k));
  }
  if (keywords.empty()) throw UsageError("search needs at least one keyword");
  return keywords;
}

int Search(CaseLibrary& library, const Arguments& args) {
  const std::vector<std::string> keywords = SearchKeywords(args);
  const char* none = "没有符合的案例！";
  if (!library.open) {
    std::cout << none << "\n";
    return 0;
  }
  const auto ids = library.store.FuzzySearch(keywords);
  if (!ids) return Refuse(library.store.lastError());
  PrintResults(library.store, *ids, none);
  return 0;
}

// The conditions as the dialog takes them, read and cut by the same rules.
// The conditions of `find` as the dialog reads them; the refusal of a year in `refusal`.
cases::CaseSearchCriteria FindCriteria(const Arguments& args, std::string& refusal) {
  if (!args.Positionals().empty()) throw UsageError("find takes options only");
  cases::TypedCaseConditions typed;
  typed.province = args.Integer("province").value_or(-1);
  if (const auto sex = args.Value("sex")) {
    if (*sex != "男" && *sex != "女") throw UsageError("--sex 应为 男 或 女");
    typed.male = *sex == "男";
  }
  typed.fromYear = args.Value("from").value_or("");
  typed.toYear = args.Value("to").value_or("");
  typed.name = args.Value("name").value_or("");
  typed.nameWhole = args.Has("name-exact");
  typed.className = args.Value("class").value_or("");
  typed.classWhole = args.Has("class-exact");
  typed.remark = args.Value("comment").value_or("");
  typed.event = args.Value("event").value_or("");
  cases::CaseSearchCriteria criteria;
  if (const calendar::Outcome read = cases::ReadTypedConditions(typed, criteria); !read.ok) refusal = read.message;
  return criteria;
}

int Find(CaseLibrary& library, const Arguments& args) {
  std::string refusal;
  const cases::CaseSearchCriteria criteria = FindCriteria(args, refusal);
  if (!refusal.empty()) return Refuse(refusal);
  // A library not made yet has no id counter either.
  if (!library.open || library.store.GetPrimaryId() == 0) return Refuse("没有记录，无从查找。");
  const auto ids = library.store.Search(criteria);
  if (!ids) return Refuse(library.store.lastError());
  PrintResults(library.store, *ids, "没有找到符合条件的案例。");
  return 0;
}

// The new file of `export`; nothing after the refusal of one that is there already.
std::optional<std::string> ExportFile(const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("export takes one file name");
  const std::string& file = args.Positionals()[0];
  if (base::FileExists(file)) {
    static_cast<void>(Refuse("导出文件已经存在：" + file));
    return std::nullopt;
  }
  return file;
}

constexpr const char* kNothingExported = "没有可以导出的案例，或者无法创建导出数据库，导出失败，请重启软件再次试试！";

int Export(CaseLibrary& library, const Arguments& args) {
  const std::optional<std::string> file = ExportFile(args);
  if (!file) return kExitRefused;
  const auto categories = args.Values("class");
  const std::optional<int> count = library.store.ExportTo(*file, categories, categories.empty());
  if (count.value_or(0) == 0) {
    std::error_code ignored;
    std::filesystem::remove(*file, ignored);  // an empty export file would only mislead
    return Refuse(kNothingExported);
  }
  std::cout << *count << " 个案例文件已经保存到：" << *file << "\n";
  return 0;
}

int Import(CaseLibrary& library, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("import takes one file name");
  // A missing import file must not leave a new, empty database behind.
  if (!base::FileExists(args.Positionals()[0])) return Refuse("不存在这个数据库文件，无法导入！");
  if (!OpenOrCreate(library)) return kExitRefused;
  MRecordBase& store = library.store;
  const std::optional<int> count = store.ImportFrom(args.Positionals()[0]);
  if (!count) return Refuse(store.lastError());
  std::cout << "共导入 " << *count << " 个案例！\n";
  // Cases without their remarks are no success, though they are in.
  if (store.RemarkWriteFailures() > 0) return Refuse(store.lastError());
  return 0;
}

int Compact(CaseLibrary& library, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("compact takes no arguments");
  if (library.store.GetPrimaryId() < cases::kFewestCasesToCompact && !args.Has("force")) {
    return Refuse("案例数据过少，无需整理！");
  }
  const std::optional<int> count = library.store.Compact();
  if (!count) return Refuse(library.store.lastError());
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

// The new folder of `backup`, DIR/Quorin_备份_<now>, with DIR made; nothing after the refusal of
// one that is there already or cannot be made.
std::optional<std::string> BackupFolder(const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("backup takes one folder");
  const std::string folder = base::WithTrailingSeparator(args.Positionals()[0]) + "Quorin_备份_" + TimeStamp();
  std::error_code ec;
  if (std::filesystem::exists(folder, ec)) {
    static_cast<void>(Refuse("当前时间的文件夹已经存在，请稍后再备份！"));
    return std::nullopt;
  }
  if (!base::EnsureDirectory(std::filesystem::path(folder).parent_path().string())) {
    static_cast<void>(Refuse("无法建立备份文件夹" + folder + "！"));
    return std::nullopt;
  }
  return folder;
}

int Backup(CaseLibrary& library, const Arguments& args) {
  const std::optional<std::string> folder = BackupFolder(args);
  if (!folder) return kExitRefused;
  // The store makes the folder, under its final name only once the backup is whole.
  if (!library.store.Backup(*folder)) return Refuse(library.store.lastError());
  std::cout << "成功备份，已保存到" << *folder << "目录下\n";
  return 0;
}

// The backup folder of `restore` (ending in '/'); nothing after the refusal of one without a
// database or a remark folder.
std::optional<std::string> RestoreSource(const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("restore takes one folder");
  const std::string source = base::WithTrailingSeparator(args.Positionals()[0]);
  const char* refusal = nullptr;
  if (!base::FileExists(source + std::string(cases::kDatabaseWord) + ".db")) refusal = "没有要还原的的db数据文件！";
  else if (!base::DirectoryExists(source + std::string(cases::kDatabaseWord) + "_f")) refusal = "没有要还原的评语文件夹！";
  if (refusal) {
    static_cast<void>(Refuse(refusal));
    return std::nullopt;
  }
  return source;
}

// Restores from a backup folder, also over a database that no longer opens (what backups
// are for); on a new program folder the database created to restore into goes again when
// the restore fails.
int Restore(CaseLibrary& library, const Arguments& args) {
  const std::optional<std::string> source = RestoreSource(args);
  if (!source) return kExitRefused;
  const std::string& db = library.path;
  MRecordBase& store = library.store;
  const bool existed = base::FileExists(db);
  if (!store.Open(db) && !existed) return Refuse(store.lastError());
  if (!store.Restore(*source)) {
    std::error_code ignored;
    if (!existed) std::filesystem::remove(db, ignored);
    return Refuse(store.lastError() + "\n现有的案例数据没有改动。");
  }
  std::cout << "成功还原，请重新打开软件！\n";
  // The cases are back; remarks that could not be written from the stored text make it no success.
  if (store.RemarkWriteFailures() > 0) return Refuse(store.lastError());
  return 0;
}

// How a subcommand finds its library before it runs.
enum class Opening {
  kExisting,      // a missing or broken database is refused
  kReadable,      // the same, but a library not made yet reads as an empty one (the store stays closed)
  kBySubcommand,  // the subcommand looks at its arguments first and opens it itself
};

// One row per subcommand: its name, the options it takes besides --db and --program-dir, how its
// library is opened and what runs it.
struct CaseSubcommand {
  std::string_view name;
  OptionSpec options;
  Opening opening;
  int (*run)(CaseLibrary& library, const Arguments& args);
};

const OptionSpec kLibraryOptions{.values = {"db", "program-dir", "library"}};

// The subcommands on the shared library, each on a library just connected to.
int SharedAdd(cases::SharedLibrary& shared, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("add takes options only");
  NewCase made = NewCaseOf(args);
  if (!made.refusal.empty()) return Refuse(made.refusal);
  const std::optional<int> id = shared.Insert(made.record, made.remarkRtf);
  if (!id) return Refuse(shared.lastError());
  std::cout << *id << "\n";
  return 0;
}

int SharedList(cases::SharedLibrary& shared, const Arguments& args) {
  const auto [order, style] = ListOptions(args);
  std::optional<std::vector<int>> ids = shared.CaseIds();
  if (!ids) return Refuse(shared.lastError());
  std::reverse(ids->begin(), ids->end());  // newest first, as the local list reads them
  return PrintList(shared, *ids, order, style);
}

// The case of an id; the refusal has been said when there is none.
std::optional<cases::StoredCase> SharedCaseOf(cases::SharedLibrary& shared, int id) {
  std::optional<cases::StoredCase> found = shared.Read(id);
  if (!found) static_cast<void>(Refuse(shared.lastError().empty() ? "没有这个案例：" + std::to_string(id) : shared.lastError()));
  return found;
}

int SharedShow(cases::SharedLibrary& shared, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("show takes one case id");
  const std::optional<cases::StoredCase> found = SharedCaseOf(shared, ParseInteger(args.Positionals()[0], "ID"));
  if (!found) return kExitRefused;
  PrintCaseFields(found->record);
  std::cout << "version: " << found->version << "\n";
  if (args.Has("remark")) std::cout << "remark:\n" << cases::RemarkPlainText(found->remarkRtf) << "\n";
  return 0;
}

// Another user's change since the version read is never overwritten: the user reads it again.
int SharedUpdate(cases::SharedLibrary& shared, const Arguments& args) {
  const int id = UpdateId(args);
  if (!args.Has("version")) throw UsageError("共享案例库的修改需要 --version（cases show 显示的版本）");
  int version = ParseInteger(*args.Value("version"), "--version");
  const std::optional<cases::StoredCase> found = SharedCaseOf(shared, id);
  if (!found) return kExitRefused;
  TRecordData r = found->record;
  const std::optional<std::string> remark = ApplyChanges(args, r);
  switch (shared.Update(id, r, remark.value_or(found->remarkRtf), version)) {
    case cases::CaseSave::kSaved:
      std::cout << "已保存：" << id << "，版本：" << version << "\n";
      return 0;
    case cases::CaseSave::kChangedByAnother: {
      const std::optional<cases::StoredCase> now = shared.Read(id);
      return Refuse(std::string(cases::kChangedByAnother) + "现在的版本是" +
                    std::to_string(now ? now->version : found->version) + "，请用 cases show 看过后再修改。");
    }
    case cases::CaseSave::kMissing: return Refuse("没有这个案例：" + std::to_string(id));
    case cases::CaseSave::kFailed: break;
  }
  return Refuse(shared.lastError());
}

// The found cases as the local searches print them, each read by its id, or `none`; a case another
// user deleted since the search is left out.
int PrintSharedResults(cases::SharedLibrary& shared, const std::vector<int>& ids, const char* none) {
  if (ids.empty()) std::cout << none << "\n";
  // The found ids rise; they are read by the index in parts, not one statement each.
  const bool read = shared.ReadCaseList(ids, [](TRecordData& r) {
    std::cout << r.id << "\t" << cases::SearchResultLine(r) << "\n";
    return true;
  });
  return read ? 0 : Refuse(shared.lastError());
}

int SharedSearch(cases::SharedLibrary& shared, const Arguments& args) {
  const std::vector<std::string> keywords = SearchKeywords(args);
  const auto ids = shared.FuzzySearch(keywords);
  if (!ids) return Refuse(shared.lastError());
  return PrintSharedResults(shared, *ids, "没有符合的案例！");
}

int SharedFind(cases::SharedLibrary& shared, const Arguments& args) {
  std::string refusal;
  const cases::CaseSearchCriteria criteria = FindCriteria(args, refusal);
  if (!refusal.empty()) return Refuse(refusal);
  const auto ids = shared.Search(criteria);
  if (!ids) return Refuse(shared.lastError());
  return PrintSharedResults(shared, *ids, "没有找到符合条件的案例。");
}

int SharedImport(cases::SharedLibrary& shared, const Arguments& args) {
  if (args.Positionals().size() != 1) throw UsageError("import takes one database file");
  const std::string& path = args.Positionals()[0];
  if (!base::FileExists(path)) return Refuse("没有这个数据库文件：" + path);
  MRecordBase source;
  if (!source.OpenReadOnly(path)) return Refuse(source.lastError());
  const std::optional<int> count = shared.Import(source);
  if (!count) return Refuse(shared.lastError());
  std::cout << "共导入 " << *count << " 个案例！\n";
  return 0;
}

int SharedExport(cases::SharedLibrary& shared, const Arguments& args) {
  const std::optional<std::string> file = ExportFile(args);
  if (!file) return kExitRefused;
  const auto categories = args.Values("class");
  const std::optional<int> count = shared.ExportTo(*file, categories, categories.empty());
  if (!count) return Refuse(shared.lastError());
  if (*count == 0) {
    std::error_code ignored;
    std::filesystem::remove(*file, ignored);  // an empty export file would only mislead
    return Refuse(kNothingExported);
  }
  std::cout << *count << " 个案例文件已经保存到：" << *file << "\n";
  return 0;
}

// No threshold here (--force changes nothing): the shared compaction renumbers nothing and closes
// no window, it only fills in missing remarks and lets the server tidy its tables.
int SharedCompact(cases::SharedLibrary& shared, const Arguments& args) {
  if (!args.Positionals().empty()) throw UsageError("compact takes no arguments");
  const std::optional<int> count = shared.Compact();
  if (!count) return Refuse(shared.lastError());
  std::cout << " " << *count << " 个案例已经整理出来！\n";
  return 0;
}

int SharedBackup(cases::SharedLibrary& shared, const Arguments& args) {
  const std::optional<std::string> folder = BackupFolder(args);
  if (!folder) return kExitRefused;
  if (!shared.Backup(*folder)) return Refuse(shared.lastError());
  std::cout << "成功备份，已保存到" << *folder << "目录下\n";
  return 0;
}

// Only into a shared library without cases: other users may be at work on one that has them.
int SharedRestore(cases::SharedLibrary& shared, const Arguments& args) {
  const std::optional<std::string> source = RestoreSource(args);
  if (!source) return kExitRefused;
  const std::optional<int> count = shared.Restore(*source);
  if (!count) return Refuse(shared.lastError() + "\n现有的案例数据没有改动。");
  std::cout << "成功还原 " << *count << " 个案例到共享案例库！\n";
  // The cases are in; remarks that could not be made from their text make it no success.
  if (!shared.lastError().empty()) return Refuse(shared.lastError());
  return 0;
}

// The subcommands of a shared library.
const std::pair<std::string_view, int (*)(cases::SharedLibrary&, const Arguments&)> kSharedSubcommands[] = {
    {"add", SharedAdd},         {"list", SharedList},     {"show", SharedShow},       {"update", SharedUpdate},
    {"search", SharedSearch},   {"find", SharedFind},     {"import", SharedImport},   {"export", SharedExport},
    {"compact", SharedCompact}, {"backup", SharedBackup}, {"restore", SharedRestore},
};

int RunShared(const Arguments& args, const std::string& target) {
  const std::string& name = args.Subcommand();
  const auto subcommand = std::find_if(std::begin(kSharedSubcommands), std::end(kSharedSubcommands),
                                       [&](const auto& s) { return s.first == name; });
  if (subcommand == std::end(kSharedSubcommands)) {
    return Refuse("共享案例库还不能使用 cases " + name + "（可以先用 quorin-cli library pull 取回本机案例库）");
  }
  cases::SharedLibrary shared;
  if (!shared.ConnectToLibrary(target)) return Refuse(shared.lastError());
  return subcommand->second(shared, args);
}

// "event" is the dialog's 占问事宜, kept with the conditions and never searched.
const CaseSubcommand kSubcommands[] = {
    {"add",
     {.values = {"name", "date", "class", "text", "master-year", "mountain", "gua", "place", "zone", "fold", "person"},
      .flags = {"lunar", "leap", "female"},
      .repeatable = {"person"}},
     Opening::kBySubcommand, Add},
    {"list", {.values = {"order", "style"}}, Opening::kReadable, List},
    {"show", {.flags = {"remark"}}, Opening::kReadable, Show},
    {"update", {.values = {"name", "class", "text", "version"}}, Opening::kExisting, Update},
    {"search", {}, Opening::kReadable, Search},
    {"find",
     {.values = {"name", "class", "from", "to", "sex", "province", "comment", "event"},
      .flags = {"name-exact", "class-exact"}},
     Opening::kReadable, Find},
    {"export", {.values = {"class"}, .repeatable = {"class"}}, Opening::kExisting, Export},
    {"import", {}, Opening::kBySubcommand, Import},
    {"compact", {.flags = {"force"}}, Opening::kExisting, Compact},
    {"backup", {}, Opening::kExisting, Backup},
    {"restore", {}, Opening::kBySubcommand, Restore},
};

int Run(const std::vector<std::string>& all) {
  const Arguments args = Arguments::WithSubcommand(all, kLibraryOptions, kSubcommands);
  const CaseSubcommand& subcommand =
      *std::find_if(std::begin(kSubcommands), std::end(kSubcommands),
                    [&](const CaseSubcommand& s) { return s.name == args.Subcommand(); });
  if (const std::string shared = SharedLibraryTarget(args); !shared.empty()) return RunShared(args, shared);
  CaseLibrary library;
  library.path = LocalLibraryPath(args);
  const bool made = base::FileExists(library.path);
  if (subcommand.opening == Opening::kExisting || (subcommand.opening == Opening::kReadable && made)) {
    if (!OpenExisting(library.store, library.path)) return kExitRefused;
    library.open = true;
  }
  return subcommand.run(library, args);
}

const RegisterCommand kCases{{"cases", "the case database: add, list, show, search, find, export, import, compact, backup, restore",
                              kUsage, Run}};

}  // namespace
}  // namespace quorin::cli

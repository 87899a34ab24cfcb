// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/record_base.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>

#include "base/files.h"
#include "cases/library_archive.h"
#include "cases/record_codec.h"
#include "cases/remark_files.h"

namespace quorin::cases {
namespace {

constexpr const char* kCreateCaseTable =
    "create table case_data(id integer primary key,name char(20),sex integer,className char(20),dateY integer,"
    "dateNum char(30),dateStyle char(5),addrInd char(30),addrName varchar(150),addrNum char(40),"
    "remarkFile char(50),tag1 varchar(100),tag2 varchar(100),shanGua varchar(60),event varchar(150),"
    "masterDate varchar(30),remarkText text);";
constexpr const char* kCreateExtraTable = "create table case_extra(PlatformId,verCode,primaryId,className,baseType);";
constexpr std::string_view kFillExtraTable =
    "insert into case_extra(PlatformId,verCode,primaryId,className,baseType) values (0, 1000, ?, ?, 'OrluneData');";
constexpr std::string_view kTableExists = "select name from sqlite_master where type='table' and name=?;";
constexpr std::string_view kReadPrimaryId = "select primaryId from case_extra";
constexpr std::string_view kStorePrimaryId = "update case_extra set primaryId=?;";
constexpr std::string_view kReadClassNames = "select className from case_extra;";
constexpr std::string_view kStoreClassNames = "update case_extra set className=?;";
constexpr std::string_view kReadBaseType = "select baseType from case_extra;";
constexpr std::string_view kInsertCase =
    "insert into case_data values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr std::string_view kUpdateCase =
    "update case_data set name=?, sex=?, className=?, dateY=?, dateNum=?, dateStyle=?, addrInd=?, addrName=?, "
    "addrNum=?, remarkFile=?, tag1=?, tag2=?, shanGua=?, event=?, masterDate=?, remarkText=? where id=?;";
constexpr std::string_view kDeleteCase = "delete from case_data where id = ?;";
constexpr std::string_view kReadCase = "select * from case_data where id=?;";
constexpr std::string_view kReadCaseRange = "select * from case_data where id>=? and id<=? order by id;";
// Ids are handled as int; a larger one would wrap into another case's id or a negative counter.
constexpr std::string_view kIdOutOfRange =
    "select 1 from case_data where (id > 2147483647 or id < -2147483648) and typeof(id) in ('integer','real') "
    "limit 1;";
constexpr std::string_view kHighestCaseId = "select max(id) from case_data where id <= 2147483647;";
constexpr const char* kIdsOutOfRange = "案例的id超出范围，无法打开数据库！";
constexpr std::string_view kCountCases = "select count(*) from case_data;";
constexpr std::string_view kRemarkNameInUse = "select 1 from case_data where remarkFile=? limit 1;";

constexpr std::string_view kDefaultClassNames = "开业 进宅 结婚 阳宅风水 阴宅 求财 催丁 临时保存";

// Suffixes tried after a remark's base name ("_0", "_1" …) before giving up: far more cases of
// one name and minute than anybody saves, and a bound on the search in a damaged library.
constexpr long kMostRemarkNameSuffixes = 100000000;

// Leaves a statement ready for its next use when the scope ends, so that no
// half-read result keeps the file locked.
struct ResetOnExit {
  SqliteStatement* statement;
  ~ResetOnExit() {
    if (statement) statement->Reset();
  }
};

void BindRecord(SqliteStatement& statement, const std::array<ColumnValue, kCaseColumnCount>& values, int first,
                int firstParameter) {
  for (int column = first; column < kCaseColumnCount; ++column) {
    const ColumnValue& v = values[column];
    const int parameter = firstParameter + column - first;
    if (v.isInteger) {
      statement.Bind(parameter, v.integer);
    } else {
      statement.Bind(parameter, v.text);
    }
  }
}

// Opens the file for an operation; a limit above 0 refuses longer values before they are read.
bool OpenConnection(SqliteConnection& connection, const std::string& path, bool readOnly, std::size_t valueLimit) {
  if (!(readOnly ? connection.OpenReadOnly(path) : connection.Open(path, false))) return false;
  if (valueLimit > 0) connection.LimitValueLength(valueLimit);
  return true;
}

// The highest id of case_data (0 without cases), nullopt with SQLite's message when it cannot be read.
std::optional<std::int64_t> HighestCaseId(SqliteConnection& connection) {
  SqliteStatement* statement = connection.Prepare(kHighestCaseId);
  if (!statement) return std::nullopt;
  ResetOnExit reset{statement};
  if (statement->Next() != SqliteStatement::Step::kRow) return std::nullopt;
  return statement->Integer(0).value_or(0);
}

// Whether some id of case_data lies outside the int range; nullopt with SQLite's message on failure.
std::optional<bool> HasIdOutOfRange(SqliteConnection& connection) {
  SqliteStatement* statement = connection.Prepare(kIdOutOfRange);
  if (!statement) return std::nullopt;
  ResetOnExit reset{statement};
  switch (statement->Next()) {
    case SqliteStatement::Step::kError: return std::nullopt;
    case SqliteStatement::Step::kDone: return false;
    case SqliteStatement::Step::kRow: return true;
  }
  return std::nullopt;
}

// Outside a batch, a write that reads first (the next id, the rows it changes) takes the file's
// write lock before it reads: of two programs that had both read and then both asked to write,
// SQLite would refuse one at once, since waiting for each other could never end.
class ImmediateWrite {
 public:
  ImmediateWrite(SqliteConnection& connection, bool ownConnection) : connection_(connection), active_(ownConnection) {
    if (active_) ok_ = active_ = connection_.Execute("begin immediate;");
    if (!ok_) error_ = connection_.Message();
  }
  ~ImmediateWrite() {
    if (active_) static_cast<void>(connection_.Execute("rollback;"));  // nothing more to undo if it fails
  }
  ImmediateWrite(const ImmediateWrite&) = delete;
  ImmediateWrite& operator=(const ImmediateWrite&) = delete;
  bool Ok() const { return ok_; }
  const std::string& Error() const { return error_; }
  bool Commit() {
    if (!active_) return true;
    active_ = false;
    if (connection_.Execute("commit;")) return true;
    error_ = connection_.Message();
    static_cast<void>(connection_.Execute("rollback;"));  // a failed commit leaves nothing to keep
    return false;
  }

 private:
  SqliteConnection& connection_;
  bool active_;
  bool ok_ = true;
  std::string error_;
};

}  // namespace

MRecordBase::~MRecordBase() {
  if (batch_.IsOpen()) static_cast<void>(EndBatch());  // nobody is left to hear of a failed commit
}

std::string MRecordBase::RemarkFolder() const { return RemarkFolderOf(programFolder_); }

bool MRecordBase::Fail(std::string message) {
  lastError_ = std::move(message);
  return false;
}

std::nullopt_t MRecordBase::FailWith(std::string message) {
  Fail(std::move(message));
  return std::nullopt;
}

SqliteConnection* MRecordBase::Connect(SqliteConnection& own) {
  if (batch_.IsOpen()) return &batch_;  // never replace the connection of a batch in progress
  if (!OpenConnection(own, path_, readOnly_, valueLengthLimit_)) {
    Fail(own.Message());
    return nullptr;
  }
  return &own;
}

SqliteStatement* MRecordBase::Statement(SqliteConnection& connection, std::string_view sql) {
  SqliteStatement* statement = connection.Prepare(sql);
  if (!statement) Fail(connection.Message());
  return statement;
}

MRecordBase::LockScope::LockScope(MRecordBase& store, LibraryLock::Mode mode) : store_(store) {
  if (!store.coordinated_) return;
  LibraryLock& lock = store.lock_;
  if (lock.Held() && (lock.HeldMode() == LibraryLock::Mode::kExclusive || mode == LibraryLock::Mode::kShared)) return;
  const bool whole = mode == LibraryLock::Mode::kExclusive;
  if (!lock.Acquire(mode, whole ? kWholeLibraryPatience : kSavePatience)) {
    ok_ = false;
    store.Fail(whole ? kLibraryBusyForWhole : kLibraryBusyForSave);
    return;
  }
  took_ = true;
}

MRecordBase::LockScope::~LockScope() {
  if (took_) store_.lock_.Release();
}

bool MRecordBase::LockForWriteById(LockScope& scope) {
  if (!scope.Ok()) return false;
  if (coordinated_ && generation_ && lock_.Generation() != generation_) return Fail(kLibraryChanged);
  return true;
}

bool MRecordBase::Stale() {
  lastError_.clear();
  if (!coordinated_ || !generation_) return false;
  LockScope scope(*this, LibraryLock::Mode::kShared);
  return scope.Ok() && lock_.Generation() != generation_;
}

bool MRecordBase::Resync() {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!scope.Ok()) return false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  const std::optional<int> stored = ReadPrimaryIdOn(*c);
  if (!stored) return false;
  const auto highest = HighestCaseId(*c);
  if (!highest) return Fail(c->Message());
  counter_ = static_cast<int>(std::max<std::int64_t>(*stored, *highest));
  if (coordinated_) generation_ = lock_.Generation();
  return true;
}

bool MRecordBase::Open(const std::string& path) { return OpenFile(path, false, true); }

bool MRecordBase::OpenReadOnly(const std::string& path) { return OpenFile(path, true, false); }

bool MRecordBase::OpenInFolder(const std::string& path, const std::string& folder, bool readOnly) {
  return OpenFile(path, readOnly, !readOnly, folder);
}

bool MRecordBase::OpenFile(const std::string& path, bool readOnly, bool coordinated, const std::string& folder) {
  if (batch_.IsOpen()) static_cast<void>(EndBatch());  // a batch left open belongs to the file left behind
  lock_.Release();
  path_ = path;
  programFolder_ = folder.empty() ? base::ProgramFolder() : folder;
  counter_ = 0;
  readOnly_ = readOnly;
  coordinated_ = coordinated;
  generation_.reset();
  lastError_.clear();
  if (!coordinated) return OpenChecked(path, readOnly);

  // The first program to open a library that nobody is working on settles what a killed one left.
  lock_.Reset(LibraryLock::PathFor(path));
  if (const auto parent = std::filesystem::path(path).parent_path(); !parent.empty()) {
    // The lock file sits beside the database; without the folder there is nothing to lock.
    static_cast<void>(base::EnsureDirectory(parent.string()));
  }
  bool settle = false;
  if (lock_.TryAcquire(LibraryLock::Mode::kExclusive)) {
    settle = true;
  } else if (!lock_.Acquire(LibraryLock::Mode::kShared, kSavePatience)) {
    return Fail(kLibraryBusyForWhole);
  }
  bool ok = OpenChecked(path, readOnly);
  if (ok && settle) LibraryArchive(*this).SettleInterruptedWork();
  if (ok) generation_ = lock_.Generation();
  lock_.Release();
  if (ok) lastError_.clear();  // what settling could not finish is tried again at the next opening
  return ok;
}

bool MRecordBase::OpenChecked(const std::string& path, bool readOnly) {
  SqliteConnection connection;
  if (!readOnly && !base::FileExists(path)) {
    // The store writes remarks there; a folder that cannot be made shows when a remark is written.
    static_cast<void>(base::EnsureDirectory(RemarkFolder()));
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) static_cast<void>(base::EnsureDirectory(parent.string()));  // the open below says why not
    if (!connection.Open(path, true)) return Fail("无法创建或者打开数据库！");
    return CreateCaseTableOn(connection) && CreateExtraTableOn(connection) && ReadPrimaryIdOn(connection);
  }
  if (!OpenConnection(connection, path, readOnly, 0)) return Fail(connection.Message());

  // Everything is checked before anything is added, so a refused file stays as it was.
  const auto cases = PresenceOf(connection, "case_data");
  if (!cases) return Fail(connection.Message());
  if (*cases == Presence::kOther) return Fail("无法创建数据主表！");
  const auto extra = PresenceOf(connection, "case_extra");
  if (!extra) return Fail(connection.Message());
  if (*extra == Presence::kOther) return Fail("无法创建额外表！");

  // A reader needs both tables; asking a missing one gives SQLite's own "no such table".
  std::int64_t highest = 0;
  if (*cases == Presence::kPlainTable || readOnly) {
    const auto outOfRange = HasIdOutOfRange(connection);
    if (!outOfRange) return Fail(connection.Message());
    if (*outOfRange) return Fail(kIdsOutOfRange);
    const auto found = HighestCaseId(connection);
    if (!found) return Fail(connection.Message());
    highest = *found;
  }
  int counter = 0;
  if (*extra == Presence::kPlainTable || readOnly) {
    const std::optional<int> stored = ReadPrimaryIdOn(connection);
    if (!stored) return false;
    counter = *stored;
  }
  if (*cases == Presence::kMissing && !CreateCaseTableOn(connection)) return false;
  if (*extra == Presence::kMissing) {
    // A file whose metadata went missing keeps its cases reachable: the counter
    // starts at the highest id instead of at 0, so new cases can still be saved.
    counter = static_cast<int>(std::max<std::int64_t>(highest, 0));
    counter_ = counter;
    if (!CreateExtraTableOn(connection)) return false;
  }
  // A counter behind the stored ids (left by an interrupted save) is taken as the highest id.
  counter_ = static_cast<int>(std::max<std::int64_t>(counter, highest));
  if (!readOnly) static_cast<void>(base::EnsureDirectory(RemarkFolder()));  // shows when a remark is written
  return true;
}

bool MRecordBase::TableExistsOn(SqliteConnection& connection, std::string_view table) {
  SqliteStatement* statement = Statement(connection, kTableExists);
  if (!statement) return false;
  ResetOnExit reset{statement};
  statement->Bind(1, table);
  return statement->Next() == SqliteStatement::Step::kRow && statement->ColumnCount() > 0;
}

bool MRecordBase::TableExists(std::string_view table) {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c && TableExistsOn(*c, table);
}

bool MRecordBase::CreateCaseTableOn(SqliteConnection& connection) {
  return connection.Execute(kCreateCaseTable) || Fail("无法创建数据主表！");
}

bool MRecordBase::CreateExtraTableOn(SqliteConnection& connection) {
  if (!connection.Execute(kCreateExtraTable)) return Fail("无法创建额外表！");
  SqliteStatement* fill = Statement(connection, kFillExtraTable);
  if (!fill) return Fail("无法往额外表写入数据！");
  ResetOnExit reset{fill};
  fill->Bind(1, static_cast<std::int64_t>(counter_)).Bind(2, kDefaultClassNames);
  return fill->Run() || Fail("无法往额外表写入数据！");
}

bool MRecordBase::CreateCaseTable() {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? CreateCaseTableOn(*c) : Fail("无法创建数据主表！");
}

bool MRecordBase::CreateExtraTable() {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? CreateExtraTableOn(*c) : Fail("无法创建额外表！");
}

std::optional<int> MRecordBase::ReadPrimaryIdOn(SqliteConnection& connection) {
  SqliteStatement* statement = Statement(connection, kReadPrimaryId);
  if (!statement) return std::nullopt;
  ResetOnExit reset{statement};
  switch (statement->Next()) {
    case SqliteStatement::Step::kError: return FailWith(connection.Message());
    case SqliteStatement::Step::kDone: return FailWith("无法读取额外表的主键id！");
    case SqliteStatement::Step::kRow: break;
  }
  const auto id = ParseCaseInteger(statement->Text(statement->ColumnIndex("primaryId")));
  if (!id || *id < 0) return FailWith("无法读取额外表的主键id！");
  if (*id > INT_MAX) return FailWith(kIdsOutOfRange);
  return static_cast<int>(*id);
}

std::optional<int> MRecordBase::ReadPrimaryId() {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? ReadPrimaryIdOn(*c) : std::nullopt;
}

std::optional<int> MRecordBase::InsertOn(SqliteConnection& connection, TRecordData& record) {
  // The row and its counter are stored together or not at all: a row without its counter would
  // take the id the next save wants. A savepoint nests in a batch and is a transaction alone.
  SqliteStatement* begin = connection.Prepare("savepoint insert_case;");
  if (!begin || !begin->Run()) return FailWith("无法保存案例！");
  const int previousId = record.id;
  const std::optional<int> id = [&]() -> std::optional<int> {
    // The next id lies above the counter and every stored id: a counter left behind by an
    // interrupted save or another program then costs one id instead of every later save.
    std::int64_t highest = counter_;
    if (const auto stored = HighestCaseId(connection)) highest = std::max(highest, *stored);
    if (highest >= INT_MAX) return FailWith("无法保存案例！");
    const int next = static_cast<int>(highest) + 1;
    record.id = next;
    SqliteStatement* insert = Statement(connection, kInsertCase);
    if (!insert) return FailWith("无法保存案例！");
    ResetOnExit resetInsert{insert};
    BindRecord(*insert, EncodeRecord(record), 0, 1);
    if (!insert->Run()) return FailWith("无法保存案例！");
    SqliteStatement* store = Statement(connection, kStorePrimaryId);
    if (!store) return FailWith("无法更新主键id！");
    ResetOnExit resetStore{store};
    store->Bind(1, static_cast<std::int64_t>(next));
    if (!store->Run()) return FailWith("无法更新主键id！");
    return next;
  }();
  SqliteStatement* release = id ? connection.Prepare("release insert_case;") : nullptr;
  if (release && release->Run()) {
    counter_ = *id;
    return id;
  }
  if (id) Fail("无法保存案例！");  // the commit of a save of its own failed
  static_cast<void>(connection.Execute("rollback to insert_case; release insert_case;"));  // undoes what it can
  record.id = previousId;
  return std::nullopt;
}

std::optional<int> MRecordBase::Insert(TRecordData& record) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!scope.Ok()) return std::nullopt;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return FailWith("无法保存案例！");
  ImmediateWrite write(*c, c == &own);
  if (!write.Ok()) return FailWith("无法保存案例！" + write.Error());
  const std::optional<int> id = InsertOn(*c, record);
  if (id && !write.Commit()) return FailWith("无法保存案例！" + write.Error());
  return id;
}

std::optional<int> MRecordBase::InsertWithRemark(TRecordData& record, std::string_view remarkRtf) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!scope.Ok()) return std::nullopt;
  const std::string folder = RemarkFolder();
  if (!base::EnsureDirectory(folder)) return FailWith("无法保存评语文件" + folder);
  // The name is claimed by creating its file: of two programs saving the same name and moment at
  // once, each gets a name of its own.
  const std::string base = RemarkBaseName(record);
  std::string name = base;
  std::string path;
  for (long suffix = -1;; ++suffix) {
    if (suffix >= kMostRemarkNameSuffixes) return FailWith("无法为评语文件找到空闲的名字：" + base);
    if (suffix >= 0) name = base + "_" + std::to_string(suffix);
    const std::optional<bool> inUse = RemarkNameInUse(name);
    if (!inUse) return std::nullopt;
    if (*inUse) continue;
    path = folder + name + ".rtf";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    if (errno != EEXIST) return FailWith("无法保存评语文件" + path + "：" + std::strerror(errno));
  }
  std::string error;
  if (!base::AtomicWriteFile(path, remarkRtf, &error)) {
    ::unlink(path.c_str());
    return FailWith(error);
  }
  const std::string previousName = record.remarkFile;
  record.remarkFile = name;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  std::optional<int> id;
  if (c) {
    ImmediateWrite write(*c, c == &own);
    id = write.Ok() ? InsertOn(*c, record) : FailWith("无法保存案例！" + write.Error());
    if (id && !write.Commit()) id = FailWith("无法保存案例！" + write.Error());
  } else {
    Fail("无法保存案例！");
  }
  if (!id) {
    ::unlink(path.c_str());  // no case owns it
    record.remarkFile = previousName;
  }
  return id;
}

bool MRecordBase::UpdateWithRemark(int id, const TRecordData& record, const std::string& remarkPath,
                                   std::string_view remarkRtf) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return Fail("无法修改案例！");
  // The row's change is undone when the file cannot follow it.
  ImmediateWrite write(*c, c == &own);
  if (!write.Ok()) return Fail("无法修改案例！" + write.Error());
  if (!c->Execute("savepoint update_case;")) return Fail(c->Message());
  bool ok = UpdateOn(*c, id, record);
  std::string fileError;
  if (ok && !base::AtomicWriteFile(remarkPath, remarkRtf, &fileError)) ok = Fail(fileError);
  if (ok && !c->Execute("release update_case;")) ok = Fail(c->Message());
  if (ok && write.Commit()) return true;
  if (ok) return Fail(write.Error());  // the commit failed and took the change back
  static_cast<void>(c->Execute("rollback to update_case; release update_case;"));  // undoes what it can
  return false;
}

bool MRecordBase::RemoveWithRemark(int id, const std::string& remarkPath) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c || !RemoveOn(*c, id)) return Fail("无法删除案例！");
  std::error_code ignored;
  if (!remarkPath.empty()) std::filesystem::remove(remarkPath, ignored);
  return true;
}

std::optional<int> MRecordBase::InsertInBatch(TRecordData& record) {
  lastError_.clear();
  return batch_.IsOpen() ? InsertOn(batch_, record) : FailWith("无法保存案例！");
}

std::optional<int> MRecordBase::InsertKeepingIdInBatch(TRecordData& record) {
  lastError_.clear();
  if (!batch_.IsOpen() || record.id <= counter_) return FailWith("无法保存案例！");
  const int wanted = record.id;
  // The next id lies above the counter and every stored id: the counter one below the id asks for it.
  const int counter = counter_;
  counter_ = wanted - 1;
  const std::optional<int> id = InsertOn(batch_, record);
  if (!id) counter_ = counter;
  if (id && *id != wanted) return FailWith("无法保存案例！");
  return id;
}

bool MRecordBase::UpdateOn(SqliteConnection& connection, int id, const TRecordData& record) {
  SqliteStatement* update = Statement(connection, kUpdateCase);
  if (!update) return Fail("无法修改案例！");
  ResetOnExit reset{update};
  BindRecord(*update, EncodeRecord(record), 1, 1);
  update->Bind(kCaseColumnCount, static_cast<std::int64_t>(id));
  return update->Run() || Fail("无法修改案例！");
}

bool MRecordBase::Update(int id, const TRecordData& record) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? UpdateOn(*c, id, record) : Fail("无法修改案例！");
}

bool MRecordBase::UpdateInBatch(int id, const TRecordData& record) {
  lastError_.clear();
  return batch_.IsOpen() ? UpdateOn(batch_, id, record) : Fail("无法修改案例！");
}

bool MRecordBase::RemoveOn(SqliteConnection& connection, int id) {
  SqliteStatement* remove = Statement(connection, kDeleteCase);
  if (!remove) return Fail("无法删除案例！");
  ResetOnExit reset{remove};
  remove->Bind(1, static_cast<std::int64_t>(id));
  return remove->Run() || Fail("无法删除案例！");
}

bool MRecordBase::Remove(int id) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? RemoveOn(*c, id) : Fail("无法删除案例！");
}

bool MRecordBase::RemoveInBatch(int id) {
  lastError_.clear();
  return batch_.IsOpen() ? RemoveOn(batch_, id) : Fail("无法删除案例！");
}

bool MRecordBase::ReadOn(SqliteConnection& connection, int id, TRecordData& record) {
  SqliteStatement* read = Statement(connection, kReadCase);
  if (!read) return false;
  ResetOnExit reset{read};
  read->Bind(1, static_cast<std::int64_t>(id));
  switch (read->Next()) {
    case SqliteStatement::Step::kError: return Fail(connection.Message());
    case SqliteStatement::Step::kDone: return false;
    case SqliteStatement::Step::kRow: break;
  }
  record = RecordOfRow(*read);
  return true;
}

TRecordData MRecordBase::RecordOfRow(const SqliteStatement& row) {
  // Values are looked up by column name: a column the file lacks reads as empty text.
  const std::vector<int>& index = row.ColumnIndexes(kCaseColumns);
  std::array<std::string_view, kCaseColumnCount> columns;
  for (int i = 0; i < kCaseColumnCount; ++i) columns[i] = row.Text(index[i]);
  return DecodeRecord(columns);
}

bool MRecordBase::ReadRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) {
  lastError_.clear();
  return ReadRows(firstId, lastId, [&](const SqliteStatement& row) {
    TRecordData record = RecordOfRow(row);
    return each(record);
  });
}

bool MRecordBase::ReadRows(std::int64_t firstId, std::int64_t lastId,
                           const std::function<bool(const SqliteStatement& row)>& each) {
  valueTooLarge_ = false;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadCaseRange);
  if (!read) return false;
  ResetOnExit reset{read};
  read->Bind(1, firstId).Bind(2, lastId);
  for (;;) {
    switch (read->Next()) {
      case SqliteStatement::Step::kError:
        valueTooLarge_ = c->ErrorCode() == SQLITE_TOOBIG;
        return Fail(c->Message());
      case SqliteStatement::Step::kDone: return true;
      case SqliteStatement::Step::kRow: break;
    }
    if (!each(*read)) return true;
  }
}

std::optional<std::vector<int>> MRecordBase::MoveCasesToCategory(const std::vector<int>& ids,
                                                                 const std::string& category) {
  lastError_.clear();
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return std::nullopt;
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return std::nullopt;
  ImmediateWrite write(*c, c == &own);
  if (!write.Ok()) return FailWith(write.Error());
  // A savepoint is a part of the transaction that can be undone alone, also in the caller's batch.
  if (!c->Execute("savepoint move_cases;")) return FailWith(c->Message());
  std::vector<int> moved;
  bool ok = true;
  for (const int id : ids) {
    TRecordData record;
    if (!ReadOn(*c, id, record)) {
      ok = lastError_.empty();  // no such row: nothing to move
      if (ok) continue;
      break;
    }
    record.className = category;
    ok = UpdateOn(*c, id, record);
    if (!ok) break;
    moved.push_back(id);
  }
  if (ok && !c->Execute("release move_cases;")) ok = Fail(c->Message());
  if (ok && write.Commit()) return moved;
  if (ok) return FailWith(write.Error());  // the commit of a move of its own failed and took it back
  static_cast<void>(c->Execute("rollback to move_cases; release move_cases;"));  // undoes what it can
  return std::nullopt;
}

bool MRecordBase::Read(int id, TRecordData& record) {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c && ReadOn(*c, id, record);
}

bool MRecordBase::ReadInBatch(int id, TRecordData& record) {
  lastError_.clear();
  return batch_.IsOpen() ? ReadOn(batch_, id, record) : Fail("数据库没有打开！");
}

bool MRecordBase::BeginBatch() {
  lastError_.clear();
  return BeginBatchWith("begin;");
}

bool MRecordBase::BeginBatchWith(const char* begin) {
  if (batch_.IsOpen()) return true;
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;
  if (!OpenConnection(batch_, path_, readOnly_, valueLengthLimit_) || !batch_.Execute(begin)) {
    const std::string message = batch_.Message();
    batch_.Close();
    return Fail(message);
  }
  batchTookLock_ = scope.Keep();  // held until EndBatch
  return true;
}

bool MRecordBase::EndBatch() {
  lastError_.clear();
  if (!batch_.IsOpen()) return true;
  const bool committed = batch_.Execute("commit;");
  const std::string error = committed ? std::string() : batch_.Message();
  batch_.Close();  // without a commit this rolls the batch back
  if (batchTookLock_) lock_.Release();
  batchTookLock_ = false;
  return committed || Fail(error);
}

bool MRecordBase::GetClassNames(std::vector<std::string>& names) {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadClassNames);
  if (!read) return false;
  ResetOnExit reset{read};
  switch (read->Next()) {
    case SqliteStatement::Step::kError: return Fail(c->Message());
    case SqliteStatement::Step::kDone: return Fail("无法读取案例类别！");
    case SqliteStatement::Step::kRow: break;
  }
  names = SplitCaseText(read->Text(read->ColumnIndex("className")));
  return true;
}

bool MRecordBase::SetClassNames(const std::vector<std::string>& names) {
  lastError_.clear();
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ' ';
    joined += names[i];
  }
  LockScope scope(*this, LibraryLock::Mode::kShared);
  if (!LockForWriteById(scope)) return false;  // a list read before a restore would undo the restored one
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return Fail("无法更新案例类别！");
  SqliteStatement* store = Statement(*c, kStoreClassNames);
  if (!store) return Fail("无法更新案例类别！");
  ResetOnExit reset{store};
  store->Bind(1, joined);
  return store->Run() || Fail("无法更新案例类别！");
}

bool MRecordBase::HasBaseType(std::string_view type) {
  lastError_.clear();
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadBaseType);
  if (!read) return false;
  ResetOnExit reset{read};
  return read->Next() == SqliteStatement::Step::kRow && read->Text(read->ColumnIndex("baseType")) == type;
}

std::optional<int> MRecordBase::CountCases() {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return std::nullopt;
  SqliteStatement* count = Statement(*c, kCountCases);
  if (!count) return std::nullopt;
  ResetOnExit reset{count};
  if (count->Next() != SqliteStatement::Step::kRow) return std::nullopt;
  const auto n = ParseCaseInteger(count->Text(0));
  if (!n) return std::nullopt;
  return static_cast<int>(*n);
}

std::optional<bool> MRecordBase::RemarkNameInUse(const std::string& name) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return std::nullopt;
  SqliteStatement* find = Statement(*c, kRemarkNameInUse);
  if (!find) return std::nullopt;
  ResetOnExit reset{find};
  find->Bind(1, name);
  switch (find->Next()) {
    case SqliteStatement::Step::kRow: return true;
    case SqliteStatement::Step::kDone: return false;
    case SqliteStatement::Step::kError: break;
  }
  return FailWith(c->Message());
}

std::optional<RemarkName> MRecordBase::UniqueRemarkName(const TRecordData& record) {
  lastError_.clear();
  const std::string folder = RemarkFolder();
  const std::string base = RemarkBaseName(record);
  // A name another case holds stays taken even when its file went missing: sharing it would
  // show that case the new remark, and its next save would overwrite it.
  for (long suffix = -1; suffix < kMostRemarkNameSuffixes; ++suffix) {
    const std::string name = suffix < 0 ? base : base + "_" + std::to_string(suffix);
    std::error_code ec;
    if (std::filesystem::exists(folder + name + ".rtf", ec)) continue;
    const std::optional<bool> inUse = RemarkNameInUse(name);
    if (!inUse) return std::nullopt;  // a library that cannot be asked gives no name at all
    if (!*inUse) return RemarkName{folder + name + ".rtf", name};
  }
  return FailWith("无法为评语文件找到空闲的名字：" + base);
}

bool MRecordBase::Backup(const std::string& destination) {
  lastError_.clear();
  return LibraryArchive(*this).Backup(destination);
}

bool MRecordBase::Restore(const std::string& source) {
  lastError_.clear();
  return LibraryArchive(*this).Restore(source);
}

bool MRecordBase::RebuildRemarkFiles() {
  lastError_.clear();
  return LibraryArchive(*this).RebuildRemarkFiles();
}

bool MRecordBase::DeleteAll() {
  lastError_.clear();
  return LibraryArchive(*this).DeleteAll();
}

std::optional<int> MRecordBase::ImportFrom(const std::string& path, const ProgressCallback& progress) {
  lastError_.clear();
  return LibraryArchive(*this).ImportFrom(path, progress);
}

std::optional<int> MRecordBase::ExportTo(const std::string& path, const std::vector<std::string>& categories,
                                         bool exportAll, const ProgressCallback& progress) {
  lastError_.clear();
  return LibraryArchive(*this).ExportTo(path, categories, exportAll, progress);
}

std::optional<int> MRecordBase::Compact(const ProgressCallback& progress) {
  lastError_.clear();
  return LibraryArchive(*this).Compact(progress);
}

std::optional<std::string> MRecordBase::OwnRemarkPath(const TRecordData& record) const {
  if (IsPlaceholderRemarkName(record.remarkFile)) return std::nullopt;
  return RemarkFilePath(RemarkFolder(), record.remarkFile);
}

std::optional<StoredCase> MRecordBase::ReadStored(int id) {
  StoredCase stored;
  if (!Read(id, stored.record)) return std::nullopt;
  const std::optional<std::string> path = OwnRemarkPath(stored.record);
  if (!path) {
    // Without a name of its own (a library that cannot be asked) a save says why it cannot write.
    if (const std::optional<RemarkName> fresh = UniqueRemarkName(stored.record)) stored.record.remarkFile = fresh->baseName;
    lastError_.clear();
    return stored;
  }
  if (!base::FileExists(*path)) return stored;
  // A remark too large to read is not opened: its next save would replace it by what the editor holds.
  if (base::FileSize(*path).value_or(0) > kMaxRemarkBytes) return FailWith(RemarkTooLargeMessage(stored.record.name, *path));
  const std::optional<std::string> bytes = base::ReadFileBytes(*path);
  if (bytes) stored.remarkRtf = *bytes;
  return stored;
}

CaseSave MRecordBase::UpdateCase(int id, const TRecordData& record, std::string_view remarkRtf, int& /*version*/) {
  return UpdateWithRemark(id, record, OwnRemarkPath(record).value_or(""), remarkRtf) ? CaseSave::kSaved : CaseSave::kFailed;
}

CaseSave MRecordBase::RemoveCase(int id, int /*version*/) {
  std::string path;
  if (TRecordData record; Read(id, record)) path = OwnRemarkPath(record).value_or(std::string());
  // The case leaves the store first: a removal that fails keeps its remark.
  return RemoveWithRemark(id, path) ? CaseSave::kSaved : CaseSave::kFailed;
}

std::vector<int> MRecordBase::RemoveCases(const std::vector<int>& ids) {
  if (!BeginBatch()) return ids;
  std::vector<int> failed;
  for (const int id : ids) {
    if (!RemoveInBatch(id)) failed.push_back(id);
  }
  if (!EndBatch()) return ids;  // nothing was committed
  return failed;
}

std::optional<std::vector<int>> MRecordBase::CategoryCaseIds(const std::string& category) {
  std::vector<int> ids;
  const bool read = ReadRange(1, GetPrimaryId(), [&](TRecordData& record) {
    if (record.className == category) ids.push_back(record.id);
    return true;
  });
  if (!read) return std::nullopt;
  return ids;
}

std::optional<std::vector<int>> MRecordBase::RenameCategory(const std::string& from, const std::string& to) {
  const std::optional<std::vector<int>> ids = CategoryCaseIds(from);
  if (!ids) return std::nullopt;
  std::optional<std::vector<int>> moved = MoveCasesToCategory(*ids, to);
  if (moved) std::sort(moved->begin(), moved->end());
  return moved;
}

CaseReaderOpener MRecordBase::OpenerOf(const std::string& path) {
  return [path](std::string& error) -> std::unique_ptr<CaseReader> {
    auto store = std::make_unique<MRecordBase>();
    if (store->Open(path)) return store;
    error = store->lastError();
    return nullptr;
  };
}

}  // namespace quorin::cases

#include "cases/record_base.h"

#include <climits>
#include <cstdio>
#include <filesystem>

#include "base/files.h"
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
constexpr std::string_view kMaxCaseId = "select max(id) from case_data;";
constexpr std::string_view kCountCases = "select count(*) from case_data;";
constexpr std::string_view kRemarkNameInUse = "select 1 from case_data where remarkFile=? limit 1;";

constexpr std::string_view kDefaultClassNames = "开业 进宅 结婚 阳宅风水 阴宅 求财 催丁 临时保存";

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

}  // namespace

MRecordBase::~MRecordBase() {
  if (batch_.IsOpen()) EndBatch();
}

std::string MRecordBase::RemarkFolder() const { return RemarkFolderOf(programFolder_); }

bool MRecordBase::Fail(std::string message) {
  lastError_ = std::move(message);
  return false;
}

SqliteConnection* MRecordBase::Connect(SqliteConnection& own) {
  if (batch_.IsOpen()) return &batch_;  // never replace the connection of a batch in progress
  std::string error;
  if (!own.Open(path_, false, error)) {
    Fail(error);
    return nullptr;
  }
  return &own;
}

SqliteStatement* MRecordBase::Statement(SqliteConnection& connection, std::string_view sql) {
  std::string error;
  SqliteStatement* statement = connection.Prepare(sql, error);
  if (!statement) Fail(error);
  return statement;
}

bool MRecordBase::Execute(SqliteConnection& connection, const char* sql) {
  std::string error;
  return connection.Execute(sql, error) || Fail(error);
}

int MRecordBase::Open(const std::string& path) {
  path_ = path;
  programFolder_ = base::ProgramFolder();
  counter_ = 0;
  lastError_.clear();
  base::EnsureDirectory(RemarkFolder());  // the store writes remarks there; a failure shows when writing

  SqliteConnection connection;
  std::string error;
  if (base::FileExists(path)) {
    if (connection.Open(path, false, error)) {
      const bool hasCases = TableExistsOn(connection, "case_data");
      if (!hasCases) CreateCaseTableOn(connection);
      if (!TableExistsOn(connection, "case_extra")) {
        // A file whose metadata went missing keeps its cases reachable: the counter
        // starts above the highest id instead of at 0, so new cases can still be saved.
        if (hasCases) {
          if (SqliteStatement* max = Statement(connection, kMaxCaseId); max && max->Next() == SqliteStatement::Step::kRow) {
            counter_ = static_cast<int>(ParseCaseInteger(max->Text(0)).value_or(0));
            max->Reset();
          }
        }
        CreateExtraTableOn(connection);
      }
    }
  } else {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) base::EnsureDirectory(parent.string());
    if (!connection.Open(path, true, error)) return Fail("无法创建或者打开数据库！"), -1;
    if (!CreateCaseTableOn(connection) || !CreateExtraTableOn(connection)) return -1;
  }
  const int id = connection.IsOpen() ? ReadPrimaryIdOn(connection) : (Fail(error), -1);
  if (id < 0) return -1;
  counter_ = id;
  return 0;
}

bool MRecordBase::TableExistsOn(SqliteConnection& connection, std::string_view table) {
  SqliteStatement* statement = Statement(connection, kTableExists);
  if (!statement) return false;
  ResetOnExit reset{statement};
  statement->Bind(1, table);
  return statement->Next() == SqliteStatement::Step::kRow && statement->ColumnCount() > 0;
}

bool MRecordBase::TableExists(std::string_view table) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c && TableExistsOn(*c, table);
}

bool MRecordBase::CreateCaseTableOn(SqliteConnection& connection) {
  std::string error;
  return connection.Execute(kCreateCaseTable, error) || Fail("无法创建数据主表！");
}

bool MRecordBase::CreateExtraTableOn(SqliteConnection& connection) {
  std::string error;
  if (!connection.Execute(kCreateExtraTable, error)) return Fail("无法创建额外表！");
  SqliteStatement* fill = Statement(connection, kFillExtraTable);
  if (!fill) return Fail("无法往额外表写入数据！");
  ResetOnExit reset{fill};
  fill->Bind(1, static_cast<std::int64_t>(counter_)).Bind(2, kDefaultClassNames);
  return fill->Run() || Fail("无法往额外表写入数据！");
}

bool MRecordBase::CreateCaseTable() {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? CreateCaseTableOn(*c) : Fail("无法创建数据主表！");
}

bool MRecordBase::CreateExtraTable() {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? CreateExtraTableOn(*c) : Fail("无法创建额外表！");
}

int MRecordBase::ReadPrimaryIdOn(SqliteConnection& connection) {
  SqliteStatement* statement = Statement(connection, kReadPrimaryId);
  if (!statement) return -1;
  ResetOnExit reset{statement};
  switch (statement->Next()) {
    case SqliteStatement::Step::kError: return Fail(connection.Message()), -1;
    case SqliteStatement::Step::kDone: return Fail("无法读取额外表的主键id！"), -1;
    case SqliteStatement::Step::kRow: break;
  }
  const auto id = ParseCaseInteger(statement->Text(statement->ColumnIndex("primaryId")));
  if (!id || *id < 0 || *id > INT_MAX) return Fail("无法读取额外表的主键id！"), -1;
  return static_cast<int>(*id);
}

int MRecordBase::ReadPrimaryId() {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? ReadPrimaryIdOn(*c) : -1;
}

int MRecordBase::InsertOn(SqliteConnection& connection, TRecordData& record) {
  if (counter_ == INT_MAX) return Fail("无法保存案例！"), -1;
  const int id = counter_ + 1;
  const int previousId = record.id;
  record.id = id;
  SqliteStatement* insert = Statement(connection, kInsertCase);
  bool inserted = false;
  if (insert) {
    ResetOnExit reset{insert};
    BindRecord(*insert, EncodeRecord(record), 0, 1);
    inserted = insert->Run();
  }
  if (!inserted) {
    record.id = previousId;
    return Fail("无法保存案例！"), -1;
  }
  counter_ = id;
  SqliteStatement* store = Statement(connection, kStorePrimaryId);
  if (!store) return Fail("无法更新主键id！"), -1;
  ResetOnExit reset{store};
  store->Bind(1, static_cast<std::int64_t>(id));
  if (!store->Run()) return Fail("无法更新主键id！"), -1;
  return id;
}

int MRecordBase::Insert(TRecordData& record) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? InsertOn(*c, record) : (Fail("无法保存案例！"), -1);
}

int MRecordBase::InsertInBatch(TRecordData& record) {
  return batch_.IsOpen() ? InsertOn(batch_, record) : (Fail("无法保存案例！"), -1);
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
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? UpdateOn(*c, id, record) : Fail("无法修改案例！");
}

bool MRecordBase::UpdateInBatch(int id, const TRecordData& record) {
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
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c ? RemoveOn(*c, id) : Fail("无法删除案例！");
}

bool MRecordBase::RemoveInBatch(int id) { return batch_.IsOpen() ? RemoveOn(batch_, id) : Fail("无法删除案例！"); }

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
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadCaseRange);
  if (!read) return false;
  ResetOnExit reset{read};
  read->Bind(1, static_cast<std::int64_t>(firstId)).Bind(2, static_cast<std::int64_t>(lastId));
  for (;;) {
    switch (read->Next()) {
      case SqliteStatement::Step::kError: return Fail(c->Message());
      case SqliteStatement::Step::kDone: return true;
      case SqliteStatement::Step::kRow: break;
    }
    TRecordData record = RecordOfRow(*read);
    if (!each(record)) return true;
  }
}

bool MRecordBase::Read(int id, TRecordData& record) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  return c && ReadOn(*c, id, record);
}

bool MRecordBase::ReadInBatch(int id, TRecordData& record) {
  return batch_.IsOpen() ? ReadOn(batch_, id, record) : Fail("数据库没有打开！");
}

bool MRecordBase::BeginBatch() {
  if (batch_.IsOpen()) return true;
  std::string error;
  if (!batch_.Open(path_, false, error)) return Fail(error);
  if (!batch_.Execute("begin;", error)) {
    batch_.Close();
    return Fail(error);
  }
  return true;
}

bool MRecordBase::EndBatch() {
  if (!batch_.IsOpen()) return true;
  std::string error;
  const bool committed = batch_.Execute("commit;", error);
  batch_.Close();  // without a commit this rolls the batch back
  return committed || Fail(error);
}

bool MRecordBase::GetClassNames(std::vector<std::string>& names) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadClassNames);
  if (!read) return false;
  ResetOnExit reset{read};
  switch (read->Next()) {
    case SqliteStatement::Step::kError: return Fail(c->Message());
    case SqliteStatement::Step::kDone: return false;
    case SqliteStatement::Step::kRow: break;
  }
  names = SplitCaseText(read->Text(read->ColumnIndex("className")));
  return true;
}

bool MRecordBase::SetClassNames(const std::vector<std::string>& names) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ' ';
    joined += names[i];
  }
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
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* read = Statement(*c, kReadBaseType);
  if (!read) return false;
  ResetOnExit reset{read};
  return read->Next() == SqliteStatement::Step::kRow && read->Text(read->ColumnIndex("baseType")) == type;
}

int MRecordBase::CountCases() {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return -1;
  SqliteStatement* count = Statement(*c, kCountCases);
  if (!count) return -1;
  ResetOnExit reset{count};
  if (count->Next() != SqliteStatement::Step::kRow) return -1;
  return static_cast<int>(ParseCaseInteger(count->Text(0)).value_or(-1));
}

bool MRecordBase::RemarkNameInUse(const std::string& name) {
  SqliteConnection own;
  SqliteConnection* c = Connect(own);
  if (!c) return false;
  SqliteStatement* find = Statement(*c, kRemarkNameInUse);
  if (!find) return false;
  ResetOnExit reset{find};
  find->Bind(1, name);
  return find->Next() == SqliteStatement::Step::kRow;
}

RemarkName MRecordBase::UniqueRemarkName(const TRecordData& record) { return FreeRemarkName(record, true); }

RemarkName MRecordBase::FreeRemarkName(const TRecordData& record, bool askCases) {
  const std::string folder = RemarkFolder();
  const std::string base = RemarkBaseName(record);
  std::string name = base;
  std::error_code ec;
  // A name another case holds stays taken even when its file went missing: sharing it would
  // show that case the new remark, and its next save would overwrite it.
  for (long suffix = 0;
       (std::filesystem::exists(folder + name + ".rtf", ec) || (askCases && RemarkNameInUse(name))) &&
       suffix < 100000000;
       ++suffix) {
    name = base + "_" + std::to_string(suffix);
  }
  return {folder + name + ".rtf", name};
}

}  // namespace quorin::cases

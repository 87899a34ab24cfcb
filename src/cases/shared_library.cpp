// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/shared_library.h"

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <set>

#include "base/files.h"
#include "cases/record_base.h"
#include "cases/record_codec.h"
#include "cases/remark_files.h"
#include "chart/request_check.h"

namespace quorin::cases {
namespace {

// The schema of a shared library, made once by its administrator. The case columns hold what the
// local library's columns hold, as text, so that a library pushed and pulled comes back the same.
constexpr std::string_view kSchema = R"sql(
create extension if not exists pg_trgm;
create schema quorin;
create table quorin.library (key text primary key, value text not null);
insert into quorin.library values ('format', '1'), ('baseType', 'OrluneData');
-- A case may carry a category the list lacks (as in the local library): such a one is kept here, unlisted,
-- so that no case is ever without its category.
create table quorin.categories (name text primary key, position integer not null, listed boolean not null default true);
create sequence quorin.case_ids;
create table quorin.cases (
  id integer primary key default nextval('quorin.case_ids'),
  version integer not null default 1,
  category text not null references quorin.categories (name) on update cascade,
  name text not null, sex text, date_year text, date_num text, date_style text, addr_ind text,
  addr_name text, addr_num text, remark_file text, tag1 text, tag2 text, shan_gua text, event text,
  master_date text, remark_text text,
  remark bytea);
alter sequence quorin.case_ids owned by quorin.cases.id;
create index cases_name on quorin.cases using gin (name gin_trgm_ops);
create index cases_category on quorin.cases (category, id);
-- Every change is announced, so that the other users' windows show it.
create function quorin.announce() returns trigger language plpgsql as $$
begin
  perform pg_notify('quorin_library', '');  -- one payload: a transaction's announcements become one
  return null;
end $$;
create trigger cases_changed after insert or update or delete on quorin.cases
  for each statement execute function quorin.announce();
create trigger categories_changed after insert or update or delete on quorin.categories
  for each statement execute function quorin.announce();
-- The administrator lets a role in; the role's name is quoted by the server (%I), never by us.
create function quorin.grant_access(who text, read_only boolean) returns void language plpgsql as $$
begin
  execute format('grant usage on schema quorin to %I', who);
  execute format('grant select on all tables in schema quorin to %I', who);
  if read_only then
    execute format('revoke insert, update, delete on quorin.cases, quorin.categories from %I', who);
    execute format('revoke usage, update on sequence quorin.case_ids from %I', who);
  else
    execute format('grant insert, update, delete on quorin.cases, quorin.categories to %I', who);
    execute format('grant usage, update on sequence quorin.case_ids to %I', who);
  end if;
end $$;
revoke all on function quorin.grant_access(text, boolean) from public;
)sql";

// The searches' indexes, which format 2 added: a library of format 1 gets them from its
// administrator's next `library init`.
constexpr std::string_view kSearchIndexes = R"sql(
-- What the searches narrow the cases down by (shared_search.cpp writes the same expressions): the
-- searched texts as cases decode them, and the year of a plainly written date_year (NULL otherwise).
create index if not exists cases_text on quorin.cases using gin (
  (name || E'\n' || coalesce(addr_name, '') || E'\n' || coalesce(nullif(remark_text, ''), '输入自己的评语：')) gin_trgm_ops);
-- Two characters make no trigram: their pairs of characters serve the searches instead.
create or replace function quorin.bigrams(t text) returns text[] language sql immutable strict parallel safe as $$
  select coalesce(array_agg(distinct substr(t, i, 2)), '{}') from generate_series(1, length(t) - 1) i
$$;
create index if not exists cases_pairs on quorin.cases using gin (quorin.bigrams(
  name || E'\n' || coalesce(addr_name, '') || E'\n' || coalesce(nullif(remark_text, ''), '输入自己的评语：')));
create index if not exists cases_year on quorin.cases (
  (case when date_year ~ '^(0|-?[1-9][0-9]{0,3})$' then date_year::integer end));
update quorin.library set value = '2' where key = 'format';
)sql";

// The case columns after id and version, in the local library's order without id (className is
// the category), and the local column each of them holds.
constexpr std::array<std::string_view, 16> kColumnNames{
    "category", "name",        "sex", "date_year", "date_num", "date_style", "addr_ind",    "addr_name",
    "addr_num", "remark_file", "tag1", "tag2",     "shan_gua", "event",      "master_date", "remark_text"};
constexpr std::array<int, 16> kLocalColumn{3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// "category, name, …, remark_text".
std::string ColumnList() {
  std::string list;
  for (const std::string_view name : kColumnNames) list.append(list.empty() ? "" : ", ").append(name);
  return list;
}

// What a read selects: id and version as text, the columns, the remark.
std::string SelectedColumns() { return "id::text, version::text, " + ColumnList() + ", remark"; }

std::string ColumnText(const ColumnValue& v) { return v.isInteger ? std::to_string(v.integer) : v.text; }

// The values of a record for the columns of ColumnList().
std::vector<PgValue> CaseValues(const TRecordData& record) {
  const auto encoded = EncodeRecord(record);
  std::vector<PgValue> values;
  for (const int column : kLocalColumn) values.emplace_back(ColumnText(encoded[static_cast<std::size_t>(column)]));
  return values;
}

// A record from a row of SelectedColumns().
StoredCase CaseOfRow(const PgResult& rows, int row) {
  std::array<std::string, kCaseColumnCount> texts;
  texts[0] = rows.Text(row, 0);
  for (std::size_t i = 0; i < kLocalColumn.size(); ++i) {
    texts[static_cast<std::size_t>(kLocalColumn[i])] = rows.Text(row, static_cast<int>(i) + 2);
  }
  std::array<std::string_view, kCaseColumnCount> views;
  for (std::size_t i = 0; i < texts.size(); ++i) views[i] = texts[i];
  StoredCase shared;
  shared.record = DecodeRecord(views);
  shared.version = static_cast<int>(rows.Integer(row, 1).value_or(0));
  shared.remarkRtf = rows.Text(row, static_cast<int>(kLocalColumn.size()) + 2);
  return shared;
}

// "$3, $4, …" for `count` values from `first`.
std::string Placeholders(int first, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i ? ", $" : "$") + std::to_string(first + i);
  return text;
}

// A whole row of a case: its id, the columns of ColumnList() and its remark, as $1 … $18.
std::vector<PgValue> RowValues(const TRecordData& record, std::string_view remarkRtf) {
  std::vector<PgValue> values{record.id};
  for (PgValue& v : CaseValues(record)) values.push_back(std::move(v));
  values.push_back(PgValue::Bytes(remarkRtf));
  return values;
}

// Stores the RowValues() of a case.
const std::string& InsertRowSql() {
  static const std::string sql = "insert into quorin.cases (id, " + ColumnList() + ", remark) values (" +
                                 Placeholders(1, static_cast<int>(kColumnNames.size()) + 2) + ")";
  return sql;
}

// Adds the category of parameter $`parameter` at the end of the categories when it is new: listed,
// or kept off the list (the category of a case only, as in the local library). A category already
// there keeps its place; `listed` then puts it on the list.
std::string AddCategorySql(int parameter, bool listed) {
  return "insert into quorin.categories (name, position, listed) select $" + std::to_string(parameter) +
         ", coalesce(max(position) + 1, 0), " + (listed ? "true" : "false") + " from quorin.categories " +
         (listed ? "on conflict (name) do update set listed = true" : "on conflict (name) do nothing");
}

// The name a case's remark gets in the shared library, which a pulled library gives its file: the
// case's own through its id.
std::string SharedRemarkName(const TRecordData& record) { return RemarkBaseName(record) + "_" + std::to_string(record.id); }

// The remark of a local case: its file's bytes, or none (a placeholder name, no file).
std::string LocalRemark(MRecordBase& local, const TRecordData& record) {
  const auto path = local.OwnRemarkPath(record);
  if (!path || !base::FileExists(*path)) return {};
  return base::ReadFileBytes(*path).value_or(std::string());
}

}  // namespace

bool SharedLibrary::Fail(const std::string& what) {
  const std::string detail = connection_.Message();
  lastError_ = detail.empty() ? what : what + "（" + detail + "）";
  return false;
}

bool SharedLibrary::FailStatement(const PgResult& failed, const std::string& what) {
  if (failed.State() == "42501") {
    lastError_ = kReadOnlyLibrary;
    return false;
  }
  return Fail(what);
}

bool SharedLibrary::Connect(const std::string& target, const std::string& password) {
  lastError_.clear();
  target_ = target;
  password_ = password;
  return connection_.Open(target, password) || Fail("无法连接共享案例库");
}

bool SharedLibrary::Reconnect() { return Connect(std::string(target_), std::string(password_)); }

bool SharedLibrary::ConnectionLost() {
  // libpq may still call a connection good whose server has gone: a statement tells.
  return !connection_.IsOpen() || PQstatus(connection_.Raw()) != CONNECTION_OK || !connection_.Run("select 1").Ok();
}

std::string SharedLibrary::Description() const { return connection_.Describe(); }

CaseReaderOpener SharedLibrary::ReaderOpener() const {
  return [target = target_, password = password_](std::string& error) -> std::unique_ptr<CaseReader> {
    auto reader = std::make_unique<SharedLibrary>();
    if (reader->Connect(target, password)) return reader;
    error = reader->lastError();
    return nullptr;
  };
}

bool SharedLibrary::Resync() {
  lastError_.clear();
  // The newest case's id, which every role may read (the sequence itself only its writers).
  const PgResult last = connection_.Run("select coalesce(max(id), 0) from quorin.cases");
  if (!last.Ok()) return Fail("无法读取共享案例库");
  counter_ = static_cast<int>(last.Integer(0, 0).value_or(0));
  return true;
}

bool SharedLibrary::SetClassNames(const std::vector<std::string>& names) {
  if (!ReadyToWrite()) return false;
  if (!connection_.Execute("begin")) return Fail("无法保存类别！");
  const auto undo = [this]() {
    Fail("无法保存类别！");
    static_cast<void>(connection_.Execute("rollback"));
    return false;
  };
  // Categories another user listed since this one last read the list stay on it, after the
  // others: the list written is this user's change, not a copy of an older list.
  const PgResult now = connection_.Run("select name from quorin.categories where listed order by position, name for update");
  if (!now.Ok()) return undo();
  std::vector<std::string> list = names;
  for (int r = 0; r < now.Rows(); ++r) {
    const std::string name = now.Text(r, 0);
    const auto in = [&](const std::vector<std::string>& v) { return std::find(v.begin(), v.end(), name) != v.end(); };
    if (!in(list) && !in(lastReadClassNames_)) list.push_back(name);
  }
  // Off the list first, then the new list in its order; a name no case carries and no longer
  // listed goes. Deleting a category still in use is refused by the cases' reference, so a case
  // another user moved into it meanwhile keeps it (unlisted).
  if (!connection_.Execute("update quorin.categories set listed = false, position = position + 1000000")) return undo();
  for (std::size_t i = 0; i < list.size(); ++i) {
    const PgResult put = connection_.Run(
        "insert into quorin.categories (name, position, listed) values ($1, $2, true) "
        "on conflict (name) do update set position = excluded.position, listed = true",
        {list[i], static_cast<int>(i)});
    if (!put.Ok()) return undo();
  }
  if (!connection_.Execute("delete from quorin.categories c where not listed and not exists "
                           "(select 1 from quorin.cases where category = c.name)") ||
      !connection_.Execute("commit")) {
    return undo();
  }
  return true;
}

std::vector<int> SharedLibrary::RemoveCases(const std::vector<int>& ids) {
  lastError_.clear();
  const PgResult removed =
      connection_.Run("delete from quorin.cases where id = any($1::integer[])", {PgValue::IntegerArray(ids)});
  if (removed.Ok()) return {};
  FailStatement(removed, "无法删除案例！");
  return ids;
}

std::optional<std::vector<int>> SharedLibrary::MoveCasesToCategory(const std::vector<int>& ids,
                                                                 const std::string& category) {
  lastError_.clear();
  // The category is made (kept off the list) in the same statement, so a category another user
  // deletes meanwhile either stays for these cases or the move fails whole.
  const PgResult moved = connection_.Run("with category as (" + AddCategorySql(1, false) +
                                             ") update quorin.cases set category = $1, version = version + 1 "
                                             "where id = any($2::integer[]) returning id",
                                         {category, PgValue::IntegerArray(ids)});
  if (!moved.Ok()) {
    FailStatement(moved, "无法移动案例！");
    return std::nullopt;
  }
  std::vector<int> done = moved.IntegerColumn(0);
  std::sort(done.begin(), done.end());
  return done;
}

bool SharedLibrary::IsInitialized() {
  lastError_.clear();
  const PgResult found = connection_.Run("select to_regclass('quorin.cases') is not null");
  if (!found.Ok()) return Fail("无法读取共享案例库");
  return found.Text(0, 0) == "t";
}

bool SharedLibrary::IsLibrary() {
  lastError_.clear();
  if (IsInitialized()) return true;
  if (lastError_.empty()) lastError_ = kNotSharedLibrary;
  return false;
}

bool SharedLibrary::Initialize() {
  upgraded_ = false;
  const bool made = IsInitialized();
  if (!lastError_.empty()) return false;
  if (made) {
    // A library of the first format gets what came since; a current one is left alone.
    const PgResult format = connection_.Run("select value from quorin.library where key = 'format'");
    if (!format.Ok()) return Fail("无法读取共享案例库");
    if (format.Text(0, 0) != "1") {
      lastError_ = "这个数据库已经是共享案例库了";
      return false;
    }
  }
  if (!connection_.Execute("begin")) return Fail("无法建立共享案例库");
  if ((!made && !connection_.Execute(kSchema)) || !connection_.Execute(kSearchIndexes) || !connection_.Execute("commit")) {
    Fail(made ? "无法更新共享案例库" : "无法建立共享案例库");
    static_cast<void>(connection_.Execute("rollback"));
    return false;
  }
  upgraded_ = made;
  return true;
}

bool SharedLibrary::HasPairIndex() {
  if (!hasPairIndex_) {
    const PgResult found = connection_.Run("select to_regprocedure('quorin.bigrams(text)') is not null");
    if (!found.Ok()) return false;  // asked again next time
    hasPairIndex_ = found.Text(0, 0) == "t";
  }
  return *hasPairIndex_;
}

bool SharedLibrary::Grant(const std::string& role, bool readOnly) {
  lastError_.clear();
  const PgResult done = connection_.Run("select quorin.grant_access($1, $2)", {role, readOnly ? "true" : "false"});
  return done.Ok() || Fail("无法授权给 " + role);
}

std::optional<bool> SharedLibrary::CanWrite() {
  lastError_.clear();
  const PgResult may = connection_.Run("select has_table_privilege('quorin.cases', 'insert')");
  if (!may.Ok()) return FailWith<bool>("无法读取共享案例库");
  return may.Text(0, 0) == "t";
}

std::optional<int> SharedLibrary::Insert(TRecordData& record, std::string_view remarkRtf) {
  lastError_.clear();
  if (!connection_.Execute("begin")) return FailWith<int>("无法保存案例！");
  const auto undo = [this](const PgResult& failed) {
    FailStatement(failed, "无法保存案例！");
    static_cast<void>(connection_.Execute("rollback"));
    return std::optional<int>();
  };
  const PgResult next = connection_.Run("select nextval('quorin.case_ids')");
  if (!next.Ok()) return undo(next);
  const int previousId = record.id;
  const std::string previousFile = record.remarkFile;
  record.id = static_cast<int>(next.Integer(0, 0).value_or(0));
  record.remarkFile = remarkRtf.empty() ? "n" : SharedRemarkName(record);
  // A new category is kept with the case, unlisted as in the local library; both in one statement.
  const PgResult inserted =
      connection_.Run("with category as (" + AddCategorySql(2, false) + ") " + InsertRowSql(), RowValues(record, remarkRtf));
  if (!inserted.Ok() || !connection_.Execute("commit")) {
    record.id = previousId;
    record.remarkFile = previousFile;
    return undo(inserted);
  }
  return record.id;
}

std::optional<StoredCase> SharedLibrary::Read(int id) {
  lastError_.clear();
  const PgResult row = connection_.Run("select " + SelectedColumns() + " from quorin.cases where id = $1",
                                       {id}, true);
  if (!row.Ok()) return FailWith<StoredCase>("无法读取案例！");
  if (row.Rows() == 0) return std::nullopt;
  return CaseOfRow(row, 0);
}

std::optional<std::vector<int>> SharedLibrary::CaseIds() {
  lastError_.clear();
  const PgResult rows = connection_.Run("select id from quorin.cases order by id");
  if (!rows.Ok()) return FailWith<std::vector<int>>("无法读取案例！");
  return rows.IntegerColumn(0);
}

std::optional<std::vector<int>> SharedLibrary::CategoryCaseIds(const std::string& category) {
  lastError_.clear();
  const PgResult rows = connection_.Run("select id from quorin.cases where category = $1 order by id", {category});
  if (!rows.Ok()) return FailWith<std::vector<int>>("无法读取案例！");
  return rows.IntegerColumn(0);
}

std::optional<std::vector<int>> SharedLibrary::RenameCategory(const std::string& from, const std::string& to) {
  lastError_.clear();
  if (!connection_.Execute("begin")) return FailWith<std::vector<int>>("无法修改类别！");
  const auto undo = [this](const PgResult& failed) {
    if (failed.State() == "23505") lastError_ = "其他人已经建立了这个类别，没有改名。";
    else FailStatement(failed, "无法修改类别！");
    static_cast<void>(connection_.Execute("rollback"));
    return std::optional<std::vector<int>>();
  };
  // Versions rise first, so that an open copy of a renamed case is not saved back unseen.
  const PgResult touched = connection_.Run("update quorin.cases set version = version + 1 where category = $1", {from});
  if (!touched.Ok()) return undo(touched);
  const PgResult renamed = connection_.Run("update quorin.categories set name = $2 where name = $1", {from, to});
  if (!renamed.Ok()) return undo(renamed);
  std::optional<std::vector<int>> ids = CategoryCaseIds(to);
  if (!ids || !connection_.Execute("commit")) return undo(PgResult());
  return ids;
}

std::optional<std::vector<std::string>> SharedLibrary::ClassNames() {
  lastError_.clear();
  const PgResult rows = connection_.Run("select name from quorin.categories where listed order by position, name");
  if (!rows.Ok()) return FailWith<std::vector<std::string>>("无法读取类别！");
  std::vector<std::string> names;
  for (int r = 0; r < rows.Rows(); ++r) names.push_back(rows.Text(r, 0));
  lastReadClassNames_ = names;
  return names;
}

CaseSave SharedLibrary::Update(int id, const TRecordData& record, std::string_view remarkRtf, int& version) {
  lastError_.clear();
  std::vector<PgValue> values = CaseValues(record);
  values.push_back(PgValue::Bytes(remarkRtf));
  values.emplace_back(id);
  values.emplace_back(version);
  const int n = static_cast<int>(values.size());
  std::string assignments;
  for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
    assignments.append(kColumnNames[i]).append(" = $").append(std::to_string(i + 1)).append(", ");
  }
  assignments += "remark = $" + std::to_string(kColumnNames.size() + 1) + ", ";
  const std::string sql = "with category as (" + AddCategorySql(1, false) + ") update quorin.cases set " + assignments + "version = version + 1 where id = $" +
                          std::to_string(n - 1) + " and version = $" + std::to_string(n) + " returning version";
  const PgResult updated = connection_.Run(sql, values);
  if (updated.Ok() && updated.Rows() == 1) {
    version = static_cast<int>(updated.Integer(0, 0).value_or(version + 1));
    return CaseSave::kSaved;
  }
  return WhyNotSaved(id, updated, "无法修改案例！");
}

CaseSave SharedLibrary::WhyNotSaved(int id, const PgResult& statement, const std::string& what) {
  if (!statement.Ok()) {
    FailStatement(statement, what);
    return CaseSave::kFailed;
  }
  // The statement found no row of the version read: the case is gone, or someone changed it.
  const PgResult there = connection_.Run("select 1 from quorin.cases where id = $1", {id});
  if (!there.Ok()) {
    Fail(what);
    return CaseSave::kFailed;
  }
  if (there.Rows() == 0) return CaseSave::kMissing;
  lastError_ = kChangedByAnother;
  return CaseSave::kChangedByAnother;
}

CaseSave SharedLibrary::Remove(int id, int version) {
  lastError_.clear();
  const PgResult removed = connection_.Run("delete from quorin.cases where id = $1 and version = $2 returning id", {id, version});
  if (removed.Ok() && removed.Rows() == 1) return CaseSave::kSaved;
  return WhyNotSaved(id, removed, "无法删除案例！");
}

bool SharedLibrary::ReadClassNames(std::vector<std::string>& names) {
  const auto read = ClassNames();
  if (read) names = *read;
  return read.has_value();
}

bool SharedLibrary::BeginReading() {
  lastError_.clear();
  return connection_.Execute("begin isolation level repeatable read read only") || Fail("无法读取共享案例库");
}

void SharedLibrary::EndReading() { static_cast<void>(connection_.Execute("commit")); }

bool SharedLibrary::ReadCaseRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) {
  lastError_.clear();
  // In parts, so that a million cases never stand in memory at once.
  constexpr int kPart = 5000;
  for (long long from = firstId; from <= lastId;) {
    const PgResult rows = connection_.Run("select " + SelectedColumns() +
                                              " from quorin.cases where id >= $1 and id <= $2 order by cases.id limit $3",
                                          {from, static_cast<long long>(lastId), kPart}, true);
    if (!rows.Ok()) return Fail("无法读取案例！");
    for (int r = 0; r < rows.Rows(); ++r) {
      StoredCase shared = CaseOfRow(rows, r);
      if (!each(shared.record)) return true;
    }
    if (rows.Rows() < kPart) break;
    from = rows.Integer(rows.Rows() - 1, 0).value_or(lastId) + 1;
  }
  return true;
}

bool SharedLibrary::ReadCaseList(const std::vector<int>& ids, const std::function<bool(TRecordData& record)>& each) {
  lastError_.clear();
  constexpr std::size_t kPart = 5000;
  for (std::size_t from = 0; from < ids.size(); from += kPart) {
    const auto begin = ids.begin() + static_cast<std::ptrdiff_t>(from);
    const std::vector<int> part(begin, begin + static_cast<std::ptrdiff_t>(std::min(kPart, ids.size() - from)));
    const PgResult rows = connection_.Run(
        "select " + SelectedColumns() + " from quorin.cases where id = any($1::integer[]) order by cases.id",
        {PgValue::IntegerArray(part)}, true);
    if (!rows.Ok()) return Fail("无法读取案例！");
    for (int r = 0; r < rows.Rows(); ++r) {
      StoredCase shared = CaseOfRow(rows, r);
      if (!each(shared.record)) return true;
    }
  }
  return true;
}

bool SharedLibrary::ReadCase(int id, TRecordData& record) {
  const std::optional<StoredCase> shared = Read(id);
  if (shared) record = shared->record;
  return shared.has_value();
}

bool SharedLibrary::Listen() {
  lastError_.clear();
  return connection_.Execute("listen quorin_library") || Fail("无法接收共享案例库的变化");
}

bool SharedLibrary::WaitForChange(int milliseconds) {
  lastError_.clear();
  const std::optional<int> changes = connection_.TakeNotifications(milliseconds);
  if (!changes) return Fail("与共享案例库的连接中断了");
  return *changes > 0;
}

bool SharedLibrary::ReadyToWrite() {
  if (!IsLibrary()) return false;
  const std::optional<bool> writable = CanWrite();
  if (writable && !*writable) lastError_ = kReadOnlyLibrary;
  return writable.value_or(false);
}

std::optional<int> SharedLibrary::Push(MRecordBase& local) {
  if (!ReadyToWrite()) return std::nullopt;
  std::vector<std::string> categories;
  if (!local.GetClassNames(categories)) {
    lastError_ = local.lastError();
    return std::nullopt;
  }
  if (!connection_.Execute("begin isolation level serializable")) return FailWith<int>("无法推送案例库");
  const auto undo = [this](const std::string& what) {
    Fail(what);
    static_cast<void>(connection_.Execute("rollback"));
    return std::optional<int>();
  };
  const PgResult existing = connection_.Run("select count(*) from quorin.cases");
  if (!existing.Ok()) return undo("无法推送案例库");
  if (existing.Integer(0, 0).value_or(1) != 0) {
    static_cast<void>(connection_.Execute("rollback"));
    lastError_ = kLibraryNotEmpty;
    return std::nullopt;
  }
  int position = 0;
  std::set<std::string> added;
  const auto addCategory = [&](const std::string& name, bool listed) {
    return !added.insert(name).second ||
           connection_
               .Run("insert into quorin.categories (name, position, listed) values ($1, $2, $3) on conflict (name) do nothing",
                    {name, position++, listed ? "true" : "false"})
               .Ok();
  };
  for (const std::string& name : categories)
    if (!addCategory(name, true)) return undo("无法推送类别");
  int count = 0;
  bool stored = true;
  const bool read = local.ReadRange(1, local.GetPrimaryId(), [&](TRecordData& record) {
    stored = addCategory(record.className, false) &&
             connection_.Run(InsertRowSql(), RowValues(record, LocalRemark(local, record))).Ok();
    count += stored ? 1 : 0;
    return stored;
  });
  if (!read) {
    lastError_ = local.lastError();
    static_cast<void>(connection_.Execute("rollback"));
    return std::nullopt;
  }
  if (!stored) return undo("无法推送案例");
  // New cases are numbered on from the local library's counter, as they would have been there.
  const PgResult counter = connection_.Run("select setval('quorin.case_ids', greatest($1::integer, 1), $1::integer > 0)",
                                           {local.GetPrimaryId()});
  if (!counter.Ok() || !connection_.Execute("commit")) return undo("无法推送案例库");
  return count;
}

std::optional<int> SharedLibrary::Import(MRecordBase& source) {
  if (!ReadyToWrite()) return std::nullopt;
  if (!connection_.Execute("begin")) return FailWith<int>("无法导入案例");
  std::string refusal;
  int count = 0;
  calendar::MYiDateEx date;
  std::set<std::string> listedCategories;
  const bool read = source.ReadRange(1, INT_MAX, [&](TRecordData& record) {
    if (const calendar::Outcome checked = chart::CheckChartRequest(record, date); !checked.ok) {
      refusal = "案例“" + record.name + "”无法导入：" + checked.message;
      return false;
    }
    // The category joins the list, as the local import lists the categories it brings; once each,
    // since every listing rewrites its row.
    const bool listed =
        !listedCategories.insert(record.className).second || connection_.Run(AddCategorySql(1, true), {record.className}).Ok();
    const PgResult next = listed ? connection_.Run("select nextval('quorin.case_ids')") : PgResult();
    if (!next.Ok()) {
      refusal = "无法导入案例";
      return false;
    }
    record.id = static_cast<int>(next.Integer(0, 0).value_or(0));
    record.remarkFile = SharedRemarkName(record);
    if (!connection_.Run(InsertRowSql(), RowValues(record, RemarkRtfFromPlainText(record.remarkText))).Ok()) {
      refusal = "无法导入案例";
      return false;
    }
    ++count;
    return true;
  });
  const auto undo = [this](const std::string& why, bool withServerMessage) {
    if (withServerMessage) Fail(why);
    else lastError_ = why;
    static_cast<void>(connection_.Execute("rollback"));
    return std::optional<int>();
  };
  if (!refusal.empty()) return undo(refusal, refusal == "无法导入案例");
  if (!read) return undo(source.lastError(), false);
  if (count == 0) return undo("导入的数据库中没有案例！", false);
  if (!connection_.Execute("commit")) return undo("无法导入案例", true);
  return count;
}

std::optional<int> SharedLibrary::RebuildRemarks() {
  if (!ReadyToWrite()) return std::nullopt;
  constexpr const char* kCannotRebuild = "无法补写评语！";
  if (!connection_.Execute("begin")) return FailWith<int>(kCannotRebuild);
  const auto undo = [this, kCannotRebuild](const PgResult& failed) {
    FailStatement(failed, kCannotRebuild);
    static_cast<void>(connection_.Execute("rollback"));
    return std::optional<int>();
  };
  // The cases stay locked until the commit: a save meanwhile waits, then finds a newer version
  // and is told, instead of its remark being overwritten by one made from the older text.
  const PgResult missing = connection_.Run("select " + SelectedColumns() +
                                               " from quorin.cases where remark is null or length(remark) = 0 "
                                               "order by cases.id for update",
                                           {}, true);
  if (!missing.Ok()) return undo(missing);
  for (int r = 0; r < missing.Rows(); ++r) {
    TRecordData record = CaseOfRow(missing, r).record;
    // A case saved without a remark has the placeholder; it gets its own name, as Insert gives one.
    if (IsPlaceholderRemarkName(record.remarkFile)) record.remarkFile = SharedRemarkName(record);
    const PgResult updated =
        connection_.Run("update quorin.cases set remark = $1, remark_file = $2, version = version + 1 where id = $3",
                        {PgValue::Bytes(RemarkRtfFromPlainText(record.remarkText)), record.remarkFile, record.id});
    if (!updated.Ok()) return undo(updated);
  }
  if (!connection_.Execute("commit")) return undo(PgResult());
  return missing.Rows();
}

std::optional<int> SharedLibrary::Pull(MRecordBase& local) {
  if (!IsLibrary()) return std::nullopt;
  // One snapshot for the whole copy, whatever other users change meanwhile.
  if (!connection_.Execute("begin isolation level repeatable read read only")) return FailWith<int>("无法拉取案例库");
  const auto names = ClassNames();
  const PgResult rows = connection_.Run("select " + SelectedColumns() + " from quorin.cases order by cases.id",
                                        {}, true);
  static_cast<void>(connection_.Execute("commit"));
  if (!names) return std::nullopt;
  if (!rows.Ok()) return FailWith<int>("无法拉取案例库");
  const auto failLocal = [&]() {
    lastError_ = local.lastError();
    return std::optional<int>();
  };
  if (!local.SetClassNames(*names) || !local.BeginBatch()) return failLocal();
  std::error_code ignored;
  std::filesystem::create_directories(local.RemarkFolder(), ignored);
  for (int r = 0; r < rows.Rows(); ++r) {
    StoredCase shared = CaseOfRow(rows, r);
    if (!local.InsertKeepingIdInBatch(shared.record)) {
      const std::optional<int> failed = failLocal();
      static_cast<void>(local.EndBatch());
      return failed;
    }
    const auto path = RemarkFilePath(local.RemarkFolder(), shared.record.remarkFile);
    if (!shared.remarkRtf.empty() && path && !base::AtomicWriteFile(*path, shared.remarkRtf)) {
      static_cast<void>(local.EndBatch());
      lastError_ = "无法写入评语文件：" + *path;
      return std::nullopt;
    }
  }
  if (!local.EndBatch()) return failLocal();
  return rows.Rows();
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli library: a shared case library for a practice in PostgreSQL — making it, letting
// roles in, and copying a local library into it (push) or out of it (pull).
#include <filesystem>
#include <iostream>

#include "base/files.h"
#include "cases/record_base.h"
#include "cases/remark_files.h"
#include "cases/shared_library.h"
#include "command.h"
#include "library_options.h"

namespace quorin::cli {
namespace {

const std::string kUsage =
    "Usage: quorin-cli library [--library URI] SUBCOMMAND [ARGUMENTS]\n"
    "  init                          make the shared library's schema on an empty database (as the\n"
    "                                administrator, who owns it); on a library of an earlier\n"
    "                                version, add what came since (the searches' indexes)\n"
    "  grant ROLE [--read-only]      let an existing PostgreSQL role use the library (read-only: it may\n"
    "                                chart and search the cases but not change them)\n"
    "  push [--db FILE] [--program-dir DIR]   copy a local library (cases, categories, remark files)\n"
    "                                into the shared library, which must hold no case yet\n"
    "  pull [--db FILE] [--program-dir DIR]   copy the shared library into a new local library in\n"
    "                                today's format (also the practice's backup)\n"
    "The library is --library postgresql://USER@HOST[:PORT]/DATABASE[?sslmode=verify-full], else the\n"
    "QUORIN_LIBRARY environment variable. The password comes from ~/.pgpass or PGPASSWORD, never from\n"
    "the command line.\n";

struct LibraryTarget {
  std::string uri;
  cases::SharedLibrary shared;
};

// The shared library of --library or QUORIN_LIBRARY, connected; false after the refusal.
[[nodiscard]] bool ConnectShared(const Arguments& a, LibraryTarget& target) {
  target.uri = SharedLibraryTarget(a);
  if (target.uri.empty()) throw UsageError("需要 --library postgresql://用户@服务器/数据库（或环境变量 QUORIN_LIBRARY）");
  if (!target.shared.Connect(target.uri)) {
    std::cerr << target.shared.lastError() << "\n";
    return false;
  }
  return true;
}

int Init(const Arguments& a, LibraryTarget& target) {
  if (!a.Positionals().empty()) throw UsageError("init takes no arguments");
  if (!target.shared.Initialize()) return Refuse(target.shared.lastError());
  if (target.shared.Upgraded()) std::cout << "共享案例库已经更新到新的格式（查找用的索引）\n";
  else std::cout << "共享案例库已经建立，管理者：" << target.shared.User() << "\n";
  return 0;
}

int Grant(const Arguments& a, LibraryTarget& target) {
  if (a.Positionals().size() != 1) throw UsageError("grant takes one role");
  const std::string& role = a.Positionals()[0];
  const bool readOnly = a.Has("read-only");
  if (!target.shared.Grant(role, readOnly)) return Refuse(target.shared.lastError());
  std::cout << role << (readOnly ? " 可以查看共享案例库（只读）" : " 可以使用共享案例库") << "\n";
  return 0;
}

int Push(const Arguments& a, LibraryTarget& target) {
  if (!a.Positionals().empty()) throw UsageError("push takes no arguments");
  const std::string path = LocalLibraryPath(a);
  if (!base::FileExists(path)) return Refuse("没有这个数据库文件：" + path);
  cases::MRecordBase local;
  if (!local.OpenReadOnly(path)) return Refuse(local.lastError());
  const std::optional<int> count = target.shared.Push(local);
  if (!count) return Refuse(target.shared.lastError());
  std::cout << "共推送 " << *count << " 个案例到共享案例库！\n";
  return 0;
}

int Pull(const Arguments& a, LibraryTarget& target) {
  if (!a.Positionals().empty()) throw UsageError("pull takes no arguments");
  const std::string path = LocalLibraryPath(a);
  if (base::FileExists(path)) return Refuse("本机已有这个数据库文件，拉取只写入新的案例库：" + path);
  cases::MRecordBase local;
  std::optional<int> count;
  if (!local.Open(path)) return Refuse(local.lastError());
  count = target.shared.Pull(local);
  if (!count) {
    // A copy that stopped half way is no library: nothing of it stays.
    const std::string folder = local.RemarkFolder();
    const std::string message = target.shared.lastError();
    base::RemoveQuietly(path);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return Refuse(message);
  }
  std::cout << "共拉取 " << *count << " 个案例到：" << path << "\n";
  return 0;
}

struct LibrarySubcommand {
  std::string_view name;
  OptionSpec options;
  int (*run)(const Arguments& a, LibraryTarget& target);
};

const LibrarySubcommand kSubcommands[] = {
    {"init", {}, Init},
    {"grant", {.flags = {"read-only"}}, Grant},
    {"push", {.values = {"db", "program-dir"}}, Push},
    {"pull", {.values = {"db", "program-dir"}}, Pull},
};

int Run(const std::vector<std::string>& all) {
  const Arguments a = Arguments::WithSubcommand(all, OptionSpec{.values = {"library"}}, kSubcommands);
  const LibrarySubcommand& subcommand = *std::find_if(std::begin(kSubcommands), std::end(kSubcommands),
                                                      [&](const LibrarySubcommand& s) { return s.name == a.Subcommand(); });
  LibraryTarget target;
  if (!ConnectShared(a, target)) return kExitRefused;
  return subcommand.run(a, target);
}

const RegisterCommand kLibrary{{"library", "a shared case library in PostgreSQL: init, grant, push, pull", kUsage, Run}};

}  // namespace
}  // namespace quorin::cli

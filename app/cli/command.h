// SPDX-License-Identifier: GPL-3.0-or-later
// The subcommands of quorin-cli register themselves here, one file each.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/moment_text.h"

namespace quorin::cli {

// Exit codes: 0 done, 1 the program refused the input (its own message), 2 bad usage.
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Thrown for bad command lines only; main() prints it and exits with kExitUsage.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Prints the program's refusal (its own message) on stderr; the command returns what it gives.
[[nodiscard]] int Refuse(const std::string& message);

struct Command {
  std::string name;
  std::string synopsis;  // one line for --help
  std::string usage;     // the full usage text of the command
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& Commands();

struct RegisterCommand {
  explicit RegisterCommand(Command command) { Commands().push_back(std::move(command)); }
};

// The options a command, or one of its subcommands, takes.
struct OptionSpec {
  std::set<std::string> values{};      // "--name VALUE" or "--name=VALUE"
  std::set<std::string> flags{};       // "--name"
  std::set<std::string> repeatable{};  // value options that may be given more than once
};

// Splits arguments into positionals and "--name value" / "--flag" options, in any order; "-5" is
// a positional (a year BC). Options not declared, a missing value or a repeated single option are
// usage errors.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, const OptionSpec& spec);

  // For a command with subcommands, from a table whose rows have `name` and `options`: the first
  // positional is the subcommand, found knowing every subcommand's options (so that an option's
  // value is never taken for it), and the options are those common to all and the subcommand's own,
  // before or after it alike.
  template <typename Table>
  static Arguments WithSubcommand(const std::vector<std::string>& args, const OptionSpec& common, const Table& table) {
    std::vector<std::pair<std::string_view, const OptionSpec*>> subcommands;
    for (const auto& row : table) subcommands.emplace_back(row.name, &row.options);
    return Arguments(args, common, subcommands);
  }

  // The subcommand's name, for arguments read WithSubcommand.
  [[nodiscard]] const std::string& Subcommand() const { return subcommand_; }
  [[nodiscard]] const std::vector<std::string>& Positionals() const { return positionals_; }
  [[nodiscard]] bool Has(const std::string& option) const { return values_.count(option) > 0; }
  [[nodiscard]] std::optional<std::string> Value(const std::string& option) const;
  [[nodiscard]] std::vector<std::string> Values(const std::string& option) const;
  // The option's value as an integer; a usage error names the option when it is not one.
  [[nodiscard]] std::optional<int> Integer(const std::string& option) const;
  [[nodiscard]] std::optional<double> Number(const std::string& option) const;

 private:
  Arguments(const std::vector<std::string>& args, const OptionSpec& common,
            const std::vector<std::pair<std::string_view, const OptionSpec*>>& subcommands);
  void Read(const std::vector<std::string>& args, const OptionSpec& spec);

  std::string subcommand_;
  std::vector<std::string> positionals_;
  std::map<std::string, std::vector<std::string>> values_;
};

[[nodiscard]] int ParseInteger(const std::string& text, const std::string& what);
[[nodiscard]] double ParseNumber(const std::string& text, const std::string& what);

// A date ("YYYY-MM-DD") or a moment ("YYYY-MM-DD HH:MM", the time may be left out) as every command
// reads them (calendar/moment_text.h); a usage error that starts with `what` (the option, or
// nothing) otherwise.
[[nodiscard]] calendar::TypedMoment DateArgument(const std::string& text, const std::string& what);
[[nodiscard]] calendar::TypedMoment MomentArgument(const std::string& text, const std::string& what);

}  // namespace quorin::cli

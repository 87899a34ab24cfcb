// SPDX-License-Identifier: GPL-3.0-or-later
// The subcommands of quorin-cli register themselves here, one file each.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorin::cli {

// Exit codes: 0 done, 1 the program refused the input (its own message), 2 bad usage.
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Thrown for bad command lines only; main() prints it and exits with kExitUsage.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

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

// Splits arguments into positionals and "--name value" / "--flag" options.
// Options not declared, a missing value or a repeated single option are usage errors.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, std::set<std::string> valueOptions,
            std::set<std::string> flagOptions, std::set<std::string> repeatableOptions = {});

  const std::vector<std::string>& Positionals() const { return positionals_; }
  bool Has(const std::string& option) const { return values_.count(option) > 0; }
  std::optional<std::string> Value(const std::string& option) const;
  std::vector<std::string> Values(const std::string& option) const;
  // The option's value as an integer; a usage error names the option when it is not one.
  std::optional<int> Integer(const std::string& option) const;
  std::optional<double> Number(const std::string& option) const;

 private:
  std::vector<std::string> positionals_;
  std::map<std::string, std::vector<std::string>> values_;
};

int ParseInteger(const std::string& text, const std::string& what);
double ParseNumber(const std::string& text, const std::string& what);

}  // namespace quorin::cli

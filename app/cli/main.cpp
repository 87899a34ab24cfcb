// SPDX-License-Identifier: GPL-3.0-or-later
// quorin-cli: charts, calendar, search and cases from a shell.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "base/data_location.h"
#include "base/locale_text.h"
#include "base/script_text.h"
#include "command.h"
#include "script_output.h"

namespace {

void PrintHelp(std::ostream& out) {
  auto commands = quorin::cli::Commands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  // The "or:" lines are the GNU form, which help2man turns into the manual page's synopsis.
  out << "Usage: quorin-cli COMMAND [ARGUMENTS]\n"
         "  or:  quorin-cli help COMMAND\n"
         "  or:  quorin-cli --help | --version\n\n"
         "Commands:\n";
  for (const auto& c : commands) {
    out << "  " << c.name << std::string(c.name.size() < 12 ? 12 - c.name.size() : 1, ' ') << c.synopsis << "\n";
  }
  out << "\nEvery command also takes --script zh-Hans|zh-Hant-TW|zh-Hant-HK, before or after its name:\n"
         "the script of everything printed and written (simplified Chinese, traditional Chinese of\n"
         "Taiwan or of Hong Kong). Without it, the script chosen in the program's settings (set.ini).\n"
         "\nOutput is UTF-8. Years are written as users see them: 1 BC is -1, no year 0.\n";
}

const quorin::cli::Command* Find(const std::string& name) {
  for (const auto& c : quorin::cli::Commands()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorin::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  // Arguments come in the locale's encoding; inside, text is UTF-8, and what is not text is refused.
  if (std::string refusal; !quorin::base::ArgumentsToUtf8(args, quorin::base::LocaleEncoding(), refusal)) {
    std::cerr << "quorin-cli: " << refusal << "\n";
    return kExitUsage;
  }
  std::optional<quorin::base::Script> script;
  try {
    script = TakeScriptOption(args);
  } catch (const UsageError& e) {
    std::cerr << "quorin-cli: " << e.what() << "\n";
    return kExitUsage;
  }
  // Help and usage texts follow an explicit --script too; the settings are read further down.
  std::optional<ScriptedOutput> scriptedOutput;
  if (script) {
    quorin::base::SetShownScript(*script);
    scriptedOutput.emplace();
  }
  if (args.empty()) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  // --version is the GNU spelling of the version command.
  const std::string name = args.front() == "--version" ? "version" : args.front();
  if (name == "--help" || name == "-h") {
    PrintHelp(std::cout);
    return 0;
  }
  if (name == "help") {
    const Command* c = args.size() > 1 ? Find(args[1]) : nullptr;
    if (!c) {
      PrintHelp(args.size() > 1 ? std::cerr : std::cout);
      return args.size() > 1 ? kExitUsage : 0;
    }
    std::cout << c->usage;
    return 0;
  }
  const Command* command = Find(name);
  if (!command) {
    std::cerr << "quorin-cli: unknown command '" << name << "'; see quorin-cli --help\n";
    return kExitUsage;
  }
  args.erase(args.begin());
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::cout << command->usage;
    return 0;
  }
  // Commands read and write the user's data: beside the tool when it is portable, else in the
  // user's data folder. Help and version touch nothing, so a build or a fresh home can run them.
  if (name != "version") {
    std::string problem;
    quorin::base::UseDataLocation(&problem);
    if (!problem.empty()) std::cerr << "quorin-cli: " << problem << "\n";
    // Without --script, the script chosen in the program's settings.
    if (!script) {
      quorin::base::SetShownScript(quorin::base::ReadScriptSetting(quorin::base::ReadableDataFile("set.ini")));
      scriptedOutput.emplace();
    }
  }
  try {
    return command->run(args);
  } catch (const UsageError& e) {
    std::cerr << "quorin-cli " << name << ": " << e.what() << "\n" << command->usage;
    return kExitUsage;
  }
}

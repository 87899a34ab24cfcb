// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "command.h"

namespace quorin::cli {
namespace {

const RegisterCommand kVersion{{
    "version",
    "print the program's name and version",
    "Usage: quorin-cli version\n",
    [](const std::vector<std::string>& args) {
      const Arguments a(args, {});
      if (!a.Positionals().empty()) throw UsageError("version takes no arguments");
      std::cout << "Quorin " QUORIN_VERSION "\n";
      return 0;
    },
}};

}  // namespace
}  // namespace quorin::cli

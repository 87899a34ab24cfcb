// SPDX-License-Identifier: GPL-3.0-or-later
// --script: which script quorin-cli prints in, and the one place its output is converted.
#pragma once

#include <memory>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

#include "base/script_text.h"

namespace quorin::cli {

// Takes "--script NAME" / "--script=NAME" out of the arguments, wherever it stands. Returns
// the script named, nothing when the option is absent; throws UsageError for an unknown name.
std::optional<base::Script> TakeScriptOption(std::vector<std::string>& args);

// While it lives, everything written to std::cout and std::cerr reaches the terminal in the
// shown script, converted a line at a time with the converter built once; simplified Chinese
// installs nothing, so its output is the program's own bytes.
class ScriptedOutput {
 public:
  ScriptedOutput();
  ~ScriptedOutput();
  ScriptedOutput(const ScriptedOutput&) = delete;
  ScriptedOutput& operator=(const ScriptedOutput&) = delete;

 private:
  class ConvertingBuffer;
  std::unique_ptr<ConvertingBuffer> out_, err_;
  std::streambuf* originalOut_ = nullptr;
  std::streambuf* originalErr_ = nullptr;
};

}  // namespace quorin::cli

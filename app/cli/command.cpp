// SPDX-License-Identifier: GPL-3.0-or-later
#include "command.h"

#include "base/text_parse.h"

namespace quorin::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

Arguments::Arguments(const std::vector<std::string>& args, std::set<std::string> valueOptions,
                     std::set<std::string> flagOptions, std::set<std::string> repeatableOptions) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "-5" is a number (a year BC), not an option.
    const bool looksLikeOption = arg.size() > 2 && arg.starts_with("--");
    if (!looksLikeOption) {
      positionals_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (valueOptions.count(name)) {
      if (!inlineValue && i + 1 >= args.size()) throw UsageError("选项 --" + name + " 缺少取值");
      std::string value = inlineValue ? *inlineValue : args[++i];
      if (values_.count(name) && !repeatableOptions.count(name)) throw UsageError("选项 --" + name + " 重复");
      values_[name].push_back(std::move(value));
    } else if (flagOptions.count(name) && !inlineValue) {
      values_[name].push_back("");
    } else {
      throw UsageError("未知选项：" + arg);
    }
  }
}

std::optional<std::string> Arguments::Value(const std::string& option) const {
  const auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second.back();
}

std::vector<std::string> Arguments::Values(const std::string& option) const {
  const auto it = values_.find(option);
  return it == values_.end() ? std::vector<std::string>{} : it->second;
}

std::optional<int> Arguments::Integer(const std::string& option) const {
  const auto text = Value(option);
  if (!text) return std::nullopt;
  return ParseInteger(*text, "--" + option);
}

std::optional<double> Arguments::Number(const std::string& option) const {
  const auto text = Value(option);
  if (!text) return std::nullopt;
  return ParseNumber(*text, "--" + option);
}

int ParseInteger(const std::string& text, const std::string& what) {
  const auto value = base::ParseInt(text);
  if (!value) throw UsageError(what + " 应为整数：" + text);
  return *value;
}

double ParseNumber(const std::string& text, const std::string& what) {
  const auto value = base::ParseNumber(text);
  if (!value) throw UsageError(what + " 应为数字：" + text);
  return *value;
}

}  // namespace quorin::cli

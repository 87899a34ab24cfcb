// SPDX-License-Identifier: GPL-3.0-or-later
#include "command.h"

#include <iostream>

#include "base/text_parse.h"

namespace quorin::cli {
namespace {

// "-5" is a number (a year BC), not an option.
bool LooksLikeOption(const std::string& arg) { return arg.size() > 2 && arg.starts_with("--"); }

// Where the subcommand stands: the first positional, skipping the value of any option that takes one.
std::optional<std::size_t> SubcommandPosition(const std::vector<std::string>& args,
                                              const std::set<std::string>& valueOptions) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!LooksLikeOption(args[i])) return i;
    const std::string name = args[i].substr(2);
    if (name.find('=') == std::string::npos && valueOptions.count(name)) ++i;
  }
  return std::nullopt;
}

}  // namespace

int Refuse(const std::string& message) {
  std::cerr << message << "\n";
  return kExitRefused;
}

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

Arguments::Arguments(const std::vector<std::string>& args, const OptionSpec& spec) { Read(args, spec); }

Arguments::Arguments(const std::vector<std::string>& args, const OptionSpec& common,
                     const std::vector<std::pair<std::string_view, const OptionSpec*>>& subcommands) {
  std::set<std::string> anyValue = common.values;
  for (const auto& [name, options] : subcommands) anyValue.insert(options->values.begin(), options->values.end());
  const std::optional<std::size_t> at = SubcommandPosition(args, anyValue);
  if (!at) {
    Read(args, common);  // an option wrong for every subcommand is named first
    throw UsageError("missing subcommand");
  }
  subcommand_ = args[*at];
  const OptionSpec* own = nullptr;
  for (const auto& [name, options] : subcommands) {
    if (name == subcommand_) own = options;
  }
  if (!own) throw UsageError("unknown subcommand '" + subcommand_ + "'");
  OptionSpec spec = common;
  spec.values.insert(own->values.begin(), own->values.end());
  spec.flags.insert(own->flags.begin(), own->flags.end());
  spec.repeatable.insert(own->repeatable.begin(), own->repeatable.end());
  std::vector<std::string> rest = args;
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(*at));
  Read(rest, spec);
}

void Arguments::Read(const std::vector<std::string>& args, const OptionSpec& spec) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!LooksLikeOption(arg)) {
      positionals_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (spec.values.count(name)) {
      if (!inlineValue && i + 1 >= args.size()) throw UsageError("选项 --" + name + " 缺少取值");
      std::string value = inlineValue ? *inlineValue : args[++i];
      if (values_.count(name) && !spec.repeatable.count(name)) throw UsageError("选项 --" + name + " 重复");
      values_[name].push_back(std::move(value));
    } else if (spec.flags.count(name) && !inlineValue) {
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

calendar::TypedMoment DateArgument(const std::string& text, const std::string& what) {
  const auto date = calendar::ParseDateText(text);
  if (!date) throw UsageError(what + "日期应为 YYYY-MM-DD：" + text);
  return *date;
}

calendar::TypedMoment MomentArgument(const std::string& text, const std::string& what) {
  const auto moment = calendar::ParseMomentText(text);
  if (!moment) throw UsageError(what + "时间应为 YYYY-MM-DD HH:MM：" + text);
  return *moment;
}

}  // namespace quorin::cli

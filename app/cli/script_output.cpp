// SPDX-License-Identifier: GPL-3.0-or-later
#include "script_output.h"

#include <algorithm>
#include <iostream>

#include "command.h"

namespace quorin::cli {

namespace {

constexpr std::string_view kScriptOption = "--script";

}  // namespace

std::optional<base::Script> TakeScriptOption(std::vector<std::string>& args) {
  std::optional<base::Script> script;
  for (std::size_t i = 0; i < args.size();) {
    std::string value;
    std::size_t taken = 0;
    if (args[i] == kScriptOption) {
      if (i + 1 >= args.size()) throw UsageError("--script 后面缺少文字的名称（zh-Hans、zh-Hant-TW 或 zh-Hant-HK）");
      value = args[i + 1];
      taken = 2;
    } else if (args[i].rfind(std::string(kScriptOption) + "=", 0) == 0) {
      value = args[i].substr(kScriptOption.size() + 1);
      taken = 1;
    } else {
      ++i;
      continue;
    }
    if (script) throw UsageError("--script 只能给一次");
    script = base::ScriptFromName(value);
    if (!script) throw UsageError("没有这种文字：" + value + "（可用 zh-Hans、zh-Hant-TW、zh-Hant-HK）");
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + taken));
  }
  return script;
}

// Collects what is written and passes it on converted, whole lines at a time (a word is never
// cut at a buffer's edge); what is left is passed on when the stream is flushed.
class ScriptedOutput::ConvertingBuffer : public std::streambuf {
 public:
  ConvertingBuffer(std::streambuf* target, const base::ScriptConverter& converter)
      : target_(target), converter_(converter) {}
  ~ConvertingBuffer() override { PassOn(pending_.size()); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    // Long outputs (a century's search) go on in pieces of whole lines.
    if (pending_.size() >= kPieceBytes) {
      const std::size_t lastLine = pending_.rfind('\n');
      if (lastLine != std::string::npos) PassOn(lastLine + 1);
    }
    return n;
  }
  int sync() override {
    PassOn(pending_.size());
    return target_->pubsync();
  }

 private:
  static constexpr std::size_t kPieceBytes = 64 * 1024;

  void PassOn(std::size_t bytes) {
    if (bytes == 0) return;
    const std::string converted = converter_.Convert(std::string_view(pending_).substr(0, bytes));
    target_->sputn(converted.data(), static_cast<std::streamsize>(converted.size()));
    pending_.erase(0, bytes);
  }

  std::streambuf* target_;
  const base::ScriptConverter& converter_;
  std::string pending_;
};

ScriptedOutput::ScriptedOutput() {
  const base::ScriptConverter* converter = base::ShownScriptConverter();
  if (!converter) return;
  if (!converter->problem().empty()) {
    std::cerr << "quorin-cli: " << converter->problem() << "\n";
    return;
  }
  out_ = std::make_unique<ConvertingBuffer>(std::cout.rdbuf(), *converter);
  err_ = std::make_unique<ConvertingBuffer>(std::cerr.rdbuf(), *converter);
  originalOut_ = std::cout.rdbuf(out_.get());
  originalErr_ = std::cerr.rdbuf(err_.get());
}

ScriptedOutput::~ScriptedOutput() {
  if (!out_) return;
  std::cout.flush();
  std::cerr.flush();
  std::cout.rdbuf(originalOut_);
  std::cerr.rdbuf(originalErr_);
}

}  // namespace quorin::cli

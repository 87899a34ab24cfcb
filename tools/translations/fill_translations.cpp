// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the translations of a Qt .ts file that lupdate wrote with the traditional form of each
// simplified source text (OpenCC and the field's dictionary, as the program converts). A
// translation that is already there — a person's correction in Qt Linguist — is kept.
//   fill_translations --script zh-Hant-TW|zh-Hant-HK FILE.ts
//   fill_translations --script zh-Hant-TW|zh-Hant-HK --lines|--lines-regional
//     (stdin to stdout, line by line, as the engine's texts or as the windows' texts)
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "base/script_text.h"

namespace {

using quorin::base::ScriptConverter;

constexpr std::string_view kByteOpen = "<byte value=\"x", kByteClose = "\"/>";

std::string Unescape(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities)
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size();
        replaced = true;
        break;
      }
    // lupdate writes control characters (the \r of \r\n) as <byte value="xd"/>.
    if (!replaced && text.substr(i, kByteOpen.size()) == kByteOpen) {
      const std::size_t end = text.find(kByteClose, i);
      if (end != std::string_view::npos) {
        const std::string hex(text.substr(i + kByteOpen.size(), end - i - kByteOpen.size()));
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        i = end + kByteClose.size();
        replaced = true;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      case '\r': out += kByteOpen; out += "d"; out += kByteClose; break;
      default: out += c;
    }
  }
  return out;
}

// Each message's <source> is followed by its <translation> (a <comment> may stand between);
// texts may span lines.
int FillTsFile(const ScriptConverter& converter, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << path << "\n";
    return 1;
  }
  const std::string ts{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  in.close();
  const std::string sourceOpen = "<source>", sourceClose = "</source>";
  const std::string unfinished = "<translation type=\"unfinished\"></translation>";
  std::string out;
  int filled = 0;
  std::size_t pos = 0;
  while (true) {
    const std::size_t open = ts.find(sourceOpen, pos);
    const std::size_t close = open == std::string::npos ? open : ts.find(sourceClose, open);
    const std::size_t translation = close == std::string::npos ? close : ts.find("<translation", close);
    if (translation == std::string::npos) break;
    out.append(ts, pos, translation - pos);
    pos = translation;
    if (ts.compare(translation, unfinished.size(), unfinished) == 0) {
      const std::string source = Unescape(std::string_view(ts).substr(open + sourceOpen.size(), close - open - sourceOpen.size()));
      out += "<translation>" + Escape(converter.ConvertWithRegionalWords(source)) + "</translation>";
      pos += unfinished.size();
      ++filled;
    }
  }
  out.append(ts, pos);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
  std::cerr << path << ": " << filled << " translations filled\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) != "--script") {
    std::cerr << "usage: fill_translations --script zh-Hant-TW|zh-Hant-HK (FILE.ts | --lines | --lines-regional)\n";
    return 2;
  }
  const auto script = quorin::base::ScriptFromName(argv[2]);
  if (!script || *script == quorin::base::Script::kSimplified) {
    std::cerr << "fill_translations: a traditional script is needed\n";
    return 2;
  }
  const ScriptConverter converter(*script);
  if (!converter.problem().empty()) {
    std::cerr << converter.problem() << "\n";
    return 1;
  }
  if (const std::string mode = argv[3]; mode == "--lines" || mode == "--lines-regional") {
    const bool regionalWords = mode == "--lines-regional";
    std::string line;
    while (std::getline(std::cin, line)) std::cout << (regionalWords ? converter.ConvertWithRegionalWords(line) : converter.Convert(line)) << "\n";
    return 0;
  }
  return FillTsFile(converter, argv[3]);
}

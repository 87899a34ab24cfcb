// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the translations of a Qt .ts file that lupdate wrote with the traditional form of each
// simplified source text (OpenCC and the field's dictionary, as the program converts). A
// translation that is already there — a person's correction in Qt Linguist — is kept.
//   fill_translations --script zh-Hant-TW|zh-Hant-HK FILE.ts
//   fill_translations --script zh-Hant-TW|zh-Hant-HK --lines|--lines-regional
//     (stdin to stdout, line by line, as the engine's texts or as the windows' texts)
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "base/script_text.h"

namespace {

using quorin::base::ScriptConverter;

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
      default: out += c;
    }
  }
  return out;
}

// lupdate writes one <source> line and one <translation> line per message.
int FillTsFile(const ScriptConverter& converter, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << path << "\n";
    return 1;
  }
  std::ostringstream out;
  std::string line;
  std::string source;
  int filled = 0;
  const std::string sourceOpen = "<source>", sourceClose = "</source>";
  const std::string unfinished = "<translation type=\"unfinished\"></translation>";
  while (std::getline(in, line)) {
    if (const auto open = line.find(sourceOpen), close = line.rfind(sourceClose);
        open != std::string::npos && close != std::string::npos) {
      source = Unescape(std::string_view(line).substr(open + sourceOpen.size(), close - open - sourceOpen.size()));
    } else if (const auto at = line.find(unfinished); at != std::string::npos) {
      line = line.substr(0, at) + "<translation>" + Escape(converter.ConvertWithRegionalWords(source)) + "</translation>";
      ++filled;
    }
    out << line << "\n";
  }
  in.close();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << out.str();
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

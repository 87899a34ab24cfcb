// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/rich_text.h"

namespace quorin::base {

std::string RichDocument::PlainText(std::string_view lineBreak) const {
  std::string out;
  for (std::size_t p = 0; p < paragraphs.size(); ++p) {
    if (p > 0) out += lineBreak;
    for (const RichRun& run : paragraphs[p].runs) {
      std::string_view text = run.text;
      for (std::size_t at; (at = text.find(kLineSeparator)) != std::string_view::npos;) {
        out += text.substr(0, at);
        out += lineBreak;
        text.remove_prefix(at + kLineSeparator.size());
      }
      out += text;
    }
  }
  return out;
}

RichDocument RichDocument::FromPlainText(std::string_view text, const RichCharFormat& format) {
  RichDocument doc;
  auto addLine = [&](std::string_view line) {
    RichParagraph paragraph;
    if (!line.empty()) paragraph.runs.push_back({std::string(line), format});
    doc.paragraphs.push_back(std::move(paragraph));
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    addLine(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  addLine(text.substr(start));
  return doc;
}

void RichDocument::Normalize() {
  for (RichParagraph& paragraph : paragraphs) {
    std::vector<RichRun> merged;
    for (RichRun& run : paragraph.runs) {
      if (run.text.empty()) continue;
      if (!merged.empty() && merged.back().format == run.format) {
        merged.back().text += run.text;
      } else {
        merged.push_back(std::move(run));
      }
    }
    paragraph.runs = std::move(merged);
  }
}

}  // namespace quorin::base

// SPDX-License-Identifier: GPL-3.0-or-later
#include "iching/zhou_yi_page.h"

#include <string_view>
#include <utility>

#include "base/gbk.h"
#include "base/text_parse.h"
#include "base/utf8.h"
#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"
#include "iching/zhou_yi_texts.h"

namespace quorin::iching {

namespace {

constexpr int kNamesText = 700;
constexpr int kNameFieldBytes = 8;
constexpr int kFirstJudgement = 100;
constexpr int kTextsPerPalace = 56;
constexpr int kTextsPerHexagram = 7;
constexpr int kUseNine = 51;  // 用九 of 乾为天
constexpr int kUseSix = 52;   // 用六 of 坤为地
constexpr int kKunPalace = kTrigramCount - 1;

const char* const kMiddleLineNames[] = {"二", "三", "四", "五"};

// The text before and after the first `separator` (all of it before when there is none).
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return {text, {}};
  return {text.substr(0, at), text.substr(at + 1)};
}

// 初九, 九二 … 上六: the line's place from the bottom and whether it is yang ("九") or yin ("六").
std::string LineName(int line, bool yang) {
  const std::string kind = yang ? "九" : "六";
  if (line == 1) return "初" + kind;
  if (line == kLinesPerHexagram) return "上" + kind;
  return kind + kMiddleLineNames[line - 2];
}

}  // namespace

std::vector<std::string> PalaceHexagramNames(int palace) {
  // The names are 8-byte GBK fields, as the table has always held them.
  const std::string fields = base::Utf8ToGbkLossy(ZhouYiText(kNamesText));
  std::vector<std::string> names;
  for (int member = 0; member < kTrigramCount; ++member) {
    const std::size_t at = static_cast<std::size_t>((palace * kTrigramCount + member) * kNameFieldBytes);
    if (at >= fields.size()) break;
    names.push_back(std::string(base::Trim(base::GbkToUtf8(fields.substr(at, kNameFieldBytes)))));
  }
  return names;
}

std::string HexagramLinesOfName(const std::string& name, bool pureHexagram) {
  static const MLiuYaoGua trigrams;
  const int count = base::CharacterCount(name);
  const std::string upper = base::Utf8Substring(name, pureHexagram ? count - 1 : 0, 1);
  const std::string lower = base::Utf8Substring(name, pureHexagram ? count - 1 : 1, 1);
  const int up = TrigramOfImage(upper);
  const int down = TrigramOfImage(lower);
  if (up < 0 || down < 0) return {};
  return trigrams.TrigramCode(up) + trigrams.TrigramCode(down);
}

std::string HexagramMemoText(int palace, int member, const std::string& name, const std::string& lines) {
  const int base = kFirstJudgement + kTextsPerPalace * palace + kTextsPerHexagram * member;
  const auto [judgement, commentaries] = SplitAt(ZhouYiText(base), 't');
  const auto [tuan, image] = SplitAt(commentaries, 'x');
  std::string text =
      "\n※" + name + ":" + std::string(judgement) + "\n  " + std::string(tuan) + "\n  " + std::string(image) + "\n\n";
  for (int line = 1; line <= kLinesPerHexagram; ++line) {
    // `lines` runs from the top, the texts from the bottom.
    const bool yang = static_cast<int>(lines.size()) == kLinesPerHexagram &&
                      lines[static_cast<std::size_t>(kLinesPerHexagram - line)] == kYangLine;
    const auto [lineText, lineImage] = SplitAt(ZhouYiText(base + line), 'x');
    text += "★" + LineName(line, yang) + ":" + std::string(lineText) + "\n  " + std::string(lineImage) + "\n\n";
  }
  const int use = palace == 0 && member == 0 ? kUseNine : palace == kKunPalace && member == 0 ? kUseSix : 0;
  if (use != 0) {
    const auto [useText, useImage] = SplitAt(ZhouYiText(use), 'x');
    text += "★" + std::string(useText) + "\n  " + std::string(useImage);
  }
  return text;
}

}  // namespace quorin::iching

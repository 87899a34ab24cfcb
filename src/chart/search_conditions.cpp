// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/search.h"

namespace quorin::chart {

const char* const kReadyPatterns[kReadyPatternCount] = {"【现成吉格】", "一卦纯清", "四大格局", "合生成格",
                                                        "卦不出位",     "挨星合十", "一家骨肉"};

bool ApplyReadyPattern(SearchRequest& request, int item) {
  if (item < 1 || item >= kReadyPatternCount) return false;
  SearchRequest kept;
  kept.masterYear = request.masterYear;
  kept.year = request.year;
  kept.mountain = request.mountain;
  kept.mountainGua = request.mountainGua;
  CopyDragonWaterFacing(request, kept);
  switch (item) {
    case 1: kept.qi[kQiSame] = true; break;
    case 2: kept.qi[kQiTen] = true; break;
    case 3: kept.qi[kQiGeneration] = true; break;
    case 4: kept.yun[kYunSame] = true; break;
    case 5: kept.yun[kYunTen] = true; break;
    default: kept.yun[kYunThrough] = true; break;
  }
  kept.UpdateConditionCounts();
  request = kept;
  return true;
}

int ReadyPatternItem(std::string_view name) {
  for (int item = 0; item < kReadyPatternCount; ++item) {
    if (name == kReadyPatterns[item]) return item;
  }
  return -1;
}

SearchRequest ClearedSearchRequest(int year) {
  SearchRequest request;
  request.year = year;
  request.masterYear = year - 29;
  return request;
}

DigitGroup DigitGroupFromText(std::string_view utf8, bool adjacent) {
  DigitGroup group;
  group.adjacent = adjacent;
  // Bytes of multi-byte characters are never ASCII digits, so they are skipped too.
  for (const char c : utf8) {
    if (group.count == DigitGroup::kMaxDigits) break;
    if (c >= '1' && c <= '9') group.digits[group.count++] = static_cast<std::uint8_t>(c - '0');
  }
  return group;
}

std::string DigitGroupText(const DigitGroup& group) {
  std::string text;
  for (int i = 0; i < group.count && i < DigitGroup::kMaxDigits; ++i) {
    if (!text.empty()) text += ' ';
    text += static_cast<char>('0' + group.digits[static_cast<std::size_t>(i)]);
  }
  return text;
}

}  // namespace quorin::chart

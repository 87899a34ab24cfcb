// SPDX-License-Identifier: GPL-3.0-or-later
#include "iching/hexagrams.h"

#include <array>

namespace quorin::iching {
namespace {

constexpr std::array<std::string_view, kHexagramCount> kNames{
    "乾为天", "天风姤", "天山遁", "天地否", "风地观", "山地剥", "火地晋", "火天大有",
    "兑为泽", "泽水困", "泽地萃", "泽山咸", "水山蹇", "地山谦", "雷山小过", "雷泽归妹",
    "离为火", "火山旅", "火风鼎", "火水未济", "山水蒙", "风水涣", "天水讼", "天火同人",
    "震为雷", "雷地豫", "雷水解", "雷风恒", "地风升", "水风井", "泽风大过", "泽雷随",
    "巽为风", "风天小畜", "风火家人", "风雷益", "天雷无妄", "火雷噬嗑", "山雷颐", "山风蛊",
    "坎为水", "水泽节", "水雷屯", "水火既济", "泽火革", "雷火丰", "地火明夷", "地水师",
    "艮为山", "山火贲", "山天大畜", "山泽损", "火泽睽", "天泽履", "风泽中孚", "风山渐",
    "坤为地", "地雷复", "地泽临", "地天泰", "雷天大壮", "泽天夬", "水天需", "水地比"};

constexpr std::array<std::string_view, kHexagramCount> kShortNames{
    "乾", "姤", "遁", "否", "观", "剥", "晋", "大有", "兑", "困", "萃", "咸", "蹇", "谦", "小过", "归妹",
    "离", "旅", "鼎", "未济", "蒙", "涣", "讼", "同人", "震", "豫", "解", "恒", "升", "井", "大过", "随",
    "巽", "小畜", "家人", "益", "无妄", "噬嗑", "颐", "蛊", "坎", "节", "屯", "既济", "革", "丰", "明夷", "师",
    "艮", "贲", "大畜", "损", "睽", "履", "中孚", "渐", "坤", "复", "临", "泰", "大壮", "夬", "需", "比"};

constexpr std::array<std::string_view, kTrigramCount> kTrigramNames{"乾", "兑", "离", "震", "巽", "坎", "艮", "坤"};
constexpr std::array<std::string_view, kTrigramCount> kTrigramImages{"天", "泽", "火", "雷", "风", "水", "山", "地"};

}  // namespace

std::string_view HexagramName(int gua) { return kNames.at(static_cast<std::size_t>(gua)); }
std::string_view HexagramShortName(int gua) { return kShortNames.at(static_cast<std::size_t>(gua)); }
std::string_view TrigramName(int trigram) { return kTrigramNames.at(static_cast<std::size_t>(trigram)); }
std::string_view TrigramImage(int trigram) { return kTrigramImages.at(static_cast<std::size_t>(trigram)); }

int TrigramOfImage(std::string_view image) {
  for (int j = 0; j < kTrigramCount; ++j) {
    if (kTrigramImages[static_cast<std::size_t>(j)] == image) return j;
  }
  return -1;
}

}  // namespace quorin::iching

// SPDX-License-Identifier: GPL-3.0-or-later
// The sexagenary cycle: stems, branches, the sixty pillars and the rules that name a year, month and
// hour. Numbers follow the program's tables, not the textbook 甲 = 0: a stem is 1 = 甲 … 9 = 壬,
// 0 = 癸; a branch 1 = 子 … 11 = 戌, 0 = 亥; a pillar 1 = 甲子 … 59 = 壬戌, 0 = 癸亥, so a pillar's
// stem and branch are its number mod 10 and mod 12.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::calendar {

inline constexpr int kStemCount = 10;
inline constexpr int kBranchCount = 12;
inline constexpr int kJiaziCount = 60;

// 癸 甲 乙 … 壬, indexed by stem number.
inline constexpr std::array<std::string_view, kStemCount> kStemNames{"癸", "甲", "乙", "丙", "丁",
                                                                     "戊", "己", "庚", "辛", "壬"};
// 亥 子 丑 … 戌, indexed by branch number.
inline constexpr std::array<std::string_view, kBranchCount> kBranchNames{"亥", "子", "丑", "寅", "卯", "辰",
                                                                         "巳", "午", "未", "申", "酉", "戌"};

// The remainder in 0 … divisor − 1, also for negative values.
constexpr int PositiveModulo(long long value, int divisor) {
  const int r = static_cast<int>(value % divisor);
  return r < 0 ? r + divisor : r;
}

// A heavenly stem; any integer names the stem of its remainder mod 10.
class Stem {
 public:
  constexpr explicit Stem(int number) : number_(PositiveModulo(number, kStemCount)) {}
  constexpr int Number() const { return number_; }
  constexpr std::string_view Name() const { return kStemNames[static_cast<std::size_t>(number_)]; }
  friend constexpr bool operator==(Stem, Stem) = default;

 private:
  int number_;
};

// An earthly branch; any integer names the branch of its remainder mod 12.
class Branch {
 public:
  constexpr explicit Branch(int number) : number_(PositiveModulo(number, kBranchCount)) {}
  constexpr int Number() const { return number_; }
  constexpr std::string_view Name() const { return kBranchNames[static_cast<std::size_t>(number_)]; }
  // Branches counted forward from 子 (子 = 0, 丑 = 1 … 亥 = 11), as the month and hour rules count.
  constexpr int SinceRat() const { return PositiveModulo(number_ - 1, kBranchCount); }
  // The branch opposite on the circle, six away (子 and 午 clash).
  constexpr Branch Clash() const { return Branch(number_ + kBranchCount / 2); }
  friend constexpr bool operator==(Branch, Branch) = default;

 private:
  int number_;
};

// One of the sixty pillars; any integer names the pillar of its remainder mod 60.
class Jiazi {
 public:
  constexpr explicit Jiazi(int number) : number_(PositiveModulo(number, kJiaziCount)) {}
  // The pillar of a stem and branch, or nothing when they differ in parity and so form none.
  static constexpr std::optional<Jiazi> Of(Stem stem, Branch branch) {
    if (stem.Number() % 2 != branch.Number() % 2) return std::nullopt;
    // Each turn of the ten stems moves the branch back by two: the stem repeats every ten pillars.
    const int turns = PositiveModulo(stem.Number() - branch.Number(), kBranchCount) / 2;
    return Jiazi(stem.Number() + kStemCount * turns);
  }
  constexpr int Number() const { return number_; }
  constexpr Stem StemPart() const { return Stem(number_); }
  constexpr Branch BranchPart() const { return Branch(number_); }
  // Stem and branch names, e.g. "甲子".
  std::string Name() const;
  friend constexpr bool operator==(Jiazi, Jiazi) = default;

 private:
  int number_;
};

// 6897 ≡ 57 (mod 60): astronomical year 4 is 甲子 (number 1); the year is counted from 立春.
inline constexpr int kYearJiaziOffset = 6897;

// The pillar of a year (astronomical numbering, 0 = 1 BC) counted from its 立春.
constexpr Jiazi YearJiazi(int astronomicalYear) {
  return Jiazi(PositiveModulo(static_cast<long long>(astronomicalYear) + kYearJiaziOffset, kJiaziCount));
}

// The stem of a month: 甲 and 己 years open with 丙寅, 乙 and 庚 with 戊寅 … 戊 and 癸 with 甲寅,
// and each month after 寅 takes the next stem.
constexpr Stem MonthStem(Stem yearStem, Branch monthBranch) {
  const int sinceTiger = PositiveModulo(monthBranch.Number() - 3, kBranchCount);
  return Stem(2 * yearStem.Number() + 1 + sinceTiger);
}

// The double-hour branch of a clock hour: 子 from 23:00 to 00:59, 丑 from 01:00 … 亥 from 21:00.
constexpr Branch HourBranch(int clockHour) { return Branch((PositiveModulo(clockHour, 24) + 1) / 2 + 1); }

// The stem of an hour: 甲 and 己 days open with 甲子, 乙 and 庚 with 丙子 … 戊 and 癸 with 壬子,
// and each hour after 子 takes the next stem.
constexpr Stem HourStem(Stem dayStem, Branch hourBranch) {
  return Stem(2 * dayStem.Number() - 1 + hourBranch.SinceRat());
}

}  // namespace quorin::calendar

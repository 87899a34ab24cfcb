// Checks and conversions of what the user types into the chart inputs.
#pragma once

#include <QString>

namespace quorin::ui {

// Years as users enter them: historical, no year 0, -4713..9999.
inline constexpr int kFirstYear = -4713;
inline constexpr int kLastYear = 9999;
bool IsValidHistoricalYear(int year);
// 1 BC (-1) is stored as 0: a year below zero gains one.
int ToAstronomicalYear(int historicalYear);
int ToHistoricalYear(int astronomicalYear);

// The name as 排盘 saves it: blanks around it trimmed (Qt's rule), then
// cases::CleanChartName.
struct CleanedName {
  QString name;
  bool changed = false;  // empty, or something was removed or cut
};
CleanedName CleanName(const QString& typed);

// Item text of hour h in the hour list: "0时子", "1时丑", "2时丑" … "23时子".
QString HourItemText(int hour);

// A compass degree typed as 18, 18-12 or 18:12 (18°12'). A degree part that is no
// whole number reads as -1 (so 18.5 falls outside 0..360); bad minutes read as 0.
float ParseCompassDegrees(const QString& text);

// The mountain (0 = 壬) and the position of its gua in the mountain's gua list for a
// compass degree in 0..360.
struct MountainAndGua {
  int mountain = 0;
  int guaPosition = 0;
};
MountainAndGua MountainAndGuaOfDegrees(float degrees);

}  // namespace quorin::ui

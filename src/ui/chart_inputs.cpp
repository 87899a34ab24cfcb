#include "ui/chart_inputs.h"

#include <cmath>

#include "cases/case_text.h"
#include "ui/program_files.h"
#include "ui/text_numbers.h"

namespace quorin::ui {

bool IsValidHistoricalYear(int year) { return year >= kFirstYear && year <= kLastYear && year != 0; }
int ToAstronomicalYear(int historicalYear) { return historicalYear < 0 ? historicalYear + 1 : historicalYear; }
int ToHistoricalYear(int astronomicalYear) { return astronomicalYear <= 0 ? astronomicalYear - 1 : astronomicalYear; }

CleanedName CleanName(const QString& typed) {
  // Qt's trimming also takes the ideographic space a Chinese keyboard types.
  const cases::CleanedName cleaned = cases::CleanChartName(ToUtf8(typed.trimmed()));
  return {ToQString(cleaned.name), cleaned.changed};
}

QString HourItemText(int hour) {
  static const QString kBranchesFromHai = QStringLiteral("亥子丑寅卯辰巳午未申酉戌");
  const int even = hour % 2 == 1 ? (hour + 1) % 24 : hour;
  return QStringLiteral("%1时").arg(hour) + kBranchesFromHai[(even / 2 + 1) % 12];
}

float ParseCompassDegrees(const QString& text) {
  qsizetype separator = text.indexOf(QLatin1Char('-'));
  if (separator < 1) separator = text.indexOf(QLatin1Char(':'));
  if (separator < 1) return static_cast<float>(IntegerOrDefault(text, -1));
  const int degrees = IntegerOrDefault(text.left(separator), -1);
  const int minutes = IntegerOrDefault(text.mid(separator + 1), 0);
  return static_cast<float>(degrees + minutes / 60.0);
}

MountainAndGua MountainAndGuaOfDegrees(float x) {
  // Divisions are multiplications by the factors 1/15 and 8/45 in extended precision:
  // on the arc boundaries this decides the side (0° and 360° fall into 坤 of 子).
  constexpr long double kFifteenth = 1.0L / 15.0L;
  constexpr long double kEighthOf45 = 8.0L / 45.0L;
  long double a = static_cast<long double>(x) - 337.5L;
  if (a < 0) a += 360;
  const int b = static_cast<int>(a * kFifteenth);
  const int mountain = b % 24;
  long double c = (mountain / 3) * 45 + 337.5L;
  if (c >= 360) c -= 360;
  long double d = static_cast<long double>(x) - c;
  if (d < 0) d += 360;
  const int k = static_cast<int>(d * kEighthOf45) % 8;
  const int r = static_cast<int>(d * kFifteenth) % 3;
  int gua = 0;
  switch (k) {
    case 0: case 1: gua = k; break;
    case 2: gua = r == 0 ? 2 : 0; break;
    case 3: case 4: gua = k - 2; break;
    case 5: gua = r == 1 ? 3 : 0; break;
    default: gua = k - 5; break;
  }
  return {mountain, gua};
}

}  // namespace quorin::ui

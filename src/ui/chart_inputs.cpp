#include "ui/chart_inputs.h"

#include "cases/case_text.h"
#include "ui/program_files.h"

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

}  // namespace quorin::ui

#include "ui/chart_inputs.h"

#include <QLineEdit>

#include "calendar/historical_year.h"
#include "calendar/sexagenary.h"
#include "cases/case_text.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"

namespace quorin::ui {

std::optional<int> ReadYearInput(QWidget* parent, QLineEdit* edit, const QString& message, const QString& caption) {
  const std::optional<int> year = TypedInteger(edit->text());
  if (!year || !calendar::IsValidHistoricalYear(*year)) {
    Tell(parent, message, caption, Icon::Warning);
    edit->setFocus();
    return std::nullopt;
  }
  return calendar::AstronomicalYear(*year);
}

QString YearRangeMessage(const QString& field) {
  return field + QStringLiteral(
                     "年份必须在-4713到9999年之间，并且没有公元0年\r\n注意：公元前用负数，比如公元前120年，就输入-120");
}

CleanedName CleanName(const QString& typed) {
  // Qt's trimming also takes the ideographic space a Chinese keyboard types.
  const cases::CleanedName cleaned = cases::CleanChartName(ToUtf8(typed.trimmed()));
  return {ToQString(cleaned.name), cleaned.changed};
}

std::optional<chart::MountainAndGua> AskCompassDegrees(QWidget* parent, const QString& caption,
                                                       const QString& prompt, bool keepTyped) {
  QString text;
  for (;;) {
    const std::optional<QString> typed = Prompts().Input(parent, caption, prompt, text);
    if (!typed) return std::nullopt;
    if (keepTyped) text = *typed;
    const std::optional<float> degrees = chart::ParseCompassDegrees(ToUtf8(*typed));
    if (degrees && *degrees >= 0 && *degrees <= 360) return chart::MountainAndGuaOfDegrees(*degrees);
    Tell(parent, QStringLiteral("周天度数输入在：0-360之间！，格式：18-12或者18:12（等于18度12分）"));
  }
}

QString HourItemText(int hour) {
  return QStringLiteral("%1时").arg(hour) + ToQString(std::string(calendar::HourBranch(hour).Name()));
}

}  // namespace quorin::ui

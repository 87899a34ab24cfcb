// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chart_inputs.h"

#include <QComboBox>
#include <QLineEdit>

#include "calendar/historical_year.h"
#include "calendar/sexagenary.h"
#include "cases/case_text.h"
#include "chart/request_check.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"
#include "ui/ui_text.h"

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
  // Message boxes keep the Windows line ends of the program's other messages.
  return qtdraw::ShownQString(chart::YearRangeMessage(ToUtf8(field))).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
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
    Tell(parent, UiText::tr("周天度数输入在：0-360之间！，格式：18-12或者18:12（等于18度12分）"));
  }
}

void MomentLists::Fill(const std::function<QString(int hour)>& hourText) const {
  constexpr int kMonths = 12, kLongestMonth = 31, kHours = 24, kMinutes = 60;
  for (int i = 1; i <= kMonths; ++i) month->addItem(UiText::tr("%1月").arg(i));
  for (int i = 1; i <= kLongestMonth; ++i) day->addItem(UiText::tr("%1日").arg(i));
  for (int i = 0; i < kHours; ++i) hour->addItem(hourText(i));
  for (int i = 0; i < kMinutes; ++i) minute->addItem(UiText::tr("%1分").arg(i));
}

void MomentLists::Select(int monthNumber, int dayNumber, int hourNumber, int minuteNumber) const {
  month->setCurrentIndex(monthNumber - 1);
  day->setCurrentIndex(dayNumber - 1);
  hour->setCurrentIndex(hourNumber);
  minute->setCurrentIndex(minuteNumber);
}

calendar::CivilDateTime MomentLists::Selected(int year) const {
  return {static_cast<std::int16_t>(year), static_cast<std::int16_t>(month->currentIndex() + 1),
          static_cast<std::int16_t>(day->currentIndex() + 1), static_cast<std::int16_t>(hour->currentIndex()),
          static_cast<std::int16_t>(minute->currentIndex())};
}

QString HourItemText(int hour) {
  return UiText::tr("%1时").arg(hour) + ToQString(std::string(calendar::HourBranch(hour).Name()));
}

}  // namespace quorin::ui

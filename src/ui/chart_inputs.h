// SPDX-License-Identifier: GPL-3.0-or-later
// Checks and conversions of what the user types into the chart inputs.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "calendar/calendar_types.h"
#include "chart/compass.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace quorin::ui {

// Five characters hold every year of the span, -4713 included: a shorter limit would also cut
// the years the program itself writes into a year box.
inline constexpr int kYearInputLength = 5;

// The year typed into `edit`, as stored (astronomical). When it is no valid year the
// user is told `message` under `caption` with a warning, the focus goes to the edit
// and nothing is returned.
std::optional<int> ReadYearInput(QWidget* parent, QLineEdit* edit, const QString& message, const QString& caption);
// The message for a year out of range; `field` names the year ("", "主命", "查找").
QString YearRangeMessage(const QString& field);

// The name as 排盘 saves it: blanks around it trimmed (Qt's rule), then
// cases::CleanChartName.
struct CleanedName {
  QString name;
  bool changed = false;  // empty, or something was removed or cut
};
CleanedName CleanName(const QString& typed);

// Asks for a compass degree ("18-12", "18:12", "351") until one in 0..360 is typed, and
// returns its mountain and gua; nothing on cancel. `keepTyped` offers the refused text
// again instead of an empty box.
std::optional<chart::MountainAndGua> AskCompassDegrees(QWidget* parent, const QString& caption,
                                                       const QString& prompt, bool keepTyped);

// Item text of hour h in the hour list: "0时子", "1时丑", "2时丑" … "23时子".
QString HourItemText(int hour);

// The month, day, hour and minute lists of a moment, as the chart inputs and the calendar
// window show them; a list's row is the month or day less one, the hour or the minute.
struct MomentLists {
  QComboBox* month = nullptr;
  QComboBox* day = nullptr;
  QComboBox* hour = nullptr;
  QComboBox* minute = nullptr;

  // "1月" … "12月", "1日" … "31日", each hour as `hourText` writes it, "0分" … "59分".
  void Fill(const std::function<QString(int hour)>& hourText) const;
  void Select(int monthNumber, int dayNumber, int hourNumber, int minuteNumber) const;
  // The moment the lists select, in `year`.
  calendar::CivilDateTime Selected(int year) const;
};

}  // namespace quorin::ui

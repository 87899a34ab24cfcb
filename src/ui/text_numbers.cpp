#include "ui/text_numbers.h"

namespace quorin::ui {

int IntegerOrDefault(const QString& text, int fallback) {
  QString t = text.trimmed();
  if (t.isEmpty()) return fallback;
  bool negative = false;
  if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
    negative = t.startsWith(QLatin1Char('-'));
    t.remove(0, 1);
  }
  int base = 10;
  if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    base = 16;
    t.remove(0, 2);
  } else if (t.startsWith(QLatin1Char('$'))) {
    base = 16;
    t.remove(0, 1);
  }
  if (t.isEmpty() || t.startsWith(QLatin1Char('+')) || t.startsWith(QLatin1Char('-'))) return fallback;
  bool ok = false;
  const qlonglong value = t.toLongLong(&ok, base);
  if (!ok) return fallback;
  const qlonglong signedValue = negative ? -value : value;
  if (signedValue < INT_MIN || signedValue > INT_MAX) return fallback;
  return static_cast<int>(signedValue);
}

int LeadingItemNumber(const QString& itemText) {
  const qsizetype bracket = itemText.indexOf(QLatin1Char('('));
  return IntegerOrDefault(bracket >= 0 ? itemText.left(bracket) : itemText, 0);
}

}  // namespace quorin::ui

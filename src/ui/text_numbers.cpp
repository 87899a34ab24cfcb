#include "ui/text_numbers.h"

#include "base/typed_integer.h"
#include "ui/program_files.h"

namespace quorin::ui {

int IntegerOrDefault(const QString& text, int fallback) { return base::IntegerOrDefault(ToUtf8(text), fallback); }

int LeadingItemNumber(const QString& itemText) {
  const qsizetype bracket = itemText.indexOf(QLatin1Char('('));
  return IntegerOrDefault(bracket >= 0 ? itemText.left(bracket) : itemText, 0);
}

}  // namespace quorin::ui

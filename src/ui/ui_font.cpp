// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ui_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "base/ini_file.h"
#include "qtdraw/fonts.h"

namespace quorin::ui {

namespace {

// The smallest and largest sizes the scaler sets: a change taking a font below the smallest
// (-9 and -10 from the program's 10.5 points) gives the smallest rather than nothing.
constexpr double kSmallestPoints = 3;
constexpr double kLargestPoints = 100;

MUiFont*& Installed() {
  static MUiFont* scaler = nullptr;
  return scaler;
}

double FontSizeOf(const QWidget* w) {
  const double size = w->font().pointSizeF();
  return size > 0 ? size : 0;
}

// Menus keep the system menu font unless the menu flag asks for more.
bool IsMenu(const QWidget* w) { return qobject_cast<const QMenu*>(w) || qobject_cast<const QMenuBar*>(w); }

// Fusion draws an item's check column as wide as four fifths of the item's height but reserves
// less when it sizes the menu, so at large fonts it cuts the longest item short in the middle.
// A menu one line wider than it asks for keeps every item whole.
void KeepMenuItemsWhole(QMenu* menu) {
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
    menu->setMinimumWidth(0);
    menu->setMinimumWidth(menu->sizeHint().width() + menu->fontMetrics().height());
  });
}

}  // namespace

MUiFont::MUiFont(const std::string& setIniPath) {
  const base::IniFile ini(setIniPath);
  change_ = ini.ReadInteger("set", "iFontSizeVar", 0);
  changeMenu_ = ini.ReadBool("set", "bChangeMenuSize", false);
}

MUiFont::MUiFont(int change, bool changeMenu) : change_(change), changeMenu_(changeMenu) {}

QSize MUiFont::MeasureGuo(double pointSize) {
  QFont font(qtdraw::kSongFont);
  font.setPointSizeF(pointSize);
  // Whole pixels, as a canvas measures text.
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QStringLiteral("国")), metrics.height()};
}

double MUiFont::Target(double size) const { return std::max(size + change_, kSmallestPoints); }

MUiFont::Ratios MUiFont::RatiosFor(double size, Ratios previous) const {
  const double target = Target(size);
  if (target > kLargestPoints || size <= 0) return previous;
  const QSize before = MeasureGuo(size);
  const QSize after = MeasureGuo(target);
  if (before.width() <= 0 || before.height() <= 0) return previous;
  return {static_cast<double>(after.width()) / before.width(), static_cast<double>(after.height()) / before.height()};
}

void MUiFont::Apply(QWidget* window, const QStringList& leaveAlone) {
  const double size = FontSizeOf(window);
  if (change_ == 0 || size <= 0 || Target(size) > kLargestPoints) return;
  leaveAlone_ = leaveAlone;
  Visit(window, RatiosFor(size, {}), Target(size));

  QFont font(qtdraw::kSongFont);
  font.setPointSizeF(Target(size));
  QToolTip::setFont(font);
  if (changeMenu_) {
    QApplication::setFont(font, "QMenu");
    QApplication::setFont(font, "QMenuBar");
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (!IsMenu(control)) continue;
      control->setFont(font);
      if (auto* menu = qobject_cast<QMenu*>(control)) KeepMenuItemsWhole(menu);
    }
  }
}

void MUiFont::Visit(QWidget* control, Ratios ratios, double size) {
  if (IsMenu(control)) return;
  const QList<QWidget*> children = control->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  if (!children.isEmpty()) {
    // A container hands its own size plus the change down to its children.
    const double own = FontSizeOf(control);
    if (own > 0) {
      ratios = RatiosFor(own, ratios);
      size = Target(own);
    }
    for (QWidget* child : children) Visit(child, ratios, size);
  }
  if (leaveAlone_.contains(control->objectName())) {
    // Its own size from now on, so the container's new size does not reach it.
    QFont own = control->font();
    own.setPointSizeF(own.pointSizeF());
    control->setFont(own);
    return;
  }
  ScaleBounds(control, ratios);
  QFont font = control->font();
  font.setPointSizeF(size);
  control->setFont(font);
}

void MUiFont::ScaleBounds(QWidget* control, Ratios ratios) const {
  const auto scaleX = [&](int v) { return static_cast<int>(std::trunc(v * ratios.horizontal)); };
  const auto scaleY = [&](int v) { return static_cast<int>(std::trunc(v * ratios.vertical)); };
  if (control->isWindow()) {
    // A window keeps its position and grows from it.
    control->resize(scaleX(control->width()), scaleY(control->height()));
    return;
  }
  // Layouts place most controls from their fonts; fixed sizes and free-standing
  // controls grow by the ratios.
  if (control->minimumWidth() == control->maximumWidth()) control->setFixedWidth(scaleX(control->width()));
  if (control->minimumHeight() == control->maximumHeight()) control->setFixedHeight(scaleY(control->height()));
  const QWidget* parent = control->parentWidget();
  if (parent && !parent->layout()) {
    const QRect g = control->geometry();
    control->setGeometry(scaleX(g.x()), scaleY(g.y()), scaleX(g.width()), scaleY(g.height()));
  }
}

int MUiFont::RecommendedChange(const QFont& font, int screenWidth) {
  const double s0 = font.pointSizeF() > 0 ? font.pointSizeF() : 9;
  const double target = std::trunc(screenWidth / 1920.0 * MeasureGuo(s0).width());
  const int step = screenWidth <= 1920 ? -1 : 1;
  double size = s0;
  while (size >= 3 && size <= 99) {
    size += step;
    const double width = MeasureGuo(size).width();
    if (step > 0 ? width > target : width < target) break;
  }
  return static_cast<int>(std::lround(size - s0 - step));
}

int MUiFont::RecommendedChange(const QWidget* window) {
  const QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  return RecommendedChange(window ? window->font() : QApplication::font(), screen ? screen->geometry().width() : 1920);
}

MUiFont* ProgramUiFont() { return Installed(); }
void SetProgramUiFont(MUiFont* scaler) { Installed() = scaler; }

void ApplyProgramUiFont(QWidget* window, const QStringList& leaveAlone) {
  if (MUiFont* scaler = ProgramUiFont()) scaler->Apply(window, leaveAlone);
}

}  // namespace quorin::ui

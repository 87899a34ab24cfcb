#include "ui/ui_font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <cmath>

#include "base/ini_file.h"
#include "qtdraw/fonts.h"

namespace quorin::ui {

namespace {

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

MUiFont::Ratios MUiFont::RatiosFor(double size, Ratios previous) const {
  const double target = size + change_;
  if (target < 3 || target > 100 || size <= 0) return previous;
  const QSize before = MeasureGuo(size);
  const QSize after = MeasureGuo(target);
  if (before.width() <= 0 || before.height() <= 0) return previous;
  return {static_cast<double>(after.width()) / before.width(), static_cast<double>(after.height()) / before.height()};
}

void MUiFont::Apply(QWidget* window, const QStringList& leaveAlone) {
  const double size = FontSizeOf(window);
  if (change_ == 0 || size + change_ <= 2 || size + change_ > 100) return;
  leaveAlone_ = leaveAlone;
  Visit(window, RatiosFor(size, {}), size + change_);

  QFont font(qtdraw::kSongFont);
  font.setPointSizeF(size + change_);
  QToolTip::setFont(font);
  if (changeMenu_) {
    QApplication::setFont(font, "QMenu");
    QApplication::setFont(font, "QMenuBar");
    for (QWidget* menu : window->findChildren<QWidget*>()) {
      if (IsMenu(menu)) menu->setFont(font);
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
      size = own + change_;
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

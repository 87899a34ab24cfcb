// SPDX-License-Identifier: GPL-3.0-or-later
// The program-wide UI-font scaler: adds the size change of set.ini to every window's
// font and grows the windows by how much a CJK character grows.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace quorin::ui {

class MUiFont {
 public:
  // Reads iFontSizeVar and bChangeMenuSize from the set.ini at `setIniPath` (once).
  explicit MUiFont(const std::string& setIniPath);
  // A scaler with the given change and menu flag (tests).
  MUiFont(int change, bool changeMenu);

  int Change() const { return change_; }
  bool ChangesMenu() const { return changeMenu_; }

  // Scales `window` and every control in it, except the controls named in `leaveAlone`
  // (their children are still visited). Does nothing when the change is 0 or the window's
  // size plus the change is above 100; below 3 points it gives 3.
  void Apply(QWidget* window, const QStringList& leaveAlone = {});

  // The change that would suit a screen `screenWidth` pixels wide for a window whose
  // font is `font`: 0 on a 1920-wide screen.
  static int RecommendedChange(const QFont& font, int screenWidth);
  // The same for the primary screen.
  static int RecommendedChange(const QWidget* window);

  // Width and height of "国" in 宋体 at `pointSize`.
  static QSize MeasureGuo(double pointSize);

 private:
  struct Ratios {
    double horizontal = 1.0;
    double vertical = 1.0;
  };
  // The size a font of `size` points takes: plus the change, at least the smallest size.
  double Target(double size) const;
  Ratios RatiosFor(double size, Ratios previous) const;
  void Visit(QWidget* control, Ratios ratios, double size);
  void ScaleBounds(QWidget* control, Ratios ratios) const;

  int change_ = 0;
  bool changeMenu_ = false;
  QStringList leaveAlone_;
};

// The program-wide scaler, installed by the program before its first window (may be null).
MUiFont* ProgramUiFont();
void SetProgramUiFont(MUiFont* scaler);
// Applies the program-wide scaler to a window, when there is one.
void ApplyProgramUiFont(QWidget* window, const QStringList& leaveAlone = {});

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// A main window on a fresh program folder, shown offscreen, answering its boxes.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/chart_inputs_panel.h"
#include "ui/chart_view.h"
#include "ui/frm_main.h"

class QAbstractItemView;
class QModelIndex;
class QTabWidget;

namespace quorin::ui {
class SearchPage;
}

namespace quorin::testing {

// Double-clicks the line of `index` in its view, as the user does (the view scrolls to it
// first); the click lands inside the visible part of the line.
void DoubleClickLine(QAbstractItemView* view, const QModelIndex& index);
// Picks line `index` of a list box with the keyboard, which emits `activated` as a user's
// choice does.
void ChooseLine(QComboBox* box, int index);

struct MainWindowFixture {
  // Shows the window (start-up runs) unless `show` is false.
  explicit MainWindowFixture(bool show = true, bool withPlaces = true);
  ~MainWindowFixture();

  // Closes the window, answering "确定要关闭软件吗？" with Yes.
  void Close();

  // Sets the chart inputs: historical year, month, day, hour, minute (Gregorian).
  void SetMoment(int year, int month, int day, int hour, int minute);
  // Presses 排盘; true when a chart is shown afterwards.
  bool Pai();
  // The control of the window with this object name (its original component name); a test
  // that asks for one the window lacks stops there.
  template <typename Control>
  Control* Find(const char* name) const {
    Control* found = window->findChild<Control*>(QString::fromLatin1(name));
    if (!found) qFatal("the main window has no %s", name);
    return found;
  }
  // The parts tests look at most.
  QTextEdit* ChartText() const;  // 分析解盘
  QTextEdit* Remarks() const;    // the remarks below the chart picture
  QTabWidget* Pages() const;
  ui::SearchPage* Search() const;
  QString AnalysisText() const;
  // Triggers the menu item with this object name, as a click on it does.
  void Trigger(const char* item) const;

  ProgramFolder folder;
  ScriptedPrompter prompter;
  std::unique_ptr<ui::TFrmMain> window;
};

}  // namespace quorin::testing

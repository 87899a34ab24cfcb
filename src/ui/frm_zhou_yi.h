// SPDX-License-Identifier: GPL-3.0-or-later
// "易经卦爻辞": the judgement, commentaries and line texts of a hexagram beside its six
// lines. Modeless and on top; one window at a time, which ends when it is closed.
#pragma once

#include <QDialog>
#include <array>

#include "iching/zhou_yi_page.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace quorin::ui {

class TFrmZhouYi : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmZhouYi(QWidget* parent = nullptr);

  // The menu command: shows the open window, or creates one on `owner` first.
  static TFrmZhouYi* ShowInstance(QWidget* owner);
  // The window now open, or nullptr once it has been closed.
  static TFrmZhouYi* Instance();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillPalaces();
  // The hexagrams of the chosen palace, the first shown.
  void ShowPalace();
  void ShowHexagram();

  QWidget* sidePanel_;
  // [0] the hexagram's name, [1] … [6] its lines from the top.
  std::array<QLabel*, 1 + iching::kLinesPerHexagram> hexagramLabels_;
  QComboBox* palaceBox_;
  QComboBox* hexagramBox_;
  QPlainTextEdit* hexagramText_;
};

}  // namespace quorin::ui

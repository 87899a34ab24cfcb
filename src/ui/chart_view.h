// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture of the main window in its scroll box: centred, dragged with the left
// button, a left click handed on to the chart, and the picture's popup (copy, save, print).
#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

class QLabel;
class QMenu;
class QScrollArea;

namespace quorin::qtdraw {
class ImageCanvas;
}

namespace quorin::ui {

struct MenuRow;

class ChartView : public QWidget {
  Q_OBJECT

 public:
  // Shows the picture of `canvas` (the chart engine draws on it), which outlives the view.
  explicit ChartView(qtdraw::ImageCanvas& canvas, QWidget* parent = nullptr);

  // Shows the canvas picture as it is now, or no picture while no chart is shown.
  void ShowPicture(bool chartShown);
  // Whether a chart is shown: only then is the picture dragged and clicked.
  void SetInteractive(bool interactive) { interactive_ = interactive; }
  // Puts the picture in the middle of the box, at least a small margin from its top left.
  void Centre();
  // Adds commands of the window to the picture's popup, after its own.
  void AddPopupRows(const std::vector<MenuRow>& rows, QObject& context);

 signals:
  // A left click on the picture, in picture pixels.
  void Clicked(QPoint at);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Keeps skins that style plain widgets working on this one.
  void paintEvent(QPaintEvent* event) override;

 private:
  void FitScrollSurface();
  // The picture's popup: copy, save as BMP or JPEG, print.
  void CopyChartImage();
  void SaveChartImageAs();
  void PrintChartImage();

  qtdraw::ImageCanvas& canvas_;
  QScrollArea* scrollBox_;
  QLabel* picture_;
  QMenu* popup_;
  bool interactive_ = false;
  bool dragging_ = false;
  QPoint dragStart_;
};

}  // namespace quorin::ui

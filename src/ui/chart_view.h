// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture of the main window in its scroll box: centred, dragged with the left
// button, a left click handed on to the chart, and the picture's popup (copy, save, print).
#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QMenu;
class QScrollArea;

namespace quorin::qtdraw {
class ImageCanvas;
}

namespace quorin::ui {

class ChartView : public QWidget {
  Q_OBJECT

 public:
  // Shows the picture of `canvas` (the chart engine draws on it), which outlives the view.
  explicit ChartView(qtdraw::ImageCanvas& canvas, QWidget* parent = nullptr);

  QScrollArea* BoxPanel;
  QLabel* ImgPan;
  QMenu* PopImgPan;

  // Shows the canvas picture as it is now, or no picture while no chart is shown.
  void ShowPicture(bool chartShown);
  // Whether a chart is shown: only then is the picture dragged and clicked.
  void SetInteractive(bool interactive) { interactive_ = interactive; }
  // Puts the picture in the middle of the box, at least a small margin from its top left.
  void Centre();

 signals:
  // A left click on the picture, in picture pixels.
  void Clicked(QPoint at);

 public slots:
  void CopyChartImage();
  void SaveChartImageAs();
  void PrintChartImage();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Keeps skins that style plain widgets working on this one.
  void paintEvent(QPaintEvent* event) override;

 private:
  void FitScrollSurface();

  qtdraw::ImageCanvas& canvas_;
  bool interactive_ = false;
  bool dragging_ = false;
  QPoint dragStart_;
};

}  // namespace quorin::ui

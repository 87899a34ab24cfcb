// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chart_view.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>

#include "base/files.h"
#include "qtdraw/image_canvas.h"
#include "qtdraw/jpeg_writer.h"
#include "ui/menu_table.h"
#include "ui/print_layout.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/save_prompts.h"

namespace quorin::ui {

namespace {

// A centred picture keeps at least this many pixels from the box's top and left.
constexpr int kCentreMargin = 3;

}  // namespace

ChartView::ChartView(qtdraw::ImageCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setObjectName(QStringLiteral("PanAbove"));
  auto* aboveLayout = new QVBoxLayout(this);
  aboveLayout->setContentsMargins(0, 0, 0, 0);
  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName(QStringLiteral("BoxPanel"));
  scrollBox_->setWidgetResizable(false);
  auto* surface = new QWidget;
  surface->setObjectName(QStringLiteral("BoxPanelSurface"));
  scrollBox_->setWidget(surface);
  picture_ = new QLabel(surface);
  picture_->setObjectName(QStringLiteral("ImgPan"));
  picture_->setContextMenuPolicy(Qt::CustomContextMenu);
  picture_->installEventFilter(this);
  scrollBox_->viewport()->installEventFilter(this);
  aboveLayout->addWidget(scrollBox_);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopImgPan"));
  AddPopupRows({Item("MenuItem2", QT_TRANSLATE_NOOP("Menu", "复制"), [this] { CopyChartImage(); }),
                Item("MenuItem3", QT_TRANSLATE_NOOP("Menu", "另存为..."), [this] { SaveChartImageAs(); }),
                Item("MenuItem4", QT_TRANSLATE_NOOP("Menu", "打印"), [this] { PrintChartImage(); })},
               *this);
  connect(picture_, &QWidget::customContextMenuRequested, popup_,
          [this](const QPoint& at) { popup_->popup(picture_->mapToGlobal(at)); });
}

void ChartView::AddPopupRows(const std::vector<MenuRow>& rows, QObject& context) { AddMenuRows(*popup_, rows, context); }

void ChartView::paintEvent(QPaintEvent*) {
  QStyleOption option;
  option.initFrom(this);
  QPainter painter(this);
  style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void ChartView::ShowPicture(bool chartShown) {
  // Before a chart (at start, after 新建) the canvas holds no picture, only its empty
  // surface: nothing is shown rather than a blank block.
  const QImage& image = canvas_.Image();
  if (!chartShown) {
    picture_->hide();
    return;
  }
  // Drawn at the screen's pixel ratio, so the text is as sharp as the menus; the size is logical.
  picture_->setPixmap(QPixmap::fromImage(canvas_.ScreenImage()));
  picture_->resize(image.size());
  picture_->show();
}

void ChartView::Centre() {
  const QSize client = scrollBox_->viewport()->size();
  const int left = std::max(kCentreMargin, (client.width() - picture_->width()) / 2);
  const int top = std::max(kCentreMargin, (client.height() - picture_->height()) / 2);
  picture_->move(left, top);
  FitScrollSurface();
}

void ChartView::FitScrollSurface() {
  // The scroll range reaches to the image wherever it has been dragged.
  const QSize client = scrollBox_->viewport()->size();
  const QRect image = picture_->isVisible() ? picture_->geometry() : QRect();
  scrollBox_->widget()->resize(std::max(client.width(), image.right() + 1), std::max(client.height(), image.bottom() + 1));
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scrollBox_->viewport() && event->type() == QEvent::Resize) {
    Centre();
  } else if (watched == picture_) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress && interactive_) {
      dragging_ = true;
      dragStart_ = mouse->position().toPoint();
      return true;
    }
    if (mouse && event->type() == QEvent::MouseMove && dragging_) {
      picture_->move(picture_->pos() + mouse->position().toPoint() - dragStart_);
      FitScrollSurface();
      return true;
    }
    if (mouse && mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonRelease) {
      dragging_ = false;
      if (interactive_) emit Clicked(mouse->position().toPoint());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ChartView::CopyChartImage() { QApplication::clipboard()->setImage(canvas_.Image()); }

void ChartView::SaveChartImageAs() {
  const FileRequest request{
      tr("另存为Bmp图片"), {{tr("bmp格式"), QStringLiteral("*.bmp")}, {tr("jpg格式"), QStringLiteral("*.jpg")}}, 1};
  const std::optional<FileChoice> choice = Prompts().SaveFile(window(), request);
  if (!choice) return;
  const bool bmp = choice->filter == 0;
  const std::string path = ToUtf8(choice->path) + (bmp ? ".bmp" : ".jpg");
  if (!MayWrite(window(), path)) return;
  std::string error = "encoding failed";
  const std::optional<std::string> bytes =
      bmp ? qtdraw::EncodeBmp(canvas_.Image()) : qtdraw::EncodeJpeg(canvas_.Image(), &error);
  if (!bytes || !base::AtomicWriteFile(path, *bytes, &error)) {
    ReportWriteFailure(window(), path, error);
    return;
  }
  Tell(window(), SavedMessage());
}

void ChartView::PrintChartImage() {
  if (!AskYesNo(window(), tr("准备开始打印吗?"), tr("打印"), Icon::Information)) return;
  QPrinter printer;
  if (!Prompts().SetUpPrinter(window(), printer)) return;
  printer.setPageOrientation(QPageLayout::Portrait);
  const QImage& image = canvas_.Image();
  QPainter painter;
  if (!painter.begin(&printer)) {
    Tell(window(), tr("请检查打印机能否正常工作！"), tr("打印错误"), Icon::Error);
    return;
  }
  painter.drawImage(ChartPrintRect(image.size(), printer.width(), printer.height()), image);
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    Tell(window(), tr("请检查打印机能否正常工作！"), tr("打印错误"), Icon::Error);
  }
}

}  // namespace quorin::ui

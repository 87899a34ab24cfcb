// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shutdown of the main window, and its layout file dat/init.ini.
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTextEdit>
#include <QTreeWidget>

#include "base/data_location.h"
#include "base/files.h"
#include "base/ini_file.h"
#include "cases/case_tree.h"
#include "cases/record_base.h"
#include "chart/quorin_day.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/chart_inputs_panel.h"
#include "ui/frm_main.h"
#include "ui/search_page.h"
#include "ui/program_files.h"
#include "ui/program_objects.h"
#include "ui/prompter.h"
#include "ui/text_edit_sink.h"
#include "ui/ui_font.h"

namespace quorin::ui {

namespace {

QColor FromWindowsColor(int value) { return qtdraw::ToQColor(static_cast<draw::Color>(value)); }

}  // namespace

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!prepared_) PrepareOnFirstShow();
}

void TFrmMain::PrepareOnFirstShow() {
  if (prepared_) return;
  prepared_ = true;

  Inputs->FillFixedLists();

  // The data folder holds every file the window reads and writes; make it when missing.
  if (!base::EnsureDirectory(DataFolder())) {
    Tell(this, QStringLiteral("无法建立数据文件夹%1，设置和案例将无法保存。").arg(ToQString(DataFolder())),
         QStringLiteral("错误"), Icon::Error);
  }
  // Without the user's init.ini (the data folder could not be made) the shipped one is read.
  layoutIni_ = std::make_unique<base::IniFile>(InitIniPath(), base::ShippedDataFile("init.ini"));
  ApplyProgramUiFont(this, {QStringLiteral("RedtOut"), QStringLiteral("ImgPan")});

  const base::LayoutPrefs prefs = base::ReadLayoutPrefs(*layoutIni_);
  BuildSkinMenu(prefs);
  ApplyLayout(prefs);

  // Mountain and gua, the moment now, the saved place.
  Inputs->SelectMountainAndGua(0, 0);
  Inputs->SetDateInputsToNow(ChartInputsPanel::kStartYearCap);
  Inputs->RestorePlace(prefs.sheng, prefs.shi);

  // The tree's display style and order.
  treeShowStyle_ = prefs.showStyle;
  treeSort_ = prefs.sort;
  SyncStyleChecks();

  // The engine writes into the analysis text and the chart picture. Background and font
  // come first, so attaching sizes and clears the picture once.
  engine_->SetImageBackground(qtdraw::FromQColor(RedtOut->palette().color(QPalette::Base)));
  engine_->SetImageFont(prefs.imgSize);
  engine_->Attach(textSink_.get(), canvas_.get());
  ShowChartImage();
  record_.dragonMountain = -1;
  record_.waterMountain = -1;
  record_.showFacing = false;

  OpenCaseDatabase();

  connect(styleGroup_, &QActionGroup::triggered, this, &TFrmMain::TreeStyleChanged);
  connect(sortGroup_, &QActionGroup::triggered, this, &TFrmMain::TreeStyleChanged);

  pendingState_ = prefs.state;
  if (pendingState_ == 1) setWindowState(windowState() | Qt::WindowMinimized);
  if (pendingState_ == 2) setWindowState(windowState() | Qt::WindowMaximized);
  PageSearch->ClearConditions(false);
}

void TFrmMain::OpenCaseDatabase() {
  cases::MRecordBase* store = ProgramCaseStore();
  if (!store) return;
  if (!store->Open(CaseDatabasePath())) {
    // The window opens all the same, with an empty tree.
    Tell(this, ToQString(store->lastError()));
    return;
  }
  // The tree shows the newest cases; the remarks say how many there are in all.
  const int counter = store->GetPrimaryId();
  ShowCases(cases::NewestCaseIds(counter, kCasesShownAtStart));
  if (counter > kCasesShownAtStart) {
    RedtPingYu->append(QString());
    RedtPingYu->append(QStringLiteral("案例总数大致：%1个，可以在树表上按鼠标右键，点击“显示全部卦例“").arg(counter));
    RedtPingYu->document()->setModified(false);
  }
}

void TFrmMain::ApplyLayout(const base::LayoutPrefs& prefs) {
  move(prefs.left, prefs.top);
  // The client area lies below the menu bar.
  resize(prefs.width, prefs.height + menuBar()->sizeHint().height());

  QFont outFont(ToQString(prefs.fname));
  outFont.setPointSize(prefs.fsize > 0 ? prefs.fsize : 12);
  RedtOut->setFont(outFont);
  QPalette palette = RedtOut->palette();
  palette.setColor(QPalette::Base, FromWindowsColor(prefs.bcolor));
  RedtOut->setPalette(palette);

  Splitter1->setSizes({prefs.treewid, std::max(1, width() - prefs.treewid)});
  const int below = Panel4->sizeHint().height() + prefs.pinghei;
  Splitter3->setSizes({std::max(1, PanelPan->height() - below), below});
}

base::LayoutPrefs TFrmMain::CurrentPrefs() const {
  base::LayoutPrefs p;
  p.skined = skin_.Active();
  const QRect frame = geometry();
  p.left = pos().x();
  p.top = pos().y();
  p.width = frame.width();
  p.height = frame.height() - menuBar()->height();
  p.state = isMinimized() ? 1 : (isMaximized() ? 2 : 0);
  p.fname = ToUtf8(RedtOut->font().family());
  p.fsize = RedtOut->font().pointSize();
  p.bcolor = static_cast<int>(qtdraw::FromQColor(RedtOut->palette().color(QPalette::Base)));
  p.treewid = Tree->width();
  p.sheng = Inputs->Province();
  p.shi = Inputs->City();
  p.pinghei = RedtPingYu->height();
  p.imgSize = engine_->ImageFontSize();
  p.showStyle = treeShowStyle_;
  p.sort = treeSort_;
  return p;
}

bool TFrmMain::WriteInitIniAtClose() {
  if (!layoutIni_) return true;
  const base::LayoutPrefs prefs = CurrentPrefs();
  return base::WriteLayoutPrefsAtClose(*layoutIni_, prefs, prefs.state == 0);
}

void TFrmMain::ReportLayoutWriteFailure() {
  Tell(this,
       QStringLiteral("无法写入窗口设置文件%1：%2").arg(ToQString(layoutIni_->Path()), ToQString(layoutIni_->LastError())),
       QStringLiteral("错误"), Icon::Error);
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (endingProgram_) {
    // The database was replaced: nothing of the old one is saved; the layout is.
    if (!WriteInitIniAtClose()) ReportLayoutWriteFailure();
    layoutIni_.reset();
    event->accept();
    return;
  }
  if (treeLoading_) {
    if (!AskYesNo(this, QStringLiteral("是否停止显示案例？"), QStringLiteral("显示案例"), Icon::Warning)) {
      Tell(this, QStringLiteral("请等待案例加载完毕！"));
      event->ignore();
      return;
    }
    stopTreeWork_ = true;
    if (rebuildOnStack_) {
      // The placing runs below this call; the close comes back once it has unwound.
      closeAfterStop_ = true;
      event->ignore();
      return;
    }
    // The background pass stops at its next check; its result, if any, is dropped.
    loadingPass_->RequestStop();
    loadingPass_->Wait();
    ++loadGeneration_;
    FinishTreeWork();
  }
  if (!AskYesNo(this, QStringLiteral("确定要关闭软件吗？"), QStringLiteral("关闭"), Icon::Information)) {
    event->ignore();
    return;
  }
  if (!OfferToSaveOpenRemark()) {
    event->ignore();
    return;
  }
  // A layout that cannot be written is reported; the window closes all the same.
  if (!WriteInitIniAtClose()) ReportLayoutWriteFailure();
  layoutIni_.reset();
  event->accept();
}

}  // namespace quorin::ui

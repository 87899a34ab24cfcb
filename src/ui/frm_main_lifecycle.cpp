// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shutdown of the main window, and its layout file dat/init.ini.
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTextEdit>

#include "base/data_location.h"
#include "base/files.h"
#include "base/ini_file.h"
#include "cases/record_base.h"
#include "chart/quorin_day.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/case_tree_panel.h"
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
    Tell(this, tr("无法建立数据文件夹%1，设置和案例将无法保存。").arg(ToQString(DataFolder())), tr("错误"),
         Icon::Error);
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
  Inputs->RestorePlace(prefs.sheng, prefs.shi, prefs.placeName, prefs.placeZone);

  // The tree's display style and order.
  caseTree_->SetDisplay(prefs.showStyle, prefs.sort);

  // The engine writes into the analysis text and the chart picture. Background and font
  // come first, so attaching sizes and clears the picture once.
  engine_->SetImageBackground(qtdraw::FromQColor(chartTextView_->palette().color(QPalette::Base)));
  engine_->SetImageFont(prefs.imgSize);
  engine_->Attach(textSink_.get(), canvas_.get());
  ShowChartImage();
  record_.dragonMountain = -1;
  record_.waterMountain = -1;
  record_.showFacing = false;

  OpenCaseDatabase();

  savedWindowState_ = prefs.state;
  ApplySavedWindowState();
  searchPage_->ClearConditions(false);
}

void TFrmMain::ApplySavedWindowState() {
  if (savedWindowState_ == 1) setWindowState(windowState() | Qt::WindowMinimized);
  if (savedWindowState_ == 2) setWindowState(windowState() | Qt::WindowMaximized);
}

void TFrmMain::OpenCaseDatabase() {
  if (!localStore_) return;
  if (!localStore_->Open(CaseDatabasePath())) {
    // The window opens all the same, with an empty tree.
    Tell(this, ToQString(localStore_->lastError()));
    return;
  }
  // A practice's shared library, when the user last chose one, takes the local one's place.
  OpenRememberedLibrary();
  if (caseStore_ != localStore_) return;
  // The tree shows the newest cases; the remarks say how many there are in all.
  caseTree_->ShowNewestCases();
  if (const int counter = caseStore_->GetPrimaryId(); counter > kCasesShownAtStart) {
    remarkEditor_->append(QString());
    remarkEditor_->append(tr("案例总数大致：%1个，可以在树表上按鼠标右键，点击“显示全部卦例“").arg(counter));
    remarkEditor_->document()->setModified(false);
  }
}

void TFrmMain::CaseLoadingEnded(bool wholeLibrary) {
  ShowLibraryInTitle();
  if (wholeLibrary && savedWindowState_) {
    ApplySavedWindowState();
    savedWindowState_.reset();
  }
}

void TFrmMain::ApplyLayout(const base::LayoutPrefs& prefs) {
  move(prefs.left, prefs.top);
  // The client area lies below the menu bar.
  resize(prefs.width, prefs.height + menuBar()->sizeHint().height());

  QFont outFont(ToQString(prefs.fname));
  outFont.setPointSize(prefs.fsize > 0 ? prefs.fsize : 12);
  chartTextView_->setFont(outFont);
  QPalette palette = chartTextView_->palette();
  palette.setColor(QPalette::Base, FromWindowsColor(prefs.bcolor));
  chartTextView_->setPalette(palette);

  treeSplitter_->setSizes({prefs.treewid, std::max(1, width() - prefs.treewid)});
  const int below = stepButtons_->sizeHint().height() + prefs.pinghei;
  chartSplitter_->setSizes({std::max(1, chartPage_->height() - below), below});
}

base::LayoutPrefs TFrmMain::CurrentPrefs() const {
  base::LayoutPrefs prefs;
  prefs.skined = skin_.Active();
  const QRect frame = geometry();
  prefs.left = pos().x();
  prefs.top = pos().y();
  prefs.width = frame.width();
  prefs.height = frame.height() - menuBar()->height();
  prefs.state = isMinimized() ? 1 : (isMaximized() ? 2 : 0);
  prefs.fname = ToUtf8(chartTextView_->font().family());
  prefs.fsize = chartTextView_->font().pointSize();
  prefs.bcolor = static_cast<int>(qtdraw::FromQColor(chartTextView_->palette().color(QPalette::Base)));
  prefs.treewid = caseTree_->width();
  prefs.sheng = Inputs->Province();
  prefs.shi = Inputs->City();
  prefs.placeName = Inputs->PlaceName();
  prefs.placeZone = Inputs->Zone();
  prefs.pinghei = remarkEditor_->height();
  prefs.imgSize = engine_->ImageFontSize();
  prefs.showStyle = caseTree_->ShowStyle();
  prefs.sort = caseTree_->Sort();
  return prefs;
}

bool TFrmMain::WriteInitIniAtClose() {
  if (!layoutIni_) return true;
  const base::LayoutPrefs prefs = CurrentPrefs();
  return base::WriteLayoutPrefsAtClose(*layoutIni_, prefs, prefs.state == 0);
}

void TFrmMain::ReportLayoutWriteFailure() {
  Tell(this, tr("无法写入窗口设置文件%1：%2").arg(ToQString(layoutIni_->Path()), ToQString(layoutIni_->LastError())),
       tr("错误"), Icon::Error);
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (endingProgram_) {
    // The database was replaced: nothing of the old one is saved; the layout is.
    if (!WriteInitIniAtClose()) ReportLayoutWriteFailure();
    layoutIni_.reset();
    event->accept();
    return;
  }
  if (caseTree_->Loading()) {
    if (!AskYesNo(this, tr("是否停止显示案例？"), tr("显示案例"), Icon::Warning)) {
      Tell(this, tr("请等待案例加载完毕！"));
      event->ignore();
      return;
    }
    caseTree_->StopLoading();
  }
  if (!AskYesNo(this, tr("确定要关闭软件吗？"), tr("关闭"), Icon::Information)) {
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

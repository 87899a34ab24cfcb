// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_main.h"

#include <QHBoxLayout>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/ini_file.h"
#include "calendar/yi_date_ex.h"
#include "cases/case_search.h"
#include "cases/case_tree.h"
#include "chart/quorin_day.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/chart_inputs_panel.h"
#include "ui/chart_view.h"
#include "ui/search_page.h"
#include "ui/labeled_edit.h"
#include "ui/text_edit_sink.h"

namespace quorin::ui {

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowTitle(QStringLiteral("Quorin 2.3"));
  setFont(qtdraw::SongFont(10.5));  // 14 pixels at 96 dpi, the size the scaler reads

  // The engine first: the search page works with it.
  dateObject_ = std::make_unique<calendar::MYiDateEx>();
  canvas_ = std::make_unique<qtdraw::ImageCanvas>();
  engine_ = std::make_unique<chart::MQuorinDay>();
  loadingPass_ = std::make_unique<cases::CaseLoadingPass>();
  searchCriteria_ = std::make_unique<cases::CaseSearchCriteria>();
  BuildRegions();
  BuildMenus();
  BuildPopups();
  textSink_ = std::make_unique<TextEditSink>(RedtOut);

  // The initial state of a new window.
  record_.ResetRecord();
  savedRecord_.ResetRecord();
  rememberedPillars_ = {};
  SetChartShown(false);
  caseOpen_ = false;
  // The creation step: the analysis text starts empty.
  RedtOut->clear();
}

TFrmMain::~TFrmMain() {
  // The loading pass posts to this window: it ends before anything of the window goes.
  loadingPass_->RequestStop();
  loadingPass_->Wait();
}

void TFrmMain::BuildRegions() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  Splitter1 = new QSplitter(Qt::Horizontal, central);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setChildrenCollapsible(false);
  Tree = new QTreeWidget(Splitter1);
  Tree->setObjectName(QStringLiteral("Tree"));
  Tree->setHeaderHidden(true);
  Tree->setMinimumWidth(base::LayoutPrefs::kMinTreeWidth);
  Tree->setContextMenuPolicy(Qt::CustomContextMenu);
  Tree->setUniformRowHeights(true);  // a hundred thousand nodes lay out at once

  PageMain = new QTabWidget(Splitter1);
  PageMain->setObjectName(QStringLiteral("PageMain"));
  // Narrow windows give the tree its saved width and the pages the rest, however little.
  PageMain->setMinimumSize(30, 30);
  Splitter1->addWidget(Tree);
  Splitter1->addWidget(PageMain);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  row->addWidget(Splitter1, 1);

  // Page 0: the chart image above, the stepping buttons and the remarks below.
  PanelPan = new QWidget;
  PanelPan->setObjectName(QStringLiteral("PanelPan"));
  auto* panLayout = new QVBoxLayout(PanelPan);
  panLayout->setContentsMargins(0, 0, 0, 0);
  Splitter3 = new QSplitter(Qt::Vertical, PanelPan);
  Splitter3->setObjectName(QStringLiteral("Splitter3"));
  Splitter3->setChildrenCollapsible(false);
  panLayout->addWidget(Splitter3);

  View = new ChartView(*canvas_, Splitter3);
  connect(View, &ChartView::Clicked, this, &TFrmMain::PassClickToChart);

  PanBelow = new QWidget(Splitter3);
  PanBelow->setObjectName(QStringLiteral("PanBelow"));
  auto* belowLayout = new QVBoxLayout(PanBelow);
  belowLayout->setContentsMargins(0, 0, 0, 0);
  belowLayout->setSpacing(0);
  Panel4 = new QWidget(PanBelow);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  auto* steps = new QHBoxLayout(Panel4);
  steps->setContentsMargins(2, 1, 2, 1);
  SpeedButton3 = MakeToolButton(QStringLiteral("SpeedButton3"), QStringLiteral("时--"), Panel4);
  SpeedButton4 = MakeToolButton(QStringLiteral("SpeedButton4"), QStringLiteral("时++"), Panel4);
  SpeedButton5 = MakeToolButton(QStringLiteral("SpeedButton5"), QStringLiteral("日--"), Panel4);
  SpeedButton6 = MakeToolButton(QStringLiteral("SpeedButton6"), QStringLiteral("日++"), Panel4);
  for (QToolButton* b : {SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6}) steps->addWidget(b);
  steps->addStretch(1);
  connect(SpeedButton3, &QToolButton::clicked, this, &TFrmMain::StepHourBack);
  connect(SpeedButton4, &QToolButton::clicked, this, &TFrmMain::StepHourForward);
  connect(SpeedButton5, &QToolButton::clicked, this, &TFrmMain::StepDayBack);
  connect(SpeedButton6, &QToolButton::clicked, this, &TFrmMain::StepDayForward);
  RedtPingYu = new QTextEdit(PanBelow);
  RedtPingYu->setObjectName(QStringLiteral("RedtPingYu"));
  RedtPingYu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RedtPingYu->setTabChangesFocus(false);
  RedtPingYu->setContextMenuPolicy(Qt::CustomContextMenu);
  RedtPingYu->setMinimumHeight(base::LayoutPrefs::kMinRemarkHeight);
  RedtPingYu->setPlainText(QStringLiteral("输入自己的评语:"));
  RedtPingYu->document()->setModified(false);
  belowLayout->addWidget(Panel4);
  belowLayout->addWidget(RedtPingYu, 1);
  Splitter3->addWidget(View);
  Splitter3->addWidget(PanBelow);
  Splitter3->setStretchFactor(0, 1);
  Splitter3->setStretchFactor(1, 0);
  PageMain->addTab(PanelPan, QStringLiteral("择日排盘"));

  // Page 1: the analysis text.
  RedtOut = new QTextEdit;
  RedtOut->setObjectName(QStringLiteral("RedtOut"));
  RedtOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RedtOut->setContextMenuPolicy(Qt::CustomContextMenu);
  PageMain->addTab(RedtOut, QStringLiteral("分析解盘"));

  // Page 2: the auspicious-moment search.
  PageSearch = new SearchPage(*engine_);
  PageSearch->setObjectName(QStringLiteral("PageSearch"));
  PageMain->addTab(PageSearch, QStringLiteral("查找吉课"));
  connect(PageSearch, &SearchPage::ChartRequested, this, &TFrmMain::ChartSearchResult);

  Inputs = new ChartInputsPanel(central);
  row->addWidget(Inputs, 0);
  connect(Inputs, &ChartInputsPanel::ChartRequested, this, &TFrmMain::BtnPaiClick);
  connect(Inputs, &ChartInputsPanel::NewRequested, this, &TFrmMain::NewCaseClick);
  connect(Inputs, &ChartInputsPanel::SaveRequested, this, &TFrmMain::SaveCaseClick);
  connect(Inputs, &ChartInputsPanel::DragonWaterFacingRequested, this, &TFrmMain::DragonWaterFacingClick);
}

}  // namespace quorin::ui

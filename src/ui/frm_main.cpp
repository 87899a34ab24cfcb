// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_main.h"

#include <QHBoxLayout>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/ini_file.h"
#include "calendar/yi_date_ex.h"
#include "cases/case_search.h"
#include "cases/shared_library.h"
#include "chart/quorin_day.h"
#include "qtdraw/fonts.h"
#include "qtdraw/image_canvas.h"
#include "ui/case_tree_panel.h"
#include "ui/chart_inputs_panel.h"
#include "ui/chart_view.h"
#include "ui/search_page.h"
#include "ui/labeled_edit.h"
#include "ui/program_objects.h"
#include "ui/text_edit_sink.h"

namespace quorin::ui {

TFrmMain::TFrmMain(QWidget* parent)
    : QMainWindow(parent), caseStore_(ProgramCaseStore()), localStore_(ProgramCaseStore()) {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowTitle(QStringLiteral("Quorin 2.3"));
  setFont(qtdraw::SongFont(10.5));  // 14 pixels at 96 dpi, the size the scaler reads

  // The engine first: the search page works with it.
  dateObject_ = std::make_unique<calendar::MYiDateEx>();
  canvas_ = std::make_unique<qtdraw::ImageCanvas>();
  engine_ = std::make_unique<chart::MQuorinDay>();
  searchCriteria_ = std::make_unique<cases::CaseSearchCriteria>();
  BuildRegions();
  BuildMenus();
  BuildPopups();
  textSink_ = std::make_unique<TextEditSink>(chartTextView_);

  // The initial state of a new window.
  record_.ResetRecord();
  savedRecord_.ResetRecord();
  rememberedPillars_ = {};
  SetChartShown(false);
  caseOpen_ = false;
  // The creation step: the analysis text starts empty.
  chartTextView_->clear();
}

// The tree's loading pass ends with the tree, before the window's parts go.
TFrmMain::~TFrmMain() = default;

void TFrmMain::BuildRegions() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  treeSplitter_ = new QSplitter(Qt::Horizontal, central);
  treeSplitter_->setObjectName(QStringLiteral("Splitter1"));
  treeSplitter_->setChildrenCollapsible(false);
  caseTree_ = new CaseTreePanel(caseStore_, treeSplitter_);
  ConnectCaseTree();

  pages_ = new QTabWidget(treeSplitter_);
  pages_->setObjectName(QStringLiteral("PageMain"));
  // Narrow windows give the tree its saved width and the pages the rest, however little.
  pages_->setMinimumSize(30, 30);
  treeSplitter_->addWidget(caseTree_);
  treeSplitter_->addWidget(pages_);
  treeSplitter_->setStretchFactor(0, 0);
  treeSplitter_->setStretchFactor(1, 1);
  row->addWidget(treeSplitter_, 1);

  pages_->addTab(BuildChartPage(), tr("择日排盘"));

  chartTextView_ = new QTextEdit;
  chartTextView_->setObjectName(QStringLiteral("RedtOut"));
  chartTextView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  chartTextView_->setContextMenuPolicy(Qt::CustomContextMenu);
  pages_->addTab(chartTextView_, tr("分析解盘"));

  searchPage_ = new SearchPage(*engine_);
  searchPage_->setObjectName(QStringLiteral("PageSearch"));
  pages_->addTab(searchPage_, tr("查找吉课"));
  connect(searchPage_, &SearchPage::ChartRequested, this, &TFrmMain::ChartSearchResult);

  Inputs = new ChartInputsPanel(central);
  row->addWidget(Inputs, 0);
  connect(Inputs, &ChartInputsPanel::ChartRequested, this, &TFrmMain::ChartFromInputs);
  connect(Inputs, &ChartInputsPanel::NewRequested, this, &TFrmMain::StartNewCase);
  connect(Inputs, &ChartInputsPanel::SaveRequested, this, &TFrmMain::SaveCase);
  connect(Inputs, &ChartInputsPanel::DragonWaterFacingRequested, this, &TFrmMain::EditDragonWaterFacing);
}

// The chart page: the chart picture above, the stepping buttons and the remarks below.
QWidget* TFrmMain::BuildChartPage() {
  chartPage_ = new QWidget;
  chartPage_->setObjectName(QStringLiteral("PanelPan"));
  auto* pageLayout = new QVBoxLayout(chartPage_);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  chartSplitter_ = new QSplitter(Qt::Vertical, chartPage_);
  chartSplitter_->setObjectName(QStringLiteral("Splitter3"));
  chartSplitter_->setChildrenCollapsible(false);
  pageLayout->addWidget(chartSplitter_);

  chartView_ = new ChartView(*canvas_, chartSplitter_);
  connect(chartView_, &ChartView::Clicked, this, &TFrmMain::PassClickToChart);

  auto* belowChart = new QWidget(chartSplitter_);
  belowChart->setObjectName(QStringLiteral("PanBelow"));
  auto* belowLayout = new QVBoxLayout(belowChart);
  belowLayout->setContentsMargins(0, 0, 0, 0);
  belowLayout->setSpacing(0);
  stepButtons_ = new QWidget(belowChart);
  stepButtons_->setObjectName(QStringLiteral("Panel4"));
  auto* steps = new QHBoxLayout(stepButtons_);
  steps->setContentsMargins(2, 1, 2, 1);
  const struct {
    const char* name;
    const char* caption;
    void (TFrmMain::*step)();
  } stepRows[] = {
      {"SpeedButton3", QT_TR_NOOP("时--"), &TFrmMain::StepHourBack},
      {"SpeedButton4", QT_TR_NOOP("时++"), &TFrmMain::StepHourForward},
      {"SpeedButton5", QT_TR_NOOP("日--"), &TFrmMain::StepDayBack},
      {"SpeedButton6", QT_TR_NOOP("日++"), &TFrmMain::StepDayForward},
  };
  for (const auto& [name, caption, step] : stepRows) {
    QToolButton* button = MakeToolButton(QString::fromLatin1(name), tr(caption), stepButtons_);
    steps->addWidget(button);
    connect(button, &QToolButton::clicked, this, step);
  }
  steps->addStretch(1);
  remarkEditor_ = new QTextEdit(belowChart);
  remarkEditor_->setObjectName(QStringLiteral("RedtPingYu"));
  remarkEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  remarkEditor_->setTabChangesFocus(false);
  remarkEditor_->setContextMenuPolicy(Qt::CustomContextMenu);
  remarkEditor_->setMinimumHeight(base::LayoutPrefs::kMinRemarkHeight);
  remarkEditor_->setPlainText(tr("输入自己的评语:"));
  remarkEditor_->document()->setModified(false);
  belowLayout->addWidget(stepButtons_);
  belowLayout->addWidget(remarkEditor_, 1);
  chartSplitter_->addWidget(chartView_);
  chartSplitter_->addWidget(belowChart);
  chartSplitter_->setStretchFactor(0, 1);
  chartSplitter_->setStretchFactor(1, 0);
  return chartPage_;
}

// The tree asks for the case commands; its loading shows in the caption.
void TFrmMain::ConnectCaseTree() {
  connect(caseTree_, &CaseTreePanel::OpenCaseRequested, this, &TFrmMain::OpenSelectedCase);
  connect(caseTree_, &CaseTreePanel::DeleteCaseRequested, this, &TFrmMain::DeleteSelectedCase);
  connect(caseTree_, &CaseTreePanel::CompareCasesRequested, this, &TFrmMain::CompareSelectedCases);
  connect(caseTree_, &CaseTreePanel::EditCategoriesRequested, this, &TFrmMain::EditCategories);
  connect(caseTree_, &CaseTreePanel::FuzzySearchRequested, this, &TFrmMain::FuzzySearch);
  connect(caseTree_, &CaseTreePanel::ConditionalSearchRequested, this, &TFrmMain::ConditionalSearch);
  connect(caseTree_, &CaseTreePanel::CaseMoved, this, &TFrmMain::KeepMovedCaseCategory);
  connect(caseTree_, &CaseTreePanel::LibraryRenumbered, this, &TFrmMain::ForgetOpenCase);
  connect(caseTree_, &CaseTreePanel::LoadingStarted, this, [this] { setWindowTitle(tr("数据处理.....")); });
  connect(caseTree_, &CaseTreePanel::LoadingProgress, this,
          [this](int remaining) { setWindowTitle(QString::number(remaining)); });
  connect(caseTree_, &CaseTreePanel::LoadingEnded, this, &TFrmMain::CaseLoadingEnded);
}

const QTextDocument& TFrmMain::RemarkDocument() const { return *remarkEditor_->document(); }

}  // namespace quorin::ui

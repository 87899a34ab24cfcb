#include "ui/frm_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QScrollBar>
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
#include "ui/frm_main_search.h"
#include "ui/text_edit_sink.h"
#include "ui/up_down.h"

namespace quorin::ui {

namespace {

QToolButton* SpeedButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  return button;
}

}  // namespace

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
  BuildPanel2();
  BuildMenus();
  BuildPopups();
  textSink_ = std::make_unique<TextEditSink>(RedtOut);

  // The initial state of a new window.
  record_.ResetRecord();
  savedRecord_.ResetRecord();
  rememberedPillars_ = {};
  chartShown_ = false;
  caseOpen_ = false;
  dragging_ = false;
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
  Tree->setMinimumWidth(LayoutPrefs::kMinTreeWidth);
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

  PanAbove = new QWidget(Splitter3);
  PanAbove->setObjectName(QStringLiteral("PanAbove"));
  auto* aboveLayout = new QVBoxLayout(PanAbove);
  aboveLayout->setContentsMargins(0, 0, 0, 0);
  BoxPanel = new QScrollArea(PanAbove);
  BoxPanel->setObjectName(QStringLiteral("BoxPanel"));
  BoxPanel->setWidgetResizable(false);
  auto* surface = new QWidget;
  surface->setObjectName(QStringLiteral("BoxPanelSurface"));
  BoxPanel->setWidget(surface);
  ImgPan = new QLabel(surface);
  ImgPan->setObjectName(QStringLiteral("ImgPan"));
  ImgPan->setContextMenuPolicy(Qt::CustomContextMenu);
  ImgPan->installEventFilter(this);
  BoxPanel->viewport()->installEventFilter(this);
  aboveLayout->addWidget(BoxPanel);

  PanBelow = new QWidget(Splitter3);
  PanBelow->setObjectName(QStringLiteral("PanBelow"));
  auto* belowLayout = new QVBoxLayout(PanBelow);
  belowLayout->setContentsMargins(0, 0, 0, 0);
  belowLayout->setSpacing(0);
  Panel4 = new QWidget(PanBelow);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  auto* steps = new QHBoxLayout(Panel4);
  steps->setContentsMargins(2, 1, 2, 1);
  SpeedButton3 = SpeedButton(QStringLiteral("SpeedButton3"), QStringLiteral("时--"), Panel4);
  SpeedButton4 = SpeedButton(QStringLiteral("SpeedButton4"), QStringLiteral("时++"), Panel4);
  SpeedButton5 = SpeedButton(QStringLiteral("SpeedButton5"), QStringLiteral("日--"), Panel4);
  SpeedButton6 = SpeedButton(QStringLiteral("SpeedButton6"), QStringLiteral("日++"), Panel4);
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
  RedtPingYu->setMinimumHeight(LayoutPrefs::kMinRemarkHeight);
  RedtPingYu->setPlainText(QStringLiteral("输入自己的评语:"));
  RedtPingYu->document()->setModified(false);
  belowLayout->addWidget(Panel4);
  belowLayout->addWidget(RedtPingYu, 1);
  Splitter3->addWidget(PanAbove);
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

  // The inputs scroll when the window is too low to show them all; 存新 and 排盘 stay
  // below them, so a large interface font never hides them.
  auto* inputsColumn = new QWidget(central);
  inputsColumn->setObjectName(QStringLiteral("Panel2Column"));
  auto* inputsLayout = new QVBoxLayout(inputsColumn);
  inputsLayout->setContentsMargins(0, 0, 0, 0);
  inputsLayout->setSpacing(0);
  auto* inputsScroll = new QScrollArea(inputsColumn);
  inputsScroll->setObjectName(QStringLiteral("Panel2Scroll"));
  inputsScroll->setFrameShape(QFrame::NoFrame);
  inputsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  inputsScroll->setWidgetResizable(true);
  Panel2 = new QWidget;
  Panel2->setObjectName(QStringLiteral("Panel2"));
  inputsScroll->setWidget(Panel2);
  inputsLayout->addWidget(inputsScroll, 1);
  Panel2Buttons = new QWidget(inputsColumn);
  Panel2Buttons->setObjectName(QStringLiteral("Panel2Buttons"));
  inputsLayout->addWidget(Panel2Buttons, 0);
  row->addWidget(inputsColumn, 0);
}

void TFrmMain::BuildPanel2() {
  // 110 wide, and the scroll bar's width more when the window is too low for the panel.
  auto* scroll = static_cast<QScrollArea*>(Panel2->parentWidget()->parentWidget());
  Panel2->setMinimumWidth(110);
  scroll->setFixedWidth(110 + scroll->verticalScrollBar()->sizeHint().width());
  auto* column = new QVBoxLayout(Panel2);
  column->setContentsMargins(3, 3, 3, 3);
  column->setSpacing(3);
  const auto labelled = [&](QWidget* control, const QString& caption) {
    auto* label = new QLabel(caption, Panel2);
    label->setBuddy(control);
    column->addWidget(label);
  };
  const auto pair = [&](QWidget* left, QWidget* right, int leftStretch = 1) {
    auto* line = new QHBoxLayout;
    line->setSpacing(2);
    line->addWidget(left, leftStretch);
    line->addWidget(right, 0);
    column->addLayout(line);
  };

  BtoNew = new QPushButton(QStringLiteral("新建"), Panel2);
  BtoNew->setObjectName(QStringLiteral("BtoNew"));
  BtoNew->setToolTip(QStringLiteral("新建日课"));
  column->addWidget(BtoNew);

  EdtName = new QLineEdit(QStringLiteral("某人"), Panel2);
  EdtName->setObjectName(QStringLiteral("EdtName"));
  EdtName->setMaxLength(10);
  labelled(EdtName, QStringLiteral("主命姓名"));
  column->addWidget(EdtName);
  LedtZhuYear = new QLineEdit(QStringLiteral("1978"), Panel2);
  LedtZhuYear->setObjectName(QStringLiteral("LedtZhuYear"));
  labelled(LedtZhuYear, QStringLiteral("主命生年"));
  column->addWidget(LedtZhuYear);

  auto* sexBox = new QWidget(Panel2);
  auto* sexRow = new QHBoxLayout(sexBox);
  sexRow->setContentsMargins(0, 0, 0, 0);
  Rdona = new QRadioButton(QStringLiteral("男"), sexBox);
  Rdona->setObjectName(QStringLiteral("Rdona"));
  Rdonv = new QRadioButton(QStringLiteral("女"), sexBox);
  Rdonv->setObjectName(QStringLiteral("Rdonv"));
  Rdona->setChecked(true);
  sexRow->addWidget(Rdona);
  sexRow->addWidget(Rdonv);
  column->addWidget(sexBox);

  CboShan = new QComboBox(Panel2);
  CboShan->setObjectName(QStringLiteral("CboShan"));
  CboShan->setMaxVisibleItems(24);
  labelled(CboShan, QStringLiteral("山家"));
  SpeedButton7 = SpeedButton(QStringLiteral("SpeedButton7"), QStringLiteral(">"), Panel2);
  SpeedButton7->setToolTip(QStringLiteral("周天度求山卦"));
  pair(CboShan, SpeedButton7);
  CboGua = new QComboBox(Panel2);
  CboGua->setObjectName(QStringLiteral("CboGua"));
  column->addWidget(CboGua);
  Button1 = new QPushButton(QStringLiteral("龙-水-向"), Panel2);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setToolTip(QStringLiteral("选择龙-水-向"));
  column->addWidget(Button1);

  auto* yearBox = new QWidget(Panel2);
  auto* yearRow = new QHBoxLayout(yearBox);
  yearRow->setContentsMargins(0, 0, 0, 0);
  yearRow->setSpacing(1);
  SpeedButton1 = SpeedButton(QStringLiteral("SpeedButton1"), QString(), yearBox);
  SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  SpeedButton1->setToolTip(QStringLiteral("现在时间"));
  EdtYear = new QLineEdit(yearBox);
  EdtYear->setObjectName(QStringLiteral("EdtYear"));
  // Five characters hold every year of the span, -4713 included: a shorter limit would
  // also cut the years the program itself writes into the box.
  EdtYear->setMaxLength(5);
  EdtYear->setToolTip(QStringLiteral("年份在-850至2100"));
  QFont bold = EdtYear->font();
  bold.setBold(true);
  EdtYear->setFont(bold);
  UpDyear = new UpDown(-4712, 9999, yearBox);
  UpDyear->setObjectName(QStringLiteral("UpDyear"));
  yearRow->addWidget(SpeedButton1);
  yearRow->addWidget(EdtYear, 1);
  yearRow->addWidget(UpDyear);
  column->addWidget(yearBox);

  const auto list = [&](const QString& name) {
    auto* combo = new QComboBox(Panel2);
    combo->setObjectName(name);
    return combo;
  };
  cbom = list(QStringLiteral("cbom"));
  cbod = list(QStringLiteral("cbod"));
  cbos = list(QStringLiteral("cbos"));
  cbomin = list(QStringLiteral("cbomin"));
  column->addWidget(cbom);
  column->addWidget(cbod);
  column->addWidget(cbos);
  column->addWidget(cbomin);

  auto* calendarBox = new QWidget(Panel2);
  auto* calendarRow = new QHBoxLayout(calendarBox);
  calendarRow->setContentsMargins(0, 0, 0, 0);
  Rdogl = new QRadioButton(QStringLiteral("公历"), calendarBox);
  Rdogl->setObjectName(QStringLiteral("Rdogl"));
  Rdonl = new QRadioButton(QStringLiteral("农历"), calendarBox);
  Rdonl->setObjectName(QStringLiteral("Rdonl"));
  Rdogl->setChecked(true);
  calendarRow->addWidget(Rdogl);
  calendarRow->addWidget(Rdonl);
  column->addWidget(calendarBox);
  Chkrun = new QCheckBox(QStringLiteral("农历闰月"), Panel2);
  Chkrun->setObjectName(QStringLiteral("Chkrun"));
  column->addWidget(Chkrun);

  cbodiZ = list(QStringLiteral("cbodiZ"));
  cbodiZ->setToolTip(QStringLiteral("真太阳时可在菜单\"选项->排盘设置\"里设定"));
  cbodiZ->setMaxVisibleItems(20);
  column->addWidget(cbodiZ);
  cbodiC = list(QStringLiteral("cbodiC"));
  cbodiC->setToolTip(QStringLiteral("选择邻近城市"));
  cbodiC->setMaxVisibleItems(20);
  SpeedButton2 = SpeedButton(QStringLiteral("SpeedButton2"), QStringLiteral(">"), Panel2);
  SpeedButton2->setToolTip(QStringLiteral("输入县市名"));
  pair(cbodiC, SpeedButton2);

  column->addStretch(1);
  auto* buttons = new QVBoxLayout(Panel2Buttons);
  buttons->setContentsMargins(3, 3, 3, 3);
  buttons->setSpacing(3);
  SbtoSave = new QPushButton(QStringLiteral("存新"), Panel2Buttons);
  SbtoSave->setObjectName(QStringLiteral("SbtoSave"));
  SbtoSave->setToolTip(QStringLiteral("保存八字"));
  buttons->addWidget(SbtoSave);
  BtnPai = new QPushButton(QStringLiteral("排盘"), Panel2Buttons);
  BtnPai->setObjectName(QStringLiteral("BtnPai"));
  buttons->addWidget(BtnPai);

  // Long lists must not widen the fixed panel.
  for (QComboBox* combo : Panel2->findChildren<QComboBox*>()) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(3);
  }

  connect(BtnPai, &QPushButton::clicked, this, &TFrmMain::BtnPaiClick);
  connect(CboShan, &QComboBox::activated, this, &TFrmMain::CboShanChange);
  connect(cbodiZ, &QComboBox::activated, this, &TFrmMain::cbodiZClick);
  connect(SpeedButton1, &QToolButton::clicked, this, &TFrmMain::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TFrmMain::SpeedButton2Click);
  connect(SpeedButton7, &QToolButton::clicked, this, &TFrmMain::SpeedButton7Click);
  connect(UpDyear, &UpDown::Clicked, this, &TFrmMain::UpDyearClick);
  connect(BtoNew, &QPushButton::clicked, this, &TFrmMain::NewCaseClick);
  connect(SbtoSave, &QPushButton::clicked, this, &TFrmMain::SaveCaseClick);
  connect(Button1, &QPushButton::clicked, this, &TFrmMain::DragonWaterFacingClick);
}

}  // namespace quorin::ui

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main window: case tree on the left, the chart, analysis and search
// pages in the middle, the chart inputs on the right.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calendar/calendar_types.h"
#include "chart/record_data.h"
#include "skin/skin_engine.h"
#include "base/layout_prefs.h"

class QAction;
class QActionGroup;
class QMenu;
class QSplitter;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorin::base {
class IniFile;
}
namespace quorin::calendar {
class MYiDateEx;
}
namespace quorin::chart {
class MQuorinDay;
}
namespace quorin::cases {
class CaseLoadingPass;
class MRecordBase;
struct CaseLoadResult;
struct CaseSearchCriteria;
}
namespace quorin::qtdraw {
class ImageCanvas;
}

namespace quorin::ui {

class ChartInputsPanel;
class ChartView;
class SearchPage;
class TextEditSink;

// The newest cases the tree shows at start and after another program renumbered the cases; the
// rest load on request (显示全部课例), so a large library opens at once.
inline constexpr int kCasesShownAtStart = 1000;

class TFrmMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrmMain(QWidget* parent = nullptr);
  ~TFrmMain() override;

  // --- Left: the case tree.
  QTreeWidget* Tree;
  QSplitter* Splitter1;
  QMenu* PopGuaLi;
  QMenu* pop_ming_move;  // "移动到": one item per other category node
  // --- Middle: the three pages.
  QTabWidget* PageMain;
  QWidget* PanelPan;
  ChartView* View;  // the chart picture in its scroll box (PanAbove)
  QSplitter* Splitter3;
  QWidget* PanBelow;
  QWidget* Panel4;
  QToolButton* SpeedButton3;  // 时--
  QToolButton* SpeedButton4;  // 时++
  QToolButton* SpeedButton5;  // 日--
  QToolButton* SpeedButton6;  // 日++
  QTextEdit* RedtPingYu;
  QTextEdit* RedtOut;
  SearchPage* PageSearch;  // "查找吉课"
  QMenu* PopRdtOut;
  QMenu* PopPingYu;
  // --- Right: the chart inputs (Panel2 and the 存新/排盘 strip).
  ChartInputsPanel* Inputs;
  // --- Menus.
  QMenu* Opt_Skin;

  // The action of a menu item by its component name (nullptr when none).
  QAction* MenuAction(const QString& name) const;

  // State other commands read.
  bool ChartShown() const { return chartShown_; }
  const TRecordData& ChartRecord() const { return record_; }
  TRecordData& ChartRecord() { return record_; }
  chart::MQuorinDay& Engine() { return *engine_; }
  // The chart image as last drawn by the engine, and the canvas it is drawn on.
  const QImage& ChartImage() const;
  qtdraw::ImageCanvas& ChartCanvas() { return *canvas_; }

  // --- The case tree.
  // Reads the cases of the ids and rebuilds the tree in the current style and order.
  void ShowCases(const std::vector<int>& ids);
  // The ids of all case nodes, in tree order.
  std::vector<int> CurrentCaseIds() const;
  QTreeWidgetItem* FindCaseNode(int id) const;
  // The id of the selected node when it is a case node, else -1.
  int SelectedCaseId() const;
  // The top-level nodes with their texts, in tree order; empty in the list display.
  std::vector<std::pair<QString, QTreeWidgetItem*>> CategoryNodes() const;
  // Shows the number of cases in "案例总数".
  void SetCaseCount(int count);
  int CaseCount() const { return caseCount_; }
  // A loading pass or a rebuild fills the tree; the case commands wait for it.
  bool TreeLoading() const { return treeLoading_; }
  int TreeShowStyle() const { return treeShowStyle_; }
  int TreeSort() const { return treeSort_; }

  // --- The open case.
  bool CaseOpen() const { return caseOpen_; }
  int CurrentCaseId() const { return currentCaseId_; }
  const std::string& CurrentRemarkPath() const { return currentRemarkPath_; }
  const TRecordData& SavedRecord() const { return savedRecord_; }
  const cases::CaseSearchCriteria& SearchCriteria() const { return *searchCriteria_; }

  // Runs the start-up steps of the first show (called from the show event; tests may
  // call it before showing).
  void PrepareOnFirstShow();

 public slots:
  // Chart workflow.
  void BtnPaiClick();
  void StepHourBack();    // 时--
  void StepHourForward(); // 时++
  void StepDayBack();     // 日--
  void StepDayForward();  // 日++
  void CentreChartImage();
  // A result line of the search page was double-clicked: chart that moment (astronomical
  // year, hour tested at minute 5) with the search's person, mountain, dragon and water.
  void ChartSearchResult(int year, int month, int day, int hour);
  // Options.
  void OsetmoClick();
  void OmnusetfontClick();
  void OmnusetcolorClick();
  void OmenuSetClick();
  void N9Click();   // chart font larger
  void N10Click();  // chart font smaller
  void N2Click();   // place coordinates
  void ChooseSkin(QAction* item);
  // Analysis text, remarks and chart image.
  void SetSelectionFont(QTextEdit* editor);
  void RlyimportClick();
  void SaveTextAs(QTextEdit* editor);
  void PrintText(QTextEdit* editor);

  // Case commands.
  void SaveCaseClick();           // mnuF_save, SbtoSave
  void NewCaseClick();            // BtoNew
  void OpenCaseClick();           // pop_ming_pai, Tree double-click
  void DeleteCaseClick();         // pop_ming_delete
  void MoveCaseTo(const QString& category);  // an item of pop_ming_move
  void EditClassClick();          // N23
  void FuzzySearchClick();        // N25
  void ConditionalSearchClick();  // pop_search
  void ShowAllCasesClick();       // pop_s_full
  // Lists found cases; the picked one is shown in the tree and opened.
  void ShowSearchResults(const std::vector<int>& ids);
  // Fills "移动到" for the selected node (runs on every right click on the tree).
  void PrepareTreePopup();
  // Whole-database commands of the file menu.
  void RestoreCasesClick();       // N17
  void BackUpCasesClick();        // N18
  void DeleteAllCasesClick();     // N19
  void CompactCasesClick();       // N20
  void ImportCasesClick();        // db1
  void ExportCasesClick();        // db2
  // Other windows.
  void OpenHelpFileClick();       // smnuduan
  void ReversePillarSearchClick();// N5
  void IChingTextClick();         // N6
  void PerpetualCalendarClick();  // Tmnuwnl
  void HelpTextClick();           // HmnuRhelp
  void DragonWaterFacingClick();  // Button1
  void TreeStyleChanged(QAction* item);
  // "刷新显示": rebuilds the case tree with its own cases.
  void RefreshTree();
  // The open case becomes a new one (存新): its id no longer names it.
  void ForgetOpenCase();
  // Adds the node of a case just saved where the tree's order puts it.
  void PlaceNewCaseNode(const TRecordData& record, int id);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildRegions();
  void BuildMenus();
  void BuildPopups();
  void BuildSkinMenu(const base::LayoutPrefs& prefs);
  // Marks the skin in use, or 系统默认 when none is.
  void SyncSkinChecks();
  void ApplyLayout(const base::LayoutPrefs& prefs);
  void OpenCaseDatabase();
  void StepMoment(double days);
  // Computes the chart of the chart record and shows it (the chart page comes to the
  // front); the engine's message on failure.
  bool ComputeChart();
  // Whether the chart record's chart is shown; only then does the picture take clicks.
  void SetChartShown(bool shown);
  void ShowChartImage();
  void PassClickToChart(QPoint at);
  void StepChartFont(int delta);
  bool WriteInitIniAtClose();
  base::LayoutPrefs CurrentPrefs() const;
  QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);
  void ReportLayoutWriteFailure();
  // The case tree.
  bool RefuseWhileLoading();
  // The nodes of a finished load, or its error told; a cancelled or stopped load
  // leaves the tree as it is.
  void TakeLoadResult(const cases::CaseLoadResult& result);
  void PlaceItems(const cases::CaseLoadResult& result);
  void FinishTreeWork();
  void LoadingPassFinished(int generation, const cases::CaseLoadResult& result);
  void SyncStyleChecks();
  QTreeWidgetItem* SelectedNode() const;
  QTreeWidgetItem* CategoryNodeFor(const QString& name);
  // The case commands.
  void SaveOpenCase(cases::MRecordBase& store);
  void SaveNewCase(cases::MRecordBase& store);
  void ShowRemark(cases::MRecordBase& store, const TRecordData& record);
  std::string RemarkTextOfEditor() const;
  void KeepOpenCaseCategory(cases::MRecordBase& store);
  // Asks whether the changed remark of the open case is to be saved, and saves it on Yes.
  // False when Yes was answered but the remark could not be saved: the caller stops, so
  // that the remark is not dropped.
  bool OfferToSaveOpenRemark(const QString& question = QStringLiteral("当前评语文本已改变，要保存吗？"));
  // The whole-database commands.
  void ShowProgressLine(const std::string& line);
  // Closes the window without questions after the database was replaced; the layout is saved.
  void EndProgram();

  // Owned per window.
  std::unique_ptr<calendar::MYiDateEx> dateObject_;
  std::unique_ptr<qtdraw::ImageCanvas> canvas_;
  std::unique_ptr<TextEditSink> textSink_;
  std::unique_ptr<chart::MQuorinDay> engine_;
  TRecordData record_;
  TRecordData savedRecord_;
  calendar::FourPillars rememberedPillars_{};  // handed to and taken back from the reverse search
  bool chartShown_ = false;
  bool caseOpen_ = false;
  int currentCaseId_ = 0;
  std::unique_ptr<base::IniFile> layoutIni_;
  int treeShowStyle_ = 1;
  int treeSort_ = 0;
  int pendingState_ = -1;
  bool treeLoading_ = false;  // a background pass or a rebuild fills the tree
  bool rebuildOnStack_ = false;  // the nodes are being placed in this thread
  bool stopTreeWork_ = false;    // closing asked the loading to stop
  bool closeAfterStop_ = false;  // the close waits for the placing to unwind
  bool endingProgram_ = false;   // the database was replaced: close without questions
  int loadGeneration_ = 0;       // results of older passes are dropped
  int caseCount_ = 0;
  std::string currentRemarkPath_;
  std::unique_ptr<cases::CaseLoadingPass> loadingPass_;
  std::unique_ptr<cases::CaseSearchCriteria> searchCriteria_;
  bool prepared_ = false;
  QActionGroup* styleGroup_ = nullptr;
  QActionGroup* sortGroup_ = nullptr;
  QActionGroup* skinGroup_ = nullptr;
  skin::SkinEngine skin_;
};

}  // namespace quorin::ui

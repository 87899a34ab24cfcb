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
#include "ui/layout_prefs.h"
#include "ui/places.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
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

class SearchPage;
class TextEditSink;
class UpDown;

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
  QWidget* PanAbove;
  QScrollArea* BoxPanel;
  QLabel* ImgPan;
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
  QMenu* PopImgPan;
  // --- Right: the chart inputs.
  QWidget* Panel2;
  QWidget* Panel2Buttons;  // 存新 and 排盘, below the scrolling inputs
  QPushButton* BtoNew;
  QLineEdit* EdtName;
  QLineEdit* LedtZhuYear;
  QRadioButton* Rdona;
  QRadioButton* Rdonv;
  QComboBox* CboShan;
  QToolButton* SpeedButton7;
  QComboBox* CboGua;
  QPushButton* Button1;
  QToolButton* SpeedButton1;
  QLineEdit* EdtYear;
  UpDown* UpDyear;
  QComboBox* cbom;
  QComboBox* cbod;
  QComboBox* cbos;
  QComboBox* cbomin;
  QRadioButton* Rdogl;
  QRadioButton* Rdonl;
  QCheckBox* Chkrun;
  QComboBox* cbodiZ;
  QToolButton* SpeedButton2;
  QComboBox* cbodiC;
  QPushButton* SbtoSave;
  QPushButton* BtnPai;
  // --- Menus.
  QMenu* Opt_Skin;

  // The action of a menu item by its component name (nullptr when none).
  QAction* MenuAction(const QString& name) const;

  // State other commands read.
  bool ChartShown() const { return chartShown_; }
  const TRecordData& ChartRecord() const { return record_; }
  TRecordData& ChartRecord() { return record_; }
  chart::MQuorinDay& Engine() { return *engine_; }
  const std::vector<Coordinates>& CityCoordinates() const { return cityCoordinates_; }
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
  void CboShanChange();
  void cbodiZClick();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton7Click();
  void UpDyearClick();
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
  void CopyChartImage();
  void SaveChartImageAs();
  void PrintChartImage();

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

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildRegions();
  void BuildPanel2();
  void BuildMenus();
  void BuildPopups();
  void BuildSkinMenu(const LayoutPrefs& prefs);
  // Marks the skin in use, or 系统默认 when none is.
  void SyncSkinChecks();
  void FillFixedLists();
  void ApplyLayout(const LayoutPrefs& prefs);
  void OpenCaseDatabase();
  void SetDateInputsToNow(int yearCap);
  void SetYearInputs(int astronomicalYear);
  void SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute);
  void SelectMountainAndGua(int mountain, int guaPosition);
  void StepMoment(double days);
  // Computes the chart of the chart record and shows it (the chart page comes to the
  // front); the engine's message on failure.
  bool ComputeChart();
  void ShowChartImage();
  void FitScrollSurface();
  void PassClickToChart(QPoint at);
  void StepChartFont(int delta);
  bool WriteInitIniAtClose();
  LayoutPrefs CurrentPrefs() const;
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
  void ShowRecordInInputs(const TRecordData& record);
  void ShowRemark(cases::MRecordBase& store, const TRecordData& record);
  void SetSaveButtonOpen(bool open);
  std::string RemarkTextOfEditor() const;
  bool WriteRemarkFile(const std::string& path);
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
  std::vector<Coordinates> cityCoordinates_;
  calendar::FourPillars rememberedPillars_{};  // handed to and taken back from the reverse search
  bool chartShown_ = false;
  bool caseOpen_ = false;
  int currentCaseId_ = 0;
  bool dragging_ = false;
  QPoint dragStart_;
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

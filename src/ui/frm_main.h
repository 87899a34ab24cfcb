// The program's main window: case tree on the left, the chart, analysis and search
// pages in the middle, the chart inputs on the right.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "cases/record_data.h"
#include "ui/layout_prefs.h"
#include "ui/places.h"
#include "calendar/calendar_types.h"
#include "skin/skin_engine.h"
#include "ui/skin_files.h"

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

namespace quorin::base {
class IniFile;
}
namespace quorin::calendar {
class MYiDateEx;
}
namespace quorin::chart {
class MQuorinDay;
}

namespace quorin::ui {

class ImageCanvas;
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
  ImageCanvas& ChartCanvas() { return *canvas_; }

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

  // Commands whose windows come with the case, calendar, I Ching and help work; their
  // menu items stay disabled until those fill these slots.
  void SaveCaseClick();           // mnuF_save, SbtoSave
  void NewCaseClick();            // BtoNew
  void RestoreCasesClick();       // N17
  void BackUpCasesClick();        // N18
  void DeleteAllCasesClick();     // N19
  void CompactCasesClick();       // N20
  void ImportCasesClick();        // db1
  void ExportCasesClick();        // db2
  void OpenHelpFileClick();       // smnuduan
  void ReversePillarSearchClick();// N5
  void IChingTextClick();         // N6
  void PerpetualCalendarClick();  // Tmnuwnl
  void HelpTextClick();           // HmnuRhelp
  void DragonWaterFacingClick();  // Button1
  void TreeStyleChanged(QAction* item);
  // Rebuilds the case tree in the chosen style and order (the case tree's work).
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
  void FillFixedLists();
  void ApplyLayout(const LayoutPrefs& prefs);
  void OpenCaseDatabase();
  void SetDateInputsToNow(int yearCap);
  void SetYearInputs(int astronomicalYear);
  void SetMomentInputs(int astronomicalYear, int month, int day, int hour, int minute);
  void SelectMountainAndGua(int mountain, int guaPosition);
  void StepMoment(double days);
  void ShowChartImage();
  void FitScrollSurface();
  void PassClickToChart(QPoint at);
  void StepChartFont(int delta);
  bool WriteInitIniAtClose();
  LayoutPrefs CurrentPrefs() const;
  QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);
  void ReportLayoutWriteFailure();

  // Owned per window.
  std::unique_ptr<calendar::MYiDateEx> dateObject_;
  std::unique_ptr<ImageCanvas> canvas_;
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
  bool treeLoading_ = false;  // a background pass fills the tree
  bool prepared_ = false;
  QActionGroup* styleGroup_ = nullptr;
  QActionGroup* sortGroup_ = nullptr;
  QActionGroup* skinGroup_ = nullptr;
  skin::SkinEngine skin_;
};

}  // namespace quorin::ui

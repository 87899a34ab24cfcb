// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main window. It coordinates its parts: the case tree on the left
// (CaseTreePanel), the chart, analysis and search pages in the middle (ChartView with the
// remarks below it, the analysis text, SearchPage), the chart inputs on the right
// (ChartInputsPanel) and the menus; the commands that join them are its own.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <memory>
#include <optional>
#include <string>

#include "base/layout_prefs.h"
#include "calendar/calendar_types.h"
#include "chart/record_data.h"
#include "skin/skin_engine.h"

class QAction;
class QActionGroup;
class QMenu;
class QSplitter;
class QTabWidget;
class QTextDocument;
class QTextEdit;

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
class CaseStore;
class MRecordBase;
class SharedLibrary;
struct CaseSearchCriteria;
struct StoredCase;
}
namespace quorin::qtdraw {
class ImageCanvas;
}

namespace quorin::ui {

class CaseTreePanel;
class ChartInputsPanel;
class LibraryWatcher;
class ChartView;
class SearchPage;
class TextEditSink;

class TFrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // Works with the program's case store (none: the window runs without a case library).
  explicit TFrmMain(QWidget* parent = nullptr);
  ~TFrmMain() override;

  // The chart inputs at the right.
  ChartInputsPanel* Inputs;

  // The action of a menu item by its component name (nullptr when none).
  QAction* MenuAction(const QString& name) const;
  CaseTreePanel& CaseTree() { return *caseTree_; }
  const CaseTreePanel& CaseTree() const { return *caseTree_; }
  // The remarks (评语) below the chart picture, as the date sheet prints them.
  const QTextDocument& RemarkDocument() const;

  // The chart on screen.
  bool ChartShown() const { return chartShown_; }
  const TRecordData& ChartRecord() const { return record_; }
  TRecordData& ChartRecord() { return record_; }
  chart::MQuorinDay& Engine() { return *engine_; }
  // The chart image as last drawn by the engine, and the canvas it is drawn on.
  const QImage& ChartImage() const;
  qtdraw::ImageCanvas& ChartCanvas() { return *canvas_; }

  // The open case.
  bool CaseOpen() const { return caseOpen_; }
  int CurrentCaseId() const { return currentCaseId_; }
  // The remark file of the open case in the local library; empty in the shared one, which keeps
  // remarks in the database.
  std::string CurrentRemarkPath() const;
  const TRecordData& SavedRecord() const { return savedRecord_; }
  const cases::CaseSearchCriteria& SearchCriteria() const { return *searchCriteria_; }

  // Runs the start-up steps of the first show (called from the show event; tests may
  // call it before showing).
  void PrepareOnFirstShow();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // --- The parts and the menus (frm_main.cpp, frm_main_menus.cpp).
  void BuildRegions();
  QWidget* BuildChartPage();
  void ConnectCaseTree();
  void BuildMenus();
  void BuildPopups();
  void BuildSkinMenu(const base::LayoutPrefs& prefs);
  // Marks the skin in use, or 系统默认 when none is.
  void SyncSkinChecks();
  void ChooseSkin(QAction* item);

  // --- Start-up, layout and closing (frm_main_lifecycle.cpp).
  void ApplyLayout(const base::LayoutPrefs& prefs);
  void ApplySavedWindowState();
  void OpenCaseDatabase();
  // The loading pass of the case tree ended: the caption, and the window state kept for then.
  void CaseLoadingEnded(bool wholeLibrary);
  bool WriteInitIniAtClose();
  base::LayoutPrefs CurrentPrefs() const;
  void ReportLayoutWriteFailure();

  // --- The chart (frm_main_chart.cpp).
  // 排盘: charts the inputs. `fold` says which of a zone's clock time that came twice is meant;
  // 0 asks the user.
  void ChartFromInputs() { ChartFromInputsWithFold(0); }
  void ChartFromInputsWithFold(int fold);
  // A zoned record's clock time that came twice: asks which is meant and sets the record's fold;
  // false when the user cancels. Nothing to ask otherwise.
  bool ChooseRepeatedClockTime(TRecordData& record);
  void StepHourBack();     // 时--
  void StepHourForward();  // 时++
  void StepDayBack();      // 日--
  void StepDayForward();   // 日++
  void StepMoment(double days);
  // A result line of the search page was double-clicked: chart that moment (astronomical
  // year, hour tested at minute 5) with the search's person, mountain, dragon and water.
  void ChartSearchResult(int year, int month, int day, int hour);
  // Computes the chart of the chart record and shows it (the chart page comes to the
  // front); the engine's message on failure.
  bool ComputeChart();
  // Whether the chart record's chart is shown; only then does the picture take clicks.
  void SetChartShown(bool shown);
  void ShowChartImage();
  void CentreChartImage();
  void PassClickToChart(QPoint at);
  void EnlargeChartFont();
  void ShrinkChartFont();
  void StepChartFont(int delta);

  // --- Options and the other windows (frm_main_options.cpp).
  void ResetChartTextLook();         // 文本设置 → 默认
  void ChooseChartTextFont();        // 文本设置 → 字体设置
  void ChooseChartTextBackground();  // 文本设置 → 背景色设置
  void OpenChartSettings();          // 排盘设置
  void EditPlaceCoordinates();       // 经纬度设置
  void EditOwnPlaces();              // 自定地点
  void EditDragonWaterFacing();
  void ReversePillarSearch();        // 四柱排盘
  void ShowIChingTexts();            // 易经卦爻辞
  void ShowPerpetualCalendar();      // 万年历
  void ShowProgramHelp();            // 软件帮助
  void ShowHelpDocument();           // 玄空择日

  // --- The analysis text and the remarks (frm_main_text.cpp).
  void SetSelectionFont(QTextEdit* editor);
  void ImportChartText();
  void SaveTextAs(QTextEdit* editor);
  void PrintText(QTextEdit* editor);

  // --- The case commands (frm_main_cases.cpp, frm_main_case_search.cpp).
  void SaveCase();  // 保存课例, 存新/存旧
  void StartNewCase();  // 新建
  void OpenSelectedCase();  // 查看课例, a double-click on a case
  void DeleteSelectedCase();
  // 对比所选日课 of the tree: the selected cases side by side, judged by the search page's conditions.
  void CompareSelectedCases();
  void EditCategories();
  void FuzzySearch();
  void ConditionalSearch();
  // Lists found cases; the picked one is shown in the tree and opened.
  void ShowSearchResults(const std::vector<int>& ids);
  // The open case becomes a new one (存新): its id no longer names it.
  void ForgetOpenCase();
  // "移动到" moved a case: the open case keeps its new category.
  void KeepMovedCaseCategory(int id, const std::string& category);
  // Without questions when `retrying` (a save that waited for the shared library's server).
  void SaveOpenCase(cases::CaseStore& store, bool retrying = false);
  void SaveNewCase(cases::CaseStore& store, bool retrying = false);
  // Another user changed the open case since it was opened: keep mine, take theirs or save mine
  // as a new case.
  void ResolveSaveConflict(cases::CaseStore& store);
  // A save the shared library's server did not take: the chart and remark stay, and the save is
  // tried again when the server is back. True when that is what happened.
  bool KeepForRetry(cases::CaseStore& store);
  // Shows a stored case with its remark as the open case.
  void ShowStoredCase(const cases::StoredCase& stored);
  void ShowRemark(const cases::StoredCase& stored);
  std::string RemarkTextOfEditor() const;
  void KeepOpenCaseCategory(cases::CaseStore& store);
  // The version of the open case after this user's own move or rename of its category.
  void TakeOwnCategoryChange(const cases::StoredCase& stored);
  // Whether the library may be changed here; tells the user when not.
  bool RefuseReadOnly();

  // --- The library in use (frm_main_library.cpp): the local one or a practice's shared one.
  void ConnectSharedLibrary();  // 连接共享案例库...
  void UseLocalLibrary();       // 使用本机案例库
  // Connects at start when the user last chose a shared library; false keeps the local one.
  void OpenRememberedLibrary();
  // Makes `store` the library of the window; the tree shows its cases.
  void UseStore(cases::CaseStore* store);
  bool UsingSharedLibrary() const;
  // The window title, naming the library in use.
  void ShowLibraryInTitle();
  // The shared library's server is gone or back.
  void LibraryConnectionLost(const QString& why);
  void LibraryConnectionBack();
  // Asks whether the changed remark of the open case is to be saved, and saves it on Yes.
  // False when Yes was answered but the remark could not be saved: the caller stops, so
  // that the remark is not dropped.
  bool OfferToSaveOpenRemark(const QString& question = tr("当前评语文本已改变，要保存吗？"));

  // --- The whole-library commands of the file menu (frm_main_database.cpp).
  void RestoreCases();
  void BackUpCases();
  void DeleteAllCases();
  void CompactCases();
  void ImportCases();
  void ExportCases();
  void ShowProgressLine(const std::string& line);
  // Closes the window without questions after the database was replaced; the layout is saved.
  void EndProgram();

  // The library in use (null without one), handed to the parts: the local one, or the shared one.
  cases::CaseStore* caseStore_;
  // The program's local library (null without one), which the whole-library commands also use.
  cases::MRecordBase* localStore_;
  std::unique_ptr<cases::SharedLibrary> sharedLibrary_;
  LibraryWatcher* watcher_ = nullptr;  // tells of the shared library's changes
  bool readOnlyLibrary_ = false;
  bool saveWaitsForServer_ = false;
  bool retryingNow_ = false;  // a save tried again at once on a new connection
  bool connectionLost_ = false;  // the watcher found the shared library's server gone
  QString lostBecause_;
  QString baseTitle_;
  // The parts and their places.
  CaseTreePanel* caseTree_ = nullptr;
  QSplitter* treeSplitter_ = nullptr;   // the tree beside the pages
  QTabWidget* pages_ = nullptr;         // 择日排盘, 分析解盘, 查找吉课
  QWidget* chartPage_ = nullptr;
  QSplitter* chartSplitter_ = nullptr;  // the picture above the stepping buttons and the remarks
  ChartView* chartView_ = nullptr;
  QWidget* stepButtons_ = nullptr;      // 时-- 时++ 日-- 日++
  QTextEdit* remarkEditor_ = nullptr;   // the remarks of the chart or of the open case
  QTextEdit* chartTextView_ = nullptr;  // the chart text (分析解盘)
  SearchPage* searchPage_ = nullptr;
  QMenu* skinMenu_ = nullptr;           // 界面风格

  // The chart.
  std::unique_ptr<calendar::MYiDateEx> dateObject_;
  std::unique_ptr<qtdraw::ImageCanvas> canvas_;
  std::unique_ptr<TextEditSink> textSink_;
  std::unique_ptr<chart::MQuorinDay> engine_;
  TRecordData record_;
  calendar::FourPillars rememberedPillars_{};  // handed to and taken back from the reverse search
  bool chartShown_ = false;
  // The open case.
  TRecordData savedRecord_;
  bool caseOpen_ = false;
  int currentCaseId_ = 0;
  int currentCaseVersion_ = 0;  // the shared library's version the open case was read at
  std::unique_ptr<cases::CaseSearchCriteria> searchCriteria_;
  // The window.
  std::unique_ptr<base::IniFile> layoutIni_;
  // The state init.ini keeps (1 minimised, 2 maximised), applied at start and again when
  // 显示全部课例 first comes to its end.
  std::optional<int> savedWindowState_;
  bool endingProgram_ = false;  // the database was replaced: close without questions
  bool prepared_ = false;
  QActionGroup* skinGroup_ = nullptr;
  skin::SkinEngine skin_;
};

}  // namespace quorin::ui

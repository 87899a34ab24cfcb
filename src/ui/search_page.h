// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's search page (查找吉课): the conditions, checked in lists built from the
// model's table of conditions, the ready patterns, the two digit groups, the dragon, water and
// facing of the search, and the search over a year or a range of days, run on a worker thread,
// with its progress bar, result list and CSV export.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "chart/record_data.h"
#include "chart/search_conditions.h"
#include "chart/search_request.h"
#include "chart/search_sink.h"
#include "ui/search_worker.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QRadioButton;
class QPushButton;
class QToolButton;

namespace quorin::calendar {
class MYiDateEx;
}
namespace quorin::chart {
class MQuorinDay;
}

namespace quorin::ui {

class PersonsEditor;

class SearchPage : public QWidget {
  Q_OBJECT

 public:
  // Searches with a copy of `engine` (the main window's); the request is reset at once.
  SearchPage(const chart::MQuorinDay& engine, QWidget* parent = nullptr);
  ~SearchPage() override;

  const chart::SearchRequest& Request() const { return request_; }
  chart::SearchRequest& Request() { return request_; }
  // What a found moment is charted with: the person's birth year as typed, the mountain and
  // the column of its hexagram as chosen.
  QString MasterYearText() const;
  // The persons after 主命 the page lists.
  const std::vector<OtherPerson>& OtherPersons() const;
  int Mountain() const;
  int MountainGua() const;
  // The place of the chart the last search started from (its zone's clock times were tested).
  const TRecordData& SearchedPlace() const { return searchedPlace_; }
  // Resets the request to the clock's pillar year and shows it; asks first when `ask`.
  void ClearConditions(bool ask);
  bool Searching() const { return worker_.Running(); }

 signals:
  // A result line was double-clicked: chart this moment (astronomical year, hour
  // tested at minute 5) with the page's person, mountain, dragon, water and facing.
  void ChartRequested(int year, int month, int day, int hour);
  // A search ended: walked to its end, cancelled, or stopped because the window closed.
  void SearchEnded(int found, bool cancelled);

 protected:
  // Tooltips of the result lines, and the window closing during a search.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildConditionLists();
  // Puts the request into the controls.
  void ShowRequest();
  void ReadTicks();
  void ClearCheckListHighlights();
  void ShowRangeInputs();
  void RefillGuaList();
  void ApplyChosenPattern();
  void EditDigits(const QString& caption, chart::DigitGroup& digits);
  void EditDragonWaterFacing();
  void StartSearch();
  void ShowFound(int position, const std::vector<chart::SearchResult>& found);
  void FinishSearch(int found, bool cancelled, int position);
  // The window closes: the search stops at once, without a word.
  void StopSearchQuietly();
  void ChartResult(const QListWidgetItem* line);
  // 对比所选日课: the selected result lines side by side, charted as a double click charts them.
  void CompareSelected();
  TRecordData ComparedRequest() const;
  void ExportResults();
  // The result a line of the list holds, or nullptr.
  const chart::SearchResult* ResultOf(const QListWidgetItem* line) const;

  const chart::MQuorinDay& engine_;
  std::unique_ptr<calendar::MYiDateEx> date_;
  chart::SearchRequest request_;

  // One check list per group of conditions, in the order of the model's groups.
  std::array<QListWidget*, chart::kConditionGroupCount> conditionLists_{};
  QPushButton* qiDigitsButton_;
  QPushButton* yunDigitsButton_;
  QComboBox* patternBox_;
  QToolButton* clearButton_;
  PersonsEditor* personsEditor_ = nullptr;
  QLineEdit* masterYearEdit_;
  QComboBox* mountainBox_;
  QComboBox* guaBox_;
  QPushButton* dragonWaterFacingButton_;
  QRadioButton* wholeYearButton_;  // "查找年份"
  QRadioButton* rangeButton_;      // "日期范围": from one day to another
  QLineEdit* yearEdit_;
  // The range's first and last day: year as users write it, month and day lists.
  QLineEdit* fromYearEdit_;
  QComboBox* fromMonthBox_;
  QComboBox* fromDayBox_;
  QLineEdit* toYearEdit_;
  QComboBox* toMonthBox_;
  QComboBox* toDayBox_;
  QPushButton* searchButton_;
  QPushButton* cancelButton_;  // 取消: stops a running search, keeping what it found
  QPushButton* compareButton_ = nullptr;
  QPushButton* exportButton_;  // 导出结果...
  QCheckBox* nearMissesBox_;   // 显示差一条的日课
  QProgressBar* progressBar_;
  QLabel* zoneNote_;  // the zone whose clock times were searched, when zoned
  TRecordData searchedPlace_;
  QListWidget* resultList_;

  SearchWorker worker_;
  // The results of the last search, each line of the list holding the index of its own, and
  // the request that found them.
  std::vector<chart::SearchResult> results_;
  chart::SearchRequest resultsRequest_;
};

}  // namespace quorin::ui

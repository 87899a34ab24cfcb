// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's search page (查找吉课): the conditions, the ready patterns, the
// two digit groups, the dragon, water and facing of the search, and the search over
// a year or a range of days with its progress bar, result list and CSV export.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "chart/search_request.h"
#include "chart/search_sink.h"

class QComboBox;
class QLineEdit;
class QListWidget;
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

class SearchPage : public QWidget {
  Q_OBJECT

 public:
  // Searches with a copy of `engine` (the main window's); the request is reset at once.
  SearchPage(const chart::MQuorinDay& engine, QWidget* parent = nullptr);
  ~SearchPage() override;

  QListWidget* ChkGuaQi;    // check list
  QPushButton* Button2;     // 卦气 组合数
  QListWidget* ChkGuaYun;   // check list
  QPushButton* Button3;     // 卦运 组合数
  QListWidget* ChkAdd;      // 纳入
  QListWidget* ChkAvoid;    // 避开年月日时
  QListWidget* ChkCondTwo;  // 生入克入, 亲缘交通
  QComboBox* CboJiCond;
  QToolButton* BtoClearSearch;
  QLineEdit* LedtYearS;
  QComboBox* CboShanS;
  QComboBox* CboGuaS;
  QPushButton* Button4;  // 龙-水-向 of the search
  QRadioButton* RbtYear;   // "查找年份"
  QRadioButton* RbtRange;  // "日期范围": from one day to another
  QLineEdit* LedtStartYear;
  // The range's first and last day: year as users write it, month and day lists.
  QLineEdit* LedtFromYear;
  QComboBox* CboFromMonth;
  QComboBox* CboFromDay;
  QLineEdit* LedtToYear;
  QComboBox* CboToMonth;
  QComboBox* CboToDay;
  QPushButton* BtnSearch;
  QPushButton* BtnCancel;  // 取消: stops a running search, keeping what it found
  QPushButton* BtnExport;  // 导出结果...
  QProgressBar* ProgSearch;
  QListWidget* ListSearch;

  const chart::SearchRequest& Request() const { return request_; }
  chart::SearchRequest& Request() { return request_; }
  // Whether an item of one of the five check lists is ticked.
  static bool IsTicked(const QListWidget* list, int row);
  static void SetTicked(QListWidget* list, int row, bool ticked);

 signals:
  // A result line was double-clicked: chart this moment (astronomical year, hour
  // tested at minute 5) with the page's person, mountain, dragon, water and facing.
  void ChartRequested(int year, int month, int day, int hour);

 public slots:
  void BtnSearchClick();
  void CboJiCondClick();
  // "X": asks first; at start the conditions are reset without asking.
  void BtoClearSearchClick();
  void ClearConditions(bool ask);
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void ListSearchDblClick();
  void BtnCancelClick();
  void BtnExportClick();
  void CboShanSChange();
  // Puts the request into the controls.
  void ShowRequest();

 protected:
  // Tooltips of the result lines: the pillars and 卦气 digits of the moment.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ClearCheckListHighlights();
  void ShowRangeInputs();
  // Visits every row of the five check lists with the request's flag behind it.
  void ForEachCheckRow(const std::function<void(QListWidget* list, int row, bool& flag)>& visit);

  const chart::MQuorinDay& engine_;
  std::unique_ptr<calendar::MYiDateEx> date_;
  chart::SearchRequest request_;
  // The last search's results, in the order of the list's lines, and its request.
  std::vector<chart::SearchResult> results_;
  chart::SearchRequest resultsRequest_;
  bool searching_ = false;
  bool cancelled_ = false;
};

}  // namespace quorin::ui

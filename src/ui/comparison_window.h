// SPDX-License-Identifier: GPL-3.0-or-later
// "对比所选日课": the candidates chosen on the search page side by side, one row per thing compared,
// the rows whose values differ shaded; printed or saved as the one-page comparison (日课对比).
#pragma once

#include <QWidget>

#include "chart/candidate_comparison.h"
#include "chart/record_data.h"

class QPushButton;
class QTableWidget;

namespace quorin::ui {

class ComparisonWindow : public QWidget {
  Q_OBJECT

 public:
  ComparisonWindow(QWidget* parent, chart::CandidateComparison comparison, TRecordData request);

 private:
  void FillTable();
  // "打印...": the print dialog, then the page on the printer.
  void Print();
  // "保存PDF...": a file name (".pdf" added when missing), asking before replacing a file.
  void SavePdf();

  chart::CandidateComparison comparison_;
  TRecordData request_;
  QTableWidget* table_;
  QPushButton* printButton_;
  QPushButton* savePdfButton_;
  QPushButton* closeButton_;
};

// Shows the comparison in a window of its own beside `parent` (not modal, deleted when closed) and
// returns it; a comparison that was refused is told instead, and nothing opens (nullptr). Typically:
//   ShowComparisonWindow(this, chart::CompareCandidates(engine, request, conditions, moments), request);
ComparisonWindow* ShowComparisonWindow(QWidget* parent, const chart::CandidateComparison& comparison,
                                       const TRecordData& request);

}  // namespace quorin::ui

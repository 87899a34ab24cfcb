// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of candidate moments (日课对比) on one printed page: title, the request's persons,
// mountain and place, a table with one column per candidate whose differing rows are shaded, and
// the date of issue. Qt Gui only, so quorin-cli writes the same page as the window prints.
#pragma once

#include <QDate>
#include <string>

#include "chart/candidate_comparison.h"
#include "chart/record_data.h"

class QPagedPaintDevice;

namespace quorin::sheet {

// A4 landscape with print margins (four columns of values and the labels need the width); a
// printer keeps the paper its dialog chose.
void UseComparisonPage(QPagedPaintDevice& device, bool keepPaper = false);

// Paints the comparison of candidates charted for `request` on the device's first page, the text
// made smaller until the whole table fits. False when the device cannot be painted on.
bool PaintComparisonSheet(QPagedPaintDevice& device, const chart::CandidateComparison& comparison,
                          const TRecordData& request, const QDate& issued);

// Writes the page as a PDF file (fonts embedded), replacing the file only once it is complete.
// False, with `error` saying why, when the file cannot be written.
bool WriteComparisonPdf(const std::string& path, const chart::CandidateComparison& comparison,
                        const TRecordData& request, const QDate& issued, std::string* error);

}  // namespace quorin::sheet

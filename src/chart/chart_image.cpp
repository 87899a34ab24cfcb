// SPDX-License-Identifier: GPL-3.0-or-later
// The chart picture: font and size, the header lines, the table and 常用神煞.
#include <algorithm>
#include <cmath>

#include "calendar/calendar_text.h"
#include "calendar/historical_year.h"
#include "chart/domain_tables.h"
#include "chart/header_parts.h"
#include "chart/quorin_day.h"

namespace quorin::chart {
namespace {

std::string ShortDate(const calendar::CivilDateTime& d) {
  return std::to_string(calendar::HistoricalYear(d.year)) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) + " " +
         std::to_string(d.hour) + ":" + std::to_string(d.minute);
}

std::string DegreesColonMinutes(float value) {
  const auto [degrees, minutes] = WholeDegreesAndMinutes(value);
  return std::to_string(degrees) + ":" + std::to_string(minutes);
}

}  // namespace

void MQuorinDay::SetChartFont(int size, bool bold) { image_->SetFont(kImageFontFamily, size, bold); }

void MQuorinDay::SetImageFont(double size) {
  // A size from a damaged init.ini must not leave a picture the font cannot fill.
  if (std::isnan(size)) size = kDefaultImageFontSize;
  fontSize_ = std::clamp(size, kMinImageFontSize, kMaxImageFontSize);
  StepImageFont(0);
}

bool MQuorinDay::StepImageFont(double delta) {
  const double size = fontSize_ + delta;
  if (!(size >= kMinImageFontSize && size <= kMaxImageFontSize)) return false;
  fontSize_ = size;
  if (image_) {
    SetChartFont(static_cast<int>(fontSize_), false);
    const PictureSize picture = PictureSizeFor(image_->TextWidth(kMeasureText));
    image_->Resize(picture.width, picture.height);
    ClearImage();
  }
  // The old click areas no longer match the picture.
  imageState_ = {};
  return true;
}

void MQuorinDay::ClearImage() {
  if (!image_) return;
  image_->SetBrush(background_, draw::BrushStyle::kSolid);
  image_->FillRect(0, 0, image_->Width(), image_->Height());
}

std::array<std::string, 4> MQuorinDay::ImageHeaderLines() {
  const TRecordData& r = request_;
  std::array<std::string, 4> lines;
  std::string& first = lines[0];
  first = "主命:" + r.name + "(" + std::to_string(calendar::HistoricalYear(r.masterYear)) + "年-";
  first += r.male ? "男命)," : "女命),";
  first += std::string(MountainName(r.mountain)) + "山(" + calendar::PillarName(mountainJiazi_) + ")";
  if (settings_.idate != 0) {
    first += r.addrName + ",";
    first += "经度-" + DegreesColonMinutes(r.longitude) + ",";
    first += "纬度-" + DegreesColonMinutes(r.latitude);
  } else {
    first += r.addrName;
  }

  std::string& second = lines[1];
  // A zoned place's clock time leads the line, as the local time leads it for the other bases.
  if (localClock_) second = "当地:" + ShortDate(localClock_->clock) + "(" + LocalClockNote(*localClock_) + ")";
  if (settings_.idate == 0) {
    second += "公历:" + ShortDate(correctedDate_) + "(北京时间),";
  } else {
    second += "公历:" + ShortDate(beijingDate_) + "(北京时间)";
    second += "公历:" + ShortDate(correctedDate_) + (settings_.idate == 1 ? "(真太阳时)," : "(地方时),");
  }
  second += "星期" + std::string(WeekdayName(date_.WeekDay(correctedDate_)));

  lines[2] = "农历:" + LunarDateText();
  lines[3] = "元辰:" + YuanChenText();
  return lines;
}

void MQuorinDay::DrawChartImage() {
  imageState_ = {};
  if (!image_ || shownCount_ == 0) return;
  const int size = static_cast<int>(fontSize_);
  SetChartFont(size, false);
  ClearImage();
  image_->SetFontColor(draw::kBlack);
  const int th = image_->TextHeight(kMeasureText);
  const int gap = th / 4;
  int y = 3;
  for (const std::string& line : ImageHeaderLines()) {
    image_->TextOut(3, y, line);
    y += th + gap;
  }
  DrawTable(y);
  DrawShensha();
}

void MQuorinDay::DrawTable(int top) {
  const int size = static_cast<int>(fontSize_);
  SetChartFont(size, true);
  const ChartTableArea table = TableAreaFor(Picture(), top, image_->TextWidth(kMeasureText),
                                            image_->TextHeight(kMeasureText), size, shownCount_);
  imageState_.table = table;
  for (int column = 0; column < shownCount_; ++column) {
    // The positions before the four pillars red, the pillars blue, as in the text.
    image_->SetFontColor(column < shownCount_ - 4 ? draw::kRed : draw::kBlue);
    const auto cells = ColumnCells(ShownPosition(column));
    const int x = table.SymbolX(column);
    for (int item = 0; item < 9; ++item) image_->TextOut(x, table.ItemTop(item), cells[static_cast<std::size_t>(item)]);
  }
  DrawPersonTable(table);
}

void MQuorinDay::DrawPersonTable(const ChartTableArea& table) {
  const int count = static_cast<int>(personSlots_.size());
  if (count == 0) return;
  // The first table takes 0.6 of the width for its columns and their relation lines; another column
  // there would crowd them, so the persons stand in the free space right of it, row by row with it.
  // The six-line chart of a selection then starts below them.
  const int left = table.right + table.textWidth;
  const int columnWidth = std::min(table.columnWidth, (Picture().width - 3 - left) / count);
  image_->SetFontColor(draw::kRed);
  for (int p = 0; p < count; ++p) {
    const auto cells = PersonColumnCells(p);
    const int x = left + p * columnWidth + (columnWidth - table.textHeight) / 2;
    for (int item = 0; item < 9; ++item) image_->TextOut(x, table.ItemTop(item), cells[static_cast<std::size_t>(item)]);
  }
}

void MQuorinDay::DrawShensha() {
  SetChartFont(static_cast<int>(fontSize_), false);
  const int th = image_->TextHeight(kMeasureText);
  const int gap = imageState_.table.rowGap / 2;
  int y = image_->Height() - 6 * (th + gap);
  image_->SetFontColor(draw::kGreen);
  image_->TextOut(3, y, "常用神煞");
  image_->SetFontColor(draw::kBlack);
  for (const std::string& line : ShenshaLines()) {
    y += th + gap;
    image_->TextOut(3, y, line);
  }
}

}  // namespace quorin::chart

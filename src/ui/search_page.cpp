// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_page.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHelpEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "calendar/historical_year.h"
#include "calendar/yi_date_ex.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/search_csv.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "ui/frm_more_input.h"
#include "ui/frm_num_combin.h"
#include "ui/labeled_edit.h"
#include "ui/mountain_lists.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"

namespace quorin::ui {
namespace {

// The progress bar and the result list as the engine's search sees them. Lines
// reach the list in batches; every few hundredths of a second the window handles
// its events, so it stays responsive through a long range and 取消 can stop it.
class ProgressListSink final : public chart::SearchSink {
 public:
  ProgressListSink(QProgressBar* progress, QListWidget* list, std::vector<chart::SearchResult>& results,
                   const bool& cancelled)
      : progress_(progress), list_(list), results_(results), cancelled_(cancelled) {
    sinceEvents_.start();
  }
  ~ProgressListSink() override {
    Flush();
    // The bar ends where the walk ended: at the end, or on the day a cancel stopped it.
    progress_->setValue(position_);
  }
  void SetRange(int minimum, int maximum) override { progress_->setRange(minimum, maximum); }
  void SetPosition(int position) override {
    position_ = position;
    if (position != progress_->maximum() && sinceEvents_.elapsed() < kEventInterval) return;
    Flush();
    progress_->setValue(position);
    progress_->repaint();
    QApplication::processEvents();
    sinceEvents_.restart();
  }
  int Position() const override { return position_; }
  void Clear() override {
    pending_.clear();
    results_.clear();
    list_->clear();
  }
  void AppendLine(std::string_view utf8) override {
    pending_.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }
  void AppendResult(const chart::SearchResult& result) override {
    SearchSink::AppendResult(result);
    results_.push_back(result);
  }
  bool Cancelled() const override { return cancelled_; }

 private:
  static constexpr qint64 kEventInterval = 40;  // milliseconds

  void Flush() {
    if (pending_.isEmpty()) return;
    list_->addItems(pending_);
    pending_.clear();
  }

  QProgressBar* progress_;
  QListWidget* list_;
  std::vector<chart::SearchResult>& results_;
  const bool& cancelled_;
  QStringList pending_;
  int position_ = 0;
  QElapsedTimer sinceEvents_;
};

QListWidget* CheckList(const QString& name, const QStringList& items, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  // As tall as its items, no scrolling.
  list->setFixedHeight(list->sizeHintForRow(0) * static_cast<int>(items.size()) + 2 * list->frameWidth() + 2);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return list;
}

QPushButton* Button(const QString& name, const QString& caption, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

QComboBox* ComboBox(const QString& name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  return box;
}

// A titled column of a check list with an optional button beside its title.
QGroupBox* Group(const QString& title, QListWidget* list, QPushButton* button, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(list);
  if (button) layout->addWidget(button);
  layout->addStretch();
  return box;
}

}  // namespace

SearchPage::SearchPage(const chart::MQuorinDay& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), date_(std::make_unique<calendar::MYiDateEx>()) {
  setObjectName(QStringLiteral("SearchPage"));
  ChkGuaQi = CheckList(QStringLiteral("ChkGuaQi"),
                       {QStringLiteral("卦气同数"), QStringLiteral("卦气合五"), QStringLiteral("卦气合十"),
                        QStringLiteral("卦气合十五"), QStringLiteral("卦气合生成")},
                       this);
  Button2 = Button(QStringLiteral("Button2"), QStringLiteral("组合数"), QStringLiteral("卦气组合"), this);
  ChkGuaYun = CheckList(QStringLiteral("ChkGuaYun"),
                        {QStringLiteral("卦运同数"), QStringLiteral("卦运合五"), QStringLiteral("卦运合十"),
                         QStringLiteral("卦运合十五"), QStringLiteral("卦运合生成"), QStringLiteral("卦运相通")},
                        this);
  Button3 = Button(QStringLiteral("Button3"), QStringLiteral("组合数"), QStringLiteral("卦运组合"), this);
  ChkAdd = CheckList(QStringLiteral("ChkAdd"),
                     {QStringLiteral("龙纳入"), QStringLiteral("水纳入"), QStringLiteral("主命纳入"),
                      QStringLiteral("坐山纳入"), QStringLiteral("朝向纳入")},
                     this);
  ChkAvoid = CheckList(QStringLiteral("ChkAvoid"),
                       {QStringLiteral("冲山"), QStringLiteral("坐山三煞"), QStringLiteral("冲主命"),
                        QStringLiteral("坐山伏吟"), QStringLiteral("坐山反吟")},
                       this);
  ChkCondTwo = CheckList(QStringLiteral("ChkCondTwo"), {QStringLiteral("生入克入"), QStringLiteral("亲缘交通")}, this);

  CboJiCond = ComboBox(QStringLiteral("CboJiCond"), this);
  for (const char* pattern : chart::kReadyPatterns) CboJiCond->addItem(ToQString(pattern));
  CboJiCond->setCurrentIndex(0);
  BtoClearSearch = new QToolButton(this);
  BtoClearSearch->setObjectName(QStringLiteral("BtoClearSearch"));
  BtoClearSearch->setText(QStringLiteral("X"));
  const LabeledEdit yearS = MakeLabeledEdit(QStringLiteral("LedtYearS"), QStringLiteral("主命生年"), this, 5);
  LedtYearS = yearS.edit;
  CboShanS = ComboBox(QStringLiteral("CboShanS"), this);
  CboShanS->setMaxVisibleItems(20);
  FillMountainList(CboShanS);
  CboGuaS = ComboBox(QStringLiteral("CboGuaS"), this);
  CboGuaS->setMinimumContentsLength(5);
  Button4 = Button(QStringLiteral("Button4"), QStringLiteral("龙-水-向"), QStringLiteral("选择龙-水-向"), this);
  const LabeledEdit startYear = MakeLabeledEdit(QStringLiteral("LedtStartYear"), QStringLiteral("查找年份"), this, 5);
  LedtStartYear = startYear.edit;
  RbtYear = new QRadioButton(QStringLiteral("查找年份"), this);
  RbtYear->setObjectName(QStringLiteral("RbtYear"));
  RbtYear->setChecked(true);
  RbtRange = new QRadioButton(QStringLiteral("日期范围"), this);
  RbtRange->setObjectName(QStringLiteral("RbtRange"));
  const auto dayInputs = [this](const QString& prefix, QLineEdit*& year, QComboBox*& month, QComboBox*& day) {
    year = new QLineEdit(this);
    year->setObjectName(QStringLiteral("Ledt%1Year").arg(prefix));
    year->setMaxLength(5);
    year->setToolTip(QStringLiteral("公元前用负数，比如公元前120年，就输入-120"));
    month = ComboBox(QStringLiteral("Cbo%1Month").arg(prefix), this);
    for (int i = 1; i <= 12; ++i) month->addItem(QStringLiteral("%1月").arg(i));
    day = ComboBox(QStringLiteral("Cbo%1Day").arg(prefix), this);
    for (int i = 1; i <= 31; ++i) day->addItem(QStringLiteral("%1日").arg(i));
    day->setMaxVisibleItems(16);
  };
  dayInputs(QStringLiteral("From"), LedtFromYear, CboFromMonth, CboFromDay);
  dayInputs(QStringLiteral("To"), LedtToYear, CboToMonth, CboToDay);
  BtnSearch = Button(QStringLiteral("BtnSearch"), QStringLiteral("查找"), QString(), this);
  BtnCancel = Button(QStringLiteral("BtnCancel"), QStringLiteral("取消"), QStringLiteral("停止查找，保留已找到的日课"), this);
  BtnCancel->setEnabled(false);
  BtnExport = Button(QStringLiteral("BtnExport"), QStringLiteral("导出结果..."),
                     QStringLiteral("把查找结果保存为CSV文件，可用电子表格打开比较"), this);
  BtnExport->setEnabled(false);
  ProgSearch = new QProgressBar(this);
  ProgSearch->setObjectName(QStringLiteral("ProgSearch"));
  ProgSearch->setTextVisible(false);
  ListSearch = new QListWidget(this);
  ListSearch->setObjectName(QStringLiteral("ListSearch"));
  ListSearch->setToolTip(QStringLiteral("双击查看日课"));
  ListSearch->setUniformItemSizes(true);

  // Conditions on the left, the search itself on the right.
  auto* conditions = new QGridLayout;
  conditions->addWidget(Group(QStringLiteral("卦气"), ChkGuaQi, Button2, this), 0, 0);
  conditions->addWidget(Group(QStringLiteral("卦运"), ChkGuaYun, Button3, this), 0, 1);
  conditions->addWidget(Group(QStringLiteral("纳入"), ChkAdd, nullptr, this), 1, 0);
  conditions->addWidget(Group(QStringLiteral("避开年月日时"), ChkAvoid, nullptr, this), 1, 1);
  conditions->addWidget(Group(QStringLiteral("其他"), ChkCondTwo, nullptr, this), 2, 0);
  auto* patterns = new QHBoxLayout;
  patterns->addWidget(CboJiCond, 1);
  patterns->addWidget(BtoClearSearch);
  auto* mountain = new QHBoxLayout;
  mountain->addWidget(CboShanS);
  mountain->addWidget(CboGuaS, 1);
  auto* setup = new QVBoxLayout;
  setup->addLayout(patterns);
  setup->addWidget(yearS.box);
  setup->addWidget(new QLabel(QStringLiteral("山家"), this));
  setup->addLayout(mountain);
  setup->addWidget(Button4);
  setup->addStretch();
  conditions->addLayout(setup, 2, 1);
  conditions->setRowStretch(3, 1);

  auto* results = new QVBoxLayout;
  auto* start = new QHBoxLayout;
  start->addWidget(RbtYear, 0, Qt::AlignBottom);
  start->addWidget(startYear.box, 1);
  start->addWidget(BtnSearch, 0, Qt::AlignBottom);
  results->addLayout(start);
  auto* range = new QGridLayout;
  range->addWidget(RbtRange, 0, 0);
  range->addWidget(new QLabel(QStringLiteral("从"), this), 0, 1);
  range->addWidget(LedtFromYear, 0, 2);
  range->addWidget(new QLabel(QStringLiteral("年"), this), 0, 3);
  range->addWidget(CboFromMonth, 0, 4);
  range->addWidget(CboFromDay, 0, 5);
  range->addWidget(new QLabel(QStringLiteral("到"), this), 1, 1);
  range->addWidget(LedtToYear, 1, 2);
  range->addWidget(new QLabel(QStringLiteral("年"), this), 1, 3);
  range->addWidget(CboToMonth, 1, 4);
  range->addWidget(CboToDay, 1, 5);
  range->setColumnStretch(2, 1);
  results->addLayout(range);
  results->addWidget(ProgSearch);
  results->addWidget(ListSearch, 1);
  auto* after = new QHBoxLayout;
  after->addWidget(BtnCancel);
  after->addStretch();
  after->addWidget(BtnExport);
  results->addLayout(after);

  auto* page = new QHBoxLayout(this);
  page->addLayout(conditions);
  page->addLayout(results, 1);

  connect(BtnSearch, &QPushButton::clicked, this, &SearchPage::BtnSearchClick);
  connect(CboJiCond, &QComboBox::activated, this, &SearchPage::CboJiCondClick);
  connect(BtoClearSearch, &QToolButton::clicked, this, &SearchPage::BtoClearSearchClick);
  connect(Button2, &QPushButton::clicked, this, &SearchPage::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &SearchPage::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &SearchPage::Button4Click);
  connect(CboShanS, &QComboBox::activated, this, &SearchPage::CboShanSChange);
  connect(ListSearch, &QListWidget::itemDoubleClicked, this, &SearchPage::ListSearchDblClick);
  connect(BtnCancel, &QPushButton::clicked, this, &SearchPage::BtnCancelClick);
  connect(BtnExport, &QPushButton::clicked, this, &SearchPage::BtnExportClick);
  connect(RbtYear, &QRadioButton::toggled, this, &SearchPage::ShowRangeInputs);
  ListSearch->viewport()->installEventFilter(this);

  ClearConditions(false);
  ShowRangeInputs();
}

SearchPage::~SearchPage() = default;

void SearchPage::ShowRangeInputs() {
  const bool range = RbtRange->isChecked();
  LedtStartYear->setEnabled(!range);
  for (QWidget* w : std::initializer_list<QWidget*>{LedtFromYear, CboFromMonth, CboFromDay, LedtToYear, CboToMonth, CboToDay}) {
    w->setEnabled(range);
  }
}

bool SearchPage::IsTicked(const QListWidget* list, int row) {
  const QListWidgetItem* item = list->item(row);
  return item && item->checkState() == Qt::Checked;
}

void SearchPage::SetTicked(QListWidget* list, int row, bool ticked) {
  if (QListWidgetItem* item = list->item(row)) item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void SearchPage::CboShanSChange() { FillGuaList(CboGuaS, CboShanS->currentIndex()); }

void SearchPage::ClearCheckListHighlights() {
  for (QListWidget* list : {ChkGuaQi, ChkGuaYun, ChkCondTwo, ChkAdd, ChkAvoid}) {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
}

void SearchPage::ForEachCheckRow(const std::function<void(QListWidget* list, int row, bool& flag)>& visit) {
  chart::SearchRequest& q = request_;
  const auto rows = [&](QListWidget* list, std::initializer_list<bool*> flags) {
    int row = 0;
    for (bool* flag : flags) visit(list, row++, *flag);
  };
  const auto all = [&](QListWidget* list, auto& flags) {
    for (std::size_t i = 0; i < flags.size(); ++i) visit(list, static_cast<int>(i), flags[i]);
  };
  all(ChkGuaQi, q.qi);
  all(ChkGuaYun, q.yun);
  rows(ChkAdd, {&q.includeDragon, &q.includeWater, &q.includeMaster, &q.includeMountain, &q.includeFacing});
  all(ChkAvoid, q.avoid);
  rows(ChkCondTwo, {&q.shengRuKeRu, &q.familyLink});
}

void SearchPage::ShowRequest() {
  ClearCheckListHighlights();
  const chart::SearchRequest& q = request_;
  ForEachCheckRow([](QListWidget* list, int row, bool& flag) { SetTicked(list, row, flag); });
  // The request holds astronomical years; the fields are read back as users write them.
  LedtYearS->setText(QString::number(calendar::HistoricalYear(q.masterYear)));
  LedtStartYear->setText(QString::number(calendar::HistoricalYear(q.year)));
  // The range starts as the year searched, until the user chooses other days.
  for (QLineEdit* edit : {LedtFromYear, LedtToYear}) {
    if (edit->text().isEmpty()) edit->setText(LedtStartYear->text());
  }
  if (CboToMonth->currentIndex() == 0 && CboToDay->currentIndex() == 0) {
    CboToMonth->setCurrentIndex(11);
    CboToDay->setCurrentIndex(30);
  }
  CboShanS->setCurrentIndex(q.mountain);
  CboShanSChange();
  CboGuaS->setCurrentIndex(q.mountainGua);
}

void SearchPage::ClearConditions(bool ask) {
  if (ask && !AskYesNo(this, QStringLiteral("确定要清空输入的查找条件吗？"), QStringLiteral("清空条件"), Icon::Information)) {
    return;
  }
  const QDateTime now = LocalNow();
  const int year = std::min(now.date().year(), calendar::kLastCalendarYear);
  const calendar::CivilDateTime moment{static_cast<std::int16_t>(year),
                                       static_cast<std::int16_t>(now.date().month()),
                                       static_cast<std::int16_t>(now.date().day()),
                                       static_cast<std::int16_t>(now.time().hour()),
                                       static_cast<std::int16_t>(now.time().minute())};
  request_ = chart::ClearedSearchRequest(calendar::AstronomicalYear(date_->PillarYearOf(moment)));
  ShowRequest();
}

void SearchPage::BtoClearSearchClick() { ClearConditions(true); }

void SearchPage::CboJiCondClick() {
  const int item = CboJiCond->currentIndex();
  if (item <= 0) {
    Tell(this, QStringLiteral("可以直接点击某个吉格，不用选择查找条件！"));
    return;
  }
  // What the page shows is what the user means to keep: typed years and the mountain.
  const std::optional<int> master = TypedInteger(LedtYearS->text());
  const std::optional<int> year = TypedInteger(LedtStartYear->text());
  if (master && calendar::IsValidHistoricalYear(*master)) request_.masterYear = calendar::AstronomicalYear(*master);
  if (year && calendar::IsValidHistoricalYear(*year)) request_.year = calendar::AstronomicalYear(*year);
  if (CboShanS->currentIndex() >= 0 && CboGuaS->currentIndex() >= 0) {
    request_.mountain = CboShanS->currentIndex();
    request_.mountainGua = CboGuaS->currentIndex();
  }
  chart::ApplyReadyPattern(request_, item);
  ShowRequest();
  Tell(this, QStringLiteral("点击“查找”按钮就可以找到相应的吉课了！"));
}

void SearchPage::Button2Click() {
  TFrmNumCombin dialog(QStringLiteral("卦气组合"), request_.qiDigits, this);
  dialog.exec();
}

void SearchPage::Button3Click() {
  TFrmNumCombin dialog(QStringLiteral("卦运组合"), request_.yunDigits, this);
  dialog.exec();
}

void SearchPage::Button4Click() {
  TRecordData scratch;
  chart::CopyDragonWaterFacing(request_, scratch);
  TFrmMoreInput dialog(scratch, this);
  if (dialog.exec() != QDialog::Accepted) return;
  chart::CopyDragonWaterFacing(scratch, request_);
}

void SearchPage::BtnSearchClick() {
  if (searching_) return;
  const std::optional<int> master =
      ReadYearInput(this, LedtYearS, YearRangeMessage(QStringLiteral("主命")), QStringLiteral("年份错误"));
  if (!master) return;
  chart::SearchDays days;
  if (RbtRange->isChecked()) {
    const auto day = [this](QLineEdit* year, QComboBox* month, QComboBox* day) -> std::optional<calendar::CivilDateTime> {
      const std::optional<int> y =
          ReadYearInput(this, year, YearRangeMessage(QStringLiteral("查找")), QStringLiteral("查找年份错误"));
      if (!y) return std::nullopt;
      return calendar::CivilDateTime{static_cast<std::int16_t>(*y), static_cast<std::int16_t>(month->currentIndex() + 1),
                                     static_cast<std::int16_t>(day->currentIndex() + 1), 0, 0};
    };
    const auto first = day(LedtFromYear, CboFromMonth, CboFromDay);
    if (!first) return;
    const auto last = day(LedtToYear, CboToMonth, CboToDay);
    if (!last) return;
    days = {*first, *last};
    const std::string problem = chart::SearchDaysProblem(days);
    if (!problem.empty()) {
      Tell(this, ToQString(problem), QStringLiteral("查找日期错误"), Icon::Warning);
      return;
    }
  } else {
    const std::optional<int> year =
        ReadYearInput(this, LedtStartYear, YearRangeMessage(QStringLiteral("查找")), QStringLiteral("查找年份错误"));
    if (!year) return;
    days = chart::WholeYear(*year);
  }
  chart::SearchRequest& q = request_;
  q.masterYear = *master;
  q.year = days.first.year;
  q.mountain = CboShanS->currentIndex();
  q.mountainGua = CboGuaS->currentIndex();
  ForEachCheckRow([](QListWidget* list, int row, bool& flag) { flag = IsTicked(list, row); });
  q.UpdateConditionCounts();

  BtnSearch->setEnabled(false);
  BtnExport->setEnabled(false);
  BtnCancel->setEnabled(true);
  searching_ = true;
  cancelled_ = false;
  resultsRequest_ = q;
  int found = 0;
  {
    // A copy of the engine walks the days (with the place of the last chart): the
    // chart on screen keeps its moment for the hour and day steps and its positions
    // for the picture's clicks.
    chart::MQuorinDay walker = engine_;
    ProgressListSink sink(ProgSearch, ListSearch, results_, cancelled_);
    found = walker.SearchRange(resultsRequest_, days, sink);
  }
  searching_ = false;
  BtnCancel->setEnabled(false);
  QString report;
  if (cancelled_) {
    report = found > 0 ? QStringLiteral("已取消，保留了已找到的%1条日课，双击直接查看日课！").arg(found)
                       : QStringLiteral("已取消，还没有找到符合条件的日课。");
  } else {
    report = found > 0 ? QStringLiteral("共找到%1条日课，双击直接查看日课！").arg(found)
                       : QStringLiteral("没有找到符合条件的日课，请改变查找条件。");
  }
  Tell(this, report, QStringLiteral("查找日课"), Icon::Information);
  BtnSearch->setEnabled(true);
  BtnExport->setEnabled(!results_.empty());
  ClearCheckListHighlights();
}

void SearchPage::BtnCancelClick() { cancelled_ = true; }

void SearchPage::BtnExportClick() {
  if (searching_ || results_.empty()) return;
  const FileRequest request{QStringLiteral("导出结果"), ParseFilterList(QStringLiteral("CSV文件|*.csv")), 0};
  const std::optional<FileChoice> choice = Prompts().SaveFile(this, request);
  if (!choice || choice->path.isEmpty()) return;
  QString path = choice->path;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
  if (QFileInfo::exists(path) &&
      !AskYesNo(this, QStringLiteral("%1 已存在，要替换它吗？").arg(path), QStringLiteral("导出结果"), Icon::Warning,
                Answer::No)) {
    return;
  }
  std::string message;
  if (!chart::WriteSearchResultsCsv(ToUtf8(path), resultsRequest_, results_, message)) {
    Tell(this, ToQString(message), QStringLiteral("错误"), Icon::Error);
  }
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListSearch->viewport() && event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = ListSearch->indexAt(help->pos()).row();
    if (row >= 0 && static_cast<std::size_t>(row) < results_.size()) {
      QToolTip::showText(help->globalPos(), ToQString(chart::SearchResultDetail(results_[static_cast<std::size_t>(row)])),
                         ListSearch->viewport());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SearchPage::ListSearchDblClick() {
  const QListWidgetItem* item = ListSearch->currentItem();
  if (!item) return;
  const auto moment = chart::ParseSearchResultLine(ToUtf8(item->text()));
  if (!moment) return;
  emit ChartRequested(moment->year, moment->month, moment->day, moment->hour);
}

}  // namespace quorin::ui

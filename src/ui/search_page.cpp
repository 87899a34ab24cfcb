// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_page.h"


#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "base/world_zones.h"
#include "calendar/historical_year.h"
#include "calendar/yi_date_ex.h"
#include "chart/candidate_comparison.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
#include "chart/search_csv.h"
#include "qtdraw/shown_text.h"
#include "ui/chart_inputs.h"
#include "ui/clock.h"
#include "ui/comparison_window.h"
#include "ui/frm_more_input.h"
#include "ui/frm_num_combin.h"
#include "ui/labeled_edit.h"
#include "ui/mountain_lists.h"
#include "ui/persons_editor.h"
#include "ui/program_files.h"
#include "ui/prompter.h"
#include "ui/text_numbers.h"

namespace quorin::ui {
namespace {

// A check list's line holds the index of its condition in the model's table, a result line
// the index of its result.
constexpr int kConditionRole = Qt::UserRole;
constexpr int kResultRole = Qt::UserRole;

// The box of each group of conditions: the name skins and tests know its list by, and where it
// stands among the boxes.
struct ConditionBox {
  chart::ConditionGroup group;
  const char* listName;
  int row;
  int column;
};
constexpr ConditionBox kConditionBoxes[] = {
    {chart::ConditionGroup::kQi, "ChkGuaQi", 0, 0},      {chart::ConditionGroup::kYun, "ChkGuaYun", 0, 1},
    {chart::ConditionGroup::kInclude, "ChkAdd", 1, 0},   {chart::ConditionGroup::kAvoid, "ChkAvoid", 1, 1},
    {chart::ConditionGroup::kOther, "ChkCondTwo", 2, 0},
};
// The conditions' boxes take three rows; the search's own inputs fill the last place.
constexpr int kSetupRow = 2;
constexpr int kSetupColumn = 1;

constexpr int kMonthsPerYear = 12;
constexpr int kLongestMonth = 31;

QListWidget* CheckList(const QString& name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return list;
}

// A check list is as tall as its lines, so it never scrolls.
void FitToLines(QListWidget* list) {
  list->setFixedHeight(list->sizeHintForRow(0) * list->count() + 2 * list->frameWidth() + 2);
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

// A titled column of a check list with an optional button below it.
QGroupBox* Group(const QString& title, QListWidget* list, QPushButton* button, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(list);
  if (button) layout->addWidget(button);
  layout->addStretch();
  return box;
}

const chart::SearchCondition& ConditionOf(const QListWidgetItem* line) {
  return chart::SearchConditions()[static_cast<std::size_t>(line->data(kConditionRole).toInt())];
}

}  // namespace

SearchPage::SearchPage(const chart::MQuorinDay& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), date_(std::make_unique<calendar::MYiDateEx>()) {
  setObjectName(QStringLiteral("SearchPage"));
  BuildConditionLists();
  qiDigitsButton_ = Button(QStringLiteral("Button2"), tr("组合数"), tr("卦气组合"), this);
  yunDigitsButton_ = Button(QStringLiteral("Button3"), tr("组合数"), tr("卦运组合"), this);

  patternBox_ = ComboBox(QStringLiteral("CboJiCond"), this);
  for (const char* pattern : chart::kReadyPatterns) patternBox_->addItem(qtdraw::ShownQString(pattern));
  patternBox_->setCurrentIndex(0);
  clearButton_ = new QToolButton(this);
  clearButton_->setObjectName(QStringLiteral("BtoClearSearch"));
  clearButton_->setText(QStringLiteral("X"));
  const LabeledEdit masterYear = MakeLabeledEdit(QStringLiteral("LedtYearS"), tr("主命生年"), this, kYearInputLength);
  masterYearEdit_ = masterYear.edit;
  personsEditor_ = new PersonsEditor(QStringLiteral("S"), this);
  mountainBox_ = ComboBox(QStringLiteral("CboShanS"), this);
  mountainBox_->setMaxVisibleItems(20);
  FillMountainList(mountainBox_);
  guaBox_ = ComboBox(QStringLiteral("CboGuaS"), this);
  guaBox_->setMinimumContentsLength(5);
  dragonWaterFacingButton_ = Button(QStringLiteral("Button4"), tr("龙-水-向"), tr("选择龙-水-向"), this);
  const LabeledEdit year = MakeLabeledEdit(QStringLiteral("LedtStartYear"), tr("查找年份"), this, kYearInputLength);
  yearEdit_ = year.edit;
  wholeYearButton_ = new QRadioButton(tr("查找年份"), this);
  wholeYearButton_->setObjectName(QStringLiteral("RbtYear"));
  wholeYearButton_->setChecked(true);
  rangeButton_ = new QRadioButton(tr("日期范围"), this);
  rangeButton_->setObjectName(QStringLiteral("RbtRange"));
  const auto dayInputs = [this](const QString& prefix, QLineEdit*& year, QComboBox*& month, QComboBox*& day) {
    year = new QLineEdit(this);
    year->setObjectName(QStringLiteral("Ledt%1Year").arg(prefix));
    year->setMaxLength(kYearInputLength);
    year->setToolTip(tr("公元前用负数，比如公元前120年，就输入-120"));
    month = ComboBox(QStringLiteral("Cbo%1Month").arg(prefix), this);
    for (int i = 1; i <= kMonthsPerYear; ++i) month->addItem(tr("%1月").arg(i));
    day = ComboBox(QStringLiteral("Cbo%1Day").arg(prefix), this);
    for (int i = 1; i <= kLongestMonth; ++i) day->addItem(tr("%1日").arg(i));
    day->setMaxVisibleItems(16);
  };
  dayInputs(QStringLiteral("From"), fromYearEdit_, fromMonthBox_, fromDayBox_);
  dayInputs(QStringLiteral("To"), toYearEdit_, toMonthBox_, toDayBox_);
  searchButton_ = Button(QStringLiteral("BtnSearch"), tr("查找"), QString(), this);
  cancelButton_ = Button(QStringLiteral("BtnCancel"), tr("取消"), tr("停止查找，保留已找到的日课"), this);
  cancelButton_->setEnabled(false);
  exportButton_ =
      Button(QStringLiteral("BtnExport"), tr("导出结果..."), tr("把查找结果保存为CSV文件，可用电子表格打开比较"), this);
  exportButton_->setEnabled(false);
  nearMissesBox_ = new QCheckBox(tr("显示差一条的日课"), this);
  nearMissesBox_->setObjectName(QStringLiteral("ChkNearMisses"));
  nearMissesBox_->setToolTip(tr("符合全部条件的日课之后，再列出只差一个条件的日课，并注明差的是哪一条"));
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("ProgSearch"));
  progressBar_->setTextVisible(false);
  resultList_ = new QListWidget(this);
  resultList_->setObjectName(QStringLiteral("ListSearch"));
  resultList_->setToolTip(tr("双击查看日课"));
  resultList_->setUniformItemSizes(true);
  // Several lines at once for 对比所选日课.
  resultList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  compareButton_ = Button(QStringLiteral("BtnCompare"), tr("对比所选日课"),
                          tr("按住Ctrl键选择2到4条日课，并排对比它们的四柱、卦气卦运、条件和神煞"), this);
  compareButton_->setEnabled(false);

  // Conditions on the left, the search itself on the right.
  auto* conditions = new QGridLayout;
  for (const ConditionBox& box : kConditionBoxes) {
    const auto group = static_cast<std::size_t>(box.group);
    QPushButton* digits = box.group == chart::ConditionGroup::kQi    ? qiDigitsButton_
                          : box.group == chart::ConditionGroup::kYun ? yunDigitsButton_
                                                                     : nullptr;
    conditions->addWidget(
        Group(qtdraw::ShownQString(chart::GroupOf(box.group).title), conditionLists_[group], digits, this), box.row,
        box.column);
  }
  auto* patterns = new QHBoxLayout;
  patterns->addWidget(patternBox_, 1);
  patterns->addWidget(clearButton_);
  auto* mountain = new QHBoxLayout;
  mountain->addWidget(mountainBox_);
  mountain->addWidget(guaBox_, 1);
  auto* setup = new QVBoxLayout;
  setup->addLayout(patterns);
  setup->addWidget(masterYear.box);
  setup->addWidget(new QLabel(tr("其他人"), this));
  setup->addWidget(personsEditor_);
  setup->addWidget(new QLabel(tr("山家"), this));
  setup->addLayout(mountain);
  setup->addWidget(dragonWaterFacingButton_);
  setup->addStretch();
  conditions->addLayout(setup, kSetupRow, kSetupColumn);
  conditions->setRowStretch(kSetupRow + 1, 1);

  auto* results = new QVBoxLayout;
  auto* start = new QHBoxLayout;
  start->addWidget(wholeYearButton_, 0, Qt::AlignBottom);
  start->addWidget(year.box, 1);
  start->addWidget(searchButton_, 0, Qt::AlignBottom);
  results->addLayout(start);
  auto* range = new QGridLayout;
  range->addWidget(rangeButton_, 0, 0);
  range->addWidget(new QLabel(tr("从"), this), 0, 1);
  range->addWidget(fromYearEdit_, 0, 2);
  range->addWidget(new QLabel(tr("年"), this), 0, 3);
  range->addWidget(fromMonthBox_, 0, 4);
  range->addWidget(fromDayBox_, 0, 5);
  range->addWidget(new QLabel(tr("到"), this), 1, 1);
  range->addWidget(toYearEdit_, 1, 2);
  range->addWidget(new QLabel(tr("年"), this), 1, 3);
  range->addWidget(toMonthBox_, 1, 4);
  range->addWidget(toDayBox_, 1, 5);
  range->setColumnStretch(2, 1);
  results->addLayout(range);
  results->addWidget(nearMissesBox_);
  results->addWidget(progressBar_);
  zoneNote_ = new QLabel(this);
  zoneNote_->setObjectName(QStringLiteral("LblSearchZone"));
  zoneNote_->setWordWrap(true);
  zoneNote_->hide();
  results->addWidget(zoneNote_);
  results->addWidget(resultList_, 1);
  auto* after = new QHBoxLayout;
  after->addWidget(cancelButton_);
  after->addStretch();
  after->addWidget(compareButton_);
  after->addWidget(exportButton_);
  results->addLayout(after);

  auto* page = new QHBoxLayout(this);
  page->addLayout(conditions);
  page->addLayout(results, 1);

  connect(searchButton_, &QPushButton::clicked, this, &SearchPage::StartSearch);
  connect(patternBox_, &QComboBox::activated, this, &SearchPage::ApplyChosenPattern);
  connect(clearButton_, &QToolButton::clicked, this, [this] { ClearConditions(true); });
  connect(qiDigitsButton_, &QPushButton::clicked, this, [this] { EditDigits(tr("卦气组合"), request_.qiDigits); });
  connect(yunDigitsButton_, &QPushButton::clicked, this, [this] { EditDigits(tr("卦运组合"), request_.yunDigits); });
  connect(dragonWaterFacingButton_, &QPushButton::clicked, this, &SearchPage::EditDragonWaterFacing);
  connect(mountainBox_, &QComboBox::activated, this, &SearchPage::RefillGuaList);
  connect(resultList_, &QListWidget::itemDoubleClicked, this, &SearchPage::ChartResult);
  connect(cancelButton_, &QPushButton::clicked, &worker_, &SearchWorker::Cancel);
  connect(exportButton_, &QPushButton::clicked, this, &SearchPage::ExportResults);
  connect(compareButton_, &QPushButton::clicked, this, &SearchPage::CompareSelected);
  connect(resultList_, &QListWidget::itemSelectionChanged, this, [this] {
    const auto count = resultList_->selectedItems().size();
    compareButton_->setEnabled(count >= chart::kMinComparedCandidates && count <= chart::kMaxComparedCandidates);
  });
  connect(wholeYearButton_, &QRadioButton::toggled, this, &SearchPage::ShowRangeInputs);
  connect(&worker_, &SearchWorker::RangeSet, progressBar_, [this](int maximum) {
    progressBar_->setRange(0, maximum);
    progressBar_->setValue(0);
  });
  connect(&worker_, &SearchWorker::Progressed, this, &SearchPage::ShowFound);
  connect(&worker_, &SearchWorker::Finished, this, &SearchPage::FinishSearch);
  resultList_->viewport()->installEventFilter(this);

  ClearConditions(false);
  ShowRangeInputs();
}

SearchPage::~SearchPage() { worker_.Stop(); }

void SearchPage::BuildConditionLists() {
  for (const ConditionBox& box : kConditionBoxes) {
    conditionLists_[static_cast<std::size_t>(box.group)] = CheckList(QString::fromLatin1(box.listName), this);
  }
  const std::span<const chart::SearchCondition> all = chart::SearchConditions();
  for (std::size_t i = 0; i < all.size(); ++i) {
    auto* line = new QListWidgetItem(qtdraw::ShownQString(chart::ConditionCaption(all[i])),
                                     conditionLists_[static_cast<std::size_t>(all[i].group)]);
    line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    line->setCheckState(Qt::Unchecked);
    line->setData(kConditionRole, static_cast<int>(i));
  }
  for (QListWidget* list : conditionLists_) FitToLines(list);
}

QString SearchPage::MasterYearText() const { return masterYearEdit_->text(); }
const std::vector<OtherPerson>& SearchPage::OtherPersons() const { return personsEditor_->Persons(); }
int SearchPage::Mountain() const { return mountainBox_->currentIndex(); }
int SearchPage::MountainGua() const { return guaBox_->currentIndex(); }

void SearchPage::ShowRangeInputs() {
  const bool range = rangeButton_->isChecked();
  yearEdit_->setEnabled(!range);
  for (QWidget* w : std::initializer_list<QWidget*>{fromYearEdit_, fromMonthBox_, fromDayBox_, toYearEdit_, toMonthBox_,
                                                    toDayBox_}) {
    w->setEnabled(range);
  }
}

void SearchPage::RefillGuaList() { FillGuaList(guaBox_, mountainBox_->currentIndex()); }

void SearchPage::ClearCheckListHighlights() {
  for (QListWidget* list : conditionLists_) {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
}

void SearchPage::ReadTicks() {
  for (QListWidget* list : conditionLists_) {
    for (int row = 0; row < list->count(); ++row) {
      const QListWidgetItem* line = list->item(row);
      chart::Set(request_, ConditionOf(line), line->checkState() == Qt::Checked);
    }
  }
  request_.UpdateConditionCounts();
}

void SearchPage::ShowRequest() {
  ClearCheckListHighlights();
  const chart::SearchRequest& q = request_;
  for (QListWidget* list : conditionLists_) {
    for (int row = 0; row < list->count(); ++row) {
      QListWidgetItem* line = list->item(row);
      line->setCheckState(chart::IsSet(q, ConditionOf(line)) ? Qt::Checked : Qt::Unchecked);
    }
  }
  // The request holds astronomical years; the fields are read back as users write them.
  masterYearEdit_->setText(QString::number(calendar::HistoricalYear(q.masterYear)));
  personsEditor_->SetPersons(q.otherPersons);
  yearEdit_->setText(QString::number(calendar::HistoricalYear(q.year)));
  // The range starts as the year searched, until the user chooses other days.
  for (QLineEdit* edit : {fromYearEdit_, toYearEdit_}) {
    if (edit->text().isEmpty()) edit->setText(yearEdit_->text());
  }
  if (toMonthBox_->currentIndex() == 0 && toDayBox_->currentIndex() == 0) {
    toMonthBox_->setCurrentIndex(kMonthsPerYear - 1);
    toDayBox_->setCurrentIndex(kLongestMonth - 1);
  }
  mountainBox_->setCurrentIndex(q.mountain);
  RefillGuaList();
  guaBox_->setCurrentIndex(q.mountainGua);
}

void SearchPage::ClearConditions(bool ask) {
  if (ask && !AskYesNo(this, tr("确定要清空输入的查找条件吗？"), tr("清空条件"), Icon::Information)) {
    return;
  }
  const QDateTime now = LocalNow();
  // Unlike the chart inputs, the page takes any year the calendar has.
  const int year = std::min(now.date().year(), calendar::kLastCalendarYear);
  const calendar::CivilDateTime moment{static_cast<std::int16_t>(year), static_cast<std::int16_t>(now.date().month()),
                                       static_cast<std::int16_t>(now.date().day()),
                                       static_cast<std::int16_t>(now.time().hour()),
                                       static_cast<std::int16_t>(now.time().minute())};
  request_ = chart::ClearedSearchRequest(calendar::AstronomicalYear(date_->PillarYearOf(moment)));
  ShowRequest();
}

void SearchPage::ApplyChosenPattern() {
  const int item = patternBox_->currentIndex();
  if (item <= 0) {
    Tell(this, tr("可以直接点击某个吉格，不用选择查找条件！"));
    return;
  }
  // What the page shows is what the user means to keep: typed years and the mountain.
  const std::optional<int> master = TypedInteger(masterYearEdit_->text());
  const std::optional<int> year = TypedInteger(yearEdit_->text());
  if (master && calendar::IsValidHistoricalYear(*master)) request_.masterYear = calendar::AstronomicalYear(*master);
  request_.otherPersons = personsEditor_->Persons();
  if (year && calendar::IsValidHistoricalYear(*year)) request_.year = calendar::AstronomicalYear(*year);
  if (mountainBox_->currentIndex() >= 0 && guaBox_->currentIndex() >= 0) {
    request_.mountain = mountainBox_->currentIndex();
    request_.mountainGua = guaBox_->currentIndex();
  }
  chart::ApplyReadyPattern(request_, item);
  ShowRequest();
  Tell(this, tr("点击“查找”按钮就可以找到相应的吉课了！"));
}

void SearchPage::EditDigits(const QString& caption, chart::DigitGroup& digits) {
  TFrmNumCombin dialog(caption, digits, this);
  dialog.exec();
}

void SearchPage::EditDragonWaterFacing() {
  TRecordData scratch;
  chart::CopyDragonWaterFacing(request_, scratch);
  TFrmMoreInput dialog(scratch, this);
  if (dialog.exec() != QDialog::Accepted) return;
  chart::CopyDragonWaterFacing(scratch, request_);
}

void SearchPage::StartSearch() {
  if (worker_.Running()) return;
  const std::optional<int> master =
      ReadYearInput(this, masterYearEdit_, YearRangeMessage(QStringLiteral("主命")), tr("年份错误"));
  if (!master) return;
  chart::SearchDays days;
  if (rangeButton_->isChecked()) {
    const auto day = [this](QLineEdit* year, QComboBox* month,
                            QComboBox* day) -> std::optional<calendar::CivilDateTime> {
      const std::optional<int> y =
          ReadYearInput(this, year, YearRangeMessage(QStringLiteral("查找")), tr("查找年份错误"));
      if (!y) return std::nullopt;
      return calendar::CivilDateTime{static_cast<std::int16_t>(*y),
                                     static_cast<std::int16_t>(month->currentIndex() + 1),
                                     static_cast<std::int16_t>(day->currentIndex() + 1), 0, 0};
    };
    const auto first = day(fromYearEdit_, fromMonthBox_, fromDayBox_);
    if (!first) return;
    const auto last = day(toYearEdit_, toMonthBox_, toDayBox_);
    if (!last) return;
    days = {*first, *last};
    const std::string problem = chart::SearchDaysProblem(days);
    if (!problem.empty()) {
      Tell(this, qtdraw::ShownQString(problem), tr("查找日期错误"), Icon::Warning);
      return;
    }
  } else {
    const std::optional<int> year =
        ReadYearInput(this, yearEdit_, YearRangeMessage(QStringLiteral("查找")), tr("查找年份错误"));
    if (!year) return;
    days = chart::WholeYear(*year);
  }
  chart::SearchRequest& q = request_;
  q.masterYear = *master;
  q.otherPersons = personsEditor_->Persons();
  q.year = days.first.year;
  q.mountain = mountainBox_->currentIndex();
  q.mountainGua = guaBox_->currentIndex();
  ReadTicks();
  q.nearMisses = nearMissesBox_->isChecked();
  // The place of the last chart: a zoned one's days and hours are its clock times.
  searchedPlace_ = engine_.Request();
  q.zone = searchedPlace_.zone;
  zoneNote_->setVisible(!q.zone.empty());
  if (!q.zone.empty()) {
    zoneNote_->setText(tr("按%1的钟表时间查找（%2，含夏令时），结果中的时间都是当地时间。")
                           .arg(ToQString(base::ZoneCityName(q.zone, base::ShownScript())), ToQString(q.zone)));
  }

  searchButton_->setEnabled(false);
  exportButton_->setEnabled(false);
  cancelButton_->setEnabled(true);
  results_.clear();
  resultList_->clear();
  resultsRequest_ = q;
  // A copy of the engine walks the days (with the place of the last chart): the chart on
  // screen keeps its moment for the hour and day steps and its positions for the picture's
  // clicks. Closing the window stops the walk.
  window()->installEventFilter(this);
  worker_.Start(engine_, resultsRequest_, days);
}

void SearchPage::ShowFound(int position, const std::vector<chart::SearchResult>& found) {
  for (const chart::SearchResult& result : found) {
    auto* line = new QListWidgetItem(qtdraw::ShownQString(chart::SearchResultLine(result)));
    line->setData(kResultRole, static_cast<int>(results_.size()));
    resultList_->addItem(line);
    results_.push_back(result);
  }
  progressBar_->setValue(position);
}

void SearchPage::FinishSearch(int found, bool cancelled, int position) {
  // The bar ends where the walk ended: at the end, or on the day a cancel stopped it.
  progressBar_->setValue(position);
  cancelButton_->setEnabled(false);
  QString report;
  const auto nearMisses = static_cast<int>(
      std::count_if(results_.begin(), results_.end(), [](const chart::SearchResult& r) { return !r.missed.empty(); }));
  if (nearMisses > 0) {
    report = cancelled ? tr("已取消，保留了已找到的%1条日课和%2条差一条的日课，双击直接查看日课！").arg(found).arg(nearMisses)
                       : tr("共找到%1条日课，另有%2条差一条的日课列在后面，双击直接查看日课！").arg(found).arg(nearMisses);
  } else if (cancelled) {
    report = found > 0 ? tr("已取消，保留了已找到的%1条日课，双击直接查看日课！").arg(found)
                       : tr("已取消，还没有找到符合条件的日课。");
  } else if (resultsRequest_.nearMisses) {
    report = found > 0 ? tr("共找到%1条日课，没有差一条的日课，双击直接查看日课！").arg(found)
                       : tr("没有找到符合条件的日课，也没有差一条的日课，请改变查找条件。");
  } else {
    report = found > 0 ? tr("共找到%1条日课，双击直接查看日课！").arg(found)
                       : tr("没有找到符合条件的日课，请改变查找条件。");
  }
  Tell(this, report, tr("查找日课"), Icon::Information);
  searchButton_->setEnabled(true);
  exportButton_->setEnabled(!results_.empty());
  ClearCheckListHighlights();
  emit SearchEnded(found, cancelled);
}

void SearchPage::StopSearchQuietly() {
  worker_.Stop();
  cancelButton_->setEnabled(false);
  searchButton_->setEnabled(true);
  exportButton_->setEnabled(!results_.empty());
  emit SearchEnded(static_cast<int>(results_.size()), true);
}

void SearchPage::ExportResults() {
  if (worker_.Running() || results_.empty()) return;
  const FileRequest request{tr("导出结果"), {{tr("CSV文件"), QStringLiteral("*.csv")}}, 0};
  const std::optional<FileChoice> choice = Prompts().SaveFile(this, request);
  if (!choice || choice->path.isEmpty()) return;
  QString path = choice->path;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
  if (QFileInfo::exists(path) &&
      !AskYesNo(this, tr("%1 已存在，要替换它吗？").arg(path), tr("导出结果"), Icon::Warning, Answer::No)) {
    return;
  }
  std::string message;
  if (!chart::WriteSearchResultsCsv(ToUtf8(path), resultsRequest_, results_, message)) {
    Tell(this, qtdraw::ShownQString(message), tr("错误"), Icon::Error);
  }
}

const chart::SearchResult* SearchPage::ResultOf(const QListWidgetItem* line) const {
  if (!line) return nullptr;
  bool ok = false;
  const int index = line->data(kResultRole).toInt(&ok);
  return ok && index >= 0 && static_cast<std::size_t>(index) < results_.size()
             ? &results_[static_cast<std::size_t>(index)]
             : nullptr;
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == resultList_->viewport() && event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const chart::SearchResult* result = ResultOf(resultList_->itemAt(help->pos()))) {
      QToolTip::showText(help->globalPos(), qtdraw::ShownQString(chart::SearchResultDetail(*result)), resultList_->viewport());
      return true;
    }
  }
  // The window hides when it closes (a minimised one hides on the window system's word).
  if (watched == window() && event->type() == QEvent::Hide && !event->spontaneous() && worker_.Running()) {
    StopSearchQuietly();
  }
  return QWidget::eventFilter(watched, event);
}

TRecordData SearchPage::ComparedRequest() const {
  // The chart a result line opens: the last chart's person and place, the page's persons and positions.
  TRecordData r = searchedPlace_;
  const chart::SearchRequest& q = request_;
  r.masterYear = q.masterYear;
  r.otherPersons = q.otherPersons;
  r.mountain = q.mountain;
  r.mountainGua = q.mountainGua;
  chart::CopyDragonWaterFacing(q, r);
  r.zone = q.zone;
  r.fold = 0;
  return r;
}

void SearchPage::CompareSelected() {
  std::vector<const QListWidgetItem*> lines;
  for (const QListWidgetItem* line : resultList_->selectedItems()) lines.push_back(line);
  std::sort(lines.begin(), lines.end(),
            [this](const QListWidgetItem* a, const QListWidgetItem* b) { return resultList_->row(a) < resultList_->row(b); });
  std::vector<calendar::CivilDateTime> moments;
  for (const QListWidgetItem* line : lines) {
    if (const chart::SearchResult* result = ResultOf(line)) moments.push_back(result->moment);
  }
  const TRecordData request = ComparedRequest();
  ShowComparisonWindow(window(), chart::CompareCandidates(engine_, request, request_, moments), request);
}

void SearchPage::ChartResult(const QListWidgetItem* line) {
  const chart::SearchResult* result = ResultOf(line);
  if (!result) return;
  emit ChartRequested(result->moment.year, result->moment.month, result->moment.day, result->moment.hour);
}

}  // namespace quorin::ui

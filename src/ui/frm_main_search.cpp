#include "ui/frm_main_search.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendar/historical_year.h"
#include "calendar/yi_date_ex.h"
#include "chart/domain_tables.h"
#include "chart/quorin_day.h"
#include "chart/search.h"
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

// The progress bar and the result list as the engine's search sees them. The bar
// is repainted at every step, so the window shows the search moving on; lines
// reach the list a day at a time.
class ProgressListSink final : public chart::SearchSink {
 public:
  ProgressListSink(QProgressBar* progress, QListWidget* list) : progress_(progress), list_(list) {}
  ~ProgressListSink() override { Flush(); }
  void SetRange(int minimum, int maximum) override { progress_->setRange(minimum, maximum); }
  void SetPosition(int position) override {
    Flush();
    progress_->setValue(position);
    progress_->repaint();
  }
  int Position() const override { return progress_->value(); }
  void Clear() override {
    pending_.clear();
    list_->clear();
  }
  void AppendLine(std::string_view utf8) override {
    pending_.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  }

 private:
  void Flush() {
    if (pending_.isEmpty()) return;
    list_->addItems(pending_);
    pending_.clear();
  }

  QProgressBar* progress_;
  QListWidget* list_;
  QStringList pending_;
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
  BtnSearch = Button(QStringLiteral("BtnSearch"), QStringLiteral("查找"), QString(), this);
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
  start->addWidget(startYear.box, 1);
  start->addWidget(BtnSearch, 0, Qt::AlignBottom);
  results->addLayout(start);
  results->addWidget(ProgSearch);
  results->addWidget(ListSearch, 1);

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

  ClearConditions(false);
}

SearchPage::~SearchPage() = default;

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
  const int master = IntegerOrDefault(LedtYearS->text(), -5000);
  const int year = IntegerOrDefault(LedtStartYear->text(), -5000);
  if (calendar::IsValidHistoricalYear(master)) request_.masterYear = calendar::AstronomicalYear(master);
  if (calendar::IsValidHistoricalYear(year)) request_.year = calendar::AstronomicalYear(year);
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
  const std::optional<int> master =
      ReadYearInput(this, LedtYearS, YearRangeMessage(QStringLiteral("主命")), QStringLiteral("年份错误"));
  if (!master) return;
  const std::optional<int> year =
      ReadYearInput(this, LedtStartYear, YearRangeMessage(QStringLiteral("查找")), QStringLiteral("查找年份错误"));
  if (!year) return;
  chart::SearchRequest& q = request_;
  q.masterYear = *master;
  q.year = *year;
  q.mountain = CboShanS->currentIndex();
  q.mountainGua = CboGuaS->currentIndex();
  ForEachCheckRow([](QListWidget* list, int row, bool& flag) { flag = IsTicked(list, row); });
  q.UpdateConditionCounts();

  BtnSearch->setEnabled(false);
  int found = 0;
  {
    // A copy of the engine walks the year (with the place of the last chart): the
    // chart on screen keeps its moment for the hour and day steps and its positions
    // for the picture's clicks.
    chart::MQuorinDay walker = engine_;
    ProgressListSink sink(ProgSearch, ListSearch);
    found = walker.Search(q, sink);
  }
  Tell(this,
       found > 0 ? QStringLiteral("共找到%1条日课，双击直接查看日课！").arg(found)
                 : QStringLiteral("没有找到符合条件的日课，请改变查找条件。"),
       QStringLiteral("查找日课"), Icon::Information);
  BtnSearch->setEnabled(true);
  ClearCheckListHighlights();
}

void SearchPage::ListSearchDblClick() {
  const QListWidgetItem* item = ListSearch->currentItem();
  if (!item) return;
  const auto moment = chart::ParseSearchResultLine(ToUtf8(item->text()));
  if (!moment) return;
  emit ChartRequested(moment->year, moment->month, moment->day, moment->hour);
}

}  // namespace quorin::ui

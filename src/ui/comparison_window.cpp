// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/comparison_window.h"

#include <QBrush>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>

#include "qtdraw/shown_text.h"
#include "sheet/comparison_sheet.h"
#include "ui/program_files.h"
#include "ui/prompter.h"

namespace quorin::ui {
namespace {

const QColor kDiffersBackground(255, 242, 204);  // light amber, as on the printed page
// Room for the table of four candidates without scrolling sideways on a common screen.
constexpr int kInitialWidth = 1100;
constexpr int kInitialHeight = 720;

}  // namespace

ComparisonWindow::ComparisonWindow(QWidget* parent, chart::CandidateComparison comparison, TRecordData request)
    : QWidget(parent, Qt::Window),
      comparison_(std::move(comparison)),
      request_(std::move(request)),
      table_(new QTableWidget(this)),
      printButton_(new QPushButton(tr("打印..."), this)),
      savePdfButton_(new QPushButton(tr("保存PDF..."), this)),
      closeButton_(new QPushButton(tr("关闭"), this)) {
  setObjectName(QStringLiteral("FrmCompare"));
  setWindowTitle(tr("对比所选日课"));
  table_->setObjectName(QStringLiteral("GridCompare"));
  printButton_->setObjectName(QStringLiteral("BtnComparePrint"));
  savePdfButton_->setObjectName(QStringLiteral("BtnComparePdf"));
  closeButton_->setObjectName(QStringLiteral("BtnCompareClose"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(printButton_);
  buttons->addWidget(savePdfButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(buttons);

  FillTable();
  connect(printButton_, &QPushButton::clicked, this, &ComparisonWindow::Print);
  connect(savePdfButton_, &QPushButton::clicked, this, &ComparisonWindow::SavePdf);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  resize(kInitialWidth, kInitialHeight);
}

void ComparisonWindow::FillTable() {
  // The labels are the first column, so that they wrap, shade and grow as the values do.
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(true);
  table_->verticalHeader()->hide();
  table_->setColumnCount(static_cast<int>(comparison_.captions.size()) + 1);
  table_->setRowCount(static_cast<int>(comparison_.rows.size()));
  QStringList captions{QString()};
  for (const std::string& caption : comparison_.captions) captions << qtdraw::ShownQString(caption);
  table_->setHorizontalHeaderLabels(captions);
  for (int r = 0; r < table_->rowCount(); ++r) {
    const chart::ComparisonRow& row = comparison_.rows[static_cast<std::size_t>(r)];
    auto* label = new QTableWidgetItem(qtdraw::ShownQString(row.label));
    QFont font = label->font();
    font.setBold(row.differs);
    label->setFont(font);
    table_->setItem(r, 0, label);
    for (std::size_t c = 0; c < row.values.size(); ++c) {
      table_->setItem(r, static_cast<int>(c) + 1, new QTableWidgetItem(qtdraw::ShownQString(row.values[c])));
    }
    for (int c = 0; row.differs && c < table_->columnCount(); ++c) table_->item(r, c)->setBackground(kDiffersBackground);
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  // A wrapped value needs its row's height again whenever the columns change width.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void ComparisonWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  sheet::UseComparisonPage(printer);
  if (!Prompts().SetUpPrinter(this, printer)) return;
  printer.setDocName(tr("日课对比"));
  // The dialog may have chosen other paper; the margins and the orientation stay the page's.
  sheet::UseComparisonPage(printer, true);
  if (!sheet::PaintComparisonSheet(printer, comparison_, request_, QDate::currentDate()) ||
      printer.printerState() == QPrinter::Error) {
    Tell(this, tr("请检查打印机能否正常工作！"), tr("打印错误"), Icon::Error);
  }
}

void ComparisonWindow::SavePdf() {
  const FileRequest request{tr("保存日课对比"), {{tr("PDF文件"), QStringLiteral("*.pdf")}}, 0};
  const std::optional<FileChoice> choice = Prompts().SaveFile(this, request);
  if (!choice) return;
  QString name = choice->path;
  if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += QStringLiteral(".pdf");
  const std::string path = ToUtf8(name);
  std::error_code ec;
  if (std::filesystem::exists(path, ec) &&
      !AskYesNo(this, tr("%1 已存在，要替换它吗？").arg(name), tr("保存日课对比"), Icon::Warning, Answer::No)) {
    return;
  }
  std::string error;
  if (!sheet::WriteComparisonPdf(path, comparison_, request_, QDate::currentDate(), &error)) {
    Tell(this, tr("无法保存文件%1：%2").arg(name, ToQString(error)), tr("错误"), Icon::Error);
    return;
  }
  Tell(this, tr("已保存！"));
}

ComparisonWindow* ShowComparisonWindow(QWidget* parent, const chart::CandidateComparison& comparison,
                                       const TRecordData& request) {
  if (!comparison.refusal.empty()) {
    Tell(parent, qtdraw::ShownQString(comparison.refusal), ComparisonWindow::tr("对比所选日课"), Icon::Information);
    return nullptr;
  }
  auto* window = new ComparisonWindow(parent, comparison, request);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  window->raise();
  return window;
}

}  // namespace quorin::ui

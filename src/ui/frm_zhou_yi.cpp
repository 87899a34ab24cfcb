// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frm_zhou_yi.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShowEvent>

#include "iching/hexagrams.h"
#include "iching/zhou_yi_page.h"
#include "qtdraw/fonts.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/program_start.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {

const char* const kYang = "━━━　";
const char* const kYin = "━　━　";

QPointer<TFrmZhouYi>& Current() {
  static QPointer<TFrmZhouYi> window;
  return window;
}

}  // namespace

TFrmZhouYi::TFrmZhouYi(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmZhouYi"));
  setWindowTitle(tr("易经卦爻辞"));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(qtdraw::SongFont(kProgramFontPoints));
  resize(578, 336);

  sidePanel_ = new QWidget(this);
  sidePanel_->setObjectName(QStringLiteral("Panel1"));
  sidePanel_->setGeometry(0, 0, 137, 336);
  const QFont nameFont = qtdraw::SongFont(14, true);
  const QFont lineFont = qtdraw::SongFont(16);
  for (int i = 0; i < static_cast<int>(hexagramLabels_.size()); ++i) {
    hexagramLabels_[static_cast<std::size_t>(i)] = new QLabel(sidePanel_);
    QLabel* label = hexagramLabels_[static_cast<std::size_t>(i)];
    label->setObjectName(QStringLiteral("lab%1").arg(i));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(i == 0 ? nameFont : lineFont);
    label->setGeometry(4, i == 0 ? 8 : 16 + i * 29, 129, i == 0 ? 30 : 27);
  }
  palaceBox_ = new QComboBox(sidePanel_);
  palaceBox_->setObjectName(QStringLiteral("cbogong"));
  palaceBox_->setGeometry(10, 242, 117, 26);
  hexagramBox_ = new QComboBox(sidePanel_);
  hexagramBox_->setObjectName(QStringLiteral("cboming"));
  hexagramBox_->setGeometry(10, 280, 117, 26);

  hexagramText_ = new QPlainTextEdit(this);
  hexagramText_->setObjectName(QStringLiteral("memgua"));
  hexagramText_->setReadOnly(true);
  hexagramText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  hexagramText_->setGeometry(137, 0, 441, 336);

  connect(palaceBox_, &QComboBox::activated, this, &TFrmZhouYi::ShowPalace);
  connect(hexagramBox_, &QComboBox::activated, this, &TFrmZhouYi::ShowHexagram);

  // Created once and shown again and again: the scaling is applied here only.
  ApplyProgramUiFont(this);
  setFixedSize(size());
}

TFrmZhouYi* TFrmZhouYi::ShowInstance(QWidget* owner) {
  if (!Current()) {
    Current() = new TFrmZhouYi(owner);
    Current()->setAttribute(Qt::WA_DeleteOnClose);
    CentreOnScreen(Current());
  }
  BringToFront(Current());
  return Current();
}

TFrmZhouYi* TFrmZhouYi::Instance() { return Current(); }

void TFrmZhouYi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FillPalaces();
}

void TFrmZhouYi::FillPalaces() {
  palaceBox_->clear();
  for (int palace = 0; palace < iching::kTrigramCount; ++palace) {
    palaceBox_->addItem(qtdraw::ShownQString(iching::TrigramName(palace)) + tr("宫"));
  }
  palaceBox_->setCurrentIndex(0);
  ShowPalace();
}

void TFrmZhouYi::ShowPalace() {
  hexagramBox_->clear();
  for (const std::string& name : iching::PalaceHexagramNames(palaceBox_->currentIndex())) {
    hexagramBox_->addItem(qtdraw::ShownQString(name), ToQString(name));
  }
  hexagramBox_->setCurrentIndex(0);
  ShowHexagram();
}

void TFrmZhouYi::ShowHexagram() {
  const int palace = palaceBox_->currentIndex();
  const int member = hexagramBox_->currentIndex();
  if (palace < 0 || member < 0) return;
  const std::string name = ToUtf8(hexagramBox_->currentData().toString());
  // The first name of every palace is its pure hexagram.
  const std::string lines = iching::HexagramLinesOfName(name, member == 0);
  hexagramLabels_[0]->setText(qtdraw::ShownQString(name));
  for (int i = 1; i <= iching::kLinesPerHexagram; ++i) {
    const bool yang = static_cast<int>(lines.size()) == iching::kLinesPerHexagram &&
                      lines[static_cast<std::size_t>(i - 1)] == iching::kYangLine;
    hexagramLabels_[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(yang ? kYang : kYin));
  }
  hexagramText_->setPlainText(qtdraw::ShownQString(iching::HexagramMemoText(palace, member, name, lines)));
}

}  // namespace quorin::ui

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
#include "ui/program_files.h"
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
  setWindowTitle(QStringLiteral("易经卦爻辞"));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(qtdraw::SongFont(10.5));
  resize(578, 336);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, 0, 137, 336);
  const QFont nameFont = qtdraw::SongFont(14, true);
  const QFont lineFont = qtdraw::SongFont(16);
  for (int i = 0; i < 7; ++i) {
    lab[static_cast<std::size_t>(i)] = new QLabel(Panel1);
    QLabel* label = lab[static_cast<std::size_t>(i)];
    label->setObjectName(QStringLiteral("lab%1").arg(i));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(i == 0 ? nameFont : lineFont);
    label->setGeometry(4, i == 0 ? 8 : 16 + i * 29, 129, i == 0 ? 30 : 27);
  }
  cbogong = new QComboBox(Panel1);
  cbogong->setObjectName(QStringLiteral("cbogong"));
  cbogong->setGeometry(10, 242, 117, 26);
  cboming = new QComboBox(Panel1);
  cboming->setObjectName(QStringLiteral("cboming"));
  cboming->setGeometry(10, 280, 117, 26);

  memgua = new QPlainTextEdit(this);
  memgua->setObjectName(QStringLiteral("memgua"));
  memgua->setReadOnly(true);
  memgua->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memgua->setGeometry(137, 0, 441, 336);

  connect(cbogong, &QComboBox::activated, this, &TFrmZhouYi::cbogongClick);
  connect(cboming, &QComboBox::activated, this, &TFrmZhouYi::cbomingClick);

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
  if (!event->spontaneous()) FormShow();
}

void TFrmZhouYi::FormShow() {
  cbogong->clear();
  for (int palace = 0; palace < iching::kTrigramCount; ++palace) {
    cbogong->addItem(ToQString(std::string(iching::TrigramName(palace))) + "宫");
  }
  cbogong->setCurrentIndex(0);
  cbogongClick();
}

void TFrmZhouYi::cbogongClick() {
  cboming->clear();
  for (const std::string& name : iching::PalaceHexagramNames(cbogong->currentIndex())) {
    cboming->addItem(ToQString(name));
  }
  cboming->setCurrentIndex(0);
  cbomingClick();
}

void TFrmZhouYi::cbomingClick() {
  const int palace = cbogong->currentIndex();
  const int member = cboming->currentIndex();
  if (palace < 0 || member < 0) return;
  const std::string name = ToUtf8(cboming->currentText());
  // The first name of every palace is its pure hexagram.
  const std::string lines = iching::HexagramLinesOfName(name, member == 0);
  lab[0]->setText(ToQString(name));
  for (int i = 1; i <= iching::kLinesPerHexagram; ++i) {
    const bool yang = static_cast<int>(lines.size()) == iching::kLinesPerHexagram &&
                      lines[static_cast<std::size_t>(i - 1)] == iching::kYangLine;
    lab[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(yang ? kYang : kYin));
  }
  memgua->setPlainText(ToQString(iching::HexagramMemoText(palace, member, name, lines)));
}

}  // namespace quorin::ui

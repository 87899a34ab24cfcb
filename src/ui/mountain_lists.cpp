// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mountain_lists.h"

#include <QComboBox>

#include "chart/domain_tables.h"
#include "qtdraw/shown_text.h"
#include "ui/program_files.h"
#include "ui/ui_text.h"

namespace quorin::ui {

void FillMountainList(QComboBox* list) {
  for (int m = 0; m < chart::kMountainCount; ++m) {
    list->addItem(qtdraw::ShownQString(chart::MountainName(m)) + UiText::tr("山"));
  }
}

void FillGuaList(QComboBox* list, int mountain) {
  list->clear();
  if (mountain < 0 || mountain >= chart::kMountainCount) return;
  for (int column = 0; column < chart::kMountainColumns; ++column) {
    const int gua = chart::GuaForMountain(mountain, column);
    if (gua >= 0) list->addItem(qtdraw::ShownQString(chart::GuaName(gua)));
  }
  list->setCurrentIndex(0);
}

}  // namespace quorin::ui

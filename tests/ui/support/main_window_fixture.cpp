#include "support/main_window_fixture.h"

#include <QRadioButton>
#include <QTest>

#include "ui/up_down.h"

namespace quorin::testing {

MainWindowFixture::MainWindowFixture(bool show, bool withPlaces) : folder(withPlaces) {
  window = std::make_unique<ui::TFrmMain>();
  if (show) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
}

MainWindowFixture::~MainWindowFixture() {
  if (window && window->isVisible()) {
    prompter.answers.enqueue(ui::Answer::Yes);
    window->close();
  }
}

void MainWindowFixture::Close() {
  prompter.answers.enqueue(ui::Answer::Yes);
  window->close();
}

void MainWindowFixture::SetMoment(int year, int month, int day, int hour, int minute) {
  window->EdtYear->setText(QString::number(year));
  window->cbom->setCurrentIndex(month - 1);
  window->cbod->setCurrentIndex(day - 1);
  window->cbos->setCurrentIndex(hour);
  window->cbomin->setCurrentIndex(minute);
  window->Rdogl->setChecked(true);
}

bool MainWindowFixture::Pai() {
  window->BtnPai->click();
  return window->ChartShown();
}

}  // namespace quorin::testing

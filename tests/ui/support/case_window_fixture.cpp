// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/case_window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "support/chart_request.h"
#include "support/named_control.h"
#include "ui/case_tree_view.h"
#include "ui/frm_fen_lei.h"
#include "ui/program_objects.h"

namespace quorin::testing {

TRecordData SampleCase(const std::string& name, int year, int month, int day, int hour, int minute,
                       const std::string& category, bool male) {
  TRecordData r = ChartRequest(year, month, day, hour, minute, 0, 0);
  r.name = name;
  r.male = male;
  r.masterYear = 1970;
  r.className = category;
  r.remarkText = name + "的评语";
  return r;
}

TRecordData StoredCase(int id) {
  cases::MRecordBase reader;
  TRecordData r;
  if (reader.Open(ui::CaseDatabasePath())) reader.Read(id, r);
  return r;
}

void TypeRemark(QTextEdit* editor, const QString& text) {
  editor->selectAll();
  editor->insertPlainText(text);
}

CaseWindowFixture::CaseWindowFixture(bool show) {
  ui::SetProgramCaseStore(&store);
  if (show) Show();
}

CaseWindowFixture::~CaseWindowFixture() {
  if (main.window && main.window->isVisible()) {
    main.prompter.answers.enqueue(ui::Answer::Yes);
    main.window->close();
  }
  main.window.reset();
  ui::SetProgramCaseStore(nullptr);
}

void CaseWindowFixture::Show() {
  main.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(main.window.get()));
}

void CaseWindowFixture::Restart() {
  if (main.window->isVisible()) Close();
  main.window = std::make_unique<ui::TFrmMain>();
  Show();
}

void CaseWindowFixture::Close() { main.Close(); }

std::vector<int> CaseWindowFixture::StoreCases(const std::vector<TRecordData>& cases) {
  cases::MRecordBase writer;
  std::vector<int> ids;
  if (!writer.Open(ui::CaseDatabasePath())) return ids;
  for (TRecordData r : cases) ids.push_back(writer.Insert(r).value_or(-1));
  return ids;
}

void CaseWindowFixture::StoreManyCases(int count, const std::string& category) {
  cases::MRecordBase writer;
  QVERIFY(writer.Open(ui::CaseDatabasePath()));
  QVERIFY(writer.BeginBatch());
  for (int i = 0; i < count; ++i) {
    TRecordData r = SampleCase("甲" + std::to_string(i), 1900 + i / 365, 1 + i / 28 % 12, 1 + i % 28, i % 24, i % 60,
                               category, i % 2 == 0);
    QVERIFY(writer.InsertInBatch(r) > 0);
  }
  QVERIFY(writer.EndBatch());
}

bool CaseWindowFixture::PaiFor(const QString& name, int year, int month, int day, int hour, int minute) {
  ChartInput<QLineEdit>(main.window.get(), "EdtName")->setText(name);
  main.SetMoment(year, month, day, hour, minute);
  return main.Pai();
}

void CaseWindowFixture::SaveNew(const QString& category) {
  WhenDialogShows<ui::TFrmFenLei>([category](ui::TFrmFenLei& d) {
    Named<QComboBox>(&d, "CboFenLei")->setEditText(category);
    Named<QPushButton>(&d, "Btnok")->click();
  });
  ChartInput<QPushButton>(main.window.get(), "SbtoSave")->click();
}

bool CaseWindowFixture::SelectCase(int id) {
  QTreeWidgetItem* node = main.window->FindCaseNode(id);
  if (!node) return false;
  main.window->Tree->setCurrentItem(node);
  node->setSelected(true);
  return true;
}

bool CaseWindowFixture::WaitForTree(int timeoutMs) {
  return QTest::qWaitFor([this] { return !main.window->TreeLoading(); }, timeoutMs);
}

}  // namespace quorin::testing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/case_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
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
  // No such case, or none that can be read, is the empty record.
  if (!reader.Open(ui::CaseDatabasePath()) || !reader.Read(id, r)) return TRecordData{};
  return r;
}

void TypeRemark(QTextEdit* editor, const QString& text) {
  editor->selectAll();
  editor->insertPlainText(text);
}

CaseWindowFixture::InstalledStore::InstalledStore(cases::MRecordBase* store) { ui::SetProgramCaseStore(store); }
CaseWindowFixture::InstalledStore::~InstalledStore() { ui::SetProgramCaseStore(nullptr); }

CaseWindowFixture::CaseWindowFixture(bool show) {
  if (show) Show();
}

CaseWindowFixture::~CaseWindowFixture() {
  if (main.window && main.window->isVisible()) {
    main.prompter.answers.enqueue(ui::Answer::Yes);
    main.window->close();
  }
  main.window.reset();
}

void CaseWindowFixture::Show() {
  main.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(main.window.get()));
  QVERIFY(WaitForTree());
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

QTreeWidget* CaseWindowFixture::treeWidget() { return main.Find<QTreeWidget>("Tree"); }

bool CaseWindowFixture::SelectCase(int id) {
  QTreeWidgetItem* node = tree().FindCaseNode(id);
  if (!node) return false;
  treeWidget()->setCurrentItem(node);
  node->setSelected(true);
  return true;
}

bool CaseWindowFixture::OpenCase(int id) {
  if (!SelectCase(id)) return false;
  main.Trigger("pop_ming_pai");
  return true;
}

namespace {

// The "移动到" submenu of the tree's popup, right-clicked on the selected node; runs `use` on
// it and closes the popup.
void WithMoveMenu(QTreeWidget* tree, const std::function<void(QMenu&)>& use) {
  QTreeWidgetItem* node = tree->currentItem();
  const QPoint at = node ? tree->visualItemRect(node).center() : QPoint(1, 1);
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
  QApplication::sendEvent(tree->viewport(), &click);
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(popup);
  auto* move = popup->findChild<QMenu*>(QStringLiteral("pop_ming_move"));
  QVERIFY(move);
  use(*move);
  popup->hide();
}

}  // namespace

QStringList CaseWindowFixture::MoveTargets() {
  QStringList targets;
  WithMoveMenu(treeWidget(), [&targets](QMenu& move) {
    for (QAction* item : move.actions()) targets << item->text();
  });
  return targets;
}

void CaseWindowFixture::MoveSelectedCaseTo(const QString& category) {
  WithMoveMenu(treeWidget(), [&category](QMenu& move) {
    for (QAction* item : move.actions()) {
      if (item->text() == category) {
        item->trigger();
        return;
      }
    }
    QFAIL(qPrintable(QStringLiteral("移动到 offers no ") + category));
  });
}

bool CaseWindowFixture::WaitForTree(int timeoutMs) {
  return QTest::qWaitFor([this] { return !tree().Loading(); }, timeoutMs);
}

void CaseWindowFixture::TriggerAndWait(const char* item) {
  main.Trigger(item);
  QVERIFY(WaitForTree());
}

}  // namespace quorin::testing

// SPDX-License-Identifier: GPL-3.0-or-later
// The digit dialog: showing a group, the digit buttons, parsing the typed digits.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_num_combin.h"

using quorin::chart::DigitGroup;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmNumCombin;

namespace {

QList<int> Digits(const DigitGroup& g) {
  QList<int> digits;
  for (int i = 0; i < g.count; ++i) digits << g.digits[static_cast<std::size_t>(i)];
  return digits;
}

}  // namespace

class NumCombinTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void showsTheGroupAndLaysOutOneRow() {
    ScriptedPrompter prompter;
    DigitGroup g{{1, 3, 9, 0, 0, 0}, 3, true};
    TFrmNumCombin dialog(QStringLiteral("卦气组合"), g);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("卦气组合"));
    QCOMPARE(dialog.BoxBto->title(), QStringLiteral("点击选择数字"));
    QCOMPARE(dialog.EdtNum->text(), QStringLiteral("1 3 9"));
    QVERIFY(dialog.ChkOrder->isChecked());
    QCOMPARE(dialog.ChkOrder->text(), QStringLiteral("数字相连 "));
    QCOMPARE(dialog.SpeedButton1->toolTip(), QStringLiteral("删除"));
    const QRect client = dialog.BoxBto->contentsRect();
    const int a = client.width() / 9;
    for (int i = 0; i < 9; ++i) {
      const QPushButton* b = dialog.DigitButtons[static_cast<std::size_t>(i)];
      QCOMPARE(b->objectName(), QStringLiteral("Button%1").arg(i + 1));
      QCOMPARE(b->text(), QString::number(i + 1));
      QCOMPARE(b->width(), static_cast<int>(a * 0.8));
      QCOMPARE(b->x(), client.left() + (a - b->width()) / 2 + i * a);
      QCOMPARE(b->y(), dialog.DigitButtons[0]->y());
      QVERIFY(client.contains(b->geometry()));
    }
  }

  void seventhDigitIsRefused() {
    ScriptedPrompter prompter;
    DigitGroup g;
    TFrmNumCombin dialog(QStringLiteral("卦运组合"), g);
    dialog.show();
    QCOMPARE(dialog.EdtNum->text(), QString());
    for (int digit : {1, 2, 3, 4, 5, 6}) QTest::mouseClick(dialog.DigitButtons[static_cast<std::size_t>(digit - 1)], Qt::LeftButton);
    QCOMPARE(dialog.EdtNum->text(), QStringLiteral("1 2 3 4 5 6"));
    QVERIFY(prompter.shown.isEmpty());
    QTest::mouseClick(dialog.DigitButtons[6], Qt::LeftButton);
    QCOMPARE(dialog.EdtNum->text(), QStringLiteral("1 2 3 4 5 6"));
    QCOMPARE(prompter.LastText(), QStringLiteral("最多只支持6个数字！"));
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    QCOMPARE(dialog.EdtNum->text(), QString());
    QTest::mouseClick(dialog.DigitButtons[8], Qt::LeftButton);
    QCOMPARE(dialog.EdtNum->text(), QStringLiteral("9"));
  }

  void okReadsTheTypedDigits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("digits");
    QTest::newRow("12 3") << "12 3" << QList<int>{1, 2, 3};
    QTest::newRow("9 0 9") << "9 0 9" << QList<int>{9, 9};
    QTest::newRow("1234567") << "1234567" << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("wide and letters") << "１a2 三3" << QList<int>{2, 3};
    QTest::newRow("empty") << "  " << QList<int>{};
  }
  void okReadsTheTypedDigits() {
    QFETCH(QString, typed);
    QFETCH(QList<int>, digits);
    ScriptedPrompter prompter;
    DigitGroup g{{5, 5, 0, 0, 0, 0}, 2, true};
    TFrmNumCombin dialog(QStringLiteral("卦气组合"), g);
    dialog.show();
    dialog.EdtNum->setText(typed);
    dialog.ChkOrder->setChecked(false);
    QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Digits(g), digits);
    QVERIFY(!g.adjacent);
  }

  void cancelKeepsTheGroup() {
    ScriptedPrompter prompter;
    DigitGroup g{{5, 5, 0, 0, 0, 0}, 2, true};
    const DigitGroup before = g;
    TFrmNumCombin dialog(QStringLiteral("卦气组合"), g);
    dialog.show();
    QTest::mouseClick(dialog.DigitButtons[0], Qt::LeftButton);
    dialog.ChkOrder->setChecked(false);
    QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(g == before);
  }
};

QTEST_MAIN(NumCombinTest)
#include "frm_num_combin_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The digit dialog: showing a group, the digit buttons, parsing the typed digits.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_num_combin.h"

using quorin::chart::DigitGroup;
using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmNumCombin;

namespace {

QPushButton* DigitButton(const TFrmNumCombin& dialog, int digit) {
  return Named<QPushButton>(&dialog, QStringLiteral("Button%1").arg(digit));
}

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
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QStringLiteral("1 3 9"));
    QVERIFY(Named<QCheckBox>(&dialog, "ChkOrder")->isChecked());
    // The nine digits in one row inside the box, 1 to 9 from the left.
    const QRect client = Named<QGroupBox>(&dialog, "BoxBto")->contentsRect();
    for (int digit = 1; digit <= 9; ++digit) {
      const QPushButton* b = DigitButton(dialog, digit);
      QCOMPARE(b->text(), QString::number(digit));
      QCOMPARE(b->y(), DigitButton(dialog, 1)->y());
      if (digit > 1) QVERIFY(b->x() > DigitButton(dialog, digit - 1)->geometry().right());
      QVERIFY(client.contains(b->geometry()));
    }
  }

  void seventhDigitIsRefused() {
    ScriptedPrompter prompter;
    DigitGroup g;
    TFrmNumCombin dialog(QStringLiteral("卦运组合"), g);
    dialog.show();
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QString());
    for (int digit : {1, 2, 3, 4, 5, 6}) QTest::mouseClick(DigitButton(dialog, digit), Qt::LeftButton);
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QStringLiteral("1 2 3 4 5 6"));
    QVERIFY(prompter.shown.isEmpty());
    QTest::mouseClick(DigitButton(dialog, 7), Qt::LeftButton);
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QStringLiteral("1 2 3 4 5 6"));
    QCOMPARE(prompter.LastText(), QStringLiteral("最多只支持6个数字！"));
    QTest::mouseClick(Named<QToolButton>(&dialog, "SpeedButton1"), Qt::LeftButton);
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QString());
    QTest::mouseClick(DigitButton(dialog, 9), Qt::LeftButton);
    QCOMPARE(Named<QLineEdit>(&dialog, "EdtNum")->text(), QStringLiteral("9"));
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
    Named<QLineEdit>(&dialog, "EdtNum")->setText(typed);
    Named<QCheckBox>(&dialog, "ChkOrder")->setChecked(false);
    QTest::mouseClick(Named<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
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
    QTest::mouseClick(DigitButton(dialog, 1), Qt::LeftButton);
    Named<QCheckBox>(&dialog, "ChkOrder")->setChecked(false);
    QTest::mouseClick(Named<QPushButton>(&dialog, "BitBtn2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(g == before);
  }
};

QTEST_MAIN(NumCombinTest)
#include "frm_num_combin_test.moc"

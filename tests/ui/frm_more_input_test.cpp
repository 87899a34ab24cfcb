// SPDX-License-Identifier: GPL-3.0-or-later
// The dragon, water and facing dialog: showing a record, the degree buttons, accepting.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_more_input.h"

using quorin::TRecordData;
using quorin::testing::Named;
using quorin::testing::ScriptedPrompter;
using quorin::ui::TFrmMoreInput;

namespace {

TRecordData Record(int dragon, int dragonGua, int water, int waterGua, bool facing) {
  TRecordData r;
  r.ResetRecord();
  r.dragonMountain = static_cast<std::int16_t>(dragon);
  r.dragonGua = static_cast<std::int16_t>(dragonGua);
  r.waterMountain = static_cast<std::int16_t>(water);
  r.waterGua = static_cast<std::int16_t>(waterGua);
  r.showFacing = facing;
  return r;
}

}  // namespace

class MoreInputTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void recordWithoutDragonStaysWithout() {
    ScriptedPrompter prompter;
    TRecordData r = Record(-1, -1, -1, -1, false);
    TFrmMoreInput dialog(r);
    dialog.show();
    QVERIFY(!Named<QCheckBox>(&dialog, "ChkLong")->isChecked());
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongShan")->currentText(), QStringLiteral("壬山"));
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongGua")->currentIndex(), 0);
    for (const char* name : {"BtoLong", "CboLongShan", "CboLongGua", "CboShuiShan"}) {
      QVERIFY(!Named<QWidget>(&dialog, name)->isEnabled());
    }
    QTest::mouseClick(Named<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(r.dragonMountain, std::int16_t(-1));
    QCOMPARE(r.waterMountain, std::int16_t(-1));
    QVERIFY(!r.showFacing);
  }

  void showsAndWritesBackTheRecord() {
    ScriptedPrompter prompter;
    TRecordData r = Record(1, 3, 13, 1, true);
    TFrmMoreInput dialog(r);
    dialog.show();
    QVERIFY(Named<QCheckBox>(&dialog, "ChkLong")->isChecked() && Named<QCheckBox>(&dialog, "ChkShui")->isChecked() &&
            Named<QCheckBox>(&dialog, "ChkXiang")->isChecked());
    QVERIFY(Named<QComboBox>(&dialog, "CboLongGua")->isEnabled());
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongShan")->currentText(), QStringLiteral("子山"));
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongGua")->count(), 4);
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongGua")->currentIndex(), 3);
    QCOMPARE(Named<QComboBox>(&dialog, "CboShuiShan")->currentText(), QStringLiteral("午山"));
    QCOMPARE(Named<QComboBox>(&dialog, "CboShuiGua")->currentIndex(), 1);

    // Another dragon mountain refills its list from the first hexagram.
    quorin::testing::ChooseLine(Named<QComboBox>(&dialog, "CboLongShan"), 7);
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongGua")->currentIndex(), 0);
    Named<QComboBox>(&dialog, "CboLongGua")->setCurrentIndex(1);
    QTest::mouseClick(Named<QCheckBox>(&dialog, "ChkShui"), Qt::LeftButton);
    QVERIFY(!Named<QComboBox>(&dialog, "CboShuiShan")->isEnabled() &&
            !Named<QPushButton>(&dialog, "BtoShui")->isEnabled());
    Named<QCheckBox>(&dialog, "ChkXiang")->setChecked(false);
    QTest::mouseClick(Named<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(r.dragonMountain, std::int16_t(7));
    QCOMPARE(r.dragonGua, std::int16_t(1));
    QCOMPARE(r.waterMountain, std::int16_t(-1));
    QVERIFY(!r.showFacing);
  }

  void cancelChangesNothing() {
    ScriptedPrompter prompter;
    TRecordData r = Record(1, 3, -1, -1, false);
    const TRecordData before = r;
    TFrmMoreInput dialog(r);
    dialog.show();
    QTest::mouseClick(Named<QCheckBox>(&dialog, "ChkLong"), Qt::LeftButton);
    Named<QCheckBox>(&dialog, "ChkXiang")->setChecked(true);
    QTest::mouseClick(Named<QPushButton>(&dialog, "BitBtn2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(r.dragonMountain, before.dragonMountain);
    QCOMPARE(r.dragonGua, before.dragonGua);
    QCOMPARE(r.showFacing, before.showFacing);
  }

  void degreeButtons_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mountain");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("gua");
    QTest::newRow("1") << "1" << "子山" << 2 << "地雷复";
    QTest::newRow("18-12") << "18-12" << "癸山" << 2 << "风雷益";
    QTest::newRow("18:12") << "18:12" << "癸山" << 2 << "风雷益";
    QTest::newRow("351") << "351" << "壬山" << 2 << "山地剥";
    QTest::newRow("179-54") << "179-54" << "午山" << 1 << "乾为天";
    QTest::newRow("352-30") << "352-30" << "子山" << 0 << "";
    QTest::newRow("360") << "360" << "子山" << 1 << "坤为地";
  }
  void degreeButtons() {
    QFETCH(QString, typed);
    QFETCH(QString, mountain);
    QFETCH(int, column);
    QFETCH(QString, gua);
    ScriptedPrompter prompter;
    TRecordData r = Record(1, 0, 1, 0, false);
    TFrmMoreInput dialog(r);
    dialog.show();
    for (QPushButton* button : {Named<QPushButton>(&dialog, "BtoLong"), Named<QPushButton>(&dialog, "BtoShui")}) {
      prompter.inputs.enqueue(typed);
      QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(prompter.inputPrompts.value(0), QStringLiteral("输入周天度|周天度数：     "));
    QVERIFY(prompter.shown.isEmpty());
    for (QComboBox* list : {Named<QComboBox>(&dialog, "CboLongShan"), Named<QComboBox>(&dialog, "CboShuiShan")})
      QCOMPARE(list->currentText(), mountain);
    for (QComboBox* list : {Named<QComboBox>(&dialog, "CboLongGua"), Named<QComboBox>(&dialog, "CboShuiGua")}) {
      QCOMPARE(list->currentIndex(), column);
      if (!gua.isEmpty()) QCOMPARE(list->currentText(), gua);
    }
  }

  void badDegreesAskAgainAndCancelKeepsTheChoice() {
    ScriptedPrompter prompter;
    TRecordData r = Record(5, 1, -1, -1, false);
    TFrmMoreInput dialog(r);
    dialog.show();
    prompter.inputs.enqueue(QStringLiteral("400"));
    prompter.inputs.enqueue(QStringLiteral("18.5"));
    prompter.inputs.enqueue(QStringLiteral("1"));
    QTest::mouseClick(Named<QPushButton>(&dialog, "BtoLong"), Qt::LeftButton);
    QCOMPARE(prompter.inputPrompts.size(), 3);
    QCOMPARE(prompter.Texts(), QStringList(2, QStringLiteral("周天度数输入在：0-360之间！，格式：18-12或者18:12（等于18度12分）")));
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongShan")->currentIndex(), 1);

    prompter.inputs.enqueue(std::nullopt);
    QTest::mouseClick(Named<QPushButton>(&dialog, "BtoLong"), Qt::LeftButton);
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongShan")->currentIndex(), 1);
    QCOMPARE(Named<QComboBox>(&dialog, "CboLongGua")->currentIndex(), 2);
    QCOMPARE(prompter.unexpected, 0);
  }
};

QTEST_MAIN(MoreInputTest)
#include "frm_more_input_test.moc"

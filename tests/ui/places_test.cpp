// SPDX-License-Identifier: GPL-3.0-or-later
// Places in the windows: the main window's city list, the place editor and the place lookup.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "base/ini_file.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "ui/frm_dili.h"

using quorin::base::IniFile;
using quorin::testing::ChartInput;
using quorin::testing::ChooseLine;
using quorin::testing::MainWindowFixture;
using quorin::testing::Named;
using quorin::testing::ProgramFolder;
using quorin::testing::ScriptedPrompter;
using quorin::ui::Answer;
using quorin::ui::TFrmDiLi;

namespace {

QLineEdit* Edit(const TFrmDiLi& d, const char* name) { return Named<QLineEdit>(&d, name); }
QComboBox* List(const TFrmDiLi& d, const char* name) { return Named<QComboBox>(&d, name); }
void ClickChange(const TFrmDiLi& d) { Named<QPushButton>(&d, "BtoEdit")->click(); }

}  // namespace

class PlacesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void malformedValueIsNamedAndTheListKept() {
    MainWindowFixture f;
    f.folder.WriteGbk(QStringLiteral("dat/dili.ini"),
                      "[福建省]\r\n福州市=119:17*26:5\r\n坏地=abc\r\n空值=\r\n厦门市=-118:5*24:29\r\n");
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->count(), 4);
    const auto& c = f.window->Inputs->CityCoordinates();
    QCOMPARE(c[1].longitude, 120.0f);
    QCOMPARE(c[1].latitude, 30.0f);
    QCOMPARE(c[2].longitude, 120.0f);  // a key without a value reads as the default
    QVERIFY(std::abs(c[3].longitude - (-118 + 5 / 60.0f)) < 1e-4);
    QCOMPARE(f.prompter.shown.size(), 1);
    QVERIFY(f.prompter.LastText().contains(QStringLiteral("坏地")));
    QVERIFY(!f.prompter.LastText().contains(QStringLiteral("空值")));
    ChartInput<QComboBox>(f.window.get(), "cbodiC")->setCurrentIndex(1);
    QVERIFY(f.Pai());
    QCOMPARE(f.window->ChartRecord().longitude, 120.0f);
    QCOMPARE(f.window->ChartRecord().addrName, std::string("福建省坏地"));
  }

  void provinceWithoutSectionHasNoCities() {
    MainWindowFixture f(true, false);
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 3);
    QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->count(), 0);
    QVERIFY(f.Pai());
    QCOMPARE(f.window->ChartRecord().longitude, 120.0f);
    QCOMPARE(f.window->ChartRecord().latitude, 30.0f);
    QCOMPARE(f.window->ChartRecord().addrName, std::string("河北省"));
  }

  void lookupByName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found");  // empty: not found
    QTest::newRow("福州 finds 福州市") << "福州" << "福州市";
    QTest::newRow("福州鼓楼 finds the district") << "福州鼓楼" << "福州鼓楼区";
    QTest::newRow("鼓楼 is too short") << "鼓楼" << "";
    QTest::newRow("other province") << "北京" << "";
    QTest::newRow("闽侯县") << "闽侯县" << "闽侯县";
  }
  void lookupByName() {
    QFETCH(QString, typed);
    QFETCH(QString, found);
    MainWindowFixture f;
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);
    ChartInput<QComboBox>(f.window.get(), "cbodiC")->setCurrentIndex(5);
    f.prompter.inputs.enqueue(typed);
    ChartInput<QToolButton>(f.window.get(), "SpeedButton2")->click();
    QCOMPARE(f.prompter.inputPrompts.first(), QStringLiteral("输入|输入县、市、区名："));
    if (found.isEmpty()) {
      QCOMPARE(f.prompter.LastText(),
               QStringLiteral("没有这个地名，可以简化输入地名重新查找，或者选择邻近的县市。"));
      QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentIndex(), 5);
    } else {
      QCOMPARE(ChartInput<QComboBox>(f.window.get(), "cbodiC")->currentText(), found);
    }
  }

  void lookupCancelledOrEmptyDoesNothing() {
    MainWindowFixture f;
    f.prompter.inputs.enqueue(std::nullopt);
    f.prompter.inputs.enqueue(QString());
    ChartInput<QToolButton>(f.window.get(), "SpeedButton2")->click();
    ChartInput<QToolButton>(f.window.get(), "SpeedButton2")->click();
    QVERIFY(f.prompter.shown.isEmpty());
  }

  void editorShowsAndChangesCoordinates() {
    ProgramFolder folder;
    ScriptedPrompter prompter;
    folder.WriteGbk(QStringLiteral("dat/dili.ini"), "[福建省]\r\n福州市=119:17*26:5\r\n奇怪=1x*2\r\n[北京市]\r\n北京市=116:24*39:54\r\n");
    TFrmDiLi dialog;
    QCOMPARE(List(dialog, "CboSheng")->count(), 34);
    QCOMPARE(List(dialog, "CboShi")->count(), 2);
    QCOMPARE(Edit(dialog, "LedtJingDu")->text(), QStringLiteral("119"));
    QCOMPARE(Edit(dialog, "LedtJingFen")->text(), QStringLiteral("17"));
    QCOMPARE(Edit(dialog, "LedtWeiDu")->text(), QStringLiteral("26"));
    QCOMPARE(Edit(dialog, "LedtWeiFen")->text(), QStringLiteral("5"));
    List(dialog, "CboShi")->setCurrentIndex(1);  // shown as split, unvalidated
    QCOMPARE(Edit(dialog, "LedtJingDu")->text(), QStringLiteral("1x"));
    QCOMPARE(Edit(dialog, "LedtJingFen")->text(), QString());
    QCOMPARE(Edit(dialog, "LedtWeiDu")->text(), QStringLiteral("2"));
    List(dialog, "CboSheng")->setCurrentIndex(1);
    QCOMPARE(List(dialog, "CboShi")->currentText(), QStringLiteral("北京市"));
    List(dialog, "CboSheng")->setCurrentIndex(0);

    Edit(dialog, "LedtJingDu")->setText(QStringLiteral("119"));
    Edit(dialog, "LedtJingFen")->setText(QStringLiteral("18"));
    Edit(dialog, "LedtWeiDu")->setText(QStringLiteral("26"));
    Edit(dialog, "LedtWeiFen")->setText(QStringLiteral("05"));
    prompter.answers.enqueue(Answer::Yes);
    ClickChange(dialog);
    QCOMPARE(prompter.shown.first().text, QStringLiteral("确定要修改：福建省福州市 的经纬度数据吗？"));
    QCOMPARE(prompter.shown.first().caption, QStringLiteral("注意了"));
    QCOMPARE(prompter.shown.first().defaultButton, Answer::No);
    QCOMPARE(prompter.LastText(), QStringLiteral("完成"));
    const IniFile ini(folder.Dat(QStringLiteral("dili.ini")).toStdString());
    QCOMPARE(ini.ReadString("福建省", "福州市", ""), std::string("119:18*26:5"));

    // No: nothing written.
    Edit(dialog, "LedtJingFen")->setText(QStringLiteral("1"));
    prompter.answers.enqueue(Answer::No);
    ClickChange(dialog);
    QCOMPARE(IniFile(folder.Dat(QStringLiteral("dili.ini")).toStdString()).ReadString("福建省", "福州市", ""),
             std::string("119:18*26:5"));
  }

  void editorRefusesCoordinatesOutOfRange_data() {
    QTest::addColumn<QStringList>("fields");  // degrees, minutes, degrees, minutes
    QTest::addColumn<QString>("message");
    const QString longitude = QStringLiteral("经度在-180到180之间，分数在0-60之间");
    const QString latitude = QStringLiteral("纬度在-90到90之间，分数在0-60之间");
    QTest::newRow("180") << QStringList{"180", "0", "30", "0"} << longitude;
    QTest::newRow("60 minutes") << QStringList{"120", "60", "30", "0"} << longitude;
    QTest::newRow("empty minutes") << QStringList{"120", "", "30", "0"} << longitude;
    QTest::newRow("latitude 90") << QStringList{"120", "0", "90", "0"} << latitude;
    QTest::newRow("latitude minutes 60") << QStringList{"120", "0", "30", "60"} << latitude;
    QTest::newRow("179 and 59 pass") << QStringList{"179", "59", "89", "59"} << QStringLiteral("完成");
  }
  void editorRefusesCoordinatesOutOfRange() {
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    ProgramFolder folder;
    ScriptedPrompter prompter;
    folder.WriteGbk(QStringLiteral("dat/dili.ini"), "[福建省]\r\n福州市=119:17*26:5\r\n");
    TFrmDiLi dialog;
    Edit(dialog, "LedtJingDu")->setText(fields[0]);
    Edit(dialog, "LedtJingFen")->setText(fields[1]);
    Edit(dialog, "LedtWeiDu")->setText(fields[2]);
    Edit(dialog, "LedtWeiFen")->setText(fields[3]);
    prompter.answers.enqueue(Answer::Yes);
    ClickChange(dialog);
    QCOMPARE(prompter.LastText(), message);
    const std::string stored = IniFile(folder.Dat(QStringLiteral("dili.ini")).toStdString()).ReadString("福建省", "福州市", "");
    QCOMPARE(stored == "119:17*26:5", message != QStringLiteral("完成"));
  }

  void mainWindowKeepsOldCoordinatesUntilTheProvinceIsChosenAgain() {
    MainWindowFixture f;
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"), 0);
    const float before = f.window->Inputs->CityCoordinates()[0].longitude;
    quorin::base::IniFile dili(f.folder.Dat(QStringLiteral("dili.ini")).toStdString());
    QVERIFY(dili.WriteString("福建省", "福州市", "100:0*20:0"));
    QCOMPARE(f.window->Inputs->CityCoordinates()[0].longitude, before);
    ChooseLine(ChartInput<QComboBox>(f.window.get(), "cbodiZ"),
               ChartInput<QComboBox>(f.window.get(), "cbodiZ")->currentIndex());
    QCOMPARE(f.window->Inputs->CityCoordinates()[0].longitude, 100.0f);
  }
};

QTEST_MAIN(PlacesTest)
#include "places_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The chart settings dialog, set.ini and the UI-font scaler.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "base/ini_file.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_set.h"
#include "ui/radio_group.h"
#include "ui/text_numbers.h"
#include "ui/ui_font.h"

using quorin::base::IniFile;
using quorin::testing::Named;
using quorin::testing::ProgramFolder;
using quorin::testing::ScriptedPrompter;
using quorin::ui::MUiFont;
using quorin::ui::TFrmSet;

namespace {

QComboBox* List(const TFrmSet& d, const char* name) { return Named<QComboBox>(&d, name); }
quorin::ui::RadioGroup* Group(const TFrmSet& d, const char* name) { return Named<quorin::ui::RadioGroup>(&d, name); }
QCheckBox* Check(const TFrmSet& d, const char* name) { return Named<QCheckBox>(&d, name); }
QLineEdit* Indent(const TFrmSet& d) { return Named<QLineEdit>(&d, "LedtLeftPos"); }
void ClickOk(const TFrmSet& d) { Named<QPushButton>(&d, "BitBtn1")->click(); }

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void defaultsWithoutSetIni() {
    ProgramFolder folder;
    TFrmSet dialog(nullptr, 1920);
    QCOMPARE(List(dialog, "CboDate")->currentText(), QStringLiteral("北京时间"));
    QCOMPARE(Group(dialog, "RdoJiaZi")->ItemIndex(), 0);
    QCOMPARE(Indent(dialog)->text(), QStringLiteral("0"));
    QCOMPARE(Group(dialog, "RdoShanShow")->ItemIndex(), 0);
    QVERIFY(!Check(dialog, "ChkRiGua")->isChecked());
    QCOMPARE(List(dialog, "CboUiSize")->currentText(), QStringLiteral("0(默认)(推荐)"));
    QVERIFY(!Check(dialog, "ChkMenuSize")->isChecked());
    QCOMPARE(List(dialog, "CboUiSize")->count(), 21);
    QCOMPARE(List(dialog, "CboUiSize")->itemText(0), QStringLiteral("+10"));
    QCOMPARE(List(dialog, "CboUiSize")->itemText(9), QStringLiteral("+1"));
    QCOMPARE(List(dialog, "CboUiSize")->itemText(20), QStringLiteral("-10"));
  }

  void storedValuesAreShownAndWrittenBackInOrder() {
    ProgramFolder folder;
    folder.WriteGbk(QStringLiteral("dat/set.ini"),
                    "[set]\r\nidate=2\r\nijiazi=1\r\nleftpos=36\r\niShanShow=1\r\nbRiGua=1\r\niFontSizeVar=-3\r\n"
                    "bChangeMenuSize=1\r\n");
    TFrmSet dialog(nullptr, 1920);
    QCOMPARE(List(dialog, "CboDate")->currentText(), QStringLiteral("地方时"));
    QCOMPARE(Group(dialog, "RdoJiaZi")->ItemIndex(), 1);
    QCOMPARE(Indent(dialog)->text(), QStringLiteral("36"));
    QCOMPARE(Group(dialog, "RdoShanShow")->ItemIndex(), 1);
    QVERIFY(Check(dialog, "ChkRiGua")->isChecked());
    QCOMPARE(List(dialog, "CboUiSize")->currentText(), QStringLiteral("-3"));
    QVERIFY(Check(dialog, "ChkMenuSize")->isChecked());
    QFile::remove(folder.Dat(QStringLiteral("set.ini")));
    List(dialog, "CboDate")->setCurrentIndex(1);
    ClickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const std::string text = folder.ReadGbk(QStringLiteral("dat/set.ini"));
    QCOMPARE(text, std::string("[set]\r\nleftpos=36\r\nidate=1\r\nijiazi=1\r\niShanShow=1\r\nbRiGua=1\r\n"
                               "iFontSizeVar=-3\r\nbChangeMenuSize=1\r\n"));
    // The default script writes nothing (the file above); another is kept and shown again.
    TFrmSet again(nullptr, 1920);
    QCOMPARE(List(again, "CboScript")->currentText(), QStringLiteral("简体中文"));
    List(again, "CboScript")->setCurrentIndex(2);
    ClickOk(again);
    QCOMPARE(folder.ReadGbk(QStringLiteral("dat/set.ini")), text + "Script=zh-Hant-HK\r\n");
    TFrmSet third(nullptr, 1920);
    QCOMPARE(List(third, "CboScript")->currentText(), QStringLiteral("繁體中文（香港）"));
    QCOMPARE(third.ChosenScript(), quorin::base::Script::kTraditionalHongKong);
  }

  void valueOutsideTheListsIsWrittenAsMinusOne() {
    ProgramFolder folder;
    folder.WriteGbk(QStringLiteral("dat/set.ini"), "[set]\r\nidate=5\r\nijiazi=7\r\n");
    TFrmSet dialog(nullptr, 1920);
    QCOMPARE(List(dialog, "CboDate")->currentIndex(), -1);
    QCOMPARE(Group(dialog, "RdoJiaZi")->ItemIndex(), -1);
    ClickOk(dialog);
    const IniFile ini(folder.Dat(QStringLiteral("set.ini")).toStdString());
    QCOMPARE(ini.ReadInteger("set", "idate", 0), -1);
    QCOMPARE(ini.ReadInteger("set", "ijiazi", 0), -1);
  }

  void unlistedFontChangeIsAddedAndSelected() {
    ProgramFolder folder;
    folder.WriteGbk(QStringLiteral("dat/set.ini"), "[set]\r\niFontSizeVar=14\r\n");
    TFrmSet dialog(nullptr, 1920);
    QCOMPARE(List(dialog, "CboUiSize")->currentText(), QStringLiteral("14"));
    QCOMPARE(List(dialog, "CboUiSize")->currentIndex(), List(dialog, "CboUiSize")->count() - 1);
  }

  void typedFontChanges_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("saved");
    QTest::newRow("+3(推荐)") << "+3(推荐)" << 3;
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("-2") << "-2" << -2;
    QTest::newRow("no number") << "大" << 0;
  }
  void typedFontChanges() {
    QFETCH(QString, typed);
    QFETCH(int, saved);
    ProgramFolder folder;
    TFrmSet dialog(nullptr, 1920);
    List(dialog, "CboUiSize")->setEditText(typed);
    ClickOk(dialog);
    QCOMPARE(IniFile(folder.Dat(QStringLiteral("set.ini")).toStdString()).ReadInteger("set", "iFontSizeVar", 99), saved);
  }

  void textMarginOutsideItsRangeIsRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("501") << "501";
    QTest::newRow("-1") << "-1";
    QTest::newRow("empty") << "";
    QTest::newRow("abc") << "abc";
  }
  void textMarginOutsideItsRangeIsRefused() {
    QFETCH(QString, typed);
    ProgramFolder folder;
    ScriptedPrompter prompter;
    TFrmSet dialog(nullptr, 1920);
    Indent(dialog)->setText(typed);
    ClickOk(dialog);
    QCOMPARE(prompter.LastText(), QStringLiteral("文本左边距离在0-500之间"));
    QCOMPARE(prompter.shown.last().caption, QStringLiteral("输入错误"));
    QVERIFY(!QFile::exists(folder.Dat(QStringLiteral("set.ini"))));
    QVERIFY(dialog.result() != QDialog::Accepted);
  }

  void cancelWritesNothing() {
    ProgramFolder folder;
    TFrmSet dialog(nullptr, 1920);
    Check(dialog, "ChkRiGua")->setChecked(true);
    Named<QPushButton>(&dialog, "BitBtn2")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(folder.Dat(QStringLiteral("set.ini"))));
  }

  void recommendedChangeFollowsTheScreenWidth() {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(10.5);
    QCOMPARE(MUiFont::RecommendedChange(font, 1920), 0);
    QVERIFY(MUiFont::RecommendedChange(font, 3840) > 0);
    QVERIFY(MUiFont::RecommendedChange(font, 1024) < 0);
    // A recommendation outside the list gets an item of its own.
    ProgramFolder folder;
    TFrmSet dialog(nullptr, 20000);
    const QString last = List(dialog, "CboUiSize")->itemText(List(dialog, "CboUiSize")->count() - 1);
    QVERIFY2(last.endsWith(QStringLiteral("(推荐)")), qPrintable(last));
    QVERIFY(quorin::ui::LeadingItemNumber(last) > 10);
  }

  void scalerReadsSetIniOnce() {
    ProgramFolder folder;
    folder.WriteGbk(QStringLiteral("dat/set.ini"), "[set]\r\niFontSizeVar=2\r\nbChangeMenuSize=1\r\n");
    const MUiFont scaler(folder.Dat(QStringLiteral("set.ini")).toStdString());
    QCOMPARE(scaler.Change(), 2);
    QVERIFY(scaler.ChangesMenu());
  }

  void scalingGrowsFontsAndFixedSizesByTheRatiosOfGuo() {
    QWidget window;
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    window.setFont(font);
    window.resize(300, 200);
    auto* inner = new QWidget(&window);  // a container without a layout: its bounds grow too
    inner->setGeometry(10, 20, 100, 50);
    auto* label = new QLabel(QStringLiteral("国"), inner);
    label->setObjectName(QStringLiteral("Label"));
    label->setGeometry(5, 6, 40, 20);
    auto* kept = new QLabel(QStringLiteral("留"), inner);
    kept->setObjectName(QStringLiteral("Kept"));
    kept->setGeometry(50, 6, 40, 20);
    MUiFont scaler(2, false);
    scaler.Apply(&window, {QStringLiteral("Kept")});
    const QSize before = MUiFont::MeasureGuo(11);
    const QSize after = MUiFont::MeasureGuo(13);
    const double rx = double(after.width()) / before.width();
    const double ry = double(after.height()) / before.height();
    QCOMPARE(label->font().pointSizeF(), 13.0);
    QCOMPARE(inner->font().pointSizeF(), 13.0);
    QCOMPARE(window.font().pointSizeF(), 13.0);
    QCOMPARE(kept->font().pointSizeF(), 11.0);  // left alone, though its parent changed
    QCOMPARE(window.size(), QSize(int(300 * rx), int(200 * ry)));
    QCOMPARE(label->geometry(), QRect(int(5 * rx), int(6 * ry), int(40 * rx), int(20 * ry)));
    QCOMPARE(kept->geometry(), QRect(50, 6, 40, 20));
  }

  // No change, or one above 100 points, leaves the window alone; one below 3 points gives 3.
  void noChangeOrOutOfRangeLeavesTheWindowAlone() {
    QWidget window;
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    window.setFont(font);
    window.resize(300, 200);
    MUiFont(0, false).Apply(&window);
    MUiFont(90, false).Apply(&window);  // 101: too large
    QCOMPARE(window.font().pointSizeF(), 11.0);
    QCOMPARE(window.size(), QSize(300, 200));
    MUiFont(-9, false).Apply(&window);  // 11 - 9 = 2: the smallest size instead
    QCOMPARE(window.font().pointSizeF(), 3.0);
  }

  void childrenTakeTheirContainersSizePlusTheChange() {
    QWidget window;
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(11);
    window.setFont(font);
    auto* group = new QGroupBox(&window);
    QFont groupFont = font;
    groupFont.setPointSize(20);
    group->setFont(groupFont);
    auto* layout = new QVBoxLayout(group);
    auto* check = new QCheckBox(QStringLiteral("同"), group);
    QFont ownFont = font;
    ownFont.setPointSize(30);  // a control without children takes its container's size
    check->setFont(ownFont);
    layout->addWidget(check);
    MUiFont(1, false).Apply(&window);
    QCOMPARE(group->font().pointSizeF(), 21.0);
    QCOMPARE(check->font().pointSizeF(), 21.0);
  }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The program in traditional Chinese: menus, Qt's own buttons and the chart text follow the
// chosen script, and no visible text of any window is left without its translation.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

#include "base/data_location.h"
#include "base/files.h"
#include "base/script_text.h"
#include "base/zoned_places.h"
#include "cases/record_base.h"
#include "chart/search_conditions.h"
#include "support/main_window_fixture.h"
#include "ui/frm_dili.h"
#include "ui/frm_edit_class.h"
#include "ui/frm_fan_tui.h"
#include "ui/frm_more_input.h"
#include "ui/frm_num_combin.h"
#include "ui/frm_search.h"
#include "ui/frm_set.h"
#include "ui/frm_txt_help.h"
#include "ui/frm_wnl.h"
#include "ui/frm_zhou_yi.h"
#include "ui/program_start.h"

using quorin::base::Script;
using quorin::testing::MainWindowFixture;

namespace {

QStringList MenuTitles(const QMenuBar* bar) {
  QStringList titles;
  for (const QAction* action : bar->actions()) titles << action->text();
  return titles;
}

QString ButtonText(QMessageBox& box, QMessageBox::StandardButton which) { return box.button(which)->text(); }

// Every text a user reads on a window: its title, captions, tooltips, list lines, menu items.
QStringList VisibleTexts(QWidget* window) {
  QStringList texts{window->windowTitle()};
  for (QWidget* w : window->findChildren<QWidget*>()) {
    texts << w->toolTip();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) texts << group->title();
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
      for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    if (auto* box = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
  }
  for (const QAction* action : window->findChildren<QAction*>()) texts << action->text() << action->toolTip();
  texts.removeAll(QString());
  return texts;
}

}  // namespace

class ScriptTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    quorin::testing::PrepareApplication();
    // The translations are the build's, whichever folder a test's data lives in.
    quorin::base::SetShippedFolder(quorin::base::ExecutableFolder());
  }
  void cleanup() { QVERIFY(quorin::ui::UseScript(Script::kSimplified)); }

  void theChosenScriptShowsInMenusQuestionButtonsAndTheChart() {
    QVERIFY(quorin::ui::UseScript(Script::kTraditionalTaiwan));
    {
      MainWindowFixture f;
      QCOMPARE(MenuTitles(f.window->menuBar()).mid(0, 4),
               (QStringList{QStringLiteral("檔案(&F)"), QStringLiteral("相關知識(&S)"), QStringLiteral("輔助工具(&T)"),
                            QStringLiteral("選項(&O)")}));
      f.SetMoment(2024, 3, 5, 10, 0);
      QVERIFY2(f.Pai(), qPrintable(f.prompter.Texts().join(QStringLiteral(" | "))));
      QVERIFY(f.AnalysisText().contains(QStringLiteral("日課分析：")));
      QVERIFY(!f.AnalysisText().contains(QStringLiteral("日课")));
    }
    QMessageBox taiwan(QMessageBox::Question, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(ButtonText(taiwan, QMessageBox::Ok), QStringLiteral("確定"));

    // Hong Kong: the same characters without Taiwan's words (文件 stays 文件).
    QVERIFY(quorin::ui::UseScript(Script::kTraditionalHongKong));
    {
      MainWindowFixture f;
      QCOMPARE(MenuTitles(f.window->menuBar()).mid(0, 2),
               (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("相關知識(&S)")}));
    }

    // And back: the program's own texts, byte for byte.
    QVERIFY(quorin::ui::UseScript(Script::kSimplified));
    MainWindowFixture f;
    QCOMPARE(MenuTitles(f.window->menuBar()).mid(0, 2), (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("相关知识(&S)")}));
    f.SetMoment(2024, 3, 5, 10, 0);
    QVERIFY(f.Pai());
    QVERIFY(f.AnalysisText().contains(QStringLiteral("日课分析：")));
    QMessageBox simplified(QMessageBox::Question, QString(), QString(), QMessageBox::Ok);
    QCOMPARE(ButtonText(simplified, QMessageBox::Ok), QStringLiteral("确定"));
  }

  // A text the translation lacks shows characters only simplified Chinese writes.
  void everyVisibleTextOfEveryWindowIsTranslated() {
    for (const Script script : {Script::kTraditionalTaiwan, Script::kTraditionalHongKong}) {
      QVERIFY(quorin::ui::UseScript(script));
      MainWindowFixture f;
      f.SetMoment(2024, 3, 5, 10, 0);
      QVERIFY(f.Pai());
      quorin::cases::MRecordBase store;
      quorin::cases::CaseSearchCriteria criteria;
      quorin::TRecordData record;
      record.ResetRecord();
      quorin::chart::DigitGroup digits;
      const std::vector<std::function<std::unique_ptr<QWidget>()>> windows{
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmSet>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmDiLi>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmWnl>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmZhouYi>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmFanTui>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmTxtHelp>(); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmSearch>(store, criteria); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmMoreInput>(record); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmNumCombin>(QStringLiteral("卦氣"), digits); },
          [&]() -> std::unique_ptr<QWidget> { return std::make_unique<quorin::ui::TFrmEditClass>(store); },
      };
      QStringList texts = VisibleTexts(f.window.get());
      for (const auto& make : windows) texts << VisibleTexts(make().get());
      // The names of countries and cities are ICU's own for the script (Taiwan's 群島, 秘魯).
      QSet<QString> icuNames;
      for (const quorin::base::WorldCountry& country : quorin::base::WorldCountries(script)) {
        icuNames << QString::fromStdString(country.shownName);
        for (const auto& place : country.places) icuNames << QString::fromStdString(place.shownName);
      }
      QStringList untranslated;
      for (const QString& text : texts) {
        // The script names in 软件设置 are each written in their own characters.
        if (text == QStringLiteral("简体中文") || icuNames.contains(text)) continue;
        if (quorin::base::HasSimplifiedOnlyCharacters(text.toStdString())) untranslated << text;
      }
      untranslated.removeDuplicates();
      QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral(" | "))));
    }
  }
};

QTEST_MAIN(ScriptTest)
#include "script_test.moc"

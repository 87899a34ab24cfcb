// SPDX-License-Identifier: GPL-3.0-or-later
// Window skins: loading a skin file, switching skinning on and off, and the shipped skins
// restyling windows open before and after while the windows' own colours stay.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "base/data_location.h"
#include "skin/skin_engine.h"
#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "support/scripted_prompter.h"
#include "ui/frm_fan_tui.h"
#include "ui/frm_txt_help.h"
#include "ui/frm_wnl.h"
#include "ui/frm_zhou_yi.h"
#include "ui/skin_files.h"

using quorin::skin::SkinEngine;
using quorin::testing::Named;
using quorin::testing::ProgramFolder;

namespace {

const QString kShippedSkins = QStringLiteral(QUORIN_SOURCE_DIR "/data/skins/");

QString WriteFile(const ProgramFolder& folder, const QString& name, const QByteArray& bytes) {
  const QString path = folder.Path() + QStringLiteral("skins/") + name;
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

QColor PixelOf(QWidget* w, QPoint at) { return w->grab().toImage().pixelColor(at); }

// Screenshots for a person to look at, when QUORIN_SHOTS names a folder.
void SaveShot(QWidget* w, const QString& name) {
  const QString folder = qEnvironmentVariable("QUORIN_SHOTS");
  if (!folder.isEmpty()) w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace

class SkinTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void loadsAppliesAndSwitchesOff() {
    ProgramFolder folder;
    const QString good = WriteFile(folder, QStringLiteral("红.skn"), "QPushButton { color: red; } /* { */");
    const QString broken = WriteFile(folder, QStringLiteral("坏.skn"), "QPushButton { color: red; ");
    {
      SkinEngine skin;
      QVERIFY(!skin.Active());
      QVERIFY(!skin.Load(folder.Path() + QStringLiteral("skins/无.skn")));
      QVERIFY(skin.LastError().contains(QStringLiteral("无.skn")));
      QVERIFY(skin.Path().isEmpty());

      // Switched on before a skin is loaded: the standard look stays.
      skin.SetActive(true);
      QVERIFY(qApp->styleSheet().isEmpty());
      QVERIFY(skin.Load(good));
      QCOMPARE(qApp->styleSheet(), skin.StyleSheet());
      QCOMPARE(skin.Path(), good);

      QVERIFY(!skin.Load(broken));
      QCOMPARE(skin.Path(), good);
      QCOMPARE(qApp->styleSheet(), QStringLiteral("QPushButton { color: red; } /* { */"));

      skin.SetActive(false);
      QVERIFY(qApp->styleSheet().isEmpty());
      QVERIFY(skin.Load(good));
      QVERIFY(qApp->styleSheet().isEmpty());  // loaded, not shown while off
      skin.SetActive(true);
    }
    QVERIFY(qApp->styleSheet().isEmpty());  // an engine that goes takes its skin along
  }

  void recognisesStyleSheets_data() {
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("rule") << "QWidget { color: red; }" << true;
    QTest::newRow("brace in a string") << "QLabel { qproperty-text: \"}\"; }" << true;
    QTest::newRow("brace in a comment") << "/* } */ QLabel { }" << true;
    QTest::newRow("no rule") << "hello" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("unclosed") << "QLabel { color: red;" << false;
    QTest::newRow("closing first") << "} QLabel {" << false;
    QTest::newRow("open comment") << "QLabel { } /* " << false;
    QTest::newRow("binary") << QString::fromLatin1("\x01\x02{\xff") << false;
  }
  void recognisesStyleSheets() {
    QFETCH(QString, sheet);
    QFETCH(bool, accepted);
    QCOMPARE(quorin::skin::LooksLikeStyleSheet(sheet), accepted);
  }

  void imagePathsAreTakenFromTheSkinsFolder_data() {
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("relative") << "a { image: url(images/x.png); }" << "a { image: url(\"/s/images/x.png\"); }";
    QTest::newRow("quoted") << "a { image: url( 'x.png' ) }" << "a { image: url(\"/s/x.png\") }";
    QTest::newRow("two") << "url(a.png) url(\"b.png\")" << "url(\"/s/a.png\") url(\"/s/b.png\")";
    QTest::newRow("resource") << "url(:/icons/x.png)" << "url(:/icons/x.png)";
    QTest::newRow("absolute") << "url(/usr/x.png)" << "url(/usr/x.png)";
    QTest::newRow("none") << "QLabel { color: red; }" << "QLabel { color: red; }";
  }
  void imagePathsAreTakenFromTheSkinsFolder() {
    QFETCH(QString, sheet);
    QFETCH(QString, resolved);
    QCOMPARE(quorin::skin::ResolveImagePaths(sheet, QStringLiteral("/s")), resolved);
  }

  void shippedSkins_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("light") << "淡雅";
    QTest::newRow("dark") << "夜墨";
    QTest::newRow("classic") << "古韵";
  }
  // Each shipped skin restyles a window that is open and one opened later; the colours the
  // windows set for themselves (the calendar's paper, its title and term memos) stay.
  void shippedSkins() {
    QFETCH(QString, name);
    quorin::testing::ScriptedPrompter prompter;
    QVERIFY(QDir(kShippedSkins).entryList({QStringLiteral("*.skn")}).contains(name + QStringLiteral(".skn")));
    quorin::ui::TFrmFanTui before;
    before.Prepare({}, true);
    before.show();
    // The panel of lists and radio buttons; the memo's blinking caret would make whole grabs differ.
    const QImage plain = Named<QWidget>(&before, "Panel1")->grab().toImage();

    SkinEngine skin;
    QVERIFY2(skin.Load(kShippedSkins + name + QStringLiteral(".skn")), qPrintable(skin.LastError()));
    skin.SetActive(true);
    QVERIFY(Named<QWidget>(&before, "Panel1")->grab().toImage() != plain);
    // Every image the skin names is shipped beside it.
    const QRegularExpression url(QStringLiteral("url\\(\"([^\"]+)\"\\)"));
    for (const QRegularExpressionMatch& m : url.globalMatch(skin.StyleSheet())) {
      QVERIFY2(QFile::exists(m.captured(1)), qPrintable(m.captured(1)));
    }

    quorin::ui::TFrmWnl calendar;
    calendar.Open({1582, 10, 15, 12, 0});
    calendar.show();
    QCOMPARE(PixelOf(&calendar, QPoint(calendar.width() - 2, calendar.height() - 2)), QColor(255, 255, 200));
    const QImage title = Named<QPlainTextEdit>(&calendar, "MeoTitle")->grab().toImage();
    QCOMPARE(title.pixelColor(title.width() / 2, title.height() - 3), QColor(192, 192, 192));
    SaveShot(&calendar, QStringLiteral("calendar_") + name);

    skin.SetActive(false);
    QCOMPARE(Named<QWidget>(&before, "Panel1")->grab().toImage(), plain);
  }

  void skinnedMainWindow() {
    quorin::testing::MainWindowFixture fixture;
    fixture.window->resize(1200, 800);
    fixture.SetMoment(2024, 2, 10, 12, 0);
    QVERIFY(fixture.Pai());
    const QColor analysisBackground = fixture.ChartText()->palette().color(QPalette::Base);
    for (const QString& name : {QStringLiteral("淡雅"), QStringLiteral("夜墨"), QStringLiteral("古韵")}) {
      SkinEngine skin;
      QVERIFY(skin.Load(kShippedSkins + name + QStringLiteral(".skn")));
      skin.SetActive(true);
      QCoreApplication::processEvents();
      // The analysis text keeps the background the user chose.
      QCOMPARE(fixture.ChartText()->palette().color(QPalette::Base), analysisBackground);
      SaveShot(fixture.window.get(), QStringLiteral("main_") + name);
    }
    QVERIFY(qApp->styleSheet().isEmpty());
    fixture.Close();
  }

  // An installed program lists the shipped skins and the user's own under 界面风格; the user's
  // copy of a shipped skin is the one applied.
  void userSkinsJoinAndReplaceShippedOnes() {
    QTemporaryDir shipped;
    QVERIFY(QDir(shipped.path()).mkpath(QStringLiteral("skins")));
    const auto write = [](const QString& path, const QByteArray& bytes) {
      QFile file(path);
      return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write(shipped.path() + QStringLiteral("/skins/淡雅.skn"), "QPushButton { color: #010203; }"));
    QVERIFY(write(shipped.path() + QStringLiteral("/skins/夜墨.skn"), "QPushButton { color: #040506; }"));
    quorin::base::SetShippedFolder(shipped.path().toStdString());
    const auto shippedBack = qScopeGuard([] { quorin::base::SetShippedFolder({}); });
    {
      quorin::testing::MainWindowFixture fixture(false);
      WriteFile(fixture.folder, QStringLiteral("淡雅.skn"), "QPushButton { color: #0a0b0c; }");
      WriteFile(fixture.folder, QStringLiteral("自己.skn"), "QPushButton { color: #0d0e0f; }");
      fixture.window->show();
      QStringList captions;
      for (QAction* item : fixture.Find<QMenu>("Opt_Skin")->actions()) {
        if (!item->isSeparator()) captions << item->text();
      }
      QCOMPARE(captions, (QStringList{QStringLiteral("夜墨"), QStringLiteral("淡雅"), QStringLiteral("自己"),
                                      QStringLiteral("系统默认")}));
      const auto choose = [&](const QString& caption) {
        for (QAction* item : fixture.Find<QMenu>("Opt_Skin")->actions()) {
          if (item->text() == caption) item->trigger();
        }
        return qApp->styleSheet();
      };
      QVERIFY(choose(QStringLiteral("淡雅")).contains(QStringLiteral("#0a0b0c")));
      QVERIFY(choose(QStringLiteral("夜墨")).contains(QStringLiteral("#040506")));
      QVERIFY(choose(QStringLiteral("自己")).contains(QStringLiteral("#0d0e0f")));
      choose(QString::fromUtf8(quorin::ui::kSystemDefaultSkin));
      fixture.Close();
    }
  }
};

QTEST_MAIN(SkinTest)
#include "skin_engine_test.moc"

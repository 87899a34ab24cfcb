#include <QApplication>
#include <QtTest>

#include "ui/fonts.h"
#include "ui/frm_main.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void captionIsTheProgramsName() {
    QApplication::setApplicationName(QStringLiteral("Quorin 2.3"));
    quorin::ui::TFrmMain window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Quorin 2.3"));
  }

  void songFontRendersChinese() {
    quorin::ui::InstallFontSubstitutions();
    const QFont font(quorin::ui::kSongFont, 12);
    QVERIFY(QFontMetrics(font).inFont(QChar(0x56FD)));  // 国
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

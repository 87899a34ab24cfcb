// SPDX-License-Identifier: GPL-3.0-or-later
// The I Ching text window: palaces, hexagrams, line figures and the memo.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "support/main_window_fixture.h"
#include "support/named_control.h"
#include "support/program_folder.h"
#include "ui/frm_zhou_yi.h"

using quorin::testing::ChooseLine;
using quorin::testing::Named;
using quorin::ui::TFrmZhouYi;

namespace {

const QString kYang = QStringLiteral("━━━　");
const QString kYin = QStringLiteral("━　━　");

void Select(TFrmZhouYi& w, int palace, int k) {
  ChooseLine(Named<QComboBox>(&w, "cbogong"), palace);
  ChooseLine(Named<QComboBox>(&w, "cboming"), k);
}

QString Label(const TFrmZhouYi& w, int i) { return Named<QLabel>(&w, QStringLiteral("lab%1").arg(i))->text(); }

// The figures top down as 1 (yang) and 2 (yin).
QString Figures(const TFrmZhouYi& w) {
  QString code;
  for (int i = 1; i <= 6; ++i) {
    const QString text = Label(w, i);
    code += text == kYang ? QLatin1Char('1') : text == kYin ? QLatin1Char('2') : QLatin1Char('?');
  }
  return code;
}

}  // namespace

class IChingTextTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void opensOnQianWithItsUseNineBlock() {
    TFrmZhouYi w;
    w.show();
    QCOMPARE(Named<QComboBox>(&w, "cbogong")->count(), 8);
    QCOMPARE(Named<QComboBox>(&w, "cbogong")->itemText(0), QStringLiteral("乾宫"));
    QCOMPARE(Named<QComboBox>(&w, "cbogong")->itemText(7), QStringLiteral("坤宫"));
    QCOMPARE(Named<QComboBox>(&w, "cbogong")->currentText(), QStringLiteral("乾宫"));
    QCOMPARE(Named<QComboBox>(&w, "cboming")->currentText(), QStringLiteral("乾为天"));
    QCOMPARE(Named<QComboBox>(&w, "cboming")->itemText(7), QStringLiteral("火天大有"));
    QCOMPARE(Label(w, 0), QStringLiteral("乾为天"));
    QCOMPARE(Figures(w), QStringLiteral("111111"));
    const QString memo = Named<QPlainTextEdit>(&w, "memgua")->toPlainText();
    QVERIFY(memo.startsWith(QStringLiteral("\n※乾为天:元，亨，利，贞。\n  彖曰：大哉乾元，")));
    QVERIFY(memo.contains(QStringLiteral("\n  象曰：天行健，君子以自强不息。\n\n★初九:潜龙，勿用。\n"
                                         "  象曰：潜龙勿用，阳在下也。\n\n★九二:")));
    QVERIFY(memo.endsWith(QStringLiteral("\n\n★用九：见群龙无首，吉。\n  象曰：用九，天德不可为首也。")));
    QVERIFY(Named<QPlainTextEdit>(&w, "memgua")->isReadOnly());
  }

  void figuresFollowTheTrigrams_data() {
    QTest::addColumn<int>("palace");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("figures");
    QTest::newRow("泽水困") << 1 << 1 << "泽水困" << "211212";
    QTest::newRow("火天大有") << 0 << 7 << "火天大有" << "121111";
    QTest::newRow("坤为地") << 7 << 0 << "坤为地" << "222222";
    QTest::newRow("地雷复") << 7 << 1 << "地雷复" << "222221";
    QTest::newRow("坎为水") << 5 << 0 << "坎为水" << "212212";
  }
  void figuresFollowTheTrigrams() {
    QFETCH(int, palace);
    QFETCH(int, k);
    QFETCH(QString, name);
    QFETCH(QString, figures);
    TFrmZhouYi w;
    w.show();
    Select(w, palace, k);
    QCOMPARE(Label(w, 0), name);
    QCOMPARE(Figures(w), figures);
    QVERIFY(
        Named<QPlainTextEdit>(&w, "memgua")->toPlainText().startsWith(QStringLiteral("\n※") + name + QLatin1Char(':')));
  }

  void oneWindowShownAgainUntilClosed() {
    TFrmZhouYi* first = TFrmZhouYi::ShowInstance(nullptr);
    QVERIFY(first->isVisible());
    Select(*first, 3, 2);
    QCOMPARE(TFrmZhouYi::ShowInstance(nullptr), first);
    QCOMPARE(Named<QComboBox>(first, "cboming")->currentText(), QStringLiteral("雷水解"));  // shown again, not reset
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(TFrmZhouYi::Instance() == nullptr);
    TFrmZhouYi* second = TFrmZhouYi::ShowInstance(nullptr);
    QCOMPARE(Named<QComboBox>(second, "cboming")->currentText(), QStringLiteral("乾为天"));
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

QTEST_MAIN(IChingTextTest)
#include "frm_zhou_yi_test.moc"

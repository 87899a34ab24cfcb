// The I Ching text window: palaces, hexagrams, line figures and the compiled texts.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"
#include "support/program_folder.h"
#include "ui/frm_zhou_yi.h"
#include "ui/frm_zhou_yi_texts.h"

using quorin::ui::TFrmZhouYi;

namespace {

const QString kYang = QStringLiteral("━━━　");
const QString kYin = QStringLiteral("━　━　");

void Select(TFrmZhouYi& w, int palace, int k) {
  w.cbogong->setCurrentIndex(palace);
  w.cbogongClick();
  w.cboming->setCurrentIndex(k);
  w.cbomingClick();
}

// The figures top down as 1 (yang) and 2 (yin).
QString Figures(const TFrmZhouYi& w) {
  QString code;
  for (int i = 1; i <= 6; ++i) {
    const QString text = w.lab[static_cast<std::size_t>(i)]->text();
    code += text == kYang ? QLatin1Char('1') : text == kYin ? QLatin1Char('2') : QLatin1Char('?');
  }
  return code;
}

// The line headings of the memo in order, e.g. 初九 … 上九.
QStringList LineHeadings(const QString& memo) {
  QStringList headings;
  for (const QString& line : memo.split(QLatin1Char('\n'))) {
    if (line.startsWith(QStringLiteral("★")) && line.indexOf(QLatin1Char(':')) == 3) headings << line.mid(1, 2);
  }
  return headings;
}

}  // namespace

class IChingTextTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { quorin::testing::PrepareApplication(); }

  void opensOnQianWithItsUseNineBlock() {
    TFrmZhouYi w;
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("易经卦爻辞"));
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(w.cbogong->count(), 8);
    QCOMPARE(w.cbogong->itemText(0), QStringLiteral("乾宫"));
    QCOMPARE(w.cbogong->itemText(7), QStringLiteral("坤宫"));
    QCOMPARE(w.cbogong->currentText(), QStringLiteral("乾宫"));
    QCOMPARE(w.cboming->currentText(), QStringLiteral("乾为天"));
    QCOMPARE(w.cboming->itemText(7), QStringLiteral("火天大有"));
    QCOMPARE(w.lab[0]->text(), QStringLiteral("乾为天"));
    QCOMPARE(Figures(w), QStringLiteral("111111"));
    const QString memo = w.memgua->toPlainText();
    QVERIFY(memo.startsWith(QStringLiteral("\n※乾为天:元，亨，利，贞。\n  彖曰：大哉乾元，")));
    QVERIFY(memo.contains(QStringLiteral("\n  象曰：天行健，君子以自强不息。\n\n★初九:潜龙，勿用。\n"
                                         "  象曰：潜龙勿用，阳在下也。\n\n★九二:")));
    QVERIFY(memo.endsWith(QStringLiteral("\n\n★用九：见群龙无首，吉。\n  象曰：用九，天德不可为首也。")));
    QVERIFY(w.memgua->isReadOnly());
  }

  void figuresAndLineNamesFollowTheTrigrams_data() {
    QTest::addColumn<int>("palace");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("figures");
    QTest::addColumn<QString>("headings");
    QTest::newRow("泽水困") << 1 << 1 << "泽水困" << "211212" << "初六 九二 六三 九四 九五 上六";
    QTest::newRow("火天大有") << 0 << 7 << "火天大有" << "121111" << "初九 九二 九三 九四 六五 上九";
    QTest::newRow("坤为地") << 7 << 0 << "坤为地" << "222222" << "初六 六二 六三 六四 六五 上六";
    QTest::newRow("地雷复") << 7 << 1 << "地雷复" << "222221" << "初九 六二 六三 六四 六五 上六";
    QTest::newRow("坎为水") << 5 << 0 << "坎为水" << "212212" << "初六 九二 六三 六四 九五 上六";
  }
  void figuresAndLineNamesFollowTheTrigrams() {
    QFETCH(int, palace);
    QFETCH(int, k);
    QFETCH(QString, name);
    QFETCH(QString, figures);
    QFETCH(QString, headings);
    TFrmZhouYi w;
    w.show();
    Select(w, palace, k);
    QCOMPARE(w.lab[0]->text(), name);
    QCOMPARE(Figures(w), figures);
    QCOMPARE(LineHeadings(w.memgua->toPlainText()).join(QLatin1Char(' ')), headings);
  }

  void useBlocksOnlyForQianAndKun() {
    TFrmZhouYi w;
    w.show();
    Select(w, 7, 0);
    QVERIFY(w.memgua->toPlainText().endsWith(QStringLiteral("\n\n★用六：利永贞。\n  象曰：用六永贞，以大终也。")));
    for (const auto& [palace, k] : {std::pair{7, 1}, std::pair{0, 1}, std::pair{1, 1}, std::pair{5, 0}}) {
      Select(w, palace, k);
      QVERIFY(!w.memgua->toPlainText().contains(QStringLiteral("★用")));
      QVERIFY(w.memgua->toPlainText().endsWith(QStringLiteral("\n\n")));
    }
  }

  // Every hexagram: its name, its figures as the six-line chart codes it, seven texts with
  // both parts, and no separator left in the memo.
  void everyHexagramHasItsFiguresAndTexts() {
    TFrmZhouYi w;
    w.show();
    const quorin::iching::MLiuYaoGua chart;
    for (int palace = 0; palace < 8; ++palace) {
      for (int k = 0; k < 8; ++k) {
        const int gua = palace * 8 + k;
        Select(w, palace, k);
        QCOMPARE(w.lab[0]->text(), QString::fromUtf8(quorin::iching::HexagramName(gua)));
        QCOMPARE(Figures(w), QString::fromStdString(chart.GuaCode(gua)));
        const QString memo = w.memgua->toPlainText();
        QVERIFY2(!memo.contains(QLatin1Char('t')) && !memo.contains(QLatin1Char('x')), qPrintable(w.lab[0]->text()));
        QCOMPARE(LineHeadings(memo).size(), 6);
        QCOMPARE(memo.count(QStringLiteral("象曰：")), gua == 0 || gua == 56 ? 8 : 7);
        QCOMPARE(memo.count(QStringLiteral("彖曰：")), 1);
        for (int n = 0; n < 7; ++n) QVERIFY(!quorin::ui::ZhouYiText(100 + 56 * palace + 7 * k + n).empty());
      }
    }
    QVERIFY(quorin::ui::ZhouYiText(99).empty());
    QVERIFY(quorin::ui::ZhouYiText(548).empty());
  }

  void namesComeFromTheEightByteFields() {
    const std::vector<std::string> dui = quorin::ui::PalaceHexagramNames(1);
    QCOMPARE(dui.size(), std::size_t(8));
    QCOMPARE(dui[0], std::string("兑为泽"));
    QCOMPARE(dui[6], std::string("雷山小过"));
    QCOMPARE(dui[7], std::string("雷泽归妹"));
    QVERIFY(quorin::ui::PalaceHexagramNames(8).empty());
    QCOMPARE(quorin::ui::HexagramLinesOfName("天风姤", false), std::string("111112"));
    QCOMPARE(quorin::ui::HexagramLinesOfName("震为雷", true), std::string("221221"));
    QVERIFY(quorin::ui::HexagramLinesOfName("无名", false).empty());
  }

  void oneWindowShownAgainUntilClosed() {
    TFrmZhouYi* first = TFrmZhouYi::ShowInstance(nullptr);
    QVERIFY(first->isVisible());
    Select(*first, 3, 2);
    QCOMPARE(TFrmZhouYi::ShowInstance(nullptr), first);
    QCOMPARE(first->cboming->currentText(), QStringLiteral("雷水解"));  // shown again, not reset
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(TFrmZhouYi::Instance() == nullptr);
    TFrmZhouYi* second = TFrmZhouYi::ShowInstance(nullptr);
    QCOMPARE(second->cboming->currentText(), QStringLiteral("乾为天"));
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

QTEST_MAIN(IChingTextTest)
#include "frm_zhou_yi_test.moc"

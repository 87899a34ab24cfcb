#include "ui/frm_zhou_yi.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShowEvent>

#include "base/gbk.h"
#include "base/utf8.h"
#include "iching/hexagrams.h"
#include "iching/liu_yao_gua.h"
#include "qtdraw/fonts.h"
#include "ui/frm_zhou_yi_texts.h"
#include "ui/program_files.h"
#include "ui/ui_font.h"
#include "ui/window_placement.h"

namespace quorin::ui {

namespace {

constexpr int kNamesText = 700;
constexpr int kNameFieldBytes = 8;
constexpr int kPalaceCount = 8;
constexpr int kFirstJudgement = 100;
constexpr int kTextsPerPalace = 56;
constexpr int kTextsPerHexagram = 7;
constexpr int kUseNine = 51;  // 用九 of 乾为天
constexpr int kUseSix = 52;   // 用六 of 坤为地

const char* const kYang = "━━━　";
const char* const kYin = "━　━　";
const char* const kMiddleLineNames[] = {"二", "三", "四", "五"};

QPointer<TFrmZhouYi>& Current() {
  static QPointer<TFrmZhouYi> window;
  return window;
}

// The text before and after the first `separator` (all of it before when there is none).
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) return {text, {}};
  return {text.substr(0, at), text.substr(at + 1)};
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// 初九, 九二 … 上六: the line's place and whether it is yang ("九") or yin ("六").
std::string LineName(int n, bool yang) {
  const std::string kind = yang ? "九" : "六";
  if (n == 1) return "初" + kind;
  if (n == 6) return "上" + kind;
  return kind + kMiddleLineNames[n - 2];
}

}  // namespace

std::vector<std::string> PalaceHexagramNames(int palace) {
  // The names are 8-byte GBK fields, as the table has always held them.
  const std::string fields = base::Utf8ToGbkLossy(ZhouYiText(kNamesText));
  std::vector<std::string> names;
  for (int k = 0; k < kPalaceCount; ++k) {
    const std::size_t at = static_cast<std::size_t>((palace * kPalaceCount + k) * kNameFieldBytes);
    if (at >= fields.size()) break;
    names.push_back(Trimmed(base::GbkToUtf8(fields.substr(at, kNameFieldBytes))));
  }
  return names;
}

std::string HexagramLinesOfName(const std::string& name, bool pureHexagram) {
  static const iching::MLiuYaoGua trigrams;
  const int count = base::CharacterCount(name);
  const std::string upper = base::Utf8Substring(name, pureHexagram ? count - 1 : 0, 1);
  const std::string lower = base::Utf8Substring(name, pureHexagram ? count - 1 : 1, 1);
  const int up = iching::TrigramOfImage(upper);
  const int down = iching::TrigramOfImage(lower);
  if (up < 0 || down < 0) return {};
  return trigrams.TrigramCode(up) + trigrams.TrigramCode(down);
}

std::string HexagramMemoText(int palace, int k, const std::string& name, const std::string& lines) {
  const int base = kFirstJudgement + kTextsPerPalace * palace + kTextsPerHexagram * k;
  const auto [judgement, commentaries] = SplitAt(ZhouYiText(base), 't');
  const auto [tuan, image] = SplitAt(commentaries, 'x');
  std::string text = "\n※" + name + ":" + std::string(judgement) + "\n  " + std::string(tuan) + "\n  " +
                     std::string(image) + "\n\n";
  for (int n = 1; n <= 6; ++n) {
    const bool yang = lines.size() == 6 && lines[static_cast<std::size_t>(6 - n)] == '1';
    const auto [lineText, lineImage] = SplitAt(ZhouYiText(base + n), 'x');
    text += "★" + LineName(n, yang) + ":" + std::string(lineText) + "\n  " + std::string(lineImage) + "\n\n";
  }
  const int use = palace == 0 && k == 0 ? kUseNine : palace == kPalaceCount - 1 && k == 0 ? kUseSix : 0;
  if (use != 0) {
    const auto [useText, useImage] = SplitAt(ZhouYiText(use), 'x');
    text += "★" + std::string(useText) + "\n  " + std::string(useImage);
  }
  return text;
}

TFrmZhouYi::TFrmZhouYi(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmZhouYi"));
  setWindowTitle(QStringLiteral("易经卦爻辞"));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(qtdraw::SongFont(10.5));
  resize(578, 336);

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(0, 0, 137, 336);
  const QFont nameFont = qtdraw::SongFont(14, true);
  const QFont lineFont = qtdraw::SongFont(16);
  for (int i = 0; i < 7; ++i) {
    lab[static_cast<std::size_t>(i)] = new QLabel(Panel1);
    QLabel* label = lab[static_cast<std::size_t>(i)];
    label->setObjectName(QStringLiteral("lab%1").arg(i));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(i == 0 ? nameFont : lineFont);
    label->setGeometry(4, i == 0 ? 8 : 16 + i * 29, 129, i == 0 ? 30 : 27);
  }
  cbogong = new QComboBox(Panel1);
  cbogong->setObjectName(QStringLiteral("cbogong"));
  cbogong->setGeometry(10, 242, 117, 26);
  cboming = new QComboBox(Panel1);
  cboming->setObjectName(QStringLiteral("cboming"));
  cboming->setGeometry(10, 280, 117, 26);

  memgua = new QPlainTextEdit(this);
  memgua->setObjectName(QStringLiteral("memgua"));
  memgua->setReadOnly(true);
  memgua->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memgua->setGeometry(137, 0, 441, 336);

  connect(cbogong, &QComboBox::activated, this, &TFrmZhouYi::cbogongClick);
  connect(cboming, &QComboBox::activated, this, &TFrmZhouYi::cbomingClick);

  // Created once and shown again and again: the scaling is applied here only.
  ApplyProgramUiFont(this);
  setFixedSize(size());
}

TFrmZhouYi* TFrmZhouYi::ShowInstance(QWidget* owner) {
  if (!Current()) {
    Current() = new TFrmZhouYi(owner);
    Current()->setAttribute(Qt::WA_DeleteOnClose);
    CentreOnScreen(Current());
  }
  BringToFront(Current());
  return Current();
}

TFrmZhouYi* TFrmZhouYi::Instance() { return Current(); }

void TFrmZhouYi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFrmZhouYi::FormShow() {
  cbogong->clear();
  for (int p = 0; p < kPalaceCount; ++p) cbogong->addItem(ToQString(std::string(iching::TrigramName(p))) + "宫");
  cbogong->setCurrentIndex(0);
  cbogongClick();
}

void TFrmZhouYi::cbogongClick() {
  cboming->clear();
  for (const std::string& name : PalaceHexagramNames(cbogong->currentIndex())) cboming->addItem(ToQString(name));
  cboming->setCurrentIndex(0);
  cbomingClick();
}

void TFrmZhouYi::cbomingClick() {
  const int p = cbogong->currentIndex();
  const int k = cboming->currentIndex();
  if (p < 0 || k < 0) return;
  const std::string name = ToUtf8(cboming->currentText());
  const std::string lines = HexagramLinesOfName(name, k == 0);
  lab[0]->setText(ToQString(name));
  for (int i = 1; i <= 6; ++i) {
    const bool yang = lines.size() == 6 && lines[static_cast<std::size_t>(i - 1)] == '1';
    lab[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(yang ? kYang : kYin));
  }
  memgua->setPlainText(ToQString(HexagramMemoText(p, k, name, lines)));
}

}  // namespace quorin::ui

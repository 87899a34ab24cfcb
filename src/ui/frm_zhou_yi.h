// "易经卦爻辞": the judgement, commentaries and line texts of a hexagram beside its six
// lines. Modeless and on top; one window at a time, which ends when it is closed.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace quorin::ui {

// The eight names of palace p (0 = 乾 … 7 = 坤), in the window's order.
std::vector<std::string> PalaceHexagramNames(int palace);
// Six characters, top line first: '1' yang, '2' yin, from the images in the name.
std::string HexagramLinesOfName(const std::string& name, bool pureHexagram);
// The memo text of hexagram k of palace p: judgement with 彖 and great image, the six lines
// with their small images, and 用九 or 用六 for 乾为天 and 坤为地.
std::string HexagramMemoText(int palace, int k, const std::string& name, const std::string& lines);

class TFrmZhouYi : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmZhouYi(QWidget* parent = nullptr);

  // The menu command: shows the open window, or creates one on `owner` first.
  static TFrmZhouYi* ShowInstance(QWidget* owner);
  // The window now open, or nullptr once it has been closed.
  static TFrmZhouYi* Instance();

  QWidget* Panel1;
  std::array<QLabel*, 7> lab;  // lab[0] the name, lab[1] … lab[6] the lines from the top
  QComboBox* cbogong;
  QComboBox* cboming;
  QPlainTextEdit* memgua;

 public slots:
  void cbogongClick();
  void cbomingClick();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow

 private:
  void FormShow();
};

}  // namespace quorin::ui

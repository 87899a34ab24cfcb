// SPDX-License-Identifier: GPL-3.0-or-later
// "易经卦爻辞": the judgement, commentaries and line texts of a hexagram beside its six
// lines. Modeless and on top; one window at a time, which ends when it is closed.
#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace quorin::ui {

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
